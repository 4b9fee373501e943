#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <string>
#include <vector>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "portal/HttpPostForm.h"
#include "portal/PortalTestSupport.h"
#include "portal/SavedLogin.h"
#include "portal/SignIn.h"
#include "portal/SilentLogin.h"
#include "support/PatchHost.h"

using namespace portal;
using testsupport::PatchHost;

namespace {

using SignInTest = portaltest::PortalFixture;

bool isNonce(const std::string& text) {
    return text.size() == 16 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

TEST_F(SignInTest, LoginRedirectAnswersAndSaves) {
    struct Case {
        const char* name;
        std::string address, answer;
        SavedLogin saved;   // starting from {tg_rt: old}
    };
    const SavedLogin untouched{{"tg_rt", "old"}};
    const std::string base = "vexo://tgdone?code=1000&userid=42&sign=abc&timestamp=17";
    const Case cases[] = {
        {"empty rt", base + "&rt=", "success|42|abc|17|42", {{"method", "telegram"}, {"tg_rt", "old"}}},
        {"new rt", base + "&rt=n%2B1", "success|42|abc|17|42", {{"method", "telegram"}, {"tg_rt", "n+1"}}},
        {"rt in the fragment", base + "#rt=x", "success|42|abc|17|42", {{"method", "telegram"}, {"tg_rt", "old"}}},
        {"decoded fields", "vexo://tgdone?code=1000&userid=a%20b&sign=x+y&timestamp=17", "success|a b|x y|17|a b",
         {{"method", "telegram"}, {"tg_rt", "old"}}},
        {"empty sign", "vexo://tgdone?code=1000&userid=42&sign=&timestamp=17&rt=z", "faild", untouched},
        {"no user id", "vexo://tgdone?code=1000&sign=abc&rt=z", "faild", untouched},
        {"other code", "vexo://tgdone?code=1001&userid=42&sign=abc&rt=z", "faild", untouched},
        {"separator in user id", "vexo://tgdone?code=1000&userid=4%7C2&sign=abc&rt=z", "faild", untouched},
        {"line break in sign", "vexo://tgdone?code=1000&userid=42&sign=a%0Ab&rt=z", "faild", untouched},
        {"control in timestamp", "vexo://tgdone?code=1000&userid=42&sign=abc&timestamp=1%7F&rt=z", "faild",
         untouched},
        {"line break in rt", base + "&rt=a%0Ab", "faild", untouched},
        {"control in rt", base + "&rt=a%01", "faild", untouched},
        {"window closed", "", "faild", untouched},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(savedLoginStore(untouched));
        EXPECT_EQ(loginRedirectAnswer("telegram", "tg_rt", c.address), c.answer);
        EXPECT_EQ(savedLoginLoad(), c.saved);
    }
}

TEST_F(SignInTest, TokenAndTicketAnswers) {
    const std::pair<std::string, std::string> google[] = {
        {"https://p/gcallback.php#id_token=abc.def&authuser=0", "token|abc.def"},
        {"https://p/gcallback.php#error=access_denied", "faild"},
        {"https://p/gcallback.php?id_token=abc", "faild"},
        {"https://p/gcallback.php#id_token=a%7Cb", "token|a%7Cb"},
        {"", "faild"},
    };
    for (const auto& [address, answer] : google) EXPECT_EQ(googleIdTokenAnswer(address), answer) << address;
    const std::pair<std::string, std::string> bind[] = {
        {"vexo://tgbind?code=1000&ticket=T#frag", "ticket|T"},
        {"vexo://tgbind?code=1001&ticket=T", "faild"},
        {"vexo://tgbind?code=1000&ticket=", "faild"},
        {"vexo://tgbind?code=1000#ticket=T", "faild"},
        {"", "faild"},
    };
    for (const auto& [address, answer] : bind) EXPECT_EQ(bindTelegramAnswer(address), answer) << address;
    EXPECT_EQ(savedLoginLoad(), SavedLogin{}) << "these flows save nothing";
}

TEST_F(SignInTest, WebFlowsOpenTheCaptureAndAnswerOnce) {
    signInEndpoints().portalRoot = "https://portal.test:8443/";
    signInEndpoints().googleAuthHost = "https://google.test";
    signInEndpoints().googleClientId = "123456789012-abcdefghijklmnopqrstuvwxyz012345.apps.googleusercontent.com";

    struct Opened {
        std::string url, prefix;
        std::function<void(const std::string&)> capture;
    };
    std::vector<Opened> opened;
    bool accept = true;
    CaptureOpener open = [&](const std::string& url, const std::string& prefix,
                             std::function<void(const std::string&)> capture) {
        opened.push_back({url, prefix, std::move(capture)});
        return accept;
    };
    std::vector<std::string> answers;
    Answer answer = [&](const std::string& text) { answers.push_back(text); };

    loginWithWebView(open, "google", "https://portal.test:8443/glogin.php?from=app", "vexo://gdone", "gg_rt", answer);
    bindTelegram(open, answer);
    getGoogleIdToken(open, answer);
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_TRUE(answers.empty()) << "answers wait for the capture";
    EXPECT_EQ(opened[1].url, "https://portal.test:8443/tglogin.php?from=bindsocial");
    EXPECT_EQ(opened[1].prefix, "vexo://tgbind");
    EXPECT_EQ(opened[2].prefix, "https://portal.test:8443/gcallback.php#");
    const std::string google =
        "https://google.test/o/oauth2/v2/auth?client_id=123456789012-abcdefghijklmnopqrstuvwxyz012345.apps."
        "googleusercontent.com&response_type=id_token&redirect_uri=https%3A%2F%2Fportal.test%3A8443%2F"
        "gcallback.php&scope=openid%20email&prompt=select_account&nonce=";
    EXPECT_EQ(opened[2].url.substr(0, google.size()), google);
    EXPECT_TRUE(isNonce(opened[2].url.substr(google.size()))) << opened[2].url;

    opened[0].capture("vexo://gdone?code=1000&userid=9&sign=s&timestamp=1&rt=g1");
    opened[1].capture("vexo://tgbind?code=1000&ticket=T");
    opened[2].capture("");
    EXPECT_EQ(answers, (std::vector<std::string>{"success|9|s|1|9", "ticket|T", "faild"}));
    EXPECT_EQ(savedLoginLoad(), (SavedLogin{{"gg_rt", "g1"}, {"method", "google"}}));

    accept = false;
    answers.clear();
    loginWithWebView(open, "telegram", "u", "vexo://tgdone", "tg_rt", answer);
    bindTelegram(open, answer);
    getGoogleIdToken(open, answer);
    loginWithWebView(nullptr, "telegram", "u", "vexo://tgdone", "tg_rt", answer);
    EXPECT_EQ(answers, std::vector<std::string>(4, "faild")) << "a capture that cannot open answers at once";
}

TEST(SignInNonceTest, TickAndCounter) {
    const std::string a = makeNonce(), b = makeNonce();
    ASSERT_TRUE(isNonce(a)) << a;
    EXPECT_EQ(std::stoul(b.substr(8), nullptr, 16), std::stoul(a.substr(8), nullptr, 16) + 1);
}

// The silent re-login against the local host standing in for the API host.
class SilentLoginTest : public portaltest::PortalFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.ready()) << host.error();
        signInEndpoints().apiHost = "https://localhost:" + std::to_string(host.primaryPort());
    }
    void reply(const std::string& json) { host.setFault(host.primaryPort(), "/app_relogin.php", json); }

    PatchHost host;
};

