#include "engine/scene/Node.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "engine/actions/Action.h"
#include "engine/actions/ActionManager.h"
#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "engine/input/Touch.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/scene/Component.h"
#include "engine/scene/ProtectedNode.h"
#include "engine/scene/Scene.h"
#include "engine/script/ScriptEngineManager.h"
#include "engine/script/ScriptEvent.h"

namespace engine {

namespace {
// Node event actions as the script engine numbers them.
constexpr int kScriptEnter = 0;
constexpr int kScriptExit = 1;
constexpr int kScriptEnterTransitionFinish = 2;
constexpr int kScriptExitTransitionStart = 3;
constexpr int kScriptCleanup = 4;
// The key of the per-frame timer that updates a node's components.
const char* const kComponentUpdateKey = "__components";
}  // namespace

uint64_t Node::_treeGeneration = 0;

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
    if (_listenersBound) Director::getInstance()->getEventDispatcher()->removeEventListenersForTarget(this);
    // A node removed without cleanup may still have its update scheduled: the
    // scheduler must not call into it once it is gone.
    if (_updateScheduled) Director::getInstance()->getScheduler()->unscheduleUpdate(this);
    // Nor keep it paused: a later node at this address starts unpaused.
    if (_pauseCalled) Director::getInstance()->getScheduler()->resumeTarget(this);
    if (!_components.empty()) Director::getInstance()->getScheduler()->unschedule(kComponentUpdateKey, this);
    releaseUpdateScriptHandler();
    if (_userObject) _userObject->release();
    if (_physicsBody) {
        _physicsBody->removeFromWorld();
        _physicsBody->setNode(nullptr);
        _physicsBody->release();
    }
    if (_actionManager) {
        _actionManager->removeAllActionsFromTarget(this);
        _actionManager->release();
    }
    if (_glProgramState) _glProgramState->release();
    // Likewise the components' per-frame timer.
    // Let go without onRemove: the node is half gone, nothing may be done to it.
    for (Component* component : _components) {
        component->setOwner(nullptr);
        component->release();
    }
    _components.clear();
    if (!_children.empty()) ++_treeGeneration;
    for (Node* child : _children) {
        child->_parent = nullptr;
        child->release();
    }
}

// Children are sorted by z-order, so a child whose order is not below the last
// one's (the usual case: files and scripts add in order) goes at the end at once;
// otherwise a binary search finds its place after its equals.
void Node::insertChild(Node* child) {
    ++_treeGeneration;
    if (_children.empty() || _children.back()->_localZOrder <= child->_localZOrder) {
        _children.push_back(child);
        return;
    }
    auto pos = std::upper_bound(_children.begin(), _children.end(), child->_localZOrder,
                                [](int order, const Node* sibling) { return order < sibling->_localZOrder; });
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
    if (_running) {
        child->onEnter();
        child->onEnterTransitionDidFinish();
    }
}

void Node::detachChild(Node* child, bool cleanup) {
    ++_treeGeneration;
    if (_running && child->_running) {
        child->onExitTransitionDidStart();
        child->onExit();
    }
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
    if (!_parent) return;
    // A protected child is not among its parent's children.
    if (auto* keeper = dynamic_cast<ProtectedNode*>(_parent);
        keeper && std::find(_parent->_children.begin(), _parent->_children.end(), this) == _parent->_children.end()) {
        keeper->removeProtectedChild(this, true);
        return;
    }
    _parent->removeChild(this, true);
}

void Node::removeAllChildren() { removeAllChildrenWithCleanup(true); }

void Node::removeFromParentAndCleanup(bool cleanup) {
    if (!cleanup) {
        if (_parent) _parent->removeChild(this, false);
        return;
    }
    removeFromParent();
}

void Node::removeAllChildrenWithCleanup(bool cleanup) {
    std::vector<Node*> children;
    children.swap(_children);
    for (Node* child : children) detachChild(child, cleanup);
}

void Node::removeChildByTag(int tag, bool cleanup) {
    if (Node* child = getChildByTag(tag)) removeChild(child, cleanup);
}

void Node::removeChildByName(const std::string& name, bool cleanup) {
    if (Node* child = getChildByName(name)) removeChild(child, cleanup);
}

