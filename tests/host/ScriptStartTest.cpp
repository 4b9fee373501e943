// The script start: its fixed order, the modules it adds beside the bindings, and
// the hand-over to the game's entry script; background and foreground changes.
#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/base/Director.h"
#include "engine/files/FileUtils.h"
#include "engine/script/ScriptEngineManager.h"
#include "host/app/AppDelegate.h"
#include "scripting/LuaEngine.h"
#include "support/TestSupport.h"

using host::AppDelegate;
using testing::ElementsAreArray;

namespace {

class ScriptStart : public testing::Test {
protected:
    void SetUp() override {
        engine::FileUtils::getInstance()->setSearchPaths({_dir.path()});
        AppDelegate::setScriptStartRecorder([this](const std::string& step) { _steps.push_back(step); });
    }
    void TearDown() override { AppDelegate::setScriptStartRecorder(nullptr); }

    // Runs Lua text on the engine's state and returns the global `result` as text.
    static std::string eval(const std::string& code) {
        engine::LuaEngine* lua = engine::LuaEngine::getInstance();
        lua->executeString(code.c_str());
        lua_State* L = lua->getLuaStack()->getLuaState();
        lua_getglobal(L, "result");
        std::string text = lua_isstring(L, -1) ? lua_tostring(L, -1) : "<not a string>";
        lua_pop(L, 1);
        return text;
    }

    testsupport::TempDir _dir;
    std::vector<std::string> _steps;
};

TEST_F(ScriptStart, RunsItsStepsInTheirFixedOrderThenTheEntryScript) {
    _dir.write("src/main.lua", "entered = (entered or 0) + 1\n");
    AppDelegate::startLua();

    const std::vector<std::string> expected = {
        "register_audio_module", "register_network_module", "register_builder_module",
        "register_studio_module", "register_ui_module", "register_extension_module",
        "register_skeleton_module", "register_3d_module", "register_audioengine_module",
        "register_physics3d_module", "register_navmesh_module", "luaopen_pb", "preload_cjson",
        "vexoOnMemoryWarning",
        "setScriptKey", "registerPayWebViewBinding", "registerNativeBridge", "installTextInputFix",
        "installClientFixes", "installAnrFix", "src/main.lua"};
    EXPECT_THAT(_steps, ElementsAreArray(expected));
    EXPECT_EQ(engine::ScriptEngineManager::getInstance()->getScriptEngine(), engine::LuaEngine::getInstance());
    EXPECT_EQ(eval("result = tostring(entered)"), "1");
}

TEST_F(ScriptStart, OffersPbAtOnceAndCjsonOnFirstRequire) {
    AppDelegate::startLua();   // no src/main.lua: the start still completes
    EXPECT_EQ(eval("result = type(pb) .. ' ' .. type(pb.varint_decoder)"), "table function");
    EXPECT_EQ(eval("result = tostring(package.loaded.cjson)"), "nil");
    EXPECT_EQ(eval("result = require('cjson').encode({1, 2})"), "[1,2]");
    EXPECT_EQ(_steps.back(), "src/main.lua");
}

// The start answers whether the entry script ran; a project without one is no failure.
TEST_F(ScriptStart, AnswersWhetherTheEntryScriptRan) {
    const struct {
        const char* mainLua;   // null: none
        bool ran;
    } cases[] = {{"entered = 1", true}, {"error('boom')", false}, {"local = 1", false}, {nullptr, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mainLua ? c.mainLua : "no src/main.lua");
        std::filesystem::remove(_dir.file("src/main.lua"));
        if (c.mainLua) _dir.write("src/main.lua", c.mainLua);
        EXPECT_EQ(AppDelegate::startLua(), c.ran);
    }
}

// The order is visible to the modules: "ccs" is there when the ui module registers,
// "ccui" before the extension module does.
TEST_F(ScriptStart, ModulesSeeTheTablesOfTheModulesBeforeThem) {
    std::vector<std::string> seen;
    AppDelegate::setScriptStartRecorder([&](const std::string& step) {
        if (step != "register_ui_module" && step != "register_extension_module") return;
        seen.push_back(step + ": ccs " + eval("result = type(ccs)") + ", ccui " + eval("result = type(ccui)"));
    });
    AppDelegate::startLua();
    EXPECT_THAT(seen, testing::ElementsAre("register_ui_module: ccs table, ccui nil",
                                           "register_extension_module: ccs table, ccui table"));
}

// The layers above the script host reach the state through the script start.
TEST_F(ScriptStart, InstallsTheBindingsAndNativesOfTheLayersAbove) {
    AppDelegate::startLua();
    EXPECT_EQ(eval("result = type(cc) == 'table' and type(cc.XMLHttpRequest) or 'no cc'"), "table");
    EXPECT_EQ(eval("result = type(vexo_native)"), "function");
    EXPECT_EQ(eval("result = type(vexoOnMemoryWarning) .. ' ' .. cc.VEXOAnrFix.version"), "function 22");
    EXPECT_EQ(eval("result = tolua.type(cc.Director:getInstance())"), "cc.Director");
}

TEST_F(ScriptStart, ModuleListLeavesTheStackAsItFoundIt) {
    lua_State* L = engine::LuaEngine::getInstance()->getLuaStack()->getLuaState();
    const int top = lua_gettop(L);
    EXPECT_EQ(AppDelegate::registerScriptModules(L), 1);
    EXPECT_EQ(lua_gettop(L), top);
}

// Hiding and showing the window: the director's animation always follows; the
// scripts hear of it only once the script engine is in place, and a missing global
// handler is no error.
TEST_F(ScriptStart, BackgroundAndForegroundReachTheScriptsOnlyOnceTheyRun) {
    AppDelegate app;
    engine::Director* director = engine::Director::getInstance();

    app.applicationDidEnterBackground();   // during the update: no script engine yet
    EXPECT_FALSE(director->isAnimationRunning());
    app.applicationWillEnterForeground();
    EXPECT_TRUE(director->isAnimationRunning());
    EXPECT_EQ(engine::ScriptEngineManager::getInstance()->getScriptEngine(), nullptr);

    AppDelegate::startLua();
    app.applicationWillEnterForeground();   // no "applicationOnActive" yet
    EXPECT_TRUE(director->isAnimationRunning());

    eval("calls = '' "
         "function applicationOnDeactive() calls = calls .. 'off ' end "
         "function applicationOnActive() calls = calls .. 'on' end");
    app.applicationDidEnterBackground();
    EXPECT_FALSE(director->isAnimationRunning());
    app.applicationWillEnterForeground();
    EXPECT_TRUE(director->isAnimationRunning());
    EXPECT_EQ(eval("result = calls"), "off on");
}

}  // namespace
