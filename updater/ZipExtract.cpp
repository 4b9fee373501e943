#include "updater/ZipExtract.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/zip/Unzip.h"
#include "platform/AtomicFile.h"
#include "updater/DebugLine.h"
#include "updater/ResProtocol.h"

namespace updater {
namespace {

constexpr unsigned kChunk = 256 * 1024;
// Entries are written to a fresh file (kUnzipTempPrefix and a number) beside their
// target and renamed into place.

// One debugger-output line: at most 1022 characters, then a line feed.

bool isSeparator(char c) { return c == '/' || c == '\\'; }

// A name is safe when it stays below the destination whatever the separator.
bool isSafeEntryName(const std::string& name) {
    if (name.empty() || isSeparator(name[0])) return false;
    if (name.find('\0') != std::string::npos) return false;
    if (name.size() >= 2 && name[1] == ':') return false;  // "C:..." drive prefix
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = start;
        while (end < name.size() && !isSeparator(name[end])) ++end;
        if (end - start == 2 && name[start] == '.' && name[start + 1] == '.') return false;
        start = end + 1;
    }
    return true;
}

// An open folder descriptor, closed when it goes.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : _fd(fd) {}
    ~Fd() { reset(); }
    Fd(Fd&& other) noexcept : _fd(std::exchange(other._fd, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) {
            reset();
            _fd = std::exchange(other._fd, -1);
        }
        return *this;
    }
    int get() const { return _fd; }
    void reset() {
        if (_fd >= 0) ::close(std::exchange(_fd, -1));
    }

private:
    int _fd = -1;
};

