#pragma once
// An embedded web view, as a model with no browser behind it: an environment
// created asynchronously, a controller that places the view on a window, and the
// view itself with navigation, history and the events a host reacts to. Tests play
// the runtime and the pages through WebViewRuntime.
//
// Contract:
// - Every completion and event arrives through the window model's queue
//   (postTask), never inside the call that caused it, and on the main thread.
// - loadWebViewLoader gives the environment-creation function of the installed
//   runtime, or an empty function when none is installed (the program has none).
// - A navigation: navigate() (or a link, a Back, a new-window load) raises
//   NavigationStarting for the address; a handler may cancel it, and then
//   NavigationCompleted follows with isSuccess false and the source unchanged.
//   Otherwise each redirect the runtime knows for the address raises
//   NavigationStarting again (isRedirected, with the user-gesture flag of the
//   first; a load from the host or into a pop-up's view has none), and the last
//   address is committed:
//   it becomes the source and a history entry (entries after the current one are
//   dropped), and NavigationCompleted follows with isSuccess true. A newer
//   navigation abandons an older one still under way (no further events of it).
// - goBack navigates to the previous history entry; committing it steps back
//   instead of adding an entry. Without one it answers E_FAIL.
// - NewWindowRequested: a handler may give a view (newWindow), which then loads
//   the address; a request left unhandled opens a pop-up window of the runtime's
//   (recorded), a handled one without a view opens nothing.
// - AcceleratorKeyPressed: a key a handler marks handled never reaches the page.
// - After the controller's close() the view answers E_FAIL and raises nothing.
// - A view or controller with a backend (a real browser, WebViewBackend) hands
//   navigation, history, bounds and visibility to it; the backend raises the same
//   events through the raise* calls, each from a task of the queue.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Window.h"

namespace platform {

using HRESULT = int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr bool succeeded(HRESULT hr) { return hr >= 0; }

class WebView;

// A real browser behind a view and its controller. Main thread only.
class WebViewBackend {
public:
    virtual ~WebViewBackend() = default;
    virtual void load(const std::string& uri) = 0;
    virtual bool canGoBack() const = 0;
    virtual void goBack() = 0;
    virtual void setBounds(const RECT& bounds) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void close() = 0;
};

enum class WebViewKeyEventKind { KeyDown = 0, KeyUp = 1, SystemKeyDown = 2, SystemKeyUp = 3 };

struct NavigationStartingArgs {
    std::string uri;
    bool isRedirected = false;
    bool cancel = false;
    bool userGesture = false;   // the user started it (a click or a key in the page)
};
struct NavigationCompletedArgs {
    bool isSuccess = false;
};
struct NewWindowRequestedArgs {
    std::string uri;
    std::shared_ptr<WebView> newWindow;
    bool handled = false;
};
struct AcceleratorKeyPressedArgs {
    WebViewKeyEventKind kind = WebViewKeyEventKind::KeyDown;
    uint32_t virtualKey = 0;
    bool handled = false;
};

class WebView : public std::enable_shared_from_this<WebView> {
public:
    using NavigationStartingHandler = std::function<void(WebView& sender, NavigationStartingArgs& args)>;
    using NavigationCompletedHandler = std::function<void(WebView& sender, NavigationCompletedArgs& args)>;
    using NewWindowRequestedHandler = std::function<void(WebView& sender, NewWindowRequestedArgs& args)>;

    WebView() = default;
    explicit WebView(std::shared_ptr<WebViewBackend> backend) : _backend(std::move(backend)) {}

    HRESULT navigate(const std::string& uri);
    std::string source() const { return _source; }
    bool canGoBack() const;
    HRESULT goBack();

    void addNavigationStarting(NavigationStartingHandler handler);
    void addNavigationCompleted(NavigationCompletedHandler handler);
    void addNewWindowRequested(NewWindowRequestedHandler handler);

    // The page's side (tests): a link followed (by the user's click, or by the
    // page's own script when userGesture is false), a window.open / target=_blank.
    void followLink(const std::string& uri, bool userGesture = true);
    void requestNewWindow(const std::string& uri);

    const std::vector<std::string>& history() const { return _history; }
    bool isClosed() const { return _closed; }

    // The backend's side: events of the real browser, raised from queued tasks.
    void raiseNavigationStarting(NavigationStartingArgs& args);
    // The page at `uri` was committed; `back` when it came from goBack.
    void commitSource(const std::string& uri, bool back);
    void raiseNavigationCompleted(bool isSuccess);
    void raiseNewWindowRequested(NewWindowRequestedArgs& args);

private:
    friend class WebViewController;
    void startNavigation(const std::string& uri, int historyStep, bool userGesture = false);
    void step(uint64_t id, std::string uri, int redirects, int historyStep, bool userGesture);
    void close() { _closed = true; }

    std::shared_ptr<WebViewBackend> _backend;
    std::string _source;
    std::vector<std::string> _history;
    size_t _index = 0;            // current entry when the history is not empty
    uint64_t _navigation = 0;     // id of the newest navigation
    bool _closed = false;
    std::vector<NavigationStartingHandler> _starting;
    std::vector<NavigationCompletedHandler> _completed;
    std::vector<NewWindowRequestedHandler> _newWindow;
};

class WebViewController : public std::enable_shared_from_this<WebViewController> {
public:
    using AcceleratorKeyPressedHandler =
        std::function<void(WebViewController& sender, AcceleratorKeyPressedArgs& args)>;

