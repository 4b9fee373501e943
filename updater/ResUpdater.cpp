#include "updater/ResUpdater.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "engine/base/Director.h"
#include "engine/base/Json.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "engine/network/HttpResponse.h"
#include "engine/files/FileUtils.h"
#include "updater/CacheWipe.h"
#include "updater/PatchRoute.h"
#include "updater/ResList.h"
#include "updater/ResUpdaterThreads.h"

namespace updater {
namespace {

const char kPackagedSerialFile[] = "fenk/ResSignSn";
const char kListUnavailable[] = "patch domains unavailable";
constexpr int kMaxDownloadWorkers = 8;

// Takes its own reference: the delegate may destroy the updater, and with it the
// updater's reference, from its handler.
void endWithNoUpdate(std::shared_ptr<ResUpdaterState> state) {
    state->endRun([](ResUpdaterDelegate& delegate) { delegate.onNoUpdate(); });
}

// Removes what an earlier run stopped midway left in the resource cache: unzip
// temporaries in any folder, temporaries of the serial file and the marker at its
// top. Links are neither followed nor removed.
void removeStaleTemporaries(const std::string& resourcesDir) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::recursive_directory_iterator it(resourcesDir, fs::directory_options::skip_permission_denied, error);
    int removed = 0;
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        const bool ours = name.compare(0, sizeof kUnzipTempPrefix - 1, kUnzipTempPrefix) == 0 ||
                          (it.depth() == 0 && isUpdaterTemporaryName(name));
        std::error_code ignored;
        if (ours && it->symlink_status(ignored).type() == fs::file_type::regular &&
            fs::remove(it->path(), ignored))
            ++removed;
    }
    if (removed > 0) engine::log("ResUpdater: removed %d stale temporary files", removed);
}

}  // namespace

// ---------------------------------------------------------------------------
// Shared state

ResUpdaterState::ResUpdaterState(ResUpdaterDelegate* delegateIn, std::string resourcesDirIn,
                                 std::string downloadsDirIn)
    : delegate(delegateIn),
      resourcesDir(std::move(resourcesDirIn)),
      downloadsDir(std::move(downloadsDirIn)) {}

void ResUpdaterState::post(std::function<void(ResUpdaterState&)> fn) {
    std::weak_ptr<ResUpdaterState> weak = weak_from_this();
    engine::Director::getInstance()->getScheduler()->performFunctionInEngineThread(
        [weak, fn = std::move(fn)] {
            std::shared_ptr<ResUpdaterState> state = weak.lock();
            if (!state || !state->alive.load()) return;
            fn(*state);
        });
}

void ResUpdaterState::reportProgress() {
    // The delegate may destroy the updater from its handler: keep the state alive
    // for the rest of this call and stop once the updater is gone.
    std::shared_ptr<ResUpdaterState> self = shared_from_this();
    if (!alive.load() || !delegate || ended) return;

    int64_t total = 0;
    int64_t done = 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        total = totalBytes;
        done = unzippedBytes;
        for (size_t i = 0; i < states.size() && i < packages.size(); ++i) {
            if (states[i] == kPackageDownloaded) done += packages[i].size;
            else if (states[i] == kPackageDownloading && i < doneBytes.size()) done += doneBytes[i];
        }
    }
    done = std::clamp<int64_t>(done, 0, std::max<int64_t>(total, 0));
    delegate->onProgress(total, done);
    if (!alive.load()) return;

    int fileIndex = 0;
    int fileCount = 0;
    int shownDone = 0;
    int shownTotal = 0;
    int64_t bytes = 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        fileCount = static_cast<int>(packages.size());
        fileIndex = unzippedCount;
        bytes = unzippedBytes;
        shownDone = entryDone;
        shownTotal = entryTotal;
        if (fileIndex >= 0 && fileIndex < fileCount && entryTotal > 0) {
            shownDone = std::clamp(entryDone, 0, entryTotal);
            bytes += packages[fileIndex].size * shownDone / entryTotal;
        }
    }
    bytes = std::min(bytes, total);
    delegate->onUnzipProgress(fileIndex, fileCount, shownDone, shownTotal, bytes, total);
}

void ResUpdaterState::reportError(int eid, const std::string& detail) {
    bool first = false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!stop) {
            stop = true;
            first = true;
        }
    }
    wake.notify_all();
    if (!first) return;
    post([eid, detail](ResUpdaterState& state) {
        state.endRun([&](ResUpdaterDelegate& delegate) { delegate.onError(eid, detail); });
    });
}

void ResUpdaterState::requestProgress() {
    if (progressQueued.exchange(true)) return;
    post([](ResUpdaterState& state) {
        state.progressQueued.store(false);
        state.reportProgress();
    });
}

void ResUpdaterState::endRun(const std::function<void(ResUpdaterDelegate&)>& report) {
    if (ended || !alive.load() || !delegate) return;
    ended = true;
    report(*delegate);   // may destroy the updater; the caller holds this state
}

