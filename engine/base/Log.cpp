#include "engine/base/Log.h"

#include <cstdarg>
#include <cstdio>

#include "platform/SinkSlot.h"

namespace engine {
namespace {

platform::SinkSlot<std::string>& slot() {
    static platform::SinkSlot<std::string> s;
    return s;
}

}  // namespace

LogSink setLogSink(LogSink sink) { return slot().replace(std::move(sink)); }

void log(const char* format, ...) {
    char buffer[16 * 1024];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0) return;
    const std::string line(buffer);
    if (slot().call(line)) return;
    std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace engine
