#include "platform/Mouse.h"

#include "platform/WindowRecord.h"

namespace platform {
namespace {

struct MouseState {
    POINT cursor{-1, -1};
    HWND capture = 0;
    HWND tracked = 0;
    bool leftDown = false;
};

MouseState& mouse() {
    static MouseState m;
    return m;
}

// Window handles are never reused, so a handle whose window is gone simply
// answers false here.
HWND liveOrZero(HWND hwnd) { return hwnd != 0 && isWindow(hwnd) ? hwnd : 0; }

void checkLeave() {
    MouseState& m = mouse();
    HWND tracked = liveOrZero(m.tracked);
    if (!tracked) {
        m.tracked = 0;
        return;
    }
    if (windowFromPoint(m.cursor) == tracked) return;
    m.tracked = 0;
    postMessage(tracked, WM_MOUSELEAVE, 0, 0);
}

void sendMouse(UINT msg) {
    MouseState& m = mouse();
    HWND target = getCapture();
    if (!target) target = windowFromPoint(m.cursor);
    if (!target) return;
    POINT p = m.cursor;
    screenToClient(target, &p);
    sendMessage(target, msg, m.leftDown ? MK_LBUTTON : 0, makeLParam(p.x, p.y));
}

}  // namespace

bool trackMouseEvent(const TRACKMOUSEEVENT* request) {
    if (!request || !isWindow(request->hwndTrack)) return false;
    MouseState& m = mouse();
    if (request->dwFlags & TME_CANCEL) {
        if ((request->dwFlags & TME_LEAVE) && m.tracked == request->hwndTrack) m.tracked = 0;
        return true;
    }
    if (request->dwFlags & TME_LEAVE) {
        m.tracked = request->hwndTrack;
        checkLeave();
    }
    return true;
}

HWND setCapture(HWND hwnd) {
    if (!isWindow(hwnd)) return 0;
    MouseState& m = mouse();
    HWND previous = liveOrZero(m.capture);
    m.capture = hwnd;
    if (previous && previous != hwnd) sendMessage(previous, WM_CAPTURECHANGED, 0, static_cast<LPARAM>(hwnd));
    return previous;
}

bool releaseCapture() {
    MouseState& m = mouse();
    HWND previous = liveOrZero(m.capture);
    m.capture = 0;
    if (previous) sendMessage(previous, WM_CAPTURECHANGED, 0, 0);
    return true;
}

HWND getCapture() {
    MouseState& m = mouse();
    m.capture = liveOrZero(m.capture);
    return m.capture;
}

void moveCursorTo(POINT screen) {
    // The window left behind hears of it before the one entered gets the move.
    mouse().cursor = screen;
    checkLeave();
    sendMouse(WM_MOUSEMOVE);
}

POINT getCursorPos() { return mouse().cursor; }

void pressLeftButton() {
    mouse().leftDown = true;
    // A press outside the captured window may change the foreground window first.
    HWND target = getCapture() ? 0 : windowFromPoint(mouse().cursor);
    if (target && !detail::activateOnPress(target)) return;
    sendMouse(WM_LBUTTONDOWN);
}

void releaseLeftButton() {
    mouse().leftDown = false;
    sendMouse(WM_LBUTTONUP);
}

bool dragWindowTo(HWND hwnd, const RECT& rect) {
    if (!isWindow(hwnd)) return false;
    sendMessage(hwnd, WM_ENTERSIZEMOVE, 0, 0);
    moveWindow(hwnd, rect.left, rect.top, rect.width(), rect.height(), true);
    sendMessage(hwnd, WM_EXITSIZEMOVE, 0, 0);
    return true;
}

void resetMouseModel() { mouse() = MouseState{}; }

}  // namespace platform
