#include "updater/ResList.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "engine/base/Json.h"

namespace updater {
namespace {

const char kTempSuffix[] = ".temp";

std::string stringOf(const rapidjson::Value& value) {
    return std::string(value.GetString(), value.GetStringLength());
}

bool isHexDigest(const rapidjson::Value& value) {
    if (!value.IsString() || value.GetStringLength() != 32) return false;
    const char* text = value.GetString();
    for (int i = 0; i < 32; ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
}

bool itemValid(const rapidjson::Value& item) {
    if (!item.IsArray() || item.Size() != 4) return false;
    const rapidjson::Value& sn = item[0];
    const rapidjson::Value& file = item[1];
    const rapidjson::Value& size = item[3];
    return sn.IsInt() && sn.GetInt() >= 0 && file.IsString() && isSafeResPath(stringOf(file)) &&
           isHexDigest(item[2]) && size.IsInt() && size.GetInt() >= 1;
}

ResPackage packageOf(const rapidjson::Value& item) {
    return ResPackage{item[0].GetInt(), stringOf(item[1]), stringOf(item[2]), item[3].GetInt()};
}

bool endsWithTemp(const std::string& name) {
    const size_t n = sizeof kTempSuffix - 1;
    return name.size() > n && name.compare(name.size() - n, n, kTempSuffix) == 0;
}

// Adds the names of a (valid) package list to `names`; false when one of them
// collides with a name already there.
bool addNames(std::set<std::string>& names, const rapidjson::Value& list) {
    for (const auto& item : list.GetArray()) {
        std::string name = stringOf(item[1]);
        if (names.count(name) || names.count(name + kTempSuffix)) return false;
        if (endsWithTemp(name) && names.count(name.substr(0, name.size() - (sizeof kTempSuffix - 1))))
            return false;
        names.insert(std::move(name));
    }
    return true;
}

bool baseValid(const rapidjson::Value& base, const rapidjson::Value& xlist) {
    if (!base.IsObject()) return false;
    const rapidjson::Value* sn = engine::jsonMember(base, "sn");
    const rapidjson::Value* min = engine::jsonMember(base, "min");
    const rapidjson::Value* list = engine::jsonMember(base, "list");
    if (!sn || !sn->IsInt() || !min || !min->IsInt()) return false;
    if (!list || !resPackageListValid(*list) || list->Empty()) return false;
    std::set<std::string> names;
    if (!addNames(names, xlist) || !addNames(names, *list)) return false;

    const rapidjson::Value* upgrade = engine::jsonMember(base, "upgrade");
    if (!upgrade) return true;
    if (!upgrade->IsObject()) return false;
    const rapidjson::Value* from = engine::jsonMember(*upgrade, "from");
    const rapidjson::Value* upList = engine::jsonMember(*upgrade, "list");
    if (!from || !from->IsInt() || !upList || !resPackageListValid(*upList)) return false;
    names.clear();
    return addNames(names, xlist) && addNames(names, *upList);
}

}  // namespace

bool resPackageListValid(const rapidjson::Value& list) {
    if (!list.IsArray()) return false;
    return std::all_of(list.Begin(), list.End(), itemValid);
}

bool resListDocumentValid(const rapidjson::Value& root, const std::string& expectedSign) {
    if (!root.IsObject()) return false;
    const rapidjson::Value* sign = engine::jsonMember(root, "sign");
    if (!sign || !sign->IsString() || stringOf(*sign) != expectedSign) return false;
    const rapidjson::Value* xlist = engine::jsonMember(root, "xlist");
    if (!xlist || !resPackageListValid(*xlist)) return false;
    std::set<std::string> names;
    if (!addNames(names, *xlist)) return false;
    const rapidjson::Value* base = engine::jsonMember(root, "base");
    return !base || baseValid(*base, *xlist);
}

PackageDecision decidePackages(const rapidjson::Value& root, int packagedSn, int localSn) {
    PackageDecision d;
    d.remoteSign = stringOf(root["sign"]);
    d.realSn = std::max(packagedSn, localSn);
    const rapidjson::Value& xlist = root["xlist"];
    for (const auto& item : xlist.GetArray()) {
        d.xlistSn = d.hasXlistSn ? std::max(d.xlistSn, item[0].GetInt()) : item[0].GetInt();
        d.hasXlistSn = true;
    }
    d.remoteSn = d.xlistSn;

    const rapidjson::Value* base = engine::jsonMember(root, "base");
    if (base) {
        d.hasBase = true;
        d.baseSn = (*base)["sn"].GetInt();
        d.baseMin = (*base)["min"].GetInt();
        d.remoteSn = std::max(d.remoteSn, d.baseSn);
        d.needBase = d.realSn < d.baseMin;
    }

    if (!d.needBase && d.realSn >= d.remoteSn) {
        d.outcome = PackageOutcome::UpToDate;
        return d;
    }

    int reached = d.realSn;
    if (d.needBase) {
        const rapidjson::Value* chosen = &(*base)["list"];
        const rapidjson::Value* upgrade = engine::jsonMember(*base, "upgrade");
        if (upgrade) {
            const rapidjson::Value& upList = (*upgrade)["list"];
            if (!upList.Empty() && localSn >= 1 && localSn >= (*upgrade)["from"].GetInt()) {
                chosen = &upList;
                d.upgradeUsed = true;
            }
        }
        const rapidjson::SizeType count = chosen->Size();
        for (rapidjson::SizeType i = 0; i < count; ++i) {
            ResPackage pkg = packageOf((*chosen)[i]);
            // A base set counts as installed only once its last package is in place.
            pkg.sn = i + 1 == count ? d.baseSn : 0;
            d.totalBytes += pkg.size;
            d.packages.push_back(std::move(pkg));
        }
        reached = d.baseSn;
    }

    // Increments go in serial order whatever the list's order, so that the serial
    // recorded after each one never passes an increment not yet installed.
    std::vector<ResPackage> increments;
    for (const auto& item : xlist.GetArray()) {
        if (item[0].GetInt() <= reached) continue;
        increments.push_back(packageOf(item));
    }
    std::stable_sort(increments.begin(), increments.end(),
                     [](const ResPackage& a, const ResPackage& b) { return a.sn < b.sn; });
    for (ResPackage& pkg : increments) {
        d.totalBytes += pkg.size;
        d.packages.push_back(std::move(pkg));
    }
    d.outcome = d.packages.empty() ? PackageOutcome::NothingCollected : PackageOutcome::Download;
    return d;
}

}  // namespace updater
