// The update front end on a fake clock and the director's scheduler: the gateway
// file, the TLS wait, the gateway reply, the error texts, the one-run rule and the
// hand-over to the scripts one tick after leave.
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/base/Clock.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/files/FileUtils.h"
#include "engine/network/HttpClient.h"
#include "engine/network/HttpRequest.h"
#include "engine/network/HttpResponse.h"
#include "support/TestSupport.h"
#include "updater/AutoUpdate.h"
#include "updater/ResUpdater.h"
#include "updater/TlsWarmup.h"
#include "updater/UpdateTexts.h"

using testing::ElementsAre;
using testing::HasSubstr;
using updater::AutoUpdate;

namespace {

// Records what the front end shows; alerts keep their buttons to be pressed.
struct ScreenLog {
    int built = 0;
    std::vector<std::string> statuses;
    int resets = 0;
    int startingGame = 0;
    std::vector<std::string> alerts;
    std::vector<std::function<void()>> buttons;
};

class RecordingScreen : public updater::UpdateScreen {
public:
    explicit RecordingScreen(ScreenLog& log) : _log(log) {}
    void buildScene(const std::function<void()>& loadLang) override {
        ++_log.built;
        loadLang();
    }
    void showCheckStatus() override { _log.statuses.push_back(updater::updateTexts().auCheckUpdate); }
    void resetProgress() override { ++_log.resets; }
    void onProgress(int64_t, int64_t) override {}
    void onUnzipProgress(int, int, int, int, int64_t, int64_t) override {}
    void showStartingGame() override { ++_log.startingGame; }
    void showAlert(const std::string& message, std::function<void()> onButton) override {
        _log.alerts.push_back(message);
        _log.buttons.push_back(std::move(onButton));
    }

private:
    ScreenLog& _log;
};

// The gateway request is counted instead of sent.
class TestAutoUpdate : public AutoUpdate {
public:
    int requests = 0;

protected:
    void requestGateway() override { ++requests; }
};

class AutoUpdateTest : public testing::Test {
protected:
    void SetUp() override {
        engine::Clock::setSource([this] { return engine::Clock::TimePoint(std::chrono::milliseconds(_nowMs)); });
        engine::FileUtils* files = engine::FileUtils::getInstance();
        files->setSearchPaths({_dir.path()});
        files->setWritablePath(_dir.file("writable"));
        updater::tlsWarmupState().exchange(updater::kTlsWarmupDone);
        _update.setScreen(std::make_unique<RecordingScreen>(_screen));
    }
    void TearDown() override { engine::Clock::setSource(nullptr); }

    void tick(int times = 1) {
        for (int i = 0; i < times; ++i) engine::Director::getInstance()->getScheduler()->update(1.0f / 60);
    }
    // Starts with a gateway file and runs the tick that makes the check step.
    void startWithGateway() {
        _dir.write("fenk/gateway", "https://localhost/gw\n");
        _update.start([this] { ++_finished; });
        tick();
    }
    void respond(bool succeed, const std::string& body, long code = 200) {
        auto* request = new engine::network::HttpRequest();
        auto* response = new engine::network::HttpResponse(request);
        request->release();
        response->setSucceed(succeed);
        response->setResponseCode(code);
        response->getResponseData()->assign(body.begin(), body.end());
        _update.onGatewayResponse(nullptr, response);
        response->release();
    }

