#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PortalWindowFixture.h"
#include "support/TestSupport.h"
#include "platform/Activation.h"
#include "platform/Mouse.h"
#include "platform/SteadyClock.h"
#include "platform/WindowPos.h"
#include "portal/PayWebWindow.h"
#include "portal/PortalAddresses.h"

using namespace platform;
using portaltest::PortalWindowFixture;

namespace {

const std::string kRoot = "https://localhost:18443";
const std::string kLogin = kRoot + "/login.php?from=app";
const std::string kUserPage = kRoot + "/user.php";

class PayWebWindowTest : public PortalWindowFixture {
protected:
    void SetUp() override {
        PortalWindowFixture::SetUp();
        WebViewRuntime::instance().install(true);
        makeGameWindow();
    }

    static std::shared_ptr<WebView> view() { return WebViewRuntime::instance().lastView(); }
    static HWND window() { return portal::payWindow(); }

    // Opens and lets the web view come up and load.
    bool openAndLoad(const std::string& url, const std::string& target = "") {
        const bool ok = portal::openPayWebView(url, target);
        pumpAll();
        return ok;
    }

    // A sign-in capture whose answers are recorded.
    bool arm(const std::string& url = kLogin, const std::string& prefix = "vexo://tgdone") {
        return portal::openLoginCapture(url, prefix, [this](const std::string& address) { answers.push_back(address); });
    }

    static void command(int id) { sendMessage(window(), WM_COMMAND, static_cast<WPARAM>(id), 0); }

