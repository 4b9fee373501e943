#include "platform/NativeWindow.h"

#include <GLFW/glfw3.h>
// GLFW's X11 access (its header would bring Xlib's macros into this file).
extern "C" unsigned long glfwGetX11Window(GLFWwindow* window);

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <map>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/Activation.h"
#include "platform/Monitor.h"
#include "platform/Mouse.h"
#include "platform/Paint.h"
#include "platform/WindowPos.h"
#include "platform/WindowRecord.h"
#include "platform/X11Selection.h"

namespace platform {
namespace {

struct Native {
    GLFWwindow* window = nullptr;
    bool pendingPlacement = false;   // a placement task is queued
    bool showsPicture = false;
    bool refresh = true;             // the picture is to be shown again
    int paints = -1;                 // the tree's paint count when last shown
    GLuint texture = 0;              // the picture, in the window's own context
    int textureWidth = 0, textureHeight = 0;
    // The pointer as the last motion event put it: a press is where the pointer
    // was when it happened, not where it is when the events are read (a press
    // and the first move of a drag often come in one poll).
    bool cursorKnown = false;
    double cursorX = 0, cursorY = 0;
};

struct Backend {
    bool decided = false;
    bool available = false;
    int modifiers = 0;
    void (*pump)() = nullptr;
    std::map<HWND, Native> windows;
    unsigned long clipboardOwner = 0;   // GLFW's window that took the CLIPBOARD last
};

// How long a clipboard read waits for another client's answer.
constexpr std::chrono::milliseconds kClipboardTimeout{500};

Backend& backend() {
    static Backend b;
    return b;
}

Native* nativeOf(HWND hwnd) {
    auto it = backend().windows.find(hwnd);
    return it == backend().windows.end() ? nullptr : &it->second;
}

HWND handleOf(GLFWwindow* window) { return reinterpret_cast<HWND>(glfwGetWindowUserPointer(window)); }

// Virtual-key code and the display layer's key number, for the keys that are not
// the same in both (letters and digits are their ASCII codes in both).
constexpr std::pair<int, int> kKeys[] = {
    {0x1B, GLFW_KEY_ESCAPE},  {0x0D, GLFW_KEY_ENTER},     {0x09, GLFW_KEY_TAB},     {0x08, GLFW_KEY_BACKSPACE},
    {0x2D, GLFW_KEY_INSERT},  {0x2E, GLFW_KEY_DELETE},    {0x27, GLFW_KEY_RIGHT},   {0x25, GLFW_KEY_LEFT},
    {0x28, GLFW_KEY_DOWN},    {0x26, GLFW_KEY_UP},        {0x21, GLFW_KEY_PAGE_UP}, {0x22, GLFW_KEY_PAGE_DOWN},
    {0x24, GLFW_KEY_HOME},    {0x23, GLFW_KEY_END},       {0x20, GLFW_KEY_SPACE},   {0x10, GLFW_KEY_LEFT_SHIFT},
    {0x11, GLFW_KEY_LEFT_CONTROL}, {0x12, GLFW_KEY_LEFT_ALT}, {0xA1, GLFW_KEY_RIGHT_SHIFT},
    {0xA3, GLFW_KEY_RIGHT_CONTROL}, {0xA5, GLFW_KEY_RIGHT_ALT}, {0x13, GLFW_KEY_PAUSE},
    {0x70, GLFW_KEY_F1},  {0x71, GLFW_KEY_F2},  {0x72, GLFW_KEY_F3},  {0x73, GLFW_KEY_F4},
    {0x74, GLFW_KEY_F5},  {0x75, GLFW_KEY_F6},  {0x76, GLFW_KEY_F7},  {0x77, GLFW_KEY_F8},
    {0x78, GLFW_KEY_F9},  {0x79, GLFW_KEY_F10}, {0x7A, GLFW_KEY_F11}, {0x7B, GLFW_KEY_F12},
};

// The model's rectangle moved so that its client area is where the real window is.
void takeNativePlacement(HWND hwnd) {
    Native* n = nativeOf(hwnd);
    if (!n) return;
    n->pendingPlacement = false;
    const detail::WindowRecord* w = detail::findWindow(hwnd);
    if (!w || w->minimized || glfwGetWindowAttrib(n->window, GLFW_ICONIFIED)) return;
    int x = 0, y = 0, width = 0, height = 0;
    glfwGetWindowPos(n->window, &x, &y);
    glfwGetWindowSize(n->window, &width, &height);
    const RECT client = detail::clientOnScreen(*w);
    if (client.left == x && client.top == y && client.width() == width && client.height() == height) return;
    RECT rect{x - w->frameLeft, y - w->frameTop, x + width + w->frameRight, y + height + w->frameBottom};
    detail::placeWindow(hwnd, rect, 0, SWP_NOZORDER | SWP_NOACTIVATE, true);
}

void onPlacement(GLFWwindow* window, int, int) {
    HWND hwnd = handleOf(window);
    Native* n = nativeOf(hwnd);
    if (!n || n->pendingPlacement) return;
    n->pendingPlacement = true;
    postTask([hwnd] { takeNativePlacement(hwnd); });
}

void onClose(GLFWwindow* window) {
    // The model's procedure decides; the real window stays until the model destroys it.
    glfwSetWindowShouldClose(window, GLFW_FALSE);
    postMessage(handleOf(window), WM_CLOSE, 0, 0);
}

void onFocus(GLFWwindow* window, int focused) {
    HWND hwnd = handleOf(window);
    postTask([hwnd, focused] {
        if (!isWindow(hwnd)) return;
        if (focused) {
            setForegroundWindow(hwnd);
        } else if (getForegroundWindow() == hwnd) {
            detail::forgetActivation(hwnd);
            sendMessage(hwnd, WM_ACTIVATE, WA_INACTIVE, 0);
        }
    });
}

void onIconify(GLFWwindow* window, int iconified) {
    HWND hwnd = handleOf(window);
    postTask([hwnd, iconified] {
        if (isWindow(hwnd) && isIconic(hwnd) != (iconified != 0))
            showWindowCommand(hwnd, iconified ? SW_MINIMIZE : SW_RESTORE);
    });
}

void onCursor(GLFWwindow* window, double x, double y) {
    HWND hwnd = handleOf(window);
    if (Native* n = nativeOf(hwnd)) {
        n->cursorKnown = true;
        n->cursorX = x;
        n->cursorY = y;
    }
    postTask([hwnd, x, y] {
        POINT p{static_cast<int>(x), static_cast<int>(y)};
        if (clientToScreen(hwnd, &p)) moveCursorTo(p);
    });
}

// Where the pointer was at the event being handled (see Native::cursorKnown).
void pointerAtEvent(GLFWwindow* window, double* x, double* y) {
    if (const Native* n = nativeOf(handleOf(window)); n && n->cursorKnown) {
        *x = n->cursorX;
        *y = n->cursorY;
    } else {
        glfwGetCursorPos(window, x, y);
    }
}

void onButton(GLFWwindow* window, int button, int action, int) {
    HWND hwnd = handleOf(window);
    double cx = 0, cy = 0;
    pointerAtEvent(window, &cx, &cy);
    postTask([hwnd, button, action, cx, cy] {
        POINT p{static_cast<int>(cx), static_cast<int>(cy)};
        if (!clientToScreen(hwnd, &p)) return;
        moveCursorTo(p);
        if (button == GLFW_MOUSE_BUTTON_LEFT) {
            if (action == GLFW_PRESS) pressLeftButton(); else releaseLeftButton();
            return;
        }
        UINT msg = 0;
        if (button == GLFW_MOUSE_BUTTON_RIGHT) msg = action == GLFW_PRESS ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        if (button == GLFW_MOUSE_BUTTON_MIDDLE) msg = action == GLFW_PRESS ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        if (!msg) return;
        HWND target = getCapture() ? getCapture() : windowFromPoint(p);
        if (!target) return;
        screenToClient(target, &p);
        sendMessage(target, msg, 0, makeLParam(p.x, p.y));
    });
}

void onScroll(GLFWwindow* window, double, double dy) {
    HWND hwnd = handleOf(window);
    double cx = 0, cy = 0;
    pointerAtEvent(window, &cx, &cy);
    POINT p{static_cast<int>(cx), static_cast<int>(cy)};
    clientToScreen(hwnd, &p);
    const int delta = static_cast<int>(dy * 120);
    postMessage(hwnd, WM_MOUSEWHEEL, static_cast<WPARAM>(makeLParam(0, delta)), makeLParam(p.x, p.y));
}

void onKey(GLFWwindow* window, int key, int scancode, int action, int mods) {
    backend().modifiers = mods;
    const int vk = virtualKeyFromNativeKey(key);
    if (vk < 0) return;
    LPARAM lParam = static_cast<LPARAM>((static_cast<uint32_t>(scancode) & 0xFFu) << 16);
    if (action == GLFW_REPEAT) lParam |= LPARAM{1} << 30;
    postMessage(handleOf(window), action == GLFW_RELEASE ? WM_KEYUP : WM_KEYDOWN, static_cast<WPARAM>(vk), lParam);
}

void onRefresh(GLFWwindow* window) {
    if (Native* n = nativeOf(handleOf(window))) n->refresh = true;
}

// WM_PAINT messages a window and its descendants received.
int treePaints(HWND hwnd) {
    int total = paintCount(hwnd);
    if (const detail::WindowRecord* w = detail::findWindow(hwnd)) {
        const std::vector<HWND> children = w->children;
        for (HWND child : children) total += treePaints(child);
    }
    return total;
}

// The entry points a picture is shown with, from the context's library: the
// picture is a texture drawn as one quad (fixed-function GL of a 2.1 context).
struct PictureGL {
    void (*viewport)(GLint, GLint, GLsizei, GLsizei) = nullptr;
    void (*clearColor)(GLfloat, GLfloat, GLfloat, GLfloat) = nullptr;
    void (*clear)(GLbitfield) = nullptr;
    void (*genTextures)(GLsizei, GLuint*) = nullptr;
    void (*bindTexture)(GLenum, GLuint) = nullptr;
    void (*texParameteri)(GLenum, GLenum, GLint) = nullptr;
    void (*texImage2D)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*) = nullptr;
    void (*texSubImage2D)(GLenum, GLint, GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, const void*) = nullptr;
    void (*enable)(GLenum) = nullptr;
    void (*begin)(GLenum) = nullptr;
    void (*end)() = nullptr;
    void (*texCoord2f)(GLfloat, GLfloat) = nullptr;
    void (*vertex2f)(GLfloat, GLfloat) = nullptr;
    bool complete() const {
        return viewport && clearColor && clear && genTextures && bindTexture && texParameteri && texImage2D &&
               texSubImage2D && enable && begin && end && texCoord2f && vertex2f;
    }
};

const PictureGL& pictureGL() {
    static const PictureGL gl = [] {
        PictureGL t;
        auto entry = [](auto& member, const char* name) {
            member = reinterpret_cast<std::remove_reference_t<decltype(member)>>(glfwGetProcAddress(name));
        };
        entry(t.viewport, "glViewport");
        entry(t.clearColor, "glClearColor");
        entry(t.clear, "glClear");
        entry(t.genTextures, "glGenTextures");
        entry(t.bindTexture, "glBindTexture");
        entry(t.texParameteri, "glTexParameteri");
        entry(t.texImage2D, "glTexImage2D");
        entry(t.texSubImage2D, "glTexSubImage2D");
        entry(t.enable, "glEnable");
        entry(t.begin, "glBegin");
        entry(t.end, "glEnd");
        entry(t.texCoord2f, "glTexCoord2f");
        entry(t.vertex2f, "glVertex2f");
        return t;
    }();
    return gl;
}

// Shows the model's picture of the window in it (its context current): when
// `changed`, or before the first upload, the picture is composed again and goes
// into the window's kept texture (replaced in place while its size stays the
// same); then the texture is drawn from the top-left corner at one texel per pixel.
void showPicture(HWND hwnd, Native& native, bool changed) {
    const PictureGL& gl = pictureGL();
    if (!gl.complete()) return;
    if (changed || !native.texture) {
        const WindowImage image = composeWindow(hwnd);
        if (!native.texture) {
            gl.genTextures(1, &native.texture);
            gl.bindTexture(GL_TEXTURE_2D, native.texture);
            gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        }
        gl.bindTexture(GL_TEXTURE_2D, native.texture);
        // Rows top first; the words' bytes are B, G, R, A.
        if (image.width > 0 && image.height > 0) {
            if (image.width == native.textureWidth && image.height == native.textureHeight) {
                gl.texSubImage2D(GL_TEXTURE_2D, 0, 0, 0, image.width, image.height, GL_BGRA, GL_UNSIGNED_BYTE,
                                 image.pixels.data());
            } else {
                gl.texImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                              image.pixels.data());
            }
        }
        native.textureWidth = std::max(image.width, 0);
        native.textureHeight = std::max(image.height, 0);
    }
    int width = 0, height = 0;
    glfwGetFramebufferSize(native.window, &width, &height);
    gl.viewport(0, 0, width, height);
    gl.clearColor(0, 0, 0, 1);
    gl.clear(GL_COLOR_BUFFER_BIT);
    if (native.textureWidth > 0 && native.textureHeight > 0 && width > 0 && height > 0) {
        const float right = -1 + 2.f * static_cast<float>(native.textureWidth) / static_cast<float>(width);
        const float bottom = 1 - 2.f * static_cast<float>(native.textureHeight) / static_cast<float>(height);
        gl.bindTexture(GL_TEXTURE_2D, native.texture);
        gl.enable(GL_TEXTURE_2D);
        gl.begin(GL_QUADS);
        gl.texCoord2f(0, 0);
        gl.vertex2f(-1, 1);
        gl.texCoord2f(0, 1);
        gl.vertex2f(-1, bottom);
        gl.texCoord2f(1, 1);
        gl.vertex2f(right, bottom);
        gl.texCoord2f(1, 0);
        gl.vertex2f(right, 1);
        gl.end();
    }
    glfwSwapBuffers(native.window);
}

