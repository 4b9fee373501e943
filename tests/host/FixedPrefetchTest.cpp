// The fixed resource prefetcher, run in-process on a bare Lua state against the
// stand-ins of tests/host/fixtures/prefetch (clock, scheduler, scene, small-file
// server, the game's file utilities and download queue).
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <lua.hpp>

#include "host/app/FixedPrefetch.h"
#include "support/TestSupport.h"

namespace {

const std::string kFixtures = VEXO_SOURCE_DIR "/tests/host/fixtures/prefetch/";

// mkdirs(path): makes a folder and its parents, only below the case's folder.
int luaMkdirs(lua_State* L) {
    const std::string path = luaL_checkstring(L, 1);
    lua_getglobal(L, "TMP");
    const std::string root = lua_tostring(L, -1) ? lua_tostring(L, -1) : "";
    if (root.empty() || path.compare(0, root.size() + 1, root + "/") != 0 || path.find("/../") != std::string::npos)
        return luaL_error(L, "mkdirs outside the case folder: %s", path.c_str());
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return 0;
}

int traceback(lua_State* L) {
    lua_getglobal(L, "debug");
    lua_getfield(L, -1, "traceback");
    lua_pushvalue(L, 1);
    lua_pushinteger(L, 2);
    lua_call(L, 2, 1);
    return 1;
}

class FixedPrefetch : public ::testing::Test {
protected:
    void SetUp() override {
        L = luaL_newstate();
        luaL_openlibs(L);
        lua_pushstring(L, _dir.path().c_str());
        lua_setglobal(L, "TMP");
        lua_register(L, "mkdirs", luaMkdirs);
        host::preloadFixedPrefetch(L);
    }
    void TearDown() override { lua_close(L); }

    // Runs fn on the stack top with a traceback; "" or the error.
    std::string call(int args) {
        const int base = lua_gettop(L) - args;
        lua_pushcfunction(L, traceback);
        lua_insert(L, base);
        const int rc = lua_pcall(L, args, 1, base);
        std::string error = rc == 0 ? "" : (lua_tostring(L, -1) ? lua_tostring(L, -1) : "(error)");
        lua_remove(L, base);
        if (rc != 0) lua_pop(L, 1);
        return error;
    }

    // Loads a fixture file and leaves what it returns on the stack.
    void loadFixture(const char* name) {
        ASSERT_EQ(luaL_loadfile(L, (kFixtures + name).c_str()), 0) << lua_tostring(L, -1);
        ASSERT_EQ(call(0), "");
    }

    std::string runScenario(const std::string& name) {
        loadFixture("harness.lua");
        loadFixture("scenarios.lua");
        lua_getfield(L, -1, name.c_str());
        if (!lua_isfunction(L, -1)) return "no scenario " + name;
        lua_pushvalue(L, -3);
        return call(1);
    }

    testsupport::TempDir _dir;
    lua_State* L = nullptr;
};

TEST_F(FixedPrefetch, PreloadedModuleNamesItsFileInErrors) {
    ASSERT_EQ(luaL_dostring(L, "local m = require('vexo_native_fixed_prefetch_1011')\n"
                               "assert(type(m.new) == 'function')\n"
                               "assert(require('vexo_native_fixed_prefetch_1011') == m)\n"
                               "local ok, err = pcall(m.new, nil)\n"
                               "assert(not ok)\n"
                               "return err"),
              0)
        << lua_tostring(L, -1);
    EXPECT_EQ(std::string(lua_tostring(L, -1)).rfind("FixedPrefetch.lua:", 0), 0u) << lua_tostring(L, -1);
}

TEST_F(FixedPrefetch, PreloadWithoutPackageTableLeavesStackAlone) {
    lua_State* bare = luaL_newstate();
    lua_pushinteger(bare, 7);
    host::preloadFixedPrefetch(bare);
    EXPECT_EQ(lua_gettop(bare), 1);
    lua_close(bare);
    host::preloadFixedPrefetch(nullptr);
}

class FixedPrefetchScenario : public FixedPrefetch, public ::testing::WithParamInterface<const char*> {};

TEST_P(FixedPrefetchScenario, Runs) {
    EXPECT_EQ(runScenario(GetParam()), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, FixedPrefetchScenario,
                         ::testing::Values("fresh_run", "resumes", "sampling", "version_change", "failed_delete",
                                           "interrupted_version_change",
                                           "invalid_manifests", "start_retries", "retries", "free_slots", "step_caps",
                                           "present_files_counted", "invalid_paths", "failed_write", "panel",
                                           "label_refresh", "pending_saves", "repeated_answer",
                                           "game_queued_path", "instant_queue"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
