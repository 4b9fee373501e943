#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Mouse.h"
#include "platform/Window.h"

using namespace platform;

namespace {

struct Seen {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Seen&) const = default;
};
std::vector<Seen> seen;

LRESULT recordMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_MOUSELEAVE:
        case WM_CAPTURECHANGED:
        case WM_ENTERSIZEMOVE:
        case WM_EXITSIZEMOVE:
        case WM_SIZE:
            seen.push_back({hwnd, msg, wParam, lParam});
            break;
        default: break;
    }
    return defWindowProc(hwnd, msg, wParam, lParam);
}

class MouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetWindowModel();
        resetMouseModel();
        seen.clear();
        // A top-level window with its client area at (108, 131)-(408, 331) and two
        // children side by side in it.
        top = make(RECT{100, 100, 416, 339}, 0, 8, 31);
        left = make(RECT{110, 140, 210, 180}, top, 0, 0);
        right = make(RECT{210, 140, 310, 180}, top, 0, 0);
        seen.clear();
    }
    void TearDown() override {
        resetWindowModel();
        resetMouseModel();
    }

    static HWND make(RECT rect, HWND parent, int frameSide, int frameTop) {
        WindowDesc desc;
        desc.className = "T";
        desc.windowRect = rect;
        desc.parent = parent;
        desc.proc = recordMouse;
        desc.frameLeft = desc.frameRight = desc.frameBottom = frameSide;
        desc.frameTop = frameTop;
        return createWindow(desc);
    }

    std::vector<UINT> messagesOf(HWND hwnd) const {
        std::vector<UINT> out;
        for (const Seen& s : seen) {
            if (s.hwnd == hwnd) out.push_back(s.msg);
        }
        return out;
    }

    HWND top = 0, left = 0, right = 0;
};

TEST_F(MouseTest, ScreenToClientReversesClientToScreen) {
    POINT p{5, -7};
    ASSERT_TRUE(clientToScreen(top, &p));
    EXPECT_EQ(p.x, 113);
    EXPECT_EQ(p.y, 124);
    ASSERT_TRUE(screenToClient(top, &p));
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, -7);
    EXPECT_FALSE(screenToClient(9999, &p));
}

