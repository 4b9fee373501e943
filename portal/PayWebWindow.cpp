#include "portal/PayWebWindow.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <utility>

#include "engine/base/Log.h"
#include "platform/Activation.h"
#include "platform/Button.h"
#include "platform/Monitor.h"
#include "platform/NativeWindow.h"
#include "platform/Paint.h"
#include "platform/SteadyClock.h"
#include "platform/Utf16.h"
#include "platform/WindowClass.h"
#include "portal/ExternalUrl.h"
#include "portal/GameWindow.h"
#include "portal/PayButton.h"
#include "portal/PayWindowPainter.h"
#include "portal/PayWindowPlacement.h"
#include "portal/PortalAddresses.h"

namespace portal {
namespace {

using platform::HWND;
using platform::LPARAM;
using platform::LRESULT;
using platform::UINT;
using platform::WPARAM;

constexpr const char* kPayWindowClass = "VEXOPayWebViewWindow";
constexpr uint32_t kPayWindowStyle = 0x80CC0000;   // pop-up, caption, system menu, sizing frame
constexpr uint32_t kButtonStyle = 0x5000000B;      // child, visible, owner-drawn
constexpr int kDefaultWidth = 900;
constexpr int kDefaultHeight = 1000;
constexpr uint32_t kEscapeKey = 27;
// Telegram links the user follows go to the system's opener at most this often.
constexpr auto kExternalOpenGap = std::chrono::seconds(1);

struct ButtonSpec {
    int id;
    const char* caption;
    int width;
};
constexpr ButtonSpec kButtons[3] = {
    {kPayButtonBack, "Về game", 168},
    {kPayButtonHistory, "Quay lại", 128},
    {kPayButtonHome, "Trang chủ", 128},
};

struct PayWindowState {
    bool classRegistered = false;
    HWND window = 0;
    HWND buttons[3] = {0, 0, 0};
    platform::WNDPROC buttonProc = nullptr;
    HWND game = 0;
    bool loaderTried = false;
    platform::CreateWebViewEnvironment createEnvironment;
    bool creating = false;
    std::string pendingAddress;
    std::string target;
    bool targetDone = false;
    std::shared_ptr<platform::WebViewController> controller;
    std::shared_ptr<platform::WebView> webview;
    bool captureArmed = false;
    std::string capturePrefix;
    CaptureCallback captureFunction;
    // Bumped by every open: a hide posted by a capture before a later open is stale.
    unsigned openSerial = 0;
    std::optional<platform::SteadyClock::TimePoint> lastExternalOpen;
};

// Posted by a capture to hide the window once the navigation event is over
// (wParam: the open serial of the time).
constexpr UINT kHideAfterCapture = platform::WM_APP + 1;

PayWindowState& state() {
    static PayWindowState s;
    return s;
}

// Text as the wide-character interfaces would hold it: malformed UTF-8 becomes
// U+FFFD, so comparisons behave as they do on the converted text.
std::string asWideText(const std::string& utf8) { return platform::wideToUtf8(platform::utf8ToWide(utf8)); }

// The game window comes to the foreground, and on the desktop gets the keyboard
// focus back from the pay window's real window.
void foregroundGame(HWND game) {
    platform::setForegroundWindow(game);
    platform::focusNativeWindow(game);
}

void clearCapture() {
    state().captureArmed = false;
    state().capturePrefix.clear();
}

// Takes the armed capture's function out of its slot and disarms.
CaptureCallback takeCapture() {
    CaptureCallback function = std::move(state().captureFunction);
    state().captureFunction = nullptr;
    clearCapture();
    return function;
}

// Answers every armed capture with the empty address. An answer may arm a new
// capture (its sign-in starting over); that one is answered too, so no callback
// is ever dropped unanswered.
void answerArmedCaptures() {
    while (state().captureArmed) {
        CaptureCallback function = takeCapture();
        if (function) function(std::string());
    }
}

int buttonIndex(int id) {
    for (int i = 0; i < 3; ++i) {
        if (kButtons[i].id == id) return i;
    }
    return -1;
}

void placeChild(HWND parent, HWND child, int x, int y, int width, int height) {
    platform::POINT origin{x, y};
    platform::clientToScreen(parent, &origin);
    platform::moveWindow(child, origin.x, origin.y, width, height, true);
}

void payWindowLayout(HWND window) {
    platform::RECT client;
    if (!platform::getClientRect(window, &client)) return;
    PayWindowState& s = state();
    const int backX = std::max(client.width() - 178, 282);
    const int xs[3] = {backX, 10, 146};
    for (int i = 0; i < 3; ++i) {
        if (s.buttons[i]) placeChild(window, s.buttons[i], xs[i], 8, kButtons[i].width, 36);
    }
    if (s.controller) {
        platform::RECT bounds = client;
        bounds.top = kPayHeaderHeight;
        bounds.bottom = std::max(bounds.bottom, bounds.top);
        s.controller->setBounds(bounds);
    }
}

void releaseWebView() {
    PayWindowState& s = state();
    s.webview.reset();
    if (s.controller) s.controller->close();
    s.controller.reset();
}

std::string targetPage(const std::string& target) {
    if (target == "__support") return portalPage("report.shtml");
    if (target == "__shop") return portalPage("buypackage.shtml");
    return portalPage("buypackage.shtml?buy=") + target;
}

bool classifyPortalUrl(const std::string& address) {
    const PayWindowState& s = state();
    return !s.captureArmed && !s.targetDone && !s.target.empty() && !address.empty() && isPortalAddress(address) &&
           address.find("login.php") == std::string::npos && address.find("buypackage") == std::string::npos;
}

// An address as a log line may show it: its first 80 bytes.
std::string forLog(const std::string& address) {
    return address.size() <= 80 ? address : address.substr(0, 80) + "...";
}

// A Telegram link goes to the system's opener only when the user followed it,
// and not more than once in kExternalOpenGap: a page's timer cannot start the
// opener, nor start it over and over.
void openTelegramLink(const std::string& address, bool userGesture) {
    PayWindowState& s = state();
    if (!userGesture) {
        engine::log("[VEXO] pay window: a Telegram link the user did not follow is not opened: %s", forLog(address).c_str());
        return;
    }
    const auto now = platform::SteadyClock::now();
    if (s.lastExternalOpen && now - *s.lastExternalOpen < kExternalOpenGap) {
        engine::log("[VEXO] pay window: a Telegram link too soon after the last one is not opened: %s",
                    forLog(address).c_str());
        return;
    }
    s.lastExternalOpen = now;
    openExternalUrl(address);
}

void onNavigationStarting(platform::WebView& /*sender*/, platform::NavigationStartingArgs& args) {
    const std::string& address = args.uri;
    if (address.empty()) return;
    PayWindowState& s = state();
    if (s.captureArmed && !s.capturePrefix.empty() && address.compare(0, s.capturePrefix.size(), s.capturePrefix) == 0) {
        args.cancel = true;
        CaptureCallback function = takeCapture();
        if (s.window) platform::postMessage(s.window, kHideAfterCapture, s.openSerial, 0);
        if (function) function(address);
        return;
    }
    if (isTelegramLink(address)) {
        args.cancel = true;
        openTelegramLink(address, args.userGesture);
        return;
    }
    if (!isWebAddress(address)) {
        args.cancel = true;
        engine::log("[VEXO] pay window: refused a navigation to an address that is not a web page: %s",
                    forLog(address).c_str());
    }
}

void onNavigationCompleted(platform::WebView& sender, platform::NavigationCompletedArgs& /*args*/) {
    const std::string address = sender.source();
    if (!classifyPortalUrl(address)) return;
    state().targetDone = true;
    sender.navigate(targetPage(state().target));
}

// A pop-up loads in the same view, and only a web page does: a script, file or
// data address would run or show in the portal's own document.
void onNewWindowRequested(platform::WebView& sender, platform::NewWindowRequestedArgs& args) {
    args.handled = true;
    if (!isWebAddress(args.uri) || args.uri.compare(0, 6, "about:") == 0) {
        engine::log("[VEXO] pay window: refused a pop-up to an address that is not a web page: %s",
                    forLog(args.uri).c_str());
        return;
    }
    args.newWindow = sender.shared_from_this();
}

void onAcceleratorKey(platform::WebViewController& /*sender*/, platform::AcceleratorKeyPressedArgs& args) {
    const bool keyDown = args.kind == platform::WebViewKeyEventKind::KeyDown ||
                         args.kind == platform::WebViewKeyEventKind::SystemKeyDown;
    if (keyDown && args.virtualKey == kEscapeKey && state().window) {
        args.handled = true;
        platform::postMessage(state().window, platform::WM_CLOSE, 0, 0);
    }
}

void destroyPayWindow() {
    if (state().window) platform::destroyWindow(state().window);
}

void onControllerCreated(platform::HRESULT result, std::shared_ptr<platform::WebViewController> controller) {
    PayWindowState& s = state();
    s.creating = false;
    if (!platform::succeeded(result) || !controller) {
        destroyPayWindow();
        return;
    }
    // A controller left from an earlier creation that gave no view is closed, not leaked.
    if (s.controller && s.controller != controller) s.controller->close();
    s.controller = std::move(controller);
    s.webview = s.controller->coreWebView();
    payWindowLayout(s.window);
    s.controller->setVisible(true);
    s.controller->addAcceleratorKeyPressed(onAcceleratorKey);
    if (!s.webview) return;
    s.webview->addNavigationCompleted(onNavigationCompleted);
    s.webview->addNewWindowRequested(onNewWindowRequested);
    s.webview->addNavigationStarting(onNavigationStarting);
    if (!s.pendingAddress.empty()) s.webview->navigate(s.pendingAddress);
}

void onEnvironmentCreated(platform::HRESULT result, std::shared_ptr<platform::WebViewEnvironment> environment) {
    PayWindowState& s = state();
    if (platform::succeeded(result) && environment &&
        platform::succeeded(environment->createController(s.window, onControllerCreated))) {
        return;
    }
    s.creating = false;
    destroyPayWindow();
}

void goHome() {
    PayWindowState& s = state();
    if (s.webview && !s.captureArmed) s.webview->navigate(portalHome());
}

void goBack() {
    PayWindowState& s = state();
    if (s.webview && s.webview->canGoBack()) s.webview->goBack();
}

void onDestroy(HWND window) {
    PayWindowState& s = state();
    if (s.window != window) return;
    releaseWebView();
    std::fill(std::begin(s.buttons), std::end(s.buttons), 0);
    payButtonResetHover();
    s.buttonProc = nullptr;
    s.window = 0;
    foregroundGame(s.game);
    // A sign-in waiting on this window would otherwise never hear back.
    answerArmedCaptures();
}

LRESULT payWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case platform::WM_DESTROY:
            onDestroy(window);
            return 0;
        case platform::WM_SIZE: {
            payWindowLayout(window);
            const platform::RECT strip{0, 0, static_cast<int>(platform::loWord(lParam)), kPayHeaderHeight};
            platform::invalidateRect(window, &strip, false);
            return 0;
        }
        case platform::WM_MOVE:
            // The window model keeps child rectangles on the screen: the buttons
            // follow their parent here.
            payWindowLayout(window);
            return 0;
        case platform::WM_PAINT: {
            platform::PAINTSTRUCT ps;
            if (platform::HDC dc = platform::beginPaint(window, &ps)) {
                payWindowPaintHeader(window, dc);
                platform::endPaint(window, &ps);
            }
            return 0;
        }
        case platform::WM_ERASEBKGND:
            return 1;
        case platform::WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const platform::DRAWITEMSTRUCT*>(lParam);
            const int id = static_cast<int>(wParam);
            if (item && buttonIndex(id) >= 0) {
                payWindowDrawButton(item->hwndItem, id, item->hDC, item->rcItem);
                return 1;
            }
            break;
        }
        case platform::WM_CLOSE:
            payWindowHide(window);
            return 0;
        case kHideAfterCapture:
            // A sign-in the answer started owns the window now.
            if (wParam == state().openSerial) payWindowHide(window);
            return 0;
        case platform::WM_COMMAND:
            switch (platform::loWord(wParam)) {
                case kPayButtonBack: payWindowHide(window); return 0;
                case kPayButtonHistory: goBack(); return 0;
                case kPayButtonHome: goHome(); return 0;
                default: break;
            }
            break;
        case platform::WM_EXITSIZEMOVE:
            savePayWindowPlacement(window);
            return 0;
        default:
            break;
    }
    return platform::defWindowProc(window, msg, wParam, lParam);
}

