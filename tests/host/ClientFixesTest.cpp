// The client fixes: the guarded digest of downloaded files, the install of the
// table and script, and the script's behaviour on the game's stand-in modules
// (tests/host/fixtures/game) over a stand-in engine (fixtures/clientfix/FakeEngine.lua)
// on a bare Lua state.
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <lua.hpp>

#include "LuaChunks.h"
#include "engine/files/FileUtils.h"
#include "host/app/ClientFixes.h"
#include "support/TestSupport.h"
#include "updater/Md5.h"

namespace {

const std::string kFixtures = VEXO_SOURCE_DIR "/tests/host/fixtures";
constexpr const char* kPortal = "https://portal.test:8443";
constexpr const char* kFaulty = "a21e30ba1c61c38c364c8ab793349e6e";

// A bare Lua state with the stand-in engine, the game's stand-in modules on the
// path, a recording stand-in of the require before ours, and the client fixes.
class Script {
public:
    explicit Script(const std::string& writable = "/nowhere/") : L(luaL_newstate()) {
        luaL_openlibs(L);
        hosttest::preloadCjson(L);
        check(run("package.path = '" + kFixtures + "/game/src/?.lua'; WRITABLE_PATH = '" + writable + "'"));
        check(run("dofile('" + kFixtures + "/clientfix/FakeEngine.lua')"));
        check(run("REQUIRED = {}; local plain = require; "
                  "require = function(name, ...) REQUIRED[#REQUIRED + 1] = name; return plain(name, ...) end"));
        host::installClientFixes(L, kPortal);
        check(run("package.preload.vexo_native_fixed_prefetch_1011 = function() "
                  "release_print('fixed prefetcher loaded'); return { fixed = true } end"));
        check(run("function vexo_native(cls, mth, args) "
                  "OPENED[#OPENED + 1] = cls .. ' ' .. mth .. ' ' .. args[1] .. ' [' .. args[2] .. ']'; return true end"));
    }
    ~Script() { lua_close(L); }
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    std::string run(const std::string& code) { return hosttest::runLua(L, code); }
    std::string eval(const std::string& expr) { return hosttest::evalLua(L, expr); }
    // The script's log lines and what was opened, each joined with "\n".
    std::string log() { return eval("table.concat(LOG, '\\n')"); }
    std::string opened() { return eval("table.concat(OPENED, '\\n')"); }

    lua_State* L;

private:
    static void check(const std::string& error) { EXPECT_EQ(error, ""); }
};

bool contains(const std::string& text, const std::string& needle) { return text.find(needle) != std::string::npos; }

// --- hashFile ---------------------------------------------------------------------

class HashFile : public testing::Test {
protected:
    void SetUp() override {
        _previousWritable = engine::FileUtils::getInstance()->getWritablePath();
        engine::FileUtils::getInstance()->setWritablePath(_dir.path() + "/");
        _root = _dir.path() + "/auc/Resources/";
    }
    void TearDown() override { engine::FileUtils::getInstance()->setWritablePath(_previousWritable); }

