// The program's portal window on a real X display with the desktop's browser: a
// web sign-in captured from the portal's redirect (answer, saved login, window
// hidden, website data kept in the program's own folder and nowhere else); the pay
// window on a portal page with a target, its header and the page on screen, a
// pop-up loaded in the same window, a Telegram link handed to the system's opener,
// "Quay lại" going back, the close button hiding it while the game runs on, the
// sidebar's top-up opening it again and Escape in the page hiding it; the clipboard shared with another X client;
// and the program without the browser library. The portal is the local HTTPS
// host with the test CA, which only this test run trusts. Skipped without a
// display.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/ClientProcess.h"
#include "support/PatchHost.h"
#include "support/TestSupport.h"
#include "XScreen.h"

namespace {

using namespace std::chrono_literals;
using xscreen::Rgb;

constexpr const char* kGameTitle = "Mộc Hà Lục";
constexpr const char* kPayTitle = "Nạp thẻ - Mộc Hà Lục";
constexpr int kHeader = 52;

const Rgb kOrange{255, 128, 0}, kGreen{0, 192, 0}, kBlue{0, 64, 255}, kRed{220, 20, 60};

// A page with a block of one colour at (40, 40) .. (240, 160) of the page, and a script.
std::string page(const Rgb& colour, const std::string& script = "") {
    return "<!doctype html><html><body style=\"margin:0;background:#fff\"><div style=\"position:absolute;"
           "left:40px;top:40px;width:200px;height:120px;background:rgb(" +
           std::to_string(colour[0]) + "," + std::to_string(colour[1]) + "," + std::to_string(colour[2]) +
           ")\"></div><script>" + script + "</script></body></html>";
}

const char* const kPlatform = R"(
local Platform = {}
function Platform:callNativeFunc() return nil end
return Platform
)";

const char* const kScenePrologue = R"(
package.path = 'src/?.lua;' .. package.path
function __G__TRACKBACK__(message) release_print('LUA ERROR: ' .. tostring(message)) return message end
P = require('Platform')
local scene = cc.Scene:create()
scene:addChild(cc.LayerColor:create({r = 40, g = 40, b = 40, a = 255}, 640, 360))
cc.Director:getInstance():runWithScene(scene)
function every(seconds, fn) cc.Director:getInstance():getScheduler():scheduleScriptFunc(fn, seconds, false) end
)";