TEST_F(SilentLoginTest, RepliesToAnswersAndSavedToken) {
    struct Case {
        const char* name;
        std::string fault;   // the host's answer
        std::string answer, token;
    };
    const Case cases[] = {
        {"full reply", R"({"status":200,"body":"{\"code\":\"1000\",\"userid\":\"7\",\"sign\":\"s\",\"timestamp\":\"9\",\"rt\":\"n\\/1\"}"})",
         "success|7|s|9|7", "n/1"},
        {"bare code, no rt", R"({"status":200,"body":"{\"code\":1000,\"userid\":\"7\",\"sign\":\"s\",\"timestamp\":9}"})",
         "success|7|s|9|7", "a+b&c"},
        {"no user id, rotated rt", R"({"status":200,"body":"{\"code\":\"1000\",\"rt\":\"r2\"}"})", "faild", "r2"},
        {"other code", R"({"status":200,"body":"{\"code\":\"1001\",\"userid\":\"7\",\"sign\":\"s\",\"rt\":\"r3\"}"})",
         "faild", "a+b&c"},
        {"separator in sign", R"({"status":200,"body":"{\"code\":\"1000\",\"userid\":\"7\",\"sign\":\"s|x\",\"rt\":\"r4\"}"})",
         "faild", "a+b&c"},
        {"status 500", R"({"status":500,"body":"{\"code\":\"1000\",\"userid\":\"7\",\"sign\":\"s\",\"rt\":\"r5\"}"})",
         "faild", "a+b&c"},
        {"not JSON", R"({"status":200,"body":"<html>"})", "faild", "a+b&c"},
        {"line break in rt", R"({"status":200,"body":"{\"code\":\"1000\",\"userid\":\"7\",\"sign\":\"s\",\"rt\":\"x\\ny\"}"})",
         "faild", "a+b&c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(savedLoginStore({{"tg_rt", "a+b&c"}}));
        reply(c.fault);
        EXPECT_EQ(loginSilentAnswer("tg_rt"), c.answer);
        EXPECT_EQ(savedLoginGet("tg_rt"), c.token);
        EXPECT_EQ(savedLoginGet("method"), "") << "the silent flow never writes the method";
    }
    const auto requests = host.requests();
    ASSERT_EQ(requests.size(), std::size(cases));
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].path, "/app_relogin.php");
    EXPECT_EQ(requests[0].body, "rt=a%2Bb%26c");
    EXPECT_EQ(requests[0].header("Content-Type"), "application/x-www-form-urlencoded");
}

