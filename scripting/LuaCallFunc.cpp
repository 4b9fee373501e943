#include "scripting/LuaCallFunc.h"

#include "engine/script/ScriptEngineManager.h"
#include "scripting/ScriptHandlerMgr.h"

namespace engine {

LuaCallFunc* LuaCallFunc::create() {
    auto* action = new LuaCallFunc;
    action->autorelease();
    return action;
}

bool LuaCallFunc::initWithFunction(const Function& fn) {
    _functionLua = fn;
    return true;
}

void LuaCallFunc::execute() {
    if (!_functionLua) {
        CallFuncN::execute();
        return;
    }
    _functionLua(this, getTarget());
}

LuaCallFunc* LuaCallFunc::clone() const {
    ScriptHandlerMgr* manager = ScriptHandlerMgr::getInstance();
    auto* self = const_cast<LuaCallFunc*>(this);
    const int handler = manager->getObjectHandler(self, ScriptHandlerMgr::HandlerType::CALLFUNC);
    if (handler == 0) return nullptr;
    ScriptEngineProtocol* script = ScriptEngineManager::getInstance()->getScriptEngine();
    if (!script) return nullptr;
    const int newHandler = script->reallocateScriptHandler(handler);
    if (newHandler <= 0) return nullptr;

    auto* copy = create();
    if (_functionLua) copy->initWithFunction(_functionLua);
    copy->setDuration(getDuration());
    manager->addObjectHandler(copy, newHandler, ScriptHandlerMgr::HandlerType::CALLFUNC);
    return copy;
}

}  // namespace engine
