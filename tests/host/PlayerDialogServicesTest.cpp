#include "host/player/PlayerDialogServicesWin.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/DebugOutput.h"
#include "platform/Dialogs.h"
#include "platform/Font.h"
#include "platform/Monitor.h"
#include "support/TestSupport.h"

namespace {

using namespace platform;
using player::PlayerEditBoxServiceWin;
using player::PlayerFileDialogServiceWin;
using player::PlayerMessageBoxServiceWin;

std::string z(const char* text) {   // '\0'-separated lists written with '|'
    std::string s(text);
    for (char& c : s) {
        if (c == '|') c = '\0';
    }
    return s;
}

class PlayerDialogServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("VEXO_DIALOGS");
        WindowDesc desc;
        desc.windowRect = {100, 50, 900, 650};
        _hwnd = createWindow(desc);
    }
    void TearDown() override {
        resetDialogModel();
        resetFontModel();
        resetWindowModel();
        unsetenv("VEXO_DIALOGS");
    }
    HWND _hwnd = 0;
};

TEST_F(PlayerDialogServicesTest, MessageBoxStylesAndAnswers) {
    PlayerMessageBoxServiceWin boxes(_hwnd);
    struct Case {
        int buttons;
        UINT style;
        int answer;
        int result;
    };
    const Case cases[] = {
        {0, 0x40, IDOK, 0},  {7, 0x40, IDOK, 0},      {1, 0x21, IDOK, 0},   {1, 0x21, IDCANCEL, 1},
        {2, 0x24, IDYES, 2}, {2, 0x24, IDNO, 3},      {3, 0x23, IDCANCEL, 1}, {3, 0x23, IDYES, 2},
        {3, 0x23, 3 /*IDABORT*/, 0},
    };
    for (const Case& c : cases) {
        resetDialogModel();
        DialogAnswer answer;
        answer.button = c.answer;
        queueDialogAnswer(answer);
        testsupport::LogCapture log;
        EXPECT_EQ(boxes.showMessageBox("Title", "Text", c.buttons), c.result) << c.buttons << "/" << c.answer;
        const auto requests = dialogRequests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].style, c.style);
        EXPECT_EQ(requests[0].owner, _hwnd);
        EXPECT_EQ(requests[0].title, "Title");
        EXPECT_EQ(requests[0].text, "Text");
        EXPECT_TRUE(log.contains("PlayerMessageBoxServiceWin::showMessageBox() - title = Title, message = Text"));
        EXPECT_TRUE(log.contains("PlayerMessageBoxServiceWin::showMessageBox() - result = " + std::to_string(c.result)));
    }
}

TEST_F(PlayerDialogServicesTest, UnansweredMessageBoxesAreLoggedAndDismissed) {
    PlayerMessageBoxServiceWin boxes(_hwnd);
    std::string debug;
    auto previous = setDebugOutputSink([&](const std::string& text) { debug += text; });
    EXPECT_EQ(boxes.showMessageBox("Update", "Restart now?", 0), 0);
    EXPECT_EQ(boxes.showMessageBox("Q", "ok or cancel", 1), 1);
    EXPECT_EQ(boxes.showMessageBox("Q", "yes or no", 2), 3);
    EXPECT_EQ(boxes.showMessageBox("Q", "three", 3), 1);
    setDebugOutputSink(previous);
    EXPECT_NE(debug.find("Update: Restart now?"), std::string::npos) << debug;
}

TEST_F(PlayerDialogServicesTest, FiltersFromExtensionLists) {
    struct Case {
        const char* extensions;
        std::string filter;
    };
    const Case cases[] = {
        {"", z("All Files (*.*)|*.*||")},
        {"Images|*.png,*.jpg", z("Images (*.png;*.jpg)|*.png;*.jpg||")},
        {"*.lua", z("*.lua (*.lua)|*.lua||")},
        {"Scripts|*.lua;Data|*.json", z("Scripts (*.lua)|*.lua|Data (*.json)|*.json||")},
        {"Scripts|*.lua;;Data|*.json;", z("Scripts (*.lua)|*.lua|Data (*.json)|*.json||")},
        {"Nothing|;", z("All Files (*.*)|*.*||")},
    };
    for (const Case& c : cases) EXPECT_EQ(PlayerFileDialogServiceWin::buildFilter(c.extensions), c.filter) << c.extensions;
}

