#include "updater/ZipExtract.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/zip/Unzip.h"
#include "platform/DebugOutput.h"

namespace updater {
namespace {

constexpr unsigned kChunk = 256 * 1024;
// Entries are written to a fresh file beside their target (never an existing one,
// so no other entry of the package can be clobbered) and renamed into place.
constexpr char kPartSuffix[] = ".unzip-XXXXXX";

// One debugger-output line: at most 1022 characters, then a line feed.
void debug(const char* format, ...) __attribute__((format(printf, 1, 2)));
void debug(const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof(line) - 1, format, args);
    va_end(args);
    const size_t n = std::strlen(line);
    line[n] = '\n';
    line[n + 1] = '\0';
    platform::outputDebugString(line);
}

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

// Creates the folders of a relative path below a base folder, remembering the ones
// already known to exist so that the entries of one folder cost no system call.
class FolderMaker {
public:
    explicit FolderMaker(std::string base) : _base(std::move(base)) {}

    // Makes base + every prefix of rel that ends before a "/" exist. On failure the
    // folder that could not be made is in *failed.
    bool makeParents(const std::string& rel, std::string* failed) {
        const size_t last = rel.rfind('/');
        if (last == std::string::npos || last == 0) return true;
        if (_known.count(rel.substr(0, last))) return true;
        for (size_t i = rel.find('/'); i != std::string::npos; i = rel.find('/', i + 1)) {
            if (i == 0 || rel[i - 1] == '/') continue;
            std::string prefix = rel.substr(0, i);
            if (_known.count(prefix)) continue;
            std::string full = _base + prefix;
            if (!makeFolder(full)) {
                *failed = std::move(full);
                return false;
            }
            _known.insert(std::move(prefix));
        }
        return true;
    }

private:
    static bool makeFolder(const std::string& path) {
        if (::mkdir(path.c_str(), 0777) == 0) return true;
        if (errno != EEXIST) return false;
        struct stat st;
        return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }

    std::string _base;
    std::unordered_set<std::string> _known;
};

bool writeAll(int fd, const unsigned char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
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

// Writes the current entry to fullPath through a temporary file. The entry is closed
// whatever happens.
bool extractFile(engine::unzFile zip, const std::string& name, const std::string& fullPath,
                 unsigned char* chunk) {
    if (engine::unzOpenCurrentFile(zip) != UNZ_OK) {
        debug("can not open file %s", name.c_str());
        return false;
    }
    std::string part = fullPath + kPartSuffix;
    const int fd = ::mkostemp(part.data(), O_CLOEXEC);
    if (fd >= 0) ::fchmod(fd, 0644);
    if (fd < 0) {
        debug("can not open destination file %s", fullPath.c_str());
        engine::unzCloseCurrentFile(zip);
        return false;
    }

    bool ok = true;
    for (;;) {
        const int n = engine::unzReadCurrentFile(zip, chunk, kChunk);
        if (n == 0) break;
        if (n < 0) {
            debug("can not read zip file %s, error code is %d", name.c_str(), n);
            ok = false;
            break;
        }
        if (!writeAll(fd, chunk, static_cast<size_t>(n))) {
            debug("can not write destination file %s", fullPath.c_str());
            ok = false;
            break;
        }
    }
    // Closing after the last byte checks the entry's CRC.
    const int closeResult = engine::unzCloseCurrentFile(zip);
    if (ok && closeResult != UNZ_OK) {
        debug("can not read zip file %s, error code is %d", name.c_str(), closeResult);
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        debug("can not write destination file %s", fullPath.c_str());
        ok = false;
    }
    if (ok && std::rename(part.c_str(), fullPath.c_str()) != 0) {
        debug("can not replace destination file %s", fullPath.c_str());
        ok = false;
    }
    if (!ok) ::unlink(part.c_str());
    return ok;
}

// minizip cannot open an archive without entries (its end record then sits at offset
// 0, which it takes for "not found"), so that case is recognised here: the file is
// nothing but an end-of-central-directory record for zero entries and its comment.
bool isEmptyZip(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
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
                  const UnzipHooks& hooks) {
    std::unique_ptr<void, ZipCloser> zip(engine::unzOpen(zipPath));
    if (!zip) {
        if (isEmptyZip(zipPath)) {
            if (hooks.entryProgress) hooks.entryProgress(0, 0);
            return true;
        }
        debug("can not open downloaded zip file %s", zipPath.c_str());
        return false;
    }
    engine::unz_global_info global;
    if (engine::unzGetGlobalInfo(zip.get(), &global) != UNZ_OK) {
        debug("can not read file global info of %s", zipPath.c_str());
        return false;
    }

    const int64_t total = static_cast<int64_t>(global.number_entry);
    if (hooks.entryProgress) hooks.entryProgress(0, total);
    auto lastTick = std::chrono::steady_clock::now();

    std::string base = destDir;
    if (!base.empty() && base.back() != '/') base += '/';
    FolderMaker folders(base);
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
            debug("can not read file info");
            return false;
        }
        if (!isSafeEntryName(name)) {
            debug("refused zip entry %s", name.c_str());
            return false;
        }
        for (char& c : name)
            if (c == '\\') c = '/';

        std::string failed;
        if (!folders.makeParents(name, &failed)) {
            debug("can not create directory %s", failed.c_str());
            return false;
        }
        // A name ending in "/" is a folder: makeParents has just made it.
        if (name.back() != '/' && !extractFile(zip.get(), name, base + name, chunk.get()))
            return false;

        if (e + 1 < total && engine::unzGoToNextFile(zip.get()) != UNZ_OK) {
            debug("can not read next file");
            return false;
        }
    }
    return true;
}

}  // namespace updater
