#include "platform/WebKitView.h"

#include <dlfcn.h>

// The toolkit's headers give the types and signatures; every function is taken
// from the library at run time (nothing of it is linked).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/DebugOutput.h"
#include "platform/Mouse.h"
#include "platform/NativeWindow.h"
#include "platform/Paint.h"
#include "platform/Paths.h"
#include "platform/SteadyClock.h"
#include "platform/WindowPos.h"
#include "platform/WindowRecord.h"

namespace platform {
namespace {

#define VEXO_WEBKIT_FUNCTIONS(X)                                                                            \
    X(gtk_init_check) X(gtk_window_new) X(gtk_window_set_title) X(gtk_window_move) X(gtk_window_resize)     \
    X(gtk_window_get_position) X(gtk_window_present) X(gtk_widget_show_all) X(gtk_widget_hide)              \
    X(gtk_widget_destroy)                                                                                   \
    X(gtk_widget_set_visible) X(gtk_box_new) X(gtk_box_pack_start) X(gtk_drawing_area_new)                  \
    X(gtk_widget_set_size_request) X(gtk_widget_queue_draw) X(gtk_widget_add_events) X(gtk_container_add)   \
    X(gtk_widget_get_window) X(gtk_widget_realize) X(gtk_widget_event) X(gtk_widget_grab_focus)             \
    X(gdk_set_allowed_backends) X(gdk_display_get_default) X(gdk_x11_window_foreign_new_for_display)        \
    X(gdk_window_set_transient_for) X(gdk_x11_window_get_xid) X(gdk_event_copy) X(gdk_event_free)           \
    X(gdk_keyval_to_upper) X(g_signal_connect_data) X(g_signal_handlers_disconnect_matched) X(g_object_ref) \
    X(g_object_unref) X(g_main_context_iteration) X(g_tls_certificate_new_from_file)                        \
    X(g_tls_certificate_verify) X(g_network_address_new) X(g_error_free) X(webkit_website_data_manager_new)                          \
    X(webkit_website_data_manager_new_ephemeral) X(webkit_web_context_new_with_website_data_manager)        \
    X(webkit_web_context_get_cookie_manager) X(webkit_cookie_manager_set_persistent_storage)                \
    X(webkit_web_view_new_with_context) X(webkit_web_view_load_uri) X(webkit_web_view_get_uri)              \
    X(webkit_web_view_can_go_back) X(webkit_web_view_go_back) X(webkit_web_view_get_settings)               \
    X(webkit_web_view_get_context) X(webkit_settings_set_javascript_can_open_windows_automatically)         \
    X(webkit_navigation_policy_decision_get_navigation_action) X(webkit_navigation_action_get_request)      \
    X(webkit_navigation_action_is_redirect) X(webkit_navigation_action_is_user_gesture) X(webkit_uri_request_get_uri) X(webkit_policy_decision_use)     \
    X(webkit_policy_decision_ignore) X(webkit_web_context_allow_tls_certificate_for_host)

struct Toolkit {
#define VEXO_DECLARE(name) decltype(&::name) name = nullptr;
    VEXO_WEBKIT_FUNCTIONS(VEXO_DECLARE)
#undef VEXO_DECLARE
};

// Dispatches of the toolkit's main context per frame, at most.
constexpr int kMaxDispatches = 64;
// The desktop reports no end of a move or resize: it has ended once the real
// window stood still this long.
constexpr auto kMoveSettle = std::chrono::milliseconds(400);

class WebKitBackend;

struct State {
    bool decided = false;
    bool available = false;
    // The preload's worker: loads the library (and its dependencies) only.
    std::thread loader;
    Toolkit tk;
    std::string trustAnchor;
    std::string library = "libwebkit2gtk-4.1.so.0";
    std::vector<std::weak_ptr<WebKitBackend>> backends;
};

// Never destroyed: views held by other statics close through it at exit.
State& state() {
    static State* s = new State;
    return *s;
}

const Toolkit& tk() { return state().tk; }

template <typename F>
void connect(gpointer instance, const char* signal, F handler, gpointer data) {
    tk().g_signal_connect_data(instance, signal, reinterpret_cast<GCallback>(handler), data, nullptr,
                               static_cast<GConnectFlags>(0));
}

// Host name of an address ("" when it has none).
std::string hostOf(const std::string& uri) {
    const size_t scheme = uri.find("://");
    if (scheme == std::string::npos) return std::string();
    size_t start = scheme + 3;
    size_t end = uri.find_first_of("/?#", start);
    std::string authority = uri.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (const size_t at = authority.rfind('@'); at != std::string::npos) authority.erase(0, at + 1);
    if (!authority.empty() && authority[0] == '[') return authority.substr(0, authority.find(']') + 1);
    return authority.substr(0, authority.find(':'));
}

// Virtual-key code of a key of the page (0: none the accelerator handlers know).
uint32_t virtualKeyOf(guint keyval) {
    struct Key {
        guint keyval;
        uint32_t vk;
    };
    static constexpr Key kKeys[] = {
        {GDK_KEY_Escape, 0x1B}, {GDK_KEY_Return, 0x0D}, {GDK_KEY_Tab, 0x09}, {GDK_KEY_BackSpace, 0x08},
        {GDK_KEY_Delete, 0x2E}, {GDK_KEY_Left, 0x25},   {GDK_KEY_Up, 0x26},  {GDK_KEY_Right, 0x27},
        {GDK_KEY_Down, 0x28},   {GDK_KEY_Home, 0x24},   {GDK_KEY_End, 0x23}, {GDK_KEY_Page_Up, 0x21},
        {GDK_KEY_Page_Down, 0x22}, {GDK_KEY_space, 0x20},
    };
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F12) return 0x70 + (keyval - GDK_KEY_F1);
    const guint upper = tk().gdk_keyval_to_upper(keyval);
    if ((upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9')) return upper;
    for (const Key& key : kKeys) {
        if (key.keyval == keyval) return key.vk;
    }
    return 0;
}

// The browser's context: website data, cookies; shared by the environment's views.
struct Context {
    WebKitWebContext* context = nullptr;
    ~Context() {
        if (context) tk().g_object_unref(context);
    }
};

class WebKitBackend final : public WebViewBackend, public std::enable_shared_from_this<WebKitBackend> {
public:
    WebKitBackend(HWND parent, std::shared_ptr<Context> context) : _parent(parent), _context(std::move(context)) {}
    ~WebKitBackend() override { close(); }

    bool build();
    void attach(const std::shared_ptr<WebView>& view, const std::shared_ptr<WebViewController>& controller) {
        _view = view;
        _controller = controller;
    }
    void sync();

    void load(const std::string& uri) override {
        if (_webView) tk().webkit_web_view_load_uri(_webView, uri.c_str());
    }
    bool canGoBack() const override { return _webView && tk().webkit_web_view_can_go_back(_webView); }
    void goBack() override {
        if (!_webView) return;
        _goingBack = true;
        tk().webkit_web_view_go_back(_webView);
    }
    void setBounds(const RECT& bounds) override {
        if (_header && bounds.top != _headerHeight) {
            _headerHeight = std::max(bounds.top, 0);
            tk().gtk_widget_set_size_request(_header, -1, _headerHeight);
        }
    }
    void setVisible(bool visible) override {
        if (_webView) tk().gtk_widget_set_visible(GTK_WIDGET_CAST(_webView), visible);
    }
    void close() override;
    unsigned long xid() const;
    HWND parent() const { return _parent; }

private:
    static GtkWidget* GTK_WIDGET_CAST(WebKitWebView* view) { return reinterpret_cast<GtkWidget*>(view); }
    template <typename F>
    void post(F task) {
        std::weak_ptr<WebKitBackend> weak = weak_from_this();
        postTask([weak, task = std::move(task)]() mutable {
            if (auto self = weak.lock(); self && self->_webView) task(*self);
        });
    }

    static gboolean onDecide(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                             gpointer data);
    static void onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data);
    static GtkWidget* onCreate(WebKitWebView*, WebKitNavigationAction* action, gpointer data);
    void requestNewWindow(const std::string& uri);
    static gboolean onLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError*, gpointer data);
    static gboolean onTlsErrors(WebKitWebView*, gchar* uri, GTlsCertificate* certificate, GTlsCertificateFlags,
                                gpointer data);
    static gboolean onKey(GtkWidget*, GdkEventKey* event, gpointer data);
    static gboolean onDrawHeader(GtkWidget*, cairo_t* cr, gpointer data);
    static gboolean onHeaderPointer(GtkWidget*, GdkEvent* event, gpointer data);
    static gboolean onDelete(GtkWidget*, GdkEvent*, gpointer data);
    static gboolean onConfigure(GtkWidget*, GdkEventConfigure* event, gpointer data);
    static gboolean onMapped(GtkWidget*, GdkEvent*, gpointer data);

