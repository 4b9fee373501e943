#include "engine/builder/CCBAnimationManager.h"

#include "engine/actions/ActionInterval.h"
#include "engine/base/Log.h"

namespace builder {

CCBAnimationManager* CCBAnimationManager::create() {
    auto* manager = new CCBAnimationManager;
    manager->autorelease();
    return manager;
}

CCBAnimationManager::~CCBAnimationManager() {
    for (auto& [name, action] : _callFuncs) action->release();
}

void CCBAnimationManager::setCallFunc(engine::CallFunc* action, const std::string& callbackName) {
    if (action) action->retain();
    auto found = _callFuncs.find(callbackName);
    engine::CallFunc* old = found != _callFuncs.end() ? found->second : nullptr;
    if (action) {
        _callFuncs[callbackName] = action;
    } else if (found != _callFuncs.end()) {
        _callFuncs.erase(found);
    }
    if (old) old->release();
}

engine::CallFunc* CCBAnimationManager::getCallFunc(const std::string& callbackName) const {
    auto found = _callFuncs.find(callbackName);
    return found != _callFuncs.end() ? found->second : nullptr;
}

CCBSequence* CCBSequence::create() {
    auto* sequence = new CCBSequence;
    sequence->autorelease();
    return sequence;
}

CCBSequenceProperty* CCBSequenceProperty::create() {
    auto* property = new CCBSequenceProperty;
    property->autorelease();
    return property;
}

bool CCBAnimationManager::runAnimationsForSequenceNamed(const std::string& name) {
    const CCBSequence* sequence = nullptr;
    for (const CCBSequence* s : _sequences) {
        if (s->getName() == name) sequence = s;
    }
    if (!sequence || !_root) {
        engine::log("CCBAnimationManager: no sequence '%s' to run", name.c_str());
        return false;
    }
    std::vector<engine::FiniteTimeAction*> steps;
    float at = 0.f;
    for (const SequenceCallback& callback : sequence->getCallbacks()) {
        engine::CallFunc* action = getCallFunc(callback.name);
        if (!action) continue;
        if (callback.time > at) steps.push_back(engine::DelayTime::create(callback.time - at));
        at = callback.time;
        steps.push_back(action);
    }
    if (sequence->getDuration() > at) steps.push_back(engine::DelayTime::create(sequence->getDuration() - at));
    if (steps.empty()) return true;
    _root->runAction(engine::Sequence::create(steps));
    return true;
}

}  // namespace builder
