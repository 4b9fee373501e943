#include "updater/DebugLine.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/DebugOutput.h"

namespace updater {

void debugLine(const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof(line) - 1, format, args);
    va_end(args);
    const size_t n = std::strlen(line);
    line[n] = '\n';
    line[n + 1] = '\0';
    platform::outputDebugString(line);
}

}  // namespace updater
