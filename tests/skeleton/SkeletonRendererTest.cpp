// The skeleton renderer node through the GL recorder: batching and blending,
// colour bytes, vertices and texture coordinates of each attachment kind, an
// attachment bigger than the scratch and the batch, bounding boxes, debug
// drawing, the clock, and nodes made from unreadable files.
#include <gtest/gtest.h>

#include <limits>

#include <memory>
#include <string>
#include <vector>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/GLRecorder.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Scene.h"
#include "skeleton/PolygonBatch.h"
#include "skeleton/RenderFixture.h"
#include "skeleton/SkeletonRenderer.h"

using engine::GLRecorder;
using skeleton::SkeletonRenderer;

namespace {

struct SkeletonRendererTest : ::testing::Test {
    ~SkeletonRendererTest() override {
        engine::Director::destroyInstance();
        engine::TextureCache::destroyInstance();
        engine::GLProgramCache::destroyInstance();
    }
    // A node made from a document over the fixture atlas (kept alive by the test).
    SkeletonRenderer* load(const std::string& json) {
        auto* node = SkeletonRenderer::createWithFile(files.skeleton("s.json", json), files.atlas());
        node->retain();
        nodes.emplace_back(node, [](SkeletonRenderer* n) { n->release(); });
        return node;
    }
    static void drawFrame(engine::Node* node) {
        engine::Renderer* renderer = engine::Director::getInstance()->getRenderer();
        node->visit(renderer, engine::Mat4::IDENTITY, 0);
        renderer->render();
    }

    skeleton_test::RenderFiles files;
    std::vector<std::unique_ptr<SkeletonRenderer, void (*)(SkeletonRenderer*)>> nodes;
};

// Seven slots on the root bone, each a quad 8 x 4 at its own x.
const char* const kBlendSkeleton = R"({
"bones": [{"name": "root"}],
"slots": [
  {"name": "a", "bone": "root", "attachment": "quad"},
  {"name": "b", "bone": "root", "attachment": "quad"},
  {"name": "c", "bone": "root", "attachment": "other"},
  {"name": "d", "bone": "root", "attachment": "quad", "blend": "additive"},
  {"name": "e", "bone": "root", "attachment": "quad", "blend": "multiply"},
  {"name": "f", "bone": "root", "attachment": "quad", "blend": "screen"},
  {"name": "g", "bone": "root", "attachment": "quad"}
],
"skins": {"default": {
  "a": {"quad": {"x": 0, "width": 8, "height": 4}},
  "b": {"quad": {"x": 10, "width": 8, "height": 4}},
  "c": {"other": {"x": 20, "width": 8, "height": 4}},
  "d": {"quad": {"x": 30, "width": 8, "height": 4}},
  "e": {"quad": {"x": 40, "width": 8, "height": 4}},
  "f": {"quad": {"x": 50, "width": 8, "height": 4}},
  "g": {"quad": {"x": 60, "width": 8, "height": 4}}
}}
})";

