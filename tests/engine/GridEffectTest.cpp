// Grid effects: the points of the grids at known times, the tile shuffles that
// reach every cell once, grids shared between actions on a NodeGrid, and the
// grid transitions following their progress.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <set>
#include <utility>
#include <vector>

#include "engine/actions/GridEffects.h"
#include "engine/actions/TileEffects.h"
#include "engine/app/GLView.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/GLRecorder.h"
#include "engine/renderer/Renderer.h"
#include "engine/scene/Layer.h"
#include "engine/scene/NodeGrid.h"
#include "engine/scene/TransitionGrid.h"

using namespace engine;

namespace {

struct GridEffectTest : ::testing::Test {
    ~GridEffectTest() override {
        for (Node* node : held) node->release();
        AutoreleasePool::getInstance()->clear();
        Director::destroyInstance();
        AutoreleasePool::getInstance()->clear();
    }

    // The action started on a new NodeGrid over (0, 0, 100, 100) and applied at t.
    NodeGrid* runAt(GridAction* action, float t) {
        NodeGrid* node = NodeGrid::create(Rect(0, 0, 100, 100));
        node->retain();
        held.push_back(node);
        action->startWithTarget(node);
        action->update(t);
        return node;
    }

    std::vector<Node*> held;
};

Vec3 vertexAt(GridAction* action, float i, float j) { return static_cast<Grid3D*>(action->getGrid())->getVertex(Vec2(i, j)); }
Quad3 tileAt(GridAction* action, float i, float j) {
    return static_cast<TiledGrid3D*>(action->getGrid())->getTile(Vec2(i, j));
}

TEST_F(GridEffectTest, PointsAtKnownTimes) {
    const Size grid2(2, 2);
    struct Case {
        const char* name;
        std::function<GridAction*()> make;
        float t;
        std::function<float(GridAction*)> probe;
        float expected;
    } cases[] = {
        {"waves 3D z of the middle point", [&] { return Waves3D::create(1, grid2, 1, 10); }, 0.25f,
         [](GridAction* a) { return vertexAt(a, 1, 1).z; }, 10 * std::cos(1.f)},
        {"waves 3D reversed at 3/4 is the forward at 1/4", [&] { return Waves3D::create(1, grid2, 1, 10)->reverse(); },
         0.75f, [](GridAction* a) { return vertexAt(a, 1, 1).z; }, 10 * std::cos(1.f)},
        {"horizontal waves move y", [&] { return Waves::create(1, grid2, 2, 10, true, false); }, 0.25f,
         [](GridAction* a) { return vertexAt(a, 1, 0).y; }, 10 * std::sin(3.14159265f + 0.5f)},
        {"horizontal waves keep x", [&] { return Waves::create(1, grid2, 2, 10, true, false); }, 0.25f,
         [](GridAction* a) { return vertexAt(a, 1, 0).x; }, 50},
        {"liquid moves inner points", [&] { return Liquid::create(1, grid2, 1, 10); }, 0.25f,
         [](GridAction* a) { return vertexAt(a, 1, 1).x; }, 50 + 10 * std::cos(0.5f)},
        {"liquid holds the edges", [&] { return Liquid::create(1, grid2, 1, 10); }, 0.25f,
         [](GridAction* a) { return vertexAt(a, 2, 1).x; }, 100},
        {"ripple fades with distance", [&] { return Ripple3D::create(1, grid2, Vec2(50, 50), 100, 1, 10); }, 0.25f,
         [](GridAction* a) { return vertexAt(a, 0, 0).z; },
         std::cos(50 * std::sqrt(2.f) * 0.1f) * 10 * std::pow(1 - 0.5f * std::sqrt(2.f), 2.f)},
        {"lens pushes out", [&] { return Lens3D::create(1, grid2, Vec2(50, 50), 100); }, 0.f,
         [](GridAction* a) { return vertexAt(a, 0, 0).x; }, 50 - 50 * (1 + 0.7f * (1 - 0.5f * std::sqrt(2.f)))},
        {"lens leaves the centre", [&] { return Lens3D::create(1, grid2, Vec2(50, 50), 100); }, 0.f,
         [](GridAction* a) { return vertexAt(a, 1, 1).x; }, 50},
        {"twirl keeps the centre", [&] { return Twirl::create(1, grid2, Vec2(50, 50), 1, 10); }, 0.3f,
         [](GridAction* a) { return vertexAt(a, 1, 1).y; }, 50},
        {"twirl keeps distances", [&] { return Twirl::create(1, grid2, Vec2(50, 50), 1, 10); }, 0.3f,
         [](GridAction* a) { return std::hypot(vertexAt(a, 2, 2).x - 50, vertexAt(a, 2, 2).y - 50); },
         50 * std::sqrt(2.f)},
        {"flip x half-way stands on edge", [] { return FlipX3D::create(1); }, 0.5f,
         [](GridAction* a) { return vertexAt(a, 0, 0).z; }, -50},
        {"flip y at the end mirrors", [] { return FlipY3D::create(1); }, 1.f,
         [](GridAction* a) { return vertexAt(a, 0, 0).y; }, 100},
        {"page turn holds the hinge", [&] { return PageTurn3D::create(1, grid2); }, 0.5f,
         [](GridAction* a) { return vertexAt(a, 0, 2).x; }, 0},
        {"page turn lifts the far edge", [&] { return PageTurn3D::create(1, grid2); }, 0.5f,
         [](GridAction* a) { return vertexAt(a, 2, 0).z; }, 100},
        {"jumping tiles: even up", [&] { return JumpTiles3D::create(1, grid2, 1, 10); }, 0.25f,
         [](GridAction* a) { return tileAt(a, 0, 0).tr.z; }, 10},
        {"jumping tiles: odd down", [&] { return JumpTiles3D::create(1, grid2, 1, 10); }, 0.25f,
         [](GridAction* a) { return tileAt(a, 1, 0).bl.z; }, -10},
        {"waving tiles move as one", [&] { return WavesTiles3D::create(1, grid2, 1, 10); }, 0.25f,
         [](GridAction* a) { return tileAt(a, 1, 1).tl.z; }, 10 * std::cos(1.f)},
        {"split columns: even up", [] { return SplitCols::create(1, 3); }, 0.5f,
         [](GridAction* a) { return tileAt(a, 0, 0).bl.y; }, 50},
        {"split columns: odd down", [] { return SplitCols::create(1, 3); }, 0.5f,
         [](GridAction* a) { return tileAt(a, 1, 0).tl.y; }, 50},
        {"split rows: odd left", [] { return SplitRows::create(1, 2); }, 0.25f,
         [](GridAction* a) { return tileAt(a, 0, 1).br.x; }, 75},
        {"fade TR: the front tile shrinks", [&] { return FadeOutTRTiles::create(1, grid2); }, 0.5f,
         [](GridAction* a) { return tileAt(a, 1, 0).bl.x; }, 75 - 25 / 64.f},
        {"fade TR: behind the front, out", [&] { return FadeOutTRTiles::create(1, grid2); }, 0.5f,
         [](GridAction* a) { return tileAt(a, 0, 0).tr.x; }, 0},
        {"fade TR: ahead of the front, whole", [&] { return FadeOutTRTiles::create(1, grid2); }, 0.5f,
         [](GridAction* a) { return tileAt(a, 1, 1).tr.y; }, 100},
        {"fade BL: the far corner shrinks first", [&] { return FadeOutBLTiles::create(1, grid2); }, 0.75f,
         [](GridAction* a) { return tileAt(a, 1, 1).tr.x; }, 75 + 25 / 64.f},
        {"fade BL: the near corner stays", [&] { return FadeOutBLTiles::create(1, grid2); }, 0.75f,
         [](GridAction* a) { return tileAt(a, 0, 0).tr.x; }, 50},
        {"fade up: shrinks in height only", [&] { return FadeOutUpTiles::create(1, Size(2, 4)); }, 0.5f,
         [](GridAction* a) { return tileAt(a, 0, 1).tl.y - tileAt(a, 0, 1).bl.y + tileAt(a, 0, 1).br.x; },
         25 / 64.f + 50},
        {"fade down: the top row goes first", [&] { return FadeOutDownTiles::create(1, Size(2, 4)); }, 0.5f,
         [](GridAction* a) { return tileAt(a, 0, 3).tl.y - tileAt(a, 0, 3).bl.y; }, 25 * std::pow(2 / 3.f, 6.f)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GridAction* action = c.make();
        runAt(action, c.t);
        ASSERT_NE(action->getGrid(), nullptr);
        EXPECT_NEAR(c.probe(action), c.expected, 1e-3f);
    }
}

// Every cell gets exactly one tile once the shuffle is over, and the same seed
// shuffles the same way; turning off goes tile by tile.
TEST_F(GridEffectTest, ShufflesReachEveryCellOnce) {
    const Size size(3, 4);
    auto destinations = [&](unsigned int seed) {
        ShuffleTiles* shuffle = ShuffleTiles::create(1, size, seed);
        runAt(shuffle, 1.f);
        std::vector<std::pair<float, float>> corners;
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 4; ++j) {
                const Quad3 tile = tileAt(shuffle, static_cast<float>(i), static_cast<float>(j));
                corners.emplace_back(tile.bl.x, tile.bl.y);
                EXPECT_NEAR(tile.tr.x - tile.bl.x, 100 / 3.f, 1e-3f);   // whole tiles move
            }
        }
        return corners;
    };
    const auto first = destinations(7);
    const std::set<std::pair<float, float>> cells(first.begin(), first.end());
    EXPECT_EQ(cells.size(), 12u);
    for (const auto& [x, y] : cells) {   // cell corners
        EXPECT_NEAR(x / (100 / 3.f), std::round(x / (100 / 3.f)), 1e-3f);
        EXPECT_NEAR(y / 25.f, std::round(y / 25.f), 1e-3f);
    }
    EXPECT_EQ(destinations(7), first);
    EXPECT_NE(destinations(8), first);

