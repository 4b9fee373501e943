#include "engine/actions/Action.h"

#include "engine/script/ScriptEngineManager.h"
#include "engine/script/ScriptEvent.h"

namespace engine {

CallFunc* CallFunc::create(std::function<void()> fn) {
    auto* action = new CallFunc;
    action->_function = std::move(fn);
    action->autorelease();
    return action;
}

void CallFunc::execute() {
    if (_function) _function();
    sendCallFuncEvent();
}

void CallFunc::sendCallFuncEvent() {
    if (ScriptEngineProtocol* script = ScriptEngineManager::getInstance()->getScriptEngine()) {
        BasicScriptData data(this, getTarget());
        ScriptEvent event(CALLFUNC_EVENT, &data);
        script->sendEvent(&event);
    }
}

CallFunc* CallFunc::clone() const {
    auto* copy = new CallFunc;
    copy->_function = _function;
    copy->setDuration(getDuration());
    copy->autorelease();
    return copy;
}

CallFuncN* CallFuncN::create(std::function<void(Node*)> fn) {
    auto* action = new CallFuncN;
    action->_functionN = std::move(fn);
    action->autorelease();
    return action;
}

void CallFuncN::execute() {
    if (_functionN) _functionN(getTarget());
    sendCallFuncEvent();
}

CallFuncN* CallFuncN::clone() const {
    auto* copy = new CallFuncN;
    copy->_functionN = _functionN;
    copy->setDuration(getDuration());
    copy->autorelease();
    return copy;
}

}  // namespace engine