platform::RECT initialPlacement(HWND game) {
    // The desktop's choice of place: the primary work area's corner.
    const platform::RECT work = platform::primaryMonitor().workArea;
    platform::RECT rect{work.left, work.top, work.left + kDefaultWidth, work.top + kDefaultHeight};
    if (game) platform::getWindowRect(game, &rect);
    platform::RECT saved;
    if (loadPayWindowPlacement(&saved)) rect = saved;
    return rect;
}

bool createPayWindow() {
    PayWindowState& s = state();
    if (!s.classRegistered) {
        platform::WNDCLASS wc;
        wc.className = kPayWindowClass;
        wc.proc = payWindowProc;
        wc.cursor = platform::IDC_ARROW;
        if (!platform::registerClass(wc)) return false;   // tried again at the next open
        s.classRegistered = true;
    }
    s.game = gameWindow();
    platform::WindowDesc desc;
    desc.className = kPayWindowClass;
    desc.windowRect = initialPlacement(s.game);
    desc.visible = false;
    desc.style = kPayWindowStyle;
    desc.owner = s.game;
    // On the desktop the window manager draws the frame around the real window,
    // which covers the client area: without insets of its own the model's
    // rectangle is the real window's, and a saved placement comes back exactly.
    if (platform::nativeDisplayAvailable()) desc.frameLeft = desc.frameTop = desc.frameRight = desc.frameBottom = 0;
    s.window = platform::createWindow(desc);
    if (!s.window) return false;
    for (int i = 0; i < 3; ++i) {
        platform::WindowDesc button;
        button.className = "BUTTON";
        button.title = kButtons[i].caption;
        button.parent = s.window;
        button.style = kButtonStyle;
        button.frameLeft = button.frameTop = button.frameRight = button.frameBottom = 0;
        button.id = kButtons[i].id;
        s.buttons[i] = platform::createWindow(button);
        if (!s.buttons[i]) continue;
        platform::WNDPROC previous = platform::setWindowProc(s.buttons[i], payButtonProc);
        if (!s.buttonProc) s.buttonProc = previous;
    }
    payWindowLayout(s.window);
    return true;
}

}  // namespace

