#include "engine/base/Clock.h"

#include "platform/SteadyClock.h"

namespace engine {

Clock::TimePoint Clock::now() { return platform::SteadyClock::now(); }

double Clock::nowSeconds() {
    return std::chrono::duration<double>(now().time_since_epoch()).count();
}

void Clock::setSource(Source source) { platform::SteadyClock::setSource(std::move(source)); }

}  // namespace engine
