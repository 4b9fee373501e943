#pragma once
// A node with a second set of children of its own: protected children are
// parented, transformed, run and drawn like children, but getChildren and the
// child calls (addChild, removeChild, removeAllChildren...) never see them, so
// a widget's inner parts stay out of its users' way. Protected children below
// z-order 0 are drawn before the node itself and its children, the others after
// them; among themselves by z-order, then in the order added.
#include <vector>

#include "engine/scene/Node.h"

namespace engine {

class ProtectedNode : public Node {
public:
    static ProtectedNode* create();   // autoreleased
    ~ProtectedNode() override;

    // Retains the child; refuses (with a log line) what addChild refuses.
    void addProtectedChild(Node* child, int localZOrder = 0, int tag = INVALID_TAG);
    Node* getProtectedChildByTag(int tag) const;
    const std::vector<Node*>& getProtectedChildren() const { return _protectedChildren; }
    // Not a protected child: nothing happens.
    void removeProtectedChild(Node* child, bool cleanup = true);
    void removeProtectedChildByTag(int tag, bool cleanup = true);
    void removeAllProtectedChildren() { removeAllProtectedChildrenWithCleanup(true); }
    void removeAllProtectedChildrenWithCleanup(bool cleanup);
    void reorderProtectedChild(Node* child, int localZOrder);

    void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) override;
    void onEnter() override;
    void onExit() override;
    void onEnterTransitionDidFinish() override;
    void onExitTransitionDidStart() override;
    void cleanup() override;

protected:
    ProtectedNode() = default;

private:
    void insertProtected(Node* child);
    void detachProtected(Node* child, bool cleanup);
    // Calls fn on a held copy of the list (calls may change it).
    template <class Fn>
    void forEachProtected(Fn fn);

    std::vector<Node*> _protectedChildren;   // retained, by z-order
};

}  // namespace engine
