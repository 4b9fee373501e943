#include "engine/base/Clock.h"

#include <mutex>

namespace engine {
namespace {

std::mutex& sourceMutex() {
    static std::mutex m;
    return m;
}

Clock::Source& currentSource() {
    static Clock::Source source;
    return source;
}

}  // namespace

Clock::TimePoint Clock::now() {
    Source source;
    {
        std::lock_guard<std::mutex> lock(sourceMutex());
        source = currentSource();
    }
    return source ? source() : std::chrono::steady_clock::now();
}

double Clock::nowSeconds() {
    return std::chrono::duration<double>(now().time_since_epoch()).count();
}

void Clock::setSource(Source source) {
    std::lock_guard<std::mutex> lock(sourceMutex());
    currentSource() = std::move(source);
}

}  // namespace engine