class PortalWindow : public testing::Test {
protected:
    void SetUp() override {
        _display = XOpenDisplay(nullptr);
        if (!_display) GTEST_SKIP() << "no X display";
        ASSERT_TRUE(_host.ready()) << _host.error();
        _root = "https://localhost:" + std::to_string(_host.primaryPort());
        _dir.write("project/config.json", R"({"init_cfg": {"width": 640, "height": 360, "name": "Mộc Hà Lục",)"
                                          R"( "isLandscape": true, "entry": "src/main.lua"}})");
        _dir.write("project/src/Platform.lua", kPlatform);
        std::filesystem::create_directories(_dir.file("writable"));
        std::filesystem::create_directories(_dir.file("home"));
        std::filesystem::create_directories(_dir.file("runtime"));
        std::filesystem::permissions(_dir.file("runtime"), std::filesystem::perms::owner_all);
        // The system's opener: records the addresses it is given.
        _dir.write("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + _dir.file("opened.txt") + "'\n");
        std::filesystem::permissions(_dir.file("bin/xdg-open"), std::filesystem::perms::owner_all);
        const char* path = std::getenv("PATH");
        _env.push_back(std::make_unique<testsupport::EnvOverride>(
            "PATH", _dir.file("bin") + ":" + (path ? path : "/usr/bin:/bin")));
        for (const auto& [name, value] : std::vector<std::pair<const char*, std::optional<std::string>>>{
                 {"VEXO_HEADLESS", std::nullopt},
                 {"HOME", _dir.file("home")},
                 {"XDG_DATA_HOME", std::nullopt},
                 {"XDG_CACHE_HOME", std::nullopt},
                 {"XDG_CONFIG_HOME", std::nullopt},
                 {"XDG_RUNTIME_DIR", _dir.file("runtime")},
                 {"VEXO_TEST_PORTAL_ROOT", _root},
                 {"VEXO_TEST_WEBVIEW_CA", VEXO_BINARY_DIR "/certs/ca.pem"},
             }) {
            _env.push_back(std::make_unique<testsupport::EnvOverride>(name, value));
        }
    }
    void TearDown() override {
        if (_display) XCloseDisplay(_display);
    }

    // Runs the program with the test seams, or the one a user runs.
    std::unique_ptr<testsupport::ClientProcess> start(const std::string& script,
                                                      const std::string& program = "vexo-client-test") {
        _dir.write("project/src/main.lua", std::string(kScenePrologue) + script);
        auto client = std::make_unique<testsupport::ClientProcess>(
            std::vector<std::string>{"-workdir", _dir.file("project"), "-writable-path", _dir.file("writable")},
            _dir.file("stderr.txt"), program);
        return client;
    }

    // Waits for `done` (checked every 100 ms) for at most `timeout`.
    static bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = 30s) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(100ms);
        }
        return true;
    }

    Window payWindow() const { return xscreen::findWindow(_display, kPayTitle); }

    // The pay window shows the block of that colour (in the page, below the header).
    bool pageShows(const Rgb& colour) const {
        const Window window = payWindow();
        if (!window) return false;
        const xscreen::Area area = xscreen::grabWindow(_display, window);
        return xscreen::near(area.at(140, kHeader + 100), colour, 12);
    }

    // The window with the keyboard focus.
    Window focused() const {
        Window window = 0;
        int revert = 0;
        XGetInputFocus(_display, &window, &revert);
        return window;
    }

    bool requested(const std::string& path) const {
        for (const auto& request : _host.requests()) {
            if (request.path == path) return true;
        }
        return false;
    }

    Display* _display = nullptr;
    testsupport::PatchHost _host{testsupport::PatchHost::trusted()};
    std::string _root;
    testsupport::TempDir _dir;
    std::vector<std::unique_ptr<testsupport::EnvOverride>> _env;
};

// Files under `folder`, relative, except those below `except` (relative too).
std::vector<std::string> filesOutside(const std::string& folder, const std::string& except) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string relative = std::filesystem::relative(entry.path(), folder).string();
        if (relative.rfind(except, 0) == 0 || except.rfind(relative + "/", 0) == 0) continue;
        found.push_back(relative);
    }
    return found;
}