    ShuffleTiles* halfway = ShuffleTiles::create(1, size, 7);
    runAt(halfway, 0.5f);
    const Vec2 to = halfway->getDestination(Vec2(0, 0));
    EXPECT_NEAR(tileAt(halfway, 0, 0).bl.x, to.x * 100 / 3.f / 2, 1e-3f);

    for (float t : {0.f, 0.25f, 0.5f, 1.f}) {
        TurnOffTiles* off = TurnOffTiles::create(1, size, 3);
        runAt(off, t);
        int dark = 0;
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 4; ++j) dark += tileAt(off, static_cast<float>(i), static_cast<float>(j)) == Quad3{};
        }
        EXPECT_EQ(dark, static_cast<int>(t * 12)) << t;
    }
}

TEST_F(GridEffectTest, ShakingStaysWithinItsRange) {
    Shaky3D* shaky = Shaky3D::create(1, Size(4, 4), 3, false);
    runAt(shaky, 0.5f);
    ShatteredTiles3D* shattered = ShatteredTiles3D::create(1, Size(4, 4), 2, true);
    runAt(shattered, 0.1f);
    const Quad3 once = tileAt(shattered, 2, 2);
    shattered->update(0.9f);
    EXPECT_EQ(tileAt(shattered, 2, 2), once);   // shattered once, then still
    for (int i = 0; i <= 4; ++i) {
        for (int j = 0; j <= 4; ++j) {
            const Vec2 at(static_cast<float>(i), static_cast<float>(j));
            const Vec3 moved = shaky->getVertex(at) - shaky->getOriginalVertex(at);
            EXPECT_LE(std::fabs(moved.x), 3.f);
            EXPECT_LE(std::fabs(moved.y), 3.f);
            EXPECT_EQ(moved.z, 0.f);
        }
    }
}

