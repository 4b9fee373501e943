#pragma once
// The desktop's browser behind the web-view model: WebKitGTK (GTK 3) on the X11
// display, loaded at run time, so that the program starts without it.
//
// Contract:
// - loadWebKitLoader gives the environment-creation function of the web-view
//   model backed by WebKit, or an empty function when there is no display (see
//   nativeDisplayAvailable), the library does not load or GTK does not start.
//   Decided once per process.
// - preloadWebKit (main thread, at start) loads the library on a worker, which
//   runs no toolkit code; once it is in, a posted task (a later pump) makes the
//   decision above on the main thread, so the first window opened finds the
//   toolkit started. A loadWebKitLoader before then waits for the worker. Does
//   nothing without a display or once decided.
// - The environment keeps the website data and cookies under the user-data
//   folder it is given (made with mode 0700), or in memory only for "".
// - A controller made on a model window gives it a real top-level window, owned
//   by that window's owner's real window: the model window's client area on the
//   screen, its showing and its title are copied to it; the top rows down to the
//   controller's bounds show the model's painting of the window (its header and
//   buttons, which get the pointer there), the browser fills the rest; the close
//   button posts WM_CLOSE to the model window. A move or resize of the real window
//   by the user moves the model window (its client area onto the real window) and,
//   once the real window stood still for 400 ms, posts WM_EXITSIZEMOVE to it.
// - Every browser event reaches the model as a queued task; a navigation waits for
//   its NavigationStarting handlers before it loads (or is dropped when cancelled);
//   redirects raise it again (isRedirected); a pop-up request (target=_blank,
//   window.open) never opens a window of the browser's own; keys pressed in the
//   page go to the accelerator handlers first and reach the page only when none
//   handled them.
// - The GTK main context is iterated from pollNativeEvents (the frame), a bounded
//   number of dispatches each time; there is no second main loop.
// - HTTPS peers are verified against the system's trust store. The test-only
//   program (and in-process tests) may name one more CA file with
//   setWebKitTestTrustAnchor: a certificate it signed is accepted only for the
//   host name it was issued for. setWebKitLibraryForTesting replaces the
//   library's name before the first loadWebKitLoader. The program a user runs
//   calls neither. Main thread only.
#include <string>

#include "platform/WebView.h"

namespace platform {

CreateWebViewEnvironment loadWebKitLoader();
void preloadWebKit();

// The X11 window id of the real window a controller made for `hwnd` (0 for none).
unsigned long webKitWindowOf(HWND hwnd);

void setWebKitTestTrustAnchor(const std::string& caFile);
void setWebKitLibraryForTesting(const std::string& name);

}  // namespace platform