    HWND _parent;
    std::shared_ptr<Context> _context;
    std::weak_ptr<WebView> _view;
    std::weak_ptr<WebViewController> _controller;
    GtkWidget* _window = nullptr;
    GtkWidget* _header = nullptr;
    WebKitWebView* _webView = nullptr;
    int _headerHeight = 0;
    bool _goingBack = false;
    bool _failed = false;          // the load under way failed
    bool _swallowEnd = false;      // the end of a load whose cancel was reported already
    bool _replaying = false;       // a key handed back to the page
    // What was copied to the real window last.
    bool _shown = false;
    RECT _placed{0, 0, 0, 0};
    std::string _title;
    int _paints = -1;
    bool _owned = false;
    // A move or resize by the user, last seen at _lastConfigure.
    bool _moving = false;
    SteadyClock::TimePoint _lastConfigure;
};

int treePaints(HWND hwnd) {
    int total = paintCount(hwnd);
    if (const detail::WindowRecord* w = detail::findWindow(hwnd)) {
        const std::vector<HWND> children = w->children;
        for (HWND child : children) total += treePaints(child);
    }
    return total;
}

bool WebKitBackend::build() {
    const Toolkit& t = tk();
    _window = t.gtk_window_new(GTK_WINDOW_TOPLEVEL);
    if (!_window) return false;
    GtkWidget* box = t.gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    _header = t.gtk_drawing_area_new();
    t.gtk_widget_add_events(_header, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK);
    _webView = reinterpret_cast<WebKitWebView*>(t.webkit_web_view_new_with_context(_context->context));
    t.webkit_settings_set_javascript_can_open_windows_automatically(t.webkit_web_view_get_settings(_webView), TRUE);
    t.gtk_box_pack_start(reinterpret_cast<GtkBox*>(box), _header, FALSE, FALSE, 0);
    t.gtk_box_pack_start(reinterpret_cast<GtkBox*>(box), GTK_WIDGET_CAST(_webView), TRUE, TRUE, 0);
    t.gtk_container_add(reinterpret_cast<GtkContainer*>(_window), box);
    gpointer self = this;
    connect(_webView, "decide-policy", onDecide, self);
    connect(_webView, "load-changed", onLoadChanged, self);
    connect(_webView, "create", onCreate, self);
    connect(_webView, "load-failed", onLoadFailed, self);
    connect(_webView, "load-failed-with-tls-errors", onTlsErrors, self);
    connect(_webView, "key-press-event", onKey, self);
    connect(_webView, "key-release-event", onKey, self);
    connect(_header, "draw", onDrawHeader, self);
    connect(_header, "button-press-event", onHeaderPointer, self);
    connect(_header, "button-release-event", onHeaderPointer, self);
    connect(_header, "motion-notify-event", onHeaderPointer, self);
    connect(_window, "delete-event", onDelete, self);
    connect(_window, "configure-event", onConfigure, self);
    connect(_window, "map-event", onMapped, self);
    t.gtk_widget_realize(_window);
    sync();
    return true;
}

void WebKitBackend::close() {
    if (!_window) return;
    const Toolkit& t = tk();
    for (gpointer instance : {static_cast<gpointer>(_webView), static_cast<gpointer>(_header),
                              static_cast<gpointer>(_window)}) {
        t.g_signal_handlers_disconnect_matched(instance, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, this);
    }
    t.gtk_widget_destroy(_window);
    _window = nullptr;
    _header = nullptr;
    _webView = nullptr;
}

unsigned long WebKitBackend::xid() const {
    if (!_window) return 0;
    GdkWindow* window = tk().gtk_widget_get_window(_window);
    return window ? tk().gdk_x11_window_get_xid(window) : 0;
}

// Copies the model window's client area, showing and title to the real window and
// repaints the header when the model painted it.
void WebKitBackend::sync() {
    if (!_window) return;
    const Toolkit& t = tk();
    auto* window = reinterpret_cast<GtkWindow*>(_window);
    if (!_owned) {
        const unsigned long owner = nativeX11Window(getOwner(_parent));
        GdkWindow* own = t.gtk_widget_get_window(_window);
        if (owner && own) {
            if (GdkWindow* foreign = t.gdk_x11_window_foreign_new_for_display(t.gdk_display_get_default(), owner)) {
                t.gdk_window_set_transient_for(own, foreign);
                t.g_object_unref(foreign);
            }
        }
        _owned = true;
    }
    RECT client;
    POINT origin{0, 0};
    if (getClientRect(_parent, &client) && clientToScreen(_parent, &origin)) {
        const RECT placed{origin.x, origin.y, origin.x + client.width(), origin.y + client.height()};
        if (placed.left != _placed.left || placed.top != _placed.top || placed.right != _placed.right ||
            placed.bottom != _placed.bottom) {
            _placed = placed;
            t.gtk_window_move(window, placed.left, placed.top);
            if (placed.width() > 0 && placed.height() > 0) t.gtk_window_resize(window, placed.width(), placed.height());
        }
    }
    const std::string title = getWindowText(_parent);
    if (title != _title) {
        _title = title;
        t.gtk_window_set_title(window, title.c_str());
    }
    const bool shown = isWindowVisible(_parent) && !isIconic(_parent);
    if (shown != _shown) {
        _shown = shown;
        if (shown) {
            // Shown by an open that also made it the foreground window.
            t.gtk_widget_show_all(_window);
            t.gtk_widget_grab_focus(GTK_WIDGET_CAST(_webView));
            t.gtk_window_present(window);
        } else {
            t.gtk_widget_hide(_window);
        }
    }
    if (_moving && SteadyClock::now() - _lastConfigure >= kMoveSettle) {
        _moving = false;
        postMessage(_parent, WM_EXITSIZEMOVE, 0, 0);
    }
    const int paints = treePaints(_parent);
    if (paints != _paints) {
        _paints = paints;
        t.gtk_widget_queue_draw(_header);
    }
}

gboolean WebKitBackend::onDecide(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                 gpointer data) {
    auto* self = static_cast<WebKitBackend*>(data);
    const Toolkit& t = tk();
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION && type != WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION)
        return FALSE;   // responses: the browser's own choice
    auto* navigation = reinterpret_cast<WebKitNavigationPolicyDecision*>(decision);
    WebKitNavigationAction* action = t.webkit_navigation_policy_decision_get_navigation_action(navigation);
    const gchar* raw = action ? t.webkit_uri_request_get_uri(t.webkit_navigation_action_get_request(action)) : nullptr;
    const std::string uri = raw ? raw : "";
    if (type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
        // No window of the browser's own (a link to a new window).
        t.webkit_policy_decision_ignore(decision);
        self->requestNewWindow(uri);
        return TRUE;
    }
    const bool redirected = action && t.webkit_navigation_action_is_redirect(action);
    const bool gesture = action && t.webkit_navigation_action_is_user_gesture(action);
    (t.g_object_ref)(decision);
    std::weak_ptr<WebKitBackend> weak = self->weak_from_this();
    postTask([weak, decision, uri, redirected, gesture] {
        auto backend = weak.lock();
        auto view = backend ? backend->_view.lock() : nullptr;
        NavigationStartingArgs args{uri, redirected, false, gesture};
        if (view && backend->_webView) view->raiseNavigationStarting(args);
        if (!view || !backend->_webView || args.cancel) {
            tk().webkit_policy_decision_ignore(decision);
        } else {
            tk().webkit_policy_decision_use(decision);
        }
        tk().g_object_unref(decision);
        if (view && backend->_webView && args.cancel) {
            backend->_swallowEnd = true;
            view->raiseNavigationCompleted(false);
        }
    });
    return TRUE;
}

