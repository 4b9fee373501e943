#pragma once
// Background work by kind: each task type has one worker thread that runs its
// tasks in the order they were queued. When a task has run, its callback runs
// on the main thread (through the director's scheduler, at the next frame) with
// the parameter given at enqueue. stopTasks drops the type's queued tasks and
// the callbacks of tasks already run but not yet called back; a task running
// at that moment finishes, without its callback. Workers start on first use;
// destroyInstance stops them (waiting for running tasks) and drops what is
// queued. Tasks never touch Lua or the scene: that is what callbacks are for.
// The pool is a plain singleton (not reference counted), used from the main
// thread (the workers only run tasks).
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace engine {

class AsyncTaskPool {
public:
    enum class TaskType : int32_t { TASK_IO = 0, TASK_NETWORK, TASK_OTHER, TASK_MAX_TYPE };
    using Callback = std::function<void(void* param)>;

    static AsyncTaskPool* getInstance();
    static void destroyInstance();

    void enqueue(TaskType type, Callback callback, void* callbackParam, std::function<void()> task);
    void stopTasks(TaskType type);
    // Tasks queued or running of that type.
    size_t getPendingCount(TaskType type);

private:
    AsyncTaskPool() = default;
    ~AsyncTaskPool();

    struct Worker {
        std::mutex mutex;
        std::condition_variable wake;
        std::deque<std::function<void()>> tasks;
        std::thread thread;
        bool stopping = false;
        bool busy = false;
        uint64_t generation = 0;   // bumped by stopTasks: older callbacks are dropped
    };
    void run(Worker& worker);
    Worker _workers[static_cast<int>(TaskType::TASK_MAX_TYPE)];
};

}  // namespace engine
