#pragma once
// The engine's log: printf-style lines to a sink (stderr by default).
#include <functional>
#include <string>

namespace engine {

// Formats one line and hands it to the current sink. A line longer than the
// internal buffer (16 KiB) is truncated.
void log(const char* format, ...) __attribute__((format(printf, 1, 2)));

using LogSink = std::function<void(const std::string& line)>;
// Replaces the sink; an empty function restores the default (stderr). Returns the
// previous sink. The sink runs on the logging thread with no lock held: it may log
// itself, and calls from several threads may overlap. Once this returns, the
// previous sink is not running on another thread and is not called again
// (platform/SinkSlot.h has the details).
LogSink setLogSink(LogSink sink);

}  // namespace engine
