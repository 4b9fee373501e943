#pragma once
// The virtual X screen the display tests run on: top-level windows found by
// title, pixels read back from the screen, the window manager's close request, and
// input through xdotool.
#include <array>
#include <string>
#include <vector>

// Last: Xlib's macros (None, Bool, Status) would spoil the headers above.
#include <X11/Xlib.h>

namespace xscreen {

using Rgb = std::array<int, 3>;

std::string windowName(Display* display, Window window);
// The viewable top-level window of that title, 0 when there is none.
Window findWindow(Display* display, const std::string& title);
// Any top-level window of that title, viewable or not (0: none).
Window findAnyWindow(Display* display, const std::string& title);
bool isViewable(Display* display, Window window);

// A rectangle of the screen as it shows, top-left first.
struct Area {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const;   // relative to the area; {-1,-1,-1} outside
};
// The window's area of the root window (its left and top on the screen).
Area grabWindow(Display* display, Window window);

// Every channel within `tolerance` of the expected colour.
bool near(const Rgb& a, const Rgb& b, int tolerance = 10);
std::string show(const Rgb& c);

// The window manager's close request, as its close button sends it.
void requestClose(Display* display, Window window);

bool xdotool(const std::string& arguments);
bool click(int x, int y);

}  // namespace xscreen
