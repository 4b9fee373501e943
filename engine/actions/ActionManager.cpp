#include "engine/actions/ActionManager.h"

#include <algorithm>

#include "engine/actions/Action.h"
#include "engine/base/Log.h"
#include "engine/scene/Node.h"

namespace engine {

ActionManager::~ActionManager() { removeAllActions(); }

void ActionManager::addAction(Action* action, Node* target, bool paused) {
    if (!action || !target) {
        log("ActionManager: an action and a target are needed");
        return;
    }
    Element& element = _targets[target];
    if (element.actions.empty()) element.paused = paused;
    if (std::find(element.actions.begin(), element.actions.end(), action) != element.actions.end()) {
        log("ActionManager: the action is already running");
        return;
    }
    action->retain();
    element.actions.push_back(action);
    action->startWithTarget(target);
}

void ActionManager::detach(Element& element, size_t index) {
    Action* action = element.actions[index];
    element.actions.erase(element.actions.begin() + static_cast<std::ptrdiff_t>(index));
    action->stop();
    action->release();
}

void ActionManager::removeAction(Action* action) {
    if (!action) return;
    for (auto it = _targets.begin(); it != _targets.end(); ++it) {
        auto& actions = it->second.actions;
        auto found = std::find(actions.begin(), actions.end(), action);
        if (found == actions.end()) continue;
        detach(it->second, static_cast<size_t>(found - actions.begin()));
        if (actions.empty()) _targets.erase(it);
        return;
    }
}

void ActionManager::removeActionByTag(int tag, Node* target) {
    auto it = _targets.find(target);
    if (it == _targets.end()) return;
    auto& actions = it->second.actions;
    for (size_t i = 0; i < actions.size(); ++i) {
        if (actions[i]->getTag() == tag) {
            detach(it->second, i);
            break;
        }
    }
    if (actions.empty()) _targets.erase(it);
}

void ActionManager::removeAllActionsFromTarget(Node* target) {
    auto it = _targets.find(target);
    if (it == _targets.end()) return;
    // Stopping may run code that touches this manager: take the list out first.
    std::vector<Action*> actions = std::move(it->second.actions);
    _targets.erase(it);
    for (Action* action : actions) {
        action->stop();
        action->release();
    }
}

void ActionManager::removeAllActions() {
    while (!_targets.empty()) removeAllActionsFromTarget(const_cast<Node*>(_targets.begin()->first));
}

Action* ActionManager::getActionByTag(int tag, const Node* target) const {
    auto it = _targets.find(target);
    if (it == _targets.end()) return nullptr;
    for (Action* action : it->second.actions) {
        if (action->getTag() == tag) return action;
    }
    return nullptr;
}

size_t ActionManager::getNumberOfRunningActionsInTarget(const Node* target) const {
    auto it = _targets.find(target);
    return it == _targets.end() ? 0 : it->second.actions.size();
}

void ActionManager::pauseTarget(Node* target) {
    auto it = _targets.find(target);
    if (it != _targets.end()) it->second.paused = true;
}

void ActionManager::resumeTarget(Node* target) {
    auto it = _targets.find(target);
    if (it != _targets.end()) it->second.paused = false;
}

Vector<Node*> ActionManager::pauseAllRunningActions() {
    Vector<Node*> paused;
    for (auto& [target, element] : _targets) {
        if (element.paused || element.actions.empty()) continue;
        element.paused = true;
        paused.pushBack(const_cast<Node*>(target));
    }
    return paused;
}

void ActionManager::resumeTargets(const Vector<Node*>& targets) {
    for (Node* target : targets) resumeTarget(target);
}

void ActionManager::update(float dt) {
    std::vector<Node*> targets;
    targets.reserve(_targets.size());
    for (auto& [target, element] : _targets) {
        if (!element.paused) targets.push_back(const_cast<Node*>(target));
    }
    for (Node* target : targets) {
        auto it = _targets.find(target);
        if (it == _targets.end() || it->second.paused) continue;
        target->retain();
        std::vector<Action*> snapshot = it->second.actions;
        for (Action* action : snapshot) action->retain();
        for (Action* action : snapshot) {
            it = _targets.find(target);
            if (it == _targets.end()) break;   // every action of the target went
            auto& actions = it->second.actions;
            if (std::find(actions.begin(), actions.end(), action) == actions.end()) continue;
            action->step(dt);
            if (!action->isDone()) continue;
            it = _targets.find(target);
            if (it == _targets.end()) break;
            auto& now = it->second.actions;
            auto found = std::find(now.begin(), now.end(), action);
            if (found == now.end()) continue;
            detach(it->second, static_cast<size_t>(found - now.begin()));
            if (it->second.actions.empty()) _targets.erase(it);
        }
        for (Action* action : snapshot) action->release();
        target->release();
    }
}

}  // namespace engine
