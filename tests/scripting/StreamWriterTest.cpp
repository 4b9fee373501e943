// Asynchronous atomic writes for scripts (cc.VEXOStreamIO).
#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "ScriptTestSupport.h"
#include "scripting/LuaStreamWriter.h"
#include "support/TestSupport.h"

namespace {

using namespace std::chrono_literals;
using scripttest::LuaStackTest;

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
    // Files in the folder whose name contains ".vexo-part-" (the stall's pipes aside).
    int partFiles() {
        int n = 0;
        DIR* d = opendir(dir.path().c_str());
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            n += name.find(".vexo-part-") != std::string::npos && name.rfind("stall", 0) != 0;
        }
        closedir(d);
        return n;
    }
    // Blocks the worker on a write of its own: the temporary files it may use for
    // "stall" are named pipes, whose opening waits for a reader.
    void stallWorker() {
        for (int seq = 1; seq <= kStallRange; ++seq) {
            ASSERT_EQ(mkfifo(dir.file("stall.vexo-part-" + std::to_string(seq)).c_str(), 0600), 0);
        }
        ASSERT_EQ(write("dir .. '/stall', 's', cb('stall')"), "true");
    }
    void releaseWorker() {
        for (int seq = 1; seq <= kStallRange; ++seq) {
            const int fd = open(dir.file("stall.vexo-part-" + std::to_string(seq)).c_str(), O_RDONLY | O_NONBLOCK);
            if (fd >= 0) _readers.push_back(fd);
        }
    }
    void TearDown() override {
        for (int fd : _readers) close(fd);
        LuaStackTest::TearDown();
    }
    static constexpr int kStallRange = 200;
    std::vector<int> _readers;

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
    std::thread release([this] {
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
    for (int seq = 1; seq <= 200; ++seq) {
        ASSERT_EQ(mkfifo(dir.file("stall.vexo-part-" + std::to_string(seq)).c_str(), 0600), 0);
    }
    engine::LuaStack* stack = engine::LuaStack::create();
    stack->retain();
    lua_State* L = stack->getLuaState();
    const std::string code = "local d = '" + dir.path() + "'\n"
                             "local w = cc.VEXOStreamIO.writeAtomicAsync\n"
                             "w(d .. '/stall', 's', function() end)\n"
                             "w(d .. '/q', 'x', function() end)";
    ASSERT_EQ(luaL_dostring(L, code.c_str()), 0);
    std::vector<int> readers;
    std::thread release([&] {
        std::this_thread::sleep_for(100ms);
        for (int seq = 1; seq <= 200; ++seq) {
            const int fd = open(dir.file("stall.vexo-part-" + std::to_string(seq)).c_str(), O_RDONLY | O_NONBLOCK);
            if (fd >= 0) readers.push_back(fd);
        }
    });
    stack->release();
    engine::AutoreleasePool::getInstance()->clear();   // the stack's destructor stops the writer
    release.join();
    // A result posted for the stalled write must find its session gone.
    testsupport::pumpMainThreadUntil([] { return false; }, 200ms);
    EXPECT_EQ(testsupport::readFile(dir.file("q")), "");
    for (int fd : readers) close(fd);
    engine::Director::destroyInstance();
}

}  // namespace
