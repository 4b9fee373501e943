#pragma once
// All-or-nothing, durable replacement of a file.
//
// The content goes to a temporary file named by the caller, in the target's own folder
// (so the final rename never crosses file systems). Once every byte is written the
// temporary is flushed to disk (fsync) and closed; the commit renames it over the
// target and flushes the folder, so the new name survives a power cut as well. A
// reader of the target sees the old file or the whole new one, never a part. On any
// failure the temporary file is removed and the target is left as it was; a failure
// of the folder flush alone (some file systems refuse it) does not undo a rename that
// has happened.
//
// Links are never written through: the temporary is created with O_NOFOLLOW (a link
// already at that name fails the write), and the rename replaces a link standing at
// the target by the new file. Folders leading to the names are resolved as usual.
//
// The temporary's name is the caller's choice and should be its own: a sequence
// number or the process id keeps two writers of one target apart. A regular file
// already at that name is truncated and reused, unless the writer is opened
// `exclusive`: then the open fails with EEXIST and the caller can pick another name.
//
// Names are relative to a folder descriptor (AT_FDCWD: ordinary paths, relative to
// the current folder or absolute); target and temporary share it.
//
// Callers that write many files may defer the flushes (Flush::Deferred): neither the
// file nor its folder is flushed, and the caller makes everything durable in one step
// with syncFileSystem before relying on it.
//
// The functions may be called from any thread; one AtomicFileWriter is used by one
// thread at a time (it may be handed from one thread to another between calls).
#include <fcntl.h>
#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

class AtomicFileWriter {
public:
    enum class Flush { Each, Deferred };

    explicit AtomicFileWriter(Flush flush = Flush::Each) : _flush(flush) {}
    ~AtomicFileWriter();   // abandon()
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates (or truncates) the temporary with `mode` (less the umask); a reused
    // temporary loses the permission bits outside `mode`, so the committed file
    // never grants more than asked. False when it cannot be made.
    bool open(const std::string& tempName, int dirFd = AT_FDCWD, bool exclusive = false, mode_t mode = 0644);
    // Appends all of data, retrying short and interrupted writes. A failure removes
    // the temporary; later calls then fail too.
    bool write(const void* data, size_t size);
    // Flushes and closes the temporary: after true its content is complete on disk
    // (with Flush::Each) under the temporary name. Called by commit when not done yet.
    bool finish();
    // Renames the finished temporary over targetName (same folder descriptor as open)
    // and flushes that folder. After false nothing of the temporary is left.
    bool commit(const std::string& targetName);
    // Closes and removes a temporary not committed yet; nothing when there is none.
    void abandon();

    // errno of the first failure, 0 when none.
    int error() const { return _error; }

private:
    bool fail(int err);

    Flush _flush;
    int _dirFd = AT_FDCWD;
    int _fd = -1;
    std::string _tempName;
    bool _open = false;       // a temporary exists on disk under _tempName
    bool _finished = false;
    int _error = 0;
};

// One-shot form: content to tempPath, flushed, renamed over path.
bool writeFileAtomically(const std::string& path, const std::string& tempPath,
                         std::string_view content, mode_t mode = 0644);

// syncfs(2) on the file system holding the descriptor's file: every write made to it
// before the call is on disk when it answers true.
bool syncFileSystem(int fd);

// Test seam: each step that makes data durable or visible is reported, in the order
// made, with the name it was made on (the folder "." for a descriptor's folder).
enum class DiskStep { FileFlushed, Renamed, FolderFlushed, FileSystemFlushed };
using DiskStepObserver = std::function<void(DiskStep, const std::string& name)>;
// Installs an observer (empty: none) and returns the previous one.
DiskStepObserver setDiskStepObserver(DiskStepObserver observer);

}  // namespace platform
