#pragma once
// The game view: frame (window) size, design resolution and its policies, zoom.
// Headless: the view owns a window in the platform's window model, no GL context.
#include <map>
#include <string>
#include <vector>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"
#include "platform/Window.h"

namespace engine {

class Touch;

enum class ResolutionPolicy { EXACT_FIT = 0, NO_BORDER = 1, SHOW_ALL = 2, FIXED_HEIGHT = 3, FIXED_WIDTH = 4, UNKNOWN = 5 };

struct GLContextAttrs {
    int redBits = 8, greenBits = 8, blueBits = 8, alphaBits = 8;
    int depthBits = 24, stencilBits = 8;
};

class GLView : public Ref {
public:
    static void setGLContextAttrs(const GLContextAttrs& attrs);
    static GLContextAttrs getGLContextAttrs();

    virtual void end() {}
    virtual bool isOpenGLReady() { return true; }
    virtual void swapBuffers() {}
    virtual void pollEvents() {}
    virtual bool windowShouldClose() { return false; }

    virtual const Size& getFrameSize() const { return _screenSize; }
    virtual void setFrameSize(float width, float height);
    virtual void setFrameZoomFactor(float zoom) { _frameZoomFactor = zoom; }
    virtual float getFrameZoomFactor() const { return _frameZoomFactor; }

    // Design resolution and the scale/viewport that its policy gives for the frame:
    //   EXACT_FIT     scaleX = frame.w / design.w, scaleY = frame.h / design.h
    //   NO_BORDER     both scales the larger of the two (the design area overflows)
    //   SHOW_ALL      both scales the smaller of the two (bars around the design area)
    //   FIXED_HEIGHT  both frame.h / design.h; the design width becomes frame.w / scale
    //   FIXED_WIDTH   both frame.w / design.w; the design height becomes frame.h / scale
    // The viewport is the design size times the scales, centred in the frame. A zero
    // design size is refused with a log line. Without a policy the scales are 1 and
    // the viewport is the frame. When this is the director's view, the director's
    // viewport follows.
    virtual void setDesignResolutionSize(float width, float height, ResolutionPolicy policy);
    const Size& getDesignResolutionSize() const { return _designResolutionSize; }
    ResolutionPolicy getResolutionPolicy() const { return _resolutionPolicy; }
    // The part of the design area inside the frame, centred in the design area:
    // frame / scale clamped to the design size, which only NO_BORDER cuts; the
    // other policies give the design size exactly. Without a policy: the frame
    // size at origin 0.
    Size getVisibleSize() const;
    Vec2 getVisibleOrigin() const;
    float getScaleX() const { return _scaleX; }
    float getScaleY() const { return _scaleY; }
    const Rect& getViewPortRect() const { return _viewPortRect; }
    // Records the pixel rectangle that a rectangle in design points covers:
    // (x * scaleX + viewport.x, y * scaleY + viewport.y, w * scaleX, h * scaleY).
    virtual void setViewPortInPoints(float x, float y, float w, float h);
    const Rect& getLastViewPort() const { return _lastViewPort; }

    // Keyboard input from the window system, in GLFW numbering (key codes; actions
    // 0 release, 1 press, 2 repeat; modifier bits). The text-input hooks see it
    // first, and what they take goes no further. Otherwise Backspace (press or
    // repeat) deletes backward in the attached input-method delegate, a typed
    // code point is inserted there as UTF-8, and a key with an engine key code
    // (EventKeyboard::KeyCode; Escape is the back key 7, Menu the menu key 18)
    // goes to the director's event dispatcher as a key press (press or repeat)
    // or release.
    void onKeyInput(int key, int scancode, int action, int mods);
    void onCharInput(unsigned int codePoint);

    void setViewName(const std::string& name) { _viewName = name; }
    const std::string& getViewName() const { return _viewName; }

    // Touch input in view coordinates (frame points, y down), delivered at once to
    // the director's event dispatcher. A begin for an id already down, or a move,
    // end or cancel for an id that is not, is ignored.
    void handleTouchBegin(int id, float x, float y);
    void handleTouchMove(int id, float x, float y);
    void handleTouchEnd(int id, float x, float y);
    void handleTouchCancel(int id, float x, float y);
    // The touches now down, by id (not retained for the caller).
    std::vector<Touch*> getAllTouches() const;

