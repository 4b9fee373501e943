#include "platform/Paths.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

bool isAbsolute(const char* path) { return path && path[0] == '/'; }

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

std::string executablePath() {
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return {};
        if (static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), static_cast<size_t>(n));
        if (buffer.size() >= 1 << 20) return {};
        buffer.resize(buffer.size() * 2);  // possibly cut: try again with more room
    }
}

std::string executableDir() {
    std::string path = executablePath();
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string currentDirectory() {
    std::vector<char> buffer(256);
    for (;;) {
        if (getcwd(buffer.data(), buffer.size())) return std::string(buffer.data());
        if (errno != ERANGE || buffer.size() >= 1 << 20) return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::string absolutePath(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    std::string base = currentDirectory();
    if (base.empty()) return path;
    if (base.back() != '/') base += '/';
    return base + path;
}

std::string lexicallyNormal(const std::string& path) {
    if (path.empty()) return path;
    return std::filesystem::path(path).lexically_normal().generic_string();
}

std::string realPath(const std::string& path) {
    if (path.empty()) return {};
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return {};
    std::string out(resolved);
    std::free(resolved);
    return out;
}

bool setCurrentDirectory(const std::string& path) { return !path.empty() && chdir(path.c_str()) == 0; }

std::string userDataHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (isAbsolute(xdg)) return withoutTrailingSlash(xdg);
    const char* home = std::getenv("HOME");
    if (isAbsolute(home)) {
        std::string base = withoutTrailingSlash(home);
        if (base == "/") base.clear();
        return base + "/.local/share";
    }
    return {};
}

std::string userVexoFolder() {
    const std::string home = userDataHome();
    return home.empty() ? std::string() : home + "/VEXO";
}

bool makePrivateFolders(const std::string& path) {
    if (path.empty()) return false;
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/') continue;
        const std::string part = path.substr(0, i);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace platform