    testsupport::TempDir _dir;
    std::string _root;
    std::string _previousWritable;
};

TEST_F(HashFile, GivesTheDigestOnlyForRegularFilesBelowTheResourceCache) {
    const std::string content = "resource bytes";
    const std::string digest = updater::md5Hex(content.data(), content.size(), false);
    _dir.write("auc/Resources/skin/a.luac", content);
    _dir.write("auc/resources/skin/a.luac", content);
    _dir.write("auc/Resources/empty.bin", "");
    _dir.write("outside.bin", content);
    _dir.write("auc/Resources/folder/x", "x");
    ASSERT_EQ(symlink((_dir.path() + "/outside.bin").c_str(), (_root + "out.luac").c_str()), 0);
    ASSERT_EQ(symlink((_root + "skin/a.luac").c_str(), (_root + "in.luac").c_str()), 0);
    ASSERT_EQ(mkfifo((_root + "pipe").c_str(), 0600), 0);
    std::string backslashed = _root + "skin\\a.luac";
    std::string allBackslashed = backslashed;
    for (char& c : allBackslashed) c = c == '/' ? '\\' : c;

    struct Case {
        const char* name;
        std::string argument;   // a Lua expression
        std::string expected;   // the digest, or "nil"
    };
    const std::string q = "'";
    const Case cases[] = {
        {"root with /", q + _root + "skin/a.luac'", digest},
        {"\\ after the root", "[[" + backslashed + "]]", digest},
        {"\\ everywhere", "[[" + allBackslashed + "]]", digest},
        {"link inside the root", q + _root + "in.luac'", digest},
        {"/../ back into the root", q + _root + "skin/../skin/a.luac'", "nil"},
        {"other case", q + _dir.path() + "/auc/resources/skin/a.luac'", "nil"},
        {"outside", q + _dir.path() + "/outside.bin'", "nil"},
        {"link out", q + _root + "out.luac'", "nil"},
        {"empty", q + _root + "empty.bin'", "nil"},
        {"zero byte", q + _root + "skin/a.luac\\0.txt'", "nil"},
        {"missing", q + _root + "none.luac'", "nil"},
        {"folder", q + _root + "folder'", "nil"},
        {"pipe", q + _root + "pipe'", "nil"},
        {"number", "42", "nil"},
        {"table", "{}", "nil"},
        {"nothing", "", "nil"},
    };
    Script script;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(script.eval("cc.VEXOClientFixes.hashFile(" + c.argument + ")"), c.expected);
    }
    EXPECT_EQ(script.eval("cc.VEXOClientFixes.version"), "1");
}

TEST_F(HashFile, TakesFilesUpToSixteenMebibytes) {
    const size_t limit = 16 * 1024 * 1024;
    std::string big(limit, 'v');
    big[12345] = 'w';
    _dir.write("auc/Resources/at-limit.bin", big);
    const std::string digest = updater::md5Hex(big.data(), big.size(), false);
    big.push_back('!');
    _dir.write("auc/Resources/over-limit.bin", big);

    Script script;
    EXPECT_EQ(script.eval("cc.VEXOClientFixes.hashFile('" + _root + "at-limit.bin')"), digest);
    EXPECT_EQ(script.eval("cc.VEXOClientFixes.hashFile('" + _root + "over-limit.bin')"), "nil");
}

// --- install ----------------------------------------------------------------------