TEST_F(PlayerDialogServicesTest, OpenDialogsAnswerPathsFromTheirBuffers) {
    PlayerFileDialogServiceWin dialogs(_hwnd);
    const std::string longName = "/data/" + std::string(300, 'n') + ".txt";
    struct Case {
        const char* what;
        std::string buffer;
        std::vector<std::string> paths;
    };
    const Case cases[] = {
        {"one file", "/home/u/a.png", {"/home/u/a.png"}},
        {"three", z("/home/u|a.png|b.png|c d.png||"), {"/home/u/a.png", "/home/u/b.png", "/home/u/c d.png"}},
        {"root folder", z("/|x|y||"), {"/x", "/y"}},
        {"past 260 characters", longName, {longName}},
    };
    for (const Case& c : cases) {
        resetDialogModel();
        queueDialogAnswer(DialogAnswer{IDOK, true, c.buffer});
        EXPECT_EQ(dialogs.openMultiple("Pick", "/home/u", "Images|*.png"), c.paths) << c.what;
        const auto request = dialogRequests().at(0);
        EXPECT_EQ(request.kind, DialogKind::OpenFile);
        EXPECT_EQ(request.style, 0x02A81A04u);
        EXPECT_EQ(request.initialDir, "/home/u");
        EXPECT_EQ(request.filter, z("Images (*.png)|*.png||"));
    }

    resetDialogModel();
    queueDialogAnswer(DialogAnswer{IDOK, true, longName});
    EXPECT_EQ(dialogs.openFile("One", "", ""), longName);
    const auto request = dialogRequests().at(0);
    EXPECT_EQ(request.style, 0x02A01804u);
    char* cwd = ::getcwd(nullptr, 0);
    EXPECT_EQ(request.initialDir, cwd);
    std::free(cwd);
}

TEST_F(PlayerDialogServicesTest, CancelIsSilentAndFailuresAreLogged) {
    PlayerFileDialogServiceWin dialogs(_hwnd);
    {
        testsupport::LogCapture log;
        queueDialogAnswer(DialogAnswer{IDCANCEL, false, "", 0});
        EXPECT_EQ(dialogs.openFile("T", "/", ""), "");
        queueDialogAnswer(DialogAnswer{IDCANCEL, false, "", 0});
        EXPECT_TRUE(dialogs.openMultiple("T", "/", "").empty());
        queueDialogAnswer(DialogAnswer{IDCANCEL, false, "", 0});
        EXPECT_EQ(dialogs.saveFile("T", "/tmp/a"), "");
        queueDialogAnswer(DialogAnswer{IDCANCEL, false, ""});
        EXPECT_EQ(dialogs.openDirectory("T", "/tmp"), "");
        EXPECT_TRUE(log.lines().empty()) << log.text();
    }
    testsupport::LogCapture log;
    queueDialogAnswer(DialogAnswer{IDCANCEL, false, "", 0x3003});
    EXPECT_EQ(dialogs.openFile("Broken", "/", ""), "");
    EXPECT_TRUE(log.contains("PlayerFileDialogServiceWin::openMultipleInternal() - failed, title (Broken),  error code = 12291"));
    queueDialogAnswer(DialogAnswer{IDCANCEL, false, "", 0x3003});
    EXPECT_EQ(dialogs.saveFile("Save", ""), "");
    EXPECT_TRUE(log.contains("PlayerFileDialogServiceWin::saveFile() - failed, title (Save),  error code = 12291"));
}

