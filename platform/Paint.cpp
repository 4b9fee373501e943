#include "platform/Paint.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "platform/WindowClass.h"
#include "platform/WindowRecord.h"

namespace platform {
namespace {

struct PaintState {
    cairo_surface_t* surface = nullptr;
    bool invalid = false;
    bool erase = false;
    RECT update;
    int paints = 0;
};

void releaseSurface(PaintState& state);

// The surfaces go with the table at exit, so nothing is left unreleased.
struct PaintTable {
    std::map<HWND, PaintState> states;
    ~PaintTable() {
        for (auto& entry : states) releaseSurface(entry.second);
    }
};

std::map<HWND, PaintState>& states() {
    static PaintTable table;
    return table.states;
}

bool isPainted(HWND hwnd) {
    const detail::WindowRecord* w = detail::findWindow(hwnd);
    return w && w->painted;
}

RECT clientRect(HWND hwnd) {
    RECT r;
    getClientRect(hwnd, &r);
    return r;
}

RECT unite(const RECT& a, const RECT& b) {
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

RECT intersect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.right <= r.left || r.bottom <= r.top) return RECT{};
    return r;
}

bool isEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

void releaseSurface(PaintState& state) {
    if (state.surface) cairo_surface_destroy(state.surface);
    state.surface = nullptr;
}

// The window's surface at its client size; a new surface makes the window invalid.
cairo_surface_t* surfaceOf(HWND hwnd) {
    PaintState& state = states()[hwnd];
    const RECT client = clientRect(hwnd);
    if (state.surface && cairo_image_surface_get_width(state.surface) == client.width() &&
        cairo_image_surface_get_height(state.surface) == client.height()) {
        return state.surface;
    }
    releaseSurface(state);
    state.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, client.width(), client.height());
    state.invalid = true;
    state.erase = true;
    state.update = client;
    return state.surface;
}

void paintNow(HWND hwnd) {
    sendMessage(hwnd, WM_PAINT, 0, 0);
    auto it = states().find(hwnd);
    if (it != states().end()) it->second.invalid = false;   // painted or not, it is done
}

bool needsPaint(HWND hwnd) {
    if (!isPainted(hwnd) || !isWindowVisible(hwnd)) return false;
    surfaceOf(hwnd);
    auto it = states().find(hwnd);
    return it != states().end() && it->second.invalid;
}

void paintTree(HWND hwnd) {
    if (needsPaint(hwnd)) paintNow(hwnd);
    const detail::WindowRecord* w = detail::findWindow(hwnd);
    if (!w) return;
    const std::vector<HWND> children = w->children;
    for (HWND child : children) paintTree(child);
}

void drawTree(cairo_t* cr, HWND hwnd, int originX, int originY) {
    const detail::WindowRecord* w = detail::findWindow(hwnd);
    if (!w || !w->visible) return;
    const RECT client = detail::clientOnScreen(*w);
    auto it = states().find(hwnd);
    if (it != states().end() && it->second.surface) {
        cairo_set_source_surface(cr, it->second.surface, client.left - originX, client.top - originY);
        cairo_paint(cr);
    }
    for (HWND child : w->children) drawTree(cr, child, originX, originY);
}

}  // namespace

namespace detail {

void invalidateWhole(HWND hwnd, bool erase) {
    if (isPainted(hwnd)) invalidateRect(hwnd, nullptr, erase);
}

void forgetPaintState(HWND hwnd) {
    auto it = states().find(hwnd);
    if (it == states().end()) return;
    releaseSurface(it->second);
    states().erase(it);
}

void resetPaintState() {
    for (auto& entry : states()) releaseSurface(entry.second);
    states().clear();
}

void paintPendingWindows() {
    for (HWND hwnd : allWindows()) {
        if (needsPaint(hwnd)) paintNow(hwnd);
    }
}

LRESULT defaultPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    if (beginPaint(hwnd, &ps)) endPaint(hwnd, &ps);
    return 0;
}

LRESULT defaultEraseBackground(HWND hwnd, WPARAM hdc) {
    WNDCLASS wc;
    if (!hdc || !getClassInfo(getClassName(hwnd), &wc) || !wc.background) return 0;
    cairo_t* cr = reinterpret_cast<cairo_t*>(hdc);
    const uint32_t c = *wc.background;
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0,
                          ((c >> 24) & 0xFF) / 255.0);
    cairo_paint(cr);
    cairo_restore(cr);
    return 1;
}

}  // namespace detail

HDC beginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    if (!ps || !isPainted(hwnd)) return nullptr;
    cairo_surface_t* surface = surfaceOf(hwnd);
    PaintState& state = states()[hwnd];
    const RECT update = state.invalid ? intersect(state.update, clientRect(hwnd)) : RECT{};
    const bool erase = state.invalid && state.erase;
    state.invalid = false;
    state.erase = false;
    state.update = RECT{};
    cairo_t* cr = cairo_create(surface);
    cairo_rectangle(cr, update.left, update.top, update.width(), update.height());
    cairo_clip(cr);
    ps->hdc = cr;
    ps->rcPaint = update;
    ps->fErase = false;
    if (erase) ps->fErase = sendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(cr), 0) == 0;
    return cr;
}