void onChar(GLFWwindow* window, unsigned int codePoint) {
    postMessage(handleOf(window), WM_CHAR, codePoint, 0);
}

// Monitors, work areas and content scales of the display into the model.
void takeMonitors() {
    int count = 0;
    GLFWmonitor** monitors = glfwGetMonitors(&count);
    std::vector<MonitorInfo> list;
    for (int i = 0; i < count; ++i) {
        const GLFWvidmode* mode = glfwGetVideoMode(monitors[i]);
        if (!mode) continue;
        MonitorInfo m;
        int x = 0, y = 0, wx = 0, wy = 0, ww = 0, wh = 0;
        glfwGetMonitorPos(monitors[i], &x, &y);
        glfwGetMonitorWorkarea(monitors[i], &wx, &wy, &ww, &wh);
        m.rect = RECT{x, y, x + mode->width, y + mode->height};
        m.workArea = ww > 0 && wh > 0 ? RECT{wx, wy, wx + ww, wy + wh} : m.rect;
        float sx = 1, sy = 1;
        glfwGetMonitorContentScale(monitors[i], &sx, &sy);
        m.dpiX = static_cast<int>(96 * sx + 0.5f);
        m.dpiY = static_cast<int>(96 * sy + 0.5f);
        m.primary = i == 0;
        list.push_back(m);
    }
    if (!list.empty()) setMonitors(list);
}

}  // namespace