    std::vector<std::string> answers;
};

// ---- opening ---------------------------------------------------------------

TEST_F(PayWebWindowTest, WithoutARuntimeNothingOpensForTheRestOfTheProcess) {
    WebViewRuntime::instance().install(false);
    EXPECT_FALSE(portal::openPayWebView(kRoot + "/", ""));
    EXPECT_EQ(window(), 0u);
    // The runtime is looked for once only.
    WebViewRuntime::instance().install(true);
    EXPECT_FALSE(portal::openPayWebView(kRoot + "/", ""));
    EXPECT_EQ(WebViewRuntime::instance().environmentRequests(), 0);
}

TEST_F(PayWebWindowTest, AnEmptyAddressOpensNothing) {
    EXPECT_FALSE(portal::openPayWebView("", "__support"));
    EXPECT_EQ(window(), 0u);
}

TEST_F(PayWebWindowTest, FirstOpenShowsAnOwnedHiddenCreatedWindowAndLoads) {
    ASSERT_TRUE(portal::openPayWebView(kUserPage, ""));
    ASSERT_NE(window(), 0u);
    EXPECT_TRUE(isWindowVisible(window()));
    EXPECT_EQ(getClassName(window()), "VEXOPayWebViewWindow");
    EXPECT_EQ(getWindowStyle(window()), 0x80CC0000u);
    EXPECT_EQ(getOwner(window()), game);
    EXPECT_EQ(getForegroundWindow(), window());
    EXPECT_TRUE(portal::payWebViewCreating());
    pumpAll();
    EXPECT_FALSE(portal::payWebViewCreating());
    ASSERT_TRUE(view());
    EXPECT_EQ(view()->source(), kUserPage);
    EXPECT_TRUE(portal::payWindowController()->isVisible());
    // The web data folder sits in the program's user folder.
    EXPECT_EQ(WebViewRuntime::instance().userDataFolders(),
              (std::vector<std::string>{data.path() + "/VEXO/WebView2"}));
}

TEST_F(PayWebWindowTest, TitleSaysSupportForTheSupportTargetOrPage) {
    struct Case {
        std::string url;
        std::string target;
        const char* title;
    };
    const Case cases[] = {
        {kRoot + "/", "__support", portal::kSupportTitle},
        {kRoot + "/report.shtml", "", portal::kSupportTitle},
        {kRoot + "/report.shtml?x=1", "", portal::kPayTitle},
        {kRoot + "/", "__shop", portal::kPayTitle},
        {kRoot + "/", "", portal::kPayTitle},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(openAndLoad(c.url, c.target));
        EXPECT_EQ(getWindowText(window()), c.title) << c.url << " " << c.target;
    }
}

TEST_F(PayWebWindowTest, TargetOpensOnceOnTheFirstPortalPageAfterSignIn) {
    struct Case {
        std::string target;
        std::string page;
    };
    const Case cases[] = {
        {"__support", kRoot + "/report.shtml"},
        {"__shop", kRoot + "/buypackage.shtml"},
        {"pkg 7&x", kRoot + "/buypackage.shtml?buy=pkg 7&x"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(openAndLoad(kLogin, c.target));
        EXPECT_EQ(view()->source(), kLogin) << "the sign-in page itself opens nothing";
        view()->followLink(kUserPage);   // signed in
        pumpAll();
        EXPECT_EQ(view()->source(), c.page) << c.target;
        view()->followLink(kUserPage);
        pumpAll();
        EXPECT_EQ(view()->source(), kUserPage) << "only once: " << c.target;
    }
}

TEST_F(PayWebWindowTest, TargetWaitsOnSignInPackageAndForeignPages) {
    const std::string pages[] = {
        kRoot + "/login.php?step=2",
        kRoot + "/buypackage.shtml?buy=other",
        "https://accounts.example.com/",
        "https://localhost/user.php",
    };
    ASSERT_TRUE(openAndLoad(kLogin, "__shop"));
    for (const std::string& page : pages) {
        view()->followLink(page);
        pumpAll();
        EXPECT_EQ(view()->source(), page);
    }
    view()->followLink(kUserPage);
    pumpAll();
    EXPECT_EQ(view()->source(), kRoot + "/buypackage.shtml");
}

TEST_F(PayWebWindowTest, TargetWaitsWhileACaptureIsArmed) {
    ASSERT_TRUE(arm());
    ASSERT_TRUE(openAndLoad(kLogin, "__shop"));
    view()->followLink(kUserPage);
    pumpAll();
    EXPECT_EQ(view()->source(), kUserPage);
}

TEST_F(PayWebWindowTest, AnOpenWhileCreatingChangesNothing) {
    WebViewRuntime::instance().holdEnvironment(true);
    ASSERT_TRUE(portal::openPayWebView(kRoot + "/first", ""));
    pumpAll();
    ASSERT_TRUE(portal::openPayWebView(kRoot + "/second", "__support"));
    EXPECT_EQ(getWindowText(window()), portal::kPayTitle);
    WebViewRuntime::instance().releaseEnvironment();
    pumpAll();
    EXPECT_EQ(view()->source(), kRoot + "/first");
    EXPECT_EQ(WebViewRuntime::instance().environmentRequests(), 1);
}

TEST_F(PayWebWindowTest, CreationFailures) {
    using Failure = WebViewRuntime::Failure;
    struct Case {
        const char* name;
        Failure failure;
        bool opened;
        bool windowKept;
    };
    const Case cases[] = {
        {"environment at once", Failure::EnvironmentAtOnce, false, true},
        {"environment later", Failure::EnvironmentLater, true, false},
        {"controller at once", Failure::ControllerAtOnce, true, false},
        {"controller later", Failure::ControllerLater, true, false},
    };
    for (const Case& c : cases) {
        WebViewRuntime::instance().setFailure(c.failure);
        EXPECT_EQ(portal::openPayWebView(kUserPage, ""), c.opened) << c.name;
        pumpAll();
        EXPECT_FALSE(portal::payWebViewCreating()) << c.name;
        EXPECT_EQ(window() != 0, c.windowKept) << c.name;
        if (window()) {
            EXPECT_FALSE(isWindowVisible(window())) << c.name;
        }
        // The next open starts over and succeeds.
        WebViewRuntime::instance().setFailure(Failure::None);
        ASSERT_TRUE(openAndLoad(kUserPage)) << c.name;
        ASSERT_TRUE(view()) << c.name;
        EXPECT_EQ(view()->source(), kUserPage) << c.name;
        portal::resetPayWebViewForTesting();
    }
}

TEST_F(PayWebWindowTest, ASecondOpenReusesWindowAndView) {
    ASSERT_TRUE(openAndLoad(kUserPage));
    const HWND first = window();
    sendMessage(first, WM_CLOSE, 0, 0);
    pumpAll();
    EXPECT_FALSE(isWindowVisible(first));
    EXPECT_EQ(getForegroundWindow(), game);
    EXPECT_EQ(view()->source(), "about:blank");
    EXPECT_FALSE(portal::payWindowController()->isVisible());
    ASSERT_TRUE(openAndLoad(kRoot + "/report.shtml"));
    EXPECT_EQ(window(), first);
    EXPECT_TRUE(isWindowVisible(first));
    EXPECT_TRUE(portal::payWindowController()->isVisible());
    EXPECT_EQ(view()->source(), kRoot + "/report.shtml");
    EXPECT_EQ(WebViewRuntime::instance().controllersCreated(), 1);
}

// ---- capture ---------------------------------------------------------------

TEST_F(PayWebWindowTest, CapturedRedirectIsCancelledAndAnsweredBeforeTheWindowHides) {
    const std::string redirect = "vexo://tgdone?code=1000&userid=7&sign=s&timestamp=1&rt=r";
    bool visibleAtAnswer = false;
    ASSERT_TRUE(portal::openLoginCapture(kLogin, "vexo://tgdone", [&](const std::string& address) {
        answers.push_back(address);
        visibleAtAnswer = isWindowVisible(window());
    }));
    pumpAll();
    WebViewRuntime::instance().setRedirect(kRoot + "/tg_callback", redirect);
    view()->followLink(kRoot + "/tg_callback");
    pumpAll();
    EXPECT_EQ(answers, (std::vector<std::string>{redirect}));
    EXPECT_TRUE(visibleAtAnswer);
    EXPECT_FALSE(isWindowVisible(window()));
    EXPECT_FALSE(portal::payCaptureArmed());
    for (const std::string& entry : view()->history()) EXPECT_NE(entry, redirect) << "never loaded";
}

TEST_F(PayWebWindowTest, PrefixMatchIsExactAndCaseSensitive) {
    // A miss is not captured: a web page loads, any other address is refused.
    struct Miss {
        std::string address;
        std::string source;   // the view's source after it
    };
    const Miss misses[] = {{"VEXO://tgdone?code=1", kLogin},
                           {"vexo://tgdon", kLogin},
                           {"https://x/?u=vexo://tgdone", "https://x/?u=vexo://tgdone"}};
    ASSERT_TRUE(arm());
    pumpAll();
    for (const Miss& miss : misses) {
        view()->followLink(miss.address);
        pumpAll();
        EXPECT_EQ(view()->source(), miss.source) << miss.address;
    }
    EXPECT_TRUE(answers.empty());
    EXPECT_TRUE(portal::payCaptureArmed());
}

TEST_F(PayWebWindowTest, EveryWayOfLeavingAnswersTheCaptureEmptyOnce) {
    struct Case {
        const char* name;
        std::function<void()> leave;
    };
    auto key = [](WebViewKeyEventKind kind) {
        return [kind] { portal::payWindowController()->pressKey(kind, 27); };
    };
    const Case cases[] = {
        {"close box", [] { sendMessage(window(), WM_CLOSE, 0, 0); }},
        {"Escape key-down", key(WebViewKeyEventKind::KeyDown)},
        {"Escape system-key-down", key(WebViewKeyEventKind::SystemKeyDown)},
        {"Ve game", [] { command(portal::kPayButtonBack); }},
        {"Ve game clicked", [] { clickWindow(portal::payWindowButton(portal::kPayButtonBack), POINT{20, 10}); }},
        {"window destroyed", [] { destroyWindow(window()); }},
    };
    for (const Case& c : cases) {
        answers.clear();
        ASSERT_TRUE(arm()) << c.name;
        pumpAll();
        c.leave();
        pumpAll();
        EXPECT_EQ(answers, (std::vector<std::string>{""})) << c.name;
        EXPECT_FALSE(portal::payCaptureArmed()) << c.name;
        if (window()) {
            EXPECT_FALSE(isWindowVisible(window())) << c.name;
        }
    }
}

TEST_F(PayWebWindowTest, EscapeOnlyOnKeyDown) {
    ASSERT_TRUE(arm());
    pumpAll();
    for (auto kind : {WebViewKeyEventKind::KeyUp, WebViewKeyEventKind::SystemKeyUp}) {
        portal::payWindowController()->pressKey(kind, 27);
    }
    portal::payWindowController()->pressKey(WebViewKeyEventKind::KeyDown, 13);
    pumpAll();
    EXPECT_TRUE(answers.empty());
    EXPECT_TRUE(isWindowVisible(window()));
    EXPECT_EQ(WebViewRuntime::instance().pageKeys().size(), 3u);
}

TEST_F(PayWebWindowTest, ANewCaptureAnswersTheOldOne) {
    ASSERT_TRUE(arm());
    ASSERT_TRUE(portal::openLoginCapture(kLogin, "vexo://gdone", [&](const std::string& a) { answers.push_back("g:" + a); }));
    EXPECT_EQ(answers, (std::vector<std::string>{""}));
    pumpAll();
    view()->followLink("vexo://gdone?code=1");
    pumpAll();
    EXPECT_EQ(answers, (std::vector<std::string>{"", "g:vexo://gdone?code=1"}));
}

TEST_F(PayWebWindowTest, AnAnswerThatStartsAnotherSignInLeavesEveryCallbackAnsweredOnce) {
    // The first sign-in answers its failure by starting over at once.
    ASSERT_TRUE(portal::openLoginCapture(kLogin, "vexo://tgdone", [&](const std::string& a) {
        answers.push_back("first:" + a);
        portal::openLoginCapture(kLogin, "vexo://tgdone", [&](const std::string& b) { answers.push_back("retry:" + b); });
    }));
    ASSERT_TRUE(arm(kLogin, "vexo://gdone"));
    EXPECT_EQ(answers, (std::vector<std::string>{"first:", "retry:"}));
    pumpAll();
    view()->followLink("vexo://gdone?ok");
    pumpAll();
    EXPECT_EQ(answers.back(), "vexo://gdone?ok");
    EXPECT_EQ(answers.size(), 3u);
}

TEST_F(PayWebWindowTest, AnAnswerOnHidingMayOpenTheWindowAgain) {
    ASSERT_TRUE(portal::openLoginCapture(kLogin, "vexo://tgdone", [&](const std::string& a) {
        answers.push_back(a);
        portal::openPayWebView(kRoot + "/again", "");
    }));
    pumpAll();
    sendMessage(window(), WM_CLOSE, 0, 0);
    pumpAll();
    EXPECT_TRUE(isWindowVisible(window()));
    EXPECT_EQ(view()->source(), kRoot + "/again");
}

TEST_F(PayWebWindowTest, AFailedCaptureOpenDisarmsWithoutAnswer) {
    WebViewRuntime::instance().setFailure(WebViewRuntime::Failure::EnvironmentAtOnce);
    EXPECT_FALSE(arm());
    EXPECT_FALSE(portal::payCaptureArmed());
    EXPECT_TRUE(answers.empty());
}

TEST_F(PayWebWindowTest, WebViewFailingToComeUpAnswersTheCapture) {
    WebViewRuntime::instance().setFailure(WebViewRuntime::Failure::ControllerLater);
    ASSERT_TRUE(arm());
    pumpAll();
    EXPECT_EQ(window(), 0u);
    EXPECT_EQ(answers, (std::vector<std::string>{""}));
}

TEST_F(PayWebWindowTest, HomeIsIdleWhileACaptureIsArmed) {
    ASSERT_TRUE(arm());
    pumpAll();
    command(portal::kPayButtonHome);
    pumpAll();
    EXPECT_EQ(view()->source(), kLogin);
    sendMessage(window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(openAndLoad(kUserPage));
    command(portal::kPayButtonHome);
    pumpAll();
    EXPECT_EQ(view()->source(), kRoot + "/");
}

TEST_F(PayWebWindowTest, BackGoesBackOnlyWithHistory) {
    ASSERT_TRUE(openAndLoad(kUserPage));
    clickWindow(portal::payWindowButton(portal::kPayButtonHistory), POINT{20, 10});
    pumpAll();
    EXPECT_EQ(view()->source(), kUserPage);
    view()->followLink(kRoot + "/next");
    pumpAll();
    command(portal::kPayButtonHistory);
    pumpAll();
    EXPECT_EQ(view()->source(), kUserPage);
}

TEST_F(PayWebWindowTest, NewWindowRequestsLoadInTheSameView) {
    ASSERT_TRUE(openAndLoad(kUserPage));
    view()->requestNewWindow(kRoot + "/popup");
    pumpAll();
    EXPECT_EQ(view()->source(), kRoot + "/popup");
    EXPECT_TRUE(WebViewRuntime::instance().popups().empty());
}

TEST_F(PayWebWindowTest, TelegramLinksAreCancelledAndOpenedOutside) {
    ASSERT_TRUE(openAndLoad(kUserPage));
    auto now = SteadyClock::now();
    SteadyClock::setSource([&now] { return now; });
    for (const char* link : {"https://t.me/mochaluc", "tg://resolve?domain=mochaluc"}) {
        view()->followLink(link);
        pumpAll();
        EXPECT_EQ(view()->source(), kUserPage) << link;
        now += std::chrono::seconds(1);
    }
    SteadyClock::setSource({});
    EXPECT_EQ(opened, (std::vector<std::string>{"https://t.me/mochaluc", "tg://resolve?domain=mochaluc"}));
}

// Only a link the user followed reaches the opener, and not more than once a second.
TEST_F(PayWebWindowTest, TelegramLinksOpenOnlyByTheUserAndAtMostOnceASecond) {
    ASSERT_TRUE(openAndLoad(kUserPage));
    auto now = SteadyClock::now();
    SteadyClock::setSource([&now] { return now; });
    struct Case {
        const char* what;
        int afterMs;        // time since the previous case
        bool userGesture;
        bool opens;
    };
    const Case cases[] = {
        {"the page's script", 5000, false, false},
        {"the user's click", 0, true, true},
        {"a click 999 ms later", 999, true, false},
        {"a click a second after the last open", 1, true, true},
        {"the script a second later", 1000, false, false},
        {"a click after the refused script", 0, true, true},
    };
    testsupport::LogCapture log;
    for (const Case& c : cases) {
        now += std::chrono::milliseconds(c.afterMs);
        opened.clear();
        view()->followLink("tg://resolve?domain=mochaluc", c.userGesture);
        pumpAll();
        EXPECT_EQ(view()->source(), kUserPage) << c.what;
        EXPECT_EQ(opened.size(), c.opens ? 1u : 0u) << c.what;
    }
    SteadyClock::setSource({});
    EXPECT_TRUE(log.contains("[VEXO] pay window: a Telegram link the user did not follow is not opened"));
    EXPECT_TRUE(log.contains("[VEXO] pay window: a Telegram link too soon after the last one is not opened"));
}

// Pop-ups, links and the page's own navigations load web pages only: script,
// file, data and blob addresses never run or show in the portal's document.
TEST_F(PayWebWindowTest, OnlyWebPagesLoadInTheView) {
    struct Case {
        const char* what;
        bool popup;   // else a navigation of the page
        std::string url;
        bool loads;
    };
    const Case cases[] = {
        // Pop-ups: http and https pages only, loaded in the same view.
        {"pop-up page", true, kRoot + "/popup", true},
        {"pop-up to another site", true, "http://example.test/x", true},
        {"pop-up script", true, "javascript:document.body.innerHTML='x'", false},
        {"pop-up local file", true, "file:///etc/passwd", false},
        {"pop-up data page", true, "data:text/html,<script>alert(1)</script>", false},
        {"pop-up blob", true, "blob:https://localhost:18443/0b7e", false},
        {"pop-up blank", true, "about:blank", false},
        {"pop-up other scheme", true, "ftp://example.test/", false},
        // Navigations: web pages and the blank pages.
        {"link page", false, kRoot + "/shop", true},
        {"link blank", false, "about:blank", true},
        {"link script", false, "javascript:alert(1)", false},
        {"link local file", false, "file:///etc/passwd", false},
        {"link data page", false, "data:text/html,x", false},
        {"link other scheme", false, "mailto:a@b.test", false},
    };
    ASSERT_TRUE(openAndLoad(kUserPage));
    for (const Case& c : cases) {
        view()->navigate(kUserPage);
        pumpAll();
        testsupport::LogCapture log;
        if (c.popup) {
            view()->requestNewWindow(c.url);
        } else {
            view()->followLink(c.url);
        }
        pumpAll();
        EXPECT_EQ(view()->source(), c.loads ? c.url : kUserPage) << c.what;
        EXPECT_EQ(log.contains("is not a web page: " + c.url.substr(0, 20)), !c.loads) << c.what << "\n" << log.text();
    }
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(WebViewRuntime::instance().popups().empty());
}

// ---- layout ----------------------------------------------------------------

TEST_F(PayWebWindowTest, ButtonsAndViewFollowTheClientSize) {
    ASSERT_TRUE(openAndLoad(kUserPage));
    struct Case {
        int clientWidth;
        int clientHeight;
        int backX;
    };
    const Case cases[] = {{900, 700, 722}, {461, 400, 283}, {460, 400, 282}, {459, 400, 282}, {200, 30, 282}};
    for (const Case& c : cases) {
        setClientSize(window(), c.clientWidth, c.clientHeight);
        struct Expected {
            int id, x, width;
        };
        for (const Expected& e : {Expected{portal::kPayButtonBack, c.backX, 168}, Expected{portal::kPayButtonHistory, 10, 128},
                                  Expected{portal::kPayButtonHome, 146, 128}}) {
            RECT r;
            ASSERT_TRUE(getWindowRect(portal::payWindowButton(e.id), &r));
            POINT topLeft{r.left, r.top};
            screenToClient(window(), &topLeft);
            EXPECT_EQ(topLeft.x, e.x) << c.clientWidth << " button " << e.id;
            EXPECT_EQ(topLeft.y, 8) << c.clientWidth << " button " << e.id;
            EXPECT_EQ(r.width(), e.width);
            EXPECT_EQ(r.height(), 36);
        }
        const RECT bounds = portal::payWindowController()->bounds();
        EXPECT_EQ(bounds, (RECT{0, 52, c.clientWidth, std::max(c.clientHeight, 52)})) << c.clientWidth;
    }
}

}  // namespace

namespace {

// ---- placement -------------------------------------------------------------

TEST_F(PayWebWindowTest, PlacementIsSavedAtTheEndOfAMove) {
    ASSERT_TRUE(openAndLoad(kUserPage));
    ASSERT_TRUE(dragWindowTo(window(), RECT{100, 50, 1100, 850}));
    EXPECT_EQ(testsupport::readFile(data.path() + "/VEXO/paywin.txt"), "100 50 1000 800");
    // A move without its end (a program's own move) saves nothing.
    moveWindow(window(), 0, 0, 900, 900, true);
    EXPECT_EQ(testsupport::readFile(data.path() + "/VEXO/paywin.txt"), "100 50 1000 800");
    // Nor does the end of a move while minimised.
    showWindowCommand(window(), SW_MINIMIZE);
    ASSERT_TRUE(isIconic(window()));
    sendMessage(window(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(testsupport::readFile(data.path() + "/VEXO/paywin.txt"), "100 50 1000 800");
}

TEST_F(PayWebWindowTest, SavedPlacementIsUsedOnlyWhenValid) {
    RECT gameRect;
    ASSERT_TRUE(getWindowRect(game, &gameRect));
    struct Case {
        const char* name;
        const char* content;
        RECT expected;
    };
    const Case cases[] = {
        {"valid", "100 60 800 900", {100, 60, 900, 960}},
        {"blanks and a line end", " 100\t60 800 900\n", {100, 60, 900, 960}},
        {"partly off screen", "-700 -100 800 900", {-700, -100, 100, 800}},
        {"too narrow", "10 10 200 900", gameRect},
        {"too low", "10 10 900 299", gameRect},
        {"off every monitor", "5000 0 800 900", gameRect},
        {"three numbers", "10 10 800", gameRect},
        {"junk", "left top width height", gameRect},
        {"trailing junk", "10 10 800 900 x", gameRect},
        {"overflow", "10 10 99999999999 900", gameRect},
        {"empty", "", gameRect},
    };
    for (const Case& c : cases) {
        data.write("VEXO/paywin.txt", c.content);
        ASSERT_TRUE(openAndLoad(kUserPage)) << c.name;
        RECT r;
        ASSERT_TRUE(getWindowRect(window(), &r));
        EXPECT_EQ(r, c.expected) << c.name;
        portal::resetPayWebViewForTesting();
    }
}

TEST_F(PayWebWindowTest, WithoutADataHomeNothingIsKept) {
    unsetenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    unsetenv("HOME");
    ASSERT_TRUE(openAndLoad(kUserPage));
    EXPECT_EQ(WebViewRuntime::instance().userDataFolders(), (std::vector<std::string>{""}));
    dragWindowTo(window(), RECT{100, 50, 1100, 850});
    if (home) setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