void Node::reorderChild(Node* child, int localZOrder) {
    if (child && child->_parent == this) child->setLocalZOrder(localZOrder);
}

void Node::setName(const std::string& name) {
    _name = name;
    ++_treeGeneration;
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
    joinPhysicsWorld();
    Director::getInstance()->getScheduler()->resumeTarget(this);
    _pauseCalled = false;
    if (_actionManager) _actionManager->resumeTarget(this);
    if (!_components.empty()) {
        std::vector<Component*> components = _components;
        for (Component* component : components) component->retain();
        for (Component* component : components) {
            if (component->getOwner() == this) component->onEnter();
        }
        for (Component* component : components) component->release();
        scheduleComponentUpdates();
    }
    // A copy: an onEnter override may add or remove children.
    std::vector<Node*> children = _children;
    for (Node* child : children) child->retain();
    for (Node* child : children) {
        if (child->_parent == this && !child->_running) child->onEnter();
    }
    for (Node* child : children) child->release();
    sendScriptEvent(kScriptEnter);
}

void Node::onEnterTransitionDidFinish() {
    std::vector<Node*> children = _children;
    for (Node* child : children) child->retain();
    for (Node* child : children) {
        if (child->_parent == this) child->onEnterTransitionDidFinish();
    }
    for (Node* child : children) child->release();
    sendScriptEvent(kScriptEnterTransitionFinish);
}

void Node::onExitTransitionDidStart() {
    std::vector<Node*> children = _children;
    for (Node* child : children) child->retain();
    for (Node* child : children) {
        if (child->_parent == this) child->onExitTransitionDidStart();
    }
    for (Node* child : children) child->release();
    sendScriptEvent(kScriptExitTransitionStart);
}

void Node::onExit() {
    std::vector<Node*> children = _children;
    for (Node* child : children) child->retain();
    for (Node* child : children) {
        if (child->_parent == this && child->_running) child->onExit();
    }
    for (Node* child : children) child->release();
    _running = false;
    if (!_components.empty()) {
        std::vector<Component*> components = _components;
        for (Component* component : components) component->retain();
        for (Component* component : components) {
            if (component->getOwner() == this) component->onExit();
        }
        for (Component* component : components) component->release();
    }
    if (_physicsBody) _physicsBody->removeFromWorld();
    // What it scheduled waits off stage like its actions (a scene pushed under
    // another keeps both until it comes back).
    Director::getInstance()->getScheduler()->pauseTarget(this);
    _pauseCalled = true;
    if (_actionManager) _actionManager->pauseTarget(this);
    sendScriptEvent(kScriptExit);
}

void Node::joinPhysicsWorld() {
    if (!_physicsBody || !_running) return;
    Node* root = this;
    while (root->_parent) root = root->_parent;
    auto* scene = dynamic_cast<Scene*>(root);
    if (PhysicsWorld* world = scene ? scene->getPhysicsWorld() : nullptr) world->addBody(_physicsBody);
}

void Node::setPhysicsBody(PhysicsBody* body) {
    if (body == _physicsBody || (body && body->getNode())) return;
    if (_physicsBody) {
        _physicsBody->removeFromWorld();
        _physicsBody->setNode(nullptr);
        _physicsBody->release();
    }
    _physicsBody = body;
    if (!body) return;
    body->retain();
    body->setNode(this);
    body->_synced = false;
    joinPhysicsWorld();
}

void Node::removeFromPhysicsWorld() {
    if (_physicsBody) _physicsBody->removeFromWorld();
    for (Node* child : _children) child->removeFromPhysicsWorld();
}

Vec2 Node::getAnchorPointInPoints() const {
    return {_anchorPoint.x * _contentSize.width, _anchorPoint.y * _contentSize.height};
}

const Mat4& Node::nodeToParent() const {
    if (_transformDirty) computeNodeToParent();
    return _nodeToParent;
}

