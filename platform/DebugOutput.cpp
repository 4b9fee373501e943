#include "platform/DebugOutput.h"

#include <cstdio>

#include "platform/SinkSlot.h"

namespace platform {
namespace {

SinkSlot<std::string>& slot() {
    static SinkSlot<std::string> s;
    return s;
}

}  // namespace

void outputDebugString(const std::string& text) {
    if (slot().call(text)) return;
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

void outputDebugString(const char* text) {
    if (text) outputDebugString(std::string(text));
}

DebugOutputSink setDebugOutputSink(DebugOutputSink sink) { return slot().replace(std::move(sink)); }

}  // namespace platform
