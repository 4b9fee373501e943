#pragma once
// The engine's small assets manager, for scripts that update a folder of their
// own: a version file on a server names the current version; when it differs
// from the one recorded in the storage folder, the package (a zip) is
// downloaded into that folder, unpacked there and the new version recorded.
//
//   checkUpdate()  fetches the version file. The delegate hears onError(NETWORK)
//                  when it cannot be fetched and onError(NO_NEW_VERSION) when
//                  it names the recorded version; a new version is only noted
//                  (isNewVersionFound).
//   update()       the same check, then for a new version: onProgress(0), the
//                  package download (NETWORK on failure), its file written in
//                  the storage folder (CREATE_FILE when that fails),
//                  onProgress(100), the unpacking on a worker thread with the
//                  updater's zip extraction (UNCOMPRESS on failure; an entry
//                  leaving the folder fails it), the package file removed, the
//                  version recorded, onSuccess().
//
// Every delegate call comes on the main thread. A call while one is under way
// does nothing. The manager stays alive until its transfers and unpacking are
// over; the delegate (not retained) is cleared by its owner. The version is
// kept in the file kVersionFile of the storage folder. Main thread only.
#include <string>

#include "engine/scene/Node.h"

namespace engine::extension {

class AssetsManagerDelegateProtocol {
public:
    virtual ~AssetsManagerDelegateProtocol() = default;
    virtual void onError(int errorCode) { (void)errorCode; }
    virtual void onProgress(int percent) { (void)percent; }
    virtual void onSuccess() {}
};

class AssetsManager : public Node {
public:
    enum class ErrorCode : int { CREATE_FILE = 0, NETWORK = 1, NO_NEW_VERSION = 2, UNCOMPRESS = 3 };
    static constexpr const char* kVersionFile = "version";
    static constexpr const char* kPackageFile = "package.zip";

    AssetsManager(const std::string& packageUrl = "", const std::string& versionFileUrl = "",
                  const std::string& storagePath = "");
    static AssetsManager* create(const std::string& packageUrl, const std::string& versionFileUrl,
                                 const std::string& storagePath);

    void setPackageUrl(const std::string& url) { _packageUrl = url; }
    const std::string& getPackageUrl() const { return _packageUrl; }
    void setVersionFileUrl(const std::string& url) { _versionFileUrl = url; }
    const std::string& getVersionFileUrl() const { return _versionFileUrl; }
    // A folder ending in "/" (added when missing).
    void setStoragePath(const std::string& path);
    const std::string& getStoragePath() const { return _storagePath; }
    // The recorded version; "" when none is.
    std::string getVersion() const;
    void deleteVersion();
    bool isNewVersionFound() const { return !_newVersion.empty(); }
    bool isBusy() const { return _busy; }

    void setDelegate(AssetsManagerDelegateProtocol* delegate) { _delegate = delegate; }
    AssetsManagerDelegateProtocol* getDelegate() const { return _delegate; }

    void checkUpdate() { start(false); }
    // Downloads and unpacks the package (the node's per-frame update stays).
    using Node::update;
    void update() { start(true); }

private:
    void start(bool download);
    void onVersion(bool fetched, const std::string& version, bool download);
    void onPackage(bool fetched, const std::string& bytes);
    void onUnpacked(bool unpacked);
    void fail(ErrorCode code);
    void progress(int percent);

    std::string _packageUrl;
    std::string _versionFileUrl;
    std::string _storagePath;
    std::string _newVersion;
    AssetsManagerDelegateProtocol* _delegate = nullptr;
    bool _busy = false;
};

}  // namespace engine::extension