    WebViewController(HWND parent, std::shared_ptr<WebView> view, std::shared_ptr<WebViewBackend> backend = nullptr)
        : _parent(parent), _view(std::move(view)), _backend(std::move(backend)) {}

    // The view, null when the runtime gave none.
    std::shared_ptr<WebView> coreWebView() const { return _view; }
    HWND parentWindow() const { return _parent; }
    void setBounds(const RECT& bounds);
    RECT bounds() const { return _bounds; }
    void setVisible(bool visible);
    bool isVisible() const { return _visible; }
    void close();
    bool isClosed() const { return _closed; }
    void addAcceleratorKeyPressed(AcceleratorKeyPressedHandler handler);

    // The user's side (tests): a key pressed while the page has the focus.
    void pressKey(WebViewKeyEventKind kind, uint32_t virtualKey);
    // The backend's side: a key of the page, from a queued task; true when handled.
    bool raiseAcceleratorKey(WebViewKeyEventKind kind, uint32_t virtualKey);

private:
    HWND _parent;
    std::shared_ptr<WebView> _view;
    std::shared_ptr<WebViewBackend> _backend;
    RECT _bounds;
    bool _visible = false;
    bool _closed = false;
    std::vector<AcceleratorKeyPressedHandler> _accelerator;
};

class WebViewEnvironment {
public:
    using ControllerCompleted = std::function<void(HRESULT, std::shared_ptr<WebViewController>)>;
    using ControllerFactory = std::function<HRESULT(HWND parent, ControllerCompleted completed)>;
    WebViewEnvironment() = default;
    // An environment of a real browser: controllers come from `factory`.
    explicit WebViewEnvironment(ControllerFactory factory) : _factory(std::move(factory)) {}
    // E_INVALIDARG for a parent that is not a window.
    HRESULT createController(HWND parent, ControllerCompleted completed);

private:
    ControllerFactory _factory;
};

using EnvironmentCompleted = std::function<void(HRESULT, std::shared_ptr<WebViewEnvironment>)>;
// (browser folder, user-data folder, completion); "" stands for "none".
using CreateWebViewEnvironment =
    std::function<HRESULT(const std::string& browserFolder, const std::string& userDataFolder,
                          EnvironmentCompleted completed)>;

// The model's runtime when a test installed it; else the desktop's browser
// (WebKitView.h) when a display exists and its library loads; else none.
CreateWebViewEnvironment loadWebViewLoader();

// The runtime behind the model, driven by tests. Main thread only.
class WebViewRuntime {
public:
    enum class Failure {
        None,
        EnvironmentAtOnce,    // creation answers E_FAIL, no completion
        EnvironmentLater,     // the completion reports E_FAIL
        ControllerAtOnce,     // createController answers E_FAIL
        ControllerLater,      // the controller completion reports E_FAIL
        NoWebView,            // a controller without a view
    };

    static WebViewRuntime& instance();

    // Installed: loadWebViewLoader gives the model's creation function.
    void install(bool installed) { _installed = installed; }
    bool installed() const { return _installed; }
    void setFailure(Failure failure) { _failure = failure; }
    // Held: the environment completion waits for releaseEnvironment().
    void holdEnvironment(bool hold) { _hold = hold; }
    bool releaseEnvironment();
    // A page at `from` redirects to `to`.
    void setRedirect(const std::string& from, const std::string& to) { _redirects[from] = to; }

    const std::vector<std::string>& userDataFolders() const { return _userDataFolders; }
    int environmentRequests() const { return static_cast<int>(_userDataFolders.size()); }
    int controllersCreated() const { return _controllersCreated; }
    std::shared_ptr<WebViewController> lastController() const { return _lastController.lock(); }
    std::shared_ptr<WebView> lastView() const { return _lastView.lock(); }
    const std::vector<std::string>& popups() const { return _popups; }
    // Keys that reached the page: (kind, virtual key).
    const std::vector<std::pair<WebViewKeyEventKind, uint32_t>>& pageKeys() const { return _pageKeys; }

    void reset();

private:
    friend class WebView;
    friend class WebViewController;
    friend class WebViewEnvironment;
    friend CreateWebViewEnvironment loadWebViewLoader();
    HRESULT createEnvironment(const std::string& userDataFolder, EnvironmentCompleted completed);
    static void postEnvironmentCompletion(EnvironmentCompleted completed);

    bool _installed = false;
    bool _hold = false;
    Failure _failure = Failure::None;
    EnvironmentCompleted _held;
    std::map<std::string, std::string> _redirects;
    std::vector<std::string> _userDataFolders;
    int _controllersCreated = 0;
    std::weak_ptr<WebViewController> _lastController;
    std::weak_ptr<WebView> _lastView;
    std::vector<std::string> _popups;
    std::vector<std::pair<WebViewKeyEventKind, uint32_t>> _pageKeys;
};

}  // namespace platform