TEST_F(PortalWindow, WebSignInCapturesTheRedirectSavesTheLoginAndHides) {
    _host.writeFile("tglogin.php", page(kOrange, "setTimeout(function(){ location.href = '/tgdone.php'; }, 1500);"));
    _host.setFault("*", "/tgdone.php",
                   R"({"status": 302, "headers": [["Location",)"
                   R"( "vexo://tgdone?code=1000&userid=42&sign=s1&timestamp=77&rt=tok9"]]})");
    auto client = start(R"(
P:callNativeFunc('com/game/PlatformPavrel', 'loginTelegram',
                 { function(answer) release_print('sign-in: ' .. answer) end }, '')
)");
    ASSERT_TRUE(client->started());
    // The sign-in page on screen, then the answer taken from the portal's redirect.
    EXPECT_TRUE(waitFor([&] { return pageShows(kOrange); })) << client->output();
    ASSERT_TRUE(client->waitForOutput("[LUA-print] sign-in: ", 30s)) << client->output();
    EXPECT_NE(client->output().find("[LUA-print] sign-in: success|42|s1|77|42"), std::string::npos)
        << client->output();
    EXPECT_TRUE(waitFor([&] { return payWindow() == 0; })) << "the window hides";
    EXPECT_TRUE(xscreen::findAnyWindow(_display, kPayTitle)) << "hidden, not destroyed";
    EXPECT_EQ(client->terminate(), 0) << client->output();

    const std::string login = testsupport::readFile(_dir.file("writable/vexo_login.txt"));
    EXPECT_EQ(login.rfind("VEXODP1:", 0), 0u) << login;
    // The browser's data: in the program's folder, private, and nothing of it elsewhere.
    const std::string data = _dir.file("home/.local/share/VEXO/WebView2");
    struct stat st {};
    ASSERT_EQ(::stat(data.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(std::filesystem::exists(data + "/cookies.sqlite"));
    EXPECT_EQ(filesOutside(_dir.file("home"), ".local/share/VEXO"), std::vector<std::string>{});
}

TEST_F(PortalWindow, PayWindowTargetPopupTelegramBackCloseAndSidebarTopUp) {
    _host.writeFile("user.php", page({200, 200, 200}));
    // The target's page opens a pop-up once; the pop-up follows a Telegram link.
    _host.writeFile("buypackage.shtml",
                    page(kGreen, "if (!sessionStorage.seen) { sessionStorage.seen = 1;"
                                 " setTimeout(function(){ window.open('/popup.html'); }, 800); }"));
    // The pop-up's block is a Telegram link; its timer tries Telegram 20 times on its own.
    _host.writeFile("popup.html",
                    "<!doctype html><html><body style=\"margin:0;background:#fff\"><a href=\"tg://resolve?domain=vexo\""
                    " style=\"position:absolute;left:40px;top:40px;width:200px;height:120px;background:rgb(0,64,255)\">"
                    "</a><script>var n = 0; var t = setInterval(function(){ if (++n >= 20) clearInterval(t);"
                    " location.href = 'tg://resolve?domain=timer' + n; }, 50);</script></body></html>");
    _host.writeFile("index.html", page(kRed));
    auto client = start(R"(
release_print('open: ' .. tostring(vexo_openPayWebView(')" + _root + R"(/user.php', '__shop')))
)");
    ASSERT_TRUE(client->started());
    ASSERT_TRUE(client->waitForOutput("[LUA-print] open: true", 60s)) << client->output();

    // Target page, then the pop-up in the same window, then the Telegram link the
    // user clicks to the opener; the page's own 20 tries never reach it.
    ASSERT_TRUE(waitFor([&] { return pageShows(kBlue); })) << "the pop-up stays in the pay window";
    EXPECT_TRUE(requested("/buypackage.shtml"));
    EXPECT_TRUE(requested("/popup.html"));
    EXPECT_TRUE(client->waitForOutput("a Telegram link the user did not follow is not opened", 10s))
        << client->output();
    std::this_thread::sleep_for(1500ms);
    const xscreen::Area popup = xscreen::grabWindow(_display, payWindow());
    ASSERT_TRUE(xscreen::click(popup.left + 140, popup.top + kHeader + 100));
    EXPECT_TRUE(waitFor([&] { return !testsupport::readFile(_dir.file("opened.txt")).empty(); }))
        << client->output();
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(testsupport::readFile(_dir.file("opened.txt")), "tg://resolve?domain=vexo\n");

    // The header under the page's title bar: its dark strip and the gold "Quay lại" button.
    const Window window = payWindow();
    const xscreen::Area shot = xscreen::grabWindow(_display, window);
    EXPECT_TRUE(xscreen::near(shot.at(4, kHeader / 2), {36, 31, 26}, 16)) << xscreen::show(shot.at(4, kHeader / 2));
    const Rgb button = shot.at(20, 40);
    EXPECT_TRUE(button[0] > 150 && button[1] > 100 && button[2] < 110) << xscreen::show(button);
    const Window game = xscreen::findWindow(_display, kGameTitle);
    ASSERT_NE(game, 0u);
    Window owner = 0;
    EXPECT_TRUE(XGetTransientForHint(_display, window, &owner));
    EXPECT_EQ(owner, game);

    // "Quay lại": back to the target's page.
    ASSERT_TRUE(xscreen::click(shot.left + 74, shot.top + 26));
    EXPECT_TRUE(waitFor([&] { return pageShows(kGreen); })) << client->output();

    // The close button hides the window; the game runs on and the sidebar's
    // top-up shows it again on the portal's home page.
    xscreen::requestClose(_display, window);
    ASSERT_TRUE(waitFor([&] { return payWindow() == 0; }));
    EXPECT_TRUE(waitFor([&] { return focused() == game; }, 5s)) << "the game window has the keyboard again";
    const Window sidebar = xscreen::findWindow(_display, "VEXO");
    ASSERT_NE(sidebar, 0u);
    const xscreen::Area bar = xscreen::grabWindow(_display, sidebar);
    const int buttonHeight = std::min((bar.height - 6) / 7, 58);
    ASSERT_TRUE(xscreen::click(bar.left + bar.width / 2, bar.top + 3 + 5 * buttonHeight + buttonHeight / 2));
    EXPECT_TRUE(waitFor([&] { return pageShows(kRed); })) << client->output();
    EXPECT_TRUE(requested("/"));
    // Escape pressed in the page hides it too.
    const xscreen::Area reopened = xscreen::grabWindow(_display, payWindow());
    ASSERT_TRUE(xscreen::click(reopened.left + 400, reopened.top + 300));
    // No window manager here gives the clicked window the keyboard: the test does.
    ASSERT_TRUE(xscreen::xdotool("windowfocus --sync " + std::to_string(payWindow())));
    ASSERT_TRUE(xscreen::xdotool("key Escape"));
    EXPECT_TRUE(waitFor([&] { return payWindow() == 0; }));
    EXPECT_TRUE(waitFor([&] { return focused() == game; }, 5s)) << "the game window has the keyboard again";
    EXPECT_EQ(client->terminate(), 0) << client->output();
    EXPECT_EQ(client->output().find("LUA ERROR"), std::string::npos) << client->output();
}

// A page (or a sandboxed frame in it) asks for script, file and data addresses in
// every way a page can: none loads, none runs in the portal's document, and the
// page stays as it was.
TEST_F(PortalWindow, PagesCannotLoadScriptFileOrDataAddresses) {
    const std::string attempts = R"JS(
document.title = 'portal';
var leak = "fetch('/leak?' + document.title)";
window.open('javascript:' + leak);
window.open('file:///etc/passwd');
window.open('data:text/html,<body style="background:rgb(0,64,255)">');
var a = document.createElement('a'); a.target = '_blank'; a.href = 'file:///etc/passwd';
document.body.appendChild(a); a.click();
var f = document.createElement('form'); f.target = '_blank'; f.action = 'javascript:' + leak;
document.body.appendChild(f); f.submit();
var g = document.createElement('iframe'); g.setAttribute('sandbox', 'allow-scripts allow-popups');
g.srcdoc = '<script>window.open("javascript:fetch(\'/leak?frame\')")</' + 'script>';
document.body.appendChild(g);
setTimeout(function(){ location.href = 'file:///etc/passwd'; }, 400);
setTimeout(function(){ location.href = 'data:text/html,x'; }, 800);
setTimeout(function(){ location.href = '/done.html'; }, 2500);
)JS";
    _host.writeFile("user.php", page(kOrange, attempts));
    _host.writeFile("done.html", page(kGreen));
    auto client = start(R"(
release_print('open: ' .. tostring(vexo_openPayWebView(')" + _root + R"(/user.php', '')))
)");
    ASSERT_TRUE(client->waitForOutput("[LUA-print] open: true", 60s)) << client->output();
    ASSERT_TRUE(waitFor([&] { return pageShows(kOrange); })) << client->output();
    // The page stays as it was until its own last navigation, to a web page.
    EXPECT_FALSE(waitFor([&] { return !pageShows(kOrange); }, 1800ms)) << client->output();
    EXPECT_TRUE(waitFor([&] { return pageShows(kGreen); }, 10s)) << client->output();
    for (const auto& request : _host.requests()) EXPECT_NE(request.path.rfind("/leak", 0), 0u) << request.path;
    for (const char* refused : {"refused a pop-up to an address that is not a web page: javascript:",
                                "refused a pop-up to an address that is not a web page: file:///etc/passwd"}) {
        EXPECT_NE(client->output().find(refused), std::string::npos) << refused << "\n" << client->output();
    }
    EXPECT_EQ(client->terminate(), 0) << client->output();
}

// A saved placement comes back exactly; the user's move of the real window is
// saved once it has ended.
TEST_F(PortalWindow, PayWindowPlacementIsRestoredExactlyAndSavedAfterAMove) {
    _dir.write("home/.local/share/VEXO/paywin.txt", "100 100 900 700");
    _host.writeFile("user.php", page(kOrange));
    auto client = start(R"(
release_print('open: ' .. tostring(vexo_openPayWebView(')" + _root + R"(/user.php', '')))
)");
    ASSERT_TRUE(client->waitForOutput("[LUA-print] open: true", 60s)) << client->output();
    ASSERT_TRUE(waitFor([&] { return pageShows(kOrange); })) << client->output();
    const Window window = payWindow();
    const xscreen::Area placed = xscreen::grabWindow(_display, window);
    EXPECT_EQ((std::vector<int>{placed.left, placed.top, placed.width, placed.height}),
              (std::vector<int>{100, 100, 900, 700}));
    ASSERT_TRUE(xscreen::xdotool("windowmove " + std::to_string(window) + " 300 200"));
    const std::string saved = _dir.file("home/.local/share/VEXO/paywin.txt");
    EXPECT_TRUE(waitFor([&] { return testsupport::readFile(saved) == "300 200 900 700"; }, 10s))
        << testsupport::readFile(saved);
    EXPECT_EQ(client->terminate(), 0) << client->output();
}

// The test CA's certificate for another host name does not open the portal.
TEST_F(PortalWindow, TheTestCaIsTrustedOnlyForItsHostName) {
    testsupport::PatchHost::Options options = testsupport::PatchHost::trusted();
    options.cert = VEXO_BINARY_DIR "/certs/other-host.pem";
    options.key = VEXO_BINARY_DIR "/certs/other-host.key";
    testsupport::PatchHost other(options);
    ASSERT_TRUE(other.ready()) << other.error();
    other.writeFile("user.php", page(kOrange));
    const std::string root = "https://localhost:" + std::to_string(other.primaryPort());
    auto client = start(R"(
release_print('open: ' .. tostring(vexo_openPayWebView(')" + root + R"(/user.php', '')))
)");
    ASSERT_TRUE(client->waitForOutput("[LUA-print] open: true", 60s)) << client->output();
    ASSERT_TRUE(waitFor([&] { return payWindow() != 0; })) << client->output();
    EXPECT_FALSE(waitFor([&] { return pageShows(kOrange); }, 8s)) << client->output();
    EXPECT_TRUE(other.requests().empty());
    EXPECT_EQ(client->terminate(), 0) << client->output();
}

// The program a user runs ignores the test seams: the browser library's name, the
// portal's root and the test CA.
TEST_F(PortalWindow, TheUserProgramReadsNoTestSeams) {
    testsupport::EnvOverride missing("VEXO_TEST_WEBKIT_LIBRARY", "libvexo-no-such-browser.so.0");
    _host.writeFile("user.php", page(kOrange));
    auto client = start(R"(
release_print('open: ' .. tostring(vexo_openPayWebView(')" + _root + R"(/user.php', '')))
)", "vexo-client");
    ASSERT_TRUE(client->waitForOutput("[LUA-print] open: true", 60s)) << client->output();
    ASSERT_TRUE(waitFor([&] { return payWindow() != 0; })) << client->output();
    EXPECT_FALSE(waitFor([&] { return pageShows(kOrange); }, 8s)) << "the test CA is not trusted";
    EXPECT_TRUE(_host.requests().empty());
    EXPECT_EQ(client->terminate(), 0) << client->output();
}

// A clipboard owner that never answers costs each read half a second: the read
// answers "", the frames go on between reads (a 0.1 s timer keeps ticking) and
// SIGTERM ends the program.
TEST_F(PortalWindow, AClipboardOwnerThatNeverAnswersCostsOnlyAShortWait) {
    Display* owner = XOpenDisplay(nullptr);
    ASSERT_NE(owner, nullptr);
    const Window ownerWindow = XCreateSimpleWindow(owner, DefaultRootWindow(owner), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(owner, XInternAtom(owner, "CLIPBOARD", False), ownerWindow, CurrentTime);
    XSync(owner, False);
    auto client = start(R"(
local ticks = 0
every(0.1, function() ticks = ticks + 1 end)
every(1, function()
    local text = P:callNativeFunc('AppUtils', 'getClipText', {}, '')
    release_print('clip: [' .. tostring(text) .. '] after ' .. ticks .. ' ticks')
end)
)");
    // The tick counts of the reads, in order.
    auto ticks = [&] {
        std::vector<int> counts;
        const std::string output = client->output();
        const std::string mark = "[LUA-print] clip: [] after ";
        for (size_t at = output.find(mark); at != std::string::npos; at = output.find(mark, at + 1))
            counts.push_back(std::atoi(output.c_str() + at + mark.size()));
        return counts;
    };
    ASSERT_TRUE(waitFor([&] { return ticks().size() >= 4; }, 60s)) << client->output();
    // The frames go on between reads: the ticks grow.
    const std::vector<int> counts = ticks();
    EXPECT_GT(counts.back(), counts.front()) << client->output();
    const std::string output = client->output();
    EXPECT_NE(output.find("[VEXO] clipboard: the owner of the selection did not answer in time"), std::string::npos)
        << output;
    EXPECT_EQ(client->terminate(), 0) << client->output();
    XCloseDisplay(owner);
}

// The GL driver's shader cache goes to the program's writable folder, not to the
// user's cache folder.
TEST_F(PortalWindow, TheShaderCacheStaysInTheWritableFolder) {
    auto client = start("every(0.5, function() release_print('frame') end)\n");
    ASSERT_TRUE(client->waitForOutput("[LUA-print] frame", 60s)) << client->output();
    EXPECT_EQ(client->terminate(), 0) << client->output();
    for (const char* folder : {"home/.cache/mesa_shader_cache", "home/.cache/mesa_shader_cache_db"})
        EXPECT_FALSE(std::filesystem::exists(_dir.file(folder))) << folder;
    EXPECT_TRUE(std::filesystem::is_directory(_dir.file("writable/mesa_shader_cache")));
}

// Another X client's text reaches the script, and the script's text reaches it.
TEST_F(PortalWindow, ClipboardIsSharedWithAnotherClient) {
    auto client = start(R"(
P:callNativeFunc('AppController', 'setClipText', { content = 'từ kịch bản' }, '')
release_print('clip set')
local last = 'từ kịch bản'
every(0.2, function()
    local text = P:callNativeFunc('AppUtils', 'getClipText', {}, '')
    if text ~= last then last = text release_print('clip: ' .. tostring(text)) end
end)
)");
    ASSERT_TRUE(client->waitForOutput("[LUA-print] clip set", 60s)) << client->output();
    std::string read;
    if (FILE* pipe = popen("xclip -o -selection clipboard", "r")) {
        char buffer[256];
        size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) read.append(buffer, n);
        pclose(pipe);
    }
    EXPECT_EQ(read, "từ kịch bản");
    ASSERT_EQ(std::system("printf '%s' 'từ xclip' | xclip -i -selection clipboard"), 0);
    EXPECT_TRUE(client->waitForOutput("[LUA-print] clip: từ xclip", 30s)) << client->output();
    EXPECT_EQ(client->terminate(), 0) << client->output();
}

// Without the browser's library the program runs as it does headless: the window
// does not open and a web sign-in answers "faild".
TEST_F(PortalWindow, WithoutTheBrowserLibraryNothingOpens) {
    testsupport::EnvOverride missing("VEXO_TEST_WEBKIT_LIBRARY", "libvexo-no-such-browser.so.0");
    auto client = start(R"(
release_print('open: ' .. tostring(vexo_openPayWebView(')" + _root + R"(/user.php', '')))
P:callNativeFunc('com/game/PlatformPavrel', 'loginTelegram',
                 { function(answer) release_print('sign-in: ' .. answer) end }, '')
)");
    ASSERT_TRUE(client->waitForOutput("[LUA-print] sign-in: ", 60s)) << client->output();
    EXPECT_NE(client->output().find("[LUA-print] open: false"), std::string::npos) << client->output();
    EXPECT_NE(client->output().find("[LUA-print] sign-in: faild"), std::string::npos) << client->output();
    EXPECT_EQ(xscreen::findAnyWindow(_display, kPayTitle), 0u);
    EXPECT_TRUE(_host.requests().empty());
    EXPECT_EQ(client->terminate(), 0) << client->output();
}

}  // namespace
