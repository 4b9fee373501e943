// Asynchronous atomic writes for scripts (cc.VEXOStreamIO).
#include <gtest/gtest.h>

#include <dirent.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "ScriptTestSupport.h"
#include "platform/AtomicFile.h"
#include "scripting/LuaStreamWriter.h"
#include "support/TestSupport.h"

namespace {

using namespace std::chrono_literals;
using scripttest::LuaStackTest;

std::mutex g_gateMutex;
std::condition_variable g_gateOpened;
bool g_gateOpen = true;

// Writes whose temporary name contains "stall" wait, once flushed, for releaseWorker().
void holdStalledWrites() {
    {
        std::lock_guard<std::mutex> lock(g_gateMutex);
        g_gateOpen = false;
    }
    platform::setDiskStepObserver([](platform::DiskStep step, const std::string& name) {
        if (step != platform::DiskStep::FileFlushed || name.find("stall") == std::string::npos) return;
        std::unique_lock<std::mutex> lock(g_gateMutex);
        g_gateOpened.wait(lock, [] { return g_gateOpen; });
    });
}

void releaseWorker() {
    {
        std::lock_guard<std::mutex> lock(g_gateMutex);
        g_gateOpen = true;
    }
    g_gateOpened.notify_all();
}

class StreamWriter : public LuaStackTest {
protected:
    void SetUp() override {
        LuaStackTest::SetUp();
        run("results = {}; function cb(tag) return function(ok) results[#results + 1] = tag .. '=' .. tostring(ok) end end");
        lua_pushstring(L, dir.path().c_str());
        lua_setglobal(L, "dir");
    }
    // Calls writeAtomicAsync from Lua; its result, or "error" when it raised.
    std::string write(const std::string& args) {
        run("ok, r = pcall(function() return cc.VEXOStreamIO.writeAtomicAsync(" + args + ") end)");
        return global("ok") == "true" ? global("r") : "error";
    }
    std::string results() {
        run("joined = table.concat(results, ' ')");
        return global("joined");
    }
    bool waitResults(size_t n) {
        return testsupport::pumpMainThreadUntil(
            [&] {
                run("count = #results");
                return global("count") == std::to_string(n);
            },
            10s);
    }
    // Files in the folder whose name contains ".vexo-part-".
    int partFiles() {
        int n = 0;
        DIR* d = opendir(dir.path().c_str());
        while (dirent* e = readdir(d)) n += std::string(e->d_name).find(".vexo-part-") != std::string::npos;
        closedir(d);
        return n;
    }
    // Blocks the worker on a write of its own: it waits, once its temporary file
    // is on disk, until releaseWorker().
    void stallWorker() {
        holdStalledWrites();
        ASSERT_EQ(write("dir .. '/stall', 's', cb('stall')"), "true");
    }
    void TearDown() override {
        releaseWorker();
        platform::setDiskStepObserver(nullptr);
        LuaStackTest::TearDown();
    }

