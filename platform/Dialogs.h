#pragma once
// Message boxes and file, save and folder dialogs, with Win32's styles, flags and
// answer forms. Requests and answers go through a model: tests queue answers and
// read the recorded requests. With nothing queued the program's behaviour applies:
// when VEXO_DIALOGS=zenity is set and the zenity program is found, a real dialog is
// shown through it (blocking until answered; its answer is read from its standard
// output, its error output goes to the debug output); otherwise the caption and text go to
// the debug output and the dialog counts as dismissed (message boxes answer OK,
// else Cancel where offered, No for yes/no; file dialogs are cancelled).
// Main thread only.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/LastError.h"
#include "platform/Window.h"

namespace platform {

// Message box styles and answers.
inline constexpr UINT MB_OK = 0x0;
inline constexpr UINT MB_OKCANCEL = 0x1;
inline constexpr UINT MB_YESNOCANCEL = 0x3;
inline constexpr UINT MB_YESNO = 0x4;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Open and save dialog flags.
inline constexpr uint32_t OFN_HIDEREADONLY = 0x00000004;
inline constexpr uint32_t OFN_ALLOWMULTISELECT = 0x00000200;
inline constexpr uint32_t OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr uint32_t OFN_FILEMUSTEXIST = 0x00001000;
inline constexpr uint32_t OFN_EXPLORER = 0x00080000;
inline constexpr uint32_t OFN_LONGNAMES = 0x00200000;
inline constexpr uint32_t OFN_ENABLESIZING = 0x00800000;
inline constexpr uint32_t OFN_DONTADDTORECENT = 0x02000000;
// Folder dialog flags.
inline constexpr uint32_t BIF_RETURNONLYFSDIRS = 0x0001;
inline constexpr uint32_t BIF_NEWDIALOGSTYLE = 0x0040;
inline constexpr uint32_t BIF_NONEWFOLDERBUTTON = 0x0200;

int messageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

struct OpenFileName {
    HWND owner = 0;
    // Pairs of display text and pattern, each ended by '\0', the list by one more.
    std::string filter;
    std::string initialDir;
    std::string title;
    uint32_t flags = 0;
    // In: the initial file name. Out: the chosen path, or with OFN_ALLOWMULTISELECT
    // a folder followed by the names, each ended by '\0' and the whole by one more
    // (a single chosen file comes as its full path). Files from several folders
    // come under the folder they share, their names holding the rest of the path.
    std::string file;
};
// False when cancelled or failed; commDlgExtendedError() then tells which (0: cancelled).
bool getOpenFileName(OpenFileName& ofn);
bool getSaveFileName(OpenFileName& ofn);
DWORD commDlgExtendedError();

struct BrowseInfo {
    HWND owner = 0;
    std::string title;
    uint32_t flags = 0;
    std::string initialFolder;   // selected when the dialog opens
};
// The chosen folder, "" when cancelled.
std::string browseForFolder(const BrowseInfo& info);

// The items of a list whose items each end with '\0' (the dialogs' filter and
// selection buffers), up to the first empty item.
std::vector<std::string> splitZeroList(const std::string& list);

// The model.
enum class DialogKind { MessageBox, OpenFile, SaveFile, Folder };
struct DialogRequest {
    DialogKind kind;
    HWND owner = 0;
    std::string title;   // caption of a message box
    std::string text;    // message box text
    UINT style = 0;      // message box style or dialog flags
    std::string filter;
    std::string initialDir;
    std::string initialFile;
};
struct DialogAnswer {
    int button = IDOK;      // message boxes
    bool accepted = false;  // dialogs: chosen (else cancelled or failed)
    std::string buffer;     // dialogs: the chosen path(s), in the form described above
    DWORD error = 0;        // dialogs: extended error of a failure
};
void queueDialogAnswer(const DialogAnswer& answer);
std::vector<DialogRequest> dialogRequests();
void resetDialogModel();

}  // namespace platform
