#include "platform/WindowPos.h"

#include <algorithm>

#include "platform/Activation.h"
#include "platform/Menu.h"
#include "platform/Monitor.h"
#include "platform/WindowRecord.h"

namespace platform {
namespace detail {
namespace {

bool sameSize(const RECT& a, const RECT& b) { return a.width() == b.width() && a.height() == b.height(); }

// Sets the top-most flag of the window and of the windows it owns (and, when
// clearing, of its owners).
void setTopmost(HWND hwnd, bool topmost) {
    WindowRecord* w = findWindow(hwnd);
    if (!w) return;
    w->topmost = topmost;
    for (HWND other : zOrder()) {
        WindowRecord* o = findWindow(other);
        if (!o) continue;
        for (HWND up = o->owner; up != 0;) {
            if (up == hwnd) {
                o->topmost = topmost;
                break;
            }
            const WindowRecord* u = findWindow(up);
            up = u ? u->owner : 0;
        }
    }
    if (!topmost) {
        for (HWND up = w->owner; up != 0;) {
            WindowRecord* u = findWindow(up);
            if (!u) break;
            u->topmost = false;
            up = u->owner;
        }
    }
}

// Moves `hwnd` in the z-order: to the top of its band, to the bottom, or just
// below `after`.
void moveInZOrder(HWND hwnd, HWND insertAfter) {
    auto& order = zOrder();
    auto it = std::find(order.begin(), order.end(), hwnd);
    if (it == order.end()) return;
    order.erase(it);
    if (insertAfter == HWND_BOTTOM) {
        order.push_back(hwnd);
    } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        order.insert(order.begin(), hwnd);
    } else {
        auto pos = std::find(order.begin(), order.end(), insertAfter);
        order.insert(pos == order.end() ? order.begin() : pos + 1, hwnd);
    }
}

}  // namespace

void normaliseZOrder() {
    auto& order = zOrder();
    std::stable_partition(order.begin(), order.end(), [](HWND h) {
        const WindowRecord* w = findWindow(h);
        return w && w->topmost;
    });
    // Lift every owned window that stands below its owner to just above it.
    for (bool moved = true; moved;) {
        moved = false;
        for (size_t i = 0; i < order.size() && !moved; ++i) {
            const WindowRecord* w = findWindow(order[i]);
            if (!w || w->owner == 0) continue;
            auto owner = std::find(order.begin(), order.end(), w->owner);
            if (owner == order.end() || static_cast<size_t>(owner - order.begin()) > i) continue;
            const WindowRecord* o = findWindow(w->owner);
            if (o && o->topmost && !w->topmost) continue;   // different bands
            HWND h = order[i];
            order.erase(order.begin() + static_cast<std::ptrdiff_t>(i));
            owner = std::find(order.begin(), order.end(), w->owner);
            order.insert(owner, h);
            moved = true;
        }
    }
}

bool placeWindow(HWND hwnd, RECT rect, HWND insertAfter, UINT flags, bool redraw) {
    WindowRecord* w = findWindow(hwnd);
    if (!w) return false;
    rect.right = std::max(rect.right, rect.left);
    rect.bottom = std::max(rect.bottom, rect.top);
    const RECT oldRect = w->rect;
    const RECT before = clientOnScreen(*w);
    w->rect = rect;
    const RECT after = clientOnScreen(*w);
    nativePlace(hwnd);
    const bool moved = rect.left != oldRect.left || rect.top != oldRect.top;
    const bool sized = !sameSize(rect, oldRect);
    const WPARAM sizeKind = w->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
    if (sized && redraw) invalidateWhole(hwnd, true);
    const bool zOrShow = !(flags & SWP_NOZORDER) || (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW));
    if (moved || sized || zOrShow) {
        WINDOWPOS pos;
        pos.hwnd = hwnd;
        pos.hwndInsertAfter = insertAfter;
        pos.x = rect.left;
        pos.y = rect.top;
        pos.cx = rect.width();
        pos.cy = rect.height();
        pos.flags = flags | (moved ? 0 : SWP_NOMOVE) | (sized ? 0 : SWP_NOSIZE);
        sendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    }
    if (after.left != before.left || after.top != before.top) {
        sendMessage(hwnd, WM_MOVE, 0, makeLParam(after.left, after.top));
    }
    if (after.width() != before.width() || after.height() != before.height()) {
        sendMessage(hwnd, WM_SIZE, sizeKind, makeLParam(after.width(), after.height()));
    }
    return true;
}

LRESULT defaultSysCommand(HWND hwnd, WPARAM command) {
    switch (command & 0xFFF0) {
        case SC_MINIMIZE: showWindowCommand(hwnd, SW_MINIMIZE); break;
        case SC_MAXIMIZE: showWindowCommand(hwnd, SW_MAXIMIZE); break;
        case SC_RESTORE: showWindowCommand(hwnd, SW_RESTORE); break;
        case SC_CLOSE: sendMessage(hwnd, WM_CLOSE, 0, 0); break;
        default: break;
    }
    return 0;
}

}  // namespace detail

using detail::findWindow;
using detail::WindowRecord;

namespace {

// Minimising and restoring from it change the placement without moving the
// rectangle the model keeps.
void announceStateChange(HWND hwnd) {
    WINDOWPOS pos;
    pos.hwnd = hwnd;
    pos.flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED;
    sendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
}

}  // namespace

