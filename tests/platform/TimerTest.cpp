#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/SteadyClock.h"
#include "platform/Timer.h"

using namespace platform;
using namespace std::chrono_literals;

namespace {

std::vector<uintptr_t> ticks;
SteadyClock::TimePoint fakeNow;

LRESULT proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER) {
        ticks.push_back(wParam);
        if (wParam == 3) killTimer(hwnd, 4);   // one handler kills a sibling due at the same time
    }
    return defWindowProc(hwnd, msg, wParam, lParam);
}

class TimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetWindowModel();
        ticks.clear();
        fakeNow = SteadyClock::TimePoint{} + 1h;
        SteadyClock::setSource([] { return fakeNow; });
        WindowDesc desc;
        desc.proc = proc;
        window = createWindow(desc);
    }
    void TearDown() override {
        resetWindowModel();
        SteadyClock::setSource({});
    }
    HWND window = 0;
};

TEST_F(TimerTest, DueTimersTickFromThePumpAndRestartWhenSetAgain) {
    ASSERT_EQ(setTimer(window, 7, 100), 7u);
    ASSERT_EQ(setTimer(window, 8, 150), 8u);
    fakeNow += 99ms;
    pumpMessages();
    EXPECT_TRUE(ticks.empty());
    fakeNow += 1ms;
    EXPECT_EQ(pumpMessages(), 1);
    EXPECT_EQ(ticks, (std::vector<uintptr_t>{7}));

    // Setting again restarts: 60 ms later it is not due at its old time.
    fakeNow += 60ms;   // 8 is due now
    setTimer(window, 7, 100);
    fakeNow += 50ms;
    pumpMessages();
    EXPECT_EQ(ticks, (std::vector<uintptr_t>{7, 8}));
    fakeNow += 50ms;
    pumpMessages();
    EXPECT_EQ(ticks, (std::vector<uintptr_t>{7, 8, 7}));

    // A long pause gives one tick, not a burst.
    fakeNow += 10s;
    pumpMessages();
    EXPECT_EQ(ticks.size(), 5u);

    EXPECT_TRUE(killTimer(window, 7));
    EXPECT_FALSE(killTimer(window, 7));
    EXPECT_FALSE(isTimerSet(window, 7));
    EXPECT_EQ(setTimer(12345, 1, 10), 0u) << "no such window";
}

TEST_F(TimerTest, KilledByAnEarlierHandlerOrWithTheWindow) {
    setTimer(window, 3, 10);
    setTimer(window, 4, 10);
    fakeNow += 10ms;
    pumpMessages();
    EXPECT_EQ(ticks, (std::vector<uintptr_t>{3}));
    EXPECT_EQ(timerCount(), 1);
    destroyWindow(window);
    EXPECT_EQ(timerCount(), 0);
}

}  // namespace
