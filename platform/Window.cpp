#include "platform/Window.h"

#include <algorithm>
#include <deque>
#include <map>
#include <mutex>
#include <unordered_set>
#include <vector>

#include "platform/SignalDelivery.h"
#include "platform/WindowPos.h"
#include "platform/WindowRecord.h"

namespace platform {
namespace detail {

// Window records: main thread only.
std::map<HWND, WindowRecord>& windows() {
    static std::map<HWND, WindowRecord> table;
    return table;
}

WindowRecord* findWindow(HWND hwnd) {
    auto it = windows().find(hwnd);
    return it == windows().end() ? nullptr : &it->second;
}

RECT clientOnScreen(const WindowRecord& w) {
    RECT r{clampToInt(int64_t{w.rect.left} + w.frameLeft), clampToInt(int64_t{w.rect.top} + w.frameTop),
           clampToInt(int64_t{w.rect.right} - w.frameRight),
           clampToInt(int64_t{w.rect.bottom} - w.frameBottom)};
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

std::vector<HWND> allWindows() {
    std::vector<HWND> out;
    out.reserve(windows().size());
    for (const auto& entry : windows()) out.push_back(entry.first);
    return out;
}

std::vector<HWND>& zOrder() {
    static std::vector<HWND> order;
    return order;
}

}  // namespace detail

namespace {

using detail::findWindow;
using detail::windows;
using detail::clientOnScreen;
using detail::WindowRecord;
using Window = detail::WindowRecord;

Window* find(HWND hwnd) { return findWindow(hwnd); }

HWND s_focus = 0;

struct PostedMessage {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    std::function<void()> task;   // set for a queued task (hwnd 0)
};

// Handles start above the special values SetWindowPos gives to 0 and 1.
HWND nextHandle = 0x10;

// What other threads may see: the live handles (for postMessage) and the queue.
struct Queue {
    std::mutex mutex;
    std::unordered_set<HWND> live;
    std::deque<PostedMessage> messages;
};

Queue& queue() {
    static Queue q;
    return q;
}

}  // namespace

HWND createWindow(const WindowDesc& desc) {
    if (desc.parent != 0 && !find(desc.parent)) return 0;
    if (desc.owner != 0 && !find(desc.owner)) return 0;
    HWND hwnd = nextHandle++;
    Window w;
    w.className = desc.className;
    w.title = desc.title;
    w.rect = desc.windowRect;
    w.rect.right = std::max(w.rect.right, w.rect.left);
    w.rect.bottom = std::max(w.rect.bottom, w.rect.top);
    w.restoreRect = w.rect;
    w.frameLeft = std::max(desc.frameLeft, 0);
    w.frameTop = std::max(desc.frameTop, 0);
    w.frameRight = std::max(desc.frameRight, 0);
    w.frameBottom = std::max(desc.frameBottom, 0);
    w.parent = desc.parent;
    w.owner = desc.parent == 0 ? desc.owner : 0;
    w.id = desc.id;
    WNDPROC classProc = detail::classProcedure(desc.className);
    w.painted = classProc != nullptr;
    w.proc = desc.proc ? desc.proc : (classProc ? classProc : defWindowProc);
    w.visible = desc.visible;
    w.style = desc.style & ~(WS_MINIMIZE | WS_MAXIMIZE);
    w.exStyle = desc.exStyle & ~(WS_EX_TOPMOST | WS_EX_ACCEPTFILES);
    w.topmost = desc.parent == 0 &&
                ((desc.exStyle & WS_EX_TOPMOST) != 0 || (w.owner != 0 && find(w.owner)->topmost));
    w.acceptFiles = (desc.exStyle & WS_EX_ACCEPTFILES) != 0;
    windows().emplace(hwnd, std::move(w));
    if (desc.parent != 0) {
        find(desc.parent)->children.push_back(hwnd);
    } else {
        detail::zOrder().insert(detail::zOrder().begin(), hwnd);
        detail::normaliseZOrder();
    }
    {
        std::lock_guard<std::mutex> lock(queue().mutex);
        queue().live.insert(hwnd);
    }
    if (sendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&desc)) == -1) {
        destroyWindow(hwnd);
        return 0;
    }
    return isWindow(hwnd) ? hwnd : 0;
}