void WebKitBackend::onLoadChanged(WebKitWebView* webView, WebKitLoadEvent event, gpointer data) {
    auto* self = static_cast<WebKitBackend*>(data);
    if (event == WEBKIT_LOAD_STARTED) {
        self->_failed = false;
        self->_swallowEnd = false;
    } else if (event == WEBKIT_LOAD_COMMITTED) {
        const gchar* raw = tk().webkit_web_view_get_uri(webView);
        const std::string uri = raw ? raw : "";
        const bool back = self->_goingBack;
        self->_goingBack = false;
        self->post([uri, back](WebKitBackend& backend) {
            if (auto view = backend._view.lock()) view->commitSource(uri, back);
        });
    } else if (event == WEBKIT_LOAD_FINISHED) {
        if (self->_swallowEnd) {
            self->_swallowEnd = false;
            return;
        }
        const bool ok = !self->_failed;
        self->post([ok](WebKitBackend& backend) {
            if (auto view = backend._view.lock()) view->raiseNavigationCompleted(ok);
        });
    }
}

// The model's handlers decide where a pop-up loads.
void WebKitBackend::requestNewWindow(const std::string& uri) {
    post([uri](WebKitBackend& backend) {
        auto view = backend._view.lock();
        if (!view || uri.empty()) return;
        NewWindowRequestedArgs args{uri, nullptr, false};
        view->raiseNewWindowRequested(args);
        if (!args.newWindow && !args.handled) outputDebugString("[VEXO] web view: pop-up not opened: " + uri + "\n");
    });
}

