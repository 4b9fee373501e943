#include "platform/Activation.h"

#include "platform/WindowPos.h"
#include "platform/WindowRecord.h"

namespace platform {
namespace {

HWND s_foreground = 0;

}  // namespace

namespace detail {

void forgetActivation(HWND hwnd) {
    if (hwnd == 0 || s_foreground == hwnd) s_foreground = 0;
}

LRESULT defaultMouseActivate(HWND hwnd, WPARAM topLevel, LPARAM lParam) {
    const WindowRecord* w = findWindow(hwnd);
    if (!w) return MA_ACTIVATE;
    if (w->parent != 0) {
        LRESULT answer = sendMessage(w->parent, WM_MOUSEACTIVATE, topLevel, lParam);
        if (answer != 0) return answer;
        return MA_ACTIVATE;
    }
    return (w->exStyle & WS_EX_NOACTIVATE) ? MA_NOACTIVATE : MA_ACTIVATE;
}

bool activateOnPress(HWND hwnd) {
    const HWND top = getAncestorRoot(hwnd);
    if (top == 0 || top == s_foreground) return true;
    const LRESULT answer = sendMessage(hwnd, WM_MOUSEACTIVATE, top, makeLParam(HTCLIENT, WM_LBUTTONDOWN));
    if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) setForegroundWindow(top);
    return answer != MA_ACTIVATEANDEAT && answer != MA_NOACTIVATEANDEAT;
}

}  // namespace detail

HWND getForegroundWindow() { return s_foreground; }

bool setForegroundWindow(HWND hwnd) {
    HWND top = getAncestorRoot(hwnd);
    if (top == 0) return false;
    auto& order = detail::zOrder();
    const std::vector<HWND> before = order;
    std::erase(order, top);
    order.insert(order.begin(), top);
    detail::normaliseZOrder();
    if (order != before) {
        // The z-order change is a placement change of its own.
        WINDOWPOS pos;
        pos.hwnd = top;
        pos.flags = SWP_NOMOVE | SWP_NOSIZE;
        sendMessage(top, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    }
    const HWND previous = s_foreground;
    if (previous == top) return true;
    s_foreground = top;
    if (previous != 0) sendMessage(previous, WM_ACTIVATE, WA_INACTIVE, static_cast<LPARAM>(top));
    if (s_foreground == top) sendMessage(top, WM_ACTIVATE, WA_ACTIVE, static_cast<LPARAM>(previous));
    return true;
}

void mouseButtonDown(HWND hwnd, POINT client) {
    if (getAncestorRoot(hwnd) == 0 || !detail::activateOnPress(hwnd)) return;
    sendMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, makeLParam(client.x, client.y));
}

void mouseButtonUp(HWND hwnd, POINT client) {
    sendMessage(hwnd, WM_LBUTTONUP, 0, makeLParam(client.x, client.y));
}

void clickWindow(HWND hwnd, POINT client) {
    mouseButtonDown(hwnd, client);
    mouseButtonUp(hwnd, client);
}

}  // namespace platform