TEST_F(SkeletonRendererTest, BatchesBreakOnlyAtTextureAndBlendChanges) {
    struct Case {
        bool premultiplied;
        std::vector<std::vector<double>> blends;   // glBlendFunc calls in order
    } cases[] = {
        {true, {{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}, {GL_ONE, GL_ONE}, {GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA},
                {GL_ONE, GL_ONE_MINUS_SRC_COLOR}, {GL_ONE, GL_ONE_MINUS_SRC_ALPHA}}},
        {false, {{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}, {GL_SRC_ALPHA, GL_ONE}, {GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA},
                 {GL_ONE, GL_ONE_MINUS_SRC_COLOR}, {GL_ONE, GL_ONE_MINUS_SRC_ALPHA}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.premultiplied);
        GLRecorder gl;
        SkeletonRenderer* node = load(kBlendSkeleton);
        node->setOpacityModifyRGB(c.premultiplied);
        drawFrame(node);

        // a and b share a draw; c changes texture; d, e, f change blend; g changes back.
        auto draws = gl.draws();
        ASSERT_EQ(draws.size(), 6u);
        std::vector<size_t> vertices;
        for (const auto* draw : draws) vertices.push_back(draw->array(0)->vertexCount());
        EXPECT_EQ(vertices, (std::vector<size_t>{8, 4, 4, 4, 4, 4}));
        EXPECT_EQ(draws[0]->indices, (std::vector<uint32_t>{0, 1, 2, 2, 3, 0, 4, 5, 6, 6, 7, 4}));
        std::vector<std::vector<double>> blends;
        for (const auto* call : gl.callsNamed("glBlendFunc")) blends.push_back(call->args);
        EXPECT_EQ(blends, c.blends);
        auto* renderer = engine::Director::getInstance()->getRenderer();
        EXPECT_EQ(renderer->getDrawnBatches(), 6u);
        EXPECT_EQ(renderer->getDrawnVertices(), 28u);
        renderer->clearDrawStats();
    }
}

TEST_F(SkeletonRendererTest, NormalSlotsUseTheNodesBlendFunction) {
    GLRecorder gl;
    SkeletonRenderer* node = load(kBlendSkeleton);
    EXPECT_EQ(node->getBlendFunc(), engine::BlendFunc::ALPHA_PREMULTIPLIED);
    node->setBlendFunc(engine::BlendFunc::ALPHA_NON_PREMULTIPLIED);
    drawFrame(node);
    EXPECT_EQ(gl.callsNamed("glBlendFunc").front()->args, (std::vector<double>{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}));
}

TEST_F(SkeletonRendererTest, ColourBytesTruncateAndPremultiplyByTheAlphaByte) {
    // Node colour (255, 0, 255); slot colour (r, 1, b, a).
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        bool premultiplied;
        float slotR, slotB, slotA;
        unsigned r, g, b, a;
    } cases[] = {
        {true, 0.8f, 1, 0.5f, 101, 0, 127, 127},   // alpha byte 127; 0.8 * 127, not 0.8 * 127.5
        {false, 0.8f, 1, 0.5f, 204, 0, 255, 127},
        // Bytes clamp to 0 .. 255, NaN gives 0.
        {false, nan, 1e30f, 2, 0, 0, 255, 255},
        {true, -3, 1e38f, 1, 0, 0, 255, 255},
        {true, 1, 1, nan, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.premultiplied);
        GLRecorder gl;
        SkeletonRenderer* node = load(kBlendSkeleton);
        node->setOpacityModifyRGB(c.premultiplied);
        node->setColor(engine::Color3B{255, 0, 255});
        spSlot* slot = node->findSlot("a");
        slot->r = c.slotR;
        slot->b = c.slotB;
        slot->a = c.slotA;
        drawFrame(node);
        const engine::GLRecordedArray* colours = gl.draws().front()->array(1);
        ASSERT_NE(colours, nullptr);
        EXPECT_TRUE(colours->normalized);
        EXPECT_EQ((std::vector<unsigned>{colours->ubyteAt(0, 0), colours->ubyteAt(0, 1), colours->ubyteAt(0, 2),
                                         colours->ubyteAt(0, 3)}),
                  (std::vector<unsigned>{c.r, c.g, c.b, c.a}));
    }
}

// A region, a mesh and a skinned mesh on page1, the first two on a bone at (10, 20).
const char* const kKindsSkeleton = R"({
"bones": [{"name": "root"}, {"name": "b", "parent": "root", "x": 10, "y": 20}],
"slots": [
  {"name": "region", "bone": "b", "attachment": "quad"},
  {"name": "mesh", "bone": "b", "attachment": "sheet"},
  {"name": "skinned", "bone": "root", "attachment": "sheet"}
],
"skins": {"default": {
  "region": {"quad": {"width": 8, "height": 4}},
  "mesh": {"sheet": {"type": "mesh", "uvs": [0, 0, 1, 0, 1, 1, 0, 1], "vertices": [0, 0, 10, 0, 10, 10, 0, 10],
                     "triangles": [0, 1, 2, 2, 3, 0], "hull": 4}},
  "skinned": {"sheet": {"type": "skinnedmesh", "uvs": [0, 0, 1, 0, 1, 1],
                        "vertices": [1, 0, 1, 2, 1,  2, 0, 0, 0, 0.5, 1, 4, 2, 0.5,  1, 1, 3, 4, 1],
                        "triangles": [0, 1, 2]}}
}}
})";

