#include <gtest/gtest.h>

#include "platform/Monitor.h"

using namespace platform;

namespace {

class MonitorTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetWindowModel();
        resetMonitors();
    }
    void TearDown() override {
        resetWindowModel();
        resetMonitors();
    }

    static MonitorInfo monitor(RECT rect, int dpi, bool primary) {
        MonitorInfo m;
        m.rect = rect;
        m.workArea = RECT{rect.left, rect.top, rect.right, rect.bottom - 40};
        m.dpiX = dpi;
        m.dpiY = dpi;
        m.primary = primary;
        return m;
    }
};

TEST_F(MonitorTest, DefaultIsOneFullHdPrimaryAt96Dpi) {
    auto monitors = getMonitors();
    ASSERT_EQ(monitors.size(), 1u);
    EXPECT_EQ(monitors[0].rect, (RECT{0, 0, 1920, 1080}));
    EXPECT_EQ(monitors[0].workArea, (RECT{0, 0, 1920, 1040}));
    EXPECT_TRUE(monitors[0].primary);
    EXPECT_EQ(getScreenDeviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(getScreenDeviceCaps(LOGPIXELSY), 96);
}

TEST_F(MonitorTest, ExactlyOnePrimaryAfterSet) {
    struct Case {
        const char* name;
        bool flags[3];
        int expectedPrimary;
    };
    const Case cases[] = {
        {"none flagged", {false, false, false}, 0},
        {"second flagged", {false, true, false}, 1},
        {"two flagged", {false, true, true}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<MonitorInfo> list;
        for (int i = 0; i < 3; ++i) list.push_back(monitor({i * 1000, 0, i * 1000 + 1000, 800}, 96 + i, c.flags[i]));
        setMonitors(list);
        auto got = getMonitors();
        ASSERT_EQ(got.size(), 3u);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(got[i].primary, i == c.expectedPrimary) << i;
        EXPECT_EQ(primaryMonitor().rect, list[c.expectedPrimary].rect);
    }
    setMonitors({});
    EXPECT_EQ(primaryMonitor().rect, (RECT{0, 0, 1920, 1080}));
}

TEST_F(MonitorTest, WindowBelongsToTheMonitorHoldingMostOfIt) {
    // Primary listed first, secondary to its left.
    setMonitors({monitor({0, 0, 2560, 1440}, 144, true), monitor({-1280, 0, 0, 1024}, 96, false)});
    struct Case {
        const char* name;
        RECT window;
        int expectedLeft;
    };
    const Case cases[] = {
        {"inside the primary", {100, 100, 900, 700}, 0},
        {"inside the secondary", {-1000, 100, -200, 700}, -1280},
        {"mostly on the secondary", {-700, 100, 100, 700}, -1280},
        {"mostly on the primary", {-100, 100, 700, 700}, 0},
        {"off every screen", {5000, 5000, 5800, 5600}, 0},
        {"touching an edge only", {-800, 1024, 0, 1500}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowDesc desc;
        desc.windowRect = c.window;
        HWND hwnd = createWindow(desc);
        EXPECT_EQ(monitorFromWindow(hwnd).rect.left, c.expectedLeft);
    }
    EXPECT_TRUE(monitorFromWindow(999).primary);
}

TEST_F(MonitorTest, ScreenCapsAnswerThePrimaryMonitorsDpi) {
    MonitorInfo secondary = monitor({-1280, 0, 0, 1024}, 192, false);
    MonitorInfo primary = monitor({0, 0, 2560, 1440}, 120, true);
    primary.dpiY = 144;
    setMonitors({secondary, primary});
    struct Case {
        int index;
        int expected;
    };
    for (Case c : {Case{LOGPIXELSX, 120}, Case{LOGPIXELSY, 144}, Case{0, 0}, Case{89, 0}, Case{-1, 0}}) {
        EXPECT_EQ(getScreenDeviceCaps(c.index), c.expected) << "index " << c.index;
    }
}

}  // namespace

namespace {

TEST_F(MonitorTest, MonitorFromRectHasNoDefault) {
    setMonitors({monitor(RECT{0, 0, 1920, 1080}, 96, true), monitor(RECT{1920, 0, 3840, 1080}, 144, false)});
    struct Case {
        const char* name;
        RECT rect;
        bool found;
        int dpi;   // of the monitor found
    };
    const Case cases[] = {
        {"inside the first", {10, 10, 400, 400}, true, 96},
        {"mostly on the second", {1900, 0, 2500, 500}, true, 144},
        {"touching one pixel", {-100, -100, 1, 1}, true, 96},
        {"left of every screen", {-900, 0, -1, 500}, false, 0},
        {"below every screen", {0, 1080, 500, 1500}, false, 0},
        {"edge to edge, no overlap", {3840, 0, 4000, 100}, false, 0},
        {"empty", {100, 100, 100, 100}, false, 0},
    };
    for (const Case& c : cases) {
        MonitorInfo found;
        found.dpiX = 0;
        EXPECT_EQ(monitorFromRect(c.rect, &found), c.found) << c.name;
        EXPECT_EQ(found.dpiX, c.dpi) << c.name;
        EXPECT_EQ(monitorFromRect(c.rect, nullptr), c.found) << c.name;
    }
}

}  // namespace

TEST_F(MonitorTest, HandlesFindTheMonitorOrTheNearestOneOffEveryScreen) {
    setMonitors({monitor({0, 0, 1920, 1080}, 96, true), monitor({1920, 0, 3840, 1080}, 144, false)});
    struct Case {
        const char* name;
        RECT window;
        uint32_t flags;
        HMONITOR expected;
    };
    const Case cases[] = {
        {"mostly on the second", {1800, 100, 2400, 500}, MONITOR_DEFAULTTONULL, 2},
        {"off to the right, nearest", {5000, 100, 5400, 500}, MONITOR_DEFAULTTONEAREST, 2},
        {"off to the left, nearest", {-900, 100, -100, 500}, MONITOR_DEFAULTTONEAREST, 1},
        {"below the second, nearest", {2000, 2000, 2400, 2400}, MONITOR_DEFAULTTONEAREST, 2},
        {"off, none", {5000, 100, 5400, 500}, MONITOR_DEFAULTTONULL, 0},
        {"off, primary", {5000, 100, 5400, 500}, MONITOR_DEFAULTTOPRIMARY, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowDesc desc;
        desc.windowRect = c.window;
        HWND hwnd = createWindow(desc);
        EXPECT_EQ(monitorFromWindow(hwnd, c.flags), c.expected);
        destroyWindow(hwnd);
    }
    MonitorInfo info;
    ASSERT_TRUE(getMonitorInfo(2, &info));
    EXPECT_EQ(info.dpiX, 144);
    EXPECT_FALSE(getMonitorInfo(0, &info));
    EXPECT_FALSE(getMonitorInfo(3, &info));
    EXPECT_EQ(monitorFromWindow(12345, MONITOR_DEFAULTTONEAREST), 1u) << "a bad handle: the primary";
}