GtkWidget* WebKitBackend::onCreate(WebKitWebView*, WebKitNavigationAction* action, gpointer data) {
    // window.open: no window of the browser's own either (the page gets null).
    const Toolkit& t = tk();
    const gchar* raw = action ? t.webkit_uri_request_get_uri(t.webkit_navigation_action_get_request(action)) : nullptr;
    static_cast<WebKitBackend*>(data)->requestNewWindow(raw ? raw : "");
    return nullptr;
}

gboolean WebKitBackend::onLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError*, gpointer data) {
    static_cast<WebKitBackend*>(data)->_failed = true;
    return FALSE;
}

gboolean WebKitBackend::onTlsErrors(WebKitWebView* webView, gchar* uri, GTlsCertificate* certificate,
                                    GTlsCertificateFlags, gpointer data) {
    auto* self = static_cast<WebKitBackend*>(data);
    const std::string& anchorFile = state().trustAnchor;
    const std::string host = uri ? hostOf(uri) : std::string();
    if (anchorFile.empty() || !certificate || host.empty()) return FALSE;
    const Toolkit& t = tk();
    GError* error = nullptr;
    GTlsCertificate* anchor = t.g_tls_certificate_new_from_file(anchorFile.c_str(), &error);
    if (!anchor) {
        if (error) t.g_error_free(error);
        return FALSE;
    }
    // The identity is checked too: the anchor's certificate for another host is no
    // certificate for this one.
    const std::string name = host.front() == '[' ? host.substr(1, host.size() - 2) : host;
    GSocketConnectable* identity = t.g_network_address_new(name.c_str(), 443);
    const GTlsCertificateFlags flags = t.g_tls_certificate_verify(certificate, identity, anchor);
    if (identity) t.g_object_unref(identity);
    t.g_object_unref(anchor);
    if (flags != 0) return FALSE;
    // The load failed before anything was shown: it starts again, trusted.
    self->_failed = true;
    t.webkit_web_context_allow_tls_certificate_for_host(t.webkit_web_view_get_context(webView), certificate,
                                                        host.c_str());
    const std::string again = uri;
    self->post([again](WebKitBackend& backend) { backend.load(again); });
    return TRUE;
}

