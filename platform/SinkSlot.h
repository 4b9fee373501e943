#pragma once
// A replaceable callback that receives diagnostic lines (the engine's log, the
// debugger output). The sink is called with no lock held, so it may write more
// lines, replace the sink, or wait for another thread that is itself writing.
//
// Contract:
// - call() runs the current sink on the caller's thread and answers true, or
//   answers false when no sink is set (the caller then uses its default output).
//   Calls from several threads may overlap: a sink that keeps state guards it.
// - replace() installs a new sink (empty: none) and returns the previous one. When
//   it returns, the previous sink is no longer running on any other thread and is
//   never called again by this slot, so whatever it captured may be freed. Calls
//   of the previous sink further up the replacing thread's own stack are not
//   waited for (a sink may replace the sink). Do not replace the sink while
//   holding a lock that the running sink may be waiting for.
#include <algorithm>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace platform {

template <class Line>
class SinkSlot {
public:
    using Sink = std::function<void(const Line&)>;

    bool call(const Line& line) {
        std::shared_ptr<Entry> entry;
        {
            std::lock_guard<std::mutex> lock(_mutex);
            if (!_current) return false;
            entry = _current;
            ++entry->running;
        }
        activeOnThisThread().push_back(entry.get());
        struct Done {
            SinkSlot& slot;
            Entry& entry;
            ~Done() {
                auto& active = activeOnThisThread();
                active.pop_back();
                std::lock_guard<std::mutex> lock(slot._mutex);
                if (--entry.running == 0) slot._finished.notify_all();
            }
        } done{*this, *entry};
        entry->sink(line);
        return true;
    }

    Sink replace(Sink sink) {
        std::shared_ptr<Entry> fresh;
        if (sink) fresh = std::make_shared<Entry>(std::move(sink));
        std::shared_ptr<Entry> previous;
        std::unique_lock<std::mutex> lock(_mutex);
        previous = std::exchange(_current, std::move(fresh));
        if (!previous) return {};
        const auto& active = activeOnThisThread();
        const auto mine = static_cast<int>(std::count(active.begin(), active.end(), previous.get()));
        _finished.wait(lock, [&] { return previous->running == mine; });
        // A copy: when this thread is inside the previous sink, that call still uses it.
        return previous->sink;
    }

private:
    struct Entry {
        explicit Entry(Sink s) : sink(std::move(s)) {}
        Sink sink;
        int running = 0;   // calls in progress, under _mutex
    };

    // Sinks this thread is inside of, innermost last.
    static std::vector<const Entry*>& activeOnThisThread() {
        thread_local std::vector<const Entry*> active;
        return active;
    }

    std::mutex _mutex;
    std::condition_variable _finished;
    std::shared_ptr<Entry> _current;
};

}  // namespace platform
