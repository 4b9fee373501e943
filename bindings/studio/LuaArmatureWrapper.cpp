#include "bindings/studio/LuaArmatureWrapper.h"

#include "engine/script/ScriptEngineManager.h"
#include "engine/script/ScriptEvent.h"
#include "scripting/LuaEngine.h"
#include "scripting/ScriptHandlerMgr.h"

namespace bindings {

LuaArmatureWrapper* LuaArmatureWrapper::create() {
    auto* wrapper = new LuaArmatureWrapper;
    wrapper->autorelease();
    return wrapper;
}

LuaArmatureWrapper::~LuaArmatureWrapper() { engine::ScriptHandlerMgr::getInstance()->removeObjectAllHandlers(this); }

void LuaArmatureWrapper::addArmatureFileInfoAsyncCallback(float percent) {
    engine::ArmatureLoadingEventData loading;
    loading.percent = percent;
    sendArmatureEvent(this, 2, &loading);
}

void sendArmatureEvent(LuaArmatureWrapper* wrapper, int eventType, void* record) {
    using Kind = engine::ScriptHandlerMgr::HandlerType;
    auto* lua = dynamic_cast<engine::LuaEngine*>(engine::ScriptEngineManager::getInstance()->getScriptEngine());
    if (!lua || !wrapper) return;
    if (engine::ScriptHandlerMgr::getInstance()->getObjectHandler(wrapper, Kind::ARMATURE_EVENT) == 0) return;
    engine::ArmatureWrapperEventData data;
    data.eventType = eventType;
    data.eventData = record;
    engine::HandlerEventData event(wrapper, &data);
    lua->handleEvent(Kind::ARMATURE_EVENT, &event);
}

}  // namespace bindings
