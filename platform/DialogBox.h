#pragma once
// Modal dialog boxes of the window-system model, built from a template as
// DialogBoxParam does. Nobody sits at the screen: the model records each dialog
// box and answers it at once by pressing a button. Main thread only.
//
// Contract:
// - dialogBoxParam creates the dialog window ("#32770", owned by the owner's
//   top-level window) with the template's controls as children, sends
//   WM_INITDIALOG (lParam `init`) to the dialog procedure, then presses the
//   answer: the next queued answer, else the template's default push button
//   (BS_DEFPUSHBUTTON), else IDOK; i.e. WM_COMMAND (id, BN_CLICKED) to the
//   procedure. When the procedure has not called endDialog then, IDCANCEL is
//   pressed; still open, it ends with -1. The dialog window is destroyed and the
//   endDialog result returned (-1 for a bad owner).
// - The record keeps the template, the owner, WM_INITDIALOG's answer, the ids
//   pressed and the result.
#include <string>
#include <vector>

#include "platform/Window.h"

namespace platform {

using DLGPROC = intptr_t (*)(HWND, UINT, WPARAM, LPARAM);

inline constexpr uint32_t DS_SETFONT = 0x40;
inline constexpr uint32_t DS_MODALFRAME = 0x80;
inline constexpr uint32_t WS_CAPTION = 0x00C00000;
inline constexpr uint32_t WS_SYSMENU = 0x00080000;

struct DialogItem {
    std::string className;   // "BUTTON", "STATIC", ...
    std::string text;
    int id = 0;
    int x = 0, y = 0, cx = 0, cy = 0;   // dialog units
    uint32_t style = 0;
};

struct DialogTemplate {
    uint32_t style = 0;
    std::string caption;
    std::string fontName;
    int pointSize = 0;
    int x = 0, y = 0, cx = 0, cy = 0;   // dialog units
    std::vector<DialogItem> items;
};

struct DialogBoxRecord {
    HWND owner = 0;
    DialogTemplate dialog;
    intptr_t initAnswer = 0;
    std::vector<int> pressed;
    intptr_t result = 0;
};

intptr_t dialogBoxParam(HWND owner, const DialogTemplate& dialog, DLGPROC proc, LPARAM init);
// Ends the dialog box with `result`; false when `dialog` is not an open dialog box.
bool endDialog(HWND dialog, intptr_t result);

// The next dialog box presses `controlId` (tests).
void queueDialogBoxAnswer(int controlId);
// Every dialog box shown since the last reset, oldest first.
std::vector<DialogBoxRecord> dialogBoxRecords();

}  // namespace platform