TEST_F(SkeletonRendererTest, RegionMeshAndSkinnedVerticesAndUVs) {
    GLRecorder gl;
    SkeletonRenderer* node = load(kKindsSkeleton);
    drawFrame(node);
    auto draws = gl.draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0]->indices, (std::vector<uint32_t>{0, 1, 2, 2, 3, 0, 4, 5, 6, 6, 7, 4, 8, 9, 10}));
    struct Vertex { float x, y, u, v; } expected[] = {
        // region: corners from the bottom left, clockwise; quad is (0, 0) .. (0.125, 0.0625) on the page
        {6, 18, 0, 0.0625f}, {6, 22, 0, 0}, {14, 22, 0.125f, 0}, {14, 18, 0.125f, 0.0625f},
        // mesh on the sheet region (0, 0.5) .. (0.5, 1)
        {10, 20, 0, 0.5f}, {20, 20, 0.5f, 0.5f}, {20, 30, 0.5f, 1}, {10, 30, 0, 1},
        // skinned: one bone, half and half, one bone
        {1, 2, 0, 0.5f}, {7, 11, 0.5f, 0.5f}, {13, 24, 0.5f, 1},
    };
    const engine::GLRecordedArray* positions = draws[0]->array(0);
    const engine::GLRecordedArray* uvs = draws[0]->array(2);
    ASSERT_TRUE(positions && uvs);
    ASSERT_EQ(positions->vertexCount(), std::size(expected));
    EXPECT_EQ(positions->stride, 20);
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(positions->floatAt(i, 0), expected[i].x);
        EXPECT_FLOAT_EQ(positions->floatAt(i, 1), expected[i].y);
        EXPECT_FLOAT_EQ(uvs->floatAt(i, 0), expected[i].u);
        EXPECT_FLOAT_EQ(uvs->floatAt(i, 1), expected[i].v);
    }
}

