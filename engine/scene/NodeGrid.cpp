#include "engine/scene/NodeGrid.h"

#include "engine/actions/Grid.h"

namespace engine {

NodeGrid* NodeGrid::create() { return create(Rect()); }

NodeGrid* NodeGrid::create(const Rect& rect) {
    auto* node = new NodeGrid;
    node->_gridRect = rect;
    node->autorelease();
    return node;
}

NodeGrid::~NodeGrid() {
    if (_grid) _grid->release();
    if (_target) _target->release();
}

void NodeGrid::setGrid(GridBase* grid) {
    if (grid) grid->retain();
    if (_grid) _grid->release();
    _grid = grid;
}

void NodeGrid::setTarget(Node* target) {
    if (target) target->retain();
    if (_target) _target->release();
    _target = target;
}

void NodeGrid::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!isVisible()) return;
    if (_target) _target->visit(renderer, parentTransform * getNodeToParentTransform(), parentFlags);
    Node::visit(renderer, parentTransform, parentFlags);
}

}  // namespace engine
