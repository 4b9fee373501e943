#pragma once
// Inside the platform layer: the window model's records, shared by the files that
// grow the model (positions and z-order, classes, painting, timers, controls).
// Main thread only. No reference into the table is held across a call into a
// window procedure, which may create or destroy windows.
#include <vector>

#include "platform/Window.h"

namespace platform::detail {

struct WindowRecord {
    std::string className;
    std::string title;
    RECT rect;
    int frameLeft = 0, frameTop = 0, frameRight = 0, frameBottom = 0;
    HWND parent = 0;
    HWND owner = 0;
    std::vector<HWND> children;
    WNDPROC proc = defWindowProc;
    bool visible = true;
    bool destroying = false;
    bool minimized = false;
    bool maximized = false;
    bool topmost = false;
    bool acceptFiles = false;
    bool painted = false;        // of a registered class: gets WM_ERASEBKGND / WM_PAINT
    RECT restoreRect;            // the rectangle before maximising
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int id = 0;                  // control id of a child window
    WPARAM font = 0;
};

WindowRecord* findWindow(HWND hwnd);
// Screen rectangle of the client area.
RECT clientOnScreen(const WindowRecord& w);
// Every live window, in creation order.
std::vector<HWND> allWindows();
// The top-level windows, topmost first.
std::vector<HWND>& zOrder();
// Puts the top-most band first and every owned window above its owner.
void normaliseZOrder();
// Moves the window to `rect` and sends WM_WINDOWPOSCHANGED when the rectangle
// changed or `flags` report a z-order change (no SWP_NOZORDER) or a show/hide,
// then WM_MOVE and WM_SIZE for what changed of the client area. Invalidates a
// painted window whose size changed unless `redraw` is false.
bool placeWindow(HWND hwnd, RECT rect, HWND insertAfter, UINT flags, bool redraw);

// Cleanup of the parts of the model that keep per-window state.
void forgetTimers(HWND hwnd);
void forgetPaintState(HWND hwnd);
void forgetButtonState(HWND hwnd);
void forgetTooltipState(HWND hwnd);
void resetTimers();
void resetPaintState();
void resetButtonState();
void resetTooltipState();
void resetClasses();
void resetDrops();
void resetDialogBoxes();
// Pump steps: deliver the due timers, then paint the windows with an update region.
int deliverDueTimers();
void paintPendingWindows();
// The procedure of a registered class (nullptr when the class is unknown).
WNDPROC classProcedure(const std::string& className);
// Default handling of messages whose work lives in the model's other files.
LRESULT defaultMouseActivate(HWND hwnd, WPARAM topLevel, LPARAM lParam);
LRESULT defaultSysCommand(HWND hwnd, WPARAM command);
LRESULT defaultPaint(HWND hwnd);
LRESULT defaultEraseBackground(HWND hwnd, WPARAM hdc);
// Marks the whole client area of a painted window for repainting.
void invalidateWhole(HWND hwnd, bool erase);
// The mouse-activation step of a button press on `hwnd`: WM_MOUSEACTIVATE when
// the window is outside the foreground window, which may then change; false when
// the answer swallows the press.
bool activateOnPress(HWND hwnd);
// The real window of a model window (NativeWindow.h), when it has one, follows
// the model: its client rectangle, showing, title, minimised state; forgetting
// destroys it.
void nativePlace(HWND hwnd);
void nativeShow(HWND hwnd, bool show);
void nativeTitle(HWND hwnd);
void nativeIconify(HWND hwnd, bool iconify);
void nativeForget(HWND hwnd);
void nativeForgetAll();
// Shows again the pictures of the real windows whose model painting changed.
void nativePresentPictures();
// Forgets the foreground window when it is `hwnd` (0: always).
void forgetActivation(HWND hwnd);

}  // namespace platform::detail
