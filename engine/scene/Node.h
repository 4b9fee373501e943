#pragma once
// A node of the scene graph: position, size, anchor, scale, rotation, visibility, a
// tag and a name, colour and opacity, and children ordered by their local z-order.
//
// Geometry: the node's content box is (0, 0) to its content size. Its transform to
// the parent's space scales, then rotates (clockwise, degrees) about the anchor point
// and puts the anchor at the position; a node that ignores the anchor for its
// position (layers, scenes) puts its box's lower-left corner there instead.
//
// Colour and opacity: each node has its own; the displayed ones are its own times
// the parent's displayed ones (channel by channel, over 255) when the parent
// cascades them, else its own. The displayed values are worked out when asked, so
// they always follow the current tree.
//
// Drawing: visit() draws the children of negative local z, then the node's own
// draw(), then the other children. A plain node draws nothing of its own: it is
// the frame of the tree, and each class with a look fills draw() (or visit()).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/base/Geometry.h"
#include "engine/base/Mat4.h"
#include "engine/base/Ref.h"
#include "engine/base/Types.h"

namespace engine {

class Action;
class ActionManager;
class Renderer;
class GLProgram;
class GLProgramState;
class PhysicsBody;
class Scene;
class Scheduler;
class EventDispatcher;
class Touch;

class Component;
class Node : public Ref {
public:
    static constexpr int INVALID_TAG = -1;

    // A new node, autoreleased.
    static Node* create();
    ~Node() override;

    // Retains the child. Children are kept sorted by local z-order; a child joins
    // after every sibling of the same or a lower z-order. A tag other than
    // INVALID_TAG replaces the child's tag. A null child, a child that already has
    // a parent, and the node itself or any of its ancestors are refused with a log
    // line. Joining a running node runs the child's onEnter.
    void addChild(Node* child, int localZOrder = 0, int tag = INVALID_TAG);
    // Runs the child's onExit when this node runs, its cleanup when asked, then
    // releases it. Not a child: nothing happens.
    void removeChild(Node* child, bool cleanup = true);
    void removeFromParent();   // with cleanup
    void removeAllChildren();  // with cleanup
    void removeFromParentAndCleanup(bool cleanup);
    void removeAllChildrenWithCleanup(bool cleanup);
    // removeChild for the first child with the tag / name; none: nothing happens.
    void removeChildByTag(int tag, bool cleanup = true);
    void removeChildByName(const std::string& name, bool cleanup = true);
    // Gives the child another local z-order, as setLocalZOrder on it does; a node
    // that is not a child is left alone.
    void reorderChild(Node* child, int localZOrder);
    // Children are kept in order at every change, so there is never anything to
    // sort; callers that sort before reading the children may keep calling it.
    void sortAllChildren() {}
    const std::vector<Node*>& getChildren() const { return _children; }
    size_t getChildrenCount() const { return _children.size(); }
    // The first child (in child order) with the tag / name; nullptr when none.
    Node* getChildByTag(int tag) const;
    Node* getChildByName(const std::string& name) const;
    Node* getParent() const { return _parent; }
    // A count that grows whenever any node gains or loses a child, has its children
    // reordered, is renamed or changes its global z-order: whoever keeps nodes found
    // by name, or an order of nodes, works it out again once it has moved. Main
    // thread only, like the tree.
    static uint64_t treeGeneration() { return _treeGeneration; }

    void setPosition(const Vec2& position) { setPosition(position.x, position.y); }
    void setPosition(float x, float y) {
        _position = Vec2(x, y);
        _transformDirty = true;
    }
    const Vec2& getPosition() const { return _position; }
    void setPositionX(float x) { setPosition(x, _position.y); }
    void setPositionY(float y) { setPosition(_position.x, y); }
    float getPositionX() const { return _position.x; }
    float getPositionY() const { return _position.y; }
    // The position with its depth: z moves the node along its parent's z axis
    // (0 by default; 2D nodes never leave the plane).
    void setPosition3D(const Vec3& position);
    Vec3 getPosition3D() const { return Vec3(_position.x, _position.y, _positionZ); }
    void setPositionZ(float z) {
        _positionZ = z;
        _transformDirty = true;
    }
    float getPositionZ() const { return _positionZ; }
    virtual void setContentSize(const Size& size) {
        _contentSize = size;
        _transformDirty = true;
    }
    const Size& getContentSize() const { return _contentSize; }
    // The anchor as a fraction of the content size; (0, 0) by default.
    virtual void setAnchorPoint(const Vec2& anchor) {
        _anchorPoint = anchor;
        _transformDirty = true;
    }
    const Vec2& getAnchorPoint() const { return _anchorPoint; }
    // The anchor in the node's own points: anchor times content size.
    Vec2 getAnchorPointInPoints() const;
    void setIgnoreAnchorPointForPosition(bool ignore) {
        _ignoreAnchorPointForPosition = ignore;
        _transformDirty = true;
    }
    // The older name of setIgnoreAnchorPointForPosition.
    void ignoreAnchorPointForPosition(bool ignore) { setIgnoreAnchorPointForPosition(ignore); }
    bool isIgnoreAnchorPointForPosition() const { return _ignoreAnchorPointForPosition; }

