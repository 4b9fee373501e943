#include "host/app/SimulatorWin.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/files/FileUtils.h"
#include "engine/app/GLView.h"
#include "host/BuildConfig.h"
#include "host/config/ConfigFileReader.h"
#include "host/player/PlayerMenuServiceWin.h"
#include "host/player/PlayerTaskServiceWin.h"
#include "host/player/PlayerWin.h"
#include "platform/Menu.h"
#include "platform/Monitor.h"
#include "platform/Paths.h"
#include "platform/UrlOpener.h"
#include "support/TestSupport.h"

using host::ConfigFileReader;
using host::ProjectConfig;
using host::SimulatorWin;
using testing::ElementsAre;

namespace {

std::vector<std::string> withProgram(std::vector<std::string> args) {
    args.insert(args.begin(), SimulatorWin::getApplicationExePath());
    return args;
}

engine::GLView* view() { return engine::Director::getInstance()->getOpenGLView(); }

void setScreenDpi(int dpi) {
    platform::MonitorInfo monitor = platform::primaryMonitor();
    monitor.dpiX = monitor.dpiY = dpi;
    platform::setMonitors({monitor});
}

const std::string kConfig =
    R"({"init_cfg":{"width":720,"height":1280,"isLandscape":true,"entry":"src/game.lua"}})";

// The window as the start-up leaves it just before the window settings apply
// (they fit and place it on the screen).
class StepProbe : public SimulatorWin {
public:
    static StepProbe* instance() {
        static StepProbe* probe = new StepProbe;
        return probe;
    }
    void loadWindowSettings(platform::HWND window) override {
        zoomBefore = view()->getFrameZoomFactor();
        platform::getWindowRect(window, &rectBefore);
        SimulatorWin::loadWindowSettings(window);
    }
    float zoomBefore = 0;
    platform::RECT rectBefore;
};

}  // namespace

TEST(SimulatorWinPaths, ApplicationFolders) {
    std::string exe = SimulatorWin::getApplicationExePath();
    EXPECT_EQ(exe, platform::executablePath());
    EXPECT_EQ(SimulatorWin::getApplicationPath(), exe.substr(0, exe.rfind('/')));
    char resolved[PATH_MAX];
    ASSERT_NE(realpath(SimulatorWin::getApplicationPath().c_str(), resolved), nullptr);
    EXPECT_EQ(SimulatorWin::getAbsoluteApplicationPath(), resolved);
}

TEST(SimulatorWinStartUp, WithoutArgumentsTheExecutablesFolderIsTheProject) {
    SimulatorWin* host = SimulatorWin::getInstance();
    host->startUp(withProgram({}));

    const std::string appDir = SimulatorWin::getApplicationPath();
    const ProjectConfig& project = host->getProjectConfig();
    EXPECT_EQ(project.getProjectDir(), appDir + "/");
    EXPECT_EQ(project.getWritableRealPath(), appDir + "/data/");
    EXPECT_EQ(project.getDebuggerType(), 0);
    EXPECT_EQ(engine::FileUtils::getInstance()->getWritablePath(), appDir + "/data/");
    EXPECT_EQ(engine::FileUtils::getInstance()->getDefaultResourceRootPath(), appDir + "/");
    EXPECT_EQ(platform::currentDirectory(), appDir);

    ASSERT_NE(view(), nullptr);
    EXPECT_EQ(view()->getFrameSize(), engine::Size(960, 640));
    EXPECT_EQ(platform::getWindowText(host->getMainWindow()), host::build::kGameTitle);
    EXPECT_EQ(platform::getWindowText(host->getMainWindow()), "Mộc Hà Lục");
    EXPECT_FLOAT_EQ(engine::Director::getInstance()->getAnimationInterval(), 1.0f / 60);
    EXPECT_FALSE(engine::FileUtils::getInstance()->isPopupNotify());

    // The player serves the game window; its menus go into the window's system menu.
    auto* player = dynamic_cast<player::PlayerWin*>(player::PlayerProtocol::getInstance());
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->getWindowHandle(), host->getMainWindow());
    auto* menus = static_cast<player::PlayerMenuServiceWin*>(player->getMenuService());
    EXPECT_EQ(menus->getRootMenu(), platform::getSystemMenu(host->getMainWindow(), false));
}

