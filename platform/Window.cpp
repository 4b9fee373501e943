#include "platform/Window.h"

#include <algorithm>
#include <deque>
#include <map>
#include <mutex>
#include <unordered_set>
#include <vector>

#include "platform/SignalDelivery.h"

namespace platform {
namespace {

struct Window {
    std::string className;
    std::string title;
    RECT rect;
    int frameLeft = 0, frameTop = 0, frameRight = 0, frameBottom = 0;
    HWND parent = 0;
    std::vector<HWND> children;
    WNDPROC proc = defWindowProc;
    bool visible = true;
    bool destroying = false;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    WPARAM font = 0;
};

HWND s_focus = 0;

struct PostedMessage {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    std::function<void()> task;   // set for a queued task (hwnd 0)
};

// Window records: main thread only. Procedures may create or destroy windows while
// they run, so no reference into the map is held across a call into a procedure.
std::map<HWND, Window>& windows() {
    static std::map<HWND, Window> table;
    return table;
}

HWND nextHandle = 1;

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

Window* find(HWND hwnd) {
    auto it = windows().find(hwnd);
    return it == windows().end() ? nullptr : &it->second;
}

RECT clientOnScreen(const Window& w) {
    RECT r{clampToInt(int64_t{w.rect.left} + w.frameLeft), clampToInt(int64_t{w.rect.top} + w.frameTop),
           clampToInt(int64_t{w.rect.right} - w.frameRight),
           clampToInt(int64_t{w.rect.bottom} - w.frameBottom)};
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

// Moves the whole window to `rect` and reports what changed for the client area.
bool placeWindow(HWND hwnd, RECT rect) {
    Window* w = find(hwnd);
    if (!w) return false;
    rect.right = std::max(rect.right, rect.left);
    rect.bottom = std::max(rect.bottom, rect.top);
    RECT before = clientOnScreen(*w);
    w->rect = rect;
    RECT after = clientOnScreen(*w);
    if (after.left != before.left || after.top != before.top) {
        sendMessage(hwnd, WM_MOVE, 0, makeLParam(after.left, after.top));
    }
    if (after.width() != before.width() || after.height() != before.height()) {
        sendMessage(hwnd, WM_SIZE, SIZE_RESTORED, makeLParam(after.width(), after.height()));
    }
    return true;
}

}  // namespace

HWND createWindow(const WindowDesc& desc) {
    if (desc.parent != 0 && !find(desc.parent)) return 0;
    HWND hwnd = nextHandle++;
    Window w;
    w.className = desc.className;
    w.title = desc.title;
    w.rect = desc.windowRect;
    w.rect.right = std::max(w.rect.right, w.rect.left);
    w.rect.bottom = std::max(w.rect.bottom, w.rect.top);
    w.frameLeft = std::max(desc.frameLeft, 0);
    w.frameTop = std::max(desc.frameTop, 0);
    w.frameRight = std::max(desc.frameRight, 0);
    w.frameBottom = std::max(desc.frameBottom, 0);
    w.parent = desc.parent;
    w.proc = desc.proc ? desc.proc : defWindowProc;
    w.visible = desc.visible;
    w.style = desc.style;
    w.exStyle = desc.exStyle;
    windows().emplace(hwnd, std::move(w));
    if (desc.parent != 0) find(desc.parent)->children.push_back(hwnd);
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
    // Children may come and go while their siblings are destroyed: take one at a time.
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
    windows().erase(hwnd);
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

bool moveWindow(HWND hwnd, int x, int y, int width, int height, bool /*repaint*/) {
    return placeWindow(hwnd, RECT{x, y, clampToInt(int64_t{x} + std::max(width, 0)),
                                  clampToInt(int64_t{y} + std::max(height, 0))});
}

bool setClientSize(HWND hwnd, int width, int height) {
    const Window* w = find(hwnd);
    if (!w) return false;
    RECT r = w->rect;
    r.right = clampToInt(int64_t{r.left} + w->frameLeft + std::max(width, 0) + w->frameRight);
    r.bottom = clampToInt(int64_t{r.top} + w->frameTop + std::max(height, 0) + w->frameBottom);
    return placeWindow(hwnd, r);
}

std::string getWindowText(HWND hwnd) {
    const Window* w = find(hwnd);
    return w ? w->title : std::string();
}

bool setWindowText(HWND hwnd, const std::string& text) {
    Window* w = find(hwnd);
    if (!w) return false;
    w->title = text;
    return true;
}

bool showWindow(HWND hwnd, bool show) {
    Window* w = find(hwnd);
    if (!w) return false;
    bool wasVisible = w->visible;
    if (wasVisible != show) {
        w->visible = show;
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

LRESULT defWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM /*lParam*/) {
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
    return w ? w->style : 0;
}

uint32_t getWindowExStyle(HWND hwnd) {
    const Window* w = find(hwnd);
    return w ? w->exStyle : 0;
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
    return delivered;
}

void resetWindowModel() {
    windows().clear();
    s_focus = 0;
    std::lock_guard<std::mutex> lock(queue().mutex);
    queue().live.clear();
    queue().messages.clear();
}

}  // namespace platform
