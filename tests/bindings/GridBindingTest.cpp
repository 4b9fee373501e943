// The grid family as scripts see it: every effect, grid and transition made by
// its create with the usual arguments, a grid effect run on a NodeGrid moving
// the grid's points, and tiles read and written as tables of corners.
#include <gtest/gtest.h>

#include <string>

#include "BindingTestSupport.h"
#include "bindings/LuaChecks.h"
#include "engine/base/Scheduler.h"
#include "engine/scene/NodeGrid.h"

namespace bindingtest {
namespace {

using GridBindingTest = LuaEngineBindingTest;

TEST_F(GridBindingTest, EveryClassIsMadeByItsCreate) {
    ASSERT_EQ(run("size = {width = 4, height = 3} at = {x = 10, y = 20} scene = cc.Scene:create()"), "");
    const char* const cases[][2] = {
        {"cc.Grid3D:create(size)", "cc.Grid3D"},
        {"cc.TiledGrid3D:create(size, {x = 0, y = 0, width = 40, height = 30})", "cc.TiledGrid3D"},
        {"cc.NodeGrid:create()", "cc.NodeGrid"},
        {"cc.NodeGrid:create({x = 0, y = 0, width = 40, height = 30})", "cc.NodeGrid"},
        {"cc.ReuseGrid:create(2)", "cc.ReuseGrid"},
        {"cc.StopGrid:create()", "cc.StopGrid"},
        {"cc.Waves3D:create(1, size, 2, 5)", "cc.Waves3D"},
        {"cc.Waves:create(1, size, 2, 5, true, false)", "cc.Waves"},
        {"cc.Liquid:create(1, size, 2, 5)", "cc.Liquid"},
        {"cc.Ripple3D:create(1, size, at, 50, 2, 5)", "cc.Ripple3D"},
        {"cc.Twirl:create(1, size, at, 2, 5)", "cc.Twirl"},
        {"cc.Lens3D:create(1, size, at, 50)", "cc.Lens3D"},
        {"cc.Shaky3D:create(1, size, 4, true)", "cc.Shaky3D"},
        {"cc.FlipX3D:create(1)", "cc.FlipX3D"},
        {"cc.FlipY3D:create(1)", "cc.FlipY3D"},
        {"cc.PageTurn3D:create(1, size)", "cc.PageTurn3D"},
        {"cc.ShakyTiles3D:create(1, size, 4, false)", "cc.ShakyTiles3D"},
        {"cc.ShatteredTiles3D:create(1, size, 4, false)", "cc.ShatteredTiles3D"},
        {"cc.ShuffleTiles:create(1, size, 7)", "cc.ShuffleTiles"},
        {"cc.TurnOffTiles:create(1, size)", "cc.TurnOffTiles"},
        {"cc.TurnOffTiles:create(1, size, 7)", "cc.TurnOffTiles"},
        {"cc.FadeOutTRTiles:create(1, size)", "cc.FadeOutTRTiles"},
        {"cc.FadeOutBLTiles:create(1, size)", "cc.FadeOutBLTiles"},
        {"cc.FadeOutUpTiles:create(1, size)", "cc.FadeOutUpTiles"},
        {"cc.FadeOutDownTiles:create(1, size)", "cc.FadeOutDownTiles"},
        {"cc.WavesTiles3D:create(1, size, 2, 5)", "cc.WavesTiles3D"},
        {"cc.JumpTiles3D:create(1, size, 2, 5)", "cc.JumpTiles3D"},
        {"cc.SplitRows:create(1, 3)", "cc.SplitRows"},
        {"cc.SplitCols:create(1, 3)", "cc.SplitCols"},
        {"cc.TransitionFadeTR:create(1, scene)", "cc.TransitionFadeTR"},
        {"cc.TransitionFadeBL:create(1, scene)", "cc.TransitionFadeBL"},
        {"cc.TransitionFadeUp:create(1, scene)", "cc.TransitionFadeUp"},
        {"cc.TransitionFadeDown:create(1, scene)", "cc.TransitionFadeDown"},
        {"cc.TransitionTurnOffTiles:create(1, scene)", "cc.TransitionTurnOffTiles"},
        {"cc.TransitionSplitCols:create(1, scene)", "cc.TransitionSplitCols"},
        {"cc.TransitionSplitRows:create(1, scene)", "cc.TransitionSplitRows"},
        {"cc.TransitionPageTurn:create(1, scene, false)", "cc.TransitionPageTurn"},
        // reverse gives the base class its binding names
        {"cc.Waves3D:create(1, size, 2, 5):reverse()", "cc.GridAction"},
    };
    for (const auto& c : cases) EXPECT_EQ(eval(std::string("tolua.type(") + c[0] + ")"), c[1]) << c[0];
    EXPECT_EQ(eval("cc.Grid3D:create({width = 0, height = 3})"), "nil");
    EXPECT_EQ(eval("cc.Waves3D:create(1, size)"),
              "error: cc.Waves3D:create has wrong number of arguments: 2, was expecting 4 \n");
}

// A quarter of a second into a one-second Waves3D the middle point has risen by
// 10·sin(π/2 + 1); the grid is the node's, active, and amplitude setters stick.
TEST_F(GridBindingTest, EffectRunOnANodeGridMovesItsPoints) {
    ASSERT_EQ(run("node = cc.NodeGrid:create({x = 0, y = 0, width = 100, height = 100})\n"
                  "waves = cc.Waves3D:create(1, {width = 2, height = 2}, 1, 10)\n"
                  "node:runAction(waves)"),
              "");
    lua_getglobal(L, "node");
    auto* node = bindings::objectAt<engine::NodeGrid>(L, -1, "cc.NodeGrid");
    lua_pop(L, 1);
    ASSERT_NE(node, nullptr);
    node->onEnter();
    engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
    scheduler->update(0.25f);   // the first step shows the start
    scheduler->update(0.25f);
    EXPECT_EQ(eval("string.format('%.3f', waves:getVertex({x = 1, y = 1}).z)"), "5.403");
    EXPECT_EQ(eval("waves:getOriginalVertex({x = 1, y = 1}).z"), "0");
    EXPECT_EQ(eval("tolua.type(node:getGrid()) .. ' ' .. tostring(node:getGrid():isActive())"), "cc.Grid3D true");
    EXPECT_EQ(eval("rawequal(node:getGrid(), waves:getGrid())"), "true");
    EXPECT_EQ(eval("node:getGrid():getStep().x .. ' ' .. waves:getGridSize().width"), "50 2");
    EXPECT_EQ(run("waves:setAmplitudeRate(0.5) waves:setAmplitude(4)"), "");
    EXPECT_EQ(eval("waves:getAmplitude() * waves:getAmplitudeRate()"), "2");
    node->onExit();
}

TEST_F(GridBindingTest, TilesAreTablesOfCorners) {
    ASSERT_EQ(run("grid = cc.TiledGrid3D:create({width = 2, height = 2}, {x = 0, y = 0, width = 100, height = 60})\n"
                  "tile = grid:getTile({x = 1, y = 0})"),
              "");
    EXPECT_EQ(eval("tile.bl.x .. ',' .. tile.bl.y .. ' ' .. tile.tr.x .. ',' .. tile.tr.y"), "50,0 100,30");
    EXPECT_EQ(run("tile.tr.z = 7 grid:setTile({x = 1, y = 0}, tile)"), "");
    EXPECT_EQ(eval("grid:getTile({x = 1, y = 0}).tr.z .. ' ' .. grid:getOriginalTile({x = 1, y = 0}).tr.z"), "7 0");
    EXPECT_EQ(eval("grid:setTile({x = 0, y = 0}, {bl = {x = 1, y = 1, z = 1}})"),
              "error: invalid arguments in function 'lua_engine_TiledGrid3D_setTile'");
}

}  // namespace
}  // namespace bindingtest
