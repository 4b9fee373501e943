#pragma once
// A node that draws its children through a grid (engine/actions/Grid.h): the
// grid actions run on it (engine/actions/GridAction.h) make and move the grid.
// The grid rectangle (empty: the node's content size, else the win size) is
// where a new grid is laid. The target, when set, is a node drawn by this one
// (before its children) though it is not a child: transitions draw a scene
// through a grid this way. Grid and target are retained.
//
// While the grid is active and a GL context draws, the node captures the frame
// drawn by its target and children into an off-screen buffer the size of the
// window, then draws that picture through the grid: each grid point shows the
// window spot its original place covered, at its current place (in the node's
// space). Without a context, or without an active grid, it draws plainly. The
// capture covers the commands queued between the node's own, at its global Z.
// Main thread only.
#include <vector>

#include "engine/renderer/Renderer.h"
#include "engine/scene/Node.h"

namespace engine {

class GridBase;
namespace experimental {
class FrameBuffer;
}

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
    void beginCapture();
    void drawThroughGrid(const Mat4& transform);

    GridBase* _grid = nullptr;
    Node* _target = nullptr;
    Rect _gridRect;
    experimental::FrameBuffer* _capture = nullptr;   // retained; made on first capture
    CustomCommand _beginCommand, _endCommand;
    std::vector<float> _positions, _texCoords;
    std::vector<unsigned short> _indices;
};

}  // namespace engine
