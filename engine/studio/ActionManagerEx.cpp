#include "engine/studio/ActionManagerEx.h"

#include <algorithm>
#include <vector>

#include "engine/actions/Action.h"
#include "engine/actions/ActionInterval.h"
#include "engine/actions/ActionManager.h"
#include "engine/actions/ActionMotion.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"

namespace studio {

namespace {
const char* const kPlayKey = "__actionObject";

// The first node under root (root itself included) with that tag.
engine::Node* findByTag(engine::Node* root, int tag) {
    if (!root) return nullptr;
    if (root->getTag() == tag) return root;
    for (engine::Node* child : root->getChildren()) {
        if (engine::Node* found = findByTag(child, tag)) return found;
    }
    return nullptr;
}
}  // namespace

// ---- ActionFrame

ActionFrame* ActionFrame::create() {
    auto* frame = new ActionFrame;
    frame->autorelease();
    return frame;
}

engine::FiniteTimeAction* ActionFrame::getAction(float duration) const {
    std::vector<engine::FiniteTimeAction*> parts;
    if (_position) parts.push_back(engine::MoveTo::create(duration, *_position));
    if (_scale) parts.push_back(engine::ScaleTo::create(duration, _scale->x, _scale->y));
    if (_rotation) parts.push_back(engine::RotateTo::create(duration, *_rotation));
    if (_opacity) parts.push_back(engine::FadeTo::create(duration, static_cast<uint8_t>(*_opacity)));
    if (_color) parts.push_back(engine::TintTo::create(duration, _color->r, _color->g, _color->b));
    if (parts.empty()) return nullptr;
    if (parts.size() == 1) return parts.front();
    return engine::Spawn::create(parts);
}

// ---- ActionNode

ActionNode* ActionNode::create() {
    auto* node = new ActionNode;
    node->autorelease();
    return node;
}

ActionNode::~ActionNode() {
    stopAction();
    if (_object) _object->release();
}

void ActionNode::setObject(engine::Node* node) {
    if (node == _object) return;
    stopAction();
    engine::assignRetained(_object, node);
}

void ActionNode::initWithRoot(engine::Node* root) { setObject(findByTag(root, _actionTag)); }

void ActionNode::addFrame(ActionFrame* frame) {
    if (!frame) return;
    size_t at = _frames.size();
    while (at > 0 && _frames.at(at - 1)->getFrameIndex() > frame->getFrameIndex()) --at;
    _frames.insert(at, frame);
}

void ActionNode::deleteFrame(ActionFrame* frame) { _frames.eraseObject(frame); }

int ActionNode::getFirstFrameIndex() const { return _frames.size() == 0 ? -1 : _frames.at(0)->getFrameIndex(); }

int ActionNode::getLastFrameIndex() const { return _frames.size() == 0 ? -1 : _frames.back()->getFrameIndex(); }

void ActionNode::playAction() {
    stopAction();
    if (!_object || _frames.size() == 0) return;
    std::vector<engine::FiniteTimeAction*> steps;
    int at = 0;
    for (const ActionFrame* frame : _frames) {
        const float duration = static_cast<float>(frame->getFrameIndex() - at) * _unitTime;
        if (engine::FiniteTimeAction* step = frame->getAction(duration)) {
            steps.push_back(step);
        } else if (duration > 0) {
            steps.push_back(engine::DelayTime::create(duration));
        }
        at = frame->getFrameIndex();
    }
    if (steps.empty()) return;
    _running = _object->runAction(engine::Sequence::create(steps));
    if (_running) _running->retain();
}

void ActionNode::stopAction() {
    if (!_running) return;
    if (_object && !_running->isDone()) _object->stopAction(_running);
    _running->release();
    _running = nullptr;
}

bool ActionNode::isActionDoneOnce() const { return !_running || _running->isDone(); }

// ---- ActionObject

ActionObject* ActionObject::create() {
    auto* object = new ActionObject;
    object->autorelease();
    return object;
}

ActionObject::~ActionObject() {
    engine::Director::getInstance()->getScheduler()->unschedule(kPlayKey, this);
    if (_done) _done->release();
}

void ActionObject::setUnitTime(float time) {
    _unitTime = time > 0 ? time : 0.1f;
    for (ActionNode* node : _nodes) node->setUnitTime(_unitTime);
}

float ActionObject::getTotalTime() const {
    int last = 0;
    for (const ActionNode* node : _nodes) last = std::max(last, node->getLastFrameIndex());
    return static_cast<float>(last) * _unitTime;
}

void ActionObject::addActionNode(ActionNode* node) {
    if (!node) return;
    node->setUnitTime(_unitTime);
    _nodes.pushBack(node);
}

void ActionObject::removeActionNode(ActionNode* node) { _nodes.eraseObject(node); }

void ActionObject::play() { play(nullptr); }

void ActionObject::play(engine::CallFunc* done) {
    stop();
    engine::assignRetained(_done, done);
    _playing = true;
    _paused = false;
    _currentTime = 0;
    for (ActionNode* node : _nodes) node->playAction();
    engine::Director::getInstance()->getScheduler()->schedule([this](float dt) { update(dt); }, this, 0.f, false,
                                                                kPlayKey);
}

void ActionObject::pause() {
    if (!_playing || _paused) return;
    _paused = true;
    for (ActionNode* node : _nodes) {
        if (node->getObject()) engine::Director::getInstance()->getActionManager()->pauseTarget(node->getObject());
    }
}

void ActionObject::resume() {
    if (!_playing || !_paused) return;
    _paused = false;
    for (ActionNode* node : _nodes) {
        if (node->getObject()) engine::Director::getInstance()->getActionManager()->resumeTarget(node->getObject());
    }
}

void ActionObject::stop() {
    for (ActionNode* node : _nodes) node->stopAction();
    _playing = false;
    _paused = false;
    engine::Director::getInstance()->getScheduler()->unschedule(kPlayKey, this);
}

void ActionObject::update(float dt) {
    if (!_playing || _paused) return;
    _currentTime += dt;
    if (_currentTime < getTotalTime()) return;
    for (const ActionNode* node : _nodes) {
        if (!node->isActionDoneOnce()) return;   // the nodes' own clocks finish them
    }
    if (_loop) {
        _currentTime = 0;
        for (ActionNode* node : _nodes) node->playAction();
        return;
    }
    retain();
    stop();
    if (_done) {
        engine::CallFunc* done = _done;
        _done = nullptr;
        done->execute();
        done->release();
    }
    release();
}

// ---- ActionManagerEx

namespace {
ActionManagerEx* g_actionManager = nullptr;
}

ActionManagerEx* ActionManagerEx::getInstance() {
    if (!g_actionManager) g_actionManager = new ActionManagerEx;
    return g_actionManager;
}

void ActionManagerEx::destroyInstance() {
    if (g_actionManager) g_actionManager->release();
    g_actionManager = nullptr;
}

void ActionManagerEx::addActionObject(const std::string& jsonName, ActionObject* action) {
    if (action) _actions[jsonName].pushBack(action);
}

ActionObject* ActionManagerEx::getActionByName(const std::string& jsonName, const std::string& actionName) const {
    auto found = _actions.find(jsonName);
    if (found == _actions.end()) return nullptr;
    for (ActionObject* action : found->second) {
        if (action->getName() == actionName) return action;
    }
    return nullptr;
}

ActionObject* ActionManagerEx::playActionByName(const std::string& jsonName, const std::string& actionName) {
    return playActionByName(jsonName, actionName, nullptr);
}

ActionObject* ActionManagerEx::playActionByName(const std::string& jsonName, const std::string& actionName,
                                                engine::CallFunc* done) {
    ActionObject* action = getActionByName(jsonName, actionName);
    if (!action) {
        engine::log("ActionManagerEx: no action '%s' in '%s'", actionName.c_str(), jsonName.c_str());
        return nullptr;
    }
    action->play(done);
    return action;
}

ActionObject* ActionManagerEx::stopActionByName(const std::string& jsonName, const std::string& actionName) {
    ActionObject* action = getActionByName(jsonName, actionName);
    if (action) action->stop();
    return action;
}

void ActionManagerEx::releaseActions() {
    for (auto& [name, actions] : _actions) {
        for (ActionObject* action : actions) action->stop();
    }
    _actions.clear();
}

}  // namespace studio
