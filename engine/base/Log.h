#pragma once
// The engine's log: printf-style lines to a sink (stderr by default).
#include <functional>
#include <string>

namespace engine {

// Formats one line and hands it to the current sink. A line longer than the
// internal buffer (16 KiB) is truncated.
void log(const char* format, ...) __attribute__((format(printf, 1, 2)));

using LogSink = std::function<void(const std::string& line)>;
// Replaces the sink; an empty function restores the default (stderr).
// Returns the previous sink. Thread-safe.
LogSink setLogSink(LogSink sink);

}  // namespace engine
