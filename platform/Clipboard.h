#pragma once
// The desktop clipboard, as a model with the Win32 shape: it is opened by a window
// (or by no window), emptied to take it over, and holds one memory block per
// format; blocks are movable global blocks with a size and a live count, so tests
// see leaks. Main thread only.
//
// Contract:
// - openClipboard fails while the clipboard is open, and for as many attempts as
//   a test made it busy; an owner that is not a window fails too (0 is allowed).
// - emptyClipboard, getClipboardData and setClipboardData need it open.
//   emptyClipboard frees every block and makes the opener the owner.
// - setClipboardData hands the block over: on success the clipboard owns it (the
//   block of the same format before it is freed); on failure, 0, and the block
//   stays the caller's to free.
// - getClipboardData gives the clipboard's own block (the caller must not free it).
// - isClipboardFormatAvailable works without opening.
#include <cstddef>
#include <cstdint>

#include "platform/Window.h"

namespace platform {

using HGLOBAL = uintptr_t;   // 0 is "no block"

inline constexpr UINT CF_TEXT = 1;
inline constexpr UINT CF_BITMAP = 2;
inline constexpr UINT CF_UNICODETEXT = 13;
inline constexpr UINT GMEM_MOVEABLE = 0x0002;

// Global memory blocks, zero-filled. globalFree answers 0 on success and the
// handle for a bad one; globalLock nullptr for a bad one.
HGLOBAL globalAlloc(UINT flags, size_t bytes);
void* globalLock(HGLOBAL block);
bool globalUnlock(HGLOBAL block);
size_t globalSize(HGLOBAL block);
HGLOBAL globalFree(HGLOBAL block);
int liveGlobalBlockCount();

bool openClipboard(HWND owner);
bool closeClipboard();
bool emptyClipboard();
bool isClipboardFormatAvailable(UINT format);
HGLOBAL getClipboardData(UINT format);
HGLOBAL setClipboardData(UINT format, HGLOBAL block);
HWND getClipboardOwner();
bool isClipboardOpen();

// Tests: the next `attempts` opens fail; the next hand-over fails; a block of any
// format with the given bytes placed on the clipboard as if another program had
// put it there (it keeps the other formats); everything cleared.
void setClipboardBusyForTesting(int attempts);
void failNextClipboardHandOverForTesting();
void putClipboardBlockForTesting(UINT format, const void* bytes, size_t size);
void resetClipboardModel();

}  // namespace platform
