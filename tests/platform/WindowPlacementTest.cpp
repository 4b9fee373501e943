#include <gtest/gtest.h>

#include <vector>

#include "platform/Activation.h"
#include "platform/Menu.h"
#include "platform/Monitor.h"
#include "platform/WindowPos.h"

using namespace platform;

namespace {

std::vector<std::pair<HWND, UINT>> seen;
std::vector<WINDOWPOS> positions;

LRESULT recorder(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_WINDOWPOSCHANGED || msg == WM_MOVE || msg == WM_SIZE || msg == WM_SHOWWINDOW ||
        msg == WM_ACTIVATE) {
        seen.emplace_back(hwnd, msg);
    }
    if (msg == WM_WINDOWPOSCHANGED) positions.push_back(*reinterpret_cast<const WINDOWPOS*>(lParam));
    if (msg == WM_SIZE) seen.back().second = WM_SIZE | static_cast<UINT>(wParam << 16);
    return defWindowProc(hwnd, msg, wParam, lParam);
}

class WindowPlacementTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetWindowModel();
        resetMonitors();
        seen.clear();
        positions.clear();
    }
    void TearDown() override { resetWindowModel(); }

    static HWND make(RECT rect, HWND owner = 0, uint32_t exStyle = 0) {
        WindowDesc desc;
        desc.className = "Placed";
        desc.windowRect = rect;
        desc.owner = owner;
        desc.exStyle = exStyle;
        desc.proc = recorder;
        HWND hwnd = createWindow(desc);
        seen.clear();
        positions.clear();
        return hwnd;
    }
    static UINT sizeMessage(WPARAM kind) { return WM_SIZE | static_cast<UINT>(kind << 16); }
};

TEST_F(WindowPlacementTest, OwnedWindowsStayAboveTheirOwnerAndTopMostGoesFirst) {
    HWND main = make({0, 0, 800, 600});
    HWND other = make({0, 0, 100, 100});
    HWND owned = make({0, 0, 60, 300}, main);
    HWND ownedTip = make({0, 0, 60, 20}, owned);
    EXPECT_EQ(topLevelZOrder(), (std::vector<HWND>{ownedTip, owned, other, main}));

    // Raising the owner raises what it owns above it.
    ASSERT_TRUE(setWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    EXPECT_EQ(topLevelZOrder(), (std::vector<HWND>{ownedTip, owned, main, other}));

    // Top-most passes down to the owned windows; the band stays first.
    ASSERT_TRUE(setWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    ASSERT_TRUE(setWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    EXPECT_EQ(topLevelZOrder(), (std::vector<HWND>{ownedTip, owned, main, other}));
    for (HWND h : {main, owned, ownedTip}) EXPECT_TRUE(getWindowExStyle(h) & WS_EX_TOPMOST);
    EXPECT_FALSE(getWindowExStyle(other) & WS_EX_TOPMOST);
    EXPECT_EQ(make({0, 0, 10, 10}, main) != 0, true);
    EXPECT_TRUE(getWindowExStyle(topLevelZOrder().front()) & WS_EX_TOPMOST) << "owned by a top-most window";

    // Not top-most clears the owned windows and the owners.
    ASSERT_TRUE(setWindowPos(owned, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    EXPECT_FALSE(getWindowExStyle(main) & WS_EX_TOPMOST);
    EXPECT_FALSE(getWindowExStyle(ownedTip) & WS_EX_TOPMOST);
    EXPECT_FALSE(getWindowExStyle(owned) & WS_EX_TOPMOST);
    EXPECT_FALSE(setWindowPos(main, 12345, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE)) << "insert after a bad window";
}

TEST_F(WindowPlacementTest, SetWindowPosAnnouncesThePlacementBeforeMoveAndSize) {
    struct Case {
        const char* name;
        int x, y, cx, cy;
        UINT flags;
        std::vector<UINT> messages;
        RECT rect;
    };
    const UINT quiet = SWP_NOZORDER | SWP_NOACTIVATE;
    const Case cases[] = {
        {"move and size", 50, 60, 400, 300, quiet,
         {WM_WINDOWPOSCHANGED, WM_MOVE, sizeMessage(SIZE_RESTORED)}, {50, 60, 450, 360}},
        {"size ignored", 50, 60, 400, 300, quiet | SWP_NOSIZE, {WM_WINDOWPOSCHANGED, WM_MOVE}, {50, 60, 250, 260}},
        {"move ignored", 50, 60, 400, 300, quiet | SWP_NOMOVE,
         {WM_WINDOWPOSCHANGED, sizeMessage(SIZE_RESTORED)}, {10, 10, 410, 310}},
        {"nothing changes", 10, 10, 200, 200, quiet, {}, {10, 10, 210, 210}},
        {"hidden", 0, 0, 0, 0, quiet | SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW, {WM_WINDOWPOSCHANGED},
         {10, 10, 210, 210}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND hwnd = make({10, 10, 210, 210});
        ASSERT_TRUE(setWindowPos(hwnd, 0, c.x, c.y, c.cx, c.cy, c.flags));
        std::vector<UINT> messages;
        for (const auto& [h, m] : seen) messages.push_back(m);
        EXPECT_EQ(messages, c.messages);
        RECT rect;
        getWindowRect(hwnd, &rect);
        EXPECT_EQ(rect, c.rect);
        if (!positions.empty()) {
            EXPECT_EQ(positions[0].hwnd, hwnd);
            EXPECT_TRUE(positions[0].flags & SWP_NOZORDER);
        }
        EXPECT_EQ(getForegroundWindow(), 0u) << "SWP_NOACTIVATE";
        destroyWindow(hwnd);
    }
    HWND hwnd = make({0, 0, 10, 10});
    setWindowPos(hwnd, HWND_TOP, 5, 5, 0, 0, SWP_NOSIZE);
    EXPECT_EQ(getForegroundWindow(), hwnd) << "placing without SWP_NOACTIVATE activates";
}

TEST_F(WindowPlacementTest, SystemCommandsMinimiseMaximiseRestoreAndClose) {
    HWND hwnd = make({100, 100, 500, 400});
    setForegroundWindow(hwnd);
    seen.clear();

    defWindowProc(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(isIconic(hwnd));
    EXPECT_TRUE(getWindowStyle(hwnd) & WS_MINIMIZE);
    EXPECT_EQ(getForegroundWindow(), 0u) << "a minimised window is not the foreground";
    EXPECT_EQ(seen.back().second, sizeMessage(SIZE_MINIMIZED));
    RECT rect;
    getWindowRect(hwnd, &rect);
    EXPECT_EQ(rect, (RECT{100, 100, 500, 400}));

    defWindowProc(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(isIconic(hwnd));
    EXPECT_EQ(seen.back().second, sizeMessage(SIZE_RESTORED));

    // Low four bits of the command are the system's own.
    defWindowProc(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE | 2, 0);
    EXPECT_TRUE(isZoomed(hwnd));
    getWindowRect(hwnd, &rect);
    EXPECT_EQ(rect, primaryMonitor().workArea);
    EXPECT_EQ(seen.back().second, sizeMessage(SIZE_MAXIMIZED));
    defWindowProc(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    getWindowRect(hwnd, &rect);
    EXPECT_EQ(rect, (RECT{100, 100, 500, 400}));
    EXPECT_FALSE(isZoomed(hwnd));

    defWindowProc(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(isWindow(hwnd));
}

}  // namespace
