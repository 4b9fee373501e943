#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/files/FileUtils.h"
#include "portal/SavedLogin.h"
#include "portal/PortalTestSupport.h"
#include "support/TestSupport.h"

using namespace portal;
using testsupport::readFile;

namespace {

using SavedLoginTest = portaltest::PortalFixture;

TEST(SavedLoginFormatTest, Base64) {
    const std::pair<std::string, std::string> pairs[] = {
        {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {std::string("\xff\xfe\0", 3), "//4A"},
    };
    for (const auto& [plain, encoded] : pairs) {
        EXPECT_EQ(base64Encode(plain), encoded);
        std::string back;
        EXPECT_TRUE(base64Decode(encoded, back));
        EXPECT_EQ(back, plain);
    }
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    std::string back;
    ASSERT_TRUE(base64Decode(base64Encode(all), back));
    EXPECT_EQ(back, all);

    struct Case {
        std::string text;
        bool ok;
        std::string out;
    };
    const Case cases[] = {
        {"Zm9v=garbage!", true, "foo"},      // "=" ends the text
        {"Zm9v\r\nYmFy \t", true, "foobar"},  // line breaks and blanks are skipped
        {"Zg", true, "f"},                    // leftover bits are dropped
        {"Zm9v!", false, ""},
        {"Zm-v", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string out = "stale";
        EXPECT_EQ(base64Decode(c.text, out), c.ok);
        EXPECT_EQ(out, c.out);
    }
}

TEST(SavedLoginFormatTest, KeyValueLines) {
    struct Case {
        std::string text;
        SavedLogin map;
    };
    const Case cases[] = {
        {"", {}},
        {"method=google\r\ntg_rt=abc\r\n", {{"method", "google"}, {"tg_rt", "abc"}}},
        {"a=b=c", {{"a", "b=c"}}},
        {"no separator\nk=v", {{"k", "v"}}},
        {"k=1\nk=2\n", {{"k", "2"}}},
        {"=v\nk=\r\r\n", {{"", "v"}, {"k", ""}}},
        {"k= spaced \n", {{"k", " spaced "}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseKeyValueLines(c.text), c.map);
    }
    EXPECT_EQ(serializeKeyValueLines({{"tg_rt", "x"}, {"method", "google"}}), "method=google\ntg_rt=x\n");
}

TEST_F(SavedLoginTest, ProtectedPrefixAndUnprotectAnswers) {
    const std::string blob = protectLoginBlob("k=v\n");
    ASSERT_TRUE(hasProtectedPrefix(blob));
    std::string out;
    EXPECT_EQ(unprotectLoginBlob(blob, out), 1);
    EXPECT_EQ(out, "k=v\n");
    for (const std::string& text : std::vector<std::string>{"VEXODP1:!!!", "VEXODP1:", "VEXODP1:AAAA",
                                                          "VEXODP1:" + base64Encode("\x01short")}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(unprotectLoginBlob(text, out), -1);
        EXPECT_TRUE(out.empty());
    }
    EXPECT_EQ(unprotectLoginBlob("VEXODP1", out), 0);
    EXPECT_EQ(unprotectLoginBlob("k=v", out), 0);
    EXPECT_FALSE(hasProtectedPrefix("vexodp1:abc"));
}

TEST_F(SavedLoginTest, PlainFileIsRewrittenProtectedAtFirstRead) {
    writeLoginFile("method=google\r\ntg_rt=abc\r\n");
    EXPECT_EQ(savedLoginLoad(), (SavedLogin{{"method", "google"}, {"tg_rt", "abc"}}));
    const std::string stored = loginFile();
    ASSERT_TRUE(hasProtectedPrefix(stored));
    EXPECT_EQ(stored.find("google"), std::string::npos);
    std::string plain;
    ASSERT_EQ(unprotectLoginBlob(stored, plain), 1);
    EXPECT_EQ(plain, "method=google\ntg_rt=abc\n");
    EXPECT_EQ(writableEntries(), std::vector<std::string>{"vexo_login.txt"}) << "no temporary left";
}

TEST_F(SavedLoginTest, SetGetAndClearKeepOtherKeys) {
    writeLoginFile("other=kept\n");
    EXPECT_TRUE(savedLoginSet("method", "telegram"));
    EXPECT_TRUE(savedLoginSet("tg_rt", "r1"));
    EXPECT_EQ(savedLoginGet("method"), "telegram");
    EXPECT_EQ(savedLoginGet("tg_rt"), "r1");
    EXPECT_EQ(savedLoginGet("gg_rt"), "");
    for (const char* key : {"method", "tg_rt", "gg_rt"}) EXPECT_TRUE(savedLoginSet(key, ""));
    EXPECT_EQ(savedLoginLoad(), (SavedLogin{{"gg_rt", ""}, {"method", ""}, {"other", "kept"}, {"tg_rt", ""}}));
}

TEST_F(SavedLoginTest, TheFileIsTheOwnersOnly) {
    writeLoginFile("method=google\n");
    ASSERT_EQ(::chmod(writable("vexo_login.txt").c_str(), 0644), 0);
    ASSERT_TRUE(savedLoginSet("tg_rt", "t"));
    struct stat st {};
    ASSERT_EQ(::stat(writable("vexo_login.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(SavedLoginTest, RefusedEntriesWriteNothing) {
    ASSERT_TRUE(savedLoginSet("method", "google"));
    const std::string before = loginFile();
    const std::pair<std::string, std::string> refused[] = {
        {"a=b", "v"}, {"a\nb", "v"}, {"a\rb", "v"},
        {"k", "x\ninjected=1"}, {"k", "x\r"}, {"k", std::string("x\0y", 3)},
    };
    for (const auto& [key, value] : refused) {
        SCOPED_TRACE(key + " / " + value);
        EXPECT_FALSE(savedLoginSet(key, value));
        EXPECT_EQ(loginFile(), before);
    }
    EXPECT_EQ(savedLoginLoad(), (SavedLogin{{"method", "google"}}));
}

TEST_F(SavedLoginTest, UnreadableFileReadsEmptyAndIsKeptAside) {
    // Damaged text, then a file protected under another user's key.
    writeLoginFile("VEXODP1:!!!");
    EXPECT_EQ(savedLoginGet("method"), "");
    EXPECT_EQ(loginFile(), "VEXODP1:!!!") << "reading never changes it";
    ASSERT_TRUE(savedLoginSet("method", "google"));
    EXPECT_EQ(readFile(writable("vexo_login.txt.unreadable")), "VEXODP1:!!!");
    EXPECT_EQ(savedLoginLoad(), (SavedLogin{{"method", "google"}}));

    const std::string foreign = loginFile();
    useOtherKey();
    EXPECT_EQ(savedLoginLoad(), SavedLogin{});
    ASSERT_TRUE(savedLoginSet("tg_rt", "t"));
    EXPECT_EQ(readFile(writable("vexo_login.txt.unreadable.1")), foreign);
    EXPECT_EQ(readFile(writable("vexo_login.txt.unreadable")), "VEXODP1:!!!") << "never replaced";
    EXPECT_EQ(savedLoginLoad(), (SavedLogin{{"tg_rt", "t"}}));
}

TEST_F(SavedLoginTest, FailedProtectionKeepsTheFile) {
    ASSERT_TRUE(savedLoginSet("method", "google"));
    const std::string before = loginFile();
    breakKey();
    EXPECT_FALSE(savedLoginSet("method", "telegram"));
    EXPECT_EQ(loginFile(), before);

    // A plain file stays plain (and readable) while it cannot be protected.
    writeLoginFile("method=google\n");
    EXPECT_EQ(savedLoginGet("method"), "google");
    EXPECT_EQ(loginFile(), "method=google\n");
}

}  // namespace
