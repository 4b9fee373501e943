#include "engine/extension/AssetsManagerEx.h"

#include <atomic>

#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/extension/Manifest.h"

namespace engine::extension {

EventAssetsManagerEx::EventAssetsManagerEx(AssetsManagerEx* manager, EventCode code, float percent,
                                           std::string assetId, std::string message)
    : EventCustom(manager->getEventName()),
      _manager(manager),
      _code(code),
      _percent(percent),
      _assetId(std::move(assetId)),
      _message(std::move(message)) {}

AssetsManagerEx::AssetsManagerEx(std::string manifestUrl, std::string storagePath)
    : _manifestUrl(std::move(manifestUrl)), _storagePath(std::move(storagePath)) {
    static std::atomic<unsigned> managers{0};
    _eventName = "__assets_manager_ex_" + std::to_string(++managers);
}

AssetsManagerEx* AssetsManagerEx::create(const std::string& manifestUrl, const std::string& storagePath) {
    auto* manager = new AssetsManagerEx(manifestUrl, storagePath);
    manager->autorelease();
    return manager;
}

AssetsManagerEx::~AssetsManagerEx() {
    if (_localManifest) _localManifest->release();
}

Manifest* AssetsManagerEx::getLocalManifest() {
    if (!_localManifest) {
        _localManifest = Manifest::create(_manifestUrl);
        _localManifest->retain();
    }
    return _localManifest;
}

void AssetsManagerEx::dispatchUpdateEvent(EventAssetsManagerEx::EventCode code, float percent,
                                          const std::string& assetId, const std::string& message) {
    auto* event = new EventAssetsManagerEx(this, code, percent, assetId, message);
    retain();
    Director::getInstance()->getEventDispatcher()->dispatchEvent(event);
    event->release();
    release();
}

EventListenerAssetsManagerEx::EventListenerAssetsManagerEx(const std::string& eventName, Callback callback)
    : EventListenerCustom(eventName), _onEvent(std::move(callback)) {
    setCallback([this](EventCustom* event) {
        auto* own = dynamic_cast<EventAssetsManagerEx*>(event);
        if (own && _onEvent) _onEvent(own);
    });
}

EventListenerAssetsManagerEx* EventListenerAssetsManagerEx::create(AssetsManagerEx* manager, Callback callback) {
    if (!manager) return nullptr;
    auto* listener = new EventListenerAssetsManagerEx(manager->getEventName(), std::move(callback));
    listener->autorelease();
    return listener;
}

EventListenerAssetsManagerEx* EventListenerAssetsManagerEx::clone() {
    auto* listener = new EventListenerAssetsManagerEx(getEventName(), _onEvent);
    listener->autorelease();
    return listener;
}

}  // namespace engine::extension
