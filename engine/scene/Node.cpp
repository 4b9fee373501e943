#include "engine/scene/Node.h"

#include <algorithm>

#include "engine/actions/Action.h"
#include "engine/actions/ActionManager.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "engine/renderer/GLProgramCache.h"

namespace engine {

Node* Node::create() {
    auto* node = new Node;
    if (!node->init()) {
        delete node;
        return nullptr;
    }
    node->autorelease();
    return node;
}

Node::~Node() {
    if (_actionManager) {
        _actionManager->removeAllActionsFromTarget(this);
        _actionManager->release();
    }
    if (_glProgramState) _glProgramState->release();
    for (Node* child : _children) {
        child->_parent = nullptr;
        child->release();
    }
}

void Node::insertChild(Node* child) {
    auto pos = std::find_if(_children.begin(), _children.end(), [child](const Node* sibling) {
        return sibling->_localZOrder > child->_localZOrder;
    });
    _children.insert(pos, child);
}

void Node::addChild(Node* child, int localZOrder, int tag) {
    if (!child) {
        log("Node: cannot add a null child");
        return;
    }
    if (child->_parent) {
        log("Node: cannot add a child that already has a parent");
        return;
    }
    // The graph stays a tree: a node never joins itself or one of its descendants.
    for (const Node* node = this; node; node = node->_parent) {
        if (node == child) {
            log("Node: cannot add a node to itself or to one of its descendants");
            return;
        }
    }
    child->retain();
    child->_parent = this;
    child->_localZOrder = localZOrder;
    if (tag != INVALID_TAG) child->_tag = tag;
    insertChild(child);
    if (_running) child->onEnter();
}

void Node::detachChild(Node* child, bool cleanup) {
    if (_running && child->_running) child->onExit();
    if (cleanup) child->cleanup();
    child->_parent = nullptr;
    child->release();
}

void Node::removeChild(Node* child, bool cleanup) {
    auto it = std::find(_children.begin(), _children.end(), child);
    if (it == _children.end()) return;
    _children.erase(it);
    detachChild(child, cleanup);
}

void Node::removeFromParent() {
    if (_parent) _parent->removeChild(this, true);
}

void Node::removeAllChildren() {
    std::vector<Node*> children;
    children.swap(_children);
    for (Node* child : children) detachChild(child, true);
}

Node* Node::getChildByTag(int tag) const {
    for (Node* child : _children) {
        if (child->_tag == tag) return child;
    }
    return nullptr;
}

Node* Node::getChildByName(const std::string& name) const {
    for (Node* child : _children) {
        if (child->_name == name) return child;
    }
    return nullptr;
}

void Node::setLocalZOrder(int localZOrder) {
    if (!_parent) {
        _localZOrder = localZOrder;
        return;
    }
    auto& siblings = _parent->_children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), this));
    _localZOrder = localZOrder;
    _parent->insertChild(this);
}

void Node::onEnter() {
    _running = true;
    if (_actionManager) _actionManager->resumeTarget(this);
    // A copy: an onEnter override may add or remove children.
    std::vector<Node*> children = _children;
    for (Node* child : children) child->retain();
    for (Node* child : children) {
        if (child->_parent == this && !child->_running) child->onEnter();
    }
    for (Node* child : children) child->release();
}

void Node::onExit() {
    std::vector<Node*> children = _children;
    for (Node* child : children) child->retain();
    for (Node* child : children) {
        if (child->_parent == this && child->_running) child->onExit();
    }
    for (Node* child : children) child->release();
    _running = false;
    if (_actionManager) _actionManager->pauseTarget(this);
}

void Node::cleanup() {
    Director::getInstance()->getScheduler()->unscheduleAllForTarget(this);
    stopAllActions();
    for (Node* child : _children) child->cleanup();
}

Action* Node::runAction(Action* action) {
    if (!action) return nullptr;
    if (!_actionManager) {
        _actionManager = Director::getInstance()->getActionManager();
        _actionManager->retain();
    }
    _actionManager->addAction(action, this, !_running);
    return action;
}

void Node::stopAllActions() {
    if (_actionManager) _actionManager->removeAllActionsFromTarget(this);
}

void Node::stopAction(Action* action) {
    if (_actionManager && action && action->getTarget() == this) _actionManager->removeAction(action);
}

void Node::stopActionByTag(int tag) {
    if (_actionManager) _actionManager->removeActionByTag(tag, this);
}

Action* Node::getActionByTag(int tag) const {
    return _actionManager ? _actionManager->getActionByTag(tag, this) : nullptr;
}

size_t Node::getNumberOfRunningActions() const {
    return _actionManager ? _actionManager->getNumberOfRunningActionsInTarget(this) : 0;
}

}  // namespace engine
