#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/WebView.h"
#include "platform/Window.h"

using namespace platform;

namespace {

// Runs the message loop until nothing is left (bounded).
void pumpAll() {
    for (int i = 0; i < 100 && pumpMessages() > 0; ++i) {
    }
}

class WebViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetWindowModel();
        WebViewRuntime::instance().reset();
        WebViewRuntime::instance().install(true);
        WindowDesc desc;
        desc.className = "Host";
        desc.windowRect = RECT{0, 0, 800, 600};
        host = createWindow(desc);
    }
    void TearDown() override {
        WebViewRuntime::instance().reset();
        resetWindowModel();
    }

    // Creates environment and controller through the loader; the view, or null.
    std::shared_ptr<WebViewController> makeController() {
        auto create = loadWebViewLoader();
        EXPECT_TRUE(create);
        std::shared_ptr<WebViewController> controller;
        HRESULT hr = create("", "/data/WebView2", [&](HRESULT result, std::shared_ptr<WebViewEnvironment> env) {
            ASSERT_TRUE(succeeded(result));
            env->createController(host, [&](HRESULT r, std::shared_ptr<WebViewController> c) {
                ASSERT_TRUE(succeeded(r));
                controller = c;
            });
        });
        EXPECT_TRUE(succeeded(hr));
        EXPECT_FALSE(controller) << "completion inside the call";
        pumpAll();
        return controller;
    }

    // Records every event of the view as text.
    void record(WebView& view) {
        view.addNavigationStarting([this](WebView&, NavigationStartingArgs& a) {
            events.push_back(std::string(a.isRedirected ? "redirect " : "start ") + a.uri);
            if (a.uri.rfind("block:", 0) == 0) a.cancel = true;
        });
        view.addNavigationCompleted([this](WebView& v, NavigationCompletedArgs& a) {
            events.push_back(std::string(a.isSuccess ? "done " : "failed ") + v.source());
        });
    }

    HWND host = 0;
    std::vector<std::string> events;
};

TEST_F(WebViewTest, NoLoaderUntilARuntimeIsInstalled) {
    WebViewRuntime::instance().install(false);
    EXPECT_FALSE(loadWebViewLoader());
}

TEST_F(WebViewTest, NavigationEventsArriveThroughTheLoopWithRedirectsAndCancel) {
    auto controller = makeController();
    ASSERT_TRUE(controller);
    auto view = controller->coreWebView();
    ASSERT_TRUE(view);
    record(*view);
    WebViewRuntime::instance().setRedirect("https://a/login", "https://a/home");
    ASSERT_EQ(view->navigate("https://a/login"), S_OK);
    EXPECT_TRUE(events.empty());
    pumpAll();
    view->followLink("block:x");
    pumpAll();
    EXPECT_EQ(events, (std::vector<std::string>{"start https://a/login", "redirect https://a/home",
                                                "done https://a/home", "start block:x", "failed https://a/home"}));
    EXPECT_EQ(view->history(), (std::vector<std::string>{"https://a/home"}));
}

TEST_F(WebViewTest, ANewerNavigationAbandonsTheOlderOne) {
    auto view = makeController()->coreWebView();
    record(*view);
    view->navigate("https://a/1");
    view->navigate("https://a/2");
    pumpAll();
    EXPECT_EQ(events, (std::vector<std::string>{"start https://a/2", "done https://a/2"}));
}

TEST_F(WebViewTest, BackStepsThroughHistoryAndTruncatesForward) {
    auto view = makeController()->coreWebView();
    EXPECT_FALSE(view->canGoBack());
    EXPECT_EQ(view->goBack(), E_FAIL);
    for (const char* uri : {"https://a/1", "https://a/2", "https://a/3"}) {
        view->navigate(uri);
        pumpAll();
    }
    ASSERT_TRUE(view->canGoBack());
    view->goBack();
    pumpAll();
    EXPECT_EQ(view->source(), "https://a/2");
    view->navigate("https://a/4");
    pumpAll();
    EXPECT_EQ(view->history(), (std::vector<std::string>{"https://a/1", "https://a/2", "https://a/4"}));
}

TEST_F(WebViewTest, NewWindowRequestsOpenPopupsUnlessHandled) {
    auto view = makeController()->coreWebView();
    std::string mode;
    view->addNewWindowRequested([&](WebView& sender, NewWindowRequestedArgs& args) {
        if (mode == "same view") args.newWindow = sender.shared_from_this();
        if (mode != "unhandled") args.handled = true;
    });
    for (const char* m : {"unhandled", "handled", "same view"}) {
        mode = m;
        view->requestNewWindow(std::string("https://pop/") + m);
        pumpAll();
    }
    EXPECT_EQ(WebViewRuntime::instance().popups(), (std::vector<std::string>{"https://pop/unhandled"}));
    EXPECT_EQ(view->source(), "https://pop/same view");
}

