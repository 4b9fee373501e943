#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/DragDrop.h"

using namespace platform;

namespace {

std::vector<std::string> received;

LRESULT proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DROPFILES) {
        const HDROP drop = wParam;
        const UINT count = dragQueryFile(drop, 0xFFFFFFFFu, nullptr);
        for (UINT i = 0; i < count; ++i) {
            std::string path;
            const UINT length = dragQueryFile(drop, i, &path);
            EXPECT_EQ(length, path.size());
            received.push_back(path);
        }
        EXPECT_EQ(dragQueryFile(drop, count, nullptr), 0u);
        dragFinish(drop);
        return 0;
    }
    return defWindowProc(hwnd, msg, wParam, lParam);
}

TEST(DragDrop, OnlyAcceptingWindowsGetDropsWhichAreReleasedOnce) {
    resetWindowModel();
    received.clear();
    WindowDesc desc;
    desc.proc = proc;
    HWND top = createWindow(desc);
    desc.parent = top;
    HWND child = createWindow(desc);

    EXPECT_FALSE(dropFiles(child, {"/tmp/a.lua"})) << "nobody accepts yet";
    dragAcceptFiles(top, true);
    EXPECT_TRUE(getWindowExStyle(top) & WS_EX_ACCEPTFILES);
    ASSERT_TRUE(dropFiles(child, {"/tmp/Mộc.lua", "/tmp/b.lua"}));   // reaches the accepting parent
    EXPECT_EQ(liveDropCount(), 1);
    EXPECT_TRUE(received.empty()) << "posted, not sent";
    pumpMessages();
    EXPECT_EQ(received, (std::vector<std::string>{"/tmp/Mộc.lua", "/tmp/b.lua"}));
    EXPECT_EQ(liveDropCount(), 0);
    EXPECT_EQ(badDropUseCount(), 0);

    // A finished drop is gone: using it again is counted.
    ASSERT_TRUE(dropFiles(top, {}));
    pumpMessages();
    dragFinish(0x1000);
    EXPECT_EQ(badDropUseCount(), 1);

    dragAcceptFiles(top, false);
    EXPECT_FALSE(dropFiles(top, {"/tmp/c"}));
    resetWindowModel();
}

}  // namespace