TEST(SimulatorWinStartUp, LoneFolderArgumentIsTheProject) {
    testsupport::TempDir dir;
    dir.write("config.json", kConfig);
    SimulatorWin* host = SimulatorWin::getInstance();
    host->startUp(withProgram({dir.path()}));

    const ProjectConfig& project = host->getProjectConfig();
    EXPECT_EQ(project.getProjectDir(), dir.path() + "/");
    EXPECT_EQ(project.getDebuggerType(), 2);
    // "config.json" of that folder: its size with the larger side as width.
    EXPECT_EQ(project.getFrameSize(), engine::Size(1280, 720));
    EXPECT_EQ(project.getScriptFileRealPath(), dir.path() + "/src/game.lua");
    EXPECT_EQ(platform::currentDirectory(), dir.path());
}

TEST(SimulatorWinStartUp, RelativeLoneFolderIsTakenFromTheCurrentFolder) {
    testsupport::TempDir dir;
    dir.write("game/config.json", kConfig);
    ASSERT_TRUE(platform::setCurrentDirectory(dir.path()));
    SimulatorWin* host = SimulatorWin::getInstance();
    host->startUp(withProgram({"game"}));
    EXPECT_EQ(host->getProjectConfig().getProjectDir(), dir.path() + "/game/");
    EXPECT_EQ(host->getProjectConfig().getDebuggerType(), 2);
}

// Start-up changes the current folder to the project folder: a relative -workdir is
// taken from the folder the program was started in, and its "config.json" is read.
TEST(SimulatorWinStartUp, RelativeWorkdirIsTakenFromTheCurrentFolder) {
    testsupport::TempDir dir;
    dir.write("game/config.json", kConfig);
    ASSERT_TRUE(platform::setCurrentDirectory(dir.path()));
    SimulatorWin* host = SimulatorWin::getInstance();
    host->startUp(withProgram({"-workdir", "game", "-writable-path", "save"}));
    const ProjectConfig& project = host->getProjectConfig();
    EXPECT_EQ(project.getProjectDir(), dir.path() + "/game/");
    EXPECT_EQ(project.getFrameSize(), engine::Size(1280, 720));
    EXPECT_EQ(project.getScriptFileRealPath(), dir.path() + "/game/src/game.lua");
    EXPECT_EQ(project.getWritableRealPath(), dir.path() + "/save/");
    EXPECT_THAT(SimulatorWin::newPlayerArguments(project),
                testing::IsSupersetOf({dir.path() + "/game/", dir.path() + "/game/src/game.lua",
                                       dir.path() + "/save/"}));
}

struct LoneArgumentCase {
    const char* arg;
    engine::Size frameSize;
};

void PrintTo(const LoneArgumentCase& c, std::ostream* os) { *os << '"' << c.arg << '"'; }

class SimulatorWinLoneArgument : public testing::TestWithParam<LoneArgumentCase> {};

TEST_P(SimulatorWinLoneArgument, IsNotAProjectFolder) {
    SimulatorWin* host = SimulatorWin::getInstance();
    host->startUp(withProgram({GetParam().arg}));
    const ProjectConfig& project = host->getProjectConfig();
    EXPECT_EQ(project.getProjectDir(), SimulatorWin::getApplicationPath() + "/");
    EXPECT_EQ(project.getDebuggerType(), 0);
    EXPECT_EQ(project.getFrameSize(), GetParam().frameSize);
}

INSTANTIATE_TEST_SUITE_P(Table, SimulatorWinLoneArgument,
                         testing::Values(LoneArgumentCase{"", {960, 640}},
                                         LoneArgumentCase{"-landscape", {960, 640}},
                                         LoneArgumentCase{"-portrait", {640, 960}}),
                         [](const testing::TestParamInfo<LoneArgumentCase>& info) {
                             return info.index == 0 ? std::string("empty") : info.param.arg + 1;
                         });

