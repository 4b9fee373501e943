#pragma once
// A node of the scene graph: position, size, anchor, scale, visibility, a tag and a
// name, and children ordered by their local z-order.
#include <string>
#include <vector>

#include "engine/base/Mat4.h"
#include "engine/base/Ref.h"
#include "engine/base/Types.h"

namespace engine {

class Action;
class ActionManager;
class Renderer;
class GLProgram;
class GLProgramState;

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
    const std::vector<Node*>& getChildren() const { return _children; }
    size_t getChildrenCount() const { return _children.size(); }
    // The first child (in child order) with the tag / name; nullptr when none.
    Node* getChildByTag(int tag) const;
    Node* getChildByName(const std::string& name) const;
    Node* getParent() const { return _parent; }

    void setPosition(const Vec2& position) { _position = position; }
    void setPosition(float x, float y) { _position = Vec2(x, y); }
    const Vec2& getPosition() const { return _position; }
    virtual void setContentSize(const Size& size) { _contentSize = size; }
    const Size& getContentSize() const { return _contentSize; }
    void setAnchorPoint(const Vec2& anchor) { _anchorPoint = anchor; }
    const Vec2& getAnchorPoint() const { return _anchorPoint; }
    void setScale(float scale) { _scale = scale; }
    float getScale() const { return _scale; }
    void setVisible(bool visible) { _visible = visible; }
    bool isVisible() const { return _visible; }
    void setTag(int tag) { _tag = tag; }
    int getTag() const { return _tag; }
    void setName(const std::string& name) { _name = name; }
    const std::string& getName() const { return _name; }
    // Moves the node among its siblings: after every sibling of the same or a lower z-order.
    void setLocalZOrder(int localZOrder);
    int getLocalZOrder() const { return _localZOrder; }

    // Entering and leaving the running scene, recursively (the node first on enter,
    // the children first on exit).
    virtual void onEnter();
    virtual void onExit();
    bool isRunning() const { return _running; }
    // Stops everything the node has scheduled (its target in the director's
    // scheduler) and its actions, recursively.
    virtual void cleanup();

    // Actions, run by the director's action manager; paused while the node is not
    // in the running scene. runAction returns the action (nullptr for none).
    Action* runAction(Action* action);
    void stopAllActions();
    void stopAction(Action* action);
    void stopActionByTag(int tag);
    Action* getActionByTag(int tag) const;
    size_t getNumberOfRunningActions() const;

    // Drawing. visit() skips an invisible node; otherwise transform = parent's
    // transform * node-to-parent, the children of negative local z-order are
    // visited first, then the node's draw(), then the other children; the
    // director's model-view top is the node's transform meanwhile. draw() queues
    // the node's render commands (nothing for a plain node).
    virtual void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags);
    virtual void draw(Renderer* renderer, const Mat4& transform, uint32_t flags);
    // Orders render commands across the whole frame (lower first); 0 by default.
    void setGlobalZOrder(float globalZOrder) { _globalZOrder = globalZOrder; }
    float getGlobalZOrder() const { return _globalZOrder; }
    // The shader state draw() uses; retained. Null by default.
    void setGLProgramState(GLProgramState* state);
    GLProgramState* getGLProgramState() const { return _glProgramState; }
    void setGLProgram(GLProgram* program);   // through the program's shared state
    GLProgram* getGLProgram() const;

    // Per-frame update: scheduleUpdate() has the director's scheduler call update(dt)
    // every frame (priority 0) until unscheduleUpdate() or cleanup().
    void scheduleUpdate();
    void unscheduleUpdate();
    virtual void update(float delta);

protected:
    Node() = default;
    virtual bool init() { return true; }

private:
    void insertChild(Node* child);
    void detachChild(Node* child, bool cleanup);

    Node* _parent = nullptr;
    std::vector<Node*> _children;
    Vec2 _position;
    Size _contentSize;
    Vec2 _anchorPoint;
    float _scale = 1.f;
    bool _visible = true;
    int _tag = INVALID_TAG;
    std::string _name;
    int _localZOrder = 0;
    bool _running = false;
    ActionManager* _actionManager = nullptr;   // retained from the first runAction

    float _globalZOrder = 0;
    GLProgramState* _glProgramState = nullptr;
};

}  // namespace engine
