// The game window after the real start-up: zoom, settings file, sidebar, commands
// and the window procedure, driven through the window model on a fake clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "engine/app/GLView.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "host/BuildConfig.h"
#include "host/app/AppEvent.h"
#include "host/app/MainWindowState.h"
#include "host/app/SidebarCommands.h"
#include "host/app/SimulatorWin.h"
#include "host/player/PlayerProtocol.h"
#include "host/player/PlayerMenuServiceWin.h"
#include "platform/Activation.h"
#include "platform/Button.h"
#include "platform/CopyData.h"
#include "platform/DialogBox.h"
#include "platform/Dialogs.h"
#include "platform/DragDrop.h"
#include "platform/Menu.h"
#include "platform/Monitor.h"
#include "platform/Paint.h"
#include "platform/SteadyClock.h"
#include "platform/Timer.h"
#include "platform/Tooltip.h"
#include "platform/WindowPos.h"
#include "support/TestSupport.h"

using namespace platform;
using host::SimulatorWin;

namespace {

SteadyClock::TimePoint fakeNow;
std::vector<UINT> previousSaw;   // messages that reached the game window's earlier procedure
WNDPROC realPrevious = nullptr;

LRESULT recordingPrevious(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    previousSaw.push_back(msg);
    return callWindowProc(realPrevious, hwnd, msg, wParam, lParam);
}

MonitorInfo screen(RECT rect, int dpi) {
    MonitorInfo m;
    m.rect = rect;
    m.workArea = RECT{rect.left, rect.top, rect.right, rect.bottom - 40};
    m.dpiX = m.dpiY = dpi;
    return m;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakeNow = SteadyClock::TimePoint{} + std::chrono::hours(1);
        SteadyClock::setSource([] { return fakeNow; });
        setMonitors({screen({0, 0, 1920, 1080}, 96)});
    }
    void TearDown() override { SteadyClock::setSource({}); }

    // The real start-up with the settings file (nullptr: none) in the writable folder.
    void start(const char* settings, std::vector<std::string> extra = {}) {
        std::filesystem::create_directories(dir.file("save"));
        if (settings) dir.write("save/pc_window.ini", settings);
        std::vector<std::string> args = {SimulatorWin::getApplicationExePath(), "-workdir", dir.path(),
                                         "-writable-path", dir.file("save")};
        args.insert(args.end(), extra.begin(), extra.end());
        host = SimulatorWin::getInstance();
        host->startUp(args);
        main = host->getMainWindow();
        sidebar = host->getSidebarWindow();
        ASSERT_NE(main, 0u);
        ASSERT_NE(sidebar, 0u);
        realPrevious = host::detail::previousWindowProc();
        host::detail::setPreviousWindowProc(recordingPrevious);
        previousSaw.clear();
    }
    void advance(int ms) {
        fakeNow += std::chrono::milliseconds(ms);
        pumpMessages();
    }
    HWND button(int id) const { return getDlgItem(sidebar, id); }
    void click(int id) {
        clickWindow(button(id), {2, 2});
        pumpMessages();   // the sidebar posts the command to the game window
    }
    std::string file() const { return testsupport::readFile(dir.file("save/pc_window.ini")); }
    RECT windowRect() const {
        RECT r;
        getWindowRect(main, &r);
        return r;
    }
    RECT clientRect() const {
        RECT r;
        getClientRect(main, &r);
        return r;
    }
    float factor() const { return engine::Director::getInstance()->getOpenGLView()->getFrameZoomFactor(); }

    testsupport::TempDir dir;
    SimulatorWin* host = nullptr;
    HWND main = 0, sidebar = 0;
};

