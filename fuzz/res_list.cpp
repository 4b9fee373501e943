// The resource list and the choice of packages. The first eight bytes give the
// packaged and local serials, the rest is the list (packaged sign "abc"). A valid
// list must give a decision that holds together: every package safe to download
// under its own name, the byte total their sum, and only packages above what is
// already installed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "engine/base/Json.h"
#include "updater/ResList.h"
#include "updater/ResUpdater.h"

using updater::PackageOutcome;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    int32_t serials[2];
    std::memcpy(serials, data, sizeof serials);
    const int packagedSn = serials[0];
    const int localSn = serials[1];
    const std::string body(reinterpret_cast<const char*>(data) + 8, size - 8);

    const bool valid = updater::ResUpdater::resListValid(body, "abc");
    rapidjson::Document doc;
    if (!engine::parseJson(body, doc) || !updater::resListDocumentValid(doc, "abc")) {
        if (valid) std::abort();
        return 0;
    }
    if (!valid) std::abort();

    const updater::PackageDecision d = updater::decidePackages(doc, packagedSn, localSn);
    const int realSn = packagedSn > localSn ? packagedSn : localSn;
    if (d.realSn != realSn || d.remoteSign != "abc") std::abort();
    if ((d.outcome == PackageOutcome::Download) != !d.packages.empty()) std::abort();
    if (d.outcome == PackageOutcome::UpToDate && (d.needBase || realSn < d.remoteSn)) std::abort();
    if (d.needBase != (d.hasBase && realSn < d.baseMin)) std::abort();

    int64_t total = 0;
    std::set<std::string> names;
    for (const updater::ResPackage& p : d.packages) {
        if (!updater::isSafeResPath(p.file) || !names.insert(p.file).second) std::abort();
        if (p.md5.size() != 32 || p.size < 1) std::abort();
        total += p.size;
    }
    for (const updater::ResPackage& p : d.packages) {
        if (names.count(p.file + ".temp")) std::abort();
    }
    if (total != d.totalBytes) std::abort();
    // A base set is never empty; without one, only patches above the local state.
    if (d.needBase && d.outcome != PackageOutcome::Download) std::abort();
    if (!d.needBase) {
        for (const updater::ResPackage& p : d.packages) {
            if (p.sn <= realSn) std::abort();
        }
    }
    return 0;
}
