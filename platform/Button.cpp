#include "platform/Button.h"

#include <set>

#include "platform/Mouse.h"
#include "platform/WindowRecord.h"

namespace platform {
namespace {

std::set<HWND>& pushedButtons() {
    static std::set<HWND> pushed;
    return pushed;
}

void setPushed(HWND hwnd, bool pushed) {
    const bool was = pushedButtons().count(hwnd) != 0;
    if (was == pushed) return;
    if (pushed) {
        pushedButtons().insert(hwnd);
    } else {
        pushedButtons().erase(hwnd);
    }
    invalidateRect(hwnd, nullptr, false);
}

void paintButton(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = beginPaint(hwnd, &ps);
    if (!hdc) return;
    RECT client;
    getClientRect(hwnd, &client);
    if ((getWindowStyle(hwnd) & BS_TYPEMASK) == BS_OWNERDRAW) {
        DRAWITEMSTRUCT item;
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(getDlgCtrlID(hwnd));
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = pushedButtons().count(hwnd) ? ODS_SELECTED : 0;
        item.hwndItem = hwnd;
        item.hDC = hdc;
        item.rcItem = client;
        sendMessage(getParent(hwnd), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    } else {
        const double shade = pushedButtons().count(hwnd) ? 0.8 : 0.88;
        cairo_set_source_rgb(hdc, shade, shade, shade);
        cairo_paint(hdc);
    }
    endPaint(hwnd, &ps);
}

}  // namespace

namespace detail {

void forgetButtonState(HWND hwnd) { pushedButtons().erase(hwnd); }
void resetButtonState() { pushedButtons().clear(); }

LRESULT buttonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_LBUTTONDOWN:
            setPushed(hwnd, true);
            setCapture(hwnd);
            return 0;
        case WM_LBUTTONUP: {
            if (!pushedButtons().count(hwnd)) return 0;
            setPushed(hwnd, false);
            if (getCapture() == hwnd) releaseCapture();
            RECT client;
            getClientRect(hwnd, &client);
            const int x = getXLParam(lParam), y = getYLParam(lParam);
            if (x >= 0 && y >= 0 && x < client.right && y < client.bottom) {
                sendMessage(getParent(hwnd), WM_COMMAND,
                            makeWParam(static_cast<unsigned>(getDlgCtrlID(hwnd)), BN_CLICKED),
                            static_cast<LPARAM>(hwnd));
            }
            return 0;
        }
        case WM_CAPTURECHANGED:   // the press is cancelled: no click
            setPushed(hwnd, false);
            return 0;
        case BM_CLICK:
            sendMessage(hwnd, WM_LBUTTONDOWN, 0, 0);
            sendMessage(hwnd, WM_LBUTTONUP, 0, 0);
            return 0;
        case BM_GETSTATE:
            return pushedButtons().count(hwnd) ? BST_PUSHED : 0;
        case WM_ERASEBKGND:
            return 1;   // the paint covers the whole face
        case WM_PAINT:
            paintButton(hwnd);
            return 0;
        default:
            return defWindowProc(hwnd, msg, wParam, lParam);
    }
}

LRESULT staticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return defWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace detail
}  // namespace platform
