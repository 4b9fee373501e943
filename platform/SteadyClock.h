#pragma once
// The process's one steady clock. Window timers and the engine's scheduler read
// it; tests replace its source to drive time by hand. Any thread may call.
#include <chrono>
#include <functional>

namespace platform {

class SteadyClock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using Source = std::function<TimePoint()>;

    static TimePoint now();
    // Replaces the source; an empty function restores std::chrono::steady_clock.
    static void setSource(Source source);
};

}  // namespace platform