bool destroyWindow(HWND hwnd) {
    Window* w = find(hwnd);
    if (!w || w->destroying) return false;
    w->destroying = true;
    // Owned windows go first, then the children. Either may come and go while
    // their siblings are destroyed: take one at a time.
    for (;;) {
        HWND next = 0;
        for (const auto& entry : windows()) {
            if (entry.second.owner == hwnd && !entry.second.destroying) {
                next = entry.first;
                break;
            }
        }
        if (next == 0) break;
        destroyWindow(next);
    }
    for (;;) {
        w = find(hwnd);
        if (!w) return true;
        auto child = std::find_if(w->children.begin(), w->children.end(), [](HWND c) {
            const Window* cw = find(c);
            return cw && !cw->destroying;
        });
        if (child == w->children.end()) break;
        destroyWindow(*child);
    }
    sendMessage(hwnd, WM_DESTROY, 0, 0);
    sendMessage(hwnd, WM_NCDESTROY, 0, 0);
    w = find(hwnd);
    if (!w) return true;
    if (Window* parent = find(w->parent)) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
    }
    auto& order = detail::zOrder();
    order.erase(std::remove(order.begin(), order.end(), hwnd), order.end());
    detail::nativeForget(hwnd);
    windows().erase(hwnd);
    detail::forgetTimers(hwnd);
    detail::forgetPaintState(hwnd);
    detail::forgetButtonState(hwnd);
    detail::forgetTooltipState(hwnd);
    detail::forgetActivation(hwnd);
    if (s_focus == hwnd) s_focus = 0;
    std::lock_guard<std::mutex> lock(queue().mutex);
    queue().live.erase(hwnd);
    auto& q = queue().messages;
    q.erase(std::remove_if(q.begin(), q.end(),
                           [hwnd](const PostedMessage& m) { return !m.task && m.hwnd == hwnd; }),
            q.end());
    return true;
}

bool isWindow(HWND hwnd) { return find(hwnd) != nullptr; }

bool getWindowRect(HWND hwnd, RECT* rect) {
    const Window* w = find(hwnd);
    if (!w || !rect) return false;
    *rect = w->rect;
    return true;
}

bool getClientRect(HWND hwnd, RECT* rect) {
    const Window* w = find(hwnd);
    if (!w || !rect) return false;
    RECT client = clientOnScreen(*w);
    *rect = RECT{0, 0, client.width(), client.height()};
    return true;
}

bool clientToScreen(HWND hwnd, POINT* point) {
    const Window* w = find(hwnd);
    if (!w || !point) return false;
    RECT client = clientOnScreen(*w);
    point->x = clampToInt(int64_t{point->x} + client.left);
    point->y = clampToInt(int64_t{point->y} + client.top);
    return true;
}

bool screenToClient(HWND hwnd, POINT* point) {
    const Window* w = find(hwnd);
    if (!w || !point) return false;
    RECT client = clientOnScreen(*w);
    point->x = clampToInt(int64_t{point->x} - client.left);
    point->y = clampToInt(int64_t{point->y} - client.top);
    return true;
}

namespace {

bool holds(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// The deepest visible child of `hwnd` holding the point, or hwnd itself.
HWND deepestAt(HWND hwnd, POINT p) {
    const Window* w = find(hwnd);
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
        const Window* child = find(*it);
        if (child && child->visible && !child->destroying && holds(child->rect, p)) return deepestAt(*it, p);
    }
    return hwnd;
}

}  // namespace

HWND windowFromPoint(POINT screen) {
    for (auto it = windows().rbegin(); it != windows().rend(); ++it) {
        const Window& w = it->second;
        if (w.parent == 0 && w.visible && !w.destroying && holds(w.rect, screen)) return deepestAt(it->first, screen);
    }
    return 0;
}

bool moveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint) {
    return detail::placeWindow(hwnd,
                               RECT{x, y, clampToInt(int64_t{x} + std::max(width, 0)),
                                    clampToInt(int64_t{y} + std::max(height, 0))},
                               0, SWP_NOZORDER | SWP_NOACTIVATE, repaint);
}

bool setClientSize(HWND hwnd, int width, int height) {
    const Window* w = find(hwnd);
    if (!w) return false;
    RECT r = w->rect;
    r.right = clampToInt(int64_t{r.left} + w->frameLeft + std::max(width, 0) + w->frameRight);
    r.bottom = clampToInt(int64_t{r.top} + w->frameTop + std::max(height, 0) + w->frameBottom);
    return detail::placeWindow(hwnd, r, 0, SWP_NOZORDER | SWP_NOACTIVATE, true);
}

std::string getWindowText(HWND hwnd) {
    const Window* w = find(hwnd);
    return w ? w->title : std::string();
}

bool setWindowText(HWND hwnd, const std::string& text) {
    Window* w = find(hwnd);
    if (!w) return false;
    w->title = text;
    detail::nativeTitle(hwnd);
    return true;
}

bool showWindow(HWND hwnd, bool show) {
    Window* w = find(hwnd);
    if (!w) return false;
    bool wasVisible = w->visible;
    if (wasVisible != show) {
        w->visible = show;
        if (show) detail::invalidateWhole(hwnd, true);
        detail::nativeShow(hwnd, show);
        sendMessage(hwnd, WM_SHOWWINDOW, show ? 1 : 0, 0);
    }
    return wasVisible;
}

bool isWindowVisible(HWND hwnd) {
    const Window* w = find(hwnd);
    if (!w) return false;
    for (; w; w = find(w->parent)) {
        if (!w->visible) return false;
    }
    return true;
}

HWND getParent(HWND hwnd) {
    const Window* w = find(hwnd);
    return w ? w->parent : 0;
}

HWND getOwner(HWND hwnd) {
    const Window* w = find(hwnd);
    return w ? w->owner : 0;
}

