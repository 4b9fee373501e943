#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <thread>
#include <vector>

#include "platform/Window.h"

using namespace platform;

namespace {

struct Call {
    std::string tag;
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Call&) const = default;
};

// Window procedures are plain function pointers, so they record into a global.
std::vector<Call> calls;

LRESULT recordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    calls.push_back({"base", hwnd, msg, wParam, lParam});
    if (msg == WM_USER + 1) return 42;
    return defWindowProc(hwnd, msg, wParam, lParam);
}

WNDPROC previousProc = nullptr;

LRESULT subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    calls.push_back({"sub", hwnd, msg, wParam, lParam});
    return callWindowProc(previousProc, hwnd, msg, wParam, lParam);
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetWindowModel();
        calls.clear();
        previousProc = nullptr;
    }
    void TearDown() override { resetWindowModel(); }

    static HWND make(RECT rect, WNDPROC proc = recordingProc, HWND parent = 0) {
        WindowDesc desc;
        desc.className = "TestWindow";
        desc.windowRect = rect;
        desc.proc = proc;
        desc.parent = parent;
        HWND hwnd = createWindow(desc);
        calls.clear();
        return hwnd;
    }

    static std::vector<UINT> messages() {
        std::vector<UINT> out;
        for (const Call& c : calls) out.push_back(c.msg);
        return out;
    }
};

TEST_F(WindowTest, CreateAssignsIncreasingHandlesAndSendsCreateWithTheDescription) {
    WindowDesc desc;
    desc.title = "Mộc Hà Lục";
    desc.windowRect = {10, 20, 310, 220};
    desc.proc = recordingProc;
    HWND first = createWindow(desc);
    ASSERT_NE(first, 0u);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].msg, WM_CREATE);
    EXPECT_EQ(calls[0].lParam, reinterpret_cast<LPARAM>(&desc));
    EXPECT_EQ(getWindowText(first), "Mộc Hà Lục");

    HWND second = createWindow(desc);
    EXPECT_GT(second, first);
    destroyWindow(first);
    EXPECT_GT(createWindow(desc), second) << "handles are not reused";
}

LRESULT refuseCreate(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    calls.push_back({"refuse", hwnd, msg, wParam, lParam});
    return msg == WM_CREATE ? -1 : 0;
}

TEST_F(WindowTest, CreateFailsForRefusedCreateOrUnknownParent) {
    WindowDesc desc;
    desc.proc = refuseCreate;
    EXPECT_EQ(createWindow(desc), 0u);
    EXPECT_EQ(messages(), (std::vector<UINT>{WM_CREATE, WM_DESTROY, WM_NCDESTROY}));

    WindowDesc orphan;
    orphan.parent = 12345;
    EXPECT_EQ(createWindow(orphan), 0u);
}

