#pragma once
// The engine's steady clock: the platform's one clock (platform/SteadyClock.h),
// so window timers and the scheduler share it. Tests replace its source to drive
// time by hand.
#include <chrono>
#include <functional>

namespace engine {

class Clock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using Source = std::function<TimePoint()>;

    static TimePoint now();
    // Steady time in seconds since an arbitrary origin.
    static double nowSeconds();
    // Replaces the source; an empty function restores std::chrono::steady_clock.
    static void setSource(Source source);
};

}  // namespace engine
