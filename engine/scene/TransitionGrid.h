#pragma once
// Transitions drawn through grids (engine/scene/TransitionScene.h): a scene is
// shown through a NodeGrid (engine/scene/NodeGrid.h) whose tile or page effect
// follows the transition's progress.
//
//   TransitionFadeTR / BL / Up / Down  the outgoing scene's tiles shrink away
//       (FadeOutTRTiles ...) over the incoming scene, on a grid of
//       12 rows and 12 · (width / height) columns
//   TransitionTurnOffTiles  the outgoing scene's tiles go out one by one
//       (TurnOffTiles) over the incoming scene, on the same grid
//   TransitionSplitCols / SplitRows  the outgoing scene splits into 3 columns /
//       rows that slide away in the first half; the incoming one slides
//       together the same way in the second half
//   TransitionPageTurn  the outgoing scene turns away like a page over the
//       incoming one; backwards, the incoming scene turns in over the outgoing one
#include "engine/scene/TransitionScene.h"

namespace engine {

class NodeGrid;
class GridAction;
class TiledGrid3DAction;

class TransitionGridBase : public TransitionScene {
public:
    ~TransitionGridBase() override;
    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;
    // The grid node a scene is drawn through, and its action.
    NodeGrid* getOutGrid() const { return _outGrid; }
    NodeGrid* getInGrid() const { return _inGrid; }
    GridAction* getOutAction() const { return _outAction; }
    GridAction* getInAction() const { return _inAction; }

protected:
    TransitionGridBase() = default;
    // Sets the scene to be drawn through a new grid node with the action started on it.
    void throughGrid(bool outgoing, GridAction* action);
    // The grid of the tiled transitions: 12 rows, columns keeping cells square.
    static Size tileGridSize();

    NodeGrid* _outGrid = nullptr;
    NodeGrid* _inGrid = nullptr;
    GridAction* _outAction = nullptr;
    GridAction* _inAction = nullptr;
    bool _outOnTop = true;
};

class TransitionFadeTR : public TransitionGridBase {
public:
    static TransitionFadeTR* create(float duration, Scene* scene);
    virtual TiledGrid3DAction* actionWithSize(const Size& size);

protected:
    TransitionFadeTR() = default;
    bool initFade(float duration, Scene* scene);
    void apply(float progress) override;
};

#define VEXO_TILE_TRANSITION_CLASS(Name)                                    \
    class Name : public TransitionFadeTR {                                  \
    public:                                                                 \
        static Name* create(float duration, Scene* scene);                  \
        TiledGrid3DAction* actionWithSize(const Size& size) override;       \
    };

VEXO_TILE_TRANSITION_CLASS(TransitionFadeBL)
VEXO_TILE_TRANSITION_CLASS(TransitionFadeUp)
VEXO_TILE_TRANSITION_CLASS(TransitionFadeDown)
VEXO_TILE_TRANSITION_CLASS(TransitionTurnOffTiles)
#undef VEXO_TILE_TRANSITION_CLASS

class TransitionSplitCols : public TransitionGridBase {
public:
    static TransitionSplitCols* create(float duration, Scene* scene);
    virtual TiledGrid3DAction* action();

protected:
    TransitionSplitCols() = default;
    bool initSplit(float duration, Scene* scene);
    void apply(float progress) override;
};

class TransitionSplitRows : public TransitionSplitCols {
public:
    static TransitionSplitRows* create(float duration, Scene* scene);
    TiledGrid3DAction* action() override;
};

class TransitionPageTurn : public TransitionGridBase {
public:
    static TransitionPageTurn* create(float duration, Scene* scene, bool backwards);
    bool isBackwards() const { return _backwards; }

protected:
    TransitionPageTurn() = default;
    void apply(float progress) override;

private:
    bool _backwards = false;
};

}  // namespace engine
