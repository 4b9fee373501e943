#pragma once
// The "BUTTON" and "STATIC" classes of the window-system model.
//
// Contract:
// - A button is selected (pushed) from a left-button press on it until the
//   release, and holds the mouse capture meanwhile, so the release comes to it
//   wherever it happens; the release inside its client area sends WM_COMMAND to its
//   parent (wParam: id in the low word, BN_CLICKED in the high word; lParam: the
//   button). Losing the capture before the release cancels the press: no click.
//   A release without a press on the button does nothing. BM_CLICK does press and
//   release. Each change of the pushed state invalidates the button.
// - An owner-draw button (BS_OWNERDRAW) paints by sending WM_DRAWITEM to its
//   parent (wParam its id, lParam a DRAWITEMSTRUCT whose hDC is the Cairo context
//   of the paint); ODS_SELECTED while pushed. Other buttons fill their face grey.
// - A static control paints nothing of its own.
// Main thread only.
#include "platform/Paint.h"
#include "platform/Window.h"

namespace platform {

inline constexpr uint32_t BS_PUSHBUTTON = 0x0;
inline constexpr uint32_t BS_DEFPUSHBUTTON = 0x1;
inline constexpr uint32_t BS_OWNERDRAW = 0xB;
inline constexpr uint32_t BS_TYPEMASK = 0xF;
inline constexpr uint32_t SS_CENTER = 0x1;

inline constexpr UINT BN_CLICKED = 0;
inline constexpr UINT BM_GETSTATE = 0x00F2;
inline constexpr UINT BM_CLICK = 0x00F5;
inline constexpr LRESULT BST_PUSHED = 0x0004;

// Owner-draw records.
inline constexpr UINT ODT_BUTTON = 4;
inline constexpr UINT ODA_DRAWENTIRE = 0x1;
inline constexpr UINT ODS_SELECTED = 0x0001;
inline constexpr UINT ODS_FOCUS = 0x0010;
inline constexpr UINT ODS_HOTLIGHT = 0x0040;

struct DRAWITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = 0;
    UINT itemState = 0;
    HWND hwndItem = 0;
    HDC hDC = nullptr;
    RECT rcItem;
    uintptr_t itemData = 0;
};

constexpr WPARAM makeWParam(unsigned lo, unsigned hi) {
    return static_cast<WPARAM>((lo & 0xFFFFu) | ((hi & 0xFFFFu) << 16));
}

}  // namespace platform
