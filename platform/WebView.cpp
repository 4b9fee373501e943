#include "platform/WebView.h"

#include "platform/WebKitView.h"

namespace platform {
namespace {

// Redirect chains longer than this are a loop; the navigation ends there.
constexpr int kMaxRedirects = 20;

}  // namespace

HRESULT WebView::navigate(const std::string& uri) {
    if (_closed || uri.empty()) return _closed ? E_FAIL : E_INVALIDARG;
    if (_backend) {
        _backend->load(uri);
        return S_OK;
    }
    startNavigation(uri, 0);
    return S_OK;
}

bool WebView::canGoBack() const {
    if (_closed) return false;
    return _backend ? _backend->canGoBack() : _index > 0;
}

HRESULT WebView::goBack() {
    if (!canGoBack()) return E_FAIL;
    if (_backend) {
        _backend->goBack();
        return S_OK;
    }
    startNavigation(_history[_index - 1], -1);
    return S_OK;
}

void WebView::followLink(const std::string& uri, bool userGesture) {
    if (_closed || uri.empty()) return;
    if (_backend) {
        _backend->load(uri);
    } else {
        startNavigation(uri, 0, userGesture);
    }
}

void WebView::raiseNavigationStarting(NavigationStartingArgs& args) {
    if (_closed) return;
    auto starting = _starting;
    for (auto& handler : starting) handler(*this, args);
}

void WebView::commitSource(const std::string& uri, bool back) {
    if (_closed) return;
    _source = uri;
    if (back && _index > 0) {
        --_index;
        _history[_index] = uri;
        return;
    }
    if (!_history.empty()) _history.resize(_index + 1);
    _history.push_back(uri);
    _index = _history.size() - 1;
}

void WebView::raiseNavigationCompleted(bool isSuccess) {
    if (_closed) return;
    NavigationCompletedArgs done{isSuccess};
    auto completed = _completed;
    for (auto& handler : completed) handler(*this, done);
}

void WebView::raiseNewWindowRequested(NewWindowRequestedArgs& args) {
    if (_closed) return;
    auto handlers = _newWindow;
    for (auto& handler : handlers) handler(*this, args);
    if (args.newWindow) args.newWindow->followLink(args.uri, false);
}

void WebView::startNavigation(const std::string& uri, int historyStep, bool userGesture) {
    const uint64_t id = ++_navigation;
    std::weak_ptr<WebView> weak = weak_from_this();
    postTask([weak, id, uri, historyStep, userGesture] {
        if (auto self = weak.lock()) self->step(id, uri, 0, historyStep, userGesture);
    });
}

// One NavigationStarting of navigation `id`, then either the next redirect (queued)
// or the commit and NavigationCompleted.
void WebView::step(uint64_t id, std::string uri, int redirects, int historyStep, bool userGesture) {
    if (_closed || id != _navigation) return;
    NavigationStartingArgs args{uri, redirects > 0, false, userGesture};
    // Handlers may be added while one runs: iterate over a copy.
    auto starting = _starting;
    for (auto& handler : starting) handler(*this, args);
    if (_closed || id != _navigation) return;
    if (args.cancel) {
        NavigationCompletedArgs done{false};
        auto completed = _completed;
        for (auto& handler : completed) handler(*this, done);
        return;
    }
    const auto& redirectsTable = WebViewRuntime::instance()._redirects;
    auto next = redirectsTable.find(uri);
    if (next != redirectsTable.end() && redirects < kMaxRedirects) {
        std::weak_ptr<WebView> weak = weak_from_this();
        std::string target = next->second;
        postTask([weak, id, target, redirects, historyStep, userGesture] {
            if (auto self = weak.lock()) self->step(id, target, redirects + 1, historyStep, userGesture);
        });
        return;
    }
    commitSource(uri, historyStep < 0);
    NavigationCompletedArgs done{true};
    auto completed = _completed;
    for (auto& handler : completed) handler(*this, done);
}

void WebView::addNavigationStarting(NavigationStartingHandler handler) {
    if (handler) _starting.push_back(std::move(handler));
}

void WebView::addNavigationCompleted(NavigationCompletedHandler handler) {
    if (handler) _completed.push_back(std::move(handler));
}

void WebView::addNewWindowRequested(NewWindowRequestedHandler handler) {
    if (handler) _newWindow.push_back(std::move(handler));
}

void WebView::requestNewWindow(const std::string& uri) {
    if (_closed) return;
    std::weak_ptr<WebView> weak = weak_from_this();
    postTask([weak, uri] {
        auto self = weak.lock();
        if (!self || self->_closed) return;
        NewWindowRequestedArgs args{uri, nullptr, false};
        auto handlers = self->_newWindow;
        for (auto& handler : handlers) handler(*self, args);
        if (args.newWindow) {
            args.newWindow->followLink(uri, false);
        } else if (!args.handled) {
            WebViewRuntime::instance()._popups.push_back(uri);
        }
    });
}

void WebViewController::setBounds(const RECT& bounds) {
    _bounds = bounds;
    if (_backend && !_closed) _backend->setBounds(bounds);
}

void WebViewController::setVisible(bool visible) {
    _visible = visible;
    if (_backend && !_closed) _backend->setVisible(visible);
}

void WebViewController::close() {
    const bool wasClosed = _closed;
    _closed = true;
    _visible = false;
    if (_view) _view->close();
    if (_backend && !wasClosed) _backend->close();
}

bool WebViewController::raiseAcceleratorKey(WebViewKeyEventKind kind, uint32_t virtualKey) {
    if (_closed) return false;
    AcceleratorKeyPressedArgs args{kind, virtualKey, false};
    auto handlers = _accelerator;
    for (auto& handler : handlers) handler(*this, args);
    return args.handled;
}

void WebViewController::addAcceleratorKeyPressed(AcceleratorKeyPressedHandler handler) {
    if (handler) _accelerator.push_back(std::move(handler));
}

void WebViewController::pressKey(WebViewKeyEventKind kind, uint32_t virtualKey) {
    if (_closed) return;
    std::weak_ptr<WebViewController> weak = weak_from_this();
    postTask([weak, kind, virtualKey] {
        auto self = weak.lock();
        if (!self || self->_closed) return;
        AcceleratorKeyPressedArgs args{kind, virtualKey, false};
        auto handlers = self->_accelerator;
        for (auto& handler : handlers) handler(*self, args);
        if (!args.handled) WebViewRuntime::instance()._pageKeys.emplace_back(kind, virtualKey);
    });
}

HRESULT WebViewEnvironment::createController(HWND parent, ControllerCompleted completed) {
    WebViewRuntime& runtime = WebViewRuntime::instance();
    if (!isWindow(parent)) return E_INVALIDARG;
    if (_factory) return _factory(parent, std::move(completed));
    if (runtime._failure == WebViewRuntime::Failure::ControllerAtOnce) return E_FAIL;
    postTask([parent, completed = std::move(completed)] {
        WebViewRuntime& rt = WebViewRuntime::instance();
        if (rt._failure == WebViewRuntime::Failure::ControllerLater || !isWindow(parent)) {
            if (completed) completed(E_FAIL, nullptr);
            return;
        }
        std::shared_ptr<WebView> view;
        if (rt._failure != WebViewRuntime::Failure::NoWebView) view = std::make_shared<WebView>();
        auto controller = std::make_shared<WebViewController>(parent, view);
        ++rt._controllersCreated;
        rt._lastController = controller;
        rt._lastView = view;
        if (completed) completed(S_OK, controller);
    });
    return S_OK;
}

WebViewRuntime& WebViewRuntime::instance() {
    static WebViewRuntime runtime;
    return runtime;
}

HRESULT WebViewRuntime::createEnvironment(const std::string& userDataFolder, EnvironmentCompleted completed) {
    _userDataFolders.push_back(userDataFolder);
    if (_failure == Failure::EnvironmentAtOnce) return E_FAIL;
    if (_hold) {
        _held = std::move(completed);
        return S_OK;
    }
    postEnvironmentCompletion(std::move(completed));
    return S_OK;
}

void WebViewRuntime::postEnvironmentCompletion(EnvironmentCompleted completed) {
    postTask([completed = std::move(completed)] {
        if (!completed) return;
        if (WebViewRuntime::instance()._failure == Failure::EnvironmentLater) {
            completed(E_FAIL, nullptr);
        } else {
            completed(S_OK, std::make_shared<WebViewEnvironment>());
        }
    });
}

bool WebViewRuntime::releaseEnvironment() {
    if (!_held) return false;
    EnvironmentCompleted completed = std::move(_held);
    _held = nullptr;
    _hold = false;
    postEnvironmentCompletion(std::move(completed));
    return true;
}

void WebViewRuntime::reset() { *this = WebViewRuntime{}; }

CreateWebViewEnvironment loadWebViewLoader() {
    if (!WebViewRuntime::instance()._installed) return loadWebKitLoader();
    return [](const std::string& /*browserFolder*/, const std::string& userDataFolder,
              EnvironmentCompleted completed) {
        return WebViewRuntime::instance().createEnvironment(userDataFolder, std::move(completed));
    };
}

}  // namespace platform