TEST_F(PlayerDialogServicesTest, SaveAndFolderDialogs) {
    PlayerFileDialogServiceWin dialogs(_hwnd);
    const std::string longPath = "/save/" + std::string(400, 's');
    queueDialogAnswer(DialogAnswer{IDOK, true, longPath + ".sav"});
    EXPECT_EQ(dialogs.saveFile("Save as", longPath), longPath + ".sav");
    queueDialogAnswer(DialogAnswer{IDOK, true, "/chosen/folder"});
    EXPECT_EQ(dialogs.openDirectory("Folder", "/start"), "/chosen/folder");
    const auto requests = dialogRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].kind, DialogKind::SaveFile);
    EXPECT_EQ(requests[0].style, 0x02A00804u);
    EXPECT_EQ(requests[0].initialFile, longPath);
    EXPECT_EQ(requests[0].filter, z("All Files (*.*)|*.*||"));
    EXPECT_EQ(requests[1].kind, DialogKind::Folder);
    EXPECT_EQ(requests[1].style, 0x241u);
    EXPECT_EQ(requests[1].initialDir, "/start");
}

TEST_F(PlayerDialogServicesTest, ZenityShowsRealDialogsWhenAskedFor) {
    testsupport::TempDir dir;
    const std::string record = dir.file("argv");
    // The stub records its arguments and answers with the exit code and output the
    // test leaves in files.
    const std::string stub = dir.write("bin/zenity",
        "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + record + "'\n"
        "cat '" + dir.file("out") + "' 2>/dev/null\ncat '" + dir.file("err") + "' >&2 2>/dev/null\n"
        "exit $(cat '" + dir.file("code") + "')\n");
    ::chmod(stub.c_str(), 0755);
    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (dir.file("bin") + ":" + savedPath).c_str(), 1);
    setenv("VEXO_DIALOGS", "zenity", 1);
    auto answer = [&](int code, const std::string& out, const std::string& err = "") {
        dir.write("code", std::to_string(code));
        dir.write("out", out);
        dir.write("err", err);
    };

    PlayerMessageBoxServiceWin boxes(_hwnd);
    PlayerFileDialogServiceWin dialogs(_hwnd);
    answer(0, "");
    EXPECT_EQ(boxes.showMessageBox("<b>T</b>", "a \"quoted\" $text", 2), 2);
    EXPECT_EQ(testsupport::readFile(record),
              "--question\n--ok-label=Yes\n--cancel-label=No\n--title=<b>T</b>\n--text=a \"quoted\" $text\n--no-markup\n");
    answer(1, "Cancel\n");
    EXPECT_EQ(boxes.showMessageBox("T", "x", 3), 1);
    answer(1, "");
    EXPECT_EQ(boxes.showMessageBox("T", "x", 3), 3);
    answer(0, "");
    EXPECT_EQ(boxes.showMessageBox("T", "x", 0), 0);
    EXPECT_EQ(testsupport::readFile(record).rfind("--info\n", 0), 0u);

    answer(0, "/home/u/a.png\n/home/u/b.png\n");
    EXPECT_EQ(dialogs.openMultiple("Pick", "/home/u", "Images|*.png,*.jpg"),
              (std::vector<std::string>{"/home/u/a.png", "/home/u/b.png"}));
    EXPECT_EQ(testsupport::readFile(record),
              "--file-selection\n--title=Pick\n--filename=/home/u/\n--multiple\n--separator=\n\n"
              "--file-filter=Images (*.png;*.jpg) | *.png *.jpg\n");
    answer(1, "");
    EXPECT_EQ(dialogs.openFile("Pick", "/home/u", ""), "");
    answer(0, "/srv\n");
    EXPECT_EQ(dialogs.openDirectory("Where", "/"), "/srv");

    // A toolkit warning on standard error is logged, never read as the answer.
    std::string debug;
    auto previous = setDebugOutputSink([&](const std::string& text) { debug += text; });
    const std::string warning = "(zenity:9): Gtk-WARNING **: 01:02:03: cannot open display\n";
    answer(1, "Cancel\n", warning);
    EXPECT_EQ(boxes.showMessageBox("T", "x", 3), 1);
    answer(0, "/home/u/a.png\n", warning);
    EXPECT_EQ(dialogs.openFile("Pick", "/home/u", ""), "/home/u/a.png");
    answer(0, "/srv\n", warning);
    EXPECT_EQ(dialogs.openDirectory("Where", "/"), "/srv");
    setDebugOutputSink(previous);
    EXPECT_NE(debug.find("Gtk-WARNING **: 01:02:03: cannot open display"), std::string::npos) << debug;

    // A multiple selection keeps every path as zenity gave it.
    const std::vector<std::string> selections[] = {
        {"/home/u/a.png", "/tmp/b.png"},
        {"/a/b/x.png", "/a/c/y.png", "/a/b/z.png"},
        {"/a/bc/x.png", "/a/bd/y.png"},
        {"/x.png", "/y.png"},
    };
    for (const auto& paths : selections) {
        std::string out;
        for (const std::string& p : paths) out += p + "\n";
        answer(0, out);
        EXPECT_EQ(dialogs.openMultiple("Pick", "/home/u", ""), paths) << out;
    }

    // Without zenity on the path the model answers.
    setenv("PATH", dir.file("none").c_str(), 1);
    EXPECT_EQ(boxes.showMessageBox("T", "x", 2), 3);
    EXPECT_EQ(dialogs.saveFile("T", "/x"), "");
    setenv("PATH", savedPath.c_str(), 1);
}