// A mesh strip of n vertices (n - 2 triangles) between two quads.
std::string bigMeshSkeleton(int n) {
    std::string uvs, vertices, triangles;
    for (int i = 0; i < n; ++i) {
        std::string sep = i ? ", " : "";
        uvs += sep + std::to_string(i % 2) + ", " + std::to_string(double(i) / n);
        vertices += sep + std::to_string(i / 2) + ", " + std::to_string(i % 2);
        if (i >= 2) triangles += std::string(i > 2 ? ", " : "") + std::to_string(i - 2) + ", " + std::to_string(i - 1) + ", " + std::to_string(i);
    }
    return R"({"bones": [{"name": "root"}],
"slots": [{"name": "a", "bone": "root", "attachment": "quad"}, {"name": "big", "bone": "root", "attachment": "sheet"},
          {"name": "c", "bone": "root", "attachment": "quad"}],
"skins": {"default": {"a": {"quad": {}}, "c": {"quad": {}},
  "big": {"sheet": {"type": "mesh", "uvs": [)" + uvs + R"(], "vertices": [)" + vertices + R"(], "triangles": [)" +
           triangles + R"(]}}}}})";
}

TEST_F(SkeletonRendererTest, AttachmentBiggerThanScratchAndBatchDrawsWhole) {
    GLRecorder gl;
    const int n = 2100;   // 4200 floats of scratch, 6294 indices
    SkeletonRenderer* node = load(bigMeshSkeleton(n));
    EXPECT_GE(node->getWorldVerticesCapacity(), 2 * n);
    drawFrame(node);
    auto draws = gl.draws();
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0]->array(0)->vertexCount(), 4u);
    EXPECT_EQ(draws[1]->array(0)->vertexCount(), size_t(n));
    EXPECT_EQ(draws[1]->indices.size(), size_t(3 * (n - 2)));
    EXPECT_EQ(draws[1]->indices.back(), uint32_t(n - 1));
    EXPECT_FLOAT_EQ(draws[1]->array(0)->floatAt(n - 1, 0), float((n - 1) / 2));
    EXPECT_EQ(draws[2]->array(0)->vertexCount(), 4u);
    EXPECT_EQ(draws[2]->indices, (std::vector<uint32_t>{0, 1, 2, 2, 3, 0}));
}

TEST_F(SkeletonRendererTest, BatchFlushesWhenFullAndRefusesBadCapacities) {
    GLRecorder gl;
    EXPECT_EQ(skeleton::PolygonBatch::createWithCapacity(0), nullptr);
    EXPECT_EQ(skeleton::PolygonBatch::createWithCapacity(65537), nullptr);
    skeleton::PolygonBatch* batch = skeleton::PolygonBatch::createWithCapacity(6);
    const float quad[8] = {0, 0, 0, 1, 1, 1, 1, 0};
    const int triangles[6] = {0, 1, 2, 2, 3, 0};
    for (int i = 0; i < 3; ++i) batch->add(nullptr, quad, quad, 8, triangles, 6, engine::Color4B{});
    batch->flush();
    auto draws = gl.draws();
    ASSERT_EQ(draws.size(), 3u) << "4 + 4 vertices overflow 6";
    EXPECT_EQ(batch->getVerticesCount(), 0);
    batch->flush();
    EXPECT_EQ(gl.draws().size(), 3u) << "an empty batch draws nothing";
}

TEST_F(SkeletonRendererTest, BoundingBoxes) {
    const char* leftBelow = R"({"bones": [{"name": "root"}, {"name": "b", "parent": "root", "x": -5}],
        "slots": [{"name": "s", "bone": "b", "attachment": "quad"}],
        "skins": {"default": {"s": {"quad": {"x": -15, "y": -20, "width": 10, "height": 10}}}}})";
    const char* nothing = R"({"bones": [{"name": "root"}],
        "slots": [{"name": "s", "bone": "root", "attachment": "box"}, {"name": "t", "bone": "root"}],
        "skins": {"default": {"s": {"box": {"type": "boundingbox", "vertices": [0, 0, 40, 0, 40, 40]}}}}})";
    struct Case {
        const char* json;
        float scaleX, scaleY;
        engine::Rect expected;
    } cases[] = {
        // the box's right and top edges are the attachment's (-15, -20), not the origin
        {leftBelow, 1, 1, engine::Rect(100 - 25, 50 - 25, 10, 10)},
        {leftBelow, 2, 3, engine::Rect(100 - 50, 50 - 75, 20, 30)},
        {nothing, 1, 1, engine::Rect(100, 50, 0, 0)},
    };
    for (const Case& c : cases) {
        SkeletonRenderer* node = load(c.json);
        node->setPosition(100, 50);
        node->setScaleX(c.scaleX);
        node->setScaleY(c.scaleY);
        engine::Rect box = node->getBoundingBox();
        EXPECT_FLOAT_EQ(box.origin.x, c.expected.origin.x);
        EXPECT_FLOAT_EQ(box.origin.y, c.expected.origin.y);
        EXPECT_FLOAT_EQ(box.size.width, c.expected.size.width);
        EXPECT_FLOAT_EQ(box.size.height, c.expected.size.height);
    }
}