    testsupport::TempDir _dir;
    int64_t _nowMs = 1000000;
    ScreenLog _screen;
    TestAutoUpdate _update;
    int _finished = 0;
};

TEST_F(AutoUpdateTest, GatewayFileGivesItsFirstPieceOrSkipsTheUpdate) {
    const struct {
        const char* content;   // nullptr: no file
        const char* url;       // "": skipped
    } cases[] = {
        {"https://localhost/gw\n", "https://localhost/gw"},
        {"https://localhost/gw\r\nsecond line", "https://localhost/gw\r"},
        {"https://localhost/a\tb c", "https://localhost/a"},
        {"https://localhost/only", "https://localhost/only"},
        {" https://localhost/gw", ""},
        {"\nhttps://localhost/gw", ""},
        {"", ""},
        {nullptr, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content ? c.content : "(no file)");
        testsupport::TempDir dir;
        engine::FileUtils::getInstance()->setSearchPaths({dir.path()});
        if (c.content) dir.write("fenk/gateway", c.content);
        ScreenLog screen;
        TestAutoUpdate update;
        update.setScreen(std::make_unique<RecordingScreen>(screen));
        testsupport::LogCapture log;
        int finished = 0;
        update.start([&] { ++finished; });
        EXPECT_EQ(update.gatewayUrl(), c.url);
        const bool skipped = std::string(c.url).empty();
        EXPECT_EQ(log.contains("no gateway file. skip update."), skipped);
        EXPECT_EQ(screen.built, skipped ? 0 : 1);
        EXPECT_EQ(finished, 0);   // never from inside start
        tick(3);
        EXPECT_EQ(finished, skipped ? 1 : 0);
        EXPECT_EQ(update.requests, skipped ? 0 : 1);
    }
}

TEST_F(AutoUpdateTest, FinishesExactlyOnceOneTickAfterLeaveWithTheTimeoutsBack) {
    engine::network::HttpClient* http = engine::network::HttpClient::getInstance();
    http->setTimeoutForConnect(11);
    http->setTimeoutForRead(22);
    startWithGateway();
    EXPECT_EQ(http->getTimeoutForConnect(), 8);
    EXPECT_EQ(http->getTimeoutForRead(), 20);
    EXPECT_EQ(_update.requests, 1);
    EXPECT_THAT(_screen.statuses, ElementsAre("au_checkupdate"));

    _update.start([this] { ++_finished; });   // a second start keeps the saved time-outs
    tick();
    EXPECT_EQ(_update.requests, 1);           // and sends nothing while the first runs
    _update.onNoUpdate();
    EXPECT_EQ(_finished, 0);
    EXPECT_EQ(_screen.startingGame, 1);
    EXPECT_EQ(http->getTimeoutForConnect(), 11);
    EXPECT_EQ(http->getTimeoutForRead(), 22);
    tick();
    EXPECT_EQ(_finished, 1);
    tick(5);
    EXPECT_EQ(_finished, 1);
}

TEST_F(AutoUpdateTest, LeavePutsTheResourceCacheFirstInTheSearchPaths) {
    engine::FileUtils* files = engine::FileUtils::getInstance();
    const std::string cache = files->getWritablePath() + "auc/Resources/";
    files->setSearchPaths({_dir.path(), cache});
    _update.start([this] { ++_finished; });   // no gateway file: straight to leave
    const std::vector<std::string>& paths = files->getSearchPaths();
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0], cache);
    EXPECT_EQ(paths[1], _dir.path() + "/");
}

// The warm-up states at the check step: 0 and 2 send at once; 1 waits until the
// state changes or 1500 ms after the process's first wait, whichever comes first.
TEST_F(AutoUpdateTest, WaitsForTheTlsWarmupOnlyWhileItRunsAndAtMost1500ms) {
    for (int state : {updater::kTlsWarmupNotStarted, updater::kTlsWarmupDone}) {
        TestAutoUpdate update;
        updater::tlsWarmupState().exchange(state);
        update.checkResAndUpdate();
        EXPECT_EQ(update.requests, 1) << "state " << state;
    }

    // Running, then done after 400 ms.
    updater::tlsWarmupState().exchange(updater::kTlsWarmupRunning);
    testsupport::LogCapture log;
    startWithGateway();
    EXPECT_EQ(_update.requests, 0);
    _nowMs += 400;
    tick(2);
    EXPECT_EQ(_update.requests, 0);
    updater::tlsWarmupState().exchange(updater::kTlsWarmupDone);
    tick();
    EXPECT_EQ(_update.requests, 1);
    EXPECT_THAT(log.text(), HasSubstr("[VEXO] GET gateway sau khi cho lam nong TLS 400 ms (lam nong da xong)"));
    EXPECT_EQ(_screen.statuses.size(), 2u);   // the check step ran again after the wait
}