TEST(SimulatorWinStartUp, CommandLineOverridesConfigFile) {
    testsupport::TempDir dir;
    dir.write("config.json", kConfig);
    SimulatorWin* host = SimulatorWin::getInstance();
    // The first argument names the folder whose "config.json" is read; with more
    // than one argument it is not the project folder.
    host->startUp(withProgram({dir.path(), "-resolution", "800x600"}));
    const ProjectConfig& project = host->getProjectConfig();
    EXPECT_EQ(project.getFrameSize(), engine::Size(800, 600));
    EXPECT_EQ(project.getProjectDir(), SimulatorWin::getApplicationPath() + "/");
    EXPECT_EQ(project.getScriptFile(), "$(PROJDIR)/src/game.lua");
    EXPECT_EQ(ConfigFileReader::getInstance()->getInitViewSize(), engine::Size(800, 600));
}

TEST(SimulatorWinStartUp, FoldersAndSearchPaths) {
    testsupport::TempDir dir;
    engine::FileUtils* files = engine::FileUtils::getInstance();
    const std::string defaultWritable = files->getWritablePath();
    SimulatorWin* host = SimulatorWin::getInstance();
    host->startUp(withProgram({"-workdir", dir.path(), "-writable-path", dir.file("save")}));

    EXPECT_EQ(files->getWritablePath(), dir.path() + "/save/");
    EXPECT_EQ(files->getDefaultResourceRootPath(), dir.path() + "/");
    // The runtime's write folder follows the writable folder of the moment the
    // configuration was handed over, which is before the writable folder is set.
    EXPECT_THAT(files->getSearchPaths(),
                ElementsAre(defaultWritable + "debugruntime/", dir.path() + "/",
                            SimulatorWin::getApplicationPath() + "/"));
}

TEST(SimulatorWinStartUp, TlsWarmupStepRunsOnceWithTheFoldersSetBeforeTheWindowExists) {
    testsupport::TempDir dir;
    SimulatorWin* host = SimulatorWin::getInstance();
    int calls = 0;
    std::string writable;
    platform::HWND window = 0;
    SimulatorWin::setTlsWarmup([&] {
        ++calls;
        writable = engine::FileUtils::getInstance()->getWritablePath();
        window = host->getMainWindow();
    });
    host->startUp(withProgram({"-workdir", dir.path(), "-writable-path", dir.file("save")}));
    SimulatorWin::setTlsWarmup(nullptr);

    EXPECT_EQ(calls, 1);
    EXPECT_EQ(writable, dir.path() + "/save/");
    EXPECT_EQ(window, 0u);
    EXPECT_NE(host->getMainWindow(), 0u);
}

TEST(SimulatorWinStartUp, DebugLogFile) {
    testsupport::TempDir dir;
    std::string logPath = dir.write("debug.txt", "old content\n");
    // A relative log file is taken from the folder the program starts in, not from
    // the project folder.
    dir.write("game/main.lua", "");
    ASSERT_TRUE(platform::setCurrentDirectory(dir.path()));
    SimulatorWin* host = SimulatorWin::getInstance();
    host->startUp(withProgram({"-workdir", dir.file("game"), "-write-debug-log", "debug.txt"}));
    EXPECT_EQ(testsupport::readFile(logPath), "");
    host->writeDebugLog("first");
    host->writeDebugLog("second");
    EXPECT_EQ(testsupport::readFile(logPath), "first\nsecond\n");
}

// Children of the program (a task, the address opener) never inherit the log.
TEST(SimulatorWinStartUp, DebugLogIsNotInheritedByChildren) {
    testsupport::TempDir dir;
    const std::string logPath = dir.file("debug.txt");
    // Writes the targets of the descriptors the shell holds to the file $LIST.
    const std::string lister = dir.write("bin/xdg-open",
        "#!/bin/sh\nfor f in /proc/$$/fd/*; do readlink \"$f\"; done > \"$LIST\"\nexit 0\n");
    ::chmod(lister.c_str(), 0755);
    dir.write("game/main.lua", "");
    SimulatorWin* host = SimulatorWin::getInstance();
    host->startUp(withProgram({"-workdir", dir.file("game"), "-write-debug-log", logPath}));
    host->writeDebugLog("open");
    ASSERT_EQ(testsupport::readFile(logPath), "open\n");

    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (dir.file("bin") + ":" + savedPath).c_str(), 1);
    setenv("LIST", dir.file("opener.txt").c_str(), 1);
    EXPECT_TRUE(platform::openUrl("https://example.invalid/"));
    setenv("LIST", dir.file("task.txt").c_str(), 1);
    player::PlayerTaskServiceWin tasks(host->getMainWindow());
    player::PlayerTask* task = tasks.createTask("fds", lister, "");
    ASSERT_TRUE(task && task->run());
    ASSERT_TRUE(testsupport::pumpMainThreadUntil([task] { return task->isCompleted(); }, std::chrono::seconds(10)));
    setenv("PATH", savedPath.c_str(), 1);

    for (const char* list : {"opener.txt", "task.txt"}) {
        SCOPED_TRACE(list);
        ASSERT_TRUE(testsupport::pumpMainThreadUntil([&] { return std::filesystem::exists(dir.file(list)); },
                                                     std::chrono::seconds(10)));
        const std::string fds = testsupport::readFile(dir.file(list));
        EXPECT_NE(fds.find(list), std::string::npos) << "the listing ran: " << fds;
        EXPECT_EQ(fds.find("debug.txt"), std::string::npos) << fds;
    }
}