void Node::computeNodeToParent() const {
    _transformDirty = false;
    _nodeToParentChanged = true;
    const Vec2 anchor = getAnchorPointInPoints();
    Vec2 at = _position;
    if (_ignoreAnchorPointForPosition) at = at + anchor;
    Mat4 transform;
    if (_hasRotationQuat) {
        // translate(at) * rotate(quaternion) * scale * translate(-anchor).
        const Quaternion& q = _rotationQuat;
        const float r[3][3] = {
            {1 - 2 * (q.y * q.y + q.z * q.z), 2 * (q.x * q.y - q.w * q.z), 2 * (q.x * q.z + q.w * q.y)},
            {2 * (q.x * q.y + q.w * q.z), 1 - 2 * (q.x * q.x + q.z * q.z), 2 * (q.y * q.z - q.w * q.x)},
            {2 * (q.x * q.z - q.w * q.y), 2 * (q.y * q.z + q.w * q.x), 1 - 2 * (q.x * q.x + q.y * q.y)},
        };
        float m[3][3];
        for (int row = 0; row < 3; ++row) {
            m[row][0] = r[row][0] * _scaleX;
            m[row][1] = r[row][1] * _scaleY;
            m[row][2] = r[row][2] * _scaleZ;
        }
        const float t[3] = {at.x - (m[0][0] * anchor.x + m[0][1] * anchor.y),
                            at.y - (m[1][0] * anchor.x + m[1][1] * anchor.y),
                            _positionZ - (m[2][0] * anchor.x + m[2][1] * anchor.y)};
        transform = Mat4(m[0][0], m[0][1], m[0][2], t[0],
                         m[1][0], m[1][1], m[1][2], t[1],
                         m[2][0], m[2][1], m[2][2], t[2],
                         0, 0, 0, 1);
    } else {
        // translate(at) * rotate * scale * translate(-anchor), written out.
        const double radians = -static_cast<double>(_rotation) * std::numbers::pi / 180.0;
        const float c = _rotation == 0.f ? 1.f : static_cast<float>(std::cos(radians));
        const float s = _rotation == 0.f ? 0.f : static_cast<float>(std::sin(radians));
        float a = c * _scaleX, b = s * _scaleX;    // image of the x axis
        float cc = -s * _scaleY, d = c * _scaleY;  // image of the y axis
        if (_skewX != 0.f || _skewY != 0.f) {
            // rotate * skew * scale: the skew mixes the scaled axes first.
            const float kx = static_cast<float>(std::tan(static_cast<double>(_skewX) * std::numbers::pi / 180.0));
            const float ky = static_cast<float>(std::tan(static_cast<double>(_skewY) * std::numbers::pi / 180.0));
            const float xa = c + (-s) * ky, xb = s + c * ky;    // rotate * (1, ky)
            const float ya = c * kx + (-s), yb = s * kx + c;    // rotate * (kx, 1)
            a = xa * _scaleX;
            b = xb * _scaleX;
            cc = ya * _scaleY;
            d = yb * _scaleY;
        }
        const float tx = at.x - (a * anchor.x + cc * anchor.y);
        const float ty = at.y - (b * anchor.x + d * anchor.y);
        transform = Mat4(a, cc, 0, tx,
                         b, d, 0, ty,
                         0, 0, _scaleZ, _positionZ,
                         0, 0, 0, 1);
    }
    if (_hasAdditionalTransform) transform = transform * _additionalTransform;
    _nodeToParent = transform;
    const float* m = transform.m;
    _nodeToParentIs2D = m[2] == 0 && m[3] == 0 && m[6] == 0 && m[7] == 0 && m[8] == 0 && m[9] == 0 && m[10] == 1 &&
                        m[11] == 0 && m[14] == 0 && m[15] == 1;
}

namespace {
uint64_t nextDrawVersion() {
    static uint64_t version = 0;
    return ++version;
}
}  // namespace