gboolean WebKitBackend::onKey(GtkWidget*, GdkEventKey* event, gpointer data) {
    auto* self = static_cast<WebKitBackend*>(data);
    if (self->_replaying) return FALSE;
    const uint32_t vk = virtualKeyOf(event->keyval);
    if (!vk) return FALSE;
    const bool down = event->type == GDK_KEY_PRESS;
    const bool system = (event->state & GDK_MOD1_MASK) != 0;
    const WebViewKeyEventKind kind = down ? (system ? WebViewKeyEventKind::SystemKeyDown : WebViewKeyEventKind::KeyDown)
                                          : (system ? WebViewKeyEventKind::SystemKeyUp : WebViewKeyEventKind::KeyUp);
    GdkEvent* copy = tk().gdk_event_copy(reinterpret_cast<GdkEvent*>(event));
    std::weak_ptr<WebKitBackend> weak = self->weak_from_this();
    postTask([weak, copy, kind, vk] {
        auto backend = weak.lock();
        auto controller = backend ? backend->_controller.lock() : nullptr;
        const bool handled = controller && controller->raiseAcceleratorKey(kind, vk);
        if (!handled && backend && backend->_webView) {
            backend->_replaying = true;
            tk().gtk_widget_event(GTK_WIDGET_CAST(backend->_webView), copy);
            backend->_replaying = false;
        }
        tk().gdk_event_free(copy);
    });
    return TRUE;
}

