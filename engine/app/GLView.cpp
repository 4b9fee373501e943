#include "engine/app/GLView.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "engine/app/Application.h"
#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/input/EventTouch.h"
#include "engine/input/Touch.h"
#include "engine/base/Log.h"
#include "engine/image/Image.h"
#include "engine/renderer/GLFunctions.h"
#include "platform/Mouse.h"
#include "platform/NativeWindow.h"
#include "platform/WindowPos.h"

namespace engine {
namespace {

GLContextAttrs g_contextAttrs;

// Window handle → its view, for the shared window procedure. Main thread only.
std::unordered_map<platform::HWND, GLViewImpl*>& viewsByWindow() {
    static std::unordered_map<platform::HWND, GLViewImpl*> views;
    return views;
}

int toPixels(float v) { return static_cast<int>(std::lround(v)); }

// The button (0 left, 1 right, 2 middle) of a button message, -1 for any other.
int mouseButtonOf(platform::UINT msg) {
    switch (msg) {
    case platform::WM_LBUTTONDOWN: case platform::WM_LBUTTONUP: return 0;
    case platform::WM_RBUTTONDOWN: case platform::WM_RBUTTONUP: return 1;
    case platform::WM_MBUTTONDOWN: case platform::WM_MBUTTONUP: return 2;
    default: return -1;
    }
}

}  // namespace

void GLView::setGLContextAttrs(const GLContextAttrs& attrs) { g_contextAttrs = attrs; }
GLContextAttrs GLView::getGLContextAttrs() { return g_contextAttrs; }

void GLView::setFrameSize(float width, float height) {
    _screenSize = Size(width, height);
    updateDesignResolutionSize();
}

void GLView::setDesignResolutionSize(float width, float height, ResolutionPolicy policy) {
    if (width <= 0.f || height <= 0.f) {
        log("GLView: invalid design resolution %gx%g ignored", width, height);
        return;
    }
    _designResolutionSize = Size(width, height);
    _resolutionPolicy = policy;
    updateDesignResolutionSize();
}

void GLView::updateDesignResolutionSize() {
    const Size& frame = _screenSize;
    Size& design = _designResolutionSize;
    bool usable = frame.width > 0.f && frame.height > 0.f && design.width > 0.f &&
                  design.height > 0.f && _resolutionPolicy != ResolutionPolicy::UNKNOWN;
    if (!usable) {
        _scaleX = _scaleY = 1.f;
        _viewPortRect = Rect(0, 0, frame.width, frame.height);
    } else {
        _scaleX = frame.width / design.width;
        _scaleY = frame.height / design.height;
        switch (_resolutionPolicy) {
            case ResolutionPolicy::NO_BORDER:
                _scaleX = _scaleY = std::max(_scaleX, _scaleY);
                break;
            case ResolutionPolicy::SHOW_ALL:
                _scaleX = _scaleY = std::min(_scaleX, _scaleY);
                break;
            case ResolutionPolicy::FIXED_HEIGHT:
                _scaleX = _scaleY;
                design.width = frame.width / _scaleX;
                break;
            case ResolutionPolicy::FIXED_WIDTH:
                _scaleY = _scaleX;
                design.height = frame.height / _scaleY;
                break;
            default:
                break;
        }
        float w = design.width * _scaleX;
        float h = design.height * _scaleY;
        _viewPortRect = Rect((frame.width - w) / 2, (frame.height - h) / 2, w, h);
    }
    Director* director = Director::getInstance();
    if (director->getOpenGLView() == this) director->setViewport();
}

Size GLView::getVisibleSize() const {
    if (_resolutionPolicy == ResolutionPolicy::UNKNOWN || _designResolutionSize.width <= 0.f) {
        return _screenSize;
    }
    // Every other policy shows the whole design area (frame / scale is at least the
    // design size there, up to rounding, which must not leak into the result).
    if (_resolutionPolicy != ResolutionPolicy::NO_BORDER) return _designResolutionSize;
    return Size(std::min(_screenSize.width / _scaleX, _designResolutionSize.width),
                std::min(_screenSize.height / _scaleY, _designResolutionSize.height));
}

Vec2 GLView::getVisibleOrigin() const {
    if (_resolutionPolicy == ResolutionPolicy::UNKNOWN || _designResolutionSize.width <= 0.f) {
        return Vec2::ZERO;
    }
    Size visible = getVisibleSize();
    return Vec2((_designResolutionSize.width - visible.width) / 2,
                (_designResolutionSize.height - visible.height) / 2);
}

void GLView::setViewPortInPoints(float x, float y, float w, float h) {
    _lastViewPort = Rect(x * _scaleX + _viewPortRect.origin.x, y * _scaleY + _viewPortRect.origin.y,
                         w * _scaleX, h * _scaleY);
}

// --- GLViewImpl ---------------------------------------------------------------

GLView::~GLView() {
    for (auto& [id, touch] : _touches) touch->release();
}

void GLView::deliverTouch(int code, int id, float x, float y) {
    const auto eventCode = static_cast<EventTouch::EventCode>(code);
    auto it = _touches.find(id);
    Touch* touch = nullptr;
    if (eventCode == EventTouch::EventCode::BEGAN) {
        if (it != _touches.end()) return;
        touch = new Touch;
        _touches[id] = touch;
    } else {
        if (it == _touches.end()) return;
        touch = it->second;
        if (eventCode != EventTouch::EventCode::MOVED) _touches.erase(it);
    }
    touch->setTouchInfo(id, x, y);
    EventTouch event;
    event.setEventCode(eventCode);
    event.setTouches({touch});
    Director::getInstance()->getEventDispatcher()->dispatchTouchEvent(&event);
    if (eventCode == EventTouch::EventCode::ENDED || eventCode == EventTouch::EventCode::CANCELLED) touch->release();
}

void GLView::handleTouchBegin(int id, float x, float y) {
    deliverTouch(static_cast<int>(EventTouch::EventCode::BEGAN), id, x, y);
}
void GLView::handleTouchMove(int id, float x, float y) {
    deliverTouch(static_cast<int>(EventTouch::EventCode::MOVED), id, x, y);
}
void GLView::handleTouchEnd(int id, float x, float y) {
    deliverTouch(static_cast<int>(EventTouch::EventCode::ENDED), id, x, y);
}
void GLView::handleTouchCancel(int id, float x, float y) {
    deliverTouch(static_cast<int>(EventTouch::EventCode::CANCELLED), id, x, y);
}

GLViewImpl* GLViewImpl::create(const std::string& viewName) {
    return createWithRect(viewName, Rect(0, 0, kDefaultFrameSize.width, kDefaultFrameSize.height));
}

GLViewImpl* GLViewImpl::createWithRect(const std::string& viewName, const Rect& rect,
                                       float frameZoomFactor) {
    auto* view = new GLViewImpl;
    if (!view->initWithRect(viewName, rect, frameZoomFactor)) {
        delete view;
        return nullptr;
    }
    view->autorelease();
    return view;
}

bool GLViewImpl::initWithRect(const std::string& viewName, const Rect& rect, float frameZoomFactor) {
    setViewName(viewName);
    _frameZoomFactor = frameZoomFactor;
    _screenSize = rect.size;
    updateDesignResolutionSize();

    platform::WindowDesc desc;
    desc.className = "VexoGLView";
    desc.title = viewName;
    int left = toPixels(rect.origin.x);
    int top = toPixels(rect.origin.y);
    int clientW = toPixels(rect.size.width * frameZoomFactor);
    int clientH = toPixels(rect.size.height * frameZoomFactor);
    desc.windowRect.left = left;
    desc.windowRect.top = top;
    desc.windowRect.right = left + desc.frameLeft + clientW + desc.frameRight;
    desc.windowRect.bottom = top + desc.frameTop + clientH + desc.frameBottom;
    desc.proc = &GLViewImpl::windowProc;
    _window = platform::createWindow(desc);
    if (!_window) {
        log("GLViewImpl: cannot create the window '%s'", viewName.c_str());
        return false;
    }
    viewsByWindow()[_window] = this;
    openGLContext();
    return true;
}

void GLViewImpl::openGLContext() {
    if (!platform::nativeDisplayAvailable()) return;
    platform::NativeWindowAttrs attrs;
    attrs.redBits = g_contextAttrs.redBits;
    attrs.greenBits = g_contextAttrs.greenBits;
    attrs.blueBits = g_contextAttrs.blueBits;
    attrs.alphaBits = g_contextAttrs.alphaBits;
    attrs.depthBits = g_contextAttrs.depthBits;
    attrs.stencilBits = g_contextAttrs.stencilBits;
    if (!platform::attachNativeWindow(_window, attrs)) {
        log("GLViewImpl: the display refused a window; drawing nothing");
        return;
    }
    if (!platform::makeNativeContextCurrent(_window) || !GL::useSystemFunctions()) {
        log("GLViewImpl: no usable GL context; drawing nothing");
        return;
    }
    platform::setNativeSwapInterval(1);
    // Images larger than GL's largest texture would only fail at upload.
    GLint maxTexture = 0;
    GL::fn().getIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
    Image::setMaxTextureSide(maxTexture);
    _glContext = true;
}

bool GLViewImpl::isOpenGLReady() { return !platform::hasNativeWindow(_window) || _glContext; }

void GLViewImpl::swapBuffers() {
    if (_glContext) platform::swapNativeBuffers(_window);
}

GLViewImpl::~GLViewImpl() { end(); }

void GLViewImpl::forgetWindow() {
    if (!_window) return;
    auto& views = viewsByWindow();
    auto it = views.find(_window);
    if (it != views.end() && it->second == this) views.erase(it);
    _window = 0;
}

void GLViewImpl::end() {
    if (_glContext) {
        // GL objects still alive are not deleted through a context that is gone.
        _glContext = false;
        GL::setFunctions(GL::noopFunctions());
    }
    platform::HWND window = _window;
    forgetWindow();
    if (window && platform::isWindow(window)) platform::destroyWindow(window);
}

void GLViewImpl::updateWindowSize() {
    if (!_window) return;
    platform::setClientSize(_window, toPixels(_screenSize.width * _frameZoomFactor),
                            toPixels(_screenSize.height * _frameZoomFactor));
}

void GLViewImpl::setFrameZoomFactor(float zoom) {
    if (!(zoom > 0.f)) {
        log("GLViewImpl: invalid zoom factor %g ignored", zoom);
        return;
    }
    _frameZoomFactor = zoom;
    updateWindowSize();
    updateDesignResolutionSize();
}

void GLViewImpl::setFrameSize(float width, float height) {
    GLView::setFrameSize(width, height);
    updateWindowSize();
}

void GLViewImpl::setViewPortInPoints(float x, float y, float w, float h) {
    GLView::setViewPortInPoints(x, y, w, h);
    const float z = _frameZoomFactor;
    _lastViewPort = Rect(_lastViewPort.origin.x * z, _lastViewPort.origin.y * z,
                         _lastViewPort.size.width * z, _lastViewPort.size.height * z);
}

void GLViewImpl::pollEvents() {
    platform::pollNativeEvents();
    platform::pumpMessages();
}

void GLViewImpl::onWindowSize(platform::WPARAM kind) {
    engine::Application* app = Application::getInstance();
    if (kind == platform::SIZE_MINIMIZED && !_minimized) {
        _minimized = true;
        if (app) app->applicationDidEnterBackground();
    } else if (kind != platform::SIZE_MINIMIZED && _minimized) {
        _minimized = false;
        if (app) app->applicationWillEnterForeground();
    }
}

platform::LRESULT GLViewImpl::windowProc(platform::HWND hwnd, platform::UINT msg, platform::WPARAM wParam,
                                         platform::LPARAM lParam) {
    auto& views = viewsByWindow();
    auto it = views.find(hwnd);
    GLViewImpl* view = it != views.end() ? it->second : nullptr;
    if (view) {
        if (msg == platform::WM_CLOSE) {
            // The window stays until the director tears the view down.
            view->_shouldClose = true;
            Director::getInstance()->end();
            return 0;
        }
        if (msg == platform::WM_NCDESTROY) view->forgetWindow();   // destroyed from outside
        if (msg == platform::WM_SIZE) view->onWindowSize(wParam);
        if (msg == platform::WM_KEYDOWN || msg == platform::WM_KEYUP) {
            const bool repeat = (static_cast<uintptr_t>(lParam) >> 30) & 1u;
            const int action = msg == platform::WM_KEYUP ? 0 : repeat ? 2 : 1;
            const int scancode = static_cast<int>((static_cast<uintptr_t>(lParam) >> 16) & 0xFFu);
            view->retain();
            view->onKeyInput(platform::nativeKeyFromVirtualKey(static_cast<int>(wParam)), scancode, action,
                             platform::nativeKeyModifiers());
            view->release();
            return 0;
        }
        if (msg == platform::WM_CHAR) {
            view->retain();
            view->onCharInput(static_cast<unsigned int>(wParam));
            view->release();
            return 0;
        }
        if (const int button = mouseButtonOf(msg); button >= 0 || msg == platform::WM_MOUSEMOVE) {
            const auto x = static_cast<float>(platform::getXLParam(lParam));
            const auto y = static_cast<float>(platform::getYLParam(lParam));
            view->retain();
            if (msg == platform::WM_MOUSEMOVE) {
                view->handleMouseMove(x, y);
            } else {
                const bool press = msg == platform::WM_LBUTTONDOWN || msg == platform::WM_RBUTTONDOWN ||
                                   msg == platform::WM_MBUTTONDOWN;
                if (button == 0 && press) {
                    platform::setCapture(hwnd);   // a drag that leaves the window still ends here
                } else if (button == 0 && platform::getCapture() == hwnd) {
                    platform::releaseCapture();
                }
                view->handleMouseButton(button, press ? 1 : 0, x, y);
            }
            view->release();
            return 0;
        }
        if (msg == platform::WM_MOUSEWHEEL) {
            // Notches of 120 in the high word, positive turned away from the user;
            // the scroll runs the other way (towards the user positive).
            const auto delta = static_cast<int16_t>((static_cast<uintptr_t>(wParam) >> 16) & 0xFFFFu);
            view->retain();
            view->handleMouseScroll(0.f, -static_cast<float>(delta) / 120.f);
            view->release();
            return 0;
        }
    }
    return platform::defWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace engine