TEST_F(AutoUpdateTest, ExpiredWaitSendsAndRetriesNeverWaitAgain) {
    updater::tlsWarmupState().exchange(updater::kTlsWarmupRunning);
    testsupport::LogCapture log;
    startWithGateway();
    _nowMs += 1499;
    tick();
    EXPECT_EQ(_update.requests, 0);
    _nowMs += 1;
    tick();
    EXPECT_EQ(_update.requests, 1);
    EXPECT_THAT(log.text(),
                HasSubstr("TLS 1500 ms (HET HAN, luong lam nong chua xong)"));

    // The warm-up still runs; the retry goes out at once.
    _update.onGatewayFail();
    ASSERT_EQ(_screen.buttons.size(), 1u);
    _screen.buttons[0]();
    EXPECT_EQ(_update.requests, 2);
}

TEST_F(AutoUpdateTest, UpdaterErrorsMapToTheirTexts) {
    const struct {
        int eid;
        const char* detail;
        const char* text;
    } cases[] = {
        {0, "", "reserr_0"},
        {1, "6,404", "reserr_1_1"},
        {1, "28,0", "reserr_1_0 28,0"},
        {1, "404", "reserr_1_0 404"},
        {1, "6,404,1", "reserr_1_0 6,404,1"},
        {1, ",404", "reserr_1_1"},
        {2, "x", "reserr_2"},
        {3, "x", "reserr_3"},
        {7, "x", "unkown"},
        {-1, "", "unkown"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AutoUpdate::errorText(c.eid, c.detail), c.text) << c.eid << " " << c.detail;
    }
}