bool nativeDisplayAvailable() {
    Backend& b = backend();
    if (b.decided) return b.available;
    b.decided = true;
    const char* headless = std::getenv("VEXO_HEADLESS");
    const char* display = std::getenv("DISPLAY");
    if ((headless && std::strcmp(headless, "1") == 0) || !display || !*display) return false;
    glfwInitHint(GLFW_JOYSTICK_HAT_BUTTONS, GLFW_FALSE);
    b.available = glfwInit() == GLFW_TRUE;
    if (b.available) {
        std::atexit([] { glfwTerminate(); });
        takeMonitors();
    }
    return b.available;
}

bool attachNativeWindow(HWND hwnd, const NativeWindowAttrs& attrs) {
    const detail::WindowRecord* w = detail::findWindow(hwnd);
    if (!w || w->parent != 0 || nativeOf(hwnd) || !nativeDisplayAvailable()) return false;
    const RECT client = detail::clientOnScreen(*w);
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 1);
    glfwWindowHint(GLFW_RED_BITS, attrs.redBits);
    glfwWindowHint(GLFW_GREEN_BITS, attrs.greenBits);
    glfwWindowHint(GLFW_BLUE_BITS, attrs.blueBits);
    glfwWindowHint(GLFW_ALPHA_BITS, attrs.alphaBits);
    glfwWindowHint(GLFW_DEPTH_BITS, attrs.depthBits);
    glfwWindowHint(GLFW_STENCIL_BITS, attrs.stencilBits);
    glfwWindowHint(GLFW_DECORATED, attrs.decorated ? GLFW_TRUE : GLFW_FALSE);
    glfwWindowHint(GLFW_FOCUS_ON_SHOW, attrs.focusOnShow ? GLFW_TRUE : GLFW_FALSE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(client.width() > 0 ? client.width() : 1,
                                          client.height() > 0 ? client.height() : 1, w->title.c_str(), nullptr,
                                          nullptr);
    if (!window) return false;
    glfwSetWindowUserPointer(window, reinterpret_cast<void*>(hwnd));
    glfwSetWindowPos(window, client.left, client.top);
    glfwSetWindowPosCallback(window, onPlacement);
    glfwSetWindowSizeCallback(window, onPlacement);
    glfwSetWindowCloseCallback(window, onClose);
    glfwSetWindowFocusCallback(window, onFocus);
    glfwSetWindowIconifyCallback(window, onIconify);
    glfwSetCursorPosCallback(window, onCursor);
    glfwSetMouseButtonCallback(window, onButton);
    glfwSetScrollCallback(window, onScroll);
    glfwSetKeyCallback(window, onKey);
    glfwSetCharCallback(window, onChar);
    glfwSetWindowRefreshCallback(window, onRefresh);
    Native& native = backend().windows[hwnd];
    native.window = window;
    native.showsPicture = attrs.showsPicture;
    if (isWindowVisible(hwnd)) glfwShowWindow(window);
    return true;
}

