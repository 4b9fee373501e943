#pragma once
// The mouse in the window model: capture, leave notifications and a simulated
// cursor that tests move and click with. Main thread only.
//
// Contract:
// - Mouse input goes to the window holding the capture, else to the window under
//   the cursor (windowFromPoint); it is sent at once, with the position in that
//   window's client coordinates (makeLParam) and MK_LBUTTON in wParam while the
//   left button is held.
// - setCapture / releaseCapture: the window losing the capture gets
//   WM_CAPTURECHANGED (lParam: the window taking it, 0 on release). A destroyed
//   window no longer holds it.
// - trackMouseEvent with TME_LEAVE asks for one WM_MOUSELEAVE: posted when the
//   cursor is next found outside the window, or at once when it already is; the
//   request then ends. TME_CANCEL withdraws it. One window is tracked at a time;
//   a new request replaces the old one. False for a window that does not exist.
#include <cstdint>

#include "platform/Window.h"

namespace platform {

inline constexpr UINT WM_CAPTURECHANGED = 0x0215;
inline constexpr UINT WM_MOUSELEAVE = 0x02A3;
inline constexpr WPARAM MK_LBUTTON = 0x0001;

inline constexpr uint32_t TME_LEAVE = 0x00000002;
inline constexpr uint32_t TME_CANCEL = 0x80000000;

struct TRACKMOUSEEVENT {
    uint32_t dwFlags = 0;
    HWND hwndTrack = 0;
    uint32_t dwHoverTime = 0;
};

bool trackMouseEvent(const TRACKMOUSEEVENT* request);

HWND setCapture(HWND hwnd);   // returns the previous holder
bool releaseCapture();
HWND getCapture();

// Simulated input (screen coordinates).
void moveCursorTo(POINT screen);
POINT getCursorPos();
void pressLeftButton();
void releaseLeftButton();

// The user moving or sizing a window by its frame: WM_ENTERSIZEMOVE, the window
// placed at `rect` (screen), then WM_EXITSIZEMOVE. False for a bad handle.
bool dragWindowTo(HWND hwnd, const RECT& rect);

// Tests: cursor at (-1, -1) outside every window, no capture, nothing tracked,
// button up.
void resetMouseModel();

}  // namespace platform
