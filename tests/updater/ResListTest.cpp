#include <gtest/gtest.h>

#include <rapidjson/document.h>

#include "updater/ResList.h"
#include "updater/ResUpdater.h"

using namespace updater;

namespace {

const std::string kMd5 = "0123456789ABCDEF0123456789ABCDEF";

// [sn, "file", "<md5>", size]
std::string item(int sn, const std::string& file, int size = 100, const std::string& md5 = kMd5) {
    return "[" + std::to_string(sn) + ",\"" + file + "\",\"" + md5 + "\"," + std::to_string(size) + "]";
}

std::string doc(const std::string& xlist, const std::string& base = "") {
    std::string text = R"({"sign":"abc","xlist":[)" + xlist + "]";
    if (!base.empty()) text += R"(,"base":)" + base;
    return text + "}";
}

std::string base(int sn, int min, const std::string& list, const std::string& upgrade = "") {
    std::string text = R"({"sn":)" + std::to_string(sn) + R"(,"min":)" + std::to_string(min) +
                       R"(,"list":[)" + list + "]";
    if (!upgrade.empty()) text += R"(,"upgrade":)" + upgrade;
    return text + "}";
}

std::string upgrade(int from, const std::string& list) {
    return R"({"from":)" + std::to_string(from) + R"(,"list":[)" + list + "]}";
}

struct ValidityCase {
    const char* name;
    std::string body;
    bool valid;
};

TEST(ResListValid, Documents) {
    const std::string b1 = item(0, "b1.zip");
    const ValidityCase cases[] = {
        {"empty xlist", doc(""), true},
        {"two patches", doc(item(1, "p1.zip") + "," + item(2, "p2.zip")), true},
        {"lower-case md5", doc(item(1, "p1.zip", 5, "0123456789abcdef0123456789abcdef")), true},
        {"other sign", R"({"sign":"xyz","xlist":[]})", false},
        {"sign missing", R"({"xlist":[]})", false},
        {"sign not a string", R"({"sign":5,"xlist":[]})", false},
        {"xlist missing", R"({"sign":"abc"})", false},
        {"xlist an object", R"({"sign":"abc","xlist":{}})", false},
        {"root an array", R"([{"sign":"abc","xlist":[]}])", false},
        {"not JSON", "sign=abc", false},
        {"trailing garbage", doc("") + "x", false},
        {"deeply nested extra member",
         R"({"sign":"abc","xlist":[],"x":)" + std::string(200000, '[') + std::string(200000, ']') + "}",
         true},
        {"deep nesting left open", R"({"sign":"abc","xlist":)" + std::string(200000, '['), false},
        {"item of 3", doc(R"([1,"p.zip",")" + kMd5 + R"("])"), false},
        {"item of 5", doc(R"([1,"p.zip",")" + kMd5 + R"(",5,1])"), false},
        {"item not an array", doc(R"({"sn":1})"), false},
        {"slash in name", doc(item(1, "d/p.zip")), false},
        {"backslash in name", doc(item(1, "d\\\\p.zip")), false},
        {"two dots in name", doc(item(1, "p..zip")), false},
        {"colon in name", doc(item(1, "c:p.zip")), false},
        {"question mark in name", doc(item(1, "p.zip?v=1")), false},
        {"number sign in name", doc(item(1, "p.zip#x")), false},
        {"empty name", doc(item(1, "")), false},
        {"name not a string", doc(R"([1,7,")" + kMd5 + R"(",5])"), false},
        {"md5 of 31", doc(item(1, "p.zip", 5, kMd5.substr(1))), false},
        {"md5 of 33", doc(item(1, "p.zip", 5, kMd5 + "0")), false},
        {"md5 with g", doc(item(1, "p.zip", 5, "g" + kMd5.substr(1))), false},
        {"size 0", doc(item(1, "p.zip", 0)), false},
        {"size negative", doc(item(1, "p.zip", -4)), false},
        {"size beyond 32 bits", doc(R"([1,"p.zip",")" + kMd5 + R"(",3000000000])"), false},
        {"size with a fraction", doc(R"([1,"p.zip",")" + kMd5 + R"(",5.0])"), false},
        {"sn negative", doc(item(-1, "p.zip")), false},
        {"sn with exponent", doc(R"([1e1,"p.zip",")" + kMd5 + R"(",5])"), false},
        {"sn a string", doc(R"(["1","p.zip",")" + kMd5 + R"(",5])"), false},
        {"base", doc("", base(50, 40, b1)), true},
        {"base with empty list", doc("", base(50, 40, "")), false},
        {"base not an object", doc("", "[]"), false},
        {"base null", doc("", "null"), false},
        {"base without sn", doc("", R"({"min":40,"list":[)" + b1 + "]}"), false},
        {"base without list", doc("", R"({"sn":50,"min":40})"), false},
        {"base min with fraction", doc("", R"({"sn":50,"min":40.5,"list":[)" + b1 + "]}"), false},
        {"base list with bad item", doc("", base(50, 40, item(0, "b/1.zip"))), false},
        {"upgrade with empty list", doc("", base(50, 40, b1, upgrade(5, ""))), true},
        {"upgrade", doc("", base(50, 40, b1, upgrade(5, item(0, "u1.zip")))), true},
        {"upgrade without from", doc("", base(50, 40, b1, R"({"list":[]})")), false},
        {"upgrade not an object", doc("", base(50, 40, b1, "5")), false},
        {"upgrade list bad item", doc("", base(50, 40, b1, upgrade(5, item(0, "u1.zip", 0)))), false},
        // Names fetched together by one run must differ.
        {"duplicate in xlist", doc(item(1, "p.zip") + "," + item(2, "p.zip")), false},
        {"duplicate in base list", doc("", base(50, 40, b1 + "," + b1)), false},
        {"duplicate in upgrade list",
         doc("", base(50, 40, b1, upgrade(5, item(0, "u.zip") + "," + item(0, "u.zip")))), false},
        {"xlist and base list share a name", doc(item(51, "b1.zip"), base(50, 40, b1)), false},
        {"xlist and upgrade list share a name",
         doc(item(51, "u.zip"), base(50, 40, b1, upgrade(5, item(0, "u.zip")))), false},
        {"base and upgrade lists share a name", doc("", base(50, 40, b1, upgrade(5, b1))), true},
        {"name is another name's partial download",
         doc(item(1, "p.zip") + "," + item(2, "p.zip.temp")), false},
        {"partial-download name listed first",
         doc(item(1, "p.zip.temp") + "," + item(2, "p.zip")), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ResUpdater::resListValid(c.body, "abc"), c.valid) << c.body;
    }
}

struct DecisionCase {
    const char* name;
    std::string body;
    int packagedSn;
    int localSn;
    PackageOutcome outcome;
    int remoteSn;
    bool needBase;
    bool upgradeUsed;
    std::vector<std::pair<int, std::string>> packages;   // (sn, file) in order
};

std::string xlistUpTo(int from, int to) {
    std::string text;
    for (int sn = from; sn <= to; ++sn) {
        if (!text.empty()) text += ",";
        text += item(sn, "p" + std::to_string(sn) + ".zip");
    }
    return text;
}

TEST(ResListDecision, Table) {
    using O = PackageOutcome;
    const std::string baseList = item(7, "b1.zip") + "," + item(8, "b2.zip") + "," + item(9, "b3.zip");
    const std::string upList = item(3, "u1.zip") + "," + item(4, "u2.zip");
    const DecisionCase cases[] = {
        {"empty list, nothing to do", doc(""), 0, 0, O::UpToDate, 0, false, false, {}},
        {"all patches", doc(xlistUpTo(1, 3)), 0, 0, O::Download, 3, false, false,
         {{1, "p1.zip"}, {2, "p2.zip"}, {3, "p3.zip"}}},
        {"packaged serial skips old patches", doc(xlistUpTo(1, 3)), 2, 0, O::Download, 3, false,
         false, {{3, "p3.zip"}}},
        {"local serial skips old patches", doc(xlistUpTo(1, 3)), 1, 2, O::Download, 3, false,
         false, {{3, "p3.zip"}}},
        {"already at the last patch", doc(xlistUpTo(1, 3)), 3, 0, O::UpToDate, 3, false, false, {}},
        {"ahead of the list", doc(xlistUpTo(1, 3)), 0, 9, O::UpToDate, 3, false, false, {}},
        {"base above patches, patches only", doc(xlistUpTo(41, 48), base(50, 40, baseList)), 45, 0,
         O::Download, 50, false, false, {{46, "p46.zip"}, {47, "p47.zip"}, {48, "p48.zip"}}},
        {"base above patches, none left", doc(xlistUpTo(41, 45), base(50, 40, baseList)), 45, 0,
         O::NothingCollected, 50, false, false, {}},
        {"serial equal to min needs no base", doc(xlistUpTo(41, 42), base(50, 40, baseList)), 40,
         0, O::Download, 50, false, false, {{41, "p41.zip"}, {42, "p42.zip"}}},
        {"base set then newer patches", doc(xlistUpTo(49, 52), base(50, 40, baseList)), 5, 10,
         O::Download, 52, true, false,
         {{0, "b1.zip"}, {0, "b2.zip"}, {50, "b3.zip"}, {51, "p51.zip"}, {52, "p52.zip"}}},
        {"base set alone", doc("", base(50, 40, baseList)), 0, 0, O::Download, 50, true, false,
         {{0, "b1.zip"}, {0, "b2.zip"}, {50, "b3.zip"}}},
        {"base present and reached", doc("", base(50, 40, baseList)), 60, 0, O::UpToDate, 50,
         false, false, {}},
        {"upgrade from the local serial", doc("", base(50, 40, baseList, upgrade(5, upList))), 0,
         10, O::Download, 50, true, true, {{0, "u1.zip"}, {50, "u2.zip"}}},
        {"upgrade at exactly from", doc("", base(50, 40, baseList, upgrade(10, upList))), 0, 10,
         O::Download, 50, true, true, {{0, "u1.zip"}, {50, "u2.zip"}}},
        {"upgrade ignores the packaged serial", doc("", base(50, 40, baseList, upgrade(5, upList))),
         30, 0, O::Download, 50, true, false, {{0, "b1.zip"}, {0, "b2.zip"}, {50, "b3.zip"}}},
        {"local serial below from", doc("", base(50, 40, baseList, upgrade(20, upList))), 0, 10,
         O::Download, 50, true, false, {{0, "b1.zip"}, {0, "b2.zip"}, {50, "b3.zip"}}},
        {"empty upgrade list", doc("", base(50, 40, baseList, upgrade(5, ""))), 0, 10,
         O::Download, 50, true, false, {{0, "b1.zip"}, {0, "b2.zip"}, {50, "b3.zip"}}},
        {"patches go in serial order", doc(item(3, "c.zip") + "," + item(1, "a.zip") + "," + item(2, "b.zip")),
         0, 0, O::Download, 3, false, false, {{1, "a.zip"}, {2, "b.zip"}, {3, "c.zip"}}},
        {"equal serials keep their list order, newest last",
         doc(item(103, "d.zip") + "," + item(102, "c.zip") + "," + item(102, "b.zip")), 0, 101, O::Download,
         103, false, false, {{102, "c.zip"}, {102, "b.zip"}, {103, "d.zip"}}},
        {"newest patch listed first is not missed", doc(item(103, "d.zip") + "," + item(102, "c.zip")), 0, 102,
         O::Download, 103, false, false, {{103, "d.zip"}}},
        {"out-of-order patches after a base set",
         doc(item(53, "p53.zip") + "," + item(51, "p51.zip") + "," + item(49, "p49.zip"), base(50, 40, baseList)),
         0, 0, O::Download, 53, true, false,
         {{0, "b1.zip"}, {0, "b2.zip"}, {50, "b3.zip"}, {51, "p51.zip"}, {53, "p53.zip"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        rapidjson::Document d;
        d.Parse(c.body.c_str());
        ASSERT_TRUE(resListDocumentValid(d, "abc")) << c.body;
        PackageDecision r = decidePackages(d, c.packagedSn, c.localSn);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.remoteSn, c.remoteSn);
        EXPECT_EQ(r.needBase, c.needBase);
        EXPECT_EQ(r.writeBaseIncomplete(), c.needBase);
        EXPECT_EQ(r.upgradeUsed, c.upgradeUsed);
        std::vector<std::pair<int, std::string>> got;
        int64_t total = 0;
        for (const auto& p : r.packages) {
            got.emplace_back(p.sn, p.file);
            total += p.size;
        }
        EXPECT_EQ(got, c.packages);
        EXPECT_EQ(r.totalBytes, total);
    }
}

TEST(ResListDecision, TotalsBeyond32Bits) {
    const std::string body = doc(item(1, "a.zip", 2000000000) + "," + item(2, "b.zip", 2000000000) +
                                 "," + item(3, "c.zip", 2000000000));
    rapidjson::Document d;
    d.Parse(body.c_str());
    ASSERT_TRUE(resListDocumentValid(d, "abc"));
    PackageDecision r = decidePackages(d, 0, 0);
    EXPECT_EQ(r.totalBytes, int64_t{6000000000});
    ASSERT_EQ(r.packages.size(), 3u);
    EXPECT_EQ(r.packages[0], (ResPackage{1, "a.zip", kMd5, 2000000000}));
}

}  // namespace