bool openPayWebView(const std::string& url, const std::string& target) {
    if (url.empty()) return false;
    PayWindowState& s = state();
    ++s.openSerial;
    if (!s.loaderTried) {
        s.loaderTried = true;
        s.createEnvironment = platform::loadWebViewLoader();
        if (!s.createEnvironment) engine::log("[VEXO] no web view runtime: the pay window cannot open");
    }
    if (!s.createEnvironment) return false;
    if (s.creating) return true;
    s.pendingAddress = asWideText(url);
    s.target = asWideText(target);
    s.targetDone = false;
    if (!s.window && !createPayWindow()) return false;
    const bool support = s.target == "__support" || s.pendingAddress == portalPage("report.shtml");
    platform::setWindowText(s.window, support ? kSupportTitle : kPayTitle);
    platform::showWindow(s.window, true);
    platform::setForegroundWindow(s.window);
    if (s.controller && s.webview) {
        s.controller->setVisible(true);
        payWindowLayout(s.window);
        s.webview->navigate(s.pendingAddress);
        return true;
    }
    s.creating = true;
    const platform::HRESULT result = s.createEnvironment("", payWebViewUserDataFolder(), onEnvironmentCreated);
    if (!platform::succeeded(result)) {
        s.creating = false;
        platform::showWindow(s.window, false);
        return false;
    }
    return true;
}

