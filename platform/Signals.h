#pragma once
#include "platform/Window.h"

namespace platform {

// SIGINT and SIGTERM post WM_CLOSE to `mainWindow`: the handler only sets a flag,
// and the next pumpMessages() delivers the close on the main thread.
void installTerminationHandlers(HWND mainWindow);
void uninstallTerminationHandlers();
// True once a termination signal has arrived (and not yet been delivered).
bool terminationRequested();

}  // namespace platform
