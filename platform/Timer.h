#pragma once
// Window timers of the window-system model (SetTimer without a callback). A timer
// is due its interval after it was set or last delivered, on platform::SteadyClock;
// the pump delivers WM_TIMER (wParam the id, lParam 0) once per due timer, after
// the queued messages. Setting an existing id again restarts it with the new
// interval. Destroying the window kills its timers. Main thread only.
#include <cstdint>

#include "platform/Window.h"

namespace platform {

// Returns the id, or 0 for a bad handle.
uintptr_t setTimer(HWND hwnd, uintptr_t id, UINT milliseconds);
// False when there is no such timer.
bool killTimer(HWND hwnd, uintptr_t id);
bool isTimerSet(HWND hwnd, uintptr_t id);
// Live timers of every window (tests).
int timerCount();

}  // namespace platform
