#pragma once
// The executable's location and the process's current folder.
#include <string>

namespace platform {

// Full path of the running executable (/proc/self/exe); "" when it cannot be read.
std::string executablePath();
// Its folder, without a trailing "/"; "" when unknown.
std::string executableDir();

std::string currentDirectory();
bool setCurrentDirectory(const std::string& path);

// $XDG_DATA_HOME, or $HOME/.local/share; "" when neither is set.
std::string userDataHome();

}  // namespace platform