TEST_F(WebViewTest, AcceleratorKeysReachThePageUnlessHandled) {
    auto controller = makeController();
    controller->addAcceleratorKeyPressed([](WebViewController&, AcceleratorKeyPressedArgs& args) {
        args.handled = args.virtualKey == 27;
    });
    controller->pressKey(WebViewKeyEventKind::KeyDown, 27);
    controller->pressKey(WebViewKeyEventKind::KeyDown, 65);
    pumpAll();
    ASSERT_EQ(WebViewRuntime::instance().pageKeys().size(), 1u);
    EXPECT_EQ(WebViewRuntime::instance().pageKeys()[0].second, 65u);
}

TEST_F(WebViewTest, ClosingSilencesTheView) {
    auto controller = makeController();
    auto view = controller->coreWebView();
    record(*view);
    view->navigate("https://a/1");
    controller->close();
    pumpAll();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(view->navigate("https://a/2"), E_FAIL);
}

TEST_F(WebViewTest, CreationFailuresAndHeldEnvironment) {
    WebViewRuntime& rt = WebViewRuntime::instance();
    auto create = loadWebViewLoader();
    int completions = 0;
    HRESULT last = S_OK;
    auto count = [&](HRESULT hr, std::shared_ptr<WebViewEnvironment>) {
        ++completions;
        last = hr;
    };

    rt.setFailure(WebViewRuntime::Failure::EnvironmentAtOnce);
    EXPECT_EQ(create("", "", count), E_FAIL);
    pumpAll();
    EXPECT_EQ(completions, 0);

    rt.setFailure(WebViewRuntime::Failure::EnvironmentLater);
    EXPECT_EQ(create("", "", count), S_OK);
    pumpAll();
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(last, E_FAIL);

    rt.setFailure(WebViewRuntime::Failure::None);
    rt.holdEnvironment(true);
    create("", "", count);
    pumpAll();
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(rt.releaseEnvironment());
    pumpAll();
    EXPECT_EQ(completions, 2);
    EXPECT_EQ(last, S_OK);
    EXPECT_EQ(rt.environmentRequests(), 3);

    WebViewEnvironment env;
    EXPECT_EQ(env.createController(9999, nullptr), E_INVALIDARG);
    rt.setFailure(WebViewRuntime::Failure::NoWebView);
    std::shared_ptr<WebViewController> controller;
    env.createController(host, [&](HRESULT, std::shared_ptr<WebViewController> c) { controller = c; });
    pumpAll();
    ASSERT_TRUE(controller);
    EXPECT_FALSE(controller->coreWebView());
}

}  // namespace

namespace {

// A browser behind the view that records what the model hands it.
class RecordingBackend : public WebViewBackend {
public:
    void load(const std::string& uri) override { calls.push_back("load " + uri); }
    bool canGoBack() const override { return back; }
    void goBack() override { calls.push_back("back"); }
    void setBounds(const RECT& bounds) override { calls.push_back("bounds " + std::to_string(bounds.top)); }
    void setVisible(bool visible) override { calls.push_back(visible ? "show" : "hide"); }
    void close() override { calls.push_back("close"); }
    bool back = false;
    std::vector<std::string> calls;
};

}  // namespace

TEST_F(WebViewTest, ABackendTakesNavigationAndReportsThroughTheView) {
    auto backend = std::make_shared<RecordingBackend>();
    WebViewEnvironment environment([&](HWND parent, WebViewEnvironment::ControllerCompleted done) {
        auto view = std::make_shared<WebView>(backend);
        done(S_OK, std::make_shared<WebViewController>(parent, view, backend));
        return S_OK;
    });
    std::shared_ptr<WebViewController> controller;
    ASSERT_EQ(environment.createController(host, [&](HRESULT, auto c) { controller = c; }), S_OK);
    ASSERT_TRUE(controller);
    auto view = controller->coreWebView();
    record(*view);

    // Navigation goes to the browser; nothing of the model's own is queued.
    view->navigate("https://a/1");
    view->followLink("https://a/2");
    EXPECT_EQ(view->goBack(), E_FAIL) << "the browser has no history yet";
    backend->back = true;
    EXPECT_EQ(view->goBack(), S_OK);
    pumpAll();
    EXPECT_TRUE(events.empty());

    // The browser's reports: commits keep the model's history as its own loads do.
    NavigationStartingArgs starting{"https://a/3", true, false};
    view->raiseNavigationStarting(starting);
    for (const auto& [uri, back] : std::vector<std::pair<std::string, bool>>{
             {"https://a/1", false}, {"https://a/2", false}, {"https://a/1", true}, {"https://a/3", false}}) {
        view->commitSource(uri, back);
    }
    view->raiseNavigationCompleted(true);
    EXPECT_EQ(view->history(), (std::vector<std::string>{"https://a/1", "https://a/3"}));
    EXPECT_EQ(events, (std::vector<std::string>{"redirect https://a/3", "done https://a/3"}));

    controller->setBounds(RECT{0, 52, 100, 100});
    controller->setVisible(false);
    controller->close();
    controller->close();
    controller->setVisible(true);
    view->raiseNavigationCompleted(true);
    EXPECT_EQ(backend->calls, (std::vector<std::string>{"load https://a/1", "load https://a/2", "back", "bounds 52",
                                                        "hide", "close"}));
    EXPECT_EQ(events.size(), 2u) << "a closed view raises nothing";
}
