#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <optional>

#include "support/TestSupport.h"
#include "updater/PatchRoute.h"
#include "updater/ResProtocol.h"

using namespace updater;

namespace {

struct SerialCase {
    const char* text;
    bool usable;
    const char* sign;
    int sn;
};

TEST(SerialFile, TokensAndNumbers) {
    const SerialCase cases[] = {
        {"abc 12\r\n", true, "abc", 12},          // CR stays in the token; atoi stops at it
        {"abc 12", true, "abc", 12},
        {"  abc\t\t12\n\n", true, "abc", 12},
        {"abc\r\n12", true, "abc\r", 12},         // CR is no separator
        {"abc \r12", true, "abc", 12},            // leading CR skipped by the number
        {"abc x12", true, "abc", 0},
        {"abc -7", true, "abc", -7},
        {"abc +7", true, "abc", 7},
        {"abc 99999999999", true, "abc", INT_MAX},
        {"abc -99999999999", true, "abc", INT_MIN},
        {"abc 12 x", false, "", 0},
        {"abc", false, "", 0},
        {"", false, "", 0},
        {" \n\t", false, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SerialFile f = parseSerialFile(c.text);
        EXPECT_EQ(f.usable, c.usable);
        if (c.usable) {
            EXPECT_EQ(f.sign, c.sign);
            EXPECT_EQ(f.sn, c.sn);
        }
    }
}

struct CacheCase {
    const char* name;
    std::optional<std::string> packaged;
    std::optional<std::string> local;
    CacheAction action;
    const char* sign;
    int packagedSn;
    int localSn;
};

TEST(CacheDecision, Table) {
    using A = CacheAction;
    const CacheCase cases[] = {
        {"no packaged file", std::nullopt, "abc 50", A::NoUpdate, "NONE", 0, 0},
        {"packaged sign NONE", "NONE 5", std::nullopt, A::NoUpdate, "NONE", 5, 0},
        {"packaged three tokens", "abc 1 2", "abc 50", A::NoUpdate, "NONE", 0, 0},
        {"packaged one token", "abc", std::nullopt, A::NoUpdate, "NONE", 0, 0},
        {"no local file", "abc 10", std::nullopt, A::KeepThenRequest, "abc", 10, 0},
        {"local newer", "abc 10", "abc 11", A::KeepThenRequest, "abc", 10, 11},
        {"CR in packaged serial", "abc 12\r\n", "abc 13", A::KeepThenRequest, "abc", 12, 13},
        {"local equal", "abc 10", "abc 10", A::WipeThenRequest, "abc", 10, 0},
        {"local older", "abc 10", "abc 9", A::WipeThenRequest, "abc", 10, 0},
        {"local other sign", "abc 10", "xyz 50", A::WipeThenRequest, "abc", 10, 0},
        {"local one token", "abc 10", "abc", A::WipeThenRequest, "abc", 10, 0},
        {"local empty", "abc 10", "", A::WipeThenRequest, "abc", 10, 0},
        {"local three tokens", "abc 10", "abc 11 x", A::WipeThenRequest, "abc", 10, 0},
        {"local sign with CR", "abc 10", "abc\r 11", A::WipeThenRequest, "abc", 10, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CacheDecision d = decideCache(c.packaged, c.local);
        EXPECT_EQ(d.action, c.action);
        EXPECT_EQ(d.packagedSign, c.sign);
        EXPECT_EQ(d.packagedSn, c.packagedSn);
        EXPECT_EQ(d.localSn, c.localSn);
    }
}

TEST(ResPath, SafeNames) {
    const std::pair<std::string, bool> cases[] = {
        {"patch_12.zip", true},
        {"a.b.c", true},
        {".hidden", true},
        {"", false},
        {".", false},
        {"..", false},
        {"a..zip", false},
        {"dir/a.zip", false},
        {"dir\\a.zip", false},
        {"c:a.zip", false},
        {"a.zip?x", false},
        {"a.zip#x", false},
        {std::string("a\0b.zip", 7), false},
    };
    for (const auto& [name, safe] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(isSafeResPath(name), safe);
    }
}

TEST(DigestText, ComparedWithoutCase) {
    EXPECT_TRUE(md5Equal("0123456789ABCDEF0123456789ABCDEF", "0123456789abcdef0123456789abcdef"));
    EXPECT_TRUE(md5Equal("", ""));
    EXPECT_FALSE(md5Equal("0123456789ABCDEF0123456789ABCDEF", "0123456789ABCDEF0123456789ABCDE0"));
    EXPECT_FALSE(md5Equal("ABC", "ABCD"));
}

class GatewayReply : public ::testing::Test {
protected:
    void SetUp() override { setPatchHostNames("patch.vexo.test", "cdn.vexo.test", "patch.vexo-mirror.test"); }
};

TEST_F(GatewayReply, Validation) {
    const std::pair<const char*, bool> cases[] = {
        {R"({"Res":"https://patch.vexo.test/r/list.json"})", true},
        {R"({"Res":"http://cdn.vexo.test/r/list.json","x":1})", true},
        {R"({"Res":"https://patch.vexo-mirror.test/list.json"})", true},
        {R"({"Res":"https://elsewhere.test/list.json"})", false},
        {R"({"Res":"HTTPS://patch.vexo.test/list.json"})", false},
        {R"({"Res":""})", false},
        {R"({"Res":5})", false},
        {R"({"Res":null})", false},
        {R"({"res":"https://patch.vexo.test/list.json"})", false},
        {R"(["https://patch.vexo.test/list.json"])", false},
        {R"("https://patch.vexo.test/list.json")", false},
        {R"({"Res":"https://patch.vexo.test/list.json"} x)", false},
        {"", false},
    };
    for (const auto& [body, valid] : cases) {
        SCOPED_TRACE(body);
        EXPECT_EQ(gatewayReplyValid(body), valid);
    }
}

// The gateway may answer over plain http from any host: nesting deep enough to
// exhaust the stack of a recursive parser must not crash the client.
TEST_F(GatewayReply, DeepNestingDoesNotCrash) {
    const std::string open(200000, '['), close(200000, ']');
    EXPECT_FALSE(gatewayReplyValid(open));
    EXPECT_TRUE(gatewayReplyValid(R"({"x":)" + open + close +
                                  R"(,"Res":"https://patch.vexo.test/r/list.json"})"));
}

TEST(AtomicWrite, ReplacesWholeFileAndLeavesNoTemporary) {
    testsupport::TempDir dir;
    const std::string path = dir.file("LocalResSignSn");
    ASSERT_TRUE(writeFileAtomically(path, "first 1"));
    ASSERT_TRUE(writeFileAtomically(path, "abc 2"));
    EXPECT_EQ(testsupport::readFile(path), "abc 2");
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(AtomicWrite, MissingFolderFails) {
    testsupport::TempDir dir;
    EXPECT_FALSE(writeFileAtomically(dir.file("missing/file"), "x"));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
