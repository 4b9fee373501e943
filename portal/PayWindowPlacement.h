#pragma once
// Where the pay window was last left, kept between runs in the program's user
// folder ("paywin.txt": "left top width height" of the whole window in screen
// pixels, one line without a line end), and the web view's user-data folder
// beside it.
//
// Contract:
// - No user folder (no data home): nothing is loaded or saved, and the web view
//   gets no user-data folder ("").
// - Save is skipped while the window is minimised or when its rectangle cannot be
//   read; the file is replaced whole (a reader never sees half a line).
// - Load accepts exactly four integers (blanks around them allowed) with a width
//   and height of at least 300, on a rectangle that overlaps a monitor; anything
//   else is ignored (false).
#include <string>

#include "platform/Window.h"

namespace portal {

std::string payWindowPlacementPath();
std::string payWebViewUserDataFolder();
bool loadPayWindowPlacement(platform::RECT* windowRect);
// The placement text's rules alone (file content in, rectangle out).
bool parsePayWindowPlacement(const std::string& text, platform::RECT* windowRect);
void savePayWindowPlacement(platform::HWND window);

}  // namespace portal
