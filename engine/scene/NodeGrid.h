#pragma once
// A node that draws its children through a grid (engine/actions/Grid.h): the
// grid actions run on it (engine/actions/GridAction.h) make and move the grid.
// The grid rectangle (empty: the node's content size, else the win size) is
// where a new grid is laid. The target, when set, is a node drawn by this one
// (before its children) though it is not a child: transitions draw a scene
// through a grid this way. Grid and target are retained.
//
// While the grid is active its points are what the effect shows; the frame is
// still drawn from the children as they stand (this renderer has no
// render-to-texture pass to distort the picture with). Main thread only.
#include "engine/scene/Node.h"

namespace engine {

class GridBase;

class NodeGrid : public Node {
public:
    static NodeGrid* create();
    static NodeGrid* create(const Rect& rect);
    ~NodeGrid() override;

    GridBase* getGrid() const { return _grid; }
    void setGrid(GridBase* grid);
    Node* getTarget() const { return _target; }
    void setTarget(Node* target);
    const Rect& getGridRect() const { return _gridRect; }
    void setGridRect(const Rect& rect) { _gridRect = rect; }

    void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) override;

protected:
    NodeGrid() = default;

private:
    GridBase* _grid = nullptr;
    Node* _target = nullptr;
    Rect _gridRect;
};

}  // namespace engine