// The log stays closed (nothing is created, later lines go nowhere) and the steps
// after it still run: the writable folder, the window, the director's view and the
// executable's search path.
TEST(SimulatorWinStartUp, DebugLogThatCannotOpenIsSkipped) {
    testsupport::TempDir dir;
    SimulatorWin* host = SimulatorWin::getInstance();
    host->startUp(withProgram({"-workdir", dir.path(), "-writable-path", dir.file("save"),
                               "-write-debug-log", dir.file("missing/debug.txt")}));
    host->writeDebugLog("ignored");
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));

    engine::FileUtils* files = engine::FileUtils::getInstance();
    EXPECT_EQ(files->getWritablePath(), dir.path() + "/save/");
    EXPECT_NE(host->getMainWindow(), 0u);
    EXPECT_NE(view(), nullptr);
    ASSERT_FALSE(files->getSearchPaths().empty());
    EXPECT_EQ(files->getSearchPaths().back(), SimulatorWin::getApplicationPath() + "/");
}

struct DpiCase {
    int dpi;
    bool retina;
    float scale;
};

void PrintTo(const DpiCase& c, std::ostream* os) {
    *os << c.dpi << " dpi" << (c.retina ? ", retina" : "");
}

class SimulatorWinDpi : public testing::TestWithParam<DpiCase> {};

TEST_P(SimulatorWinDpi, FrameSizeAndZoom) {
    const DpiCase& tc = GetParam();
    setScreenDpi(tc.dpi);
    std::vector<std::string> args = {"-scale", "0.5"};
    if (tc.retina) args.push_back("-retina-display");
    StepProbe* host = StepProbe::instance();
    host->startUp(withProgram(args));

    // A retina frame is enlarged by the screen scale; otherwise the frame keeps its
    // size. Either way the window's zoom ends up as the configured frame scale.
    const float factor = tc.retina ? tc.scale : 1.0f;
    const engine::Size expected(960 * factor, 640 * factor);
    ASSERT_NE(view(), nullptr);
    EXPECT_EQ(view()->getFrameSize(), expected);
    EXPECT_EQ(ConfigFileReader::getInstance()->getInitViewSize(), expected);
    EXPECT_FLOAT_EQ(host->zoomBefore, 0.5f);
    EXPECT_EQ(host->getProjectConfig().getFrameSize(), engine::Size(960, 640));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SimulatorWinDpi,
    testing::Values(DpiCase{96, false, 1.0f}, DpiCase{96, true, 1.0f}, DpiCase{119, true, 1.0f},
                    DpiCase{120, false, 1.25f}, DpiCase{120, true, 1.25f}, DpiCase{143, true, 1.25f},
                    DpiCase{144, true, 1.5f}, DpiCase{191, true, 1.5f}, DpiCase{192, true, 2.0f},
                    DpiCase{240, false, 2.0f}, DpiCase{240, true, 2.0f}),
    [](const testing::TestParamInfo<DpiCase>& info) {
        return std::to_string(info.param.dpi) + (info.param.retina ? "_retina" : "_plain");
    });

struct OffsetCase {
    const char* position;
    bool moves;
};

void PrintTo(const OffsetCase& c, std::ostream* os) { *os << c.position; }

class SimulatorWinOffset : public testing::TestWithParam<OffsetCase> {};