// A gateway reply that is no success or not JSON raises the alert; one without a
// usable "Res" skips the update.
TEST_F(AutoUpdateTest, GatewayRepliesThatFailOrSkip) {
    const struct {
        bool succeed;
        const char* body;
        const char* alert;   // nullptr: skipped to leave
        const char* logged;
    } cases[] = {
        {false, "", "gwerr_net", "URL 'https://localhost/gw' rc:500  msg:"},
        {true, "{\"Res\": ", "gwerr_json", "jsonerr:"},
        {true, "{\"Res\": \"https://localhost/r/list.json\", \"n\": 1e999999}", "gwerr_json", "jsonerr:"},
        {true, "{\"Other\": 1}", nullptr, "gateway no 'Res'. skip update."},
        {true, "{\"Res\": \"\"}", nullptr, "gateway no 'Res'. skip update."},
        {true, "{\"Res\": 5}", nullptr, "gateway no 'Res'. skip update."},
        {true, "[1, 2]", nullptr, "gateway no 'Res'. skip update."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        ScreenLog screen;
        _update.setScreen(std::make_unique<RecordingScreen>(screen));
        _finished = 0;
        startWithGateway();
        testsupport::LogCapture log;
        respond(c.succeed, c.body, c.succeed ? 200 : 500);
        EXPECT_THAT(log.text(), HasSubstr(c.logged));
        tick();
        if (c.alert) {
            EXPECT_THAT(screen.alerts, ElementsAre(c.alert));
            EXPECT_EQ(_finished, 0);
        } else {
            EXPECT_TRUE(screen.alerts.empty());
            EXPECT_EQ(_finished, 1);
        }
    }
}

// One run at a time: an alert's button (or a second check) while a gateway request
// is in flight starts nothing; once it has failed, the button starts the next one.
TEST_F(AutoUpdateTest, RetriesStartNothingWhileARunIsInFlight) {
    startWithGateway();
    _update.onGatewayFail();
    _update.onError(2, "");   // a stale second report: a second alert
    ASSERT_EQ(_screen.buttons.size(), 2u);
    EXPECT_THAT(_screen.alerts, ElementsAre("gwerr_net", "reserr_2"));

    _screen.buttons[1]();
    EXPECT_EQ(_update.requests, 2);
    EXPECT_TRUE(_update.isRunInFlight());
    _screen.buttons[0]();
    _update.checkResAndUpdate();
    EXPECT_EQ(_update.requests, 2);

    _update.onGatewayFail();
    EXPECT_FALSE(_update.isRunInFlight());
    _screen.buttons[2]();
    EXPECT_EQ(_update.requests, 3);
}

// A stopped updater's threads may still be writing into the cache: the retry's
// gateway request waits until they are gone.
TEST_F(AutoUpdateTest, RetryWaitsForTheStoppedUpdatersThreads) {
    _dir.write("fenk/ResSignSn", "t1 100");
    startWithGateway();
    respond(true, R"({"Res": "https://127.0.0.1:1/r/list.json"})");
    ASSERT_NE(_update.resUpdater(), nullptr);
    std::shared_ptr<updater::ResUpdaterState> worker = _update.resUpdater()->state();   // as a thread holds it

    _update.onError(1, "7,0");
    EXPECT_EQ(_update.resUpdater(), nullptr);
    ASSERT_EQ(_screen.buttons.size(), 1u);
    _screen.buttons[0]();
    tick(3);
    EXPECT_EQ(_update.requests, 1);
    EXPECT_TRUE(_update.isRunInFlight());

    worker.reset();
    tick();
    EXPECT_EQ(_update.requests, 2);
    engine::network::HttpClient::destroyInstance();
}

TEST(UpdateTexts, LocaleChoosesTheLanguageTable) {
    const struct {
        const char* locale;
        const char* code;
    } cases[] = {{"th", "th"}, {"th-TH", "th"}, {"zh", "tw"}, {"zh-CN", "tw"}, {"zh-TW", "tw"},
                 {"en", "vi"}, {"vi", "vi"},    {"ko", "vi"}, {"", "vi"},         {"t", "vi"}};
    for (const auto& c : cases) EXPECT_EQ(updater::langCodeForLocale(c.locale), c.code) << c.locale;
}

// Which texts a language file gives, for a locale; keys not given keep their names.
TEST(UpdateTexts, LanguageFileFallsBackTableByTableAndIgnoresWrongTypes) {
    const struct {
        const char* file;
        const char* locale;
        const char* check;    // au_checkupdate's text afterwards
        const char* retry;    // alert_retry's text afterwards
    } cases[] = {
        {R"({"en": {"au_checkupdate": "Checking", "alert_retry": "Retry"}})", "th", "Checking", "Retry"},
        {R"({"vi": "x", "en": {"au_checkupdate": "Checking"}})", "en", "Checking", "alert_retry"},
        {R"({"vi": {"au_checkupdate": "Kiem tra"}, "en": {"au_checkupdate": "Checking"}})", "ko", "Kiem tra",
         "alert_retry"},
        {R"({"tw": {"alert_retry": "R"}, "th": {"alert_retry": "T"}})", "zh-CN", "au_checkupdate", "R"},
        {R"({"au_checkupdate": "Root", "alert_retry": 5})", "vi", "Root", "alert_retry"},
        {R"({"vi": {"au_checkupdate": ["a"], "alert_retry": null}})", "vi", "au_checkupdate", "alert_retry"},
        {R"(["au_checkupdate", "x"])", "vi", "au_checkupdate", "alert_retry"},
        {R"("au_checkupdate")", "vi", "au_checkupdate", "alert_retry"},
        {R"({"vi": {"au_checkupdate": "A")", "vi", "au_checkupdate", "alert_retry"},
        {"", "vi", "au_checkupdate", "alert_retry"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        updater::updateTexts() = updater::UpdateTexts();
        testsupport::LogCapture log;
        const bool parsed = updater::applyLangFile(c.file, c.locale);
        EXPECT_EQ(updater::updateTexts().auCheckUpdate, c.check);
        EXPECT_EQ(updater::updateTexts().alertRetry, c.retry);
        EXPECT_EQ(log.contains("lang.json jsonerr: "), !parsed);
        EXPECT_EQ(updater::updateText("au_checkupdate"), c.check);
        EXPECT_EQ(updater::updateText("alert_retry"), c.retry);
    }
    EXPECT_EQ(updater::updateText("no_such_key"), "no_such_key");
}

TEST_F(AutoUpdateTest, MissingLanguageFileLeavesTheKeysAsTexts) {
    updater::updateTexts() = updater::UpdateTexts();
    startWithGateway();
    EXPECT_THAT(_screen.statuses, ElementsAre("au_checkupdate"));
    _update.onError(9, "");
    EXPECT_THAT(_screen.alerts, ElementsAre("unkown"));
}

}  // namespace
