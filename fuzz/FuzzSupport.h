#pragma once
// Helpers shared by the fuzz targets: invariant checks that stop the fuzzer with a
// message, and scratch folders for targets that touch the disk.
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzsupport {

inline void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// A fresh folder named after prefix under $TMPDIR (or /tmp): the only place fuzz
// targets write. The caller removes it.
inline std::string makeScratchFolder(const std::string& prefix) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + "-XXXXXX";
    check(::mkdtemp(pattern.data()) != nullptr, "scratch folder");
    return pattern;
}

}  // namespace fuzzsupport
