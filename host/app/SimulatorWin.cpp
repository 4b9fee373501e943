#include "host/app/SimulatorWin.h"

#include <climits>
#include <cstdlib>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/app/Application.h"
#include "engine/files/FileUtils.h"
#include "engine/app/GLView.h"
#include "host/BuildConfig.h"
#include "host/app/AppDelegate.h"
#include "host/config/ConfigFileReader.h"
#include "host/app/MainWindowState.h"
#include "host/app/ShaderCache.h"
#include "host/player/PlayerWin.h"
#include "platform/DragDrop.h"
#include "platform/IntClamp.h"
#include "platform/Monitor.h"
#include "platform/NativeWindow.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/Signals.h"
#include "platform/WebKitView.h"
#include "runtime/RuntimeEngine.h"

namespace host {
namespace {

float screenScaleForDpi(int dpi) {
    if (dpi < 120) return 1.0f;
    if (dpi < 144) return 1.25f;
    if (dpi < 192) return 1.5f;
    return 2.0f;
}

bool isOption(const std::string& arg) { return !arg.empty() && arg[0] == '-'; }

}  // namespace

SimulatorWin::SimulatorWin() { detail::setSimulatorInstance(this); }

SimulatorWin* SimulatorWin::getInstance() {
    static SimulatorWin* instance = new SimulatorWin();
    return instance;
}

SimulatorWin::~SimulatorWin() {
    _app.reset();
    if (_debugLog) {
        std::fclose(_debugLog);
        _debugLog = nullptr;
    }
}

void SimulatorWin::quit() { engine::Director::getInstance()->end(); }

void SimulatorWin::relaunch() {
    _project.setWindowOffset(engine::Vec2(static_cast<float>(getPositionX()),
                                          static_cast<float>(getPositionY())));
    openNewPlayerWithProjectConfig(_project);
    quit();
}

void SimulatorWin::openNewPlayer() { openNewPlayerWithProjectConfig(_project); }

std::vector<std::string> SimulatorWin::newPlayerArguments(const ProjectConfig& config) {
    return config.makeCommandLineVector(ProjectConfig::kOptAll);
}

void SimulatorWin::openNewPlayerWithProjectConfig(const ProjectConfig& config) {
    platform::spawnProcess(getApplicationExePath(), newPlayerArguments(config));
}

void SimulatorWin::openProjectWithProjectConfig(const ProjectConfig& config) {
    openNewPlayerWithProjectConfig(config);
    quit();
}

int SimulatorWin::getPositionX() {
    platform::RECT rect;
    platform::getWindowRect(_mainWindow, &rect);
    return rect.left;
}

int SimulatorWin::getPositionY() {
    platform::RECT rect;
    platform::getWindowRect(_mainWindow, &rect);
    return rect.top;
}

std::string SimulatorWin::getApplicationExePath() { return platform::executablePath(); }

std::string SimulatorWin::getApplicationPath() {
    std::string path = getApplicationExePath();
    size_t pos = path.rfind('/');
    if (pos == std::string::npos) return "";
    return path.substr(0, pos);
}

std::string SimulatorWin::getAbsoluteApplicationPath() {
    std::string dir = getApplicationPath();
    if (dir.empty()) return "";
    std::string resolved = platform::realPath(dir);
    return resolved.empty() ? dir : resolved;
}

void SimulatorWin::writeDebugLog(const char* text) {
    if (!_debugLog) return;
    std::fputs(text, _debugLog);
    std::fputc('\n', _debugLog);
    std::fflush(_debugLog);
}

void SimulatorWin::parseArguments(const std::vector<std::string>& args, ProjectConfig& config) {
    ProjectConfig first;
    if (args.size() >= 2) {
        if (!args[1].empty() && args[1][0] == '/') first.setProjectDir(args[1]);
        first.parseCommandLine(args);
    }
    engine::FileUtils::getInstance()->setDefaultResourceRootPath(first.getProjectDir());

    ConfigFileReader* reader = ConfigFileReader::getInstance();
    reader->readConfig(first.getProjectDir() + "config.json");

    config.setConsolePort(reader->getConsolePort());
    config.setFileUploadPort(reader->getUploadPort());
    config.setFrameSize(reader->getInitViewSize());
    if (reader->isLandscape()) {
        config.changeFrameOrientationToLandscape();
    } else {
        config.changeFrameOrientationToPortrait();
    }
    config.setScriptFile(reader->getEntryFile());
}

void SimulatorWin::startUp(const std::vector<std::string>& args) {
    // Configuration: "config.json" first, then the command line over it.
    parseArguments(args, _project);
    _project.parseCommandLine(args);

    // A lone argument that is not an option names the project folder.
    if (_project.getProjectDir().empty() && args.size() == 2 && !args[1].empty() &&
        !isOption(args[1])) {
        _project.setProjectDir(platform::absolutePath(args[1]));
        _project.setDebuggerType(ProjectConfig::kDebuggerCodeIde);
    }
    if (_project.getProjectDir().empty()) {
        std::string appPath = getApplicationPath();
        _project.setProjectDir(appPath);
        _project.setWritablePath(appPath + "/data");
    }

    _app = std::make_unique<AppDelegate>();

    // The runtime sits below the host and reaches it through these hooks.
    runtime::RuntimeEngine::setHostHooks(
        {[] { return SimulatorWin::getAbsoluteApplicationPath(); }, [] { shutDownApp(); }});
    runtime::RuntimeEngine::getInstance()->setProjectConfig(_project);

    if (_project.isWriteDebugLogToFile() && !_debugLog) {
        _debugLog = std::fopen(_project.getDebugLogFilePath().c_str(), "we");
    }

    // Folders.
    engine::FileUtils* files = engine::FileUtils::getInstance();
    platform::setCurrentDirectory(_project.getProjectDir());
    files->setDefaultResourceRootPath(_project.getProjectDir());
    files->setWritablePath(_project.getWritableRealPath());
    // Before the display is opened: the GL driver reads it when it starts.
    keepShaderCacheIn(files->getWritablePath());

    // Window size: a retina frame is enlarged by the screen scale, any other frame
    // is shown zoomed by it.
    // On a display its monitors replace the model's before the first measurement.
    platform::nativeDisplayAvailable();
    float screenScale = screenScaleForDpi(platform::getScreenDeviceCaps(platform::LOGPIXELSX));
    engine::Size frameSize = _project.getFrameSize();
    float zoom = 1.0f;
    if (_project.isRetinaDisplay()) {
        frameSize.width *= screenScale;
        frameSize.height *= screenScale;
    } else {
        zoom = screenScale;
    }
    engine::Rect rect(0, 0, frameSize.width, frameSize.height);
    ConfigFileReader::getInstance()->setInitViewSize(frameSize);

    const std::string title = build::kGameTitle;

    startTlsWarmup();

    engine::GLContextAttrs attrs;
    attrs.redBits = attrs.greenBits = attrs.blueBits = attrs.alphaBits = 8;
    attrs.depthBits = 24;
    attrs.stencilBits = 8;
    engine::GLView::setGLContextAttrs(attrs);

    engine::GLViewImpl* view = engine::GLViewImpl::createWithRect(title, rect, zoom);
    _mainWindow = view ? view->getWin32Window() : 0;

    createPlayer();
    acceptDroppedFiles();

    engine::Director* director = engine::Director::getInstance();
    director->setOpenGLView(view);
    director->setAnimationInterval(1.0f / 60);
    if (_mainWindow) platform::installTerminationHandlers(_mainWindow);
    // The pay window's browser loads beside the first frames, not at its first open.
    platform::preloadWebKit();

    if (!_project.getProjectDir().empty()) {
        float frameScale = _project.getFrameScale();
        _project.setFrameScale(frameScale);
        if (engine::GLView* glview = director->getOpenGLView()) glview->setFrameZoomFactor(frameScale);
    }

    // Both coordinates must be non-zero for the window to move.
    const engine::Vec2& offset = _project.getWindowOffset();
    if (offset.x != 0 && offset.y != 0 && _mainWindow) {
        platform::RECT windowRect;
        if (platform::getWindowRect(_mainWindow, &windowRect)) {
            platform::moveWindow(_mainWindow, platform::truncToInt(offset.x), platform::truncToInt(offset.y),
                                 windowRect.width(), windowRect.height(), false);
            _windowMovedAtStart = true;
        }
    }

    files->addSearchPath(getApplicationPath(), false);
    files->setPopupNotify(false);

    _project.dump();

    installWindowProc();
    loadWindowSettings(_mainWindow);
}

int SimulatorWin::run(const std::vector<std::string>& args) {
    startUp(args);
    const int status = engine::Application::getInstance()->run();
    return status != 0 ? status : AppDelegate::exitStatus();
}

namespace {
std::function<void()>& tlsWarmupStep() {
    static std::function<void()> step;
    return step;
}
}  // namespace

void SimulatorWin::setTlsWarmup(std::function<void()> warmup) { tlsWarmupStep() = std::move(warmup); }

void SimulatorWin::startTlsWarmup() {
    if (tlsWarmupStep()) tlsWarmupStep()();
}

void SimulatorWin::createPlayer() {
    // Lives until the process ends; PlayerProtocol::getInstance() finds it.
    if (_mainWindow && !player::PlayerProtocol::getInstance()) {
        player::PlayerWin::createWithInstanceHandle(_mainWindow);
    }
}

void SimulatorWin::acceptDroppedFiles() {
    if (_mainWindow) platform::dragAcceptFiles(_mainWindow, true);
}

void SimulatorWin::installWindowProc() {
    engine::Application::getInstance();
    if (_mainWindow) detail::setPreviousWindowProc(platform::setWindowProc(_mainWindow, &SimulatorWin::windowProc));
}

void shutDownApp() {
    auto* view = dynamic_cast<engine::GLViewImpl*>(engine::Director::getInstance()->getOpenGLView());
    if (view) platform::sendMessage(view->getWin32Window(), platform::WM_CLOSE, 0, 0);
}

}  // namespace host