ApplyPaths ResUpdaterState::applyPaths() const {
    std::string auc = resourcesDir;
    while (!auc.empty() && auc.back() == '/') auc.pop_back();
    auc.resize(auc.rfind('/') + 1);
    ApplyPaths paths = ApplyPaths::under(auc);
    paths.resourcesDir = resourcesDir;
    paths.downloadsDir = downloadsDir;
    return paths;
}

void ResUpdaterState::recordUnzippedSerial(int sn) {
    if (sn <= 0) return;
    std::string sign;
    {
        std::lock_guard<std::mutex> lock(mutex);
        sign = packagedSign;
    }
    // A failed write is skipped: the marker then stays, and the next run starts
    // from the serial that is on disk.
    writeLocalSerial(resourcesDir, sign, sn);
    std::lock_guard<std::mutex> lock(mutex);
    localSn = sn;
}

// ---------------------------------------------------------------------------
// Updater

ResUpdater::ResUpdater(ResUpdaterDelegate* delegate, const std::string& resListUrl) {
    const std::string writable = engine::FileUtils::getInstance()->getWritablePath();
    _state = std::make_shared<ResUpdaterState>(delegate, writable + "auc/Resources/",
                                               writable + "auc/Downloads/");
    size_t cut = resListUrl.find_last_of("/\\");
    if (cut == std::string::npos) {
        _resListName = resListUrl;
    } else {
        _baseUrl = resListUrl.substr(0, cut + 1);
        _resListName = resListUrl.substr(cut + 1);
    }
    forceHttpsPatchUrl(_baseUrl);
}

ResUpdater::~ResUpdater() {
    {
        std::lock_guard<std::mutex> lock(_state->mutex);
        _state->stop = true;
    }
    _state->alive.store(false);
    _state->wake.notify_all();
    // The threads see stop at their next check (a transfer through its progress
    // callback) and end; the last of them frees the shared state.
}

std::string ResUpdater::packagedSign() const {
    std::lock_guard<std::mutex> lock(_state->mutex);
    return _state->packagedSign;
}

int ResUpdater::packagedSn() const {
    std::lock_guard<std::mutex> lock(_state->mutex);
    return _state->packagedSn;
}

int ResUpdater::localSn() const {
    std::lock_guard<std::mutex> lock(_state->mutex);
    return _state->localSn;
}

std::vector<ResPackage> ResUpdater::packages() const {
    std::lock_guard<std::mutex> lock(_state->mutex);
    return _state->packages;
}

int64_t ResUpdater::totalBytes() const {
    std::lock_guard<std::mutex> lock(_state->mutex);
    return _state->totalBytes;
}

void ResUpdater::wipeCaches() {
    wipeCacheFolder(_state->resourcesDir);
    wipeCacheFolder(_state->downloadsDir);
}

void ResUpdater::start() {
    engine::FileUtils* files = engine::FileUtils::getInstance();
    // A wipe cut short by the end of the process left its trash beside the caches,
    // an install its staging folder or its record.
    removeLeftoverTrash(files->getWritablePath() + "auc/");
    recoverPackageApply(_state->applyPaths());
    std::optional<std::string> packagedText;
    if (files->isFileExist(kPackagedSerialFile)) {
        packagedText = files->getStringFromFile(kPackagedSerialFile);
        engine::log("ResSignSn: %s", packagedText->c_str());
    }
    CacheDecision decision = decideCache(packagedText, std::nullopt);
    if (decision.action != CacheAction::NoUpdate) {
        const std::string localPath = _state->resourcesDir + kLocalSerialFile;
        if (files->isFileExist(localPath)) {
            std::optional<std::string> localText = files->getStringFromFile(localPath);
            engine::log("LocalResSignSn: %s", localText->c_str());
            decision = decideCache(packagedText, localText);
        }
    }
    {
        std::lock_guard<std::mutex> lock(_state->mutex);
        _state->packagedSign = decision.packagedSign;
        _state->packagedSn = decision.packagedSn;
        _state->localSn = decision.localSn;
    }

    switch (decision.action) {
    case CacheAction::NoUpdate:
        wipeCaches();
        engine::log("ResSignSn is 'NONE', no update.");
        endWithNoUpdate(_state);   // may destroy this
        return;
    case CacheAction::WipeThenRequest:
        wipeCaches();
        engine::log("Remove exter caches Resources, Downloads!");
        break;
    case CacheAction::KeepThenRequest:
        removeStaleTemporaries(_state->resourcesDir);
        break;
    }
    requestResList();
}