bool hasNativeWindow(HWND hwnd) { return nativeOf(hwnd) != nullptr; }

bool makeNativeContextCurrent(HWND hwnd) {
    Native* n = nativeOf(hwnd);
    if (!n) return false;
    glfwMakeContextCurrent(n->window);
    return true;
}

void swapNativeBuffers(HWND hwnd) {
    if (Native* n = nativeOf(hwnd)) glfwSwapBuffers(n->window);
}

void setNativeSwapInterval(int interval) {
    if (glfwGetCurrentContext()) glfwSwapInterval(interval);
}

bool getNativeFramebufferSize(HWND hwnd, int* width, int* height) {
    Native* n = nativeOf(hwnd);
    if (!n) return false;
    glfwGetFramebufferSize(n->window, width, height);
    return true;
}

void pollNativeEvents() {
    // Also without windows: the clipboard selection this program owns is served here.
    if (backend().available) glfwPollEvents();
    if (backend().pump) backend().pump();
}

unsigned long nativeX11Window(HWND hwnd) {
    Native* n = nativeOf(hwnd);
    return n ? static_cast<unsigned long>(glfwGetX11Window(n->window)) : 0;
}

void setNativeEventPump(void (*pump)()) { backend().pump = pump; }

bool focusNativeWindow(HWND hwnd) {
    Native* n = nativeOf(hwnd);
    if (!n || !glfwGetWindowAttrib(n->window, GLFW_VISIBLE)) return false;
    glfwFocusWindow(n->window);
    return true;
}

