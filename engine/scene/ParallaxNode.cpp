#include "engine/scene/ParallaxNode.h"

#include <algorithm>

namespace engine {

ParallaxNode* ParallaxNode::create() { return autoreleased(new ParallaxNode, true); }

ParallaxNode::~ParallaxNode() {
    for (Entry& entry : _entries) entry.child->release();
}

void ParallaxNode::addChild(Node* child, int z, const Vec2& ratio, const Vec2& offset) {
    if (!child || child->getParent()) {
        Node::addChild(child, z);   // refused there, with its log line
        return;
    }
    child->retain();
    _entries.push_back(Entry{child, ratio, offset});
    Node::addChild(child, z);
    updateChildPositions();
}

bool ParallaxNode::getParallax(Node* child, Vec2* ratio, Vec2* offset) const {
    for (const Entry& entry : _entries) {
        if (entry.child != child || child->getParent() != this) continue;
        if (ratio) *ratio = entry.ratio;
        if (offset) *offset = entry.offset;
        return true;
    }
    return false;
}

void ParallaxNode::updateChildPositions() {
    // Entries of children that have left are let go here.
    for (auto it = _entries.begin(); it != _entries.end();) {
        if (it->child->getParent() != this) {
            it->child->release();
            it = _entries.erase(it);
            continue;
        }
        const Vec2& at = getPosition();
        it->child->setPosition(-at.x + at.x * it->ratio.x + it->offset.x, -at.y + at.y * it->ratio.y + it->offset.y);
        ++it;
    }
}

void ParallaxNode::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    updateChildPositions();
    Node::visit(renderer, parentTransform, parentFlags);
}

}  // namespace engine