void Node::updateDrawTransform(const Mat4& parentTransform) {
    const Mat4& local = nodeToParent();
    // The parent's own draw transform, unchanged since ours was made from it, or
    // any other matrix equal to the one it was made from: nothing to do.
    bool parentSame;
    if (_parent && &parentTransform == &_parent->_drawTransform)
        parentSame = _drawVersion != 0 && _drawParentVersion == _parent->_drawVersion;
    else
        parentSame = _drawVersion != 0 && std::memcmp(parentTransform.m, _drawParentTransform.m, sizeof(Mat4::m)) == 0;
    if (parentSame && !_nodeToParentChanged) return;
    _nodeToParentChanged = false;
    _drawParentTransform = parentTransform;
    _drawParentVersion = _parent && &parentTransform == &_parent->_drawTransform ? _parent->_drawVersion : 0;
    _drawVersion = nextDrawVersion();
    if (!_nodeToParentIs2D) {
        Mat4::multiply(parentTransform, local, &_drawTransform);
        return;
    }
    // The local transform only maps x and y (a b / c d / tx ty): three columns of
    // the product come from the parent's first two and last ones.
    const float* p = parentTransform.m;
    const float a = local.m[0], b = local.m[1], c = local.m[4], d = local.m[5], tx = local.m[12], ty = local.m[13];
    float* out = _drawTransform.m;
    for (int row = 0; row < 4; ++row) {
        out[row] = p[row] * a + p[4 + row] * b;
        out[4 + row] = p[row] * c + p[4 + row] * d;
        out[8 + row] = p[8 + row];
        out[12 + row] = p[row] * tx + p[4 + row] * ty + p[12 + row];
    }
}

void Node::setRotationQuat(const Quaternion& rotation) {
    const double length = std::sqrt(static_cast<double>(rotation.x) * rotation.x + static_cast<double>(rotation.y) * rotation.y +
                                    static_cast<double>(rotation.z) * rotation.z + static_cast<double>(rotation.w) * rotation.w);
    Quaternion q;
    if (length > 0 && std::isfinite(length)) {
        q = Quaternion(static_cast<float>(rotation.x / length), static_cast<float>(rotation.y / length),
                       static_cast<float>(rotation.z / length), static_cast<float>(rotation.w / length));
    }
    _rotationQuat = q;
    _hasRotationQuat = true;
    _transformDirty = true;
    // The counter-clockwise turn about z, as the clockwise degrees getRotation answers.
    const double turn = std::atan2(2.0 * (q.w * q.z + q.x * q.y), 1.0 - 2.0 * (q.y * q.y + q.z * q.z));
    _rotation = static_cast<float>(-turn * 180.0 / std::numbers::pi);
    // The same split for x and y (rotation = z * y * x, counter-clockwise angles).
    const double roll = std::atan2(2.0 * (q.w * q.x + q.y * q.z), 1.0 - 2.0 * (q.x * q.x + q.y * q.y));
    const double pitch = std::asin(std::clamp(2.0 * (q.w * q.y - q.z * q.x), -1.0, 1.0));
    _rotation3D = Vec3(static_cast<float>(-roll * 180.0 / std::numbers::pi),
                       static_cast<float>(-pitch * 180.0 / std::numbers::pi), _rotation);
}

Quaternion Node::getRotationQuat() const {
    if (_hasRotationQuat) return _rotationQuat;
    const double half = -static_cast<double>(_rotation) * std::numbers::pi / 360.0;
    return Quaternion(0, 0, static_cast<float>(std::sin(half)), static_cast<float>(std::cos(half)));
}

void Node::setRotation3D(const Vec3& degrees) {
    // Half angles, counter-clockwise: the given ones are clockwise.
    const double k = -std::numbers::pi / 360.0;
    const double hx = degrees.x * k, hy = degrees.y * k, hz = degrees.z * k;
    const double cx = std::cos(hx), sx = std::sin(hx), cy = std::cos(hy), sy = std::sin(hy);
    const double cz = std::cos(hz), sz = std::sin(hz);
    // qz * qy * qx: x applied first.
    setRotationQuat(Quaternion(static_cast<float>(sx * cy * cz - cx * sy * sz), static_cast<float>(cx * sy * cz + sx * cy * sz),
                               static_cast<float>(cx * cy * sz - sx * sy * cz), static_cast<float>(cx * cy * cz + sx * sy * sz)));
    _rotation3D = degrees;
}

void Node::setPosition3D(const Vec3& position) {
    _position = Vec2(position.x, position.y);
    _positionZ = position.z;
    _transformDirty = true;
}