void ResUpdater::requestResList() {
    const std::string url = _baseUrl + _resListName;
    engine::log("get remote %s", url.c_str());
    const std::string sign = packagedSign();
    std::weak_ptr<ResUpdaterState> weak = _state;
    ResUpdater* self = this;
    patchRouteStart(
        url, [sign](const std::string& body) { return resListValid(body, sign); },
        [weak, self](engine::network::HttpClient*, engine::network::HttpResponse* response) {
            std::shared_ptr<ResUpdaterState> state = weak.lock();
            if (!state || !state->alive.load()) return;
            self->onResListResponse(response);
        },
        [weak] {
            std::shared_ptr<ResUpdaterState> state = weak.lock();
            if (!state) return;
            state->endRun([](ResUpdaterDelegate& delegate) { delegate.onError(1, kListUnavailable); });
        });
}

bool ResUpdater::resListValid(const std::string& body, const std::string& expectedSign) {
    rapidjson::Document doc;
    return engine::parseJson(body, doc) && resListDocumentValid(doc, expectedSign);
}

void ResUpdater::onResListResponse(engine::network::HttpResponse* response) {
    std::shared_ptr<ResUpdaterState> state = _state;   // outlives this if the delegate ends the run
    const std::string body = response ? response->getResponseDataString() : std::string();
    const std::string sign = packagedSign();
    rapidjson::Document doc;
    if (!engine::parseJson(body, doc) || !resListDocumentValid(doc, sign)) {
        // Only reachable when called with a reply the route did not validate.
        state->endRun([](ResUpdaterDelegate& delegate) { delegate.onError(1, kListUnavailable); });
        return;
    }

    int packagedSn = 0;
    int localSn = 0;
    {
        std::lock_guard<std::mutex> lock(_state->mutex);
        packagedSn = _state->packagedSn;
        localSn = _state->localSn;
    }
    PackageDecision decision = decidePackages(doc, packagedSn, localSn);
    _remoteSn = decision.remoteSn;
    if (decision.hasXlistSn) {
        engine::log("RemoteResSignSn: %s  %d", decision.remoteSign.c_str(), decision.xlistSn);
    }
    if (decision.hasBase) {
        engine::log("base sn=%d min=%d -> %s", decision.baseSn, decision.baseMin,
                    decision.needBase ? "tai goi nen" : "chi goi bu");
    }
    if (decision.outcome == PackageOutcome::UpToDate) {
        engine::log("resource is the new, no update.");
        endWithNoUpdate(state);   // may destroy this
        return;
    }
    if (decision.upgradeUsed) engine::log("upgrade old data sn=%d -> goi nang cap", localSn);
    if (decision.writeBaseIncomplete()) {
        engine::FileUtils::getInstance()->createDirectory(_state->resourcesDir);
        writeFileAtomically(_state->resourcesDir + kBaseIncompleteFile, "1");
    }
    if (decision.outcome == PackageOutcome::NothingCollected) {
        endWithNoUpdate(state);   // may destroy this
        return;
    }
    {
        std::lock_guard<std::mutex> lock(_state->mutex);
        _state->packages = std::move(decision.packages);
        _state->totalBytes = decision.totalBytes;
    }
    startDownloads();
}

void ResUpdater::startDownloads() {
    std::shared_ptr<ResUpdaterState> state = _state;
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        const size_t n = state->packages.size();
        state->states.assign(n, kPackageWaiting);
        state->doneBytes.assign(n, 0);
        state->resumeBase.assign(n, 0);
        state->unzippedBytes = 0;
        state->nextDownload = 0;
        state->unzippedCount = 0;
        state->activeWorkers = 0;
        state->stop = false;
        state->finished = false;
        state->entryDone = 0;
        state->entryTotal = 0;
    }
    state->baseUrl = _baseUrl;
    state->connectTimeoutSec = connectTimeoutSec();
    engine::FileUtils::getInstance()->createDirectory(state->downloadsDir);
    state->reportProgress();   // 0 of totalBytes
    if (!state->alive.load()) return;   // the delegate ended the run from its handler

    static std::once_flag curlInit;
    std::call_once(curlInit, [] {
        curl_global_init(CURL_GLOBAL_ALL);
        engine::log("ResUpdater: curl global init once PC");
    });

    int n = 0;
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        n = static_cast<int>(state->packages.size());
    }
    const int workers = std::min(n, kMaxDownloadWorkers);
    engine::log("start %d luong tai song song cho %d file", workers, n);
    startThreads(workers);
}

void ResUpdater::startThreads(int workers) {
    std::shared_ptr<ResUpdaterState> state = _state;
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        state->activeWorkers = workers;
    }
    int started = 0;
    try {
        std::thread(unzipThread, state).detach();
        for (; started < workers; ++started) std::thread(downloadWorker, state).detach();
    } catch (const std::system_error& e) {
        engine::log("ResUpdater: cannot start a thread: %s", e.what());
        {
            std::lock_guard<std::mutex> lock(state->mutex);
            state->activeWorkers -= workers - started;
        }
        // Without the unzip thread or any worker the run cannot end on its own.
        if (started == 0) state->reportError(0, "");
    }
}

}  // namespace updater
