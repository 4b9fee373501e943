#pragma once
// The manifest-driven assets manager as scripts see it. The client's own
// updater does the updating, so this one downloads nothing: it names its
// manifest and storage folder and dispatches the events that the updater (or a
// test) raises through it, to the listeners made for it.
//
// Events are custom events under the manager's own event name; each
// EventListenerAssetsManagerEx hears those of its manager only. Main thread only.
#include <functional>
#include <string>

#include "engine/base/Event.h"
#include "engine/base/EventListener.h"

namespace engine::extension {

class AssetsManagerEx;
class Manifest;

class EventAssetsManagerEx : public EventCustom {
public:
    enum class EventCode : int {
        ERROR_NO_LOCAL_MANIFEST = 0,
        ERROR_DOWNLOAD_MANIFEST,
        ERROR_PARSE_MANIFEST,
        NEW_VERSION_FOUND,
        ALREADY_UP_TO_DATE,
        UPDATE_PROGRESSION,
        ASSET_UPDATED,
        ERROR_UPDATING,
        UPDATE_FINISHED,
        UPDATE_FAILED,
        ERROR_DECOMPRESS,
    };

    EventAssetsManagerEx(AssetsManagerEx* manager, EventCode code, float percent, std::string assetId,
                         std::string message);
    // The code as a number (0 ERROR_NO_LOCAL_MANIFEST ... 10 ERROR_DECOMPRESS).
    int getEventCode() const { return static_cast<int>(_code); }
    float getPercent() const { return _percent; }
    const std::string& getAssetId() const { return _assetId; }
    const std::string& getMessage() const { return _message; }
    AssetsManagerEx* getAssetsManagerEx() const { return _manager; }

private:
    AssetsManagerEx* _manager;
    EventCode _code;
    float _percent;
    std::string _assetId;
    std::string _message;
};

class AssetsManagerEx : public Ref {
public:
    static AssetsManagerEx* create(const std::string& manifestUrl, const std::string& storagePath);
    const std::string& getManifestUrl() const { return _manifestUrl; }
    const std::string& getStoragePath() const { return _storagePath; }
    // The manifest at the manifest url, read on first use (engine/extension/Manifest.h);
    // not loaded when the file cannot be read.
    Manifest* getLocalManifest();
    // The name its events go out under.
    const std::string& getEventName() const { return _eventName; }
    // Raises one event to this manager's listeners.
    void dispatchUpdateEvent(EventAssetsManagerEx::EventCode code, float percent = 0, const std::string& assetId = "",
                             const std::string& message = "");

private:
    AssetsManagerEx(std::string manifestUrl, std::string storagePath);
    ~AssetsManagerEx() override;
    Manifest* _localManifest = nullptr;   // retained
    std::string _manifestUrl;
    std::string _storagePath;
    std::string _eventName;
};

class EventListenerAssetsManagerEx : public EventListenerCustom {
public:
    using Callback = std::function<void(EventAssetsManagerEx*)>;
    // Hears the manager's events (the manager is not retained); null without one.
    static EventListenerAssetsManagerEx* create(AssetsManagerEx* manager, Callback callback);
    EventListenerAssetsManagerEx* clone() override;

private:
    EventListenerAssetsManagerEx(const std::string& eventName, Callback callback);
    Callback _onEvent;
};

}  // namespace engine::extension
