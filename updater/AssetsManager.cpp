#include "updater/AssetsManager.h"

#include <thread>

#include "engine/base/Data.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/files/FileUtils.h"
#include "engine/network/HttpClient.h"
#include "engine/network/HttpRequest.h"
#include "engine/network/HttpResponse.h"
#include "updater/ZipExtract.h"

namespace engine::extension {

namespace {

// Version files are a few bytes; packages are bounded only by the client's own limits.
constexpr size_t kMaxVersionBytes = 4096;

// Sends a GET; the callback gets (fetched, body) on the main thread. The
// manager is retained until then.
void fetch(AssetsManager* manager, const std::string& url, size_t maxBytes,
           std::function<void(bool, std::string)> done) {
    manager->retain();
    auto* request = new network::HttpRequest();
    request->setUrl(url);
    request->setRequestType(network::HttpRequest::Type::GET);
    request->setMaxResponseBytes(maxBytes);
    request->setResponseCallback([manager, done](network::HttpClient*, network::HttpResponse* response) {
        const bool fetched = response->isSucceed() && response->getResponseCode() == 200;
        done(fetched, fetched ? response->getResponseDataString() : std::string());
        manager->release();
    });
    network::HttpClient::getInstance()->sendImmediate(request);
    request->release();
}

}  // namespace

AssetsManager::AssetsManager(const std::string& packageUrl, const std::string& versionFileUrl,
                             const std::string& storagePath)
    : _packageUrl(packageUrl), _versionFileUrl(versionFileUrl) {
    setStoragePath(storagePath);
}

AssetsManager* AssetsManager::create(const std::string& packageUrl, const std::string& versionFileUrl,
                                     const std::string& storagePath) {
    auto* manager = new AssetsManager(packageUrl, versionFileUrl, storagePath);
    return autoreleased(manager, manager->init());
}

void AssetsManager::setStoragePath(const std::string& path) {
    _storagePath = path;
    if (!_storagePath.empty() && _storagePath.back() != '/') _storagePath += '/';
}

std::string AssetsManager::getVersion() const {
    if (_storagePath.empty()) return {};
    return FileUtils::getInstance()->getStringFromFile(_storagePath + kVersionFile);
}

void AssetsManager::deleteVersion() {
    if (!_storagePath.empty()) FileUtils::getInstance()->removeFile(_storagePath + kVersionFile);
}

void AssetsManager::fail(ErrorCode code) {
    _busy = false;
    if (_delegate) _delegate->onError(static_cast<int>(code));
}

void AssetsManager::progress(int percent) {
    if (_delegate) _delegate->onProgress(percent);
}

void AssetsManager::start(bool download) {
    if (_busy) return;
    _busy = true;
    _newVersion.clear();
    fetch(this, _versionFileUrl, kMaxVersionBytes,
          [this, download](bool fetched, std::string version) { onVersion(fetched, version, download); });
}

void AssetsManager::onVersion(bool fetched, const std::string& version, bool download) {
    if (!fetched) return fail(ErrorCode::NETWORK);
    if (version == getVersion()) return fail(ErrorCode::NO_NEW_VERSION);
    _newVersion = version;
    if (!download) {
        _busy = false;
        return;
    }
    progress(0);
    fetch(this, _packageUrl, 0, [this](bool packaged, std::string bytes) { onPackage(packaged, bytes); });
}

void AssetsManager::onPackage(bool fetched, const std::string& bytes) {
    if (!fetched) return fail(ErrorCode::NETWORK);
    FileUtils* files = FileUtils::getInstance();
    const std::string zipPath = _storagePath + kPackageFile;
    if (_storagePath.empty() || !files->createDirectory(_storagePath) || !files->writeStringToFile(bytes, zipPath)) {
        return fail(ErrorCode::CREATE_FILE);
    }
    progress(100);
    retain();   // until the unpacking is reported
    const std::string folder = _storagePath;
    std::thread([this, zipPath, folder] {
        const bool unpacked = updater::unzipPackage(zipPath, folder);
        Director::getInstance()->getScheduler()->performFunctionInEngineThread([this, unpacked] {
            onUnpacked(unpacked);
            release();
        });
    }).detach();
}

void AssetsManager::onUnpacked(bool unpacked) {
    FileUtils* files = FileUtils::getInstance();
    files->removeFile(_storagePath + kPackageFile);
    if (!unpacked) return fail(ErrorCode::UNCOMPRESS);
    if (!files->writeStringToFile(_newVersion, _storagePath + kVersionFile)) return fail(ErrorCode::CREATE_FILE);
    _busy = false;
    if (_delegate) _delegate->onSuccess();
}

}  // namespace engine::extension
