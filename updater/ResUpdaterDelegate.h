#pragma once
// What the resource updater reports to its front end. Every call arrives on the
// main thread; exactly one of onNoUpdate, onSuccess and onError ends a run, and the
// delegate may destroy the updater inside that call.
#include <cstdint>
#include <string>

namespace updater {

class ResUpdaterDelegate {
public:
    virtual ~ResUpdaterDelegate() = default;
    // The run ends without an update; the game may start on what is there.
    virtual void onNoUpdate() = 0;
    // Every package is unzipped; the run ends.
    virtual void onSuccess() = 0;
    // Download progress in bytes; doneBytes never exceeds totalBytes.
    virtual void onProgress(int64_t totalBytes, int64_t doneBytes) = 0;
    // The run failed: eid 0 local file error (detail "disk full" when a download
    // found no room, "write failed" for any other failed write), 1 network
    // ("patch domains ..."), 3 unzip.
    virtual void onError(int eid, const std::string& detail) = 0;
    // Unzip progress: package fileIndex of fileCount, entries of that package, and
    // the bytes of all packages counted as unzipped.
    virtual void onUnzipProgress(int fileIndex, int fileCount, int entryDone, int entryTotal,
                                 int64_t bytesDone, int64_t bytesTotal) {
        (void)fileIndex;
        (void)fileCount;
        (void)entryDone;
        (void)entryTotal;
        (void)bytesDone;
        (void)bytesTotal;
    }
};

}  // namespace updater