    // Mouse input from the window system, in frame pixels (y down; over the zoom
    // factor they become view points): GLFW buttons (0 left, 1 right, 2 middle)
    // and actions (1 press, 0 release). Each makes a mouse event for the
    // director's event dispatcher (down, up, move, scroll) carrying the cursor in
    // design points, y up, as a touch's location gives it (viewport offset and
    // scales taken out); a move carries button 0 while the left button is held,
    // else -1; a scroll carries the last cursor. The left button is also touch 0
    // (begins on press, moves while held, ends on release).
    void handleMouseButton(int button, int action, float x, float y);
    void handleMouseMove(float x, float y);
    void handleMouseScroll(float scrollX, float scrollY);
    // The engine key code of a GLFW key; 0 for a key without one.
    static int keyCodeFromGlfw(int key);
    ~GLView() override;

protected:
    GLView() = default;
    void updateDesignResolutionSize();

    Size _screenSize;
    Size _designResolutionSize;
    Rect _viewPortRect;
    Rect _lastViewPort;
    std::string _viewName;
    float _scaleX = 1.f, _scaleY = 1.f;
    float _frameZoomFactor = 1.f;
    ResolutionPolicy _resolutionPolicy = ResolutionPolicy::UNKNOWN;

private:
    void deliverTouch(int code, int id, float x, float y);
    // Frame pixels over the zoom: the cursor in view points.
    void setCursor(float x, float y);
    void dispatchMouse(int type, int button, float scrollX = 0, float scrollY = 0);
    std::map<int, Touch*> _touches;   // retained while down
    float _cursorX = 0, _cursorY = 0; // view points
    bool _leftButtonDown = false;
};

// The desktop view: a top-level window in the platform model whose client area is
// the frame size times the zoom factor. Closing that window (WM_CLOSE) ends the
// director's loop. Mouse messages (WM_MOUSEMOVE, the left, right and middle
// buttons' WM_*BUTTONDOWN / WM_*BUTTONUP in client pixels, WM_MOUSEWHEEL) go to
// handleMouseMove / handleMouseButton / handleMouseScroll (a wheel notch of 120
// turned away from the user scrolls by -1), so the left button is also touch 0;
// the window holds the mouse capture while the left button is down. Keys (WM_KEYDOWN / WM_KEYUP, virtual-key codes) and typed characters (WM_CHAR)
// go to onKeyInput / onCharInput. Minimising the window sends the application to
// the background, restoring it brings it back to the foreground.
// With a display (platform/NativeWindow.h) the window is also a real one with a
// GL context of the GLContextAttrs, current on this thread with the system GL
// table installed and a swap interval of 1: swapBuffers shows the frame. Headless
// the view draws through the no-op table and swapBuffers does nothing.
class GLViewImpl : public GLView {
public:
    // Frame size = the rect's size. The window is titled with the view name, its
    // client area is the frame size times the zoom (rounded) and its top-left corner
    // is at the rect's origin. Autoreleased; nullptr when no window could be made.
    static GLViewImpl* createWithRect(const std::string& viewName, const Rect& rect,
                                      float frameZoomFactor = 1.0f);
    // The same at (0, 0) with the default frame of kDefaultFrameSize.
    static GLViewImpl* create(const std::string& viewName);
    static constexpr Size kDefaultFrameSize{960, 640};
    ~GLViewImpl() override;

    platform::HWND getWin32Window() const { return _window; }
    void setFrameZoomFactor(float zoom) override;   // resizes the window's client area
    void setFrameSize(float width, float height) override;
    // In window pixels: the design-point rectangle times the scales and the zoom.
    void setViewPortInPoints(float x, float y, float w, float h) override;
    // Headless: true. With a real window: whether its GL context is in use.
    bool isOpenGLReady() override;
    void swapBuffers() override;
    // The display's events, then the platform messages.
    void pollEvents() override;
    bool windowShouldClose() override { return _shouldClose; }
    void end() override;                            // destroys the window

private:
    GLViewImpl() = default;
    bool initWithRect(const std::string& viewName, const Rect& rect, float frameZoomFactor);
    void updateWindowSize();
    // Main thread only: finds the view of the window through a process-wide table.
    static platform::LRESULT windowProc(platform::HWND, platform::UINT, platform::WPARAM, platform::LPARAM);
    void forgetWindow();
    void openGLContext();
    void onWindowSize(platform::WPARAM kind);

    platform::HWND _window = 0;
    bool _shouldClose = false;
    bool _glContext = false;   // the real window's context is current with the system table
    bool _minimized = false;
};

}  // namespace engine