bool endPaint(HWND hwnd, const PAINTSTRUCT* ps) {
    if (!ps || !ps->hdc) return false;
    cairo_surface_t* target = cairo_get_target(ps->hdc);
    cairo_destroy(ps->hdc);
    cairo_surface_flush(target);
    auto it = states().find(hwnd);
    if (it != states().end()) ++it->second.paints;
    return true;
}

bool invalidateRect(HWND hwnd, const RECT* rect, bool erase) {
    if (!isWindow(hwnd)) return false;
    if (!isPainted(hwnd)) return true;
    PaintState& state = states()[hwnd];
    const RECT area = rect ? intersect(*rect, clientRect(hwnd)) : clientRect(hwnd);
    if (isEmpty(area)) return true;
    state.update = state.invalid ? unite(state.update, area) : area;
    state.invalid = true;
    state.erase = state.erase || erase;
    return true;
}

bool validateRect(HWND hwnd, const RECT* rect) {
    if (!isWindow(hwnd)) return false;
    auto it = states().find(hwnd);
    if (it == states().end() || !it->second.invalid) return true;
    // One rectangle holds the region: validating part of it keeps the whole.
    if (!rect || (rect->left <= it->second.update.left && rect->top <= it->second.update.top &&
                  rect->right >= it->second.update.right && rect->bottom >= it->second.update.bottom)) {
        it->second.invalid = false;
        it->second.erase = false;
        it->second.update = RECT{};
    }
    return true;
}

bool getUpdateRect(HWND hwnd, RECT* rect) {
    if (!isPainted(hwnd)) return false;
    surfaceOf(hwnd);
    const PaintState& state = states()[hwnd];
    if (!state.invalid) return false;
    if (rect) *rect = state.update;
    return true;
}

bool updateWindow(HWND hwnd) {
    if (!isWindow(hwnd)) return false;
    if (needsPaint(hwnd)) paintNow(hwnd);
    return true;
}

bool redrawWindow(HWND hwnd, const RECT* rect, UINT flags) {
    const detail::WindowRecord* w = detail::findWindow(hwnd);
    if (!w) return false;
    if (flags & RDW_INVALIDATE) invalidateRect(hwnd, rect, (flags & RDW_ERASE) != 0);
    if (flags & RDW_VALIDATE) validateRect(hwnd, rect);
    if (flags & RDW_ALLCHILDREN) {
        const std::vector<HWND> children = w->children;
        for (HWND child : children) {
            // A child's share of the rectangle, in its own client coordinates.
            RECT childRect;
            const RECT* part = nullptr;
            if (rect) {
                const detail::WindowRecord* c = detail::findWindow(child);
                const detail::WindowRecord* p = detail::findWindow(hwnd);
                if (!c || !p) continue;
                const RECT cc = detail::clientOnScreen(*c);
                const RECT pc = detail::clientOnScreen(*p);
                const int dx = pc.left - cc.left, dy = pc.top - cc.top;
                childRect = RECT{rect->left + dx, rect->top + dy, rect->right + dx, rect->bottom + dy};
                part = &childRect;
            }
            redrawWindow(child, part, flags & ~RDW_UPDATENOW);
        }
    }
    if (flags & RDW_UPDATENOW) paintTree(hwnd);
    return true;
}

int paintCount(HWND hwnd) {
    auto it = states().find(hwnd);
    return it == states().end() ? 0 : it->second.paints;
}

uint32_t WindowImage::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
}

bool WindowImage::writePng(const std::string& path) const {
    if (width <= 0 || height <= 0) return false;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        std::copy_n(pixels.begin() + static_cast<ptrdiff_t>(y) * width, width, row);
    }
    cairo_surface_mark_dirty(surface);
    const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

namespace {
bool s_fontCachesShared = false;
}

void keepFontCachesAtExit() { s_fontCachesShared = true; }

void releaseFontCachesAtExit() {
    static const bool registered = [] {
        // The table must outlive the handler: made first, it is destroyed after it.
        states();
        std::atexit([] {
            detail::resetPaintState();
            if (s_fontCachesShared) return;
            cairo_debug_reset_static_data();
            FcFini();
        });
        return true;
    }();
    (void)registered;
}

WindowImage composeWindow(HWND hwnd) {
    WindowImage image;
    const detail::WindowRecord* w = detail::findWindow(hwnd);
    if (!w) return image;
    paintTree(hwnd);
    w = detail::findWindow(hwnd);
    if (!w) return image;
    const RECT client = detail::clientOnScreen(*w);
    image.width = client.width();
    image.height = client.height();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
    cairo_t* cr = cairo_create(surface);
    // The root is drawn even when hidden: the image is of the window itself.
    auto it = states().find(hwnd);
    if (it != states().end() && it->second.surface) {
        cairo_set_source_surface(cr, it->second.surface, 0, 0);
        cairo_paint(cr);
    }
    for (HWND child : w->children) drawTree(cr, child, client.left, client.top);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
        std::copy_n(row, image.width, image.pixels.begin() + static_cast<ptrdiff_t>(y) * image.width);
    }
    cairo_surface_destroy(surface);
    return image;
}

}  // namespace platform
