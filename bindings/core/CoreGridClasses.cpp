// The grids, the grid node, the grid effects and the grid transitions of the core table.
#include "bindings/core/CoreClassRows.h"

#include "engine/actions/GridEffects.h"
#include "engine/actions/TileEffects.h"
#include "engine/scene/NodeGrid.h"
#include "engine/scene/TransitionGrid.h"

namespace bindings {

namespace {

using namespace engine;

const Method kGridBaseMethods[] = {
    {"isActive", {method<&GridBase::isActive>()}},
    {"setActive", {method<&GridBase::setActive>()}},
    {"getReuseGrid", {method<&GridBase::getReuseGrid>()}},
    {"setReuseGrid", {method<&GridBase::setReuseGrid>()}},
    {"getGridSize", {method<&GridBase::getGridSize>()}},
    {"setGridSize", {method<&GridBase::setGridSize>()}},
    {"getStep", {method<&GridBase::getStep>()}},
    {"setStep", {method<&GridBase::setStep>()}},
    {"getGridRect", {method<&GridBase::getGridRect>()}},
    {"setGridRect", {method<&GridBase::setGridRect>()}},
    {"isTextureFlipped", {method<&GridBase::isTextureFlipped>()}},
    {"setTextureFlipped", {method<&GridBase::setTextureFlipped>()}},
    {"calculateVertexPoints", {method<&GridBase::calculateVertexPoints>()}},
    {"reuse", {method<&GridBase::reuse>()}},
};

// create(size[, rect]) of both grid kinds.
template <class T>
T* createGrid(const Size& size) {
    return T::create(size);
}
template <class T>
T* createGridInRect(const Size& size, const Rect& rect) {
    return T::create(size, rect);
}

const Method kGrid3DMethods[] = {
    {"create", {classFunction<&createGrid<Grid3D>>(), classFunction<&createGridInRect<Grid3D>>()}},
    {"getVertex", {method<&Grid3D::getVertex>()}},
    {"getOriginalVertex", {method<&Grid3D::getOriginalVertex>()}},
    {"setVertex", {method<&Grid3D::setVertex>()}},
    {"getNeedDepthTestForBlit", {method<&Grid3D::getNeedDepthTestForBlit>()}},
    {"setNeedDepthTestForBlit", {method<&Grid3D::setNeedDepthTestForBlit>()}},
};

const Method kTiledGrid3DMethods[] = {
    {"create", {classFunction<&createGrid<TiledGrid3D>>(), classFunction<&createGridInRect<TiledGrid3D>>()}},
    {"getTile", {method<&TiledGrid3D::getTile>()}},
    {"getOriginalTile", {method<&TiledGrid3D::getOriginalTile>()}},
    {"setTile", {method<&TiledGrid3D::setTile>()}},
};

NodeGrid* nodeGrid() { return NodeGrid::create(); }
NodeGrid* nodeGridInRect(const Rect& rect) { return NodeGrid::create(rect); }
const Method kNodeGridMethods[] = {
    {"create", {classFunction<&nodeGrid>(), classFunction<&nodeGridInRect>()}},
    {"getGrid", {method<&NodeGrid::getGrid>()}},
    {"setGrid", {method<&NodeGrid::setGrid>()}},
    {"getTarget", {method<&NodeGrid::getTarget>()}},
    {"setTarget", {method<&NodeGrid::setTarget>()}},
    {"getGridRect", {method<&NodeGrid::getGridRect>()}},
    {"setGridRect", {method<&NodeGrid::setGridRect>()}},
};

const Method kGrid3DActionMethods[] = {
    {"getVertex", {method<&Grid3DAction::getVertex>()}},
    {"getOriginalVertex", {method<&Grid3DAction::getOriginalVertex>()}},
    {"setVertex", {method<&Grid3DAction::setVertex>()}},
};
const Method kTiledGrid3DActionMethods[] = {
    {"getTile", {method<&TiledGrid3DAction::getTile>()}},
    {"getOriginalTile", {method<&TiledGrid3DAction::getOriginalTile>()}},
    {"setTile", {method<&TiledGrid3DAction::setTile>()}},
};


// create, then the amplitude and its rate.
template <class T, auto Create>
const Method kAmplitudeMethods[] = {
    {"create", {classFunction<Create>()}},
    {"getAmplitude", {method<&T::getAmplitude>()}},
    {"setAmplitude", {method<&T::setAmplitude>()}},
    {"getAmplitudeRate", {method<&T::getAmplitudeRate>()}},
    {"setAmplitudeRate", {method<&T::setAmplitudeRate>()}},
};
// The same with the centre of the effect.
template <class T, auto Create>
const Method kCentredAmplitudeMethods[] = {
    {"create", {classFunction<Create>()}},
    {"getAmplitude", {method<&T::getAmplitude>()}},
    {"setAmplitude", {method<&T::setAmplitude>()}},
    {"getAmplitudeRate", {method<&T::getAmplitudeRate>()}},
    {"setAmplitudeRate", {method<&T::setAmplitudeRate>()}},
    {"getPosition", {method<&T::getPosition>()}},
    {"setPosition", {method<&T::setPosition>()}},
};
template <auto Create>
const Method kCreateOnly[] = {{"create", {classFunction<Create>()}}};

const Method kLens3DMethods[] = {
    {"create", {classFunction<&Lens3D::create>()}},
    {"getLensEffect", {method<&Lens3D::getLensEffect>()}},
    {"setLensEffect", {method<&Lens3D::setLensEffect>()}},
    {"setConcave", {method<&Lens3D::setConcave>()}},
    {"getPosition", {method<&Lens3D::getPosition>()}},
    {"setPosition", {method<&Lens3D::setPosition>()}},
};

const Method kFadeOutTRTilesMethods[] = {
    {"create", {classFunction<&FadeOutTRTiles::create>()}},
    {"testFunc", {method<&FadeOutTRTiles::testFunc>()}},
    {"turnOnTile", {method<&FadeOutTRTiles::turnOnTile>()}},
    {"turnOffTile", {method<&FadeOutTRTiles::turnOffTile>()}},
    {"transformTile", {method<&FadeOutTRTiles::transformTile>()}},
};

TurnOffTiles* turnOffTiles(float duration, const Size& size) { return TurnOffTiles::create(duration, size); }
TurnOffTiles* turnOffTilesSeeded(float duration, const Size& size, unsigned int seed) {
    return TurnOffTiles::create(duration, size, seed);
}
const Method kTurnOffTilesMethods[] = {
    {"create", {classFunction<&turnOffTiles>(), classFunction<&turnOffTilesSeeded>()}},
    {"turnOnTile", {method<&TurnOffTiles::turnOnTile>()}},
    {"turnOffTile", {method<&TurnOffTiles::turnOffTile>()}},
};

const Method kTransitionFadeTRMethods[] = {
    {"create", {classFunction<&TransitionFadeTR::create>()}},
    {"actionWithSize", {method<&TransitionFadeTR::actionWithSize>()}},
};
const Method kTransitionSplitColsMethods[] = {
    {"create", {classFunction<&TransitionSplitCols::create>()}},
    {"action", {method<&TransitionSplitCols::action>()}},
};

const ClassEntry kRows[] = {
    classEntry<GridBase>("cc.GridBase", "cc.Ref", kGridBaseMethods),
    classEntry<Grid3D>("cc.Grid3D", "cc.GridBase", kGrid3DMethods),
    classEntry<TiledGrid3D>("cc.TiledGrid3D", "cc.GridBase", kTiledGrid3DMethods),
    classEntry<NodeGrid>("cc.NodeGrid", "cc.Node", kNodeGridMethods),
    classEntry<Grid3DAction>("cc.Grid3DAction", "cc.GridAction", kGrid3DActionMethods),
    classEntry<TiledGrid3DAction>("cc.TiledGrid3DAction", "cc.GridAction", kTiledGrid3DActionMethods),
    classEntry<ReuseGrid>("cc.ReuseGrid", "cc.ActionInstant", kCreateMethods<ReuseGrid>),
    classEntry<StopGrid>("cc.StopGrid", "cc.ActionInstant", kCreateMethods<StopGrid>),
    classEntry<Waves3D>("cc.Waves3D", "cc.Grid3DAction", kAmplitudeMethods<Waves3D, &Waves3D::create>),
    classEntry<Waves>("cc.Waves", "cc.Grid3DAction", kAmplitudeMethods<Waves, &Waves::create>),
    classEntry<Liquid>("cc.Liquid", "cc.Grid3DAction", kAmplitudeMethods<Liquid, &Liquid::create>),
    classEntry<Ripple3D>("cc.Ripple3D", "cc.Grid3DAction", kCentredAmplitudeMethods<Ripple3D, &Ripple3D::create>),
    classEntry<Twirl>("cc.Twirl", "cc.Grid3DAction", kCentredAmplitudeMethods<Twirl, &Twirl::create>),
    classEntry<Lens3D>("cc.Lens3D", "cc.Grid3DAction", kLens3DMethods),
    classEntry<Shaky3D>("cc.Shaky3D", "cc.Grid3DAction", kCreateOnly<&Shaky3D::create>),
    classEntry<FlipX3D>("cc.FlipX3D", "cc.Grid3DAction", kCreateOnly<&FlipX3D::create>),
    classEntry<FlipY3D>("cc.FlipY3D", "cc.Grid3DAction", kCreateOnly<&FlipY3D::create>),
    classEntry<PageTurn3D>("cc.PageTurn3D", "cc.Grid3DAction", kCreateOnly<&PageTurn3D::create>),
    classEntry<ShakyTiles3D>("cc.ShakyTiles3D", "cc.TiledGrid3DAction", kCreateOnly<&ShakyTiles3D::create>),
    classEntry<ShatteredTiles3D>("cc.ShatteredTiles3D", "cc.TiledGrid3DAction",
                                 kCreateOnly<&ShatteredTiles3D::create>),
    classEntry<ShuffleTiles>("cc.ShuffleTiles", "cc.TiledGrid3DAction", kCreateOnly<&ShuffleTiles::create>),
    classEntry<TurnOffTiles>("cc.TurnOffTiles", "cc.TiledGrid3DAction", kTurnOffTilesMethods),
    classEntry<FadeOutTRTiles>("cc.FadeOutTRTiles", "cc.TiledGrid3DAction", kFadeOutTRTilesMethods),
    classEntry<FadeOutBLTiles>("cc.FadeOutBLTiles", "cc.FadeOutTRTiles", kCreateOnly<&FadeOutBLTiles::create>),
    classEntry<FadeOutUpTiles>("cc.FadeOutUpTiles", "cc.FadeOutTRTiles", kCreateOnly<&FadeOutUpTiles::create>),
    classEntry<FadeOutDownTiles>("cc.FadeOutDownTiles", "cc.FadeOutUpTiles",
                                 kCreateOnly<&FadeOutDownTiles::create>),
    classEntry<WavesTiles3D>("cc.WavesTiles3D", "cc.TiledGrid3DAction",
                             kAmplitudeMethods<WavesTiles3D, &WavesTiles3D::create>),
    classEntry<JumpTiles3D>("cc.JumpTiles3D", "cc.TiledGrid3DAction",
                            kAmplitudeMethods<JumpTiles3D, &JumpTiles3D::create>),
    classEntry<SplitRows>("cc.SplitRows", "cc.TiledGrid3DAction", kCreateOnly<&SplitRows::create>),
    classEntry<SplitCols>("cc.SplitCols", "cc.TiledGrid3DAction", kCreateOnly<&SplitCols::create>),
    classEntry<TransitionFadeTR>("cc.TransitionFadeTR", "cc.TransitionScene", kTransitionFadeTRMethods),
    classEntry<TransitionFadeBL>("cc.TransitionFadeBL", "cc.TransitionFadeTR",
                                 kCreateOnly<&TransitionFadeBL::create>),
    classEntry<TransitionFadeUp>("cc.TransitionFadeUp", "cc.TransitionFadeTR",
                                 kCreateOnly<&TransitionFadeUp::create>),
    classEntry<TransitionFadeDown>("cc.TransitionFadeDown", "cc.TransitionFadeTR",
                                   kCreateOnly<&TransitionFadeDown::create>),
    classEntry<TransitionTurnOffTiles>("cc.TransitionTurnOffTiles", "cc.TransitionFadeTR",
                                       kCreateOnly<&TransitionTurnOffTiles::create>),
    classEntry<TransitionSplitCols>("cc.TransitionSplitCols", "cc.TransitionScene", kTransitionSplitColsMethods),
    classEntry<TransitionSplitRows>("cc.TransitionSplitRows", "cc.TransitionSplitCols",
                                    kCreateOnly<&TransitionSplitRows::create>),
    classEntry<TransitionPageTurn>("cc.TransitionPageTurn", "cc.TransitionScene",
                                   kCreateOnly<&TransitionPageTurn::create>),
};

}  // namespace

std::span<const ClassEntry> coreGridRows() { return kRows; }

}  // namespace bindings
