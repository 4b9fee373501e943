#pragma once
// A deterministic model of the desktop window system: windows with window and
// client rectangles, replaceable window procedures and a message queue, using the
// Win32 message numbers. Everything runs on the thread that owns the model (the
// main thread) except postMessage, which any thread may call.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/IntClamp.h"

namespace platform {

using HWND = uintptr_t;          // 0 is "no window"
using UINT = uint32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct RECT {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return clampToInt(int64_t{right} - left); }
    int height() const { return clampToInt(int64_t{bottom} - top); }
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
inline constexpr UINT WM_SETFONT = 0x0030;
inline constexpr UINT WM_GETFONT = 0x0031;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SETTINGCHANGE = 0x001A;
inline constexpr UINT WM_GETMINMAXINFO = 0x0024;
inline constexpr UINT WM_MOUSEACTIVATE = 0x0021;
inline constexpr UINT WM_DRAWITEM = 0x002B;
inline constexpr UINT WM_MEASUREITEM = 0x002C;
inline constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
inline constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr UINT WM_COPYDATA = 0x004A;
inline constexpr UINT WM_DISPLAYCHANGE = 0x007E;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_INITDIALOG = 0x0110;
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

// wParam of WM_SIZE for a plain resize.
inline constexpr WPARAM SIZE_RESTORED = 0;

// Packing of two 16-bit words into an lParam (WM_MOVE, WM_SIZE, mouse messages):
// the low word holds `lo`, the high word `hi`, each cut to 16 bits.
constexpr LPARAM makeLParam(int lo, int hi) {
    return static_cast<LPARAM>((static_cast<uint32_t>(lo) & 0xFFFFu) |
                               ((static_cast<uint32_t>(hi) & 0xFFFFu) << 16));
}
constexpr unsigned loWord(uintptr_t value) { return static_cast<unsigned>(value & 0xFFFFu); }
constexpr unsigned hiWord(uintptr_t value) { return static_cast<unsigned>((value >> 16) & 0xFFFFu); }
// Signed coordinates of a packed lParam (negative positions survive the packing).
constexpr int getXLParam(LPARAM lParam) { return static_cast<int16_t>(loWord(static_cast<uintptr_t>(lParam))); }
constexpr int getYLParam(LPARAM lParam) { return static_cast<int16_t>(hiWord(static_cast<uintptr_t>(lParam))); }

struct WindowDesc {
    std::string className;
    std::string title;            // UTF-8
    RECT windowRect;              // screen rectangle of the whole window
    int frameLeft = 8, frameTop = 31, frameRight = 8, frameBottom = 8;  // non-client border
    HWND parent = 0;              // the parent of a child window
    HWND owner = 0;               // the owner of a top-level window (owned windows stay above it)
    int id = 0;                   // control id of a child window
    WNDPROC proc = nullptr;       // nullptr: the registered class's procedure, else defWindowProc
    bool visible = true;
    uint32_t style = 0;           // WS_ / ES_ bits, kept as given
    uint32_t exStyle = 0;         // WS_EX_ bits, kept as given
};

// Style bits the model knows by name.
inline constexpr uint32_t WS_POPUP = 0x80000000;
inline constexpr uint32_t WS_CHILD = 0x40000000;
inline constexpr uint32_t WS_MINIMIZE = 0x20000000;
inline constexpr uint32_t WS_VISIBLE = 0x10000000;
inline constexpr uint32_t WS_CLIPCHILDREN = 0x02000000;
inline constexpr uint32_t WS_MAXIMIZE = 0x01000000;
inline constexpr uint32_t WS_VSCROLL = 0x00200000;
inline constexpr uint32_t WS_EX_TOPMOST = 0x00000008;
inline constexpr uint32_t WS_EX_ACCEPTFILES = 0x00000010;
inline constexpr uint32_t WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr uint32_t WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr uint32_t WS_EX_NOACTIVATE = 0x08000000;
inline constexpr uint32_t ES_MULTILINE = 0x0004;
inline constexpr uint32_t ES_AUTOVSCROLL = 0x0040;
inline constexpr uint32_t ES_AUTOHSCROLL = 0x0080;
inline constexpr uint32_t ES_WANTRETURN = 0x1000;

// Creates the window and sends it WM_CREATE with lParam pointing at `desc`. A
// procedure that answers WM_CREATE with -1 refuses the window: it is destroyed and
// 0 is returned. 0 also for a parent or owner that is not a window. A top-level
// window goes on top of its band (top-most with WS_EX_TOPMOST or a top-most
// owner). A window of a registered class (platform/WindowClass.h) takes the class's
// procedure when `desc.proc` is null and is painted (platform/Paint.h); it starts
// with its whole client area invalid.
HWND createWindow(const WindowDesc& desc);
// Destroys the owned windows and the children first (each the same way), then
// sends the window WM_DESTROY and WM_NCDESTROY and forgets it with its timers.
// Its queued messages are dropped. False for a bad handle or a window already
// being destroyed.
bool destroyWindow(HWND hwnd);
bool isWindow(HWND hwnd);

bool getWindowRect(HWND hwnd, RECT* rect);
// Client area in client coordinates (left and top 0).
bool getClientRect(HWND hwnd, RECT* rect);
// Converts a point from client to screen coordinates: (0, 0) becomes the client
// area's top-left corner on the screen.
bool clientToScreen(HWND hwnd, POINT* point);
// The reverse: a screen point in the window's client coordinates.
bool screenToClient(HWND hwnd, POINT* point);
// The deepest visible window whose window rectangle holds the screen point: among
// top-level windows the last created wins, then among its children likewise; 0
// when none holds it.
HWND windowFromPoint(POINT screen);
// Every rectangle is in screen coordinates, children's too: moving a parent does
// not move its children.
// Moves and sizes the whole window (a negative size counts as 0). Sends WM_MOVE
// (lParam = client left/top on the screen, makeLParam) when the client area's
// position changed, then WM_SIZE (SIZE_RESTORED, lParam = client width/height)
// when its size changed.
bool moveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint);
// Sets the client size, keeping the frame thickness and the top-left corner.
bool setClientSize(HWND hwnd, int width, int height);

