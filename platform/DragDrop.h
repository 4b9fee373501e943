#pragma once
// Dropped files in the window-system model: a window accepts drops
// (DragAcceptFiles), a drop is a record of paths handed over with WM_DROPFILES
// (wParam the HDROP), read with dragQueryFile and released with dragFinish, as
// on Win32. Paths are UTF-8. Main thread only.
#include <string>
#include <vector>

#include "platform/Window.h"

namespace platform {

using HDROP = uintptr_t;

void dragAcceptFiles(HWND hwnd, bool accept);
// index 0xFFFFFFFF: the number of files. Otherwise the length of that file's
// path, stored in `path` when given; 0 for a bad index or drop.
UINT dragQueryFile(HDROP drop, UINT index, std::string* path);
void dragFinish(HDROP drop);

// Drops `paths` on the window, or on its nearest ancestor that accepts files:
// posts WM_DROPFILES with a new drop. False (nothing posted) when none accepts.
bool dropFiles(HWND hwnd, const std::vector<std::string>& paths);
// Drops not finished yet, and calls made with a finished or unknown drop (tests).
int liveDropCount();
int badDropUseCount();

}  // namespace platform
