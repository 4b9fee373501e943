#pragma once
// Extraction of one downloaded package (a zip file) into a folder, on the updater's
// unzip thread. ResUpdater::unzipPackage(zipPath, destDir) is this function with the
// hooks bound to the updater's shared state: stopRequested reads its stop flag under
// its mutex, entryProgress sets entryDone/entryTotal under its mutex, and progressTick
// posts reportProgress to the main thread.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace updater {

struct UnzipHooks {
    // Asked before each entry; true ends the extraction there (the result is false and
    // nothing is reported).
    std::function<bool()> stopRequested;
    // (0, total) once the entry count is known, then (e, total) before entry e.
    std::function<void(int64_t entryDone, int64_t entryTotal)> entryProgress;
    // Before an entry, at most once per progressInterval (the first one no sooner than
    // progressInterval after the zip was opened).
    std::function<void()> progressTick;
    std::chrono::steady_clock::duration progressInterval = std::chrono::milliseconds(100);
};

// Writes every entry of the zip at zipPath below destDir ("/" is inserted between them
// when destDir does not end with one) and answers true when all were written. Folders
// are created as needed, existing files are replaced. "\" in entry names counts as a
// folder separator. destDir must exist (the caller makes it).
//
// Refused, failing the whole package: an entry name that is empty, holds a zero byte,
// begins with "/" or "\" or a drive ("C:"), or has a ".." part; an entry naming one of
// the updater's own files (isUpdaterStateName in ResProtocol.h); a zip64 entry count
// beyond the signed 64-bit range (a corrupt package). Folders and files are made from
// destDir down, one step at a time, never through a link: an entry whose folders pass
// through a link already inside destDir fails the package, and an entry named like
// such a link replaces the link, not what it points to. So nothing is ever written
// outside destDir (destDir itself may be reached through links).
//
// A file's data is written to a fresh temporary file beside it and renamed in place
// only once the entry's checksum matched, so a failing entry never leaves a truncated
// file behind; entries already written stay. Before answering true the whole file
// system holding destDir is flushed (syncfs), so every file and folder of the package
// is on disk by then: a serial file written afterwards never vouches for files a
// power cut could still empty. Failures are told on the debugger output; when the
// failure was a file-system step's (making a folder or a file, writing, renaming,
// flushing), *diskError gets its errno, else it is 0.
bool unzipPackage(const std::string& zipPath, const std::string& destDir,
                  const UnzipHooks& hooks = {}, int* diskError = nullptr);

}  // namespace updater
