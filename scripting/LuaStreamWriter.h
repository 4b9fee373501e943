#pragma once
// Asynchronous atomic file writes for scripts, offered as the Lua table
// cc.VEXOStreamIO { writeAtomicAsync, renameAtomic, getTime, textureBudget = true,
// version = 1 }.
//
// One worker thread writes each job's data to "<path>.vexo-part-<sequence>" and
// renames it over the target. When several writes to one path are queued, only
// the newest may replace the file: the older ones report false. The script's
// callback gets one boolean on the main thread (through the director's
// scheduler): true when this write replaced the target.
//
// Limits: at most 6 jobs pending, each 1 to 32 MiB, all pending data together at
// most 32 MiB. A session lives from start() to stop(); results of a stopped
// session are neither renamed nor delivered. stop() joins the worker without
// holding the lock, drops queued jobs without touching the disk and releases
// their callback references (it runs on the main thread while the state is open).
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include <lua.hpp>

namespace engine {
class Scheduler;
}

namespace vexo_stream {

constexpr uint32_t kMaxPendingJobs = 6;
constexpr uint32_t kMaxBytes = 0x2000000;   // per write and for all pending writes

struct Session {
    std::atomic<bool> alive{true};
    lua_State* L = nullptr;
    engine::Scheduler* scheduler = nullptr;
};

class Writer {
public:
    static Writer* getInstance();
    ~Writer();

    // Stops any earlier session and starts one for L with a new worker.
    void start(lua_State* L);
    // Stops the session when it belongs to L (any session for a null L).
    void stop(lua_State* L);
    // Queues a write; false when refused (then the caller keeps callbackRef).
    bool enqueue(lua_State* L, const char* path, size_t pathLength, const char* data, size_t dataLength,
                 int callbackRef);

    // Jobs queued or being written (tests and diagnostics).
    uint32_t pendingJobs();

private:
    struct WriteJob {
        std::string path;
        std::string data;
        uint64_t sequence = 0;
        int callback = LUA_NOREF;
        std::shared_ptr<Session> session;
    };

    Writer() = default;
    void run();
    bool writeJob(const WriteJob& job);
    static void deliver(const WriteJob& job, bool outcome);

    std::mutex _mutex;
    std::condition_variable _wake;
    std::deque<WriteJob> _jobs;
    std::map<std::string, uint64_t> _latest;
    std::thread _worker;
    bool _stopping = true;
    uint32_t _pendingJobs = 0;
    uint32_t _pendingBytes = 0;
    uint64_t _sequence = 0;
    std::shared_ptr<Session> _session;
};

// Starts the writer for L (the state's main thread) and stores the table
// "VEXOStreamIO" in the global "cc" (created when missing). Its writeAtomicAsync
// takes calls from any coroutine of L's state: the write is queued for L and the
// callback runs on L.
void registerStreamIOTable(lua_State* L);

// Replaces `to` with `from` in one step; false when the rename fails.
bool renameAtomic(const char* from, const char* to);

}  // namespace vexo_stream