void Node::setAdditionalTransform(const Mat4* transform) {
    _hasAdditionalTransform = transform != nullptr;
    _additionalTransform = transform ? *transform : Mat4();
    _transformDirty = true;
}

void Node::setAdditionalTransform(const AffineTransform& t) {
    const Mat4 transform(t.a, t.c, 0, t.tx,
                         t.b, t.d, 0, t.ty,
                         0, 0, 1, 0,
                         0, 0, 0, 1);
    setAdditionalTransform(&transform);
}

Mat4 Node::getParentToNodeTransform() const { return getNodeToParentTransform().getInversed(); }

Mat4 Node::getNodeToWorldTransform() const {
    Mat4 transform = getNodeToParentTransform();
    for (const Node* node = _parent; node; node = node->_parent) {
        transform = node->getNodeToParentTransform() * transform;
    }
    return transform;
}

Mat4 Node::getWorldToNodeTransform() const { return getNodeToWorldTransform().getInversed(); }

namespace {
Vec2 apply(const Mat4& transform, const Vec2& point) {
    Vec3 p(point.x, point.y, 0.f);
    transform.transformPoint(&p);
    return {p.x, p.y};
}
}  // namespace

Vec2 Node::convertToNodeSpace(const Vec2& worldPoint) const {
    return apply(getWorldToNodeTransform(), worldPoint);
}

Vec2 Node::convertToWorldSpace(const Vec2& nodePoint) const {
    return apply(getNodeToWorldTransform(), nodePoint);
}

Vec2 Node::convertToNodeSpaceAR(const Vec2& worldPoint) const {
    return convertToNodeSpace(worldPoint) - getAnchorPointInPoints();
}

Vec2 Node::convertToWorldSpaceAR(const Vec2& nodePoint) const {
    return convertToWorldSpace(nodePoint + getAnchorPointInPoints());
}

Rect Node::getBoundingBox() const {
    const Mat4 transform = getNodeToParentTransform();
    const Vec2 corners[] = {apply(transform, {0.f, 0.f}),
                            apply(transform, {_contentSize.width, 0.f}),
                            apply(transform, {0.f, _contentSize.height}),
                            apply(transform, {_contentSize.width, _contentSize.height})};
    float minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (const Vec2& corner : corners) {
        minX = std::min(minX, corner.x);
        maxX = std::max(maxX, corner.x);
        minY = std::min(minY, corner.y);
        maxY = std::max(maxY, corner.y);
    }
    return Rect(minX, minY, maxX - minX, maxY - minY);
}

Color3B Node::getDisplayedColor() const {
    if (!_parent || !_parent->_cascadeColorEnabled) return _color;
    const Color3B parent = _parent->getDisplayedColor();
    return {static_cast<uint8_t>(_color.r * parent.r / 255), static_cast<uint8_t>(_color.g * parent.g / 255),
            static_cast<uint8_t>(_color.b * parent.b / 255)};
}

uint8_t Node::getDisplayedOpacity() const {
    if (!_parent || !_parent->_cascadeOpacityEnabled) return _opacity;
    return static_cast<uint8_t>(_opacity * _parent->getDisplayedOpacity() / 255);
}

void Node::cleanup() {
    Director::getInstance()->getScheduler()->unscheduleAllForTarget(this);
    // Nothing is left to hold: the scheduler forgets the node altogether.
    Director::getInstance()->getScheduler()->resumeTarget(this);
    _pauseCalled = false;
    _updateScheduled = false;
    releaseUpdateScriptHandler();
    stopAllActions();
    for (Node* child : _children) child->cleanup();
    sendScriptEvent(kScriptCleanup);
}

void Node::sendScriptEvent(int action) {
    ScriptEngineProtocol* engine = ScriptEngineManager::getInstance()->getScriptEngine();
    if (!engine) return;
    BasicScriptData data(this, &action);
    ScriptEvent event(NODE_EVENT, &data);
    engine->sendEvent(&event);
}

