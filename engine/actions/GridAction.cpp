#include "engine/actions/GridAction.h"

#include "engine/base/Director.h"
#include "engine/scene/NodeGrid.h"

namespace engine {

GridAction* GridAction::create(float duration) {
    auto* action = new GridAction;
    action->ActionInterval::initWithDuration(duration);
    action->autorelease();
    return action;
}

GridAction::~GridAction() {
    if (_grid) _grid->release();
}

bool GridAction::initWithDuration(float duration, const Size& gridSize) {
    ActionInterval::initWithDuration(duration);
    _gridSize = gridSize;
    return true;
}

GridAction* GridAction::clone() const {
    GridAction* copy = create(getDuration());
    return sameWay(copy);
}

GridAction* GridAction::reverse() const {
    GridAction* copy = clone();
    if (copy) copy->_backwards = !_backwards;
    return copy;
}

GridBase* GridAction::newGrid(const Rect&) const { return nullptr; }
bool GridAction::acceptsGrid(GridBase*) const { return false; }

void GridAction::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _progress = 0.f;
    GridBase* grid = nullptr;
    auto* nodeGrid = dynamic_cast<NodeGrid*>(target);
    GridBase* current = nodeGrid ? nodeGrid->getGrid() : nullptr;
    if (current && current->isActive() && current->getReuseGrid() > 0 && acceptsGrid(current) &&
        current->getGridSize() == _gridSize) {
        current->reuse();
        grid = current;
    } else {
        Rect rect = nodeGrid ? nodeGrid->getGridRect() : Rect();
        if (rect.size.width <= 0 || rect.size.height <= 0) {
            rect = target ? Rect(0, 0, target->getContentSize().width, target->getContentSize().height) : Rect();
        }
        if (rect.size.width <= 0 || rect.size.height <= 0) {
            const Size win = Director::getInstance()->getWinSize();
            rect = Rect(0, 0, win.width, win.height);
        }
        grid = newGrid(rect);
        if (grid) {
            grid->setActive(true);
            if (nodeGrid) nodeGrid->setGrid(grid);
        }
    }
    if (grid) grid->retain();
    if (_grid) _grid->release();
    _grid = grid;
}

void GridAction::update(float t) {
    _progress = _backwards ? 1.f - t : t;
    if (_grid) applyEffect(_progress);
}

// ---- Grid3DAction / TiledGrid3DAction

GridBase* Grid3DAction::newGrid(const Rect& rect) const { return Grid3D::create(getGridSize(), rect); }
bool Grid3DAction::acceptsGrid(GridBase* grid) const { return dynamic_cast<Grid3D*>(grid) != nullptr; }
Vec3 Grid3DAction::getVertex(const Vec2& position) const {
    return getGrid() ? grid3D()->getVertex(position) : Vec3{};
}
Vec3 Grid3DAction::getOriginalVertex(const Vec2& position) const {
    return getGrid() ? grid3D()->getOriginalVertex(position) : Vec3{};
}
void Grid3DAction::setVertex(const Vec2& position, const Vec3& vertex) {
    if (getGrid()) grid3D()->setVertex(position, vertex);
}

GridBase* TiledGrid3DAction::newGrid(const Rect& rect) const { return TiledGrid3D::create(getGridSize(), rect); }
bool TiledGrid3DAction::acceptsGrid(GridBase* grid) const { return dynamic_cast<TiledGrid3D*>(grid) != nullptr; }
Quad3 TiledGrid3DAction::getTile(const Vec2& position) const {
    return getGrid() ? tiledGrid()->getTile(position) : Quad3{};
}
Quad3 TiledGrid3DAction::getOriginalTile(const Vec2& position) const {
    return getGrid() ? tiledGrid()->getOriginalTile(position) : Quad3{};
}
void TiledGrid3DAction::setTile(const Vec2& position, const Quad3& tile) {
    if (getGrid()) tiledGrid()->setTile(position, tile);
}

// ---- ReuseGrid / StopGrid

ReuseGrid* ReuseGrid::create(int times) {
    auto* action = new ReuseGrid;
    action->_times = times;
    action->autorelease();
    return action;
}
ReuseGrid* ReuseGrid::clone() const { return create(_times); }
void ReuseGrid::startWithTarget(Node* target) {
    ActionInstant::startWithTarget(target);
    auto* nodeGrid = dynamic_cast<NodeGrid*>(target);
    if (nodeGrid && nodeGrid->getGrid() && nodeGrid->getGrid()->isActive()) {
        nodeGrid->getGrid()->setReuseGrid(nodeGrid->getGrid()->getReuseGrid() + _times);
    }
}

StopGrid* StopGrid::create() {
    auto* action = new StopGrid;
    action->autorelease();
    return action;
}
StopGrid* StopGrid::clone() const { return create(); }
void StopGrid::startWithTarget(Node* target) {
    ActionInstant::startWithTarget(target);
    auto* nodeGrid = dynamic_cast<NodeGrid*>(target);
    if (nodeGrid && nodeGrid->getGrid()) nodeGrid->getGrid()->setActive(false);
}

}  // namespace engine
