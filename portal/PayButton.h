#pragma once
// The pay window's header buttons: their hover and press state, kept in a small
// process-wide table, and the subclass procedure that keeps it current.
//
// Contract:
// - The table has three entries. A button gets the entry holding its handle,
//   else claims the first free entry; when all three are taken the first entry is
//   shared. payButtonResetHover empties it (when the window goes).
// - payButtonProc, before handing every message on to the system button
//   procedure:
//     WM_MOUSEMOVE       asks for a leave notification unless one is pending
//                        (pending once the request succeeds); sets hover;
//                        redraws when hover was not set
//     WM_LBUTTONDOWN     sets pressed; redraws
//     WM_LBUTTONUP,
//     WM_CAPTURECHANGED  clears pressed; redraws when it was set
//     WM_MOUSELEAVE      clears the pending leave and hover; redraws when hover
//                        was set
//   A redraw invalidates the button without erasing.
#include <cstdint>

#include "platform/Window.h"

namespace portal {

struct PayButtonHover {
    platform::HWND button = 0;
    uint8_t hover = 0;
    uint8_t pressed = 0;
    uint8_t leaveWatch = 0;
};

PayButtonHover& payButtonHoverState(platform::HWND button);
void payButtonResetHover();
platform::LRESULT payButtonProc(platform::HWND button, platform::UINT msg, platform::WPARAM wParam,
                                platform::LPARAM lParam);

// The system button procedure the buttons were subclassed from (kept by the
// pay window); nullptr when there is no window.
platform::WNDPROC payButtonSystemProc();

}  // namespace portal