std::string getWindowText(HWND hwnd);
bool setWindowText(HWND hwnd, const std::string& text);
// Shows or hides the window, sending WM_SHOWWINDOW (wParam 1 or 0) when that
// changes; returns whether it was visible before (false for a bad handle).
bool showWindow(HWND hwnd, bool show);
// Visible when the window and all its ancestors are shown.
bool isWindowVisible(HWND hwnd);
HWND getParent(HWND hwnd);
HWND getOwner(HWND hwnd);
// The window itself for a top-level window, else its top-level ancestor.
HWND getAncestorRoot(HWND hwnd);
std::string getClassName(HWND hwnd);
// The style as given, with WS_MINIMIZE / WS_MAXIMIZE while the window is so.
uint32_t getWindowStyle(HWND hwnd);
// The extended style as given, with WS_EX_TOPMOST while top-most and
// WS_EX_ACCEPTFILES while accepting dropped files.
uint32_t getWindowExStyle(HWND hwnd);
// Control ids: the child's id (0 for a bad handle), the child of `parent` with
// that id (0 when none).
int getDlgCtrlID(HWND hwnd);
HWND getDlgItem(HWND parent, int id);

// Keyboard focus: one window or none. setFocus sends WM_KILLFOCUS to the window
// losing it and WM_SETFOCUS to the one getting it, and returns the previous one (0
// for a bad handle, focus unchanged). A destroyed window loses it.
HWND setFocus(HWND hwnd);
HWND getFocus();

// Replaces the window procedure (nullptr: defWindowProc); returns the previous one
// (nullptr on a bad handle). A window created without a procedure has
// defWindowProc, so the previous procedure can always be chained to.
WNDPROC setWindowProc(HWND hwnd, WNDPROC proc);
WNDPROC getWindowProc(HWND hwnd);
// Calls `proc` (nullptr: defWindowProc) with the message.
LRESULT callWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Default handling: WM_CLOSE destroys the window; WM_SETFONT keeps wParam as the
// window's font, WM_GETFONT answers it; WM_MOUSEACTIVATE asks a child's parent
// and answers MA_NOACTIVATE for a WS_EX_NOACTIVATE window, else MA_ACTIVATE;
// WM_SYSCOMMAND minimises, maximises, restores or closes (platform/WindowPos.h);
// WM_PAINT validates, WM_ERASEBKGND fills with the class background
// (platform/Paint.h); everything else answers 0.
LRESULT defWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Calls the window's procedure at once (main thread); 0 for a bad handle.
LRESULT sendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Queues the message (any thread); false when `hwnd` is not a window.
bool postMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Queues a function that the pump runs in its turn among the messages (any
// thread); services that report events through the message loop use it.
void postTask(std::function<void()> task);
// Main thread. First delivers a pending termination request (WM_CLOSE to the
// window given to installTerminationHandlers), then the messages (and tasks) that
// were queued when the pump started, in order; messages posted meanwhile wait for the next
// pump, so a procedure that posts again cannot keep it running. Messages of
// windows destroyed in the meantime are dropped. Then WM_TIMER for every due
// timer (platform/Timer.h), then WM_ERASEBKGND / WM_PAINT for every visible
// painted window with an update region (platform/Paint.h). Returns how many
// queued, termination and timer messages were delivered (paints not counted).
int pumpMessages();

// Drops every window, queued message, timer, drop and registered class (tests).
void resetWindowModel();

}  // namespace platform
