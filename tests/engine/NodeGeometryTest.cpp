// Node transforms, bounding boxes, colour and opacity cascade, and the basic nodes
// built on them: layers, sprites and labels.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/files/FileUtils.h"
#include "engine/label/Label.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Layer.h"
#include "engine/scene/Node.h"
#include "engine/scene/Sprite.h"
#include "support/ImageEncoder.h"
#include "support/TestSupport.h"

using engine::Node;
using engine::Rect;
using engine::Size;
using engine::Vec2;

namespace {

struct NodeGeometryTest : ::testing::Test {
    ~NodeGeometryTest() override { engine::AutoreleasePool::getInstance()->clear(); }
};

void expectNear(const Vec2& got, const Vec2& want, const char* what) {
    EXPECT_NEAR(got.x, want.x, 1e-3) << what;
    EXPECT_NEAR(got.y, want.y, 1e-3) << what;
}

TEST_F(NodeGeometryTest, NodeToParentPlacesTheAnchorAtThePosition) {
    struct Case {
        const char* what;
        Vec2 anchor;
        bool ignoreAnchor;
        float scaleX, scaleY, rotation;
        Vec2 local, parent;   // a point of the node and where it lands in the parent
    };
    // Content 100 x 50 at position (10, 20) in every case.
    const Case cases[] = {
        {"plain", {0, 0}, false, 1, 1, 0, {0, 0}, {10, 20}},
        {"centred anchor", {0.5f, 0.5f}, false, 1, 1, 0, {50, 25}, {10, 20}},
        {"centred anchor, corner", {0.5f, 0.5f}, false, 1, 1, 0, {0, 0}, {-40, -5}},
        {"scaled about the anchor", {0.5f, 0.5f}, false, 2, 3, 0, {100, 50}, {110, 95}},
        {"ignored anchor: corner at position", {0.5f, 0.5f}, true, 1, 1, 0, {0, 0}, {10, 20}},
        {"ignored anchor, scaled about the anchor", {0.5f, 0.5f}, true, 2, 2, 0, {0, 0}, {-40, -5}},
        {"rotation is clockwise", {0, 0}, false, 1, 1, 90, {1, 0}, {10, 19}},
        {"rotation about the anchor", {0.5f, 0.5f}, false, 1, 1, 90, {100, 25}, {10, -30}},
        {"scale then rotate", {0, 0}, false, 2, 1, 180, {1, 1}, {8, 19}},
    };
    for (const Case& c : cases) {
        Node* node = Node::create();
        node->setContentSize(Size(100, 50));
        node->setPosition(10, 20);
        node->setAnchorPoint(c.anchor);
        node->setIgnoreAnchorPointForPosition(c.ignoreAnchor);
        node->setScaleX(c.scaleX);
        node->setScaleY(c.scaleY);
        node->setRotation(c.rotation);
        engine::Vec3 p(c.local.x, c.local.y, 0);
        node->getNodeToParentTransform().transformPoint(&p);
        expectNear({p.x, p.y}, c.parent, c.what);
        // Round trip through the inverse.
        engine::Vec3 back(p.x, p.y, 0);
        node->getParentToNodeTransform().transformPoint(&back);
        expectNear({back.x, back.y}, c.local, c.what);
    }
}

TEST_F(NodeGeometryTest, WorldSpaceComposesEveryAncestor) {
    Node* root = Node::create();
    Node* mid = Node::create();
    Node* leaf = Node::create();
    root->addChild(mid);
    mid->addChild(leaf);
    root->setPosition(100, 100);
    root->setScale(2);
    mid->setPosition(10, 0);
    mid->setRotation(90);
    leaf->setContentSize(Size(20, 10));
    leaf->setAnchorPoint(Vec2(0.5f, 0.5f));
    leaf->setPosition(5, 0);

    // leaf (0,0) -> mid (-5,-5) -> rotated (-5,5) + (10,0) = (5,5) -> root *2 + 100.
    expectNear(leaf->convertToWorldSpace(Vec2(0, 0)), Vec2(110, 110), "world");
    expectNear(leaf->convertToNodeSpace(Vec2(110, 110)), Vec2(0, 0), "node");
    expectNear(leaf->convertToWorldSpaceAR(Vec2(0, 0)), leaf->convertToWorldSpace(Vec2(10, 5)), "AR world");
    expectNear(leaf->convertToNodeSpaceAR(leaf->convertToWorldSpace(Vec2(10, 5))), Vec2(0, 0), "AR node");
    // A detached node's world is its parent space.
    expectNear(root->convertToWorldSpace(Vec2(1, 1)), Vec2(102, 102), "root");
}

TEST_F(NodeGeometryTest, BoundingBoxEnclosesTheTransformedContent) {
    struct Case {
        const char* what;
        float scale, rotation;
        Rect box;
    };
    const Case cases[] = {
        {"plain", 1, 0, Rect(-40, -5, 100, 50)},
        {"scaled", 2, 0, Rect(-90, -30, 200, 100)},
        {"quarter turn", 1, 90, Rect(-15, -30, 50, 100)},
        {"flipped by negative scale", -1, 0, Rect(-40, -5, 100, 50)},
    };
    for (const Case& c : cases) {
        Node* node = Node::create();
        node->setContentSize(Size(100, 50));
        node->setAnchorPoint(Vec2(0.5f, 0.5f));
        node->setPosition(10, 20);
        node->setScale(c.scale);
        node->setRotation(c.rotation);
        const Rect box = node->getBoundingBox();
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(box.origin.x, c.box.origin.x, 1e-3);
        EXPECT_NEAR(box.origin.y, c.box.origin.y, 1e-3);
        EXPECT_NEAR(box.size.width, c.box.size.width, 1e-3);
        EXPECT_NEAR(box.size.height, c.box.size.height, 1e-3);
    }
}

TEST_F(NodeGeometryTest, ColourAndOpacityCascadeOnlyFromCascadingParents) {
    Node* root = Node::create();
    Node* mid = Node::create();
    Node* leaf = Node::create();
    root->addChild(mid);
    mid->addChild(leaf);
    root->setOpacity(128);
    root->setColor(engine::Color3B{255, 128, 0});
    mid->setOpacity(128);
    leaf->setOpacity(255);

    EXPECT_EQ(leaf->getDisplayedOpacity(), 255);   // nobody cascades
    mid->setCascadeOpacityEnabled(true);
    EXPECT_EQ(leaf->getDisplayedOpacity(), 128);
    root->setCascadeOpacityEnabled(true);
    EXPECT_EQ(mid->getDisplayedOpacity(), 64);
    EXPECT_EQ(leaf->getDisplayedOpacity(), 64);
    // The cascade follows the tree as it is now.
    leaf->retain();
    leaf->removeFromParent();
    EXPECT_EQ(leaf->getDisplayedOpacity(), 255);
    root->addChild(leaf);
    EXPECT_EQ(leaf->getDisplayedOpacity(), 128);
    leaf->release();

    EXPECT_EQ(leaf->getDisplayedColor(), engine::Color3B::WHITE);
    root->setCascadeColorEnabled(true);
    EXPECT_EQ(leaf->getDisplayedColor(), (engine::Color3B{255, 128, 0}));
    leaf->setColor(engine::Color3B{128, 255, 255});
    EXPECT_EQ(leaf->getDisplayedColor(), (engine::Color3B{128, 128, 0}));
}

TEST_F(NodeGeometryTest, LayersSitByTheirLowerLeftCorner) {
    engine::LayerColor* layer = engine::LayerColor::create(engine::Color4B{0, 0, 0, 130}, 540, 20);
    layer->setPosition(397, 96);
    const Rect box = layer->getBoundingBox();
    EXPECT_EQ(box, Rect(397, 96, 540, 20));
    EXPECT_EQ(layer->getColor4B(), (engine::Color4B{0, 0, 0, 130}));
    EXPECT_EQ(layer->getOpacity(), 130);
}

struct SpriteTest : NodeGeometryTest {
    testsupport::TempDir dir;
    std::vector<std::string> savedPaths;
    SpriteTest() {
        savedPaths = engine::FileUtils::getInstance()->getSearchPaths();
        engine::FileUtils::getInstance()->setSearchPaths({dir.path() + "/"});
        auto png = testsupport::encodeBlankPng(64, 32);
        std::ofstream(dir.file("a.png"), std::ios::binary).write(reinterpret_cast<const char*>(png.data()),
                                                                 static_cast<std::streamsize>(png.size()));
    }
    ~SpriteTest() override {
        engine::TextureCache::getInstance()->removeAllTextures();
        engine::FileUtils::getInstance()->setSearchPaths(savedPaths);
    }
};

TEST_F(SpriteTest, SpritesTakeTheirSizeFromTheTextureRectangle) {
    engine::Sprite* whole = engine::Sprite::create("a.png");
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->getContentSize(), Size(64, 32));
    EXPECT_EQ(whole->getAnchorPoint(), Vec2(0.5f, 0.5f));