// A NodeGrid keeps the grid an action made; ReuseGrid lets the next action of
// the same kind and size start from the points as they are; StopGrid turns it off.
TEST_F(GridEffectTest, ActionsShareTheNodeGrid) {
    NodeGrid* node = runAt(Waves3D::create(1, Size(2, 2), 1, 10), 0.25f);
    GridBase* grid = node->getGrid();
    ASSERT_NE(grid, nullptr);
    EXPECT_TRUE(grid->isActive());
    const float raised = static_cast<Grid3D*>(grid)->getVertex(Vec2(1, 1)).z;

    ReuseGrid::create(1)->startWithTarget(node);
    Waves3D* next = Waves3D::create(1, Size(2, 2), 1, 10);
    next->startWithTarget(node);
    EXPECT_EQ(node->getGrid(), grid);
    EXPECT_EQ(next->getOriginalVertex(Vec2(1, 1)).z, raised);
    EXPECT_EQ(grid->getReuseGrid(), 0);

    Waves3D* fresh = Waves3D::create(1, Size(2, 2), 1, 10);   // no reuse left: a new grid
    fresh->startWithTarget(node);
    EXPECT_NE(node->getGrid(), grid);
    EXPECT_EQ(fresh->getOriginalVertex(Vec2(1, 1)).z, 0.f);

    StopGrid::create()->startWithTarget(node);
    EXPECT_FALSE(node->getGrid()->isActive());

    // Sizes beyond 16-bit indices, or under one cell, make no grid.
    EXPECT_EQ(Grid3D::create(Size(256, 256), Rect(0, 0, 1, 1)), nullptr);
    EXPECT_NE(Grid3D::create(Size(255, 255), Rect(0, 0, 1, 1)), nullptr);
    EXPECT_EQ(TiledGrid3D::create(Size(129, 128), Rect(0, 0, 1, 1)), nullptr);
    EXPECT_EQ(TiledGrid3D::create(Size(0, 3), Rect(0, 0, 1, 1)), nullptr);
}

