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
// The same path spelt one way, as text: repeated "/" and "." parts dropped, each
// "name/.." pair taken out (without asking the disk, so links are not followed).
// "./p.png", "././p.png" and "a/../p.png" all give "p.png"; "" stays "".
std::string lexicallyNormal(const std::string& path);
// The canonical absolute form of an existing path (links, "." and ".." resolved);
// "" when it cannot be resolved.
std::string realPath(const std::string& path);
bool setCurrentDirectory(const std::string& path);

// $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share when $HOME
// is; "" otherwise. No trailing "/".
std::string userDataHome();

// The program's own folder in the user's data home, userDataHome() + "/VEXO"; ""
// without a data home. Nothing is created.
std::string userVexoFolder();
// Creates the folder and its missing parents with mode 0700; existing folders are
// left as they are. True when the folder exists afterwards.
bool makePrivateFolders(const std::string& path);

}  // namespace platform