    engine::Sprite* part = engine::Sprite::createWithTexture(whole->getTexture(), Rect(8, 8, 16, 4));
    EXPECT_EQ(part->getTexture(), whole->getTexture());   // decoded once
    EXPECT_EQ(part->getContentSize(), Size(16, 4));
    part->setTextureRect(Rect(0, 0, 2, 3));
    EXPECT_EQ(part->getContentSize(), Size(2, 3));

    // The sprite keeps its texture alive past the cache.
    engine::Texture2D* texture = whole->getTexture();
    const unsigned before = texture->getReferenceCount();
    engine::TextureCache::getInstance()->removeAllTextures();
    EXPECT_EQ(texture->getReferenceCount(), before - 1);
    EXPECT_EQ(whole->getTexture()->getPixelsWide(), 64);

    EXPECT_EQ(engine::Sprite::create("missing.png"), nullptr);
    EXPECT_EQ(engine::Sprite::createWithTexture(nullptr), nullptr);
    engine::Sprite* empty = engine::Sprite::create();
    EXPECT_EQ(empty->getContentSize(), Size(0, 0));
}

TEST_F(NodeGeometryTest, LabelsMeasureAndWrapTheirText) {
    struct Case {
        const char* text;
        float fontSize;
        Size dimensions;
        std::vector<std::string> lines;
        Size size;
    };
    const Case cases[] = {
        {"", 20, Size::ZERO, {}, Size(0, 0)},
        {"abcd", 20, Size::ZERO, {"abcd"}, Size(40, 20)},
        {"ab\ncdef", 10, Size::ZERO, {"ab", "cdef"}, Size(20, 20)},
        // Three-byte characters count once.
        {"Đang", 10, Size::ZERO, {"Đang"}, Size(20, 10)},
        // Box 30 wide at 10 points: six characters a line, broken at blanks.
        {"aa bb cc dd", 10, Size(30, 0), {"aa bb", "cc dd"}, Size(30, 20)},
        {"abcdefghij", 10, Size(30, 0), {"abcdef", "ghij"}, Size(30, 20)},
        {"aa bb", 10, Size(30, 45), {"aa bb"}, Size(30, 45)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        engine::Label* label = engine::Label::createWithSystemFont(c.text, "sans-serif", c.fontSize, c.dimensions);
        EXPECT_EQ(label->getLines(), c.lines);
        EXPECT_EQ(label->getContentSize(), c.size);
    }

    engine::Label* label = engine::Label::create();
    EXPECT_EQ(label->getSystemFontSize(), engine::Label::kDefaultFontSize);
    label->setSystemFontSize(10);
    label->setString("abc");
    EXPECT_EQ(label->getContentSize(), Size(15, 10));
    label->enableOutline(engine::Color4B{0, 0, 0, 255}, 4);
    EXPECT_EQ(label->getOutlineSize(), 4);
    label->enableOutline(engine::Color4B{0, 0, 0, 255});
    EXPECT_EQ(label->getOutlineSize(), 0);
}

}  // namespace

