#include "platform/UrlOpener.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace {

// Makes PATH hold only a fake "xdg-open" (a shell script body; "" for none) for the
// test's life, so a real one installed on the machine is never found.
class FakeHandler {
public:
    explicit FakeHandler(const std::string& body) : _savedPath(getenv("PATH") ? getenv("PATH") : "") {
        if (!body.empty()) {
            const std::string script = _dir.write("bin/xdg-open", "#!/bin/sh\n" + body + "\n");
            chmod(script.c_str(), 0755);
        }
        setenv("PATH", _dir.file("bin").c_str(), 1);
    }
    ~FakeHandler() { setenv("PATH", _savedPath.c_str(), 1); }
    std::string file(const std::string& name) const { return _dir.file(name); }

private:
    testsupport::TempDir _dir;
    std::string _savedPath;
};

TEST(UrlOpenerTest, TheHandlersOutcomeDecides) {
    struct Case {
        const char* body;  // "" = no handler on PATH
        bool opened;
    };
    const Case cases[] = {
        {"exit 0", true},
        {"exit 3", false},
        {"kill -9 $$", false},
        {"", false},
        {"/bin/sleep 3", true},  // still running after a second: counts as opened
    };
    for (const Case& c : cases) {
        FakeHandler handler(c.body);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(platform::openUrl("https://example.test/"), c.opened) << c.body;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.body;
    }
}

TEST(UrlOpenerTest, StartingNeverWaitsForTheHandler) {
    struct Case {
        const char* body;  // "" = no handler on PATH
        bool started;
    };
    const Case cases[] = {
        {"/bin/sleep 3; touch \"${0%/bin/xdg-open}/ran\"", true},
        {"exit 3", true},
        {"", false},
    };
    for (const Case& c : cases) {
        FakeHandler handler(c.body);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(platform::startUrl("https://example.test/"), c.started) << c.body;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300)) << c.body;
    }
    for (const char* refused : {"", "-h"}) EXPECT_FALSE(platform::startUrl(refused)) << refused;
}

TEST(UrlOpenerTest, TheAddressIsOneArgumentAndNeverAnOption) {
    FakeHandler handler("printf '%s\\n' \"$#\" \"$1\" > \"${0%/bin/xdg-open}/args\"");
    const std::string tricky = "https://h.test/a b?x=$(touch pwned)&y=`id`;z";
    ASSERT_TRUE(platform::openUrl(tricky));
    EXPECT_EQ(testsupport::readFile(handler.file("args")), "1\n" + tricky + "\n");

    for (const char* refused : {"", "-h", "--help"}) EXPECT_FALSE(platform::openUrl(refused)) << refused;
}

TEST(UrlOpenerTest, ARecorderTakesThePlaceOfTheHandler) {
    FakeHandler handler("exit 3");
    std::vector<std::string> seen;
    platform::setUrlOpenerForTesting([&](const std::string& url) {
        seen.push_back(url);
        return true;
    });
    EXPECT_TRUE(platform::openUrl("tg://resolve?domain=x"));
    platform::setUrlOpenerForTesting({});
    EXPECT_FALSE(platform::openUrl("https://example.test/"));
    EXPECT_EQ(seen, std::vector<std::string>{"tg://resolve?domain=x"});
}

}  // namespace
