#include "portal/GameWindow.h"

#include "engine/app/GLView.h"
#include "engine/base/Director.h"

namespace portal {

platform::HWND gameWindow() {
    auto* view = dynamic_cast<engine::GLViewImpl*>(engine::Director::getInstance()->getOpenGLView());
    if (!view) return 0;
    platform::HWND window = view->getWin32Window();
    return platform::isWindow(window) ? window : 0;
}

}  // namespace portal
