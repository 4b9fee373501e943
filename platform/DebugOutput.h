#pragma once
// The debugger output: diagnostic lines of the host ("[VEXO] ..."). Goes to stderr
// unless a sink is set (tests capture it).
#include <functional>
#include <string>

namespace platform {

void outputDebugString(const char* text);
void outputDebugString(const std::string& text);

using DebugOutputSink = std::function<void(const std::string& text)>;
// Replaces the sink (empty: stderr); returns the previous one. Thread-safe: calls
// into the sink are serialised, and once this returns the old sink is not called
// again. A sink may itself write debug output.
DebugOutputSink setDebugOutputSink(DebugOutputSink sink);

}  // namespace platform
