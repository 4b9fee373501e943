#pragma once
// The grid effects: timed actions that move the points of a grid
// (engine/actions/Grid.h) through which a NodeGrid (engine/scene/NodeGrid.h)
// draws its content.
//
// Started on a NodeGrid, a grid action works on the node's grid when that grid
// is active, of the action's kind and size, and left for reuse (ReuseGrid);
// otherwise it makes a new grid over the node's grid rectangle (its content
// size when the rectangle is empty, the win size when that is empty too), gives
// it to the node and activates it. Started on another node it works on a grid
// of its own, which nothing draws. The grid stays on the node when the action
// ends (StopGrid deactivates it).
//
// Each step applies the effect at the progress reached; the reverse of an
// action (the same action run backwards) applies 1 - t. GridAction itself has
// no grid and no effect: it only keeps the progress it last applied.
#include "engine/actions/ActionInstant.h"
#include "engine/actions/ActionInterval.h"
#include "engine/actions/Grid.h"

namespace engine {

class GridAction : public ActionInterval {
public:
    static GridAction* create(float duration);
    ~GridAction() override;
    GridAction* clone() const override;
    // A copy run backwards; nullptr when the action cannot be copied.
    GridAction* reverse() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;
    // The progress last applied (0 before the first step).
    float getProgress() const { return _progress; }
    bool isBackwards() const { return _backwards; }
    const Size& getGridSize() const { return _gridSize; }
    // The grid the action works on; null before it starts (and for GridAction).
    GridBase* getGrid() const { return _grid; }

protected:
    GridAction() = default;
    bool initWithDuration(float duration, const Size& gridSize);
    // A new grid of the action's kind over rect; null for GridAction.
    virtual GridBase* newGrid(const Rect& rect) const;
    virtual bool acceptsGrid(GridBase* grid) const;
    virtual void applyEffect(float progress) { (void)progress; }
    // The end of an effect's create(): a new T over gridSize for duration, with
    // its own settings given by set(T&), autoreleased.
    template <class T, class Set>
    static T* made(float duration, const Size& gridSize, Set set) {
        auto* action = new T;
        static_cast<GridAction*>(action)->initWithDuration(duration, gridSize);
        set(*action);
        return autoreleased(action);
    }
    template <class T>
    static T* made(float duration, const Size& gridSize) {
        return made<T>(duration, gridSize, [](T&) {});
    }
    // The copy runs the same way as this action.
    template <class T>
    T* sameWay(T* copy) const {
        if (copy) static_cast<GridAction*>(copy)->_backwards = _backwards;
        return copy;
    }

private:
    Size _gridSize;
    GridBase* _grid = nullptr;   // retained while started
    float _progress = 0.f;
    bool _backwards = false;
};

// Effects on the shared points of a Grid3D. Positions are (column, row).
class Grid3DAction : public GridAction {
public:
    Vec3 getVertex(const Vec2& position) const;
    Vec3 getOriginalVertex(const Vec2& position) const;
    void setVertex(const Vec2& position, const Vec3& vertex);

protected:
    GridBase* newGrid(const Rect& rect) const override;
    bool acceptsGrid(GridBase* grid) const override;
    Grid3D* grid3D() const { return static_cast<Grid3D*>(getGrid()); }
};

// Effects on the separate tiles of a TiledGrid3D.
class TiledGrid3DAction : public GridAction {
public:
    Quad3 getTile(const Vec2& position) const;
    Quad3 getOriginalTile(const Vec2& position) const;
    void setTile(const Vec2& position, const Quad3& tile);

protected:
    GridBase* newGrid(const Rect& rect) const override;
    bool acceptsGrid(GridBase* grid) const override;
    TiledGrid3D* tiledGrid() const { return static_cast<TiledGrid3D*>(getGrid()); }
};

// Lets the next grid actions (times of them) build on the target NodeGrid's
// current grid instead of making new ones.
class ReuseGrid : public ActionInstant {
public:
    static ReuseGrid* create(int times);
    ReuseGrid* clone() const override;
    void startWithTarget(Node* target) override;

private:
    ReuseGrid() = default;
    int _times = 0;
};

// Deactivates the target NodeGrid's grid: the node draws plainly again.
class StopGrid : public ActionInstant {
public:
    static StopGrid* create();
    StopGrid* clone() const override;
    void startWithTarget(Node* target) override;

private:
    StopGrid() = default;
};

}  // namespace engine