gboolean WebKitBackend::onDrawHeader(GtkWidget*, cairo_t* cr, gpointer data) {
    auto* self = static_cast<WebKitBackend*>(data);
    if (!isWindow(self->_parent) || self->_headerHeight <= 0) return TRUE;
    const WindowImage image = composeWindow(self->_parent);
    if (image.width <= 0 || image.height <= 0) return TRUE;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(image.pixels.data())), CAIRO_FORMAT_ARGB32,
        image.width, image.height, image.width * 4);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_rectangle(cr, 0, 0, image.width, std::min(image.height, self->_headerHeight));
    cairo_fill(cr);
    cairo_surface_destroy(surface);
    return TRUE;
}

gboolean WebKitBackend::onHeaderPointer(GtkWidget*, GdkEvent* event, gpointer data) {
    auto* self = static_cast<WebKitBackend*>(data);
    double x = 0, y = 0;
    int press = 0;   // 1 pressed, -1 released
    if (event->type == GDK_MOTION_NOTIFY) {
        x = event->motion.x;
        y = event->motion.y;
    } else if (event->type == GDK_BUTTON_PRESS || event->type == GDK_BUTTON_RELEASE) {
        if (event->button.button != 1) return TRUE;
        x = event->button.x;
        y = event->button.y;
        press = event->type == GDK_BUTTON_PRESS ? 1 : -1;
    } else {
        return FALSE;
    }
    const HWND parent = self->_parent;
    postTask([parent, x, y, press] {
        POINT p{static_cast<int>(x), static_cast<int>(y)};
        if (!clientToScreen(parent, &p)) return;
        moveCursorTo(p);
        if (press > 0) pressLeftButton();
        if (press < 0) releaseLeftButton();
    });
    return TRUE;
}

gboolean WebKitBackend::onDelete(GtkWidget*, GdkEvent*, gpointer data) {
    // The model's procedure decides; the real window stays until the model drops it.
    postMessage(static_cast<WebKitBackend*>(data)->_parent, WM_CLOSE, 0, 0);
    return TRUE;
}

gboolean WebKitBackend::onMapped(GtkWidget*, GdkEvent*, gpointer data) {
    // Shown by an open: the keyboard focus can move to it only once it is on the
    // screen (the game window may hold it).
    auto* self = static_cast<WebKitBackend*>(data);
    if (self->_shown && self->_window) tk().gtk_window_present(reinterpret_cast<GtkWindow*>(self->_window));
    return FALSE;
}

gboolean WebKitBackend::onConfigure(GtkWidget*, GdkEventConfigure* event, gpointer data) {
    // Moved or sized by the user (through the desktop): the model window follows,
    // so that its client area stays where the real window is.
    auto* self = static_cast<WebKitBackend*>(data);
    // Where gtk_window_move put it (the frame's corner under a window manager).
    int x = 0, y = 0;
    tk().gtk_window_get_position(reinterpret_cast<GtkWindow*>(self->_window), &x, &y);
    const RECT placed{x, y, x + event->width, y + event->height};
    if (placed.left == self->_placed.left && placed.top == self->_placed.top && placed.right == self->_placed.right &&
        placed.bottom == self->_placed.bottom)
        return FALSE;
    self->_placed = placed;
    self->_moving = true;
    self->_lastConfigure = SteadyClock::now();
    const HWND parent = self->_parent;
    postTask([parent, placed] {
        RECT window, client;
        POINT origin{0, 0};
        if (!getWindowRect(parent, &window) || !getClientRect(parent, &client) || !clientToScreen(parent, &origin))
            return;
        const int left = placed.left - (origin.x - window.left), top = placed.top - (origin.y - window.top);
        moveWindow(parent, left, top, placed.width() + window.width() - client.width(),
                   placed.height() + window.height() - client.height(), true);
    });
    return FALSE;
}

