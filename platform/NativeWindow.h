#pragma once
// Real windows behind the window model, on the desktop's display (GLFW on X11).
// The model stays the one source of truth: a model window given a real window
// here has its moves, sizes, title, showing, hiding, minimising and destruction
// copied to it, and what the user does to the real window comes back as the
// model's messages (queued, delivered by pumpMessages): position and size
// changes through the model's placement (WM_MOVE, WM_SIZE, WM_WINDOWPOSCHANGED),
// focus as activation (WM_ACTIVATE), the close button as WM_CLOSE, minimising
// and restoring as the model's show commands, the mouse through the model's
// cursor (Mouse.h: moves, left button, capture), the right and middle buttons
// as WM_RBUTTONDOWN/UP and WM_MBUTTONDOWN/UP (client coordinates, to the window
// holding the capture or else the one under the cursor), the wheel as
// WM_MOUSEWHEEL (wParam's high word 120 per notch turned away from the user,
// lParam the cursor on the screen), keys as WM_KEYDOWN/WM_KEYUP (virtual-key
// codes; lParam bit 30 set for a repeat, bits 16..23 the scancode) and typed
// text as WM_CHAR (the code point).
//
// Without a display (DISPLAY unset, the display refusing GLFW, or
// VEXO_HEADLESS=1) nothing here does anything and every window stays a model
// window. Main thread only.
#include <string>

#include "platform/Window.h"

namespace platform {

inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;

struct NativeWindowAttrs {
    // The GL context's framebuffer: bits per channel, depth and stencil bits.
    int redBits = 8, greenBits = 8, blueBits = 8, alphaBits = 8;
    int depthBits = 24, stencilBits = 8;
    bool decorated = true;     // false: no title bar nor border
    bool focusOnShow = true;   // false: showing it leaves the focus where it is
    // The window shows the model's painting of itself and its children (Paint.h),
    // shown again after the pump whenever that tree painted or the display asked
    // for it (a repaint uploads the picture into a texture kept in the window's
    // context; a request of the display alone draws the kept texture again);
    // otherwise its GL context is its owner's to draw into.
    bool showsPicture = false;
};

// Decided once, at the first call: true when real windows can be made.
bool nativeDisplayAvailable();
// Gives a top-level model window a real window with a GL context (2.1), placed
// on its client area, titled and shown as it is. False headless, for a child or
// unknown window, or when the display refuses the window.
bool attachNativeWindow(HWND hwnd, const NativeWindowAttrs& attrs);
bool hasNativeWindow(HWND hwnd);
// Makes the window's GL context current on this thread.
bool makeNativeContextCurrent(HWND hwnd);
void swapNativeBuffers(HWND hwnd);
// Vertical-sync interval of the current context.
void setNativeSwapInterval(int interval);
// The real window's framebuffer size in pixels (false without one).
bool getNativeFramebufferSize(HWND hwnd, int* width, int* height);
// Turns the display's pending events into the model's queued messages (the
// pump then shows the windows' pictures that changed).
void pollNativeEvents();
// Modifier bits held at the last key event (1 Shift, 2 Control, 4 Alt, 8 Super).
int nativeKeyModifiers();
// The X11 window id of the window's real window (0 without one), for windows of
// other toolkits that it owns.
unsigned long nativeX11Window(HWND hwnd);
// Raises the window's real window and gives it the keyboard focus (through the
// window manager when one runs). False without a real window or while hidden.
bool focusNativeWindow(HWND hwnd);
// A function run by every pollNativeEvents, also while no real window exists
// (another toolkit's events, iterated from the frame); one at a time, null: none.
void setNativeEventPump(void (*pump)());
// The desktop's clipboard (the CLIPBOARD selection), when a display exists: the
// text on it (false when it holds none, or when its owner does not answer within
// 500 ms: logged, never a wait without end), and taking it over with a text,
// served for as long as the program runs. Both false headless.
bool readNativeClipboardText(std::string* text);
bool writeNativeClipboardText(const std::string& text);
// Virtual-key code <-> the display layer's key number (-1 / 0 when unknown).
int virtualKeyFromNativeKey(int key);
int nativeKeyFromVirtualKey(int virtualKey);

}  // namespace platform