TEST_F(GridEffectTest, GridTransitionsFollowTheirProgress) {
    struct View : GLView {
        View() { setFrameSize(960, 640); }
    };
    auto* view = new View;
    Director* director = Director::getInstance();
    director->setOpenGLView(view);
    view->release();
    director->runWithScene(Scene::create());
    director->mainLoop(0.f);

    struct Case {
        const char* name;
        std::function<TransitionScene*(Scene*)> make;
        bool outgoingGrid;
    } cases[] = {
        {"fade TR", [](Scene* s) { return TransitionFadeTR::create(1, s); }, true},
        {"fade BL", [](Scene* s) { return TransitionFadeBL::create(1, s); }, true},
        {"fade up", [](Scene* s) { return TransitionFadeUp::create(1, s); }, true},
        {"fade down", [](Scene* s) { return TransitionFadeDown::create(1, s); }, true},
        {"turn off tiles", [](Scene* s) { return TransitionTurnOffTiles::create(1, s); }, true},
        {"split columns", [](Scene* s) { return TransitionSplitCols::create(1, s); }, true},
        {"split rows", [](Scene* s) { return TransitionSplitRows::create(1, s); }, true},
        {"page turn", [](Scene* s) { return TransitionPageTurn::create(1, s, false); }, true},
        {"page turn backwards", [](Scene* s) { return TransitionPageTurn::create(1, s, true); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* transition = static_cast<TransitionGridBase*>(c.make(Scene::create()));
        ASSERT_NE(transition, nullptr);
        GridAction* action = c.outgoingGrid ? transition->getOutAction() : transition->getInAction();
        ASSERT_NE(action, nullptr);
        EXPECT_EQ((c.outgoingGrid ? transition->getOutGrid() : transition->getInGrid())->getTarget(),
                  c.outgoingGrid ? transition->getOutScene() : transition->getInScene());
        director->replaceScene(transition);
        director->mainLoop(0.f);
        director->mainLoop(0.1f);
        EXPECT_GT(action->getProgress(), 0.f);
        EXPECT_LT(action->getProgress(), 1.f);
        for (int i = 0; i < 15; ++i) director->mainLoop(0.1f);
        EXPECT_NE(director->getRunningScene(), transition);
    }
    // The 960 x 640 window gets square cells: 18 columns of 12 rows.
    auto* fade = TransitionFadeTR::create(1, Scene::create());
    EXPECT_EQ(fade->getOutAction()->getGridSize(), Size(18, 12));
}

// With a GL context an active grid captures what the node draws into an
// off-screen buffer and draws that through its points; a stopped grid draws
// the children plainly.
TEST_F(GridEffectTest, ActiveGridDrawsTheCaptureThroughItsPoints) {
    struct View : GLView {
        View() { setFrameSize(200, 100); }
    };
    auto* view = new View;
    Director::getInstance()->setOpenGLView(view);
    view->release();
    NodeGrid* node = runAt(Waves3D::create(1, Size(2, 2), 1, 10), 0.25f);
    node->addChild(LayerColor::create(Color4B{255, 0, 0, 255}, 100, 100));
    Renderer renderer;
    GLRecorder recorder;
    auto frame = [&] {
        recorder.clear();
        node->visit(&renderer, Mat4::IDENTITY, 0);
        renderer.render();
    };
    frame();
    std::vector<std::string> sequence;   // frame buffer switches and draws, in order
    for (const GLRecordedCall& call : recorder.calls()) {
        if (call.name == "glBindFramebuffer") sequence.push_back(call.args[1] != 0 ? "offscreen" : "window");
        if (call.name == "glDrawElements") sequence.push_back("draw " + std::to_string(call.indices.size()));
    }
    // The buffer is made, cleared, drawn into; then the 2 x 2 grid (8 triangles) on the window.
    ASSERT_GE(sequence.size(), 3u);
    EXPECT_EQ(sequence.back(), "draw 24");
    EXPECT_EQ(sequence[sequence.size() - 2], "window");
    EXPECT_EQ(sequence[sequence.size() - 3], "draw 6");    // the layer, into the buffer
    EXPECT_EQ(sequence[sequence.size() - 4], "offscreen");
    const GLRecordedArray* positions = recorder.draws().back()->array(GLProgram::VERTEX_ATTRIB_POSITION);
    ASSERT_NE(positions, nullptr);
    EXPECT_NEAR(positions->floatAt(4, 2), 10 * std::cos(1.f), 1e-3f);   // point (1, 1) raised
    // Point (2, 2), at (100, 100), shows the spot it covers in the 200 x 100 window.
    const GLRecordedArray* texCoords = recorder.draws().back()->array(GLProgram::VERTEX_ATTRIB_TEX_COORD);
    ASSERT_NE(texCoords, nullptr);
    EXPECT_FLOAT_EQ(texCoords->floatAt(8, 0), 0.5f);
    EXPECT_FLOAT_EQ(texCoords->floatAt(8, 1), 1.f);

    StopGrid::create()->startWithTarget(node);
    frame();
    EXPECT_EQ(recorder.count("glBindFramebuffer"), 0u);
    ASSERT_EQ(recorder.draws().size(), 1u);
}

}  // namespace
