#pragma once
// The executable's location, the process's current folder and canonical paths.
#include <string>

namespace platform {

// Full path of the running executable (/proc/self/exe); "" when it cannot be read.
std::string executablePath();
// Its folder, without a trailing "/" ("/" for the root); "" when unknown.
std::string executableDir();

std::string currentDirectory();
// A relative path made absolute against the current folder (joined as text, without
// resolving "." or ".."); an absolute or empty path is returned as it is.
std::string absolutePath(const std::string& path);
// The canonical absolute form of an existing path (links, "." and ".." resolved);
// "" when it cannot be resolved.
std::string realPath(const std::string& path);
bool setCurrentDirectory(const std::string& path);

// $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share when $HOME
// is; "" otherwise. No trailing "/".
std::string userDataHome();

// The program's own folder in the user's data home, userDataHome() + "/VEXO",
// made when missing (its missing parents too) with mode 0700 for itself; an
// existing folder is fine and left as it is. "" when there is no data home or the
// folder cannot be made.
std::string userVexoFolder();

}  // namespace platform
