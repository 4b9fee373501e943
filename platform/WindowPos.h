#pragma once
// Placement of windows in the window-system model: SetWindowPos with its z-order
// and flags, the z-order of the top-level windows, and the minimised and
// maximised states with the show commands, all with the Win32 numbers.
//
// Contract:
// - Z-order: top-level windows only, top first. The top-most band comes first;
//   an owned window always stands above its owner. Making a window top-most makes
//   its owned windows top-most too; making it not top-most does the same to its
//   owned windows and its owners.
// - A placement change sends WM_WINDOWPOSCHANGED (lParam: WINDOWPOS*) when
//   anything changed (position, size, z-order, visibility), then WM_MOVE and
//   WM_SIZE for what changed of the client area, as moveWindow does.
// - A top-level window moved or shown without SWP_NOACTIVATE becomes the
//   foreground window (platform/Activation.h).
// - Minimising keeps the rectangle, sends WM_SIZE with SIZE_MINIMIZED and size 0;
//   maximising covers the work area of the window's monitor (SIZE_MAXIMIZED);
//   restoring sends WM_SIZE with SIZE_RESTORED and the client size.
// Main thread only.
#include <vector>

#include "platform/Window.h"

namespace platform {

// insertAfter values.
inline const HWND HWND_TOP = 0;
inline const HWND HWND_BOTTOM = 1;
inline const HWND HWND_TOPMOST = static_cast<HWND>(-1);
inline const HWND HWND_NOTOPMOST = static_cast<HWND>(-2);

inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOREDRAW = 0x0008;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_FRAMECHANGED = 0x0020;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;
inline constexpr UINT SWP_NOOWNERZORDER = 0x0200;

struct WINDOWPOS {
    HWND hwnd = 0;
    HWND hwndInsertAfter = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    UINT flags = 0;   // the flags given, with SWP_NOMOVE / SWP_NOSIZE / SWP_NOZORDER for what stayed
};

// wParam of WM_SIZE.
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;

// Show commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;

// False for a bad handle or a bad insertAfter window.
bool setWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
// Runs the show command; returns whether the window was visible before.
bool showWindowCommand(HWND hwnd, int command);
bool isIconic(HWND hwnd);
bool isZoomed(HWND hwnd);
// The top-level windows, top first.
std::vector<HWND> topLevelZOrder();

}  // namespace platform
