#pragma once
// Painting in the window-system model: every window of a registered class
// (platform/WindowClass.h) has a Cairo image surface of its client size (ARGB,
// premultiplied) and an update rectangle.
//
// Contract:
// - Invalidation grows the update rectangle (client coordinates); a new window,
//   a window shown and a window whose size changed are invalid as a whole, with
//   erasing. Hidden windows keep their update rectangle until shown.
// - The pump sends WM_PAINT to every visible painted window with an update
//   rectangle (creation order, so a parent before its children). beginPaint
//   validates, sends WM_ERASEBKGND (wParam the HDC) when erasing was asked, and
//   answers a Cairo context clipped to the update rectangle; endPaint releases it.
//   A procedure that leaves WM_PAINT to defWindowProc gets that pair; one that
//   paints nothing is validated after the message all the same.
// - defWindowProc fills WM_ERASEBKGND with the class background (answer 1), or
//   leaves it (answer 0) when the class has none.
// - Pixel (x, y) covers [x, x+1) × [y, y+1) of the client area.
// Main thread only.
#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Window.h"

namespace platform {

using HDC = cairo_t*;

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    bool fErase = false;   // true when WM_ERASEBKGND left the background unerased
    RECT rcPaint;
};

// RedrawWindow flags.
inline constexpr UINT RDW_INVALIDATE = 0x0001;
inline constexpr UINT RDW_ERASE = 0x0004;
inline constexpr UINT RDW_VALIDATE = 0x0008;
inline constexpr UINT RDW_ALLCHILDREN = 0x0080;
inline constexpr UINT RDW_UPDATENOW = 0x0100;

// nullptr for a bad handle or a window that is not painted.
HDC beginPaint(HWND hwnd, PAINTSTRUCT* ps);
bool endPaint(HWND hwnd, const PAINTSTRUCT* ps);
// `rect` in client coordinates, nullptr for the whole client area.
bool invalidateRect(HWND hwnd, const RECT* rect, bool erase);
bool validateRect(HWND hwnd, const RECT* rect);
// True when the window has an update rectangle (copied to `rect` when given).
bool getUpdateRect(HWND hwnd, RECT* rect);
// Sends WM_PAINT now when the window is visible and has an update rectangle.
bool updateWindow(HWND hwnd);
// Invalidates or validates the rectangle (nullptr: whole), of the children too
// with RDW_ALLCHILDREN; RDW_UPDATENOW paints at once.
bool redrawWindow(HWND hwnd, const RECT* rect, UINT flags);
// WM_PAINT messages the window received (tests, benchmarks).
int paintCount(HWND hwnd);

// A window's client area with its visible children drawn over it, after painting
// what is pending in that tree. Pixels are 0xAARRGGBB (premultiplied).
struct WindowImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;   // row by row
    uint32_t pixel(int x, int y) const;   // 0 outside
    bool writePng(const std::string& path) const;
};
WindowImage composeWindow(HWND hwnd);

// Cairo's text keeps font caches (its own and fontconfig's) for the whole
// process. A painter that draws text calls this once: at exit the window surfaces
// and those caches are released, so memory checkers see a clean end.
void releaseFontCachesAtExit();
// Another toolkit in the process holds Cairo and fontconfig objects until the end:
// the caches are then left to the process's end.
void keepFontCachesAtExit();

}  // namespace platform