TEST_F(MouseTest, WindowFromPointFindsTheDeepestVisibleWindow) {
    struct Case {
        const char* name;
        POINT at;
        HWND expected;
    };
    const Case cases[] = {
        {"left child", {110, 140}, left},
        {"right child's first column", {210, 179}, right},
        {"below the children", {150, 180}, top},
        {"on the frame", {100, 100}, top},
        {"outside", {99, 100}, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(windowFromPoint(c.at), c.expected) << c.name;
    showWindow(left, false);
    EXPECT_EQ(windowFromPoint(POINT{110, 140}), top);
}

TEST_F(MouseTest, InputGoesToTheWindowUnderTheCursorInClientCoordinates) {
    moveCursorTo(POINT{120, 150});
    pressLeftButton();
    releaseLeftButton();
    const std::vector<Seen> expected = {
        {left, WM_MOUSEMOVE, 0, makeLParam(10, 10)},
        {left, WM_LBUTTONDOWN, MK_LBUTTON, makeLParam(10, 10)},
        {left, WM_LBUTTONUP, 0, makeLParam(10, 10)},
    };
    EXPECT_EQ(seen, expected);
}

TEST_F(MouseTest, CaptureTakesInputAndReportsItsLoss) {
    EXPECT_EQ(setCapture(left), 0u);
    moveCursorTo(POINT{250, 150});   // over the right child
    EXPECT_EQ(seen.back(), (Seen{left, WM_MOUSEMOVE, 0, makeLParam(140, 10)}));
    EXPECT_EQ(setCapture(right), left);
    EXPECT_EQ(seen.back(), (Seen{left, WM_CAPTURECHANGED, 0, static_cast<LPARAM>(right)}));
    releaseCapture();
    EXPECT_EQ(seen.back(), (Seen{right, WM_CAPTURECHANGED, 0, 0}));
    EXPECT_EQ(getCapture(), 0u);

    setCapture(left);
    destroyWindow(left);
    EXPECT_EQ(getCapture(), 0u);
}

TEST_F(MouseTest, LeaveIsPostedOnceWhenTheCursorLeavesTheTrackedWindow) {
    moveCursorTo(POINT{120, 150});
    TRACKMOUSEEVENT request;
    request.dwFlags = TME_LEAVE;
    request.hwndTrack = left;
    ASSERT_TRUE(trackMouseEvent(&request));
    moveCursorTo(POINT{130, 150});   // still inside
    moveCursorTo(POINT{250, 150});   // onto the sibling
    EXPECT_TRUE(messagesOf(left) == (std::vector<UINT>{WM_MOUSEMOVE, WM_MOUSEMOVE}));
    pumpMessages();
    EXPECT_EQ(messagesOf(left).back(), WM_MOUSELEAVE);
    // The request is used up: further moves post nothing.
    moveCursorTo(POINT{120, 150});
    moveCursorTo(POINT{250, 150});
    seen.clear();
    pumpMessages();
    EXPECT_TRUE(messagesOf(left).empty());
}

TEST_F(MouseTest, LeaveArrivesBeforeTheEnteredWindowsMove) {
    moveCursorTo(POINT{120, 150});
    TRACKMOUSEEVENT request{TME_LEAVE, left, 0};
    trackMouseEvent(&request);
    moveCursorTo(POINT{250, 150});
    // The right child tracks too when it gets its move: the left one's leave is
    // already on its way.
    TRACKMOUSEEVENT second{TME_LEAVE, right, 0};
    trackMouseEvent(&second);
    pumpMessages();
    EXPECT_EQ(messagesOf(left).back(), WM_MOUSELEAVE);
    EXPECT_EQ(messagesOf(right), (std::vector<UINT>{WM_MOUSEMOVE}));
}

TEST_F(MouseTest, TrackingOutsideTheWindowPostsAtOnceAndCancelWithdraws) {
    moveCursorTo(POINT{250, 150});
    TRACKMOUSEEVENT request{TME_LEAVE, left, 0};
    ASSERT_TRUE(trackMouseEvent(&request));
    pumpMessages();
    EXPECT_EQ(messagesOf(left), (std::vector<UINT>{WM_MOUSELEAVE}));

    seen.clear();
    moveCursorTo(POINT{120, 150});
    trackMouseEvent(&request);
    TRACKMOUSEEVENT cancel{TME_LEAVE | TME_CANCEL, left, 0};
    ASSERT_TRUE(trackMouseEvent(&cancel));
    moveCursorTo(POINT{250, 150});
    pumpMessages();
    EXPECT_EQ(messagesOf(left), (std::vector<UINT>{WM_MOUSEMOVE}));

    TRACKMOUSEEVENT bad{TME_LEAVE, 9999, 0};
    EXPECT_FALSE(trackMouseEvent(&bad));
}

TEST_F(MouseTest, DraggingAWindowBracketsTheMoveWithSizeMoveMessages) {
    ASSERT_TRUE(dragWindowTo(top, RECT{0, 0, 500, 400}));
    EXPECT_EQ(messagesOf(top), (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_SIZE, WM_EXITSIZEMOVE}));
    RECT r;
    getWindowRect(top, &r);
    EXPECT_EQ(r, (RECT{0, 0, 500, 400}));
    EXPECT_FALSE(dragWindowTo(9999, r));
}

TEST_F(MouseTest, PostedTasksRunInTurnWithMessages) {
    std::vector<std::string> order;
    postTask([&] { order.push_back("task 1"); });
    postMessage(left, WM_MOUSELEAVE, 0, 0);
    postTask([&] {
        order.push_back("task 2");
        postTask([&] { order.push_back("task 3"); });   // waits for the next pump
    });
    EXPECT_EQ(pumpMessages(), 3);
    EXPECT_EQ(order, (std::vector<std::string>{"task 1", "task 2"}));
    EXPECT_EQ(messagesOf(left), (std::vector<UINT>{WM_MOUSELEAVE}));
    EXPECT_EQ(pumpMessages(), 1);
    EXPECT_EQ(order.back(), "task 3");
}

}  // namespace
