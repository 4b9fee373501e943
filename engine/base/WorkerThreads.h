#pragma once
// Jobs that each run on a thread of their own, and the joining of those
// threads: joinFinished joins the ones whose job has ended (call it now and then
// so that ended threads do not pile up), joinAll waits for every job. Any thread
// may start jobs; the owner joins them all before anything its jobs use goes
// away (the destructor joins what is left).
#include <functional>
#include <list>
#include <mutex>
#include <string>
#include <thread>

namespace engine {

class WorkerThreads {
public:
    WorkerThreads() = default;
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;
    ~WorkerThreads() { joinAll(); }

    // Runs job on a new thread; false, with the system's reason in *error, when
    // no thread could be started (job then never runs).
    bool start(std::function<void()> job, std::string* error = nullptr);
    void joinFinished();
    void joinAll();

private:
    struct Worker {
        std::thread thread;
        bool done = false;   // under _mutex
    };
    void join(bool all);

    // A record is added with its thread already in it, under the lock, and its
    // thread marks it done under the same lock: no caller ever sees a record
    // without its thread, whichever threads start jobs at the same time.
    std::mutex _mutex;
    std::list<Worker> _workers;
};

}  // namespace engine