bool setWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    WindowRecord* w = findWindow(hwnd);
    if (!w) return false;
    const bool special = insertAfter == HWND_TOP || insertAfter == HWND_BOTTOM || insertAfter == HWND_TOPMOST ||
                         insertAfter == HWND_NOTOPMOST;
    if (!(flags & SWP_NOZORDER) && !special && !findWindow(insertAfter)) return false;

    UINT changed = 0;
    if (!(flags & SWP_NOZORDER) && w->parent == 0) {
        const std::vector<HWND> orderBefore = detail::zOrder();
        const bool topmostBefore = w->topmost;
        if (insertAfter == HWND_TOPMOST) {
            detail::setTopmost(hwnd, true);
        } else if (insertAfter == HWND_NOTOPMOST) {
            detail::setTopmost(hwnd, false);
        } else if (special) {
            // HWND_TOP / HWND_BOTTOM keep the band.
        } else if (const WindowRecord* after = findWindow(insertAfter)) {
            if (!after->topmost && w->topmost) detail::setTopmost(hwnd, false);
        }
        if (insertAfter != HWND_NOTOPMOST || topmostBefore) detail::moveInZOrder(hwnd, insertAfter);
        detail::normaliseZOrder();
        w = findWindow(hwnd);
        if (detail::zOrder() == orderBefore && w->topmost == topmostBefore) {
            changed |= SWP_NOZORDER;   // nothing moved
        }
    } else {
        changed |= SWP_NOZORDER;
    }
    bool zChanged = !(changed & SWP_NOZORDER);

    RECT rect = w->rect;
    if (!(flags & SWP_NOMOVE)) {
        rect = RECT{x, y, clampToInt(int64_t{x} + rect.width()), clampToInt(int64_t{y} + rect.height())};
    }
    if (!(flags & SWP_NOSIZE)) {
        rect.right = clampToInt(int64_t{rect.left} + std::max(cx, 0));
        rect.bottom = clampToInt(int64_t{rect.top} + std::max(cy, 0));
    }
    UINT visibility = 0;
    if ((flags & SWP_SHOWWINDOW) && !w->visible) {
        w->visible = true;
        detail::invalidateWhole(hwnd, true);
        detail::nativeShow(hwnd, true);
        visibility = SWP_SHOWWINDOW;
    } else if ((flags & SWP_HIDEWINDOW) && w->visible) {
        w->visible = false;
        detail::nativeShow(hwnd, false);
        visibility = SWP_HIDEWINDOW;
    }
    UINT report = (flags & ~(SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW | SWP_HIDEWINDOW)) |
                  visibility | (zChanged ? 0 : SWP_NOZORDER);
    detail::placeWindow(hwnd, rect, insertAfter, report, !(flags & SWP_NOREDRAW));
    const WindowRecord* now = findWindow(hwnd);
    if (now && now->parent == 0 && !(flags & SWP_NOACTIVATE) && now->visible) setForegroundWindow(hwnd);
    return true;
}

bool showWindowCommand(HWND hwnd, int command) {
    WindowRecord* w = findWindow(hwnd);
    if (!w) return false;
    const bool wasVisible = w->visible;
    switch (command) {
        case SW_HIDE: showWindow(hwnd, false); break;
        case SW_SHOWNOACTIVATE:
        case SW_SHOWNA: showWindow(hwnd, true); break;
        case SW_SHOW:
        case SW_SHOWNORMAL:
            if (command == SW_SHOWNORMAL && (w->minimized || w->maximized)) {
                showWindowCommand(hwnd, SW_RESTORE);
            }
            showWindow(hwnd, true);
            if (getParent(hwnd) == 0) setForegroundWindow(hwnd);
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE:
            showWindow(hwnd, true);
            w = findWindow(hwnd);
            if (w && !w->minimized) {
                w->minimized = true;
                detail::nativeIconify(hwnd, true);
                if (getForegroundWindow() == hwnd) detail::forgetActivation(hwnd);
                announceStateChange(hwnd);
                sendMessage(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
            }
            break;
        case SW_MAXIMIZE: {
            showWindow(hwnd, true);
            w = findWindow(hwnd);
            if (!w || w->maximized) break;
            if (!w->minimized) w->restoreRect = w->rect;
            w->minimized = false;
            w->maximized = true;
            const MonitorInfo monitor = monitorFromWindow(hwnd);
            detail::placeWindow(hwnd, monitor.workArea, 0, SWP_NOZORDER, true);
            break;
        }
        case SW_RESTORE: {
            showWindow(hwnd, true);
            w = findWindow(hwnd);
            if (!w) break;
            if (w->minimized) {
                w->minimized = false;
                detail::nativeIconify(hwnd, false);
                announceStateChange(hwnd);
                RECT client;
                getClientRect(hwnd, &client);
                sendMessage(hwnd, WM_SIZE, SIZE_RESTORED, makeLParam(client.width(), client.height()));
            } else if (w->maximized) {
                w->maximized = false;
                detail::placeWindow(hwnd, w->restoreRect, 0, SWP_NOZORDER, true);
            }
            break;
        }
        default: showWindow(hwnd, true); break;
    }
    return wasVisible;
}

bool isIconic(HWND hwnd) {
    const WindowRecord* w = findWindow(hwnd);
    return w && w->minimized;
}

bool isZoomed(HWND hwnd) {
    const WindowRecord* w = findWindow(hwnd);
    return w && w->maximized;
}

std::vector<HWND> topLevelZOrder() { return detail::zOrder(); }

}  // namespace platform