TEST(ClientFixesInstall, LogsItsLineAndLeavesTheStackAsItWas) {
    struct Case {
        const char* name;
        const char* root;
        const char* logged;
    };
    const Case cases[] = {
        {"a portal root", kPortal, "[VEXOClientFix] support UI and guarded Store1011 updater installed"},
        // The script names its own file and line when it fails.
        {"no portal root", "", "[VEXOClientFix] initialization failed: ClientFix.lua:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lua_State* L = luaL_newstate();
        luaL_openlibs(L);
        lua_pushinteger(L, 7);
        testsupport::LogCapture capture;
        host::installClientFixes(L, c.root);
        EXPECT_TRUE(capture.contains(c.logged)) << capture.text();
        EXPECT_EQ(lua_gettop(L), 1);
        lua_getglobal(L, "cc");
        lua_getfield(L, -1, "VEXOClientFixes");
        EXPECT_TRUE(lua_istable(L, -1)) << "the table comes first, whatever the script does";
        EXPECT_EQ(hosttest::evalLua(L, "type(package.preload.vexo_native_fixed_prefetch_1011)"), "function")
            << "the fixed prefetcher is there before the script runs";
        lua_close(L);
    }
}

// --- require ----------------------------------------------------------------------

TEST(ClientFixRequire, HandlesEachGameModuleOnceAndPassesTheRestOn) {
    Script s;
    EXPECT_EQ(s.run("A = require('game.baner.BanerCommand'); B = require('game.baner.BanerCommand');"
                    "require('string'); require('string')"),
              "");
    EXPECT_EQ(s.eval("A == B and package.loaded['game.baner.BanerCommand'] == A"), "true");
    // The require before ours saw the game module once, the others every time.
    EXPECT_EQ(s.eval("table.concat(REQUIRED, ' ')"), "game.baner.BanerCommand string string");
}

TEST(ClientFixRequire, ReturnsModulesThatDoNotFitUntouchedAndLogsPatchErrors) {
    struct Case {
        const char* name;
        const char* preload;   // Lua: the module's loader
        const char* module;
        const char* logged;
    };
    const Case cases[] = {
        {"no ctor", "function() return { name = 'view' } end", "game.baner.BanerView",
         "CLIENT_FIX skip game.baner.BanerView"},
        {"not a table", "function() return 'text' end", "game.set.SetSkinB", "CLIENT_FIX skip game.set.SetSkinB"},
        {"a command missing", "function() return { changeAccount = print } end", "game.baner.BanerCommand",
         "CLIENT_FIX skip game.baner.BanerCommand"},
        // Fits, but refuses every change: the patch's error is logged, not raised.
        {"read-only", R"(function()
            local fields = { changeAccount = print, customerService = print, onEnterGame = print,
                             getAccount = print, showWaiting = print }
            return setmetatable({}, { __index = fields, __newindex = function() error('read-only') end })
         end)", "game.baner.BanerCommand", "CLIENT_FIX patch game.baner.BanerCommand failed:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script s;
        const std::string name = c.module;
        ASSERT_EQ(s.run("package.preload['" + name + "'] = " + c.preload), "");
        ASSERT_EQ(s.run("FIRST = require('" + name + "'); SECOND = require('" + name + "')"), "");
        EXPECT_EQ(s.eval("FIRST == SECOND and (type(FIRST) ~= 'table' or rawget(FIRST, 'ctor') == nil and "
                         "rawget(FIRST, 'customerService') == nil)"),
                  "true");
        const std::string log = s.log();
        EXPECT_TRUE(contains(log, c.logged)) << log;
        EXPECT_EQ(log.find(c.logged), log.rfind(c.logged)) << "logged once: " << log;
    }
}

// The prefetcher is hashed before it loads; only the exact faulty digest (in any
// case) brings the fixed copy, and then the game's chunk never runs.
TEST(ClientFixRequire, ReplacesOnlyTheFaultyPrefetcher) {
    struct Case {
        const char* name;
        std::string hashFile;   // Lua: the stand-in of cc.VEXOClientFixes.hashFile
        bool fixed;
    };
    const std::string faulty = kFaulty;
    std::string upper = faulty;
    for (char& c : upper) c = static_cast<char>(toupper(c));
    const Case cases[] = {
        {"faulty digest", "function(path) ASKED = path; return '" + faulty + "' end", true},
        {"faulty digest in upper case", "function(path) ASKED = path; return '" + upper + "' end", true},
        {"another digest", "function(path) ASKED = path; return '" + faulty.substr(1) + "0' end", false},
        {"a longer text", "function(path) ASKED = path; return '" + faulty + " ' end", false},
        {"no file", "function(path) ASKED = path; return nil end", false},
        {"a failing check", "function(path) ASKED = path; error('disk gone') end", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script s("/data/w/");
        ASSERT_EQ(s.run("cc.VEXOClientFixes.hashFile = " + c.hashFile), "");
        ASSERT_EQ(s.run("P = require('pelmora.StreamPrefetch'); Q = require('pelmora.StreamPrefetch')"), "");
        EXPECT_EQ(s.eval("ASKED"), "/data/w/auc/Resources/skin/pelmora/StreamPrefetch.luac");
        EXPECT_EQ(s.eval("P == Q and package.loaded['pelmora.StreamPrefetch'] == P"), "true");
        EXPECT_EQ(s.eval("P.fixed"), c.fixed ? "true" : "nil");
        const std::string log = s.log();
        EXPECT_EQ(contains(log, "fixture StreamPrefetch chunk ran"), !c.fixed) << log;
        EXPECT_EQ(contains(log, "CLIENT_FIX Store1011 checked invalidation + Windows absolute scan active"), c.fixed)
            << log;

        // Cleared from package.loaded (and the fixed copy's preload entry with it), the
        // prefetcher loads afresh from the same source: the faulty chunk still never runs.
        ASSERT_EQ(s.run("package.loaded['pelmora.StreamPrefetch'] = nil;"
                        "package.preload.vexo_native_fixed_prefetch_1011 = nil;"
                        "R = require('pelmora.StreamPrefetch'); S = require('pelmora.StreamPrefetch')"),
                  "");
        EXPECT_EQ(s.eval("R ~= P and R == S and package.loaded['pelmora.StreamPrefetch'] == R"), "true");
        EXPECT_EQ(s.eval("R.fixed"), c.fixed ? "true" : "nil");
        EXPECT_EQ(contains(s.log(), "fixture StreamPrefetch chunk ran"), !c.fixed) << s.log();
    }
}

TEST(ClientFixRequire, FallsBackToTheGamesPrefetcherWhenTheFixedCopyIsMissing) {
    Script s;
    ASSERT_EQ(s.run("cc.VEXOClientFixes.hashFile = function() return '" + std::string(kFaulty) + "' end;"
                    "package.preload.vexo_native_fixed_prefetch_1011 = nil;"
                    "P = require('pelmora.StreamPrefetch')"),
              "");
    EXPECT_EQ(s.eval("P.new()"), "game prefetcher");
    EXPECT_TRUE(contains(s.log(), "CLIENT_FIX fixed prefetcher unavailable")) << s.log();
}

// --- screens ------------------------------------------------------------------------

const char* const kBanerButtons =
    "[Layout 286x78 anchor 0.5,0.5 at -150,%Y touchable"
    " [Scale9Sprite sudoku/sudoku57.png 286x78 anchor 0.5,0.5 at 143,39]"
    " [LayerColor colour 26,19,17,235 262x54 at 12,12]"
    " [Label 'Đổi Tài Khoản' size 29 colour 250,210,90,255 outline 40,16,6,255/2 anchor 0.5,0.5 at 143,39]"
    " [Sprite newHomeUI/1.png scale 0.24 at 30,39] [Sprite newHomeUI/1.png scale 0.24 at 256,39]]"
    " [Layout 286x78 anchor 0.5,0.5 at 150,%Y touchable"
    " [Scale9Sprite sudoku/sudoku57.png 286x78 anchor 0.5,0.5 at 143,39]"
    " [LayerColor colour 26,19,17,235 262x54 at 12,12]"
    " [Label 'Liên Hệ AD' size 29 colour 250,210,90,255 outline 40,16,6,255/2 anchor 0.5,0.5 at 143,39]"
    " [Sprite newHomeUI/1.png scale 0.24 at 30,39] [Sprite newHomeUI/1.png scale 0.24 at 256,39]]";

std::string withY(std::string text, const std::string& y) {
    for (size_t at = text.find("%Y"); at != std::string::npos; at = text.find("%Y")) text.replace(at, 2, y);
    return text;
}

TEST(ClientFixScreens, BannerGetsBothButtonsBelowTheEnterButtonOnItsFirstInstanceOnly) {
    struct Case {
        const char* enterY;   // Lua: the enter button's height, or nil for none
        std::string tree;
    };
    const Case cases[] = {
        {"40", "Node at 0,0 [Node at 0,40] " + withY(kBanerButtons, "-70")},
        {"nil", "Node at 0,0 " + withY(kBanerButtons, "-282")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.enterY);
        Script s;
        ASSERT_EQ(s.run("V = require('game.baner.BanerView'); FIRST = V.new(" + std::string(c.enterY) +
                        "); SECOND = V.new(" + c.enterY + ")"),
                  "");
        EXPECT_EQ(s.eval("describe(FIRST.root)"), c.tree);
        EXPECT_EQ(s.eval("#SECOND.root.children"), std::string(c.enterY) == "nil" ? "0" : "1");
    }
}

TEST(ClientFixScreens, SettingsBoxGetsTheSupportButtonAndTheNewNoteEachTime) {
    Script s;
    ASSERT_EQ(s.run("B = require('game.set.SetSkinB'); ONE = B.new(); TWO = B.new()"), "");
    const std::string tree =
        "Node at 0,0"
        " [Label 'Mục có khóa dành cho chủ tài khoản; khách vẫn chơi, nhận Phúc Lợi và tiêu KNB.' size 14 at 40,86]"
        " [Layout 300x56 anchor 0.5,0.5 at 0,-441 touchable"
        " [Scale9Sprite sudoku/sudoku57.png 500x93.3333 scale 0.6 anchor 0.5,0.5 at 150,28]"
        " [LayerColor colour 26,19,17,235 276x32 at 12,12]"
        " [Label 'Liên Hệ AD' size 25 colour 250,210,90,255 outline 40,16,6,255/2 anchor 0.5,0.5 at 150,28]]";
    EXPECT_EQ(s.eval("describe(ONE.root)"), tree);
    EXPECT_EQ(s.eval("describe(TWO.root)"), tree);
}

// Without the skin module's colour or the images the buttons still come, plainer.
TEST(ClientFixScreens, ButtonsDoWithoutTheSkinAndItsImages) {
    Script s;
    ASSERT_EQ(s.run("FILES = {}; package.preload['game.set.SonMai'] = function() return {} end;"
                    "B = require('game.set.SetSkinB'); ONE = B.new(); TWO = B.new()"),
              "");
    EXPECT_EQ(s.eval("describe(ONE.root.children[2])"),
              "Layout 300x56 anchor 0.5,0.5 at 0,-441 touchable [LayerColor colour 26,19,17,235 276x32 at 12,12]"
              " [Label 'Liên Hệ AD' size 25 colour 255,214,120,255 outline 40,16,6,255/2 anchor 0.5,0.5 at 150,28]");
    const std::string log = s.log();
    EXPECT_TRUE(contains(log, "CLIENT_FIX skip game.set.SonMai")) << log;
    EXPECT_EQ(log.find("CLIENT_FIX skip game.set.SonMai"), log.rfind("CLIENT_FIX skip game.set.SonMai")) << log;
}

TEST(ClientFixScreens, AClickRunsTheActionOnceAndATouchBounces) {
    Script s;
    ASSERT_EQ(s.run("require('game.baner.BanerCommand'); V = require('game.baner.BanerView').new(0);"
                    "SWITCH = V.root.children[2]"),
              "");
    ASSERT_EQ(s.run("touch(SWITCH, 0)"), "");
    EXPECT_EQ(s.eval("SWITCH.lastAction"), "ScaleTo(0.05,0.94)");
    ASSERT_EQ(s.run("touch(SWITCH, 2); click(SWITCH)"), "");
    EXPECT_EQ(s.eval("SWITCH.lastAction"), "Sequence(ScaleTo(0.06,1.06),ScaleTo(0.06,1))");
    EXPECT_EQ(s.eval("select(2, table.concat(LOG, '\\n'):gsub('fixture changeAccount', ''))"), "1");
}

// --- the role ---------------------------------------------------------------------

TEST(ClientFixRole, SavedAfterASuccessfulEntryUnderTheAccountAndServer) {
    struct Case {
        const char* name;
        const char* account;
        const char* call;
        const char* saved;   // "id name level" of the saved JSON, or "nothing"
    };
    const Case cases[] = {
        {"entered", "{ uid = 7, sign = 's', serverId = 3 }", "C.onEnterGame({ id = 11, name = 'An', level = 40 })",
         "11 An 40"},
        {"called as a method", "{ uid = 7, sign = 's', serverId = 3 }", "C:onEnterGame({ id = 12, name = 'Bo', level = 2 })",
         "12 Bo 2"},
        {"entry refused", "{ uid = 7, sign = 's', serverId = 3 }", "C.onEnterGame({ id = 11, refused = true })",
         "nothing"},
        {"entry raised", "{ uid = 7, sign = 's', serverId = 3 }", "pcall(C.onEnterGame, { id = 11, broken = true })",
         "nothing"},
        {"no account", "nil", "C.onEnterGame({ id = 11, name = 'An', level = 40 })", "nothing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script s;
        ASSERT_EQ(s.run(std::string("C = require('game.baner.BanerCommand'); C.account = ") + c.account), "");
        ASSERT_EQ(s.run(std::string("RESULT_OF_CALL = ") + c.call), "");
        EXPECT_EQ(s.eval("(function() local t = cc.UserDefault:getInstance():getStringForKey("
                         "'vexo_native_support_role_7_3'); if t == '' then return 'nothing' end; "
                         "local r = require('cjson').decode(t); return r.id .. ' ' .. r.name .. ' ' .. r.level end)()"),
                  c.saved);
    }
    // The game's own result comes back through the wrapper.
    Script s;
    ASSERT_EQ(s.run("C = require('game.baner.BanerCommand'); C.account = { uid = 1, sign = 's', serverId = 2 }"), "");
    EXPECT_EQ(s.eval("C.onEnterGame({ id = 5, name = 'x', level = 1 })"), "entered");
}

// --- support (the request itself is answered here by hand) --------------------------

// Signs in as uid 7 on server 3 and enters with role 11.
const char* const kSignedIn =
    "C = require('game.baner.BanerCommand'); C.account = { uid = 7, sign = 'a b+c/é', serverId = 3 };"
    "C.onEnterGame({ id = 11, name = 'Ân Nhi', level = 40 })";

TEST(ClientFixSupport, PostsTheAccountAndRoleAsAFormToThePortal) {
    Script s;
    ASSERT_EQ(s.run(kSignedIn), "");
    ASSERT_EQ(s.run("C.customerService()"), "");
    EXPECT_EQ(s.eval("XHRS[1].method .. ' ' .. XHRS[1].url"), "POST https://portal.test:8443/account/gamepay_url.php");
    EXPECT_EQ(s.eval("XHRS[1].headers['Content-Type']"), "application/x-www-form-urlencoded");
    EXPECT_EQ(s.eval("XHRS[1].body"),
              "uid=7&sign=a%20b%2Bc%2F%C3%A9&server=3&roleId=11&roleName=%C3%82n%20Nhi&roleLevel=40");
    EXPECT_FALSE(contains(s.log(), "fixture customerService")) << "the game's own command is replaced";
}

TEST(ClientFixSupport, OpensTheLinkOfAGoodReplyElseTheSupportPage) {
    const std::string page = "com/game/platform/PlatformPavrel openPayWebView https://portal.test:8443/report.shtml []";
    const std::string link = "https://portal.test:8443/x/login.php?data=abc";
    struct Case {
        const char* name;
        int status;
        std::string body;
        std::string opened;
    };
    const Case cases[] = {
        {"good reply", 200, R"({"status":0,"url":")" + link + R"("})",
         "com/game/platform/PlatformPavrel openPayWebView " + link + " [__support]"},
        {"other status", 200, R"({"status":1,"url":")" + link + R"("})", page},
        {"status as text", 200, R"({"status":"0","url":")" + link + R"("})", page},
        {"server error", 500, R"({"status":0,"url":")" + link + R"("})", page},
        {"not JSON", 200, "<html>", page},
        {"a JSON list", 200, "[0]", page},
        {"no url", 200, R"({"status":0})", page},
        {"other host", 200, R"({"status":0,"url":"https://evil.test/login.php?data=abc"})", page},
        {"host with a longer name", 200, R"({"status":0,"url":"https://portal.test:84430/login.php?data=abc"})", page},
        {"root without the /", 200, R"({"status":0,"url":"https://portal.test:8443?login.php?data=abc"})", page},
        {"http", 200, R"({"status":0,"url":"http://portal.test:8443/login.php?data=abc"})", page},
        {"no login page", 200, R"({"status":0,"url":"https://portal.test:8443/pay.php?data=abc"})", page},
        {"login page without data", 200, R"({"status":0,"url":"https://portal.test:8443/login.php?user=abc"})", page},
        {"a space inside", 200, R"({"status":0,"url":"https://portal.test:8443/login.php?data=a b"})", page},
        {"no answer", 0, "", page},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script s;
        ASSERT_EQ(s.run(kSignedIn), "");
        ASSERT_EQ(s.run("C.customerService()"), "");
        EXPECT_EQ(s.opened(), "") << "nothing before the reply";
        ASSERT_EQ(s.run("reply(1, " + std::to_string(c.status) + ", [==[" + c.body + "]==])"), "");
        EXPECT_EQ(s.opened(), c.opened);
        const std::string log = s.log();
        EXPECT_TRUE(contains(log, "fixture showWaiting true\n")) << log;
        EXPECT_TRUE(contains(log, "fixture showWaiting false")) << log;
    }
}

TEST(ClientFixSupport, OneRequestAtATimeAndALateReplyOpensNothing) {
    Script s;
    ASSERT_EQ(s.run(kSignedIn), "");
    ASSERT_EQ(s.run("C.customerService(); C.customerService()"), "");
    EXPECT_EQ(s.eval("#XHRS"), "1");
    ASSERT_EQ(s.run("advance(19.9)"), "");
    EXPECT_EQ(s.opened(), "");
    ASSERT_EQ(s.run("advance(0.1)"), "");
    EXPECT_EQ(s.opened(), "com/game/platform/PlatformPavrel openPayWebView https://portal.test:8443/report.shtml []");
    // The reply after the time-out opens nothing, and the timer fires no more.
    ASSERT_EQ(s.run("XHRS[1].aborted = false; reply(1, 200, '{\"status\":0,\"url\":\"https://portal.test:8443/"
                    "login.php?data=1\"}'); advance(40)"),
              "");
    EXPECT_EQ(s.eval("#OPENED"), "1");
    EXPECT_EQ(s.eval("select(2, table.concat(LOG, '\\n'):gsub('fixture showWaiting false', ''))"), "1");
    // The next request goes out.
    ASSERT_EQ(s.run("C.customerService(); reply(2, 500, '')"), "");
    EXPECT_EQ(s.eval("#XHRS .. ' ' .. #OPENED"), "2 2");
}

TEST(ClientFixSupport, WithoutAccountDataOrBridgeOpensTheSupportPageAtOnce) {
    const std::string page = "com/game/platform/PlatformPavrel openPayWebView https://portal.test:8443/report.shtml []";
    struct Case {
        const char* name;
        const char* setup;
        std::string opened;
    };
    const Case cases[] = {
        {"no account", "C.account = nil", page},
        {"no session", "C.account = { uid = 7, sign = '', serverId = 3 }", page},
        {"no role", "C.account = { uid = 8, sign = 's', serverId = 3 }", page},
        {"a saved role", "cc.UserDefault:getInstance():setStringForKey('vexo_native_support_role_8_3', "
                         "'{\"id\":5,\"name\":\"n\",\"level\":1}'); C.account = { uid = 8, sign = 's', serverId = 3 }",
         ""},
        {"no bridge", "vexo_native = nil; C.account = nil", "browser https://portal.test:8443/report.shtml"},
        {"a failing bridge", "vexo_native = function() error('down') end; C.account = nil",
         "browser https://portal.test:8443/report.shtml"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Script s;
        ASSERT_EQ(s.run(kSignedIn), "");
        ASSERT_EQ(s.run(c.setup), "");
        ASSERT_EQ(s.run("C.customerService()"), "");
        EXPECT_EQ(s.opened(), c.opened);
        EXPECT_EQ(s.eval("#XHRS"), c.opened.empty() ? "1" : "0");
    }
}

}  // namespace