TEST_P(SimulatorWinOffset, WindowMovesOnlyWhenBothCoordinatesAreSet) {
    const OffsetCase& tc = GetParam();
    StepProbe* host = StepProbe::instance();
    host->startUp(withProgram({"-position", tc.position}));

    // Where the engine puts a window of that size by itself.
    engine::GLViewImpl* reference =
        engine::GLViewImpl::createWithRect("reference", engine::Rect(0, 0, 960, 640), 1.0f);
    ASSERT_NE(reference, nullptr);
    platform::RECT placed;
    ASSERT_TRUE(platform::getWindowRect(reference->getWin32Window(), &placed));
    const platform::RECT actual = host->rectBefore;

    if (tc.moves) {
        const engine::Vec2& offset = host->getProjectConfig().getWindowOffset();
        EXPECT_EQ(actual.left, static_cast<int>(offset.x));
        EXPECT_EQ(actual.top, static_cast<int>(offset.y));
        EXPECT_EQ(actual.width(), placed.width());
        EXPECT_EQ(actual.height(), placed.height());
    } else {
        EXPECT_EQ(actual, placed);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, SimulatorWinOffset,
                         testing::Values(OffsetCase{"0,300", false}, OffsetCase{"300,0", false},
                                         OffsetCase{"300,200", true}, OffsetCase{"-40,25", true}),
                         [](const testing::TestParamInfo<OffsetCase>& info) {
                             return std::string(info.param.moves ? "moves_" : "stays_") +
                                    std::to_string(info.index);
                         });

TEST(SimulatorWinStartUp, PositionAtTheIntLimitKeepsTheWindowThere) {
    StepProbe* host = StepProbe::instance();
    host->startUp(withProgram({"-position", "100,2147483647"}));
    EXPECT_EQ(host->rectBefore.left, 100);
    EXPECT_EQ(host->rectBefore.top, INT_MAX);
    // Its client area is empty there, so the window settings leave it as it is.
    EXPECT_EQ(host->getPositionY(), INT_MAX);
}

TEST(SimulatorWin, NewInstanceArgumentsCarryNoQuotes) {
    ProjectConfig config;
    config.parseCommandLine({"prog", "-workdir", "/my game", "-entry", "/my game/src/main.lua",
                             "-position", "300,200", "-search-path", "/a;/b c"});
    EXPECT_THAT(SimulatorWin::newPlayerArguments(config),
                ElementsAre("-workdir", "/my game/", "-entry", "/my game/src/main.lua",
                            "-writable-path", "/my game/", "-resolution", "960x640", "-console",
                            "enable", "-position", "300,200", "-search-path", "/a;/b c"));

    // A quote is part of a folder's name, not quoting.
    config.parseCommandLine({"prog", "-workdir", "/tmp/my\"game x"});
    std::vector<std::string> args = SimulatorWin::newPlayerArguments(config);
    EXPECT_THAT(args, testing::Contains("/tmp/my\"game x/"));
    args.insert(args.begin(), "prog");
    ProjectConfig copy;
    copy.parseCommandLine(args);
    EXPECT_EQ(copy.getProjectDir(), "/tmp/my\"game x/");
}

TEST(SimulatorWin, ShutDownAppClosesTheGameWindow) {
    SimulatorWin* host = SimulatorWin::getInstance();
    host->startUp(withProgram({}));
    auto* glview = dynamic_cast<engine::GLViewImpl*>(view());
    ASSERT_NE(glview, nullptr);
    EXPECT_FALSE(glview->windowShouldClose());
    host::shutDownApp();
    EXPECT_TRUE(glview->windowShouldClose());
}

TEST(SimulatorWinRun, QuitEndsTheMainLoop) {
    testsupport::TempDir dir;
    engine::Director::getInstance()->getScheduler()->performFunctionInEngineThread(
        [] { SimulatorWin::getInstance()->quit(); });
    EXPECT_EQ(SimulatorWin::getInstance()->run(withProgram({"-workdir", dir.path()})), 0);
}

TEST(SimulatorWinRun, TerminationSignalEndsRunWithZero) {
    testsupport::TempDir dir;
    // Raised from inside the main loop, once start-up is over.
    engine::Director::getInstance()->getScheduler()->performFunctionInEngineThread(
        [] { kill(getpid(), SIGTERM); });
    EXPECT_EQ(SimulatorWin::getInstance()->run(withProgram({"-workdir", dir.path()})), 0);
}
