#pragma once
// Helpers shared by the fuzz targets: invariant checks that stop the fuzzer with a
// message, and scratch folders for targets that touch the disk.
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzzsupport {

inline void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// A fresh folder named after prefix, on tmpfs when there is one (targets that extract
// flush their file system, which costs nothing there). The caller removes it.
inline std::string makeScratchFolder(const std::string& prefix) {
    std::error_code ec;
    std::string root = "/dev/shm";
    if (!std::filesystem::is_directory(root, ec)) {
        const char* tmp = std::getenv("TMPDIR");
        root = tmp && *tmp ? tmp : "/tmp";
    }
    std::string pattern = root + "/" + prefix + "-XXXXXX";
    check(::mkdtemp(pattern.data()) != nullptr, "scratch folder");
    return pattern;
}

}  // namespace fuzzsupport
