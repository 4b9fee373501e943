#include <gtest/gtest.h>

#include <vector>

#include "platform/Activation.h"
#include "platform/WindowPos.h"

using namespace platform;

namespace {

LRESULT mouseAnswer = 0;   // 0: default handling
std::vector<std::pair<HWND, UINT>> seen;

LRESULT proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_MOUSEACTIVATE || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP || msg == WM_ACTIVATE) {
        seen.emplace_back(hwnd, msg);
    }
    if (msg == WM_MOUSEACTIVATE && mouseAnswer != 0 && getParent(hwnd) == 0) return mouseAnswer;
    return defWindowProc(hwnd, msg, wParam, lParam);
}

class ActivationTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetWindowModel();
        seen.clear();
        mouseAnswer = 0;
    }
    void TearDown() override { resetWindowModel(); }

    static HWND make(HWND parent = 0, uint32_t exStyle = 0) {
        WindowDesc desc;
        desc.windowRect = {0, 0, 100, 100};
        desc.parent = parent;
        desc.exStyle = exStyle;
        desc.proc = proc;
        return createWindow(desc);
    }
};

TEST_F(ActivationTest, AClickActivatesUnlessTheWindowAnswersNoActivate) {
    struct Case {
        const char* name;
        LRESULT answer;
        uint32_t exStyle;
        bool activates;
        bool delivered;
    };
    const Case cases[] = {
        {"default", 0, 0, true, true},
        {"no-activate style", 0, WS_EX_NOACTIVATE, false, true},
        {"MA_ACTIVATE", MA_ACTIVATE, 0, true, true},
        {"MA_ACTIVATEANDEAT", MA_ACTIVATEANDEAT, 0, true, false},
        {"MA_NOACTIVATE", MA_NOACTIVATE, 0, false, true},
        {"MA_NOACTIVATEANDEAT", MA_NOACTIVATEANDEAT, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetWindowModel();
        HWND game = make();
        setForegroundWindow(game);
        HWND strip = make(0, c.exStyle);
        HWND button = make(strip);
        mouseAnswer = c.answer;
        seen.clear();
        mouseButtonDown(button, {5, 5});
        EXPECT_EQ(getForegroundWindow(), c.activates ? strip : game);
        // The button's parent is asked first, through the default procedure.
        ASSERT_GE(seen.size(), 2u);
        EXPECT_EQ(seen[0], std::make_pair(button, WM_MOUSEACTIVATE));
        EXPECT_EQ(seen[1], std::make_pair(strip, WM_MOUSEACTIVATE));
        const bool delivered = seen.back() == std::make_pair(button, WM_LBUTTONDOWN);
        EXPECT_EQ(delivered, c.delivered);
    }
}

TEST_F(ActivationTest, ForegroundChangesSendActivateAndRaise) {
    HWND a = make();
    HWND b = make();
    ASSERT_TRUE(setForegroundWindow(a));
    EXPECT_EQ(topLevelZOrder().front(), a);
    seen.clear();
    HWND child = make(b);
    ASSERT_TRUE(setForegroundWindow(child));   // its top-level window
    EXPECT_EQ(getForegroundWindow(), b);
    EXPECT_EQ(seen, (std::vector<std::pair<HWND, UINT>>{{a, WM_ACTIVATE}, {b, WM_ACTIVATE}}));
    EXPECT_EQ(topLevelZOrder().front(), b);
    // A click inside the foreground window does not ask again.
    seen.clear();
    clickWindow(child, {1, 1});
    EXPECT_EQ(seen, (std::vector<std::pair<HWND, UINT>>{{child, WM_LBUTTONDOWN}, {child, WM_LBUTTONUP}}));
    destroyWindow(b);
    EXPECT_EQ(getForegroundWindow(), 0u);
    EXPECT_FALSE(setForegroundWindow(b));
}

}  // namespace