TEST_F(SilentLoginTest, NoTokenTimeOutAndNoHost) {
    EXPECT_EQ(loginSilentAnswer("gg_rt"), "faild");
    EXPECT_TRUE(host.requests().empty()) << "no token, no request";

    ASSERT_TRUE(savedLoginSet("gg_rt", "t"));
    reply(R"({"delay":3,"status":200,"body":"{\"code\":\"1000\",\"userid\":\"7\",\"sign\":\"s\"}"})");
    setHttpPostFormTimeoutMs(500);
    EXPECT_EQ(loginSilentAnswer("gg_rt"), "faild");
    setHttpPostFormTimeoutMs(20000);

    signInEndpoints().apiHost = "https://localhost:" + std::to_string(PatchHost::closedPort());
    EXPECT_EQ(loginSilentAnswer("gg_rt"), "faild");
    EXPECT_EQ(savedLoginGet("gg_rt"), "t");
}

TEST_F(SilentLoginTest, RedirectsOnlyToHttps) {
    const std::string https = PatchHost::url(host.primaryPort(), "/final.json");
    host.writeFile("final.json", R"({"code":"1000","userid":"1","sign":"s","timestamp":"2"})");
    ASSERT_TRUE(savedLoginSet("tg_rt", "t"));
    reply(R"({"status":302,"headers":[["Location",")" + https + R"("]]})");
    EXPECT_EQ(loginSilentAnswer("tg_rt"), "success|1|s|2|1");
    reply(R"({"status":302,"headers":[["Location","http://localhost:)" + std::to_string(host.primaryPort()) +
          R"(/final.json"]]})");
    EXPECT_EQ(loginSilentAnswer("tg_rt"), "faild");
}

// The wait for the host runs beside the frames: a host that takes 2 s holds no
// frame, and the answer and the rotated token come on the main thread; a stop ends
// a transfer under way without an answer.
TEST_F(SilentLoginTest, TheReplyIsAwaitedBesideTheFrames) {
    using namespace std::chrono_literals;
    using Clock = std::chrono::steady_clock;
    engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
    std::vector<std::string> answers;
    const auto answer = [&answers](const std::string& text) { answers.push_back(text); };
    // Frames until there are `count` answers or `limit` has passed; their number.
    const auto frames = [&](size_t count, std::chrono::milliseconds limit) {
        int drawn = 0;
        for (const auto end = Clock::now() + limit; answers.size() < count && Clock::now() < end; ++drawn) {
            scheduler->update(1.0f / 60);
            std::this_thread::sleep_for(10ms);
        }
        return drawn;
    };

    ASSERT_TRUE(savedLoginStore({{"tg_rt", "old"}}));
    reply(R"({"delay":2,"status":200,"body":"{\"code\":\"1000\",\"userid\":\"7\",\"sign\":\"s\",\"timestamp\":\"9\",\"rt\":\"r2\"}"})");
    auto start = Clock::now();
    loginSilentAsync("tg_rt", answer);
    EXPECT_LT(Clock::now() - start, 500ms);
    EXPECT_TRUE(answers.empty());
    EXPECT_GT(frames(1, 15s), 50);
    EXPECT_EQ(answers, std::vector<std::string>{"success|7|s|9|7"});
    EXPECT_EQ(savedLoginGet("tg_rt"), "r2");

    reply(R"({"delay":30,"status":200,"body":"{\"code\":\"1000\",\"userid\":\"7\",\"sign\":\"s\"}"})");
    loginSilentAsync("tg_rt", answer);
    frames(2, 300ms);
    start = Clock::now();
    stopSilentLogins();
    EXPECT_LT(Clock::now() - start, 3s);
    frames(2, 300ms);
    EXPECT_EQ(answers.size(), 1u);
    EXPECT_EQ(savedLoginGet("tg_rt"), "r2");
}

}  // namespace
