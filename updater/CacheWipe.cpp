#include "updater/CacheWipe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/base/Log.h"

namespace updater {
namespace {

namespace fs = std::filesystem;

constexpr char kTrashPrefix[] = ".trash-";

CacheStepHook& stepHook() {
    static CacheStepHook hook;
    return hook;
}

void flushFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Removes path and, for a real folder, everything below it (depth first), never
// following a link. Returns false when something stays.
bool removeTree(const fs::path& path) {
    std::error_code error;
    if (fs::symlink_status(path, error).type() == fs::file_type::directory) {
        for (fs::directory_iterator it(path, error), end; !error && it != end; it.increment(error))
            removeTree(it->path());
    }
    if (stepHook()) stepHook()(path.string());
    std::error_code removed;
    fs::remove(path, removed);
    return !removed;
}

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

CacheStepHook setCacheStepHook(CacheStepHook hook) {
    CacheStepHook previous = std::move(stepHook());
    stepHook() = std::move(hook);
    return previous;
}

bool wipeCacheFolder(const std::string& folderIn) {
    const std::string folder = withoutTrailingSlash(folderIn);
    std::error_code error;
    if (!fs::exists(fs::symlink_status(folder, error))) return true;
    const fs::path parent = fs::path(folder).parent_path();
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path trash = parent / (kTrashPrefix + std::to_string(::getpid()) + "-" +
                                         std::to_string(counter++));
        // renameat2 with RENAME_NOREPLACE is not everywhere: a name taken by another
        // trash is simply skipped.
        if (fs::exists(fs::symlink_status(trash, error))) continue;
        if (::rename(folder.c_str(), trash.c_str()) != 0) break;
        flushFolder(parent.string());
        return removeTree(trash);
    }
    // The folder cannot be moved (its parent refuses changes): delete it in place.
    engine::log("ResUpdater: cannot move %s aside, removing it in place", folder.c_str());
    return removeTree(folder);
}

int removeLeftoverTrash(const std::string& parent) {
    std::error_code error;
    int removed = 0;
    for (fs::directory_iterator it(parent, error), end; !error && it != end; it.increment(error)) {
        if (it->path().filename().string().starts_with(kTrashPrefix) && removeTree(it->path()))
            ++removed;
    }
    if (removed > 0) engine::log("ResUpdater: removed %d leftover cache trash folders", removed);
    return removed;
}

}  // namespace updater
