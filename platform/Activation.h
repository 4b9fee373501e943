#pragma once
// The foreground window of the window-system model and the mouse clicks that may
// change it, with the Win32 numbers.
//
// Contract:
// - One foreground window or none, always a top-level window. Changing it sends
//   WM_ACTIVATE (WA_INACTIVE, lParam the new one) to the old and (WA_ACTIVE,
//   lParam the old one) to the new one, which goes to the top of its band.
// - A button press on a window that is not part of the foreground window first
//   sends it WM_MOUSEACTIVATE (wParam its top-level window, lParam HTCLIENT and
//   the button message). MA_ACTIVATE / MA_ACTIVATEANDEAT make the top-level window
//   the foreground window, MA_NOACTIVATE / MA_NOACTIVATEANDEAT leave it; the two
//   "eat" answers swallow the press. defWindowProc asks a child's parent first.
// Main thread only.
#include "platform/Mouse.h"
#include "platform/Window.h"

namespace platform {

inline constexpr LRESULT MA_ACTIVATE = 1;
inline constexpr LRESULT MA_ACTIVATEANDEAT = 2;
inline constexpr LRESULT MA_NOACTIVATE = 3;
inline constexpr LRESULT MA_NOACTIVATEANDEAT = 4;
inline constexpr int HTCLIENT = 1;
inline constexpr WPARAM WA_INACTIVE = 0;
inline constexpr WPARAM WA_ACTIVE = 1;

HWND getForegroundWindow();
// Makes the top-level ancestor of `hwnd` the foreground window; false for a bad handle.
bool setForegroundWindow(HWND hwnd);

// The left button pressed and released at a point of a given window's client
// area, whatever lies above it (platform/Mouse.h moves a cursor instead). Sends
// WM_LBUTTONDOWN / WM_LBUTTONUP (client coordinates in lParam) after the
// activation step above.
void mouseButtonDown(HWND hwnd, POINT client);
void mouseButtonUp(HWND hwnd, POINT client);
// Down then up at the same point.
void clickWindow(HWND hwnd, POINT client);

}  // namespace platform
