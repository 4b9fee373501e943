#include "portal/PayButton.h"

#include "platform/Mouse.h"
#include "platform/Paint.h"

namespace portal {
namespace {

PayButtonHover s_hover[3];

void redraw(platform::HWND button) { platform::invalidateRect(button, nullptr, false); }

}  // namespace

PayButtonHover& payButtonHoverState(platform::HWND button) {
    for (PayButtonHover& entry : s_hover) {
        if (entry.button == button) return entry;
    }
    for (PayButtonHover& entry : s_hover) {
        if (entry.button == 0) {
            entry.button = button;
            return entry;
        }
    }
    return s_hover[0];
}

void payButtonResetHover() {
    for (PayButtonHover& entry : s_hover) entry = PayButtonHover{};
}

platform::LRESULT payButtonProc(platform::HWND button, platform::UINT msg, platform::WPARAM wParam,
                                platform::LPARAM lParam) {
    switch (msg) {
        case platform::WM_MOUSEMOVE: {
            PayButtonHover& entry = payButtonHoverState(button);
            if (!entry.leaveWatch) {
                platform::TRACKMOUSEEVENT request;
                request.dwFlags = platform::TME_LEAVE;
                request.hwndTrack = button;
                if (platform::trackMouseEvent(&request)) entry.leaveWatch = 1;
            }
            const bool wasHover = entry.hover;
            entry.hover = 1;
            if (!wasHover) redraw(button);
            break;
        }
        case platform::WM_LBUTTONDOWN:
            payButtonHoverState(button).pressed = 1;
            redraw(button);
            break;
        case platform::WM_LBUTTONUP:
        case platform::WM_CAPTURECHANGED: {
            PayButtonHover& entry = payButtonHoverState(button);
            const bool wasPressed = entry.pressed;
            entry.pressed = 0;
            if (wasPressed) redraw(button);
            break;
        }
        case platform::WM_MOUSELEAVE: {
            PayButtonHover& entry = payButtonHoverState(button);
            entry.leaveWatch = 0;
            const bool wasHover = entry.hover;
            entry.hover = 0;
            if (wasHover) redraw(button);
            break;
        }
        default: break;
    }
    return platform::callWindowProc(payButtonSystemProc(), button, msg, wParam, lParam);
}

}  // namespace portal