namespace {

TEST_F(NodeGeometryTest, RotationQuatAndAdditionalTransformEnterTheNodeToParentTransform) {
    const float half = std::sqrt(0.5f);
    struct Case {
        const char* what;
        engine::Quaternion rotation;   // identity: setRotation(degrees) instead
        float degrees;
        const engine::AffineTransform* extra;
        Vec2 local, parent;
        float rotationAfter;
    };
    const engine::AffineTransform shift{1, 0, 0, 1, 5, 7};
    const engine::AffineTransform doubleX{2, 0, 0, 1, 0, 0};
    // Content 100 x 50 at position (10, 20), anchor (0, 0).
    const Case cases[] = {
        {"quarter turn counter-clockwise about z", {0, 0, half, half}, 0, nullptr, {1, 0}, {10, 21}, -90},
        {"same as a clockwise -90", {}, -90, nullptr, {1, 0}, {10, 21}, -90},
        {"unnormalised quaternion", {0, 0, 2, 2}, 0, nullptr, {1, 0}, {10, 21}, -90},
        {"zero quaternion is no turn", {0, 0, 0, 0}, 0, nullptr, {1, 0}, {11, 20}, 0},
        {"half turn about y mirrors x", {0, 1, 0, 0}, 0, nullptr, {1, 0}, {9, 20}, -180},
        {"extra applied before the node's own", {}, 90, &shift, {0, 0}, {17, 15}, 90},
        {"extra scale", {}, 0, &doubleX, {3, 1}, {16, 21}, 0},
    };
    for (const Case& c : cases) {
        Node* node = Node::create();
        node->setContentSize(Size(100, 50));
        node->setPosition(10, 20);
        if (c.degrees != 0 || c.extra) {
            node->setRotation(c.degrees);
        } else {
            node->setRotationQuat(c.rotation);
        }
        if (c.extra) node->setAdditionalTransform(*c.extra);
        engine::Vec3 point(c.local.x, c.local.y, 0);
        node->getNodeToParentTransform().transformPoint(&point);
        expectNear(Vec2(point.x, point.y), c.parent, c.what);
        EXPECT_NEAR(node->getRotation(), c.rotationAfter, 1e-3) << c.what;
        node->setAdditionalTransform(nullptr);
        node->setRotation(0);
        point = engine::Vec3(c.local.x, c.local.y, 0);
        node->getNodeToParentTransform().transformPoint(&point);
        expectNear(Vec2(point.x, point.y), Vec2(c.local.x + 10, c.local.y + 20), "cleared");
    }
}

// Depth, z scale and rotations in space: each is part of the node's transform;
// a rotation of (0, 0, r) is the 2D rotation r, and each angle turns clockwise
// seen from its axis' tip.
TEST_F(NodeGeometryTest, DepthAndRotationInSpace) {
    const struct {
        const char* what;
        engine::Vec3 position, rotation;
        float scaleZ;
        engine::Vec3 point, expected;
    } cases[] = {
        {"depth moves along z", {1, 2, 3}, {0, 0, 0}, 1, {0, 0, 0}, {1, 2, 3}},
        {"z scale", {0, 0, 0}, {0, 0, 0}, 2, {1, 1, 1}, {1, 1, 2}},
        {"about x: y goes to -z", {0, 0, 0}, {90, 0, 0}, 1, {0, 1, 0}, {0, 0, -1}},
        {"about y: z goes to -x", {0, 0, 0}, {0, 90, 0}, 1, {0, 0, 1}, {-1, 0, 0}},
        {"about z as the 2D rotation: x goes to -y", {0, 0, 0}, {0, 0, 90}, 1, {1, 0, 0}, {0, -1, 0}},
        {"x first, then z", {0, 0, 5}, {90, 0, 90}, 1, {0, 0, 1}, {1, 0, 5}},
    };
    for (const auto& c : cases) {
        Node* node = Node::create();
        node->setPosition3D(c.position);
        node->setRotation3D(c.rotation);
        node->setScaleZ(c.scaleZ);
        engine::Vec3 point = c.point;
        node->getNodeToParentTransform().transformPoint(&point);
        EXPECT_NEAR(point.x, c.expected.x, 1e-5) << c.what;
        EXPECT_NEAR(point.y, c.expected.y, 1e-5) << c.what;
        EXPECT_NEAR(point.z, c.expected.z, 1e-5) << c.what;
        EXPECT_EQ(node->getRotation3D(), c.rotation) << c.what;
        EXPECT_EQ(node->getPosition3D(), c.position) << c.what;
    }
    Node* turned = Node::create();
    Node* flat = Node::create();
    turned->setRotation3D(engine::Vec3(0, 0, 30));
    flat->setRotation(30);
    EXPECT_NEAR(turned->getRotation(), 30, 1e-4);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(turned->getNodeToParentTransform().m[i], flat->getNodeToParentTransform().m[i], 1e-6) << i;
    }
    EXPECT_EQ(flat->getRotation3D(), engine::Vec3(0, 0, 30));
    // A quaternion's angles read back in the same convention.
    turned->setRotationQuat(engine::Quaternion(std::sqrt(0.5f), 0, 0, std::sqrt(0.5f)));   // x counter-clockwise 90
    EXPECT_NEAR(turned->getRotation3D().x, -90, 1e-3);
}

}  // namespace
