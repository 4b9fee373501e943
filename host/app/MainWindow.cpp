// The game window: zoom, settings file, system-menu entries and the replacement
// window procedure.
#include <algorithm>
#include <cmath>
#include <string>

#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/files/FileUtils.h"
#include "host/app/AppEvent.h"
#include "host/app/MainWindowState.h"
#include "host/app/SidebarCommands.h"
#include "host/app/SimulatorWin.h"
#include "host/app/WindowSettings.h"
#include "host/app/ZoomFit.h"
#include "host/player/PlayerMenuServiceWin.h"
#include "host/player/PlayerProtocol.h"
#include "platform/Button.h"
#include "platform/CopyData.h"
#include "platform/DialogBox.h"
#include "platform/Dialogs.h"
#include "platform/DragDrop.h"
#include "platform/Menu.h"
#include "platform/Monitor.h"
#include "platform/Timer.h"
#include "platform/WindowPos.h"

namespace host {
namespace detail {
namespace {
SimulatorWin* g_instance = nullptr;
platform::WNDPROC g_previousProc = nullptr;
}  // namespace

SimulatorWin* simulatorInstance() { return g_instance; }
void setSimulatorInstance(SimulatorWin* instance) { g_instance = instance; }
platform::WNDPROC previousWindowProc() { return g_previousProc; }
void setPreviousWindowProc(platform::WNDPROC proc) { g_previousProc = proc; }

}  // namespace detail

namespace {

engine::GLView* glView() { return engine::Director::getInstance()->getOpenGLView(); }

// The About box: a modal frame with one line of text and an OK button.
platform::DialogTemplate aboutTemplate() {
    platform::DialogTemplate about;
    about.style = platform::DS_MODALFRAME | platform::DS_SETFONT | platform::WS_POPUP | platform::WS_CAPTION |
                  platform::WS_SYSMENU;
    about.caption = "About Simulator";
    about.fontName = "MS Shell Dlg";
    about.pointSize = 8;
    about.cx = 243;
    about.cy = 94;
    about.items = {{"STATIC", "Vizov Iduvodavi", -1, 28, 23, 173, 17, platform::SS_CENTER},
                   {"BUTTON", "OK", platform::IDOK, 173, 69, 63, 18, platform::BS_DEFPUSHBUTTON}};
    return about;
}

intptr_t aboutProc(platform::HWND dialog, platform::UINT message, platform::WPARAM wParam, platform::LPARAM) {
    if (message == platform::WM_INITDIALOG) return 1;
    if (message == platform::WM_COMMAND) {
        const unsigned id = platform::loWord(wParam);
        if (id == platform::IDOK || id == platform::IDCANCEL) {
            platform::endDialog(dialog, static_cast<intptr_t>(id));
            return 1;
        }
    }
    return 0;
}

}  // namespace

void SimulatorWin::loadWindowSettings(platform::HWND window) {
    if (!window) return;
    platform::RECT client;
    platform::getClientRect(window, &client);
    const engine::GLView* view = glView();
    const double factor = view ? view->getFrameZoomFactor() : 1.0;
    if (factor > 0) {
        _baseWidth = client.width() / factor;
        _baseHeight = client.height() / factor;
    }
    _settingsPath = engine::FileUtils::getInstance()->getWritablePath() + kWindowSettingsFile;
    _zoom = zoomFromPermille(readWindowSettings(_settingsPath).zoomPermille);

    const platform::HMENU menu = platform::getSystemMenu(window, false);
    platform::appendMenu(menu, platform::MF_SEPARATOR, 0, "");
    for (int id : {kCmdZoomFit, kCmdZoomOut, kCmdZoomIn}) {
        platform::appendMenu(menu, platform::MF_STRING, static_cast<uintptr_t>(id),
                             sidebarTooltip(id, SidebarState{}));
    }

    _ready = true;
    createSidebar(window);
    // A window the start-up put at a remembered position keeps it.
    applyZoom(window, !_windowMovedAtStart);
}

void SimulatorWin::saveWindowSettings() {
    WindowSettings settings;
    settings.zoomPermille = permilleFromZoom(_zoom);
    settings.pinned = _pinned;
    settings.musicMuted = _musicMuted;
    host::saveWindowSettings(_settingsPath, settings);   // a failure is logged and otherwise ignored
}

bool SimulatorWin::zoomTo(platform::HWND window, double zoom, bool center) {
    const double before = _zoom;
    _zoom = zoom;
    if (applyZoom(window, center)) return true;
    _zoom = before;
    return false;
}

bool SimulatorWin::applyZoom(platform::HWND window, bool center) {
    engine::GLView* view = glView();
    if (!_ready || _applying || _moving || platform::isIconic(window) || !view) return false;

    const platform::HMONITOR monitor = platform::monitorFromWindow(window, platform::MONITOR_DEFAULTTONEAREST);
    platform::MonitorInfo info;
    platform::RECT windowRect, client;
    if (!platform::getMonitorInfo(monitor, &info) || !platform::getWindowRect(window, &windowRect) ||
        !platform::getClientRect(window, &client)) {
        return false;
    }
    const double current = view->getFrameZoomFactor();
    if (!(current > 0) || client.width() <= 0 || client.height() <= 0) return false;
    if (_baseWidth <= 0 || _baseHeight <= 0) {
        _baseWidth = client.width() / current;
        _baseHeight = client.height() / current;
    }
    _monitor = monitor;
    _applying = true;

    const platform::RECT& work = info.workArea;
    FitResult fit;
    for (int pass = 0; pass < 3; ++pass) {
        platform::getWindowRect(window, &windowRect);
        platform::getClientRect(window, &client);
        const int extraWidth = windowRect.width() - client.width() + sidebarWidth();
        const int extraHeight = windowRect.height() - client.height();
        fit = fitZoomScale(work.left, work.top, work.width(), work.height(), extraWidth, extraHeight, _baseWidth,
                           _baseHeight, _zoom, windowRect.left, windowRect.top, center);
        view->setFrameZoomFactor(static_cast<float>(fit.scale));

        platform::getWindowRect(window, &windowRect);
        platform::getClientRect(window, &client);
        const double factor = view->getFrameZoomFactor();
        const int targetWidth = static_cast<int>(factor * _baseWidth);
        const int targetHeight = static_cast<int>(factor * _baseHeight);
        if (client.width() != targetWidth || client.height() != targetHeight) {
            platform::setWindowPos(window, 0, 0, 0, targetWidth + windowRect.width() - client.width(),
                                   targetHeight + windowRect.height() - client.height(),
                                   platform::SWP_NOMOVE | platform::SWP_NOZORDER | platform::SWP_NOACTIVATE);
        }
    }
    _lastFitX = fit.x;
    _lastFitY = fit.y;

    platform::getWindowRect(window, &windowRect);
    const int outerWidth = windowRect.width() + sidebarWidth();
    const int outerHeight = windowRect.height();
    int x = fit.x, y = fit.y;
    if (center) {
        x = work.left + (work.width() - outerWidth) / 2;
        y = work.top + (work.height() - outerHeight) / 2;
    }
    x = clampIntoWork(x, work.left, work.width(), outerWidth);
    y = clampIntoWork(y, work.top, work.height(), outerHeight);
    platform::setWindowPos(window, 0, x, y, 0, 0,
                           platform::SWP_NOSIZE | platform::SWP_NOZORDER | platform::SWP_NOACTIVATE);

    engine::Director::getInstance()->setViewport();
    platform::checkMenuItem(platform::getSystemMenu(window, false), kCmdZoomFit,
                            platform::MF_BYCOMMAND | (_zoom == 0 ? platform::MF_CHECKED : platform::MF_UNCHECKED));
    layoutSidebar(window);
    _applying = false;
    return true;
}

void SimulatorWin::startRefitTimer(platform::HWND window) {
    if (!_applying) platform::setTimer(window, kRefitTimer, 100);
}

bool SimulatorWin::onCommand(platform::HWND window, platform::UINT message, platform::WPARAM wParam,
                             platform::LPARAM lParam) {
    using namespace platform;
    if (!_ready) return false;
    switch (message) {
        case WM_DRAWITEM: return paintSidebarButton(message, lParam);
        case WM_TIMER:
            if (wParam == kGlueTimer) {
                layoutSidebar(window);
                return true;
            }
            if (wParam == kRefitTimer) {
                killTimer(window, kRefitTimer);
                applyZoom(window, false);
                return true;
            }
            return false;
        case WM_WINDOWPOSCHANGED:
        case WM_SHOWWINDOW: layoutSidebar(window); return false;
        case WM_ENTERSIZEMOVE: _moving = true; return false;
        case WM_EXITSIZEMOVE:
            _moving = false;
            setTimer(window, kRefitTimer, 100);
            return false;
        case WM_DISPLAYCHANGE:
        case WM_SETTINGCHANGE:
        case WM_DPICHANGED: startRefitTimer(window); return false;
        case WM_SIZE:
            if (wParam == SIZE_RESTORED) startRefitTimer(window);
            return false;
        case WM_MOVE:
            if (!_applying && !_moving && monitorFromWindow(window, MONITOR_DEFAULTTONEAREST) != _monitor) {
                startRefitTimer(window);
            }
            return false;
        case WM_DESTROY:
            _ready = false;
            killTimer(window, kRefitTimer);
            killTimer(window, kGlueTimer);
            if (_tooltip) destroyWindow(_tooltip);
            if (_sidebar) destroyWindow(_sidebar);
            _tooltip = 0;
            _sidebar = 0;
            return false;
        case WM_SYSCOMMAND: {
            const int id = static_cast<int>(wParam & 0xFFF0);
            if (id == static_cast<int>(SC_MAXIMIZE)) {
                if (!zoomTo(window, 0, true)) return true;
                saveWindowSettings();
                relabelSidebar();
                return true;
            }
            if (id < kFirstSidebarCommand || id > kLastSidebarCommand) return false;
            runCommand(window, id);
            return !sidebarTooltip(id, SidebarState{}).empty();
        }
        case WM_COMMAND: {
            const int id = static_cast<int>(loWord(wParam));
            if (id < kFirstSidebarCommand || id > kLastSidebarCommand) return false;
            runCommand(window, id);
            return !sidebarTooltip(id, SidebarState{}).empty();
        }
        default: return false;
    }
}

void SimulatorWin::showAboutBox(platform::HWND window) {
    platform::dialogBoxParam(window, aboutTemplate(), aboutProc, 0);
}

void SimulatorWin::handleDrop(platform::WPARAM wParam) {
    const platform::HDROP drop = wParam;
    std::string path;
    const bool any = platform::dragQueryFile(drop, 0xFFFFFFFFu, nullptr) >= 1 &&
                     platform::dragQueryFile(drop, 0, &path) > 0;
    // Finished here, once, whatever it holds.
    platform::dragFinish(drop);
    if (!any) return;
    engine::Director::getInstance()->getEventDispatcher()->dispatchEvent(makeDropEvent(path));
}

platform::LRESULT SimulatorWin::windowProc(platform::HWND window, platform::UINT message, platform::WPARAM wParam,
                                           platform::LPARAM lParam) {
    using namespace platform;
    SimulatorWin* self = detail::simulatorInstance();
    if (!self) return 0;
    if (self->onCommand(window, message, wParam, lParam)) {
        return message == WM_DRAWITEM || message == WM_MEASUREITEM ? 1 : 0;
    }
    switch (message) {
        case WM_DESTROY: dragAcceptFiles(window, false); break;
        case WM_COPYDATA: {
            const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            if (record && record->dwData == 1 && record->lpData) {
                // At most the record's bytes, up to the first zero byte.
                const char* bytes = static_cast<const char*>(record->lpData);
                const std::string text(bytes, std::find(bytes, bytes + record->cbData, '\0'));
                self->writeDebugLog(text.c_str());
            }
            break;
        }
        case WM_COMMAND:
        case WM_SYSCOMMAND:
            if (hiWord(wParam) == 0) {
                auto* protocol = player::PlayerProtocol::getInstance();
                auto* menus = protocol ? dynamic_cast<player::PlayerMenuServiceWin*>(protocol->getMenuService())
                                       : nullptr;
                if (player::PlayerMenuItemWin* item =
                        menus ? menus->getItemByCommandId(static_cast<uint16_t>(loWord(wParam))) : nullptr) {
                    engine::Director::getInstance()->getEventDispatcher()->dispatchEvent(
                        makeMenuClickedEvent(item));
                }
                if (loWord(wParam) == static_cast<unsigned>(kAboutCommand)) self->showAboutBox(window);
            }
            break;
        case WM_DROPFILES:
            // A finished drop is not handed on: its handle is released.
            self->handleDrop(wParam);
            return 0;
        default: break;
    }
    return callWindowProc(detail::previousWindowProc(), window, message, wParam, lParam);
}

}  // namespace host