TEST_F(WindowTest, WindowAndClientRectangles) {
    struct Case {
        const char* name;
        RECT window;
        int frameLeft, frameTop, frameRight, frameBottom;
        RECT client;        // client coordinates
        POINT clientOrigin; // screen position of the client's top-left corner
    };
    const Case cases[] = {
        {"default frame", {100, 50, 916, 689}, 8, 31, 8, 8, {0, 0, 800, 600}, {108, 81}},
        {"no frame", {-200, -100, 440, 380}, 0, 0, 0, 0, {0, 0, 640, 480}, {-200, -100}},
        {"frame larger than window", {0, 0, 10, 20}, 8, 31, 8, 8, {0, 0, 0, 0}, {8, 31}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowDesc desc;
        desc.windowRect = c.window;
        desc.frameLeft = c.frameLeft;
        desc.frameTop = c.frameTop;
        desc.frameRight = c.frameRight;
        desc.frameBottom = c.frameBottom;
        HWND hwnd = createWindow(desc);
        RECT rect;
        ASSERT_TRUE(getWindowRect(hwnd, &rect));
        EXPECT_EQ(rect, c.window);
        ASSERT_TRUE(getClientRect(hwnd, &rect));
        EXPECT_EQ(rect, c.client);
        POINT origin;
        ASSERT_TRUE(clientToScreen(hwnd, &origin));
        EXPECT_EQ(origin.x, c.clientOrigin.x);
        EXPECT_EQ(origin.y, c.clientOrigin.y);
        POINT inside{5, 7};
        ASSERT_TRUE(clientToScreen(hwnd, &inside));
        EXPECT_EQ(inside.x, c.clientOrigin.x + 5);
        EXPECT_EQ(inside.y, c.clientOrigin.y + 7);
    }

    RECT rect;
    POINT point;
    EXPECT_FALSE(getWindowRect(999, &rect));
    EXPECT_FALSE(getClientRect(999, &rect));
    EXPECT_FALSE(clientToScreen(999, &point));
}

TEST_F(WindowTest, MoveSendsMoveAndSizeOnlyForWhatChanged) {
    const RECT start{100, 100, 916, 739};  // client 800 x 600 at (108, 131)
    struct Case {
        const char* name;
        int x, y, w, h;
        std::vector<Call> expected;
    };
    const std::vector<Case> cases = {
        {"unchanged", 100, 100, 816, 639, {}},
        {"moved", 300, 200, 816, 639, {{"base", 0, WM_MOVE, 0, makeLParam(308, 231)}}},
        {"resized", 100, 100, 1040, 807, {{"base", 0, WM_SIZE, SIZE_RESTORED, makeLParam(1024, 768)}}},
        {"moved and resized",
         0,
         0,
         656,
         519,
         {{"base", 0, WM_MOVE, 0, makeLParam(8, 31)}, {"base", 0, WM_SIZE, SIZE_RESTORED, makeLParam(640, 480)}}},
        {"negative size shrinks to the frame",
         100,
         100,
         -5,
         -5,
         {{"base", 0, WM_SIZE, SIZE_RESTORED, makeLParam(0, 0)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND hwnd = make(start);
        ASSERT_TRUE(moveWindow(hwnd, c.x, c.y, c.w, c.h, true));
        std::vector<Call> expected = c.expected;
        for (Call& e : expected) e.hwnd = hwnd;
        // Any change is announced first with WM_WINDOWPOSCHANGED.
        if (!expected.empty()) {
            ASSERT_FALSE(calls.empty());
            EXPECT_EQ(calls.front().msg, WM_WINDOWPOSCHANGED);
            calls.erase(calls.begin());
        }
        EXPECT_EQ(calls, expected);
        RECT rect;
        getWindowRect(hwnd, &rect);
        EXPECT_EQ(rect, (RECT{c.x, c.y, c.x + std::max(c.w, 0), c.y + std::max(c.h, 0)}));
    }
    EXPECT_FALSE(moveWindow(999, 0, 0, 10, 10, false));
}

TEST_F(WindowTest, MoveToNegativeCoordinatesDecodesSigned) {
    HWND hwnd = make({0, 0, 816, 639});
    moveWindow(hwnd, -1928, -531, 816, 639, false);
    ASSERT_EQ(messages(), (std::vector<UINT>{WM_WINDOWPOSCHANGED, WM_MOVE}));
    EXPECT_EQ(getXLParam(calls[1].lParam), -1920);
    EXPECT_EQ(getYLParam(calls[1].lParam), -500);
}

// Coordinates come from the command line: sums near the int range saturate.
TEST_F(WindowTest, GeometryNearTheIntLimitsSaturates) {
    const RECT start{100, 100, 916, 739};   // frame 8, 31, 8, 8
    struct Case {
        const char* name;
        int x, y, w, h;
        RECT window, client;
    };
    const Case cases[] = {
        {"bottom edge", 100, INT_MAX, 816, 639, {100, INT_MAX, 916, INT_MAX}, {0, 0, 800, 0}},
        {"right edge", INT_MAX, 100, 816, 639, {INT_MAX, 100, INT_MAX, 739}, {0, 0, 0, 600}},
        {"widest", INT_MIN, INT_MIN, INT_MAX, INT_MAX, {INT_MIN, INT_MIN, -1, -1},
         {0, 0, INT_MAX - 16, INT_MAX - 39}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND hwnd = make(start);
        ASSERT_TRUE(moveWindow(hwnd, c.x, c.y, c.w, c.h, false));
        RECT rect;
        getWindowRect(hwnd, &rect);
        EXPECT_EQ(rect, c.window);
        getClientRect(hwnd, &rect);
        EXPECT_EQ(rect, c.client);
    }

    HWND hwnd = make({INT_MAX - 10, INT_MIN, INT_MAX, 0});
    RECT rect;
    getWindowRect(hwnd, &rect);
    EXPECT_EQ(rect.height(), INT_MAX);
    ASSERT_TRUE(setClientSize(hwnd, INT_MAX, INT_MAX));
    getWindowRect(hwnd, &rect);
    EXPECT_EQ(rect, (RECT{INT_MAX - 10, INT_MIN, INT_MAX, INT_MIN + 31 + 8 + INT_MAX}));
    POINT point{INT_MAX, INT_MIN};
    ASSERT_TRUE(clientToScreen(hwnd, &point));
    EXPECT_EQ(point.x, INT_MAX);
    EXPECT_EQ(point.y, INT_MIN);
}

TEST_F(WindowTest, SetClientSizeKeepsFrameAndCorner) {
    HWND hwnd = make({40, 60, 856, 699});
    ASSERT_TRUE(setClientSize(hwnd, 1280, 720));
    RECT rect;
    getWindowRect(hwnd, &rect);
    EXPECT_EQ(rect, (RECT{40, 60, 40 + 8 + 1280 + 8, 60 + 31 + 720 + 8}));
    getClientRect(hwnd, &rect);
    EXPECT_EQ(rect, (RECT{0, 0, 1280, 720}));
    EXPECT_EQ(messages(), (std::vector<UINT>{WM_WINDOWPOSCHANGED, WM_SIZE}));
    EXPECT_EQ(loWord(static_cast<uintptr_t>(calls[1].lParam)), 1280u);
    EXPECT_EQ(hiWord(static_cast<uintptr_t>(calls[1].lParam)), 720u);
}

TEST_F(WindowTest, SubclassProcedureChainsToThePreviousOne) {
    HWND hwnd = make({0, 0, 100, 100});
    previousProc = setWindowProc(hwnd, subclassProc);
    EXPECT_EQ(previousProc, recordingProc);
    EXPECT_EQ(getWindowProc(hwnd), subclassProc);

    EXPECT_EQ(sendMessage(hwnd, WM_USER + 1, 7, 9), 42) << "the base procedure's answer comes back";
    EXPECT_EQ(calls, (std::vector<Call>{{"sub", hwnd, WM_USER + 1, 7, 9}, {"base", hwnd, WM_USER + 1, 7, 9}}));

    EXPECT_EQ(setWindowProc(hwnd, previousProc), subclassProc);
    calls.clear();
    sendMessage(hwnd, WM_USER + 1, 0, 0);
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].tag, "base");

    EXPECT_EQ(setWindowProc(999, subclassProc), nullptr);
    EXPECT_EQ(getWindowProc(999), nullptr);
    EXPECT_EQ(sendMessage(999, WM_USER + 1, 0, 0), 0);
}

TEST_F(WindowTest, WindowWithoutProcedureCanBeSubclassedAndStillClosesByDefault) {
    HWND hwnd = make({0, 0, 100, 100}, nullptr);
    EXPECT_EQ(getWindowProc(hwnd), defWindowProc);
    previousProc = setWindowProc(hwnd, subclassProc);
    sendMessage(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(isWindow(hwnd));
    EXPECT_EQ(messages(), (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(WindowTest, CloseDestroysByDefaultWhetherSentOrPosted) {
    HWND sent = make({0, 0, 100, 100});
    HWND posted = make({0, 0, 100, 100});
    sendMessage(sent, WM_CLOSE, 0, 0);
    EXPECT_FALSE(isWindow(sent));
    EXPECT_EQ(messages(), (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));

    calls.clear();
    ASSERT_TRUE(postMessage(posted, WM_CLOSE, 0, 0));
    EXPECT_TRUE(isWindow(posted));
    EXPECT_EQ(pumpMessages(), 1);
    EXPECT_FALSE(isWindow(posted));
    EXPECT_EQ(messages(), (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_FALSE(destroyWindow(posted));
}

TEST_F(WindowTest, DestroyingAParentDestroysChildrenFirst) {
    HWND parent = make({0, 0, 500, 500});
    HWND child1 = make({0, 0, 100, 100}, recordingProc, parent);
    HWND child2 = make({0, 0, 100, 100}, recordingProc, parent);
    HWND grandchild = make({0, 0, 10, 10}, recordingProc, child1);
    HWND gone = make({0, 0, 100, 100}, recordingProc, parent);
    ASSERT_EQ(getParent(grandchild), child1);
    destroyWindow(gone);
    calls.clear();

    EXPECT_TRUE(destroyWindow(parent));
    std::vector<std::pair<HWND, UINT>> order;
    for (const Call& c : calls) order.emplace_back(c.hwnd, c.msg);
    EXPECT_EQ(order, (std::vector<std::pair<HWND, UINT>>{{grandchild, WM_DESTROY},
                                                         {grandchild, WM_NCDESTROY},
                                                         {child1, WM_DESTROY},
                                                         {child1, WM_NCDESTROY},
                                                         {child2, WM_DESTROY},
                                                         {child2, WM_NCDESTROY},
                                                         {parent, WM_DESTROY},
                                                         {parent, WM_NCDESTROY}}));
    for (HWND h : {parent, child1, child2, grandchild}) EXPECT_FALSE(isWindow(h));
}

LRESULT destroyAgainOnDestroy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    calls.push_back({"again", hwnd, msg, wParam, lParam});
    if (msg == WM_DESTROY) {
        EXPECT_FALSE(destroyWindow(hwnd));
    }
    return 0;
}

TEST_F(WindowTest, DestroyFromInsideDestroyIsRefused) {
    HWND hwnd = make({0, 0, 100, 100}, destroyAgainOnDestroy);
    EXPECT_TRUE(destroyWindow(hwnd));
    EXPECT_EQ(messages(), (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
    EXPECT_FALSE(isWindow(hwnd));
}

TEST_F(WindowTest, VisibilityFollowsAncestorsAndReportsPreviousState) {
    HWND parent = make({0, 0, 100, 100});
    HWND child = make({0, 0, 10, 10}, recordingProc, parent);
    EXPECT_TRUE(isWindowVisible(child));
    EXPECT_TRUE(showWindow(parent, false));
    EXPECT_FALSE(isWindowVisible(child));
    EXPECT_FALSE(showWindow(parent, false));
    EXPECT_FALSE(showWindow(parent, true));
    EXPECT_TRUE(isWindowVisible(child));
    EXPECT_EQ(calls, (std::vector<Call>{{"base", parent, WM_SHOWWINDOW, 0, 0}, {"base", parent, WM_SHOWWINDOW, 1, 0}}));
}

TEST_F(WindowTest, PostedMessagesFromManyThreadsArriveOnlyAtThePump) {
    HWND hwnd = make({0, 0, 100, 100});
    constexpr int kThreads = 4, kEach = 250;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([hwnd, t] {
            for (int i = 0; i < kEach; ++i) postMessage(hwnd, WM_USER, static_cast<WPARAM>(t), i);
        });
    }
    for (std::thread& th : threads) th.join();
    EXPECT_TRUE(calls.empty());

    EXPECT_EQ(pumpMessages(), kThreads * kEach);
    ASSERT_EQ(calls.size(), static_cast<size_t>(kThreads * kEach));
    std::vector<LPARAM> next(kThreads, 0);
    for (const Call& c : calls) {
        ASSERT_EQ(c.msg, WM_USER);
        ASSERT_LT(c.wParam, static_cast<WPARAM>(kThreads));
        EXPECT_EQ(c.lParam, next[c.wParam]++) << "each thread's messages keep their order";
    }
    EXPECT_EQ(pumpMessages(), 0);
}

LRESULT repostingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    calls.push_back({"repost", hwnd, msg, wParam, lParam});
    if (msg == WM_APP) postMessage(hwnd, WM_APP, wParam + 1, 0);
    return 0;
}

TEST_F(WindowTest, ProcedureThatPostsAgainWaitsForTheNextPump) {
    HWND hwnd = make({0, 0, 100, 100}, repostingProc);
    postMessage(hwnd, WM_APP, 0, 0);
    EXPECT_EQ(pumpMessages(), 1);
    EXPECT_EQ(pumpMessages(), 1);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].wParam, 1u);
}

LRESULT destroyOtherOnUser(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER) destroyWindow(static_cast<HWND>(wParam));
    return recordingProc(hwnd, msg, wParam, lParam);
}

TEST_F(WindowTest, MessagesOfDestroyedWindowsAreDropped) {
    HWND killer = make({0, 0, 100, 100}, destroyOtherOnUser);
    HWND victim = make({0, 0, 100, 100});
    HWND early = make({0, 0, 100, 100});

    EXPECT_FALSE(postMessage(0, WM_USER, 0, 0));
    EXPECT_FALSE(postMessage(999, WM_USER, 0, 0));

    postMessage(early, WM_USER + 2, 0, 0);
    destroyWindow(early);
    postMessage(killer, WM_USER, victim, 0);  // destroys the victim during the pump
    postMessage(victim, WM_USER + 3, 0, 0);
    calls.clear();

    EXPECT_EQ(pumpMessages(), 1);
    for (const Call& c : calls) {
        EXPECT_NE(c.msg, WM_USER + 2u);
        EXPECT_NE(c.msg, WM_USER + 3u);
    }
    EXPECT_FALSE(postMessage(victim, WM_USER, 0, 0));
}

TEST_F(WindowTest, ResetDropsWindowsAndQueue) {
    HWND hwnd = make({0, 0, 100, 100});
    postMessage(hwnd, WM_USER, 0, 0);
    resetWindowModel();
    EXPECT_FALSE(isWindow(hwnd));
    EXPECT_EQ(pumpMessages(), 0);
    EXPECT_TRUE(calls.empty());
}

}  // namespace