TEST_F(PlayerDialogServicesTest, EditBoxesArePlacedShownFocusedAndShareOneFont) {
    {
        PlayerEditBoxServiceWin edits(_hwnd);
        const HWND single = edits.getSingleLineEdit();
        const HWND multi = edits.getMultiLineEdit();
        for (HWND edit : {single, multi}) {
            EXPECT_EQ(getClassName(edit), "Edit");
            EXPECT_EQ(getParent(edit), _hwnd);
            EXPECT_EQ(getWindowExStyle(edit), WS_EX_CLIENTEDGE);
            EXPECT_FALSE(isWindowVisible(edit));
        }
        EXPECT_EQ(getWindowStyle(single), 0x40000080u);
        EXPECT_EQ(getWindowStyle(multi), 0x40201044u);

        edits.showSingleLineEditBox(engine::Rect(10.9f, 20.2f, 200.7f, 30.5f));
        RECT rect;
        ASSERT_TRUE(getWindowRect(single, &rect));
        POINT origin{10, 20};
        clientToScreen(_hwnd, &origin);
        EXPECT_EQ(rect, (RECT{origin.x, origin.y, origin.x + 200, origin.y + 30}));
        EXPECT_TRUE(isWindowVisible(single));
        EXPECT_EQ(getFocus(), single);
        edits.showMultiLineEditBox(engine::Rect(0, 0, 100, 100));
        EXPECT_EQ(getFocus(), multi);

        setMonitors({MonitorInfo{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 144, 144, true}});
        edits.setFont("Noto Sans", 12);
        edits.setFont("DejaVu Sans", 10);
        EXPECT_EQ(liveFontCount(), 1);
        FontDesc desc;
        ASSERT_TRUE(getFontDesc(edits.getFont(), &desc));
        EXPECT_EQ(desc.faceName, "DejaVu Sans");
        EXPECT_EQ(desc.height, -20);   // 10 pt at 144 DPI
        EXPECT_EQ(desc.weight, 400);
        EXPECT_EQ(desc.clipPrecision, 0);
        for (HWND edit : {single, multi}) {
            EXPECT_EQ(static_cast<HFONT>(sendMessage(edit, WM_GETFONT, 0, 0)), edits.getFont());
        }

        failNextCreateFont(ERROR_NOT_ENOUGH_MEMORY);
        testsupport::LogCapture log;
        edits.setFont("Broken", 9);
        EXPECT_TRUE(log.contains(
            "PlayerEditBoxServiceWin::setFont() - create HFONT for font \"Broken\" failed, error code = 0x00000008"));
        EXPECT_EQ(liveFontCount(), 0);
        EXPECT_EQ(sendMessage(single, WM_GETFONT, 0, 0), 0);
        edits.setFont("Again", 9);
    }
    EXPECT_EQ(liveFontCount(), 0);   // dropped with the service
    resetMonitors();
}

}  // namespace
