#include "platform/SteadyClock.h"

#include <mutex>

namespace platform {
namespace {

std::mutex& sourceMutex() {
    static std::mutex m;
    return m;
}

SteadyClock::Source& currentSource() {
    static SteadyClock::Source source;
    return source;
}

}  // namespace

SteadyClock::TimePoint SteadyClock::now() {
    Source source;
    {
        std::lock_guard<std::mutex> lock(sourceMutex());
        source = currentSource();
    }
    return source ? source() : std::chrono::steady_clock::now();
}

void SteadyClock::setSource(Source source) {
    std::lock_guard<std::mutex> lock(sourceMutex());
    currentSource() = std::move(source);
}

}  // namespace platform
