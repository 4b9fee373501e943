#include "platform/DialogBox.h"

#include <deque>
#include <map>

#include "platform/Button.h"
#include "platform/Dialogs.h"
#include "platform/WindowRecord.h"

namespace platform {
namespace {

struct OpenDialog {
    DLGPROC proc = nullptr;
    bool ended = false;
    intptr_t result = 0;
};

struct DialogState {
    std::map<HWND, OpenDialog> open;
    std::deque<int> answers;
    std::vector<DialogBoxRecord> records;
};

DialogState& state() {
    static DialogState s;
    return s;
}

// The id a person would press: a queued answer, the default push button, IDOK.
int answerFor(const DialogTemplate& dialog) {
    if (!state().answers.empty()) {
        const int id = state().answers.front();
        state().answers.pop_front();
        return id;
    }
    for (const DialogItem& item : dialog.items) {
        if (item.className == "BUTTON" && (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return item.id;
    }
    return IDOK;
}

bool isOpen(HWND dialog) {
    auto it = state().open.find(dialog);
    return it != state().open.end() && !it->second.ended;
}

void press(HWND dialog, int id, DialogBoxRecord& record) {
    record.pressed.push_back(id);
    sendMessage(dialog, WM_COMMAND, makeWParam(static_cast<unsigned>(id), BN_CLICKED),
                static_cast<LPARAM>(getDlgItem(dialog, id)));
}

}  // namespace

namespace detail {

void resetDialogBoxes() { state() = DialogState{}; }

LRESULT dialogWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto it = state().open.find(hwnd);
    if (it != state().open.end() && it->second.proc && msg != WM_CREATE) {
        const intptr_t handled = it->second.proc(hwnd, msg, wParam, lParam);
        if (handled != 0 || msg == WM_INITDIALOG) return handled;
    }
    if (msg == WM_CLOSE) return 0;   // a dialog box closes through endDialog
    return defWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace detail

intptr_t dialogBoxParam(HWND owner, const DialogTemplate& dialog, DLGPROC proc, LPARAM init) {
    if (owner != 0 && !isWindow(owner)) return -1;
    WindowDesc desc;
    desc.className = "#32770";
    desc.title = dialog.caption;
    desc.owner = getAncestorRoot(owner);
    desc.style = dialog.style | WS_POPUP;
    // Dialog units as pixels of an 8-point font: 4 horizontal units a character
    // 7 pixels wide, 8 vertical ones a line 16 pixels high.
    desc.windowRect = RECT{dialog.x * 7 / 4, dialog.y * 2, (dialog.x + dialog.cx) * 7 / 4,
                           (dialog.y + dialog.cy) * 2 + desc.frameTop + desc.frameBottom};
    const HWND hwnd = createWindow(desc);
    if (!hwnd) return -1;
    state().open[hwnd] = OpenDialog{proc, false, 0};
    for (const DialogItem& item : dialog.items) {
        WindowDesc child;
        child.className = item.className;
        child.title = item.text;
        child.parent = hwnd;
        child.id = item.id;
        child.style = item.style | WS_CHILD;
        child.frameLeft = child.frameTop = child.frameRight = child.frameBottom = 0;
        POINT origin{item.x * 7 / 4, item.y * 2};
        clientToScreen(hwnd, &origin);
        child.windowRect = RECT{origin.x, origin.y, origin.x + item.cx * 7 / 4, origin.y + item.cy * 2};
        createWindow(child);
    }

    DialogBoxRecord record;
    record.owner = owner;
    record.dialog = dialog;
    record.initAnswer = proc ? proc(hwnd, WM_INITDIALOG, 0, init) : 0;
    if (isOpen(hwnd)) press(hwnd, answerFor(dialog), record);
    if (isOpen(hwnd)) press(hwnd, IDCANCEL, record);
    auto it = state().open.find(hwnd);
    record.result = it != state().open.end() && it->second.ended ? it->second.result : -1;
    state().open.erase(hwnd);
    destroyWindow(hwnd);
    state().records.push_back(record);
    return record.result;
}

bool endDialog(HWND dialog, intptr_t result) {
    auto it = state().open.find(dialog);
    if (it == state().open.end() || it->second.ended) return false;
    it->second.ended = true;
    it->second.result = result;
    return true;
}

void queueDialogBoxAnswer(int controlId) { state().answers.push_back(controlId); }

std::vector<DialogBoxRecord> dialogBoxRecords() { return state().records; }

}  // namespace platform
