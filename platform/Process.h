#pragma once
// Starting further processes (no shell: an argument vector).
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

// Starts `executable` with `args` as argv[1..] (argv[0] is the executable), in the
// caller's environment and current folder. Returns the pid, or -1 on failure.
pid_t spawnProcess(const std::string& executable, const std::vector<std::string>& args);

}  // namespace platform
