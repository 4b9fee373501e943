#pragma once
// The updater engine of one run: settles the serials and the caches, fetches the
// resource list through the patch route, chooses the packages, then downloads and
// unzips them on worker threads and reports to its delegate on the main thread.
//
// Files under the writable path: "auc/Resources/" (unzipped packages, the serial
// file "LocalResSignSn" and the marker "BaseIncomplete" of an unfinished base set)
// and "auc/Downloads/" (package files and their ".temp" partial downloads).
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "updater/PackageApply.h"
#include "updater/ResProtocol.h"
#include "updater/ResUpdaterDelegate.h"

namespace engine::network {
class HttpResponse;
}  // namespace engine::network

namespace updater {

// Package states during a run.
enum PackageState : int {
    kPackageWaiting = 0,
    kPackageDownloading = 1,
    kPackageDownloaded = 2,
    kPackageUnzipped = 3,
};

// Everything the updater shares with its worker threads and with the callbacks it
// posts to the main thread. The updater owns it through a shared pointer; each
// worker thread keeps its own reference, so the threads never touch the updater
// itself: destroying it only sets stop and clears alive, and the last thread to
// finish frees the state. Posted callbacks hold a weak reference and do nothing
// once the updater is gone (alive is false or the state itself is gone).
class ResUpdaterState : public std::enable_shared_from_this<ResUpdaterState> {
public:
    ResUpdaterState(ResUpdaterDelegate* delegate, std::string resourcesDir,
                    std::string downloadsDir);

    ResUpdaterDelegate* const delegate;   // called on the main thread only
    const std::string resourcesDir;       // writable path + "auc/Resources/"
    const std::string downloadsDir;       // writable path + "auc/Downloads/"
    // Set before the threads start, only read afterwards.
    std::string baseUrl;                  // package URLs are baseUrl + file
    int connectTimeoutSec = 8;

    // True while the owning updater exists; cleared by its destructor.
    std::atomic<bool> alive{true};
    // A progress report is queued for the main thread and has not run yet.
    std::atomic<bool> progressQueued{false};
    // Main thread only: the run's one closing report (no update, success or error)
    // has been delivered.
    bool ended = false;

    std::mutex mutex;
    std::condition_variable wake;

    // Guarded by mutex. packages and totalBytes are fixed before the threads start
    // and only read afterwards.
    std::string packagedSign = "NONE";
    int packagedSn = 0;
    int localSn = 0;
    std::vector<ResPackage> packages;
    int64_t totalBytes = 0;
    int nextDownload = 0;
    int unzippedCount = 0;
    int activeWorkers = 0;
    bool stop = false;       // set by the first error and by the destructor
    bool finished = false;   // set once when the last package is unzipped
    std::vector<int> states;
    std::vector<int64_t> doneBytes;
    std::vector<int64_t> resumeBase;
    int64_t unzippedBytes = 0;
    int entryDone = 0;
    int entryTotal = 0;

    // The staging folder and install record beside the resources cache.
    ApplyPaths applyPaths() const;

    // Any thread: runs fn on the main thread, unless the updater is gone by then.
    void post(std::function<void(ResUpdaterState&)> fn);

    // Main thread: onProgress and onUnzipProgress from the current counters.
    void reportProgress();

    // Any thread: queues reportProgress for the main thread unless one is already
    // queued, so the delegate sees at most one progress report per frame however
    // often transfers move; the figures are read when the report runs.
    void requestProgress();

    // Main thread: delivers the run's closing report through `report`, unless one
    // was delivered already or the updater is gone.
    void endRun(const std::function<void(ResUpdaterDelegate&)>& report);

    // Any thread: the first call of a run sets stop, wakes the waiters and posts
    // onError; later calls do nothing.
    void reportError(int eid, const std::string& detail);

    // After a package has been installed (its files are on disk before the serial
    // vouches for them): a package with sn above 0 advances the cache's serial file to
    // it (writeLocalSerial) and localSn follows. sn 0 changes nothing.
    void recordUnzippedSerial(int sn);
};

class ResUpdater {
public:
    // resListUrl is split at its last "/" or "\" into baseUrl (separator included)
    // and resListName; a plain-http baseUrl on the primary patch host becomes https.
    ResUpdater(ResUpdaterDelegate* delegate, const std::string& resListUrl);
    // Stops the run and returns at once: transfers in flight are aborted, the unzip
    // stops before its next entry, and the threads then end on their own. No report
    // reaches the delegate afterwards.
    virtual ~ResUpdater();
    ResUpdater(const ResUpdater&) = delete;
    ResUpdater& operator=(const ResUpdater&) = delete;

    // Main thread, once. Deletes the trash of an interrupted wipe, finishes or drops
    // an interrupted install (PackageApply.h), reads the packaged and the local
    // serial files, wipes the caches (crash-safe, CacheWipe.h) when they cannot be
    // used (else removes the temporaries a stopped run left in the resource cache),
    // and either ends the run (onNoUpdate) or requests the resource list. The delegate may destroy this object inside its
    // callback; nothing here touches the object after calling it.
    void start();
    void requestResList();
    // The accepted resource list (status 200, body valid).
    void onResListResponse(engine::network::HttpResponse* response);
    // Main thread, with at least one package chosen.
    void startDownloads();

    static bool resListValid(const std::string& body, const std::string& expectedSign);

    void post(std::function<void(ResUpdaterState&)> fn) { _state->post(std::move(fn)); }
    void reportProgress() { _state->reportProgress(); }
    void reportError(int eid, const std::string& detail) { _state->reportError(eid, detail); }

    const std::string& baseUrl() const { return _baseUrl; }
    const std::string& resListName() const { return _resListName; }
    int connectTimeoutSec() const { return _connectTimeoutSec > 0 ? _connectTimeoutSec : 8; }
    int remoteSn() const { return _remoteSn; }
    std::string packagedSign() const;
    int packagedSn() const;
    int localSn() const;
    std::vector<ResPackage> packages() const;
    int64_t totalBytes() const;
    const std::shared_ptr<ResUpdaterState>& state() const { return _state; }

protected:
    // The last step of startDownloads: starts the unzip thread and the download
    // workers (detached; each holds the shared state).
    virtual void startThreads(int workers);

private:
    void wipeCaches();

    std::shared_ptr<ResUpdaterState> _state;
    int _connectTimeoutSec = 8;
    std::string _baseUrl;
    std::string _resListName;
    int _remoteSn = 0;
};

}  // namespace updater