HWND getAncestorRoot(HWND hwnd) {
    const Window* w = find(hwnd);
    if (!w) return 0;
    while (w->parent != 0) {
        hwnd = w->parent;
        w = find(hwnd);
    }
    return hwnd;
}

int getDlgCtrlID(HWND hwnd) {
    const Window* w = find(hwnd);
    return w ? w->id : 0;
}

HWND getDlgItem(HWND parent, int id) {
    const Window* w = find(parent);
    if (!w) return 0;
    for (HWND child : w->children) {
        const Window* c = find(child);
        if (c && c->id == id) return child;
    }
    return 0;
}

WNDPROC setWindowProc(HWND hwnd, WNDPROC proc) {
    Window* w = find(hwnd);
    if (!w) return nullptr;
    WNDPROC previous = w->proc;
    w->proc = proc ? proc : defWindowProc;
    return previous;
}

WNDPROC getWindowProc(HWND hwnd) {
    const Window* w = find(hwnd);
    return w ? w->proc : nullptr;
}

LRESULT callWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return (proc ? proc : defWindowProc)(hwnd, msg, wParam, lParam);
}

LRESULT defWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_MOUSEACTIVATE: return detail::defaultMouseActivate(hwnd, wParam, lParam);
        case WM_SYSCOMMAND: return detail::defaultSysCommand(hwnd, wParam);
        case WM_PAINT: return detail::defaultPaint(hwnd);
        case WM_ERASEBKGND: return detail::defaultEraseBackground(hwnd, wParam);
        default: break;
    }
    if (msg == WM_CLOSE) destroyWindow(hwnd);
    if (msg == WM_SETFONT) {
        if (Window* w = find(hwnd)) w->font = wParam;
    }
    if (msg == WM_GETFONT) {
        const Window* w = find(hwnd);
        return w ? static_cast<LRESULT>(w->font) : 0;
    }
    return 0;
}

std::string getClassName(HWND hwnd) {
    const Window* w = find(hwnd);
    return w ? w->className : std::string();
}

uint32_t getWindowStyle(HWND hwnd) {
    const Window* w = find(hwnd);
    if (!w) return 0;
    return w->style | (w->minimized ? WS_MINIMIZE : 0) | (w->maximized ? WS_MAXIMIZE : 0);
}

uint32_t getWindowExStyle(HWND hwnd) {
    const Window* w = find(hwnd);
    if (!w) return 0;
    return w->exStyle | (w->topmost ? WS_EX_TOPMOST : 0) | (w->acceptFiles ? WS_EX_ACCEPTFILES : 0);
}

HWND setFocus(HWND hwnd) {
    if (hwnd != 0 && !find(hwnd)) return 0;
    const HWND previous = s_focus;
    if (previous == hwnd) return previous;
    s_focus = hwnd;
    if (previous) sendMessage(previous, WM_KILLFOCUS, hwnd, 0);
    if (hwnd && s_focus == hwnd) sendMessage(hwnd, WM_SETFOCUS, previous, 0);
    return previous;
}

HWND getFocus() { return s_focus; }

LRESULT sendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const Window* w = find(hwnd);
    if (!w) return 0;
    WNDPROC proc = w->proc;
    return proc(hwnd, msg, wParam, lParam);
}

bool postMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::lock_guard<std::mutex> lock(queue().mutex);
    if (!queue().live.count(hwnd)) return false;
    queue().messages.push_back(PostedMessage{hwnd, msg, wParam, lParam, {}});
    return true;
}

void postTask(std::function<void()> task) {
    if (!task) return;
    std::lock_guard<std::mutex> lock(queue().mutex);
    queue().messages.push_back(PostedMessage{0, WM_NULL, 0, 0, std::move(task)});
}

int pumpMessages() {
    int delivered = 0;
    if (HWND target = detail::takeTerminationRequest(); target != 0 && isWindow(target)) {
        sendMessage(target, WM_CLOSE, 0, 0);
        ++delivered;
    }
    std::deque<PostedMessage> batch;
    {
        std::lock_guard<std::mutex> lock(queue().mutex);
        batch.swap(queue().messages);
    }
    for (const PostedMessage& m : batch) {
        if (m.task) {
            m.task();
            ++delivered;
            continue;
        }
        if (!isWindow(m.hwnd)) continue;  // destroyed by an earlier message of this batch
        sendMessage(m.hwnd, m.msg, m.wParam, m.lParam);
        ++delivered;
    }
    delivered += detail::deliverDueTimers();
    detail::paintPendingWindows();
    detail::nativePresentPictures();
    return delivered;
}

void resetWindowModel() {
    detail::nativeForgetAll();
    windows().clear();
    detail::zOrder().clear();
    detail::resetTimers();
    detail::resetPaintState();
    detail::resetButtonState();
    detail::resetTooltipState();
    detail::resetClasses();
    detail::resetDrops();
    detail::resetDialogBoxes();
    detail::forgetActivation(0);
    s_focus = 0;
    std::lock_guard<std::mutex> lock(queue().mutex);
    queue().live.clear();
    queue().messages.clear();
}

}  // namespace platform
