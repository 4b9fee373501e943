// The right sidebar: a strip of seven owner-drawn buttons glued to the game
// window's client area, and the commands behind them.
#include <algorithm>
#include <cstdint>

#include "engine/app/GLView.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/base/Director.h"
#include "host/BuildConfig.h"
#include "host/app/MainWindowState.h"
#include "host/app/SidebarCommands.h"
#include "host/app/SidebarPainter.h"
#include "host/app/SimulatorWin.h"
#include "host/app/WindowSettings.h"
#include "platform/Activation.h"
#include "platform/Button.h"
#include "platform/Dialogs.h"
#include "platform/Monitor.h"
#include "platform/MulDiv.h"
#include "platform/NativeWindow.h"
#include "platform/Paint.h"
#include "platform/Timer.h"
#include "platform/Tooltip.h"
#include "platform/UrlOpener.h"
#include "platform/WindowClass.h"
#include "platform/WindowPos.h"
#include "portal/PayWebWindow.h"
#include "portal/PortalAddresses.h"

namespace host {
namespace {

constexpr const char* kSidebarClass = "VEXORightSidebar108";

SimulatorWin::PayWebViewOpener& payWebViewOpener() {
    static SimulatorWin::PayWebViewOpener opener;
    return opener;
}

platform::TTTOOLINFO toolInfo(platform::HWND sidebar, platform::HWND button, const std::string& text) {
    platform::TTTOOLINFO info;
    info.cbSize = 48;
    info.uFlags = platform::TTF_IDISHWND | platform::TTF_SUBCLASS;
    info.hwnd = sidebar;
    info.uId = button;
    info.text = text;
    return info;
}

void setTopmost(platform::HWND window, bool topmost) {
    platform::setWindowPos(window, topmost ? platform::HWND_TOPMOST : platform::HWND_NOTOPMOST, 0, 0, 0, 0,
                           platform::SWP_NOMOVE | platform::SWP_NOSIZE | platform::SWP_NOACTIVATE);
}

// Places a child at client coordinates of its parent (the model keeps children
// in screen coordinates).
void placeChild(platform::HWND parent, platform::HWND child, int x, int y, int width, int height) {
    platform::POINT origin{x, y};
    platform::clientToScreen(parent, &origin);
    platform::setWindowPos(child, 0, origin.x, origin.y, width, height,
                           platform::SWP_NOZORDER | platform::SWP_NOACTIVATE);
}

}  // namespace

void SimulatorWin::setPayWebViewOpener(PayWebViewOpener opener) { payWebViewOpener() = std::move(opener); }

int SimulatorWin::sidebarWidth() const { return platform::mulDiv(62, _dpi, 96); }

std::string SimulatorWin::getSidebarTooltip(int id) const {
    return sidebarTooltip(id, SidebarState{_pinned, _musicMuted});
}

void SimulatorWin::createSidebar(platform::HWND mainWindow) {
    using namespace platform;
    _sidebarOwner = mainWindow;
    _dpi = getScreenDeviceCaps(LOGPIXELSX);

    const WindowSettings settings = readWindowSettings(_settingsPath);
    _pinned = settings.pinned;
    _musicMuted = settings.musicMuted;
    VEXOSetMusicMuted(_musicMuted);
    setTopmost(mainWindow, _pinned);

    WNDCLASS wc;
    wc.className = kSidebarClass;
    wc.proc = &SimulatorWin::sidebarProc;
    wc.cursor = IDC_ARROW;
    registerClass(wc);   // already registered by an earlier start: kept

    WindowDesc desc;
    desc.className = kSidebarClass;
    desc.title = "VEXO";
    desc.exStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    desc.style = WS_POPUP | WS_CLIPCHILDREN;
    desc.windowRect = RECT{0, 0, sidebarWidth(), mulDiv(300, _dpi, 96)};
    desc.frameLeft = desc.frameTop = desc.frameRight = desc.frameBottom = 0;
    desc.owner = mainWindow;
    desc.visible = false;
    _sidebar = createWindow(desc);
    if (!_sidebar) return;
    // On a display: a real window beside the game's, showing the painted strip.
    NativeWindowAttrs look;
    look.decorated = false;
    look.focusOnShow = false;
    look.showsPicture = true;
    attachNativeWindow(_sidebar, look);

    initCommonControlsEx(ICC_WIN95_CLASSES);
    WindowDesc tip;
    tip.className = TOOLTIPS_CLASS;
    tip.exStyle = WS_EX_TOPMOST;
    tip.style = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX;
    tip.owner = _sidebar;
    tip.visible = false;
    tip.frameLeft = tip.frameTop = tip.frameRight = tip.frameBottom = 0;
    _tooltip = createWindow(tip);
    if (_tooltip) sendMessage(_tooltip, TTM_SETMAXTIPWIDTH, 0, 320);

    const int side = mulDiv(36, _dpi, 96);
    for (int id : kSidebarOrder) {
        WindowDesc button;
        button.className = "BUTTON";
        button.parent = _sidebar;
        button.id = id;
        button.style = WS_VISIBLE | WS_CHILD | BS_OWNERDRAW;
        button.title = getSidebarTooltip(id);
        button.frameLeft = button.frameTop = button.frameRight = button.frameBottom = 0;
        POINT origin{0, 0};
        clientToScreen(_sidebar, &origin);
        button.windowRect = RECT{origin.x, origin.y, origin.x + side, origin.y + side};
        const HWND hwnd = createWindow(button);
        if (hwnd && _tooltip) {
            TTTOOLINFO info = toolInfo(_sidebar, hwnd, button.title);
            sendMessage(_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        }
    }

    layoutSidebarButtons();
    layoutSidebar(mainWindow);
    setTimer(mainWindow, kGlueTimer, 150);
}

void SimulatorWin::layoutSidebarButtons() {
    using namespace platform;
    RECT client;
    if (!getClientRect(_sidebar, &client)) return;
    const int margin = mulDiv(3, _dpi, 96);
    const int height = std::max(1, std::min((client.height() - 2 * margin) / 7, mulDiv(58, _dpi, 96)));
    const int width = client.width() - 2 * margin;
    int y = margin;
    for (int id : kSidebarOrder) {
        if (HWND button = getDlgItem(_sidebar, id)) placeChild(_sidebar, button, margin, y, width, height);
        y += height;
    }
}

void SimulatorWin::layoutSidebar(platform::HWND mainWindow) {
    using namespace platform;
    if (!_sidebar) return;
    if (!isWindowVisible(mainWindow) || isIconic(mainWindow)) {
        if (isWindowVisible(_sidebar)) showWindowCommand(_sidebar, SW_HIDE);
        return;
    }
    RECT client;
    getClientRect(mainWindow, &client);
    POINT corner{client.right, 0};
    clientToScreen(mainWindow, &corner);
    const int width = sidebarWidth();
    const int height = std::min(mulDiv(412, _dpi, 96), client.height());
    RECT current;
    getWindowRect(_sidebar, &current);
    if (current == RECT{corner.x, corner.y, corner.x + width, corner.y + height}) {
        if (!isWindowVisible(_sidebar)) showWindowCommand(_sidebar, SW_SHOWNOACTIVATE);
        return;
    }
    setWindowPos(_sidebar, 0, corner.x, corner.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    layoutSidebarButtons();
    redrawWindow(_sidebar, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    if (!isWindowVisible(_sidebar)) showWindowCommand(_sidebar, SW_SHOWNOACTIVATE);
}

void SimulatorWin::relabelSidebar() {
    using namespace platform;
    if (!_sidebar) return;
    for (int id : kSidebarOrder) {
        const HWND button = getDlgItem(_sidebar, id);
        if (!button) continue;
        const std::string text = getSidebarTooltip(id);
        setWindowText(button, text);
        if (_tooltip) {
            TTTOOLINFO info = toolInfo(_sidebar, button, text);
            sendMessage(_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
        }
        invalidateRect(button, nullptr, true);
    }
}

bool SimulatorWin::paintSidebarButton(platform::UINT message, platform::LPARAM lParam) {
    using namespace platform;
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (message != WM_DRAWITEM || !item || item->CtlType != ODT_BUTTON) return false;
    const int id = static_cast<int>(item->CtlID);
    if (id < kFirstSidebarCommand || id > kLastSidebarCommand || !item->hDC) return false;
    SidebarButtonLook look;
    look.id = id;
    look.width = item->rcItem.width();
    look.height = item->rcItem.height();
    look.dpi = _dpi;
    look.state = SidebarState{_pinned, _musicMuted};
    look.highlighted = (id == kCmdPin && _pinned) || (id == kCmdZoomFit && _zoom == 0) ||
                       (item->itemState & (ODS_SELECTED | ODS_HOTLIGHT)) != 0;
    cairo_save(item->hDC);
    cairo_translate(item->hDC, item->rcItem.left, item->rcItem.top);
    paintSidebarButtonFace(item->hDC, look);
    cairo_restore(item->hDC);
    return true;
}

platform::LRESULT SimulatorWin::sidebarProc(platform::HWND window, platform::UINT message, platform::WPARAM wParam,
                                            platform::LPARAM lParam) {
    using namespace platform;
    SimulatorWin* self = detail::simulatorInstance();
    switch (message) {
        case WM_DRAWITEM:
            if (self && self->paintSidebarButton(message, lParam)) return 1;
            break;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            if (HDC hdc = beginPaint(window, &ps)) {
                RECT client;
                getClientRect(window, &client);
                paintSidebarBackground(hdc, client.width(), client.height(), self ? self->_dpi : 96);
                endPaint(window, &ps);
            }
            return 0;
        }
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_COMMAND:
            if (hiWord(wParam) == 0 && self) {
                if (self->_tooltip) sendMessage(self->_tooltip, TTM_POP, 0, 0);
                setForegroundWindow(self->_sidebarOwner);
                postMessage(self->_sidebarOwner, WM_COMMAND, loWord(wParam), 0);
                return 0;
            }
            break;
        case WM_CLOSE: return 0;
        default: break;
    }
    return defWindowProc(window, message, wParam, lParam);
}

void SimulatorWin::runCommand(platform::HWND mainWindow, int id) {
    using namespace platform;
    if (_tooltip) sendMessage(_tooltip, TTM_POP, 0, 0);
    engine::GLView* view = engine::Director::getInstance()->getOpenGLView();
    switch (id) {
        case kCmdZoomFit:
            if (!zoomTo(mainWindow, 0, false)) return;
            break;
        case kCmdZoomOut:
        case kCmdZoomIn: {
            if (!view) return;
            const double step = id == kCmdZoomOut ? 0.9 : 1.0 / 0.9;
            if (!zoomTo(mainWindow, std::max(std::min(view->getFrameZoomFactor() * step, 4.0), 0.2), false)) return;
            _zoom = view->getFrameZoomFactor();   // what the screen allowed
            break;
        }
        case kCmdPin:
            _pinned = !_pinned;
            setTopmost(mainWindow, _pinned);
            if (_sidebar) setTopmost(_sidebar, _pinned);
            break;
        case kCmdMusic:
            _musicMuted = !_musicMuted;
            VEXOSetMusicMuted(_musicMuted);
            break;
        case kCmdTopUp: {
            const std::string home = portal::portalHome();
            const bool opened = payWebViewOpener() ? payWebViewOpener()(home, "") : portal::openPayWebView(home, "");
            if (!opened) {
                messageBox(mainWindow, "Không mở được cửa sổ nạp. Vui lòng thử lại trong game.", "Nạp thẻ",
                           MB_ICONINFORMATION);
            }
            return;
        }
        case kCmdSupport:
            if (!openUrl(build::kSupportLink)) {
                messageBox(mainWindow, std::string("Không mở được liên kết. Vui lòng truy cập: ") + build::kSupportLink,
                           "VEXO", MB_ICONINFORMATION);
            }
            return;
        default: return;
    }
    saveWindowSettings();
    relabelSidebar();
}

}  // namespace host