    // setScale sets both axes; getScale answers the x scale.
    virtual void setScale(float scale) { setScale(scale, scale); }
    void setScale(float scaleX, float scaleY) {
        _scaleX = scaleX;
        _scaleY = scaleY;
        _transformDirty = true;
    }
    float getScale() const { return _scaleX; }
    void setScaleX(float scaleX) { setScale(scaleX, _scaleY); }
    void setScaleY(float scaleY) { setScale(_scaleX, scaleY); }
    float getScaleX() const { return _scaleX; }
    float getScaleY() const { return _scaleY; }
    // The scale along z (1 by default); setScale leaves it alone.
    void setScaleZ(float scaleZ) {
        _scaleZ = scaleZ;
        _transformDirty = true;
    }
    float getScaleZ() const { return _scaleZ; }
    // Clockwise, in degrees.
    void setRotation(float degrees) {
        _rotation = degrees;
        _hasRotationQuat = false;
        _rotation3D = Vec3(0, 0, degrees);
        _transformDirty = true;
    }
    float getRotation() const { return _rotation; }
    // Shear in degrees: skewX tilts the node's y axis towards x, skewY its x
    // axis towards y (about the anchor point).
    void setSkewX(float degrees) {
        _skewX = degrees;
        _transformDirty = true;
    }
    void setSkewY(float degrees) {
        _skewY = degrees;
        _transformDirty = true;
    }
    float getSkewX() const { return _skewX; }
    float getSkewY() const { return _skewY; }
    // A rotation in space (normalised first; a zero quaternion is no rotation).
    // It replaces the 2D rotation in the node's transform until setRotation, and
    // getRotation answers its clockwise turn about z.
    void setRotationQuat(const Quaternion& rotation);
    Quaternion getRotationQuat() const;
    // A rotation in space as three angles in degrees, each clockwise seen from
    // the tip of its axis like the 2D rotation: about x first, then y, then z.
    // (0, 0, r) is setRotation(r). getRotation3D answers the angles set, or
    // those of the rotation in force after setRotation / setRotationQuat.
    void setRotation3D(const Vec3& degrees);
    Vec3 getRotation3D() const { return _rotation3D; }
    // A transform applied after the node's own (node-to-parent = own × extra);
    // null removes it.
    void setAdditionalTransform(const Mat4* transform);
    void setAdditionalTransform(const AffineTransform& transform);

    // Calls visit for the nodes the path names, in child order, until it answers
    // true. The path is searched from this node's children: segments split by
    // "/", each a name in which "*" stands for any run of characters, or ".."
    // for the parent of the node reached so far; "//" before a segment finds it
    // at any depth below ("//enemy*" finds every enemy in the tree); a lone
    // leading "/" changes nothing. An empty path, or one ending in "/", finds
    // nothing. The children are held while
    // they are visited, so visit may change the tree.
    void enumerateChildren(const std::string& path, const std::function<bool(Node*)>& visit) const;

    // Transforms between this node's space and its parent's / the world's (the space
    // of the root of its tree). The node keeps its transform to the parent and works
    // it out again only after a setter of its geometry ran.
    Mat4 getNodeToParentTransform() const { return nodeToParent(); }
    Mat4 getParentToNodeTransform() const;
    Mat4 getNodeToWorldTransform() const;
    Mat4 getWorldToNodeTransform() const;
    Vec2 convertToNodeSpace(const Vec2& worldPoint) const;
    Vec2 convertToWorldSpace(const Vec2& nodePoint) const;
    // The same, with node points measured from the anchor point.
    Vec2 convertToNodeSpaceAR(const Vec2& worldPoint) const;
    Vec2 convertToWorldSpaceAR(const Vec2& nodePoint) const;
    // The touch's location (design points) in this node's space, from its origin or
    // from its anchor point; a null touch is the world origin.
    Vec2 convertTouchToNodeSpace(const Touch* touch) const;
    Vec2 convertTouchToNodeSpaceAR(const Touch* touch) const;
    // The content box in the parent's space: the axis-aligned box around its four
    // transformed corners.
    virtual Rect getBoundingBox() const;

