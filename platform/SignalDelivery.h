#pragma once
// Between the termination handlers and the message pump (inside the platform layer).
#include "platform/Window.h"

namespace platform::detail {

// When a termination signal arrived since the last call: clears the request and
// returns the window that should get WM_CLOSE (0 when none was given). Else 0.
HWND takeTerminationRequest();

}  // namespace platform::detail
