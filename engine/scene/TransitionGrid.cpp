#include "engine/scene/TransitionGrid.h"

#include <cmath>

#include "engine/actions/GridEffects.h"
#include "engine/actions/TileEffects.h"
#include "engine/base/Director.h"
#include "engine/scene/NodeGrid.h"

namespace engine {

namespace {

template <class T, class Init>
T* build(T* transition, Init init) {
    if (!init(transition)) {
        delete transition;
        return nullptr;
    }
    transition->autorelease();
    return transition;
}

}  // namespace

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

TransitionFadeTR* TransitionFadeTR::create(float duration, Scene* scene) {
    return build(new TransitionFadeTR, [&](TransitionFadeTR* t) { return t->initFade(duration, scene); });
}
bool TransitionFadeTR::initFade(float duration, Scene* scene) {
    if (!initWithDuration(duration, scene)) return false;
    if (_outScene) throughGrid(true, actionWithSize(tileGridSize()));
    return true;
}
TiledGrid3DAction* TransitionFadeTR::actionWithSize(const Size& size) {
    return FadeOutTRTiles::create(_duration, size);
}
void TransitionFadeTR::apply(float progress) {
    if (_outAction) _outAction->update(progress);
}

TransitionFadeBL* TransitionFadeBL::create(float duration, Scene* scene) {
    return build(new TransitionFadeBL, [&](TransitionFadeBL* t) { return t->initFade(duration, scene); });
}
TiledGrid3DAction* TransitionFadeBL::actionWithSize(const Size& size) {
    return FadeOutBLTiles::create(_duration, size);
}

TransitionFadeUp* TransitionFadeUp::create(float duration, Scene* scene) {
    return build(new TransitionFadeUp, [&](TransitionFadeUp* t) { return t->initFade(duration, scene); });
}
TiledGrid3DAction* TransitionFadeUp::actionWithSize(const Size& size) {
    return FadeOutUpTiles::create(_duration, size);
}

TransitionFadeDown* TransitionFadeDown::create(float duration, Scene* scene) {
    return build(new TransitionFadeDown, [&](TransitionFadeDown* t) { return t->initFade(duration, scene); });
}
TiledGrid3DAction* TransitionFadeDown::actionWithSize(const Size& size) {
    return FadeOutDownTiles::create(_duration, size);
}

TransitionTurnOffTiles* TransitionTurnOffTiles::create(float duration, Scene* scene) {
    return build(new TransitionTurnOffTiles, [&](TransitionTurnOffTiles* t) { return t->initFade(duration, scene); });
}
TiledGrid3DAction* TransitionTurnOffTiles::actionWithSize(const Size& size) {
    return TurnOffTiles::create(_duration, size);
}

// ---- Splitting

TransitionSplitCols* TransitionSplitCols::create(float duration, Scene* scene) {
    return build(new TransitionSplitCols, [&](TransitionSplitCols* t) { return t->initSplit(duration, scene); });
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
    return build(new TransitionSplitRows, [&](TransitionSplitRows* t) { return t->initSplit(duration, scene); });
}
TiledGrid3DAction* TransitionSplitRows::action() { return SplitRows::create(_duration / 2.f, 3); }

// ---- Page turn

TransitionPageTurn* TransitionPageTurn::create(float duration, Scene* scene, bool backwards) {
    return build(new TransitionPageTurn, [&](TransitionPageTurn* t) {
        if (!t->initWithDuration(duration, scene)) return false;
        t->_backwards = backwards;
        const Size win = Director::getInstance()->getWinSize();
        const Size grid(std::max(1.f, std::floor(16.f * (win.height > 0 ? win.width / win.height : 1.f))), 16.f);
        if (backwards) {
            t->_outOnTop = false;
            t->throughGrid(false, PageTurn3D::create(duration, grid));
        } else if (t->_outScene) {
            t->throughGrid(true, PageTurn3D::create(duration, grid));
        }
        return true;
    });
}
void TransitionPageTurn::apply(float progress) {
    if (_backwards) {
        if (_inAction) _inAction->update(1.f - progress);
    } else if (_outAction) {
        _outAction->update(progress);
    }
}

}  // namespace engine