bool openLoginCapture(const std::string& url, const std::string& prefix, CaptureCallback callback) {
    answerArmedCaptures();
    PayWindowState& s = state();
    s.captureArmed = true;
    s.capturePrefix = asWideText(prefix);
    s.target.clear();
    s.targetDone = true;
    s.captureFunction = std::move(callback);
    if (openPayWebView(url, "")) return true;
    takeCapture();   // dropped unanswered: the caller learns of the failure from the result
    return false;
}

void payWindowHide(HWND window) {
    PayWindowState& s = state();
    // The answer comes last: a sign-in it starts again finds the window hidden
    // and blank and opens it afresh.
    CaptureCallback answer;
    if (s.captureArmed) answer = takeCapture();
    if (s.controller) s.controller->setVisible(false);
    if (s.webview) s.webview->navigate("about:blank");
    platform::showWindow(window, false);
    foregroundGame(s.game);
    if (answer) answer(std::string());
}

HWND payWindow() { return state().window; }

HWND payWindowButton(int id) {
    const int index = buttonIndex(id);
    return index < 0 ? 0 : state().buttons[index];
}

platform::WNDPROC payButtonSystemProc() { return state().buttonProc; }

std::shared_ptr<platform::WebViewController> payWindowController() { return state().controller; }

bool payCaptureArmed() { return state().captureArmed; }

bool payWebViewCreating() { return state().creating; }

void resetPayWebViewForTesting() {
    destroyPayWindow();
    releaseWebView();
    if (state().classRegistered) platform::unregisterClass(kPayWindowClass);
    state() = PayWindowState{};
    payButtonResetHover();
}

}  // namespace portal
