#pragma once
// A deterministic model of the desktop window system: windows with window and
// client rectangles, replaceable window procedures and a message queue, using the
// Win32 message numbers. Everything runs on the thread that owns the model (the
// main thread) except postMessage, which any thread may call.
#include <cstdint>
#include <string>

namespace platform {

using HWND = uintptr_t;          // 0 is "no window"
using UINT = uint32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct RECT {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const RECT&) const = default;
};

struct POINT {
    int x = 0, y = 0;
};

// Message numbers (as on Win32).
inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_GETMINMAXINFO = 0x0024;
inline constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
inline constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_INITMENUPOPUP = 0x0117;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr UINT WM_SIZING = 0x0214;
inline constexpr UINT WM_MOVING = 0x0216;
inline constexpr UINT WM_ENTERSIZEMOVE = 0x0231;
inline constexpr UINT WM_EXITSIZEMOVE = 0x0232;
inline constexpr UINT WM_DROPFILES = 0x0233;
inline constexpr UINT WM_DPICHANGED = 0x02E0;
inline constexpr UINT WM_USER = 0x0400;
inline constexpr UINT WM_APP = 0x8000;

// Index of SetWindowLong for the window procedure.
inline constexpr int GWLP_WNDPROC = -4;

struct WindowDesc {
    std::string className;
    std::string title;            // UTF-8
    RECT windowRect;              // screen rectangle of the whole window
    int frameLeft = 8, frameTop = 31, frameRight = 8, frameBottom = 8;  // non-client border
    HWND parent = 0;
    WNDPROC proc = nullptr;       // nullptr: defWindowProc
    bool visible = true;
};

HWND createWindow(const WindowDesc& desc);
// Sends WM_DESTROY then WM_NCDESTROY and forgets the window (and its children).
bool destroyWindow(HWND hwnd);
bool isWindow(HWND hwnd);

bool getWindowRect(HWND hwnd, RECT* rect);
// Client area in client coordinates (left and top 0).
bool getClientRect(HWND hwnd, RECT* rect);
// Client area's top-left corner in screen coordinates.
bool clientToScreen(HWND hwnd, POINT* point);
// Moves and sizes the whole window; sends WM_MOVE and WM_SIZE when they change.
bool moveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint);
// Sets the client size, keeping the frame thickness and the top-left corner.
bool setClientSize(HWND hwnd, int width, int height);

std::string getWindowText(HWND hwnd);
bool setWindowText(HWND hwnd, const std::string& text);
bool showWindow(HWND hwnd, bool show);
bool isWindowVisible(HWND hwnd);
HWND getParent(HWND hwnd);

// Replaces the window procedure; returns the previous one (nullptr on a bad handle).
WNDPROC setWindowProc(HWND hwnd, WNDPROC proc);
WNDPROC getWindowProc(HWND hwnd);
LRESULT callWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Default handling: WM_CLOSE destroys the window; everything else answers 0.
LRESULT defWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Calls the window's procedure at once (main thread).
LRESULT sendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Queues the message (any thread).
bool postMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Delivers every queued message (main thread); returns how many were delivered.
int pumpMessages();

// Drops every window and queued message (tests).
void resetWindowModel();

}  // namespace platform
