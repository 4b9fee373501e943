// The fixed prefetcher on the real engine: the Lua engine's stack with the
// bindings, the director's scheduler driven frame by frame under a hand-set engine
// clock, a running scene, the engine's file utilities, cc.XMLHttpRequest against a
// loopback listener and the stream writer's rename. Only the game's download queue
// is a stand-in.
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <lua.hpp>

#include "bindings/LuaModules.h"
#include "bindings/network/LuaXmlHttpRequest.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Clock.h"
#include "engine/base/Director.h"
#include "engine/label/Label.h"
#include "engine/scene/Scene.h"
#include "engine/script/ScriptEngineManager.h"
#include "host/app/FixedPrefetch.h"
#include "scripting/LuaEngine.h"
#include "support/RawHttpServer.h"
#include "support/TestSupport.h"

namespace {

using engine::Clock;

Clock::TimePoint g_now;

int luaEngineNow(lua_State* L) {
    lua_pushnumber(L, Clock::nowSeconds());
    return 1;
}

// The world around the prefetcher: a saved state of version 77 with two files
// missing; the queue writes each file and reports it half a second later.
const char* kSetUp = R"(
  local dir, files = ...
  logs = {}
  release_print = function(s) logs[#logs + 1] = s end
  cc.VEXOAnrFix = { now = engine_now }
  local function write(path, text)
    local f = assert(io.open(path, "wb")) f:write(text) f:close()
  end
  root, WP = dir .. "/res/", dir .. "/wp/"
  local lines = {}
  for i = 1, 6 do lines[#lines + 1] = string.format("res/f%d.png\t%032x", i, i) end
  local manifest = table.concat(lines, "\n") .. "\n"
  write(WP .. "pf_version.txt", "77\n")
  write(WP .. "pf_manifest.tsv", manifest)
  write(WP .. "pf_pending_v2.tsv", table.concat({ "PF2", "77", files, "6", tostring(#manifest) }, "\t")
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
  pf = M.new({ fu = cc.FileUtils:getInstance(), root = root, WP = WP, FILES = files,
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
        bindings::register_xmlhttprequest_class(L);
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
    // FILES answers every request with the version.
    testsupport::RawHttpServer files("HTTP/1.1 200 OK\r\nContent-Length: 3\r\nConnection: close\r\n\r\n77\n");
    ASSERT_TRUE(files.listening());
    ASSERT_EQ(luaL_loadstring(L, kSetUp), 0) << lua_tostring(L, -1);
    lua_pushstring(L, _dir.path().c_str());
    lua_pushstring(L, files.url("/").c_str());
    ASSERT_EQ(lua_pcall(L, 2, 0, 0), 0) << lua_tostring(L, -1);

    // The answer comes from the HTTP client's thread: wait for it in real time.
    for (int i = 0; i < 1000 && !progressLabel(); ++i) {
        frame();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(global("cc.exports.prefetchState"), "DOWNLOADING") << global("table.concat(logs, '|')");
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
    ASSERT_EQ(files.requests().size(), 1u);
    EXPECT_EQ(files.requests()[0].rfind("GET /pf_version.txt ", 0), 0u) << files.requests()[0];
}

}  // namespace
