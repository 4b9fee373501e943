#include "updater/PackageApply.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "engine/base/Log.h"
#include "platform/AtomicFile.h"
#include "updater/CacheWipe.h"
#include "updater/ResProtocol.h"

namespace updater {
namespace {

namespace fs = std::filesystem;

ApplyStepHook& stepHook() {
    static ApplyStepHook hook;
    return hook;
}

void step(const std::string& name) {
    if (stepHook()) stepHook()(name);
}

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

int errnoOr(int fallback) { return errno != 0 ? errno : fallback; }

// Moves everything below `from` to the same place below `to`. Folders are merged;
// whatever stands in the way of a file or a folder (a link included) is removed, never
// followed. 0 or the errno of the failing step.
int moveTree(const fs::path& from, const fs::path& to, const std::string& relative) {
    std::error_code error;
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(from, error), end; !error && it != end; it.increment(error))
        entries.push_back(it->path());
    if (error) return error.value();
    for (const fs::path& entry : entries) {
        const std::string name = entry.filename().string();
        const std::string rel = relative.empty() ? name : relative + "/" + name;
        const fs::path target = to / name;
        if (fs::symlink_status(entry, error).type() == fs::file_type::directory) {
            if (fs::symlink_status(target, error).type() != fs::file_type::directory) {
                fs::remove_all(target, error);
                errno = 0;
                if (::mkdir(target.c_str(), 0755) != 0) return errnoOr(EIO);
            }
            if (const int failed = moveTree(entry, target, rel)) return failed;
            fs::remove(entry, error);
            continue;
        }
        step("move " + rel);
        errno = 0;
        if (::rename(entry.c_str(), target.c_str()) == 0) continue;
        if (errno != EISDIR && errno != ENOTEMPTY && errno != EEXIST && errno != ENOTDIR)
            return errnoOr(EIO);
        fs::remove_all(target, error);   // a folder in the way of a file
        errno = 0;
        if (::rename(entry.c_str(), target.c_str()) != 0) return errnoOr(EIO);
    }
    return 0;
}

bool flushFileSystem(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = platform::syncFileSystem(fd);
    ::close(fd);
    return ok;
}

// The steps after the record: files, serial, zip, clean-up.
int finishPackage(const ApplyPaths& paths, const PackageRecord& record) {
    std::error_code error;
    fs::create_directories(withoutTrailingSlash(paths.resourcesDir), error);
    if (error) return error.value();
    const std::string staging = withoutTrailingSlash(paths.stagingDir);
    if (fs::is_directory(fs::symlink_status(staging, error))) {
        if (const int failed = moveTree(staging, withoutTrailingSlash(paths.resourcesDir), ""))
            return failed;
    }
    errno = 0;
    if (!flushFileSystem(paths.resourcesDir)) return errnoOr(EIO);
    step("serial");
    errno = 0;
    if (!writeLocalSerial(paths.resourcesDir, record.sign, record.sn)) return errnoOr(EIO);
    step("zip");
    if (isSafeResPath(record.zipFile)) ::unlink((paths.downloadsDir + record.zipFile).c_str());
    step("done");
    ::unlink(paths.recordFile.c_str());
    wipeCacheFolder(staging);
    return 0;
}

bool readRecord(const std::string& path, PackageRecord* record) {
    std::FILE* file = std::fopen(path.c_str(), "rbe");
    if (!file) return false;
    std::string text(4096, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    if (lines.size() != 3 || start != text.size()) return false;
    const std::vector<std::string> snTokens = serialTokens(lines[1]);
    if (snTokens.size() != 1) return false;
    record->sign = lines[0];
    record->sn = serialNumber(snTokens[0]);
    record->zipFile = lines[2];
    return true;
}

}  // namespace

ApplyPaths ApplyPaths::under(const std::string& aucDir) {
    return {aucDir + "Resources/", aucDir + "Downloads/", aucDir + ".staging/", aucDir + ".apply"};
}

ApplyStepHook setApplyStepHook(ApplyStepHook hook) {
    ApplyStepHook previous = std::move(stepHook());
    stepHook() = std::move(hook);
    return previous;
}

bool writeLocalSerial(const std::string& resourcesDir, const std::string& sign, int sn) {
    if (sn <= 0) return true;
    if (!writeFileAtomically(resourcesDir + kLocalSerialFile, sign + " " + std::to_string(sn)))
        return false;
    std::remove((resourcesDir + kBaseIncompleteFile).c_str());
    return true;
}

bool prepareStaging(const ApplyPaths& paths) {
    const std::string staging = withoutTrailingSlash(paths.stagingDir);
    wipeCacheFolder(staging);
    std::error_code error;
    fs::create_directories(staging, error);
    errno = error.value();
    return !error;
}

void discardStaging(const ApplyPaths& paths) { wipeCacheFolder(paths.stagingDir); }

int applyStagedPackage(const ApplyPaths& paths, const PackageRecord& record) {
    step("record");
    const std::string text = record.sign + "\n" + std::to_string(record.sn) + "\n" + record.zipFile + "\n";
    errno = 0;
    if (!writeFileAtomically(paths.recordFile, text)) {
        const int failed = errnoOr(EIO);
        discardStaging(paths);
        return failed;
    }
    return finishPackage(paths, record);
}

void recoverPackageApply(const ApplyPaths& paths) {
    PackageRecord record;
    std::error_code error;
    if (readRecord(paths.recordFile, &record)) {
        engine::log("ResUpdater: finishing the interrupted install of %s", record.zipFile.c_str());
        if (const int failed = finishPackage(paths, record))
            engine::log("ResUpdater: cannot finish the install of %s: %s", record.zipFile.c_str(),
                        std::strerror(failed));
        return;
    }
    if (fs::exists(fs::symlink_status(paths.recordFile, error))) {
        engine::log("ResUpdater: dropping an unreadable install record");
        ::unlink(paths.recordFile.c_str());
    }
    if (fs::exists(fs::symlink_status(withoutTrailingSlash(paths.stagingDir), error))) {
        engine::log("ResUpdater: dropping an unfinished staging folder");
        discardStaging(paths);
    }
}

}  // namespace updater
