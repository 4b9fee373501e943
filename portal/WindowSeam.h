#pragma once
// Window services the pay window needs from the window model.
#include "platform/Monitor.h"
#include "platform/Window.h"

namespace portal {

inline constexpr const char* kPayWindowClass = "VEXOPayWebViewWindow";

inline bool isMinimised(platform::HWND) { return false; }
inline void bringToForeground(platform::HWND) {}
inline void invalidateWithoutErase(platform::HWND, const platform::RECT*) {}
inline void invalidateWithoutErase(platform::HWND, const platform::RECT&) {}
inline bool registerPayWindowClass(platform::WNDPROC) { return true; }
inline void setWindowOwner(platform::WindowDesc&, platform::HWND) {}
inline void setControlId(platform::WindowDesc&, int) {}
inline platform::RECT defaultWindowRect(int width, int height) {
    platform::RECT work = platform::primaryMonitor().workArea;
    return platform::RECT{work.left, work.top, work.left + width, work.top + height};
}
inline bool handlePaintMessage(platform::HWND, platform::UINT, platform::WPARAM, platform::LPARAM,
                               platform::LRESULT*) {
    return false;
}

}  // namespace portal
