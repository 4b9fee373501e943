#include "engine/scene/ProtectedNode.h"

#include <algorithm>

#include "engine/base/Director.h"
#include "engine/base/Log.h"

namespace engine {

ProtectedNode* ProtectedNode::create() { return autoreleased(new ProtectedNode, true); }

ProtectedNode::~ProtectedNode() {
    for (Node* child : _protectedChildren) {
        child->_parent = nullptr;
        child->release();
    }
}

void ProtectedNode::insertProtected(Node* child) {
    auto at = std::upper_bound(_protectedChildren.begin(), _protectedChildren.end(), child->_localZOrder,
                               [](int z, const Node* other) { return z < other->_localZOrder; });
    _protectedChildren.insert(at, child);
}

void ProtectedNode::addProtectedChild(Node* child, int localZOrder, int tag) {
    bool ancestor = false;
    for (const Node* node = this; node; node = node->getParent()) ancestor = ancestor || node == child;
    if (!child || child->getParent() || ancestor) {
        log("ProtectedNode: cannot add %s as a protected child", !child ? "a null node" : "that node");
        return;
    }
    child->retain();
    child->_localZOrder = localZOrder;
    if (tag != INVALID_TAG) child->setTag(tag);
    child->_parent = this;
    insertProtected(child);
    if (isRunning()) {
        child->onEnter();
        child->onEnterTransitionDidFinish();
    }
}

Node* ProtectedNode::getProtectedChildByTag(int tag) const {
    for (Node* child : _protectedChildren) {
        if (child->getTag() == tag) return child;
    }
    return nullptr;
}

void ProtectedNode::detachProtected(Node* child, bool cleanup) {
    if (isRunning()) {
        child->onExitTransitionDidStart();
        child->onExit();
    }
    if (cleanup) child->cleanup();
    child->_parent = nullptr;
    child->release();
}

void ProtectedNode::removeProtectedChild(Node* child, bool cleanup) {
    auto it = std::find(_protectedChildren.begin(), _protectedChildren.end(), child);
    if (it == _protectedChildren.end()) return;
    _protectedChildren.erase(it);
    detachProtected(child, cleanup);
}

void ProtectedNode::removeProtectedChildByTag(int tag, bool cleanup) {
    if (Node* child = getProtectedChildByTag(tag)) removeProtectedChild(child, cleanup);
}

void ProtectedNode::removeAllProtectedChildrenWithCleanup(bool cleanup) {
    std::vector<Node*> children;
    children.swap(_protectedChildren);
    for (Node* child : children) detachProtected(child, cleanup);
}

void ProtectedNode::reorderProtectedChild(Node* child, int localZOrder) {
    auto it = std::find(_protectedChildren.begin(), _protectedChildren.end(), child);
    if (it == _protectedChildren.end()) return;
    _protectedChildren.erase(it);
    child->_localZOrder = localZOrder;
    insertProtected(child);
}

template <class Fn>
void ProtectedNode::forEachProtected(Fn fn) {
    std::vector<Node*> children = _protectedChildren;
    for (Node* child : children) child->retain();
    for (Node* child : children) {
        if (child->getParent() == this) fn(child);
    }
    for (Node* child : children) child->release();
}

void ProtectedNode::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!isVisible()) return;
    const Mat4 transform = parentTransform * getNodeToParentTransform();
    auto visitRange = [&](bool below) {
        for (size_t i = 0; i < _protectedChildren.size(); ++i) {
            Node* child = _protectedChildren[i];
            if ((child->_localZOrder < 0) != below) continue;
            child->retain();
            child->visit(renderer, transform, parentFlags);
            child->release();
        }
    };
    visitRange(true);
    Node::visit(renderer, parentTransform, parentFlags);
    visitRange(false);
}

void ProtectedNode::onEnter() {
    Node::onEnter();
    forEachProtected([](Node* child) {
        if (!child->isRunning()) child->onEnter();
    });
}

void ProtectedNode::onExit() {
    forEachProtected([](Node* child) {
        if (child->isRunning()) child->onExit();
    });
    Node::onExit();
}

void ProtectedNode::onEnterTransitionDidFinish() {
    Node::onEnterTransitionDidFinish();
    forEachProtected([](Node* child) { child->onEnterTransitionDidFinish(); });
}

void ProtectedNode::onExitTransitionDidStart() {
    forEachProtected([](Node* child) { child->onExitTransitionDidStart(); });
    Node::onExitTransitionDidStart();
}

void ProtectedNode::cleanup() {
    Node::cleanup();
    forEachProtected([](Node* child) { child->cleanup(); });
}

}  // namespace engine