bool readNativeClipboardText(std::string* text) {
    if (text) text->clear();
    if (!nativeDisplayAvailable()) return false;
    const unsigned long owner = x11SelectionOwner("", "CLIPBOARD");
    if (owner == 0) return false;
    if (owner == backend().clipboardOwner) {
        // Our own text: GLFW answers it without asking the display.
        const char* current = glfwGetClipboardString(nullptr);
        if (!current) return false;
        if (text) *text = current;
        return true;
    }
    // Another client's: GLFW would wait for its answer without end.
    std::string read;
    if (readX11Selection("", "CLIPBOARD", kClipboardTimeout, &read) != SelectionRead::Text) return false;
    if (text) *text = std::move(read);
    return true;
}

bool writeNativeClipboardText(const std::string& text) {
    if (!nativeDisplayAvailable()) return false;
    glfwSetClipboardString(nullptr, text.c_str());
    backend().clipboardOwner = x11SelectionOwner("", "CLIPBOARD");
    return true;
}

int nativeKeyModifiers() { return backend().modifiers; }

int virtualKeyFromNativeKey(int key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return key;
    for (auto [vk, native] : kKeys) {
        if (native == key) return vk;
    }
    return -1;
}

int nativeKeyFromVirtualKey(int virtualKey) {
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9')) return virtualKey;
    for (auto [vk, native] : kKeys) {
        if (vk == virtualKey) return native;
    }
    return 0;
}

