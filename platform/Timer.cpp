#include "platform/Timer.h"

#include <chrono>
#include <map>
#include <utility>
#include <vector>

#include "platform/SteadyClock.h"
#include "platform/WindowRecord.h"

namespace platform {
namespace {

struct TimerRecord {
    std::chrono::milliseconds interval;
    SteadyClock::TimePoint due;
};

std::map<std::pair<HWND, uintptr_t>, TimerRecord>& timers() {
    static std::map<std::pair<HWND, uintptr_t>, TimerRecord> table;
    return table;
}

}  // namespace

namespace detail {

void forgetTimers(HWND hwnd) {
    auto& table = timers();
    for (auto it = table.begin(); it != table.end();) {
        it = it->first.first == hwnd ? table.erase(it) : std::next(it);
    }
}

void resetTimers() { timers().clear(); }

int deliverDueTimers() {
    const SteadyClock::TimePoint now = SteadyClock::now();
    std::vector<std::pair<HWND, uintptr_t>> due;
    for (const auto& [key, timer] : timers()) {
        if (timer.due <= now) due.push_back(key);
    }
    int delivered = 0;
    for (const auto& key : due) {
        // An earlier timer's handler may have killed or restarted this one.
        auto it = timers().find(key);
        if (it == timers().end() || it->second.due > now) continue;
        it->second.due = now + it->second.interval;
        sendMessage(key.first, WM_TIMER, key.second, 0);
        ++delivered;
    }
    return delivered;
}

}  // namespace detail

uintptr_t setTimer(HWND hwnd, uintptr_t id, UINT milliseconds) {
    if (!isWindow(hwnd)) return 0;
    const auto interval = std::chrono::milliseconds(milliseconds);
    timers()[{hwnd, id}] = TimerRecord{interval, SteadyClock::now() + interval};
    return id == 0 ? 1 : id;
}

bool killTimer(HWND hwnd, uintptr_t id) { return timers().erase({hwnd, id}) != 0; }

bool isTimerSet(HWND hwnd, uintptr_t id) { return timers().count({hwnd, id}) != 0; }

int timerCount() { return static_cast<int>(timers().size()); }

}  // namespace platform