void pump() {
    auto& backends = state().backends;
    for (size_t i = 0; i < backends.size();) {
        if (auto backend = backends[i].lock()) {
            backend->sync();
            ++i;
        } else {
            backends.erase(backends.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    for (int i = 0; i < kMaxDispatches && tk().g_main_context_iteration(nullptr, FALSE); ++i) {
    }
}

HRESULT createController(const std::shared_ptr<Context>& context, HWND parent,
                         WebViewEnvironment::ControllerCompleted completed) {
    postTask([context, parent, completed = std::move(completed)] {
        auto backend = std::make_shared<WebKitBackend>(parent, context);
        if (!isWindow(parent) || !backend->build()) {
            if (completed) completed(E_FAIL, nullptr);
            return;
        }
        auto view = std::make_shared<WebView>(backend);
        auto controller = std::make_shared<WebViewController>(parent, view, backend);
        backend->attach(view, controller);
        state().backends.push_back(backend);
        if (completed) completed(S_OK, controller);
    });
    return S_OK;
}

HRESULT createEnvironment(const std::string& userDataFolder, EnvironmentCompleted completed) {
    postTask([userDataFolder, completed = std::move(completed)] {
        const Toolkit& t = tk();
        WebKitWebsiteDataManager* manager = nullptr;
        if (userDataFolder.empty()) {
            manager = t.webkit_website_data_manager_new_ephemeral();
        } else if (makePrivateFolders(userDataFolder + "/data") && makePrivateFolders(userDataFolder + "/cache")) {
            const std::string data = userDataFolder + "/data", cache = userDataFolder + "/cache";
            manager = t.webkit_website_data_manager_new("base-data-directory", data.c_str(), "base-cache-directory",
                                                        cache.c_str(), nullptr);
        }
        if (!manager) {
            if (completed) completed(E_FAIL, nullptr);
            return;
        }
        auto context = std::make_shared<Context>();
        context->context = t.webkit_web_context_new_with_website_data_manager(manager);
        t.g_object_unref(manager);
        if (!userDataFolder.empty()) {
            const std::string cookies = userDataFolder + "/cookies.sqlite";
            t.webkit_cookie_manager_set_persistent_storage(t.webkit_web_context_get_cookie_manager(context->context),
                                                           cookies.c_str(), WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
        }
        auto environment = std::make_shared<WebViewEnvironment>(
            [context](HWND parent, WebViewEnvironment::ControllerCompleted done) {
                return createController(context, parent, std::move(done));
            });
        if (completed) completed(S_OK, environment);
    });
    return S_OK;
}

bool startToolkit() {
    if (!nativeDisplayAvailable()) return false;
    // A preload under way finishes first; the library is then loaded already.
    if (state().loader.joinable()) state().loader.join();
    void* library = dlopen(state().library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        outputDebugString(std::string("[VEXO] web view: ") + dlerror() + "\n");
        return false;
    }
    Toolkit& t = state().tk;
    bool complete = true;
#define VEXO_RESOLVE(name)                                                               \
    t.name = reinterpret_cast<decltype(t.name)>(dlsym(library, #name));                  \
    if (!t.name) {                                                                       \
        outputDebugString("[VEXO] web view: the browser library lacks " #name "\n");             \
        complete = false;                                                                \
    }
    VEXO_WEBKIT_FUNCTIONS(VEXO_RESOLVE)
#undef VEXO_RESOLVE
    if (!complete) return false;
    t.gdk_set_allowed_backends("x11");
    if (!t.gtk_init_check(nullptr, nullptr)) {
        outputDebugString("[VEXO] web view: the toolkit cannot use the display\n");
        return false;
    }
    keepFontCachesAtExit();
    setNativeEventPump(pump);
    return true;
}

}  // namespace

CreateWebViewEnvironment loadWebKitLoader() {
    State& s = state();
    if (!s.decided) {
        s.decided = true;
        s.available = startToolkit();
    }
    if (!s.available) return {};
    return [](const std::string& /*browserFolder*/, const std::string& userDataFolder, EnvironmentCompleted completed) {
        return createEnvironment(userDataFolder, std::move(completed));
    };
}

void preloadWebKit() {
    State& s = state();
    if (s.decided || s.loader.joinable() || !nativeDisplayAvailable()) return;
    try {
        s.loader = std::thread([library = s.library] {
            // The loader's lock makes this safe beside the main thread; the handle is
            // kept, so the toolkit's own dlopen finds the library in place.
            static_cast<void>(dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL));
            postTask([] { loadWebKitLoader(); });
        });
    } catch (const std::system_error&) {
        // No thread: the first open loads the library itself.
    }
}

unsigned long webKitWindowOf(HWND hwnd) {
    for (const auto& weak : state().backends) {
        if (auto backend = weak.lock(); backend && backend->parent() == hwnd) return backend->xid();
    }
    return 0;
}

void setWebKitTestTrustAnchor(const std::string& caFile) { state().trustAnchor = caFile; }

void setWebKitLibraryForTesting(const std::string& name) { state().library = name; }

}  // namespace platform
#pragma GCC diagnostic pop
