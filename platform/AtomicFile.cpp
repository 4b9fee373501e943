#include "platform/AtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <utility>

namespace platform {
namespace {

std::mutex& observerMutex() {
    static std::mutex m;
    return m;
}

DiskStepObserver& observerSlot() {
    static DiskStepObserver observer;
    return observer;
}

void report(DiskStep step, const std::string& name) {
    DiskStepObserver observer;
    {
        std::lock_guard<std::mutex> lock(observerMutex());
        observer = observerSlot();
    }
    if (observer) observer(step, name);
}

// The folder holding a path relative to AT_FDCWD: "." for a bare name.
std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Best effort: a folder that cannot be opened or flushed leaves the rename as made.
void flushFolder(int dirFd, const std::string& targetName) {
    if (dirFd != AT_FDCWD) {
        ::fsync(dirFd);
        report(DiskStep::FolderFlushed, ".");
        return;
    }
    const std::string folder = folderOf(targetName);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
    report(DiskStep::FolderFlushed, folder);
}

}  // namespace

AtomicFileWriter::~AtomicFileWriter() { abandon(); }

bool AtomicFileWriter::fail(int err) {
    if (_error == 0) _error = err;
    abandon();
    return false;
}

bool AtomicFileWriter::open(const std::string& tempName, int dirFd, bool exclusive, mode_t mode) {
    abandon();
    _error = 0;
    _finished = false;
    if (tempName.empty()) return fail(ENOENT);
    // O_NONBLOCK: a fifo at that name fails at once instead of waiting for a reader.
    int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    flags |= exclusive ? O_EXCL : O_TRUNC;
    const int fd = ::openat(dirFd, tempName.c_str(), flags, mode);
    if (fd < 0) {
        _error = errno;
        return false;
    }
    // Only a regular file takes the content (O_NOFOLLOW leaves fifos and devices).
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        _error = EINVAL;
        return false;
    }
    if ((st.st_mode & 07777 & ~mode) != 0 && ::fchmod(fd, st.st_mode & mode & 07777) != 0) {
        _error = errno;
        ::close(fd);
        ::unlinkat(dirFd, tempName.c_str(), 0);
        return false;
    }
    _dirFd = dirFd;
    _fd = fd;
    _tempName = tempName;
    _open = true;
    return true;
}

bool AtomicFileWriter::write(const void* data, size_t size) {
    if (_fd < 0) return fail(EBADF);
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(_fd, bytes, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool AtomicFileWriter::finish() {
    if (_finished) return true;
    if (_fd < 0) return fail(EBADF);
    if (_flush == Flush::Each) {
        if (::fsync(_fd) != 0) return fail(errno);
        report(DiskStep::FileFlushed, _tempName);
    }
    const int fd = std::exchange(_fd, -1);
    if (::close(fd) != 0) return fail(errno);
    _finished = true;
    return true;
}

bool AtomicFileWriter::commit(const std::string& targetName) {
    if (!_open) return fail(EBADF);
    if (!finish()) return false;
    if (::renameat(_dirFd, _tempName.c_str(), _dirFd, targetName.c_str()) != 0) return fail(errno);
    _open = false;
    _finished = false;
    report(DiskStep::Renamed, targetName);
    if (_flush == Flush::Each) flushFolder(_dirFd, targetName);
    return true;
}

void AtomicFileWriter::abandon() {
    if (_fd >= 0) ::close(std::exchange(_fd, -1));
    if (_open) ::unlinkat(_dirFd, _tempName.c_str(), 0);
    _open = false;
    _finished = false;
}

bool writeFileAtomically(const std::string& path, const std::string& tempPath,
                         std::string_view content, mode_t mode) {
    AtomicFileWriter writer;
    return writer.open(tempPath, AT_FDCWD, false, mode) && writer.write(content.data(), content.size()) &&
           writer.commit(path);
}

bool syncFileSystem(int fd) {
    if (::syncfs(fd) != 0) return false;
    report(DiskStep::FileSystemFlushed, ".");
    return true;
}

DiskStepObserver setDiskStepObserver(DiskStepObserver observer) {
    std::lock_guard<std::mutex> lock(observerMutex());
    return std::exchange(observerSlot(), std::move(observer));
}

}  // namespace platform
