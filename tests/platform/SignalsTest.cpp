#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <vector>

#include "platform/Signals.h"
#include "platform/Window.h"

using namespace platform;

namespace {

std::vector<UINT> received;

LRESULT closeRecorder(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    received.push_back(msg);
    return defWindowProc(hwnd, msg, wParam, lParam);
}

volatile sig_atomic_t foreignHandlerCalls = 0;
extern "C" void foreignHandler(int) { foreignHandlerCalls = foreignHandlerCalls + 1; }

class SignalsTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetWindowModel();
        received.clear();
        WindowDesc desc;
        desc.proc = closeRecorder;
        mainWindow = createWindow(desc);
        received.clear();
    }
    void TearDown() override {
        uninstallTerminationHandlers();
        resetWindowModel();
    }
    HWND mainWindow = 0;
};

TEST_F(SignalsTest, SignalBecomesCloseAtTheNextPump) {
    for (int signo : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signo);
        SetUp();
        installTerminationHandlers(mainWindow);
        EXPECT_FALSE(terminationRequested());
        ASSERT_EQ(raise(signo), 0);
        EXPECT_TRUE(terminationRequested());
        EXPECT_TRUE(received.empty()) << "nothing happens inside the handler";

        EXPECT_EQ(pumpMessages(), 1);
        EXPECT_EQ(received, (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
        EXPECT_FALSE(isWindow(mainWindow));
        EXPECT_FALSE(terminationRequested());
        EXPECT_EQ(pumpMessages(), 0) << "one signal, one close";
        uninstallTerminationHandlers();
    }
}

TEST_F(SignalsTest, RepeatedSignalsBeforeAPumpCloseOnce) {
    installTerminationHandlers(mainWindow);
    raise(SIGTERM);
    raise(SIGINT);
    EXPECT_EQ(pumpMessages(), 1);
    EXPECT_EQ(received.front(), WM_CLOSE);
    EXPECT_EQ(std::count(received.begin(), received.end(), WM_CLOSE), 1);
}

TEST_F(SignalsTest, SignalForAWindowAlreadyGoneIsConsumedQuietly) {
    installTerminationHandlers(mainWindow);
    destroyWindow(mainWindow);
    received.clear();
    raise(SIGTERM);
    EXPECT_EQ(pumpMessages(), 0);
    EXPECT_TRUE(received.empty());
    EXPECT_FALSE(terminationRequested());
}

TEST_F(SignalsTest, UninstallRestoresThePreviousHandlers) {
    struct sigaction foreign {}, saved[2];
    foreign.sa_handler = foreignHandler;
    sigemptyset(&foreign.sa_mask);
    const int signals[] = {SIGINT, SIGTERM};
    for (int i = 0; i < 2; ++i) ASSERT_EQ(sigaction(signals[i], &foreign, &saved[i]), 0);

    installTerminationHandlers(mainWindow);
    installTerminationHandlers(mainWindow);  // a second install must not lose the saved handlers
    uninstallTerminationHandlers();

    foreignHandlerCalls = 0;
    for (int signo : signals) raise(signo);
    EXPECT_EQ(foreignHandlerCalls, 2);
    EXPECT_FALSE(terminationRequested());
    EXPECT_EQ(pumpMessages(), 0);
    EXPECT_TRUE(isWindow(mainWindow));

    for (int i = 0; i < 2; ++i) sigaction(signals[i], &saved[i], nullptr);
}

}  // namespace
