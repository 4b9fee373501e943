#include "engine/base/AsyncTaskPool.h"

#include <memory>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"

namespace engine {

namespace {
AsyncTaskPool* poolInstance = nullptr;

// The generation each worker is at, readable by callbacks on the main thread
// after the pool is gone (they then do nothing).
struct Generations {
    std::mutex mutex;
    uint64_t values[static_cast<int>(AsyncTaskPool::TaskType::TASK_MAX_TYPE)] = {};
    bool alive = true;
};
std::shared_ptr<Generations>& generations() {
    static std::shared_ptr<Generations> shared = std::make_shared<Generations>();
    return shared;
}
}  // namespace

AsyncTaskPool* AsyncTaskPool::getInstance() {
    if (!poolInstance) {
        generations() = std::make_shared<Generations>();
        poolInstance = new AsyncTaskPool;
    }
    return poolInstance;
}

void AsyncTaskPool::destroyInstance() {
    delete poolInstance;
    poolInstance = nullptr;
}

AsyncTaskPool::~AsyncTaskPool() {
    {
        std::lock_guard<std::mutex> lock(generations()->mutex);
        generations()->alive = false;
    }
    for (Worker& worker : _workers) {
        {
            std::lock_guard<std::mutex> lock(worker.mutex);
            worker.stopping = true;
            worker.tasks.clear();
        }
        worker.wake.notify_all();
        if (worker.thread.joinable()) worker.thread.join();
    }
}

void AsyncTaskPool::enqueue(TaskType type, Callback callback, void* callbackParam, std::function<void()> task) {
    const int index = static_cast<int>(type);
    if (index < 0 || index >= static_cast<int>(TaskType::TASK_MAX_TYPE)) return;
    Worker& worker = _workers[index];
    std::shared_ptr<Generations> shared = generations();
    std::lock_guard<std::mutex> lock(worker.mutex);
    const uint64_t generation = worker.generation;
    Scheduler* scheduler = Director::getInstance()->getScheduler();
    worker.tasks.push_back([task = std::move(task), callback = std::move(callback), callbackParam, scheduler,
                            shared, index, generation] {
        if (task) task();
        if (!callback) return;
        scheduler->performFunctionInEngineThread([callback, callbackParam, shared, index, generation] {
            {
                std::lock_guard<std::mutex> lock(shared->mutex);
                if (!shared->alive || shared->values[index] != generation) return;
            }
            callback(callbackParam);
        });
    });
    if (!worker.thread.joinable()) worker.thread = std::thread([this, &worker] { run(worker); });
    worker.wake.notify_one();
}

void AsyncTaskPool::run(Worker& worker) {
    std::unique_lock<std::mutex> lock(worker.mutex);
    while (true) {
        worker.wake.wait(lock, [&worker] { return worker.stopping || !worker.tasks.empty(); });
        if (worker.stopping) return;
        std::function<void()> task = std::move(worker.tasks.front());
        worker.tasks.pop_front();
        worker.busy = true;
        lock.unlock();
        task();
        lock.lock();
        worker.busy = false;
    }
}

void AsyncTaskPool::stopTasks(TaskType type) {
    const int index = static_cast<int>(type);
    if (index < 0 || index >= static_cast<int>(TaskType::TASK_MAX_TYPE)) return;
    Worker& worker = _workers[index];
    std::lock_guard<std::mutex> lock(worker.mutex);
    worker.tasks.clear();
    ++worker.generation;
    std::lock_guard<std::mutex> generationLock(generations()->mutex);
    generations()->values[index] = worker.generation;
}

size_t AsyncTaskPool::getPendingCount(TaskType type) {
    const int index = static_cast<int>(type);
    if (index < 0 || index >= static_cast<int>(TaskType::TASK_MAX_TYPE)) return 0;
    Worker& worker = _workers[index];
    std::lock_guard<std::mutex> lock(worker.mutex);
    return worker.tasks.size() + (worker.busy ? 1 : 0);
}

}  // namespace engine
