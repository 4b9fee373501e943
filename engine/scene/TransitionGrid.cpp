#include "engine/scene/TransitionGrid.h"

#include <cmath>

#include "engine/actions/GridEffects.h"
#include "engine/actions/TileEffects.h"
#include "engine/base/Director.h"
#include "engine/scene/NodeGrid.h"

namespace engine {

TransitionGridBase::~TransitionGridBase() {
    for (Ref* held : {static_cast<Ref*>(_outGrid), static_cast<Ref*>(_inGrid), static_cast<Ref*>(_outAction),
                      static_cast<Ref*>(_inAction)}) {
        if (held) held->release();
    }
}

Size TransitionGridBase::tileGridSize() {
    const Size win = Director::getInstance()->getWinSize();
    const float aspect = win.height > 0 ? win.width / win.height : 1.f;
    return Size(std::max(1.f, std::floor(12.f * aspect)), 12.f);
}

void TransitionGridBase::throughGrid(bool outgoing, GridAction* action) {
    Scene* scene = outgoing ? _outScene : _inScene;
    NodeGrid*& grid = outgoing ? _outGrid : _inGrid;
    GridAction*& held = outgoing ? _outAction : _inAction;
    if (!action) return;
    grid = NodeGrid::create();
    grid->retain();
    grid->setTarget(scene);
    action->retain();
    held = action;
    action->startWithTarget(grid);
}

void TransitionGridBase::draw(Renderer* renderer, const Mat4& transform, uint32_t flags) {
    Node* out = _outGrid ? static_cast<Node*>(_outGrid) : _outScene;
    Node* in = _inGrid ? static_cast<Node*>(_inGrid) : _inScene;
    Node* first = _outOnTop ? in : out;
    Node* second = _outOnTop ? out : in;
    if (first) first->visit(renderer, transform, flags);
    if (second) second->visit(renderer, transform, flags);
}

// ---- Fading tiles

bool TransitionFadeTR::initFade(float duration, Scene* scene) {
    if (!initWithDuration(duration, scene)) return false;
    if (_outScene) throughGrid(true, actionWithSize(tileGridSize()));
    return true;
}
void TransitionFadeTR::apply(float progress) {
    if (_outAction) _outAction->update(progress);
}

#define VEXO_TILE_TRANSITION_DEFS(Name, Tiles)                                       \
    Name* Name::create(float duration, Scene* scene) {                              \
        auto* transition = new Name;                                                \
        return autoreleased(transition, transition->initFade(duration, scene));     \
    }                                                                               \
    TiledGrid3DAction* Name::actionWithSize(const Size& size) { return Tiles::create(_duration, size); }

VEXO_TILE_TRANSITION_DEFS(TransitionFadeTR, FadeOutTRTiles)
VEXO_TILE_TRANSITION_DEFS(TransitionFadeBL, FadeOutBLTiles)
VEXO_TILE_TRANSITION_DEFS(TransitionFadeUp, FadeOutUpTiles)
VEXO_TILE_TRANSITION_DEFS(TransitionFadeDown, FadeOutDownTiles)
VEXO_TILE_TRANSITION_DEFS(TransitionTurnOffTiles, TurnOffTiles)
#undef VEXO_TILE_TRANSITION_DEFS

// ---- Splitting

TransitionSplitCols* TransitionSplitCols::create(float duration, Scene* scene) {
    auto* transition = new TransitionSplitCols;
    return autoreleased(transition, transition->initSplit(duration, scene));
}
bool TransitionSplitCols::initSplit(float duration, Scene* scene) {
    if (!initWithDuration(duration, scene)) return false;
    if (_outScene) throughGrid(true, action());
    throughGrid(false, action());
    return true;
}
TiledGrid3DAction* TransitionSplitCols::action() { return SplitCols::create(_duration / 2.f, 3); }
void TransitionSplitCols::apply(float progress) {
    const bool firstHalf = progress < 0.5f;
    if (_outGrid) _outGrid->setVisible(firstHalf);
    if (_inGrid) _inGrid->setVisible(!firstHalf);
    if (firstHalf) {
        if (_outAction) _outAction->update(progress * 2.f);
    } else if (_inAction) {
        _inAction->update((1.f - progress) * 2.f);
    }
}

TransitionSplitRows* TransitionSplitRows::create(float duration, Scene* scene) {
    auto* transition = new TransitionSplitRows;
    return autoreleased(transition, transition->initSplit(duration, scene));
}
TiledGrid3DAction* TransitionSplitRows::action() { return SplitRows::create(_duration / 2.f, 3); }

// ---- Page turn

TransitionPageTurn* TransitionPageTurn::create(float duration, Scene* scene, bool backwards) {
    auto* t = new TransitionPageTurn;
    const bool ready = t->initWithDuration(duration, scene);
    if (ready) {
        t->_backwards = backwards;
        const Size win = Director::getInstance()->getWinSize();
        const Size grid(std::max(1.f, std::floor(16.f * (win.height > 0 ? win.width / win.height : 1.f))), 16.f);
        if (backwards) {
            t->_outOnTop = false;
            t->throughGrid(false, PageTurn3D::create(duration, grid));
        } else if (t->_outScene) {
            t->throughGrid(true, PageTurn3D::create(duration, grid));
        }
    }
    return autoreleased(t, ready);
}
void TransitionPageTurn::apply(float progress) {
    if (_backwards) {
        if (_inAction) _inAction->update(1.f - progress);
    } else if (_outAction) {
        _outAction->update(progress);
    }
}

}  // namespace engine
