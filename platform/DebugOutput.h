#pragma once
// The debugger output: diagnostic lines of the host ("[VEXO] ..."). Goes to stderr
// unless a sink is set (tests capture it).
#include <functional>
#include <string>

namespace platform {

void outputDebugString(const char* text);
void outputDebugString(const std::string& text);

using DebugOutputSink = std::function<void(const std::string& text)>;
// Replaces the sink (empty: stderr); returns the previous one. The sink runs on the
// writing thread with no lock held: it may write debug output itself, and calls
// from several threads may overlap. Once this returns, the previous sink is not
// running on another thread and is not called again (see platform/SinkSlot.h).
DebugOutputSink setDebugOutputSink(DebugOutputSink sink);

}  // namespace platform