    virtual void setColor(const Color3B& color) { _color = color; }
    const Color3B& getColor() const { return _color; }
    Color3B getDisplayedColor() const;
    virtual void setOpacity(uint8_t opacity) { _opacity = opacity; }
    uint8_t getOpacity() const { return _opacity; }
    uint8_t getDisplayedOpacity() const;
    void setCascadeColorEnabled(bool enabled) { _cascadeColorEnabled = enabled; }
    bool isCascadeColorEnabled() const { return _cascadeColorEnabled; }
    void setCascadeOpacityEnabled(bool enabled) { _cascadeOpacityEnabled = enabled; }
    bool isCascadeOpacityEnabled() const { return _cascadeOpacityEnabled; }
    // Whether the colour is to be premultiplied by the opacity when drawn; only
    // textured nodes keep the flag.
    virtual void setOpacityModifyRGB(bool) {}
    virtual bool isOpacityModifyRGB() const { return false; }

    void setVisible(bool visible) { _visible = visible; }
    bool isVisible() const { return _visible; }
    void setTag(int tag) { _tag = tag; }
    int getTag() const { return _tag; }
    void setName(const std::string& name);
    const std::string& getName() const { return _name; }
    // Moves the node among its siblings: after every sibling of the same or a lower z-order.
    void setLocalZOrder(int localZOrder);
    int getLocalZOrder() const { return _localZOrder; }

    // Entering and leaving the running scene, recursively (the node first on enter,
    // the children first on exit). A node joining a running parent gets onEnter
    // then onEnterTransitionDidFinish; one leaving it onExitTransitionDidStart
    // then onExit (then cleanup when asked). Each step reports the node event
    // "enter", "enterTransitionFinish", "exitTransitionStart", "exit" or
    // "cleanup" to the script engine, when there is one. Leaving pauses the node's
    // actions and what it scheduled; entering resumes them, and what the node
    // scheduled while it was outside the running scene.
    virtual void onEnter();
    virtual void onExit();
    virtual void onEnterTransitionDidFinish();
    virtual void onExitTransitionDidStart();
    bool isRunning() const { return _running; }
    // The scene at the root of the node's tree; nullptr when the root is no scene.
    Scene* getScene() const;
    // Stops everything the node has scheduled (its target in the director's
    // scheduler) and its actions, recursively.
    virtual void cleanup();

    // Actions, run by the director's action manager; paused while the node is not
    // in the running scene. runAction returns the action (nullptr for none).
    Action* runAction(Action* action);
    void stopAllActions();
    void stopAction(Action* action);
    void stopActionByTag(int tag);
    void stopAllActionsByTag(int tag);
    Action* getActionByTag(int tag) const;
    size_t getNumberOfRunningActions() const;

    // Holds the node's actions and everything it scheduled (timers, its update,
    // script functions) until resume(); the children go on. Entering the running
    // scene resumes the node; resume() outside it leaves the node waiting until it
    // enters, as for a node that never ran.
    void pause();
    void resume();
    // The director's: every node shares them.
    Scheduler* getScheduler() const;
    EventDispatcher* getEventDispatcher() const;
    ActionManager* getActionManager() const;

    // Drawing. visit() skips an invisible node; otherwise transform = parent's
    // transform * node-to-parent, the children of negative local z-order are
    // visited first, then the node's draw(), then the other children; the
    // director's model-view top is the node's transform meanwhile. draw() queues
    // the node's render commands (nothing for a plain node).
    virtual void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags);
    virtual void draw(Renderer* renderer, const Mat4& transform, uint32_t flags);
    // Orders render commands across the whole frame (lower first); 0 by default.
    void setGlobalZOrder(float globalZOrder) {
        if (globalZOrder == _globalZOrder) return;
        _globalZOrder = globalZOrder;
        ++_treeGeneration;   // the drawing order changed
    }
    float getGlobalZOrder() const { return _globalZOrder; }
    // The shader state draw() uses; retained. Null by default.
    void setGLProgramState(GLProgramState* state);
    GLProgramState* getGLProgramState() const { return _glProgramState; }
    void setGLProgram(GLProgram* program);   // through the program's shared state
    GLProgram* getGLProgram() const;