    testsupport::TempDir dir;
};

TEST_F(StreamWriter, TableFieldsAndAPlainWrite) {
    run("t = cc.VEXOStreamIO; r = tostring(t.textureBudget) .. t.version .. type(t.getTime())");
    EXPECT_EQ(global("r"), "true1number");
    EXPECT_EQ(write("dir .. '/a.tsv', 'hello', cb('a')"), "true");
    ASSERT_TRUE(waitResults(1));
    EXPECT_EQ(results(), "a=true");
    EXPECT_EQ(testsupport::readFile(dir.file("a.tsv")), "hello");
    EXPECT_EQ(partFiles(), 0);
}

TEST_F(StreamWriter, OnlyTheNewestQueuedWriteToAPathReplacesIt) {
    stallWorker();
    EXPECT_EQ(write("dir .. '/s.tsv', 'x', cb('x')"), "true");
    EXPECT_EQ(write("dir .. '/s.tsv', 'y', cb('y')"), "true");
    releaseWorker();
    ASSERT_TRUE(waitResults(3));
    EXPECT_EQ(results(), "stall=true x=false y=true");
    EXPECT_EQ(testsupport::readFile(dir.file("s.tsv")), "y");
    EXPECT_EQ(partFiles(), 0);
}

// A write asked for from a coroutine (one left suspended, one finished and
// collected before its answer) is answered on the main state.
TEST_F(StreamWriter, WritesFromCoroutinesAreAnsweredOnTheMainState) {
    run(R"(
        local function writeFrom(name, data)
            return coroutine.create(function()
                queued = (queued or '') .. tostring(cc.VEXOStreamIO.writeAtomicAsync(dir .. '/' .. name, data,
                    function(ok) results[#results + 1] = name .. '=' .. tostring(ok) .. ' main=' ..
                        tostring(coroutine.running() == nil) end))
                coroutine.yield()
            end)
        end
        suspended = writeFrom('a.tsv', 'one')
        coroutine.resume(suspended)
        local finished = writeFrom('b.tsv', 'two')
        coroutine.resume(finished)
        coroutine.resume(finished)
        finished = nil
        collectgarbage())");
    EXPECT_EQ(global("queued"), "truetrue");
    ASSERT_TRUE(waitResults(2));
    EXPECT_EQ(results(), "a.tsv=true main=true b.tsv=true main=true");
    EXPECT_EQ(testsupport::readFile(dir.file("a.tsv")), "one");
    EXPECT_EQ(testsupport::readFile(dir.file("b.tsv")), "two");
}

TEST_F(StreamWriter, RefusedWritesAndArgumentErrors) {
    stallWorker();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(write("dir .. '/f" + std::to_string(i) + "', 'd', cb('f')"), "true");
    struct Case {
        const char* args;
        const char* result;
    };
    const Case cases[] = {
        {"dir .. '/seventh', 'd', cb('7')", "false"},   // six pending already
        {"dir .. '/empty', '', cb('e')", "false"},
        {"'', 'd', cb('p')", "false"},
        {"dir .. '/z\\0z', 'd', cb('z')", "false"},
        {"dir .. '/n', 'd', 5", "error"},
        {"{}, 'd', cb('t')", "error"},
    };
    for (const Case& c : cases) EXPECT_EQ(write(c.args), c.result) << c.args;
    releaseWorker();
    ASSERT_TRUE(waitResults(6));
    EXPECT_EQ(vexo_stream::Writer::getInstance()->pendingJobs(), 0u);
}

TEST_F(StreamWriter, SizeLimitsCountEveryPendingByte) {
    stallWorker();   // one byte pending
    EXPECT_EQ(write("dir .. '/huge', string.rep('h', 33554433), cb('h')"), "false");
    EXPECT_EQ(write("dir .. '/most', string.rep('m', 33554431), cb('m')"), "true");
    EXPECT_EQ(write("dir .. '/more', 'a', cb('a')"), "false");
    releaseWorker();
    ASSERT_TRUE(waitResults(2));
    EXPECT_EQ(results(), "stall=true m=true");
}

TEST_F(StreamWriter, AFailedRenameLeavesTheTargetAndNoTemporaryFile) {
    dir.write("target/keep.txt", "kept");   // a folder with content cannot be replaced by a file
    EXPECT_EQ(write("dir .. '/target', 'data', cb('t')"), "true");
    ASSERT_TRUE(waitResults(1));
    EXPECT_EQ(results(), "t=false");
    EXPECT_EQ(testsupport::readFile(dir.file("target/keep.txt")), "kept");
    EXPECT_EQ(partFiles(), 0);

    EXPECT_EQ(write("dir .. '/missing/x', 'data', cb('m')"), "true");   // cannot even open
    ASSERT_TRUE(waitResults(2));
    EXPECT_EQ(results(), "t=false m=false");
}

TEST_F(StreamWriter, RenameAtomicReplacesAnExistingFile) {
    dir.write("from", "new");
    dir.write("to", "old");
    run("r = cc.VEXOStreamIO.renameAtomic(dir .. '/from', dir .. '/to')");
    EXPECT_EQ(global("r"), "true");
    EXPECT_EQ(testsupport::readFile(dir.file("to")), "new");
    run("r = cc.VEXOStreamIO.renameAtomic(dir .. '/from', dir .. '/to')");
    EXPECT_EQ(global("r"), "false");
}

TEST_F(StreamWriter, StoppingDropsQueuedWritesTheirCallbacksAndReferences) {
    stallWorker();
    EXPECT_EQ(write("dir .. '/q', 'queued', cb('q')"), "true");
    auto countRefs = [&] {
        int n = 0;
        lua_pushnil(L);
        while (lua_next(L, LUA_REGISTRYINDEX)) {
            n += lua_type(L, -2) == LUA_TNUMBER && lua_isfunction(L, -1);
            lua_pop(L, 1);
        }
        return n;
    };
    const int before = countRefs();
    std::thread release([] {
        std::this_thread::sleep_for(100ms);
        releaseWorker();   // stop waits for the job being written
    });
    vexo_stream::Writer::getInstance()->stop(L);
    release.join();
    // The queued job is dropped with its reference (the stalled one too when the
    // worker had not taken it yet); no result is ever delivered.
    EXPECT_LE(countRefs(), before - 1);
    testsupport::pumpMainThreadUntil([] { return false; }, 200ms);
    EXPECT_EQ(results(), "");
    EXPECT_FALSE(testsupport::readFile(dir.file("q")).size());
    EXPECT_EQ(partFiles(), 0);
    EXPECT_EQ(write("dir .. '/after', 'd', cb('a')"), "false");   // no session for this state
}

TEST(StreamWriterLifetime, DestroyingTheStackDropsQueuedWritesWithoutCallbacks) {
    testsupport::TempDir dir;
    holdStalledWrites();
    engine::LuaStack* stack = engine::LuaStack::create();
    stack->retain();
    lua_State* L = stack->getLuaState();
    const std::string code = "local d = '" + dir.path() + "'\n"
                             "local w = cc.VEXOStreamIO.writeAtomicAsync\n"
                             "w(d .. '/stall', 's', function() end)\n"
                             "w(d .. '/q', 'x', function() end)";
    ASSERT_EQ(luaL_dostring(L, code.c_str()), 0);
    std::thread release([] {
        std::this_thread::sleep_for(100ms);
        releaseWorker();
    });
    stack->release();
    engine::AutoreleasePool::getInstance()->clear();   // the stack's destructor stops the writer
    release.join();
    platform::setDiskStepObserver(nullptr);
    // A result posted for the stalled write must find its session gone.
    testsupport::pumpMainThreadUntil([] { return false; }, 200ms);
    EXPECT_EQ(testsupport::readFile(dir.file("q")), "");
    engine::Director::destroyInstance();
}

}  // namespace