void Node::releaseUpdateScriptHandler() {
    if (!_updateScriptHandler) return;
    const int handler = _updateScriptHandler;
    _updateScriptHandler = 0;
    if (ScriptEngineProtocol* engine = ScriptEngineManager::getInstance()->getScriptEngine()) {
        engine->removeScriptHandler(handler);
    }
}

void Node::setUserObject(Ref* object) {
    if (object == _userObject) return;
    if (object) object->retain();
    if (_userObject) _userObject->release();
    _userObject = object;
}

Action* Node::runAction(Action* action) {
    if (!action) return nullptr;
    if (!_actionManager) {
        _actionManager = Director::getInstance()->getActionManager();
        _actionManager->retain();
    }
    // A paused node's new actions wait with the others.
    _actionManager->addAction(action, this, !_running || _pauseCalled);
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

void Node::stopAllActionsByTag(int tag) {
    if (!_actionManager) return;
    while (_actionManager->getActionByTag(tag, this)) _actionManager->removeActionByTag(tag, this);
}

void Node::pause() {
    _pauseCalled = true;
    Director::getInstance()->getScheduler()->pauseTarget(this);
    if (_actionManager) _actionManager->pauseTarget(this);
}

void Node::resume() {
    if (!_running) return;
    _pauseCalled = false;
    Director::getInstance()->getScheduler()->resumeTarget(this);
    if (_actionManager) _actionManager->resumeTarget(this);
}

Scheduler* Node::getScheduler() const { return Director::getInstance()->getScheduler(); }
EventDispatcher* Node::getEventDispatcher() const { return Director::getInstance()->getEventDispatcher(); }
ActionManager* Node::getActionManager() const { return Director::getInstance()->getActionManager(); }

Scene* Node::getScene() const {
    const Node* root = this;
    while (root->_parent) root = root->_parent;
    return dynamic_cast<Scene*>(const_cast<Node*>(root));
}

Vec2 Node::convertTouchToNodeSpace(const Touch* touch) const {
    return convertToNodeSpace(touch ? touch->getLocation() : Vec2());
}

Vec2 Node::convertTouchToNodeSpaceAR(const Touch* touch) const {
    return convertToNodeSpaceAR(touch ? touch->getLocation() : Vec2());
}

Action* Node::getActionByTag(int tag) const {
    return _actionManager ? _actionManager->getActionByTag(tag, this) : nullptr;
}

size_t Node::getNumberOfRunningActions() const {
    return _actionManager ? _actionManager->getNumberOfRunningActionsInTarget(this) : 0;
}

bool Node::addComponent(Component* component) {
    if (!component || component->getOwner()) return false;
    if (!component->getName().empty() && getComponent(component->getName())) return false;
    component->retain();
    _components.push_back(component);
    component->setOwner(this);
    component->onAdd();
    if (_running) {
        component->onEnter();
        scheduleComponentUpdates();
    }
    return true;
}

Component* Node::getComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (Component* component : _components) {
        if (component->getName() == name) return component;
    }
    return nullptr;
}

bool Node::removeComponent(const std::string& name) {
    return removeComponent(getComponent(name));
}

bool Node::removeComponent(Component* component) {
    auto it = std::find(_components.begin(), _components.end(), component);
    if (!component || it == _components.end()) return false;
    _components.erase(it);
    if (_running) component->onExit();
    component->onRemove();
    component->setOwner(nullptr);
    component->release();
    if (_components.empty()) Director::getInstance()->getScheduler()->unschedule(kComponentUpdateKey, this);
    return true;
}

void Node::removeAllComponents() {
    while (!_components.empty()) removeComponent(_components.back());
}

void Node::scheduleComponentUpdates() {
    Scheduler* scheduler = Director::getInstance()->getScheduler();
    if (scheduler->isScheduled(kComponentUpdateKey, this)) return;
    scheduler->schedule([this](float delta) { updateComponents(delta); }, this, 0.f, !_running,
                        kComponentUpdateKey);
}

void Node::updateComponents(float delta) {
    if (!_running) return;
    std::vector<Component*> components = _components;
    for (Component* component : components) component->retain();
    for (Component* component : components) {
        if (component->getOwner() == this && component->isEnabled()) component->update(delta);
    }
    for (Component* component : components) component->release();
}

}  // namespace engine