TEST_F(MainWindowTest, AutomaticFitIsCentredWithTheSidebarBesideTheClientArea) {
    start(nullptr);
    EXPECT_EQ(host->getZoom(), 0.0);
    EXPECT_FLOAT_EQ(factor(), 1.0f);
    EXPECT_EQ(windowRect(), (RECT{441, 180, 441 + 976, 180 + 679}));
    RECT side;
    getWindowRect(sidebar, &side);
    EXPECT_EQ(side, (RECT{441 + 8 + 960, 180 + 31, 441 + 8 + 960 + 62, 180 + 31 + 412}));
    EXPECT_TRUE(isWindowVisible(sidebar));
    EXPECT_EQ(getOwner(sidebar), main);

    // System menu: a separator and the three zoom entries, the fit entry checked.
    const HMENU menu = getSystemMenu(main, false);
    const int count = getMenuItemCount(menu);
    ASSERT_GE(count, 4);
    EXPECT_EQ(getMenuState(menu, static_cast<UINT>(count - 4), MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
    MENUITEMINFO item;
    const std::pair<UINT, const char*> entries[] = {
        {7440, "Vừa màn hình (tự động)"}, {7456, "Thu nhỏ"}, {7472, "Phóng to"}};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(getMenuItemInfo(menu, static_cast<UINT>(count - 3 + i), true, &item));
        EXPECT_EQ(item.wID, entries[i].first);
        EXPECT_EQ(item.text, entries[i].second);
    }
    EXPECT_EQ(getMenuState(menu, 7440, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(file(), "") << "reading never writes";
}

TEST_F(MainWindowTest, SavedZoomAndSwitchesApplyAtStart) {
    start("[Window]\nZoomPermille=1250\nPinned=1\nMusicMuted=1\n");
    EXPECT_DOUBLE_EQ(host->getZoom(), 1.25);
    EXPECT_EQ(clientRect(), (RECT{0, 0, 1200, 800}));
    EXPECT_EQ(windowRect().left, 321);
    EXPECT_EQ(windowRect().top, 100);
    EXPECT_EQ(getMenuState(getSystemMenu(main, false), 7440, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_TRUE(getWindowExStyle(main) & WS_EX_TOPMOST);
    EXPECT_TRUE(engine::SimpleAudioEngine::isBackgroundMusicMuted());
    EXPECT_EQ(getWindowText(button(host::kCmdPin)), "Bỏ ghim — đang luôn nổi trên cùng");
    EXPECT_EQ(getWindowText(button(host::kCmdMusic)), "Bật nhạc nền — hiện đang tắt");
}

TEST_F(MainWindowTest, AWindowMovedAtStartKeepsItsPosition) {
    start(nullptr, {"-position", "300,200"});
    EXPECT_EQ(windowRect().left, 300);
    EXPECT_EQ(windowRect().top, 200);
}

TEST_F(MainWindowTest, At144DpiEveryLengthIsScaled) {
    setMonitors({screen({0, 0, 2560, 1440}, 144)});
    start(nullptr);
    RECT side;
    getWindowRect(sidebar, &side);
    EXPECT_EQ(side.width(), 93);
    EXPECT_EQ(side.height(), 618);
    const int order[] = {7456, 7472, 7440, 7488, 7504, 7520, 7536};
    for (int i = 0; i < 7; ++i) {
        RECT r;
        getWindowRect(button(order[i]), &r);
        EXPECT_EQ(r, (RECT{side.left + 5, side.top + 5 + 86 * i, side.left + 88, side.top + 5 + 86 * (i + 1)}))
            << order[i];
    }
}

TEST_F(MainWindowTest, CommandsBySidebarClickAndSystemMenu) {
    start(nullptr);
    struct Step {
        const char* name;
        bool bySystemMenu;
        int id;
        double zoom;
        const char* file;
    };
    // 0.9f and 1 / 0.9 from it, as the view's float factor gives them back.
    const double out = static_cast<double>(0.9f);
    const double in = static_cast<double>(static_cast<float>(out / 0.9));
    const Step steps[] = {
        {"zoom out by click", false, 7456, out, "[Window]\nZoomPermille=900\nPinned=0\nMusicMuted=0\n"},
        {"zoom in by menu", true, 7472, in, "[Window]\nZoomPermille=1000\nPinned=0\nMusicMuted=0\n"},
        {"pin by click", false, 7488, in, "[Window]\nZoomPermille=1000\nPinned=1\nMusicMuted=0\n"},
        {"music by menu", true, 7504, in, "[Window]\nZoomPermille=1000\nPinned=1\nMusicMuted=1\n"},
        {"fit by click", false, 7440, 0, "[Window]\nZoomPermille=0\nPinned=1\nMusicMuted=1\n"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        if (s.bySystemMenu) {
            EXPECT_EQ(sendMessage(main, WM_SYSCOMMAND, static_cast<WPARAM>(s.id) | 3, 0), 0);
        } else {
            hoverTool(button(s.id));
            click(s.id);
            EXPECT_FALSE(isWindowVisible(host->getSidebarTooltipWindow())) << "the tip is hidden";
        }
        EXPECT_DOUBLE_EQ(host->getZoom(), s.zoom);
        EXPECT_EQ(file(), s.file);
        EXPECT_FALSE(isTimerSet(main, SimulatorWin::kRefitTimer)) << "no re-fit while applying";
    }
    EXPECT_EQ(clientRect(), (RECT{0, 0, 960, 640}));
    // Pinned: the game window, then the sidebar (owned, so above it) are top-most.
    EXPECT_TRUE(getWindowExStyle(main) & WS_EX_TOPMOST);
    EXPECT_TRUE(getWindowExStyle(sidebar) & WS_EX_TOPMOST);
    const std::vector<HWND> order = topLevelZOrder();
    EXPECT_LT(std::find(order.begin(), order.end(), sidebar) - order.begin(),
              std::find(order.begin(), order.end(), main) - order.begin());
    EXPECT_TRUE(engine::SimpleAudioEngine::isBackgroundMusicMuted());
    // Texts and tooltips follow the switches.
    const HWND tip = host->getSidebarTooltipWindow();
    EXPECT_EQ(tooltipToolText(tip, sidebar, button(7488)), "Bỏ ghim — đang luôn nổi trên cùng");
    EXPECT_EQ(tooltipToolText(tip, sidebar, button(7504)), "Bật nhạc nền — hiện đang tắt");
    EXPECT_EQ(getWindowText(button(7504)), "Bật nhạc nền — hiện đang tắt");
    EXPECT_EQ(getMenuState(getSystemMenu(main, false), 7440, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);

    sendMessage(main, WM_COMMAND, 7488, 0);
    sendMessage(main, WM_COMMAND, 7504, 0);
    EXPECT_FALSE(getWindowExStyle(main) & WS_EX_TOPMOST);
    EXPECT_FALSE(getWindowExStyle(sidebar) & WS_EX_TOPMOST);
    EXPECT_FALSE(engine::SimpleAudioEngine::isBackgroundMusicMuted());
    EXPECT_EQ(tooltipToolText(tip, sidebar, button(7488)), "Ghim — luôn nổi trên cùng");
    EXPECT_EQ(std::count(previousSaw.begin(), previousSaw.end(), WM_COMMAND) +
                  std::count(previousSaw.begin(), previousSaw.end(), WM_SYSCOMMAND),
              0)
        << "handled commands stop here";
}

struct ZoomStepCase {
    const char* name;
    RECT screen;
    const char* settings;
    int id;
    const char* saved;
};

class MainWindowZoomStep : public MainWindowTest, public ::testing::WithParamInterface<ZoomStepCase> {};

TEST_P(MainWindowZoomStep, ClampsAndSavesTheAppliedFactor) {
    const ZoomStepCase& c = GetParam();
    setMonitors({screen(c.screen, 96)});
    start(c.settings);
    sendMessage(main, WM_SYSCOMMAND, static_cast<WPARAM>(c.id), 0);
    EXPECT_NE(file().find(c.saved), std::string::npos) << file();
}

INSTANTIATE_TEST_SUITE_P(
    Table, MainWindowZoomStep,
    ::testing::Values(
        // 3.8 / 0.9 = 4.22 is clamped to 4.0, which a large screen holds.
        ZoomStepCase{"UpperClamp", {0, 0, 8000, 6000}, "[Window]\nZoomPermille=3800\n", 7472, "ZoomPermille=4000\n"},
        // 0.21 * 0.9 = 0.189 becomes 0.2.
        ZoomStepCase{"LowerClamp", {0, 0, 1920, 1080}, "[Window]\nZoomPermille=210\n", 7456, "ZoomPermille=200\n"},
        // 1.5 / 0.9 = 1.67, but the screen holds 985 / 640 = 1.539.
        ZoomStepCase{"ScreenLimited", {0, 0, 1920, 1080}, "[Window]\nZoomPermille=1500\n", 7472,
                     "ZoomPermille=1539\n"}),
    [](const ::testing::TestParamInfo<ZoomStepCase>& info) { return std::string(info.param.name); });

// A zoom command the window cannot take now (minimised, or moved by the user)
// changes and saves nothing, and the fit entry's check stays true to the zoom.
TEST_F(MainWindowTest, ZoomCommandsThatCannotApplyChangeAndSaveNothing) {
    struct Case {
        const char* name;
        bool minimised;   // else being moved
        const char* settings;
        WPARAM command;
    };
    const char* const fit = "[Window]\nZoomPermille=0\n";
    const char* const zoomed = "[Window]\nZoomPermille=800\n";
    const Case cases[] = {
        {"fit, minimised", true, zoomed, 7440},       {"fit, moving", false, zoomed, 7440},
        {"zoom in, minimised", true, fit, 7472},      {"zoom out, moving", false, fit, 7456},
        {"maximise, moving", false, zoomed, SC_MAXIMIZE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start(c.settings);
        const double zoom = host->getZoom();
        const UINT check = getMenuState(getSystemMenu(main, false), 7440, MF_BYCOMMAND) & MF_CHECKED;
        EXPECT_EQ(check, zoom == 0 ? MF_CHECKED : 0u);
        if (c.minimised) {
            sendMessage(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        } else {
            sendMessage(main, WM_ENTERSIZEMOVE, 0, 0);
        }
        sendMessage(main, WM_SYSCOMMAND, c.command, 0);
        EXPECT_EQ(host->getZoom(), zoom);
        EXPECT_EQ(file(), c.settings) << "nothing saved";
        EXPECT_EQ(getMenuState(getSystemMenu(main, false), 7440, MF_BYCOMMAND) & MF_CHECKED, check);
        sendMessage(main, WM_SYSCOMMAND, SC_RESTORE, 0);
        sendMessage(main, WM_EXITSIZEMOVE, 0, 0);
        destroyWindow(main);
    }
}

TEST_F(MainWindowTest, MaximiseNeverMaximisesButFitsAndCentres) {
    start("[Window]\nZoomPermille=800\n", {"-position", "300,200"});
    EXPECT_EQ(windowRect().left, 300);
    EXPECT_EQ(sendMessage(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0), 0);
    EXPECT_FALSE(isZoomed(main));
    EXPECT_EQ(host->getZoom(), 0.0);
    EXPECT_EQ(windowRect(), (RECT{441, 180, 441 + 976, 180 + 679}));
    EXPECT_EQ(file(), "[Window]\nZoomPermille=0\nPinned=0\nMusicMuted=0\n");
    EXPECT_EQ(std::count(previousSaw.begin(), previousSaw.end(), WM_SYSCOMMAND), 0);
}

TEST_F(MainWindowTest, TopUpOpensThePayWindowOrShowsItsBox) {
    start(nullptr);
    std::vector<std::pair<std::string, std::string>> opened;
    for (bool answer : {false, true}) {
        SCOPED_TRACE(answer);
        resetDialogModel();
        SimulatorWin::setPayWebViewOpener([&](const std::string& url, const std::string& target) {
            opened.emplace_back(url, target);
            return answer;
        });
        click(7520);
        const auto requests = dialogRequests();
        if (answer) {
            EXPECT_TRUE(requests.empty());
        } else {
            ASSERT_EQ(requests.size(), 1u);
            EXPECT_EQ(requests[0].owner, main);
            EXPECT_EQ(requests[0].text, "Không mở được cửa sổ nạp. Vui lòng thử lại trong game.");
            EXPECT_EQ(requests[0].title, "Nạp thẻ");
            EXPECT_EQ(requests[0].style, MB_ICONINFORMATION);
        }
    }
    SimulatorWin::setPayWebViewOpener({});
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], std::make_pair(std::string(host::build::kPortalUserUrl), std::string()));
    EXPECT_EQ(file(), "") << "nothing saved";
}

TEST_F(MainWindowTest, SupportOpensTheLinkWithTheDesktopOpener) {
    start(nullptr);
    struct Case {
        const char* name;
        const char* script;   // nullptr: no opener on PATH
        bool box;
    };
    const Case cases[] = {
        // PATH holds only the fake's folder: the scripts use shell built-ins and full paths.
        {"exit 0", "#!/bin/sh\necho \"$1\" > \"${0%/*}/arg\"\nexit 0\n", false},
        {"non-zero", "#!/bin/sh\nexit 3\n", true},
        {"missing", nullptr, true},
        {"slow", "#!/bin/sh\nexec /bin/sleep 3\n", false},
    };
    const char* oldPath = std::getenv("PATH");
    const std::string savedPath = oldPath ? oldPath : "";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempDir bin;
        if (c.script) {
            const std::string path = bin.write("xdg-open", c.script);
            chmod(path.c_str(), 0755);
        }
        setenv("PATH", bin.path().c_str(), 1);
        resetDialogModel();
        sendMessage(main, WM_COMMAND, 7536, 0);
        setenv("PATH", savedPath.c_str(), 1);
        const auto requests = dialogRequests();
        if (c.box) {
            ASSERT_EQ(requests.size(), 1u);
            EXPECT_EQ(requests[0].text, std::string("Không mở được liên kết. Vui lòng truy cập: ") +
                                            host::build::kSupportLink);
            EXPECT_EQ(requests[0].title, "VEXO");
        } else {
            EXPECT_TRUE(requests.empty());
        }
        if (std::string(c.name) == "exit 0") {
            EXPECT_EQ(testsupport::readFile(bin.file("arg")), std::string(host::build::kSupportLink) + "\n");
        }
    }
    EXPECT_EQ(file(), "");
}

TEST_F(MainWindowTest, ScreenChangesGiveOneRefitAfterTheLast) {
    start(nullptr);
    // A smaller screen: the fit waits for the last message.
    setMonitors({screen({0, 0, 1024, 700}, 96)});
    sendMessage(main, WM_DISPLAYCHANGE, 0, 0);
    advance(60);
    sendMessage(main, WM_SETTINGCHANGE, 0, 0);
    advance(60);
    EXPECT_EQ(clientRect().width(), 960) << "not yet";
    advance(40);
    EXPECT_LT(clientRect().width(), 960);
    EXPECT_FALSE(isTimerSet(main, SimulatorWin::kRefitTimer));

    // A move within the monitor starts nothing; one to another monitor does.
    setMonitors({screen({0, 0, 1024, 700}, 96), screen({1024, 0, 2944, 1080}, 96)});
    const RECT r = windowRect();
    moveWindow(main, r.left + 5, r.top + 5, r.width(), r.height(), true);
    EXPECT_FALSE(isTimerSet(main, SimulatorWin::kRefitTimer));
    moveWindow(main, 1500, 100, r.width(), r.height(), true);
    EXPECT_TRUE(isTimerSet(main, SimulatorWin::kRefitTimer));
    advance(100);
    EXPECT_EQ(clientRect().width(), 960) << "refitted on the larger screen";
}

TEST_F(MainWindowTest, SidebarFollowsTheWindowAndNeverTakesTheForeground) {
    start(nullptr);
    setForegroundWindow(main);
    clickWindow(button(7488), {3, 3});
    EXPECT_EQ(getForegroundWindow(), main);
    pumpMessages();
    EXPECT_EQ(getForegroundWindow(), main);

    // Hidden or minimised game window: no sidebar.
    showWindow(main, false);
    EXPECT_FALSE(isWindowVisible(sidebar));
    showWindow(main, true);
    EXPECT_TRUE(isWindowVisible(sidebar));
    sendMessage(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(isIconic(main));
    EXPECT_FALSE(isWindowVisible(sidebar));
    sendMessage(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(isWindowVisible(sidebar));

    // The periodic glue puts it back after a move the messages missed, and costs
    // no repaint when it is in place.
    RECT side;
    getWindowRect(sidebar, &side);
    moveWindow(sidebar, 0, 0, 62, 100, true);
    advance(150);
    RECT back;
    getWindowRect(sidebar, &back);
    EXPECT_EQ(back, side);
    pumpMessages();
    const int paints = paintCount(sidebar);
    advance(150);
    advance(150);
    EXPECT_EQ(paintCount(sidebar), paints);
    EXPECT_EQ(sendMessage(sidebar, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(isWindow(sidebar)) << "the sidebar cannot be closed";
}

TEST_F(MainWindowTest, DestroyLeavesNoSidebarTooltipOrTimer) {
    start(nullptr);
    const HWND tip = host->getSidebarTooltipWindow();
    ASSERT_TRUE(isTimerSet(main, SimulatorWin::kGlueTimer));
    destroyWindow(main);
    EXPECT_FALSE(isWindow(sidebar));
    EXPECT_FALSE(isWindow(tip));
    EXPECT_EQ(host->getSidebarWindow(), 0u);
    EXPECT_EQ(host->getSidebarTooltipWindow(), 0u);
    EXPECT_EQ(timerCount(), 0);
    EXPECT_NE(std::find(previousSaw.begin(), previousSaw.end(), WM_DESTROY), previousSaw.end());
}

TEST_F(MainWindowTest, CopyDataWritesTaggedTextToTheDebugLog) {
    start(nullptr, {"-write-debug-log", dir.file("debug.txt")});
    struct Case {
        uintptr_t tag;
        std::string bytes;
        uint32_t count;
    };
    const Case cases[] = {
        {1, std::string("first\0hidden", 12), 12},   // up to the zero byte
        {1, "second-and-more", 6},                    // at most the record's bytes
        {2, "other tag", 9},
    };
    for (const Case& c : cases) {
        COPYDATASTRUCT record;
        record.dwData = c.tag;
        record.cbData = c.count;
        record.lpData = c.bytes.data();
        sendMessage(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
    }
    EXPECT_EQ(testsupport::readFile(dir.file("debug.txt")), "first\nsecond\n");
    EXPECT_EQ(std::count(previousSaw.begin(), previousSaw.end(), WM_COPYDATA), 3);
}

TEST_F(MainWindowTest, DropsMenuEventsAndTheAboutBox) {
    start(nullptr);
    std::vector<std::pair<std::string, std::string>> events;
    auto* dispatcher = engine::Director::getInstance()->getEventDispatcher();
    for (const char* name : {host::kAppEventName, host::kAppEventDropName}) {
        dispatcher->addEventListener(engine::EventListenerCustom::create(name, [&events](engine::EventCustom* e) {
            auto* app = static_cast<host::AppEvent*>(e);
            events.emplace_back(app->getName(), app->getDataString());
        }));
    }

    ASSERT_TRUE(dropFiles(main, {"/tmp/một.lua", "/tmp/b", "/tmp/c"}));
    ASSERT_TRUE(dropFiles(main, {}));
    pumpMessages();
    EXPECT_EQ(events, (std::vector<std::pair<std::string, std::string>>{{"APP.EVENT.DROP", "/tmp/một.lua"}}));
    EXPECT_EQ(liveDropCount(), 0) << "every drop finished";
    EXPECT_EQ(badDropUseCount(), 0) << "and only once";
    EXPECT_EQ(std::count(previousSaw.begin(), previousSaw.end(), WM_DROPFILES), 0);

    events.clear();
    auto* menus = dynamic_cast<player::PlayerMenuServiceWin*>(player::PlayerProtocol::getInstance()->getMenuService());
    auto* item = dynamic_cast<player::PlayerMenuItemWin*>(menus->addItem("reload", "Reload"));
    ASSERT_NE(item, nullptr);
    sendMessage(main, WM_COMMAND, item->getCommandId(), 0);
    EXPECT_EQ(events, (std::vector<std::pair<std::string, std::string>>{
                          {"APP.EVENT", "{\"data\":\"reload\",\"name\":\"menuClicked\"}"}}));

    sendMessage(main, WM_COMMAND, SimulatorWin::kAboutCommand, 0);
    const auto boxes = dialogBoxRecords();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].dialog.caption, "About Simulator");
    EXPECT_EQ(boxes[0].dialog.items.at(0).text, "Vizov Iduvodavi");
    EXPECT_EQ(boxes[0].initAnswer, 1);
    EXPECT_EQ(boxes[0].result, IDOK);
    EXPECT_EQ(std::count(previousSaw.begin(), previousSaw.end(), WM_COMMAND), 2) << "both go on";
}

}  // namespace
