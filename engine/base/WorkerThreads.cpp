#include "engine/base/WorkerThreads.h"

#include <system_error>
#include <utility>

namespace engine {

bool WorkerThreads::start(std::function<void()> job, std::string* error) {
    std::lock_guard<std::mutex> lock(_mutex);
    auto slot = _workers.emplace(_workers.end());
    try {
        slot->thread = std::thread([this, slot, job = std::move(job)] {
            job();
            std::lock_guard<std::mutex> done(_mutex);
            slot->done = true;
        });
    } catch (const std::system_error& e) {
        _workers.erase(slot);
        if (error) *error = e.what();
        return false;
    }
    return true;
}

void WorkerThreads::joinFinished() { join(false); }

void WorkerThreads::joinAll() { join(true); }

void WorkerThreads::join(bool all) {
    std::list<Worker> finished;
    {
        std::lock_guard<std::mutex> lock(_mutex);
        for (auto it = _workers.begin(); it != _workers.end();) {
            auto next = std::next(it);
            if (all || it->done) finished.splice(finished.end(), _workers, it);
            it = next;
        }
    }
    for (Worker& worker : finished)
        if (worker.thread.joinable()) worker.thread.join();
}

}  // namespace engine
