#include "platform/DebugOutput.h"

#include <cstdio>
#include <mutex>

namespace platform {
namespace {

// Recursive: a sink may itself write debug output (or replace the sink) without
// deadlocking; the sink in use is a copy, so replacing it mid-call is safe.
std::recursive_mutex& sinkMutex() {
    static std::recursive_mutex m;
    return m;
}

DebugOutputSink& currentSink() {
    static DebugOutputSink sink;
    return sink;
}

}  // namespace

void outputDebugString(const std::string& text) {
    std::lock_guard<std::recursive_mutex> lock(sinkMutex());
    DebugOutputSink sink = currentSink();
    if (sink) {
        sink(text);
    } else {
        std::fwrite(text.data(), 1, text.size(), stderr);
        std::fflush(stderr);
    }
}

void outputDebugString(const char* text) {
    if (text) outputDebugString(std::string(text));
}

DebugOutputSink setDebugOutputSink(DebugOutputSink sink) {
    std::lock_guard<std::recursive_mutex> lock(sinkMutex());
    DebugOutputSink previous = std::move(currentSink());
    currentSink() = std::move(sink);
    return previous;
}

}  // namespace platform
