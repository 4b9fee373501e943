#pragma once
// A node whose children move at their own rate as the node moves: a child added
// with a ratio and an offset is placed, whenever the node is drawn, so that it
// shows at (node position x ratio + offset) in the node's parent's space. A
// ratio of (1, 1) moves with the node, (0, 0) stays put, (0.5, 0.5) drifts at
// half speed. Children added with the plain addChild keep their own position.
#include <vector>

#include "engine/scene/Node.h"

namespace engine {

class ParallaxNode : public Node {
public:
    static ParallaxNode* create();   // autoreleased
    ~ParallaxNode() override;

    // Adds the child (as Node::addChild would) with its ratio and offset, and
    // places it at once.
    void addChild(Node* child, int z, const Vec2& ratio, const Vec2& offset);
    using Node::addChild;
    // The child's ratio and offset; false when it was not added with them.
    bool getParallax(Node* child, Vec2* ratio, Vec2* offset) const;

    // Places the children for the node's position (drawing does it too).
    void updateChildPositions();
    void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) override;

private:
    ParallaxNode() = default;
    struct Entry {
        Node* child;   // retained while it has an entry
        Vec2 ratio;
        Vec2 offset;
    };
    std::vector<Entry> _entries;
};

}  // namespace engine
