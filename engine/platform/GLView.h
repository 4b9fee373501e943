#pragma once
// The game view: frame (window) size, design resolution and its policies, zoom.
// Headless: the view owns a window in the platform's window model, no GL context.
#include <string>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"
#include "platform/Window.h"

namespace engine {

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

    // Design resolution and the scale/viewport that its policy gives for the frame.
    virtual void setDesignResolutionSize(float width, float height, ResolutionPolicy policy);
    const Size& getDesignResolutionSize() const { return _designResolutionSize; }
    ResolutionPolicy getResolutionPolicy() const { return _resolutionPolicy; }
    Size getVisibleSize() const;
    Vec2 getVisibleOrigin() const;
    float getScaleX() const { return _scaleX; }
    float getScaleY() const { return _scaleY; }
    const Rect& getViewPortRect() const { return _viewPortRect; }
    virtual void setViewPortInPoints(float x, float y, float w, float h);
    const Rect& getLastViewPort() const { return _lastViewPort; }

    void setViewName(const std::string& name) { _viewName = name; }
    const std::string& getViewName() const { return _viewName; }

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
};

// The desktop view: a top-level window in the platform model whose client area is
// the frame size times the zoom factor. Closing that window (WM_CLOSE) ends the
// director's loop.
class GLViewImpl : public GLView {
public:
    static GLViewImpl* createWithRect(const std::string& viewName, const Rect& rect,
                                      float frameZoomFactor = 1.0f);
    ~GLViewImpl() override;

    platform::HWND getWin32Window() const { return _window; }
    void setFrameZoomFactor(float zoom) override;   // resizes the window's client area
    void setFrameSize(float width, float height) override;
    void pollEvents() override;                     // pumps the platform messages
    bool windowShouldClose() override { return _shouldClose; }
    void end() override;                            // destroys the window

private:
    GLViewImpl() = default;
    bool initWithRect(const std::string& viewName, const Rect& rect, float frameZoomFactor);
    void updateWindowSize();
    static platform::LRESULT windowProc(platform::HWND, platform::UINT, platform::WPARAM, platform::LPARAM);

    platform::HWND _window = 0;
    bool _shouldClose = false;
};

}  // namespace engine
