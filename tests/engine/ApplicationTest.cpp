// The application's main loop, its frame pacing and the language code.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/app/Application.h"
#include "engine/app/GLView.h"
#include "platform/UrlOpener.h"
#include "support/TestSupport.h"

using engine::Director;

namespace {

// Ends the director from a scheduled callback after `frames` frames.
struct TinyApp : engine::Application {
    int frames = 3;
    bool launchResult = true;
    int seen = 0;
    bool applicationDidFinishLaunching() override {
        if (!launchResult) return false;
        Director::getInstance()->getScheduler()->schedule([this](float) {
            if (++seen == frames) Director::getInstance()->end();
        }, this, 0.f, false, "tiny");
        return true;
    }
};

struct ClosingView : engine::GLView {
    bool windowShouldClose() override { return ++polls >= 3; }
    int polls = 0;
};

struct ApplicationTest : ::testing::Test {
    ~ApplicationTest() override { Director::destroyInstance(); }
};

TEST_F(ApplicationTest, RunReturnsZeroOnceTheDirectorEnds) {
    TinyApp app;
    EXPECT_EQ(engine::Application::getInstance(), &app);
    app.setAnimationInterval(0.001f);
    EXPECT_FLOAT_EQ(Director::getInstance()->getAnimationInterval(), 0.001f);
    EXPECT_EQ(app.run(), 0);
    EXPECT_EQ(app.seen, 3);
    EXPECT_TRUE(Director::getInstance()->hasEnded());
}

TEST_F(ApplicationTest, RunReturnsOneWhenLaunchingFails) {
    TinyApp app;
    app.launchResult = false;
    EXPECT_EQ(app.run(), 1);
    EXPECT_EQ(Director::getInstance()->getTotalFrames(), 0u);
}

TEST_F(ApplicationTest, SingletonIsClearedByTheDestructor) {
    {
        TinyApp app;
        EXPECT_EQ(engine::Application::getInstance(), &app);
    }
    EXPECT_EQ(engine::Application::getInstance(), nullptr);
}

// The loop's own thread only: its CPU time, and how often it gave the CPU up of
// its own accord. Neither depends on how busy the machine is: a loaded machine
// lengthens the wall time, but a sleeping loop still yields once a frame while a
// spinning one is only ever preempted.
struct ThreadUsage {
    double cpuSeconds;
    long voluntarySwitches;
    static ThreadUsage now() {
        rusage usage{};
        getrusage(RUSAGE_THREAD, &usage);
        return {double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                    double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6,
                usage.ru_nvcsw};
    }
};

TEST_F(ApplicationTest, FramesArePacedBySleepingNotSpinning) {
    TinyApp app;
    app.frames = 5;
    app.setAnimationInterval(0.04f);
    const ThreadUsage before = ThreadUsage::now();
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(app.run(), 0);
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const ThreadUsage after = ThreadUsage::now();
    EXPECT_GE(wall, 5 * 0.04 - 0.005);   // five paced frames before the teardown frame
    // A frame that a busy machine delays past its deadline has nothing left to sleep.
    EXPECT_GE(after.voluntarySwitches - before.voluntarySwitches, 3);
    EXPECT_LT(after.cpuSeconds - before.cpuSeconds, wall / 2);
}

TEST_F(ApplicationTest, ViewAskingToCloseEndsTheLoop) {
    TinyApp app;
    app.frames = 1000000;
    app.setAnimationInterval(0.f);
    auto* view = new ClosingView;
    Director::getInstance()->setOpenGLView(view);
    view->release();
    EXPECT_EQ(app.run(), 0);
    EXPECT_EQ(app.seen, 3);
}

struct LanguageCase {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    const char* expected;
};

TEST(ApplicationLanguageTest, CodeFromTheLocaleVariables) {
    const LanguageCase cases[] = {
        {nullptr, nullptr, nullptr, "en"},
        {nullptr, nullptr, "vi_VN.UTF-8", "vi"},
        {nullptr, "fr_FR", "vi_VN.UTF-8", "fr"},
        {"de_DE.UTF-8", "fr_FR", "vi_VN", "de"},
        {"", "", "ja_JP", "ja"},   // empty values are skipped
        {nullptr, nullptr, "C", "en"},
        {nullptr, nullptr, "C.UTF-8", "en"},
        {nullptr, nullptr, "POSIX", "en"},
        {nullptr, nullptr, "PT_br", "pt"},
        {nullptr, nullptr, "ru.KOI8-R", "ru"},
        {nullptr, nullptr, "es", "es"},
        {nullptr, nullptr, "sr@latin", "sr"},
        {nullptr, nullptr, "fil_PH", "en"},   // not a two-letter code
        {nullptr, nullptr, "e1_XX", "en"},
    };
    struct App : engine::Application {
        bool applicationDidFinishLaunching() override { return true; }
    } app;
    auto set = [](const char* name, const char* value) {
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    };
    for (const auto& c : cases) {
        set("LC_ALL", c.lcAll);
        set("LC_MESSAGES", c.lcMessages);
        set("LANG", c.lang);
        EXPECT_STREQ(app.getCurrentLanguageCode(), c.expected)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " "
            << (c.lang ? c.lang : "-");
    }
}

TEST(ApplicationLanguageTest, LanguageFromTheCode) {
    using engine::LanguageType;
    struct Case {
        const char* lang;
        LanguageType expected;
    };
    const Case cases[] = {
        {"de_DE.UTF-8", LanguageType::GERMAN},  {"zh_CN", LanguageType::CHINESE},
        {"nb_NO", LanguageType::NORWEGIAN},     {"bg_BG", LanguageType::BULGARIAN},
        {"vi_VN", LanguageType::ENGLISH},       // not in the list
        {"C", LanguageType::ENGLISH},
    };
    struct App : engine::Application {
        bool applicationDidFinishLaunching() override { return true; }
    } app;
    testsupport::EnvOverride lcAll("LC_ALL", std::nullopt);
    testsupport::EnvOverride lcMessages("LC_MESSAGES", std::nullopt);
    for (const Case& c : cases) {
        testsupport::EnvOverride lang("LANG", std::string(c.lang));
        EXPECT_EQ(app.getCurrentLanguage(), c.expected) << c.lang;
    }
    EXPECT_EQ(app.getTargetPlatform(), engine::Application::Platform::OS_LINUX);
}

}  // namespace

