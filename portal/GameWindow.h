#pragma once
// The game window: the window of the engine director's view. It owns the pay
// window and the clipboard, and gets the foreground back when the pay window goes.
#include "platform/Window.h"

namespace portal {

// 0 when the director has no desktop view (or its window is gone).
platform::HWND gameWindow();

}  // namespace portal