namespace detail {

void nativePlace(HWND hwnd) {
    Native* n = nativeOf(hwnd);
    const WindowRecord* w = findWindow(hwnd);
    if (!n || !w) return;
    const RECT client = clientOnScreen(*w);
    int x = 0, y = 0, width = 0, height = 0;
    glfwGetWindowPos(n->window, &x, &y);
    glfwGetWindowSize(n->window, &width, &height);
    if (client.width() > 0 && client.height() > 0 && (width != client.width() || height != client.height()))
        glfwSetWindowSize(n->window, client.width(), client.height());
    if (x != client.left || y != client.top) glfwSetWindowPos(n->window, client.left, client.top);
}

void nativeShow(HWND hwnd, bool show) {
    Native* n = nativeOf(hwnd);
    if (!n) return;
    n->refresh = true;
    if (show) glfwShowWindow(n->window); else glfwHideWindow(n->window);
}

void nativeTitle(HWND hwnd) {
    Native* n = nativeOf(hwnd);
    const WindowRecord* w = findWindow(hwnd);
    if (n && w) glfwSetWindowTitle(n->window, w->title.c_str());
}

void nativeIconify(HWND hwnd, bool iconify) {
    Native* n = nativeOf(hwnd);
    if (!n || (glfwGetWindowAttrib(n->window, GLFW_ICONIFIED) != 0) == iconify) return;
    if (iconify) glfwIconifyWindow(n->window); else glfwRestoreWindow(n->window);
}

void nativeForget(HWND hwnd) {
    auto& windows = backend().windows;
    auto it = windows.find(hwnd);
    if (it == windows.end()) return;
    GLFWwindow* window = it->second.window;
    windows.erase(it);
    if (glfwGetCurrentContext() == window) glfwMakeContextCurrent(nullptr);
    glfwDestroyWindow(window);
}

void nativePresentPictures() {
    // Painting runs window procedures, which may destroy windows: by handle.
    std::vector<HWND> pictures;
    for (const auto& [hwnd, n] : backend().windows) {
        if (n.showsPicture) pictures.push_back(hwnd);
    }
    GLFWwindow* previous = glfwGetCurrentContext();
    bool switched = false;
    for (HWND hwnd : pictures) {
        Native* n = nativeOf(hwnd);
        if (!n || !isWindowVisible(hwnd)) continue;
        const int paints = treePaints(hwnd);
        if (!n->refresh && paints == n->paints) continue;
        const bool changed = paints != n->paints;
        n->refresh = false;
        n->paints = paints;
        switched = true;
        glfwMakeContextCurrent(n->window);
        showPicture(hwnd, *n, changed);
    }
    if (switched) glfwMakeContextCurrent(previous);
}

void nativeForgetAll() {
    while (!backend().windows.empty()) nativeForget(backend().windows.begin()->first);
}

}  // namespace detail
}  // namespace platform
