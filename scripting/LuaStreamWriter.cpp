#include "scripting/LuaStreamWriter.h"

#include <chrono>
#include <cstdio>
#include <cstring>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "platform/AtomicFile.h"
#include "scripting/LuaCcTable.h"

namespace vexo_stream {

bool renameAtomic(const char* from, const char* to) { return std::rename(from, to) == 0; }

Writer* Writer::getInstance() {
    static Writer writer;
    return &writer;
}

Writer::~Writer() { stop(nullptr); }

void Writer::start(lua_State* L) {
    stop(nullptr);
    auto session = std::make_shared<Session>();
    session->L = L;
    session->scheduler = engine::Director::getInstance()->getScheduler();
    if (session->scheduler) session->scheduler->retain();
    std::lock_guard<std::mutex> lock(_mutex);
    _session = std::move(session);
    _stopping = false;
    _worker = std::thread([this] { run(); });
}

void Writer::stop(lua_State* L) {
    std::shared_ptr<Session> session;
    {
        std::lock_guard<std::mutex> lock(_mutex);
        if (!_session || (L && _session->L != L)) return;
        session = _session;
        session->alive.exchange(false);
        _stopping = true;
    }
    _wake.notify_all();
    if (_worker.joinable()) _worker.join();

    std::deque<WriteJob> dropped;
    {
        std::lock_guard<std::mutex> lock(_mutex);
        dropped.swap(_jobs);
        _latest.clear();
        _pendingJobs = 0;
        _pendingBytes = 0;
        _session.reset();
    }
    for (const WriteJob& job : dropped) luaL_unref(session->L, LUA_REGISTRYINDEX, job.callback);
    if (session->scheduler) session->scheduler->release();
    session->scheduler = nullptr;
}

bool Writer::enqueue(lua_State* L, const char* path, size_t pathLength, const char* data, size_t dataLength,
                     int callbackRef) {
    std::lock_guard<std::mutex> lock(_mutex);
    if (!_session || _session->L != L || _stopping || dataLength < 1 || _pendingJobs >= kMaxPendingJobs ||
        dataLength > kMaxBytes || _pendingBytes + dataLength > kMaxBytes) {
        return false;
    }
    WriteJob job;
    job.path.assign(path, pathLength);
    job.data.assign(data, dataLength);
    job.sequence = ++_sequence;
    job.callback = callbackRef;
    job.session = _session;
    _latest[job.path] = job.sequence;
    ++_pendingJobs;
    _pendingBytes += static_cast<uint32_t>(dataLength);
    _jobs.push_back(std::move(job));
    _wake.notify_one();
    return true;
}

uint32_t Writer::pendingJobs() {
    std::lock_guard<std::mutex> lock(_mutex);
    return _pendingJobs;
}

void Writer::run() {
    for (;;) {
        WriteJob job;
        {
            std::unique_lock<std::mutex> lock(_mutex);
            _wake.wait(lock, [this] { return _stopping || !_jobs.empty(); });
            if (_stopping) return;
            job = std::move(_jobs.front());
            _jobs.pop_front();
        }
        const bool outcome = writeJob(job);
        if (job.session->alive.load()) {
            job.data.clear();
            job.data.shrink_to_fit();
            engine::Scheduler* scheduler = job.session->scheduler;
            if (scheduler) {
                scheduler->performFunctionInEngineThread([job = std::move(job), outcome] { deliver(job, outcome); });
            }
        }
    }
}

bool Writer::writeJob(const WriteJob& job) {
    // The temporary file is complete on disk before it may replace the target; a
    // write that does not replace it leaves no temporary file behind.
    platform::AtomicFileWriter file;
    bool outcome = false;
    if (file.open(job.path + ".vexo-part-" + std::to_string(job.sequence)) &&
        file.write(job.data.data(), job.data.size()) && file.finish()) {
        std::lock_guard<std::mutex> lock(_mutex);
        auto latest = _latest.find(job.path);
        if (job.session->alive.load() && latest != _latest.end() && latest->second == job.sequence) {
            outcome = file.commit(job.path);
        }
    }
    if (!outcome) file.abandon();
    std::lock_guard<std::mutex> lock(_mutex);
    _pendingBytes -= static_cast<uint32_t>(job.data.size());
    --_pendingJobs;
    auto latest = _latest.find(job.path);
    if (latest != _latest.end() && latest->second == job.sequence) _latest.erase(latest);
    return outcome;
}

void Writer::deliver(const WriteJob& job, bool outcome) {
    if (!job.session->alive.load()) return;
    lua_State* L = job.session->L;
    const int top = lua_gettop(L);
    lua_rawgeti(L, LUA_REGISTRYINDEX, job.callback);
    luaL_unref(L, LUA_REGISTRYINDEX, job.callback);
    lua_pushboolean(L, outcome ? 1 : 0);
    if (lua_pcall(L, 1, 0, 0) != 0) {
        const char* message = lua_tostring(L, -1);
        engine::log("VEXO StreamIO callback: %s", message ? message : "(no message)");
    }
    lua_settop(L, top);
}

// --- Lua table -------------------------------------------------------------------
// Arguments are checked (and may raise) before anything with a destructor exists.

namespace {

// Upvalue 1 is the main thread of the state the table was made for: a call from
// any coroutine of that state is queued for it, and answered on it.
int luaWriteAtomicAsync(lua_State* L) {
    lua_State* main = lua_tothread(L, lua_upvalueindex(1));
    size_t pathLength = 0;
    size_t dataLength = 0;
    const char* path = luaL_checklstring(L, 1, &pathLength);
    const char* data = luaL_checklstring(L, 2, &dataLength);
    luaL_checktype(L, 3, LUA_TFUNCTION);
    if (pathLength == 0 || std::memchr(path, '\0', pathLength) != nullptr) {
        lua_pushboolean(L, 0);
        return 1;
    }
    lua_pushvalue(L, 3);
    const int callback = luaL_ref(L, LUA_REGISTRYINDEX);
    const bool queued = Writer::getInstance()->enqueue(main, path, pathLength, data, dataLength, callback);
    if (!queued) luaL_unref(L, LUA_REGISTRYINDEX, callback);
    lua_pushboolean(L, queued ? 1 : 0);
    return 1;
}

int luaRenameAtomic(lua_State* L) {
    const char* from = luaL_checkstring(L, 1);
    const char* to = luaL_checkstring(L, 2);
    lua_pushboolean(L, renameAtomic(from, to) ? 1 : 0);
    return 1;
}

int luaGetTime(lua_State* L) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    lua_pushnumber(L, static_cast<double>(ns) / 1000000000.0);
    return 1;
}

}  // namespace

void registerStreamIOTable(lua_State* L) {
    Writer::getInstance()->start(L);
    engine::pushCcTable(L);
    lua_newtable(L);
    lua_pushthread(L);
    lua_pushcclosure(L, luaWriteAtomicAsync, 1);
    lua_setfield(L, -2, "writeAtomicAsync");
    lua_pushcfunction(L, luaRenameAtomic);
    lua_setfield(L, -2, "renameAtomic");
    lua_pushcfunction(L, luaGetTime);
    lua_setfield(L, -2, "getTime");
    lua_pushboolean(L, 1);
    lua_setfield(L, -2, "textureBudget");
    lua_pushinteger(L, 1);
    lua_setfield(L, -2, "version");
    lua_setfield(L, -2, "VEXOStreamIO");
    lua_pop(L, 1);
}

}  // namespace vexo_stream