    // Per-frame update: scheduleUpdate() has the director's scheduler call update(dt)
    // every frame (priority 0) until unscheduleUpdate(), cleanup() or its destruction.
    void scheduleUpdate();
    void unscheduleUpdate();
    virtual void update(float delta);
    // The per-frame update calls the script handler (a handler id) with dt instead
    // of update(): lower priorities first, equal ones in the order scheduled; one
    // scheduled outside the running scene waits until the node enters it. The
    // handler is released through the script engine when the update is
    // unscheduled or replaced, by cleanup and when the node is destroyed.
    void scheduleUpdateWithPriorityLua(int handler, int priority);
    int getUpdateScriptHandler() const { return _updateScriptHandler; }

    // Any object the owner of the node keeps with it; retained.
    void setUserObject(Ref* object);
    Ref* getUserObject() const { return _userObject; }

    // The node's physics body (retained; null for none). While the node runs in a
    // scene with a physics world, the body is in that world and the two move
    // together (engine/physics/PhysicsBody.h). A body of another node is not taken.
    void setPhysicsBody(PhysicsBody* body);
    PhysicsBody* getPhysicsBody() const { return _physicsBody; }
    // Takes the bodies of the node and its descendants out of their world.
    void removeFromPhysicsWorld();

    // Components (engine/scene/Component.h), retained. addComponent refuses null, a
    // component attached elsewhere, and a name that another component of the node
    // already has. While the node runs, each enabled component's update runs every
    // frame (none while it is outside the running scene); a component added to a running
    // node gets onEnter right after onAdd.
    bool addComponent(Component* component);
    Component* getComponent(const std::string& name) const;
    bool removeComponent(const std::string& name);
    bool removeComponent(Component* component);
    void removeAllComponents();
    const std::vector<Component*>& getComponents() const { return _components; }

protected:
    Node() = default;
    virtual bool init() { return true; }

    // The kept transform to the parent, worked out again when a geometry setter ran.
    const Mat4& nodeToParent() const;
    // The transform visit() drew the node with last: the parent's transform times
    // the node's own, worked out again only when either changed.
    const Mat4& getDrawTransform() const { return _drawTransform; }

private:
    void computeNodeToParent() const;
    // Makes _drawTransform parentTransform * nodeToParent(); keeps it when neither changed.
    void updateDrawTransform(const Mat4& parentTransform);
    void insertChild(Node* child);
    void joinPhysicsWorld();
    void detachChild(Node* child, bool cleanup);

    static uint64_t _treeGeneration;

    Node* _parent = nullptr;
    std::vector<Node*> _children;
    Vec2 _position;
    float _positionZ = 0.f;
    Size _contentSize;
    Vec2 _anchorPoint;
    bool _ignoreAnchorPointForPosition = false;
    float _scaleX = 1.f, _scaleY = 1.f, _scaleZ = 1.f;
    float _rotation = 0.f;
    float _skewX = 0.f, _skewY = 0.f;
    Vec3 _rotation3D;
    bool _hasRotationQuat = false;
    Quaternion _rotationQuat;
    bool _hasAdditionalTransform = false;
    Mat4 _additionalTransform;
    // Kept transforms. _nodeToParentIs2D: no depth part (a 2D affine transform).
    mutable Mat4 _nodeToParent;
    mutable bool _transformDirty = true;
    mutable bool _nodeToParentIs2D = true;
    mutable bool _nodeToParentChanged = true;   // since the draw transform was made
    Mat4 _drawTransform;
    Mat4 _drawParentTransform;      // the parent's transform it was made from
    uint64_t _drawVersion = 0;      // unique among all nodes; 0: none made yet
    uint64_t _drawParentVersion = 0;   // the parent's _drawVersion it was made from
    Color3B _color = Color3B::WHITE;
    uint8_t _opacity = 255;
    bool _cascadeColorEnabled = false;
    bool _cascadeOpacityEnabled = false;
    bool _visible = true;
    int _tag = INVALID_TAG;
    std::string _name;
    int _localZOrder = 0;
    bool _running = false;
    ActionManager* _actionManager = nullptr;   // retained from the first runAction
    friend class EventDispatcher;
    friend class ProtectedNode;   // parents children it keeps outside _children
    bool _listenersBound = false;              // the director's dispatcher holds listeners of it
    bool _updateScheduled = false;             // the director's scheduler holds an update of it
    bool _pauseCalled = false;                 // the scheduler may list it as paused
    void sendScriptEvent(int action);
    void releaseUpdateScriptHandler();
    int _updateScriptHandler = 0;
    Ref* _userObject = nullptr;
    PhysicsBody* _physicsBody = nullptr;

    float _globalZOrder = 0;
    GLProgramState* _glProgramState = nullptr;

    void scheduleComponentUpdates();
    void updateComponents(float delta);
    std::vector<Component*> _components;
};

}  // namespace engine
