// The fixed prefetcher on the real engine: the Lua engine's stack with the
// bindings, the director's scheduler driven frame by frame under a hand-set engine
// clock, a running scene, the engine's file utilities and the stream writer's
// rename. Only the small-file request and the game's download queue are stand-ins.
#include <chrono>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <lua.hpp>

#include "bindings/LuaModules.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Clock.h"
#include "engine/base/Director.h"
#include "engine/label/Label.h"
#include "engine/scene/Scene.h"
#include "engine/script/ScriptEngineManager.h"
#include "host/app/FixedPrefetch.h"
#include "scripting/LuaEngine.h"
#include "support/TestSupport.h"

namespace {

using engine::Clock;

Clock::TimePoint g_now;

int luaEngineNow(lua_State* L) {
    lua_pushnumber(L, Clock::nowSeconds());
    return 1;
}

// The world around the prefetcher; `served` answers version and pending state,
// the queue writes each file and reports it on the next frame.
const char* kSetUp = R"(
  local dir = ...
  logs = {}
  release_print = function(s) logs[#logs + 1] = s end
  cc.VEXOAnrFix = { now = engine_now }
  local served = { ["pf_version.txt"] = "77\n" }
  cc.XMLHttpRequest = { new = function()
    local x = { status = 0 }
    function x.open(_, _, url) x.url = url end
    function x.registerScriptHandler(_, fn) x.fn = fn end
    function x.abort() end
    function x.send()
      local body = served[x.url:match("[^/]*$")]
      local id
      local s = cc.Director:getInstance():getScheduler()
      id = s:scheduleScriptFunc(function()
        s:unscheduleScriptEntry(id)
        x.status, x.responseText = body and 200 or 404, body or ""
        x.fn("")
      end, 0, false)
    end
    return x
  end }
  local function write(path, text)
    local f = assert(io.open(path, "wb")) f:write(text) f:close()
  end
  root, WP = dir .. "/res/", dir .. "/wp/"
  local lines = {}
  for i = 1, 6 do lines[#lines + 1] = string.format("res/f%d.png\t%032x", i, i) end
  local manifest = table.concat(lines, "\n") .. "\n"
  write(WP .. "pf_version.txt", "77\n")
  write(WP .. "pf_manifest.tsv", manifest)
  write(WP .. "pf_pending_v2.tsv", table.concat({ "PF2", "77", "https://f.test/", "6", tostring(#manifest) }, "\t")
    .. "\nres/f5.png\nres/f6.png\nEND\t2\n")
  for i = 1, 4 do write(root .. "res/f" .. i .. ".png", "x") end
  local queue = { list = {}, pending = {}, active = 0 }
  function queue.pump(q)
    while #q.list > 0 do
      local item = table.remove(q.list, 1)
      local id
      local s = cc.Director:getInstance():getScheduler()
      id = s:scheduleScriptFunc(function()
        s:unscheduleScriptEntry(id)
        write(item.dest, "x")
        item.onDone(true, false)
      end, 0.5, false)
    end
  end
  local M = require("vexo_native_fixed_prefetch_1011")
  pf = M.new({ fu = cc.FileUtils:getInstance(), root = root, WP = WP, FILES = "https://f.test/",
    queue = queue, MAXA = 8, invalid = {} })
)";

class FixedPrefetchEngine : public ::testing::Test {
protected:
    void SetUp() override {
        g_now = Clock::TimePoint{} + std::chrono::hours(1);
        Clock::setSource([] { return g_now; });
        bindings::installRegistrationHooks();
        engine::LuaEngine* luaEngine = engine::LuaEngine::getInstance();
        engine::ScriptEngineManager::getInstance()->setScriptEngine(luaEngine);
        _stack = luaEngine->getLuaStack();
        _stack->retain();
        L = _stack->getLuaState();
        lua_register(L, "engine_now", luaEngineNow);
        host::preloadFixedPrefetch(L);
        _scene = engine::Scene::create();
        engine::Director::getInstance()->runWithScene(_scene);
        frame();
    }
    void TearDown() override {
        engine::Director::destroyInstance();
        _stack->release();
        engine::ScriptEngineManager::destroyInstance();
        engine::AutoreleasePool::getInstance()->clear();
        Clock::setSource(nullptr);
    }

    void frame() {
        g_now += std::chrono::milliseconds(16);
        engine::Director::getInstance()->mainLoop(0.016f);
    }

    std::string global(const char* expression) {
        const std::string chunk = std::string("return tostring(") + expression + ")";
        if (luaL_dostring(L, chunk.c_str()) != 0) return std::string("error: ") + lua_tostring(L, -1);
        std::string value = lua_tostring(L, -1);
        lua_pop(L, 1);
        return value;
    }

    engine::Label* progressLabel() {
        for (engine::Node* child : _scene->getChildren()) {
            if (child->getLocalZOrder() == 999999) return dynamic_cast<engine::Label*>(child);
        }
        return nullptr;
    }

    testsupport::TempDir _dir;
    engine::LuaStack* _stack = nullptr;
    lua_State* L = nullptr;
    engine::Scene* _scene = nullptr;
};

TEST_F(FixedPrefetchEngine, ResumesDownloadsWithTheLabelOnTheSceneUntilReady) {
    std::filesystem::create_directories(_dir.file("wp"));
    std::filesystem::create_directories(_dir.file("res/res"));
    ASSERT_EQ(luaL_loadstring(L, kSetUp), 0) << lua_tostring(L, -1);
    lua_pushstring(L, _dir.path().c_str());
    ASSERT_EQ(lua_pcall(L, 1, 0, 0), 0) << lua_tostring(L, -1);

    for (int i = 0; i < 5 && !progressLabel(); ++i) frame();
    EXPECT_EQ(global("cc.exports.prefetchState"), "DOWNLOADING");
    engine::Label* label = progressLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getString(), "T\xe1\xba\xa3i t\xc3\xa0i nguy\xc3\xaan: 66%");
    EXPECT_EQ(label->getSystemFontSize(), 16.f);
    EXPECT_EQ(label->getPositionX(), 8.f);
    EXPECT_EQ(label->getPositionY(), engine::Director::getInstance()->getWinSize().height - 4.f);
    EXPECT_EQ(label->getAnchorPoint().x, 0.f);
    EXPECT_EQ(label->getAnchorPoint().y, 1.f);
    const engine::Color4B colour = label->getTextColor();
    EXPECT_EQ(colour.r * 65536 + colour.g * 256 + colour.b, 255 * 65536 + 232 * 256 + 150);

    for (int i = 0; i < 200 && global("cc.exports.prefetchState") != "READY"; ++i) frame();
    EXPECT_EQ(global("cc.exports.prefetchState"), "READY");
    EXPECT_EQ(global("cc.exports.prefetchPct"), "100");
    EXPECT_EQ(progressLabel(), nullptr);
    EXPECT_EQ(testsupport::readFile(_dir.file("wp/pf_ready_v2.txt")).substr(0, 7), "PF2\t77\t");
    EXPECT_EQ(global("table.concat(logs, '|')"), "PF2 RESUME pending=2|PF2 READY files=6");
}

}  // namespace