TEST_F(SkeletonRendererTest, UnreadableFilesLeaveAnEmptyNodeAndLogOnce) {
    struct Case {
        std::string skeleton, atlas, logged;
    } cases[] = {
        {files.skeleton("ok.json", kBlendSkeleton), files.file("missing.atlas"), "Skeleton: " + files.file("missing.atlas")},
        {files.file("missing.json"), files.atlas(), "Skeleton: Unable to read skeleton file: " + files.file("missing.json")},
        {files.skeleton("bad.json", "{\"bones\": ["), files.atlas(), "Skeleton: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.logged);
        GLRecorder gl;
        testsupport::LogCapture log;
        SkeletonRenderer* node = SkeletonRenderer::createWithFile(c.skeleton, c.atlas);
        ASSERT_EQ(log.lines().size(), 1u) << log.text();
        EXPECT_EQ(log.lines()[0].rfind(c.logged, 0), 0u) << log.lines()[0];
        EXPECT_EQ(node->getSkeleton(), nullptr);
        node->setPosition(3, 4);
        engine::Rect box = node->getBoundingBox();
        EXPECT_EQ(box.origin.x, 3);
        EXPECT_EQ(box.size.width, 0);
        EXPECT_FALSE(node->setSkin("x"));
        EXPECT_FALSE(node->setAttachment("a", "quad"));
        EXPECT_EQ(node->findSlot("a"), nullptr);
        node->setToSetupPose();
        drawFrame(node);
        EXPECT_TRUE(gl.draws().empty());
    }
}

TEST_F(SkeletonRendererTest, DroppedAnimationIsLoggedAndTheRestLoads) {
    testsupport::LogCapture log;
    SkeletonRenderer* node = load(R"({"bones": [{"name": "root"}],
        "slots": [{"name": "s", "bone": "root", "attachment": "quad"}],
        "skins": {"default": {"s": {"quad": {}}}},
        "animations": {"broken": {"bones": {"nowhere": {"rotate": [{"time": 0}]}}}}})");
    ASSERT_NE(node->getSkeleton(), nullptr);
    ASSERT_EQ(log.lines().size(), 1u) << log.text();
    EXPECT_EQ(log.lines()[0].rfind("Skeleton: ", 0), 0u);
    EXPECT_EQ(node->getSkeleton()->data->animationsCount, 0);
}

TEST_F(SkeletonRendererTest, SetupPoseForwardersAndSkins) {
    SkeletonRenderer* node = load(kKindsSkeleton);
    EXPECT_TRUE(node->setAttachment("region", ""));
    EXPECT_EQ(node->findSlot("region")->attachment, nullptr);
    EXPECT_FALSE(node->setAttachment("region", "nope"));
    EXPECT_TRUE(node->setAttachment("region", "quad"));
    EXPECT_NE(node->getAttachment("region", "quad"), nullptr);
    EXPECT_FALSE(node->setSkin("nope"));
    EXPECT_TRUE(node->setSkin(""));
    node->findBone("b")->x = 99;
    node->setBonesToSetupPose();
    EXPECT_EQ(node->findBone("b")->x, 10);
}

TEST_F(SkeletonRendererTest, DebugDrawingOutlinesRegionsAndBones) {
    GLRecorder gl;
    SkeletonRenderer* node = load(kKindsSkeleton);
    node->setDebugSlotsEnabled(true);
    node->setDebugBonesEnabled(true);
    drawFrame(node);
    std::vector<double> modes;
    for (const auto* draw : gl.draws()) modes.push_back(draw->args[0]);
    // the skin, one region outline, a line and a point per bone (2 bones)
    EXPECT_EQ(modes, (std::vector<double>{GL_TRIANGLES, GL_LINE_LOOP, GL_LINES, GL_LINES, GL_POINTS, GL_POINTS}));
    std::vector<double> widths;
    for (const auto* call : gl.callsNamed("glLineWidth")) widths.push_back(call->args[0]);
    EXPECT_EQ(widths, (std::vector<double>{1, 2}));
}

TEST_F(SkeletonRendererTest, ClockRunsWhileInTheSceneAtTheTimeScale) {
    engine::Director* director = engine::Director::getInstance();
    engine::Scene* scene = engine::Scene::create();
    SkeletonRenderer* node = load(kKindsSkeleton);
    node->setTimeScale(2);
    scene->addChild(node);
    director->runWithScene(scene);
    director->mainLoop(0.25f);   // the scene enters after this frame's updates
    director->mainLoop(0.25f);
    EXPECT_FLOAT_EQ(node->getSkeleton()->time, 0.5f);
    node->removeFromParent();
    director->mainLoop(0.25f);
    EXPECT_FLOAT_EQ(node->getSkeleton()->time, 0.5f);
}

}  // namespace

TEST_F(SkeletonRendererTest, WorldTransformFollowsLocalValuesWhenAsked) {
    SkeletonRenderer* node = load(kKindsSkeleton);
    node->updateWorldTransform();
    const float before = node->findBone("b")->worldX;
    node->findBone("b")->x += 5;
    EXPECT_EQ(node->findBone("b")->worldX, before);
    node->updateWorldTransform();
    EXPECT_EQ(node->findBone("b")->worldX, before + 5);
}