// Opens one folder below parent, making it when missing, and never through a link:
// a link (or a file) standing at that name fails.
Fd openFolder(int parent, const std::string& name) {
    if (::mkdirat(parent, name.c_str(), 0777) != 0 && errno != EEXIST) return Fd();
    return Fd(::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// Walks the folders of entry names below the destination, creating what is missing.
// Every step is taken from the folder before it (openat with O_NOFOLLOW), so a link
// placed anywhere inside the destination is never followed out of it. The folder of
// the latest entry stays open: the entries of one folder cost no system call.
class FolderWalker {
public:
    explicit FolderWalker(int root) : _root(root) {}

    // The folder holding everything of rel up to its last "/" (the destination itself
    // when there is none); -1 on failure, with the folder that failed in *failed and
    // errno set.
    int folderOf(const std::string& rel, std::string* failed) {
        const size_t last = rel.rfind('/');
        if (last == std::string::npos) return _root;
        const std::string prefix = rel.substr(0, last);
        if (_cached.get() >= 0 && prefix == _cachedPrefix) return _cached.get();
        _cached.reset();
        Fd current;
        size_t start = 0;
        while (start <= prefix.size()) {
            size_t end = prefix.find('/', start);
            if (end == std::string::npos) end = prefix.size();
            const std::string part = prefix.substr(start, end - start);
            start = end + 1;
            if (part.empty() || part == ".") continue;
            errno = 0;
            Fd next = openFolder(current.get() >= 0 ? current.get() : _root, part);
            if (next.get() < 0) {
                if (errno == 0) errno = EIO;
                *failed = prefix.substr(0, end);
                return -1;
            }
            current = std::move(next);
        }
        if (current.get() < 0) return _root;   // only "." and empty parts
        _cached = std::move(current);
        _cachedPrefix = prefix;
        return _cached.get();
    }

private:
    int _root;
    Fd _cached;
    std::string _cachedPrefix;
};

// Writes the current entry to leaf in the folder dirFd through a temporary file. The
// entry is closed whatever happens. The temporary is a fresh hidden name (never one
// that exists, so no other entry of the package can be clobbered); the flush to disk
// is left to the end of the package.
bool extractFile(engine::unzFile zip, const std::string& name, int dirFd, const std::string& leaf,
                 const std::string& fullPath, unsigned* tempCounter, unsigned char* chunk,
                 int* diskError) {
    if (engine::unzOpenCurrentFile(zip) != UNZ_OK) {
        debugLine("can not open file %s", name.c_str());
        return false;
    }
    platform::AtomicFileWriter out(platform::AtomicFileWriter::Flush::Deferred);
    bool opened = false;
    for (int attempt = 0; attempt < 100 && !opened; ++attempt) {
        opened = out.open(kUnzipTempPrefix + std::to_string((*tempCounter)++), dirFd, true);
        if (!opened && out.error() != EEXIST) break;
    }
    if (!opened) {
        *diskError = out.error();
        debugLine("can not open destination file %s", fullPath.c_str());
        engine::unzCloseCurrentFile(zip);
        return false;
    }

    bool ok = true;
    for (;;) {
        const int n = engine::unzReadCurrentFile(zip, chunk, kChunk);
        if (n == 0) break;
        if (n < 0) {
            debugLine("can not read zip file %s, error code is %d", name.c_str(), n);
            ok = false;
            break;
        }
        if (!out.write(chunk, static_cast<size_t>(n))) {
            *diskError = out.error();
            debugLine("can not write destination file %s", fullPath.c_str());
            ok = false;
            break;
        }
    }
    // Closing after the last byte checks the entry's CRC.
    const int closeResult = engine::unzCloseCurrentFile(zip);
    if (ok && closeResult != UNZ_OK) {
        debugLine("can not read zip file %s, error code is %d", name.c_str(), closeResult);
        ok = false;
    }
    if (ok && !out.finish()) {
        *diskError = out.error();
        debugLine("can not write destination file %s", fullPath.c_str());
        ok = false;
    }
    // The rename replaces whatever stands at leaf, a link included, without
    // following it.
    if (ok && !out.commit(leaf)) {
        *diskError = out.error();
        debugLine("can not replace destination file %s", fullPath.c_str());
        ok = false;
    }
    return ok;   // a failed writer has removed its temporary
}

// Reads the current entry's information and its whole name.
bool readEntryName(engine::unzFile zip, std::string* name) {
    char buffer[512];
    engine::unz_file_info info;
    if (engine::unzGetCurrentFileInfo(zip, &info, buffer, sizeof(buffer), nullptr, 0, nullptr,
                                      0) != UNZ_OK)
        return false;
    if (info.size_filename < sizeof(buffer)) {
        name->assign(buffer, info.size_filename);
        return true;
    }
    // Longer names come back cut and unterminated: read them again at full length.
    name->assign(info.size_filename, '\0');
    return engine::unzGetCurrentFileInfo(zip, &info, name->data(), name->size(), nullptr, 0,
                                         nullptr, 0) == UNZ_OK;
}

// minizip cannot open an archive without entries (its end record then sits at offset
// 0, which it takes for "not found"), so that case is recognised here: the file is
// nothing but an end-of-central-directory record for zero entries and its comment.
bool isEmptyZip(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rbe");
    if (!f) return false;
    unsigned char record[22];
    const bool read = std::fread(record, 1, sizeof(record), f) == sizeof(record);
    const bool atEnd = std::fseek(f, 0, SEEK_END) == 0;
    const long size = std::ftell(f);
    std::fclose(f);
    if (!read || !atEnd) return false;
    static const unsigned char expected[20] = {0x50, 0x4b, 0x05, 0x06};  // then zeros
    const long commentLength = record[20] | (record[21] << 8);
    return std::memcmp(record, expected, sizeof(expected)) == 0 &&
           size == static_cast<long>(sizeof(record)) + commentLength;
}

struct ZipCloser {
    void operator()(void* zip) const { engine::unzClose(static_cast<engine::unzFile>(zip)); }
};

}  // namespace

bool unzipPackage(const std::string& zipPath, const std::string& destDir,
                  const UnzipHooks& hooks, int* diskError) {
    int ignoredError = 0;
    if (!diskError) diskError = &ignoredError;
    *diskError = 0;
    std::unique_ptr<void, ZipCloser> zip(engine::unzOpen(zipPath));
    if (!zip) {
        if (isEmptyZip(zipPath)) {
            if (hooks.entryProgress) hooks.entryProgress(0, 0);
            return true;
        }
        debugLine("can not open downloaded zip file %s", zipPath.c_str());
        return false;
    }
    engine::unz_global_info global;
    // A zip64 count beyond the signed range cannot be a real archive.
    if (engine::unzGetGlobalInfo(zip.get(), &global) != UNZ_OK ||
        global.number_entry > static_cast<uint64_t>(INT64_MAX)) {
        debugLine("can not read file global info of %s", zipPath.c_str());
        return false;
    }

    const int64_t total = static_cast<int64_t>(global.number_entry);
    if (hooks.entryProgress) hooks.entryProgress(0, total);
    auto lastTick = std::chrono::steady_clock::now();

    std::string base = destDir;
    if (!base.empty() && base.back() != '/') base += '/';
    const Fd root(::open(destDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (root.get() < 0) {
        debugLine("can not open directory %s", destDir.c_str());
        return false;
    }
    FolderWalker folders(root.get());
    unsigned tempCounter = 0;
    auto chunk = std::make_unique_for_overwrite<unsigned char[]>(kChunk);

    std::string name;
    for (int64_t e = 0; e < total; ++e) {
        if (hooks.stopRequested && hooks.stopRequested()) return false;
        if (hooks.entryProgress) hooks.entryProgress(e, total);
        if (hooks.progressTick) {
            const auto now = std::chrono::steady_clock::now();
            if (now - lastTick >= hooks.progressInterval) {
                lastTick = now;
                hooks.progressTick();
            }
        }

        if (!readEntryName(zip.get(), &name)) {
            debugLine("can not read file info");
            return false;
        }
        if (!isSafeEntryName(name)) {
            debugLine("refused zip entry %s", name.c_str());
            return false;
        }
        for (char& c : name)
            if (c == '\\') c = '/';
        if (isUpdaterStateName(name)) {
            debugLine("refused zip entry %s", name.c_str());
            return false;
        }

        std::string failed;
        const int dirFd = folders.folderOf(name, &failed);
        if (dirFd < 0) {
            *diskError = errno;
            debugLine("can not create directory %s", (base + failed).c_str());
            return false;
        }
        // A name ending in "/" is a folder: folderOf has just made it.
        if (name.back() != '/' &&
            !extractFile(zip.get(), name, dirFd, name.substr(name.rfind('/') + 1), base + name,
                         &tempCounter, chunk.get(), diskError))
            return false;

        if (e + 1 < total && engine::unzGoToNextFile(zip.get()) != UNZ_OK) {
            debugLine("can not read next file");
            return false;
        }
    }
    // Whoever records the package as installed relies on every file and folder being
    // on disk: one flush of the file system covers them all.
    errno = 0;
    if (!platform::syncFileSystem(root.get())) {
        *diskError = errno != 0 ? errno : EIO;
        debugLine("can not flush %s to disk", destDir.c_str());
        return false;
    }
    return true;
}

}  // namespace updater
