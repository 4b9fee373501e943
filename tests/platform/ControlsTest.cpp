#include <gtest/gtest.h>

#include <vector>

#include "platform/Button.h"
#include "platform/DialogBox.h"
#include "platform/Dialogs.h"
#include "platform/Mouse.h"
#include "platform/Tooltip.h"
#include "platform/WindowPos.h"

using namespace platform;

namespace {

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetWindowModel();
        resetMouseModel();
    }
    void TearDown() override {
        resetWindowModel();
        resetMouseModel();
    }
};

int clicks = 0;
LRESULT countClicks(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && wParam == makeWParam(5, BN_CLICKED)) ++clicks;
    return defWindowProc(hwnd, msg, wParam, lParam);
}

TEST_F(ControlsTest, TooltipKeepsToolTextsAndShowsThemOnHover) {
    ASSERT_TRUE(initCommonControlsEx(ICC_WIN95_CLASSES));
    WindowDesc desc;
    HWND owner = createWindow(desc);
    desc.parent = owner;
    HWND tool = createWindow(desc);
    WindowDesc tipDesc;
    tipDesc.className = TOOLTIPS_CLASS;
    tipDesc.owner = owner;
    tipDesc.visible = false;
    tipDesc.exStyle = WS_EX_TOPMOST;
    tipDesc.style = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX;
    HWND tip = createWindow(tipDesc);
    ASSERT_NE(tip, 0u);

    TTTOOLINFO info;
    info.cbSize = 48;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner;
    info.uId = tool;
    info.text = "Thu nhỏ";
    EXPECT_EQ(sendMessage(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)), 1);
    TTTOOLINFO wrongSize = info;
    wrongSize.cbSize = 40;
    wrongSize.uId = owner;
    EXPECT_EQ(sendMessage(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&wrongSize)), 0);
    EXPECT_EQ(sendMessage(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    sendMessage(tip, TTM_SETMAXTIPWIDTH, 0, 320);
    EXPECT_EQ(sendMessage(tip, TTM_GETMAXTIPWIDTH, 0, 0), 320);

    info.text = "Phóng to";
    sendMessage(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(tooltipToolText(tip, owner, tool), "Phóng to");
    EXPECT_EQ(tooltipToolText(tip, owner, owner), "");

    EXPECT_FALSE(isWindowVisible(tip));
    EXPECT_EQ(hoverTool(tool), tip);
    EXPECT_TRUE(isWindowVisible(tip));
    EXPECT_EQ(getWindowText(tip), "Phóng to");
    sendMessage(tip, TTM_POP, 0, 0);
    EXPECT_FALSE(isWindowVisible(tip));
    EXPECT_EQ(hoverTool(owner), 0u) << "not a tool";
}

struct AboutLog {
    std::vector<UINT> messages;
    LPARAM init = 0;
    bool endOnOk = true;
} aboutLog;

intptr_t aboutProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    aboutLog.messages.push_back(msg);
    if (msg == WM_INITDIALOG) {
        aboutLog.init = lParam;
        return 1;
    }
    if (msg == WM_COMMAND && (loWord(wParam) == IDCANCEL || (aboutLog.endOnOk && loWord(wParam) == IDOK))) {
        endDialog(dialog, static_cast<intptr_t>(loWord(wParam)));
        return 1;
    }
    return 0;
}

TEST_F(ControlsTest, PushButtonClicksOnlyForAPressAndReleaseOnIt) {
    WindowDesc desc;
    desc.windowRect = {100, 100, 400, 300};
    desc.frameLeft = desc.frameTop = desc.frameRight = desc.frameBottom = 0;
    desc.proc = countClicks;
    HWND parent = createWindow(desc);
    WindowDesc child;
    child.className = "BUTTON";
    child.parent = parent;
    child.id = 5;
    child.style = WS_CHILD | BS_PUSHBUTTON;
    child.frameLeft = child.frameTop = child.frameRight = child.frameBottom = 0;
    child.windowRect = {110, 110, 150, 130};
    HWND button = createWindow(child);
    child.className = "STATIC";
    child.id = 6;
    child.windowRect = {200, 110, 240, 130};
    HWND other = createWindow(child);

    const POINT on{120, 120}, off{210, 120};
    struct Case {
        const char* name;
        POINT press, release;
        bool cancel;   // another window takes the capture while the button is held
        int clicks;
    };
    const Case cases[] = {
        {"press and release on it", on, on, false, 1},
        {"released elsewhere", on, off, false, 0},
        {"pressed elsewhere", off, on, false, 0},
        {"capture taken away", on, on, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clicks = 0;
        moveCursorTo(c.press);
        pressLeftButton();
        EXPECT_EQ(getCapture(), c.press.x == on.x ? button : 0u);
        if (c.cancel) {
            setCapture(other);
            EXPECT_EQ(sendMessage(button, BM_GETSTATE, 0, 0), 0) << "the press is cancelled at once";
            releaseCapture();
        }
        moveCursorTo(c.release);
        releaseLeftButton();
        EXPECT_EQ(clicks, c.clicks);
        EXPECT_EQ(getCapture(), 0u);
        EXPECT_EQ(sendMessage(button, BM_GETSTATE, 0, 0), 0) << "never left pushed";
        // A later press elsewhere released over the button sends nothing either.
        moveCursorTo(off);
        pressLeftButton();
        moveCursorTo(on);
        releaseLeftButton();
        EXPECT_EQ(clicks, c.clicks);
    }
}

TEST_F(ControlsTest, ModalDialogBoxIsBuiltRecordedAndAnsweredAtOnce) {
    WindowDesc desc;
    HWND owner = createWindow(desc);
    DialogTemplate about;
    about.style = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    about.caption = "About";
    about.fontName = "MS Shell Dlg";
    about.pointSize = 8;
    about.cx = 243;
    about.cy = 94;
    about.items = {{"STATIC", "Text", -1, 28, 23, 173, 17, SS_CENTER},
                   {"BUTTON", "OK", IDOK, 173, 69, 63, 18, BS_DEFPUSHBUTTON}};

    struct Case {
        const char* name;
        int queued;          // 0: none
        bool endOnOk;
        intptr_t result;
        std::vector<int> pressed;
    };
    const Case cases[] = {
        {"default button", 0, true, IDOK, {IDOK}},
        {"queued answer", IDCANCEL, true, IDCANCEL, {IDCANCEL}},
        {"ignores OK: cancelled", 0, false, IDCANCEL, {IDOK, IDCANCEL}},
    };
    size_t count = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        aboutLog = AboutLog{};
        aboutLog.endOnOk = c.endOnOk;
        if (c.queued) queueDialogBoxAnswer(c.queued);
        EXPECT_EQ(dialogBoxParam(owner, about, aboutProc, 77), c.result);
        EXPECT_EQ(aboutLog.init, 77);
        ASSERT_EQ(dialogBoxRecords().size(), ++count);
        const DialogBoxRecord record = dialogBoxRecords().back();
        EXPECT_EQ(record.owner, owner);
        EXPECT_EQ(record.dialog.caption, "About");
        EXPECT_EQ(record.initAnswer, 1);
        EXPECT_EQ(record.pressed, c.pressed);
        EXPECT_EQ(record.result, c.result);
    }
    EXPECT_EQ(topLevelZOrder(), (std::vector<HWND>{owner})) << "the dialog window is gone";
    EXPECT_EQ(dialogBoxParam(12345, about, aboutProc, 0), -1);
}

}  // namespace
