#include "engine/base/NotificationCenter.h"

namespace engine {
namespace {
__NotificationCenter* g_center = nullptr;
}

__NotificationCenter* __NotificationCenter::getInstance() {
    if (!g_center) g_center = new __NotificationCenter;
    return g_center;
}

void __NotificationCenter::destroyInstance() {
    __NotificationCenter* center = g_center;
    g_center = nullptr;
    if (center) center->release();
}

void __NotificationCenter::registerScriptObserver(Ref* target, const std::string& name, int handler) {
    for (Observer& o : _observers) {
        if (o.target == target && o.name == name) {
            o.handler = handler;
            return;
        }
    }
    _observers.push_back({target, name, handler});
}

void __NotificationCenter::unregisterScriptObserver(Ref* target, const std::string& name) {
    std::erase_if(_observers, [&](const Observer& o) { return o.target == target && o.name == name; });
}

int __NotificationCenter::getObserverHandlerByName(const std::string& name) const {
    for (const Observer& o : _observers) {
        if (o.name == name && o.handler != 0) return o.handler;
    }
    return 0;
}

}  // namespace engine
