// The real-window backend where the suites run (VEXO_HEADLESS=1): every window
// stays a model window and every call is a harmless no-op; and the key numbering
// between virtual-key codes and the display layer.
#include <gtest/gtest.h>

#include "platform/NativeWindow.h"
#include "platform/Window.h"

namespace {

TEST(NativeWindow, HeadlessEveryWindowStaysAModelWindow) {
    ASSERT_FALSE(platform::nativeDisplayAvailable());
    platform::WindowDesc desc;
    desc.title = "game";
    desc.windowRect = platform::RECT{0, 0, 300, 200};
    const platform::HWND hwnd = platform::createWindow(desc);
    ASSERT_NE(hwnd, 0u);
    EXPECT_FALSE(platform::attachNativeWindow(hwnd, platform::NativeWindowAttrs{}));
    EXPECT_FALSE(platform::hasNativeWindow(hwnd));
    EXPECT_FALSE(platform::makeNativeContextCurrent(hwnd));
    int w = -1, h = -1;
    EXPECT_FALSE(platform::getNativeFramebufferSize(hwnd, &w, &h));
    platform::swapNativeBuffers(hwnd);
    platform::pollNativeEvents();
    EXPECT_TRUE(platform::moveWindow(hwnd, 10, 10, 100, 100, true));
    EXPECT_TRUE(platform::destroyWindow(hwnd));
    platform::resetWindowModel();
}

TEST(NativeWindow, KeysMapBothWays) {
    struct Case {
        int virtualKey, nativeKey;
    };
    const Case cases[] = {
        {'A', 65}, {'Z', 90}, {'0', 48}, {'9', 57}, {0x1B, 256}, {0x0D, 257}, {0x09, 258}, {0x08, 259},
        {0x2E, 261}, {0x25, 263}, {0x26, 265}, {0x20, 32}, {0x10, 340}, {0x70, 290}, {0x7B, 301},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.virtualKey);
        EXPECT_EQ(platform::virtualKeyFromNativeKey(c.nativeKey), c.virtualKey);
        EXPECT_EQ(platform::nativeKeyFromVirtualKey(c.virtualKey), c.nativeKey);
    }
    EXPECT_EQ(platform::virtualKeyFromNativeKey(-1), -1);   // a key the display cannot name
    EXPECT_EQ(platform::virtualKeyFromNativeKey(96), -1);   // one the mapping does not know
    EXPECT_EQ(platform::nativeKeyFromVirtualKey(0xFF), 0);
}

}  // namespace