namespace {

// Only web addresses reach the browser; the rest are refused and logged.
TEST_F(ApplicationTest, OpenUrlPassesOnlyWebAddresses) {
    std::vector<std::string> opened;
    platform::setUrlOpenerForTesting([&](const std::string& url) {
        opened.push_back(url);
        return url.find("fails") == std::string::npos;
    });
    TinyApp app;
    const struct {
        std::string url;
        bool result;
        bool reachesOpener;
    } cases[] = {
        {"https://portal.example/report.shtml", true, true},
        {"http://portal.example/a b?c=\"d\";e", true, true},
        {"HTTPS://PORTAL.EXAMPLE/", true, true},
        {"https://portal.example/fails", false, true},
        {"file:///etc/passwd", false, false},
        {"javascript:alert(1)", false, false},
        {"mailto:ad@portal.example", false, false},
        {"-https://portal.example/", false, false},
        {" https://portal.example/", false, false},
        {"https:", false, false},
        {"", false, false},
        {std::string("https://portal.example/\0.evil", 29), false, false},
        {"https://portal.example/\nline", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        opened.clear();
        testsupport::LogCapture log;
        EXPECT_EQ(engine::Application::getInstance()->openURL(c.url), c.result);
        EXPECT_EQ(opened, c.reachesOpener ? std::vector<std::string>{c.url} : std::vector<std::string>{});
        EXPECT_EQ(log.lines().empty(), c.result);
    }
    platform::setUrlOpenerForTesting(nullptr);
}

}  // namespace
