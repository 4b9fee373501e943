#pragma once
// The updater's diagnostic lines on the debugger output: printf-style, cut to at
// most 1022 characters, then a line feed.
namespace updater {

void debugLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace updater
