#include "platform/Process.h"

#include <spawn.h>

extern char** environ;

namespace platform {

pid_t spawnProcess(const std::string& executable, const std::vector<std::string>& args) {
    if (executable.empty()) return -1;
    std::vector<std::string> owned;
    owned.reserve(args.size() + 1);
    owned.push_back(executable);
    owned.insert(owned.end(), args.begin(), args.end());
    std::vector<char*> argv;
    argv.reserve(owned.size() + 1);
    for (std::string& arg : owned) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, executable.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}

}  // namespace platform
