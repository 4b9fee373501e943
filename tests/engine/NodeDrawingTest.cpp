// What the drawn nodes send to GL (through the recorder): the renderer's batching
// of consecutive quads, and each node kind's quads: positions, texture
// coordinates and colours.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/label/Label.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/GLRecorder.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/DrawNode.h"
#include "engine/scene/Layer.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/LoadingBar.h"
#include "engine/ui/Scale9Sprite.h"
#include "support/ImageEncoder.h"
#include "support/TestSupport.h"

using namespace engine;

namespace {

struct View : GLView {
    View() { setFrameSize(200, 100); }
};

// A 4 x 2 texture; premultiplied or not.
Texture2D* texture(bool premultiplied = false) {
    auto* t = Texture2D::createWithData(std::vector<unsigned char>(4 * 2 * 4, 255), 4, 2,
                                        Texture2D::PixelFormat::RGBA8888, premultiplied);
    t->autorelease();
    return t;
}

// An opaque white RGB image file of the size in `dir`.
std::string imageFile(const testsupport::TempDir& dir, const std::string& name, int width, int height) {
    testsupport::PngImage image;
    image.width = width;
    image.height = height;
    image.colorType = 2;
    image.rows.assign(static_cast<size_t>(width * height * 3), 255);
    const std::vector<unsigned char> bytes = testsupport::encodePng(image);
    return dir.write(name, std::string(bytes.begin(), bytes.end()));
}

struct NodeDrawingTest : ::testing::Test {
    NodeDrawingTest() {
        auto* view = new View;
        Director::getInstance()->setOpenGLView(view);
        view->release();
    }
    ~NodeDrawingTest() override {
        Director::destroyInstance();
        GLProgramCache::destroyInstance();
    }
    // Draws one frame of a scene holding `nodes`.
    void drawFrame(const std::vector<Node*>& nodes) {
        Scene* scene = Scene::create();
        for (Node* node : nodes) scene->addChild(node);
        Director::getInstance()->runWithScene(scene);
        Director::getInstance()->mainLoop(0);
    }
    GLRecorder gl;
};

// Vertex i of a draw: position, texture coordinates, colour.
struct Vertex {
    float x, y, u, v;
    unsigned r, g, b, a;
    bool operator==(const Vertex&) const = default;
};
Vertex vertexOf(const GLRecordedCall& draw, size_t i) {
    const GLRecordedArray* p = draw.array(0);
    const GLRecordedArray* c = draw.array(1);
    const GLRecordedArray* t = draw.array(2);
    return {p->floatAt(i, 0), p->floatAt(i, 1), t->floatAt(i, 0), t->floatAt(i, 1),
            c->ubyteAt(i, 0), c->ubyteAt(i, 1), c->ubyteAt(i, 2), c->ubyteAt(i, 3)};
}
std::ostream& operator<<(std::ostream& out, const Vertex& v) {
    return out << "(" << v.x << ", " << v.y << " uv " << v.u << ", " << v.v << " rgba " << v.r << " " << v.g << " "
               << v.b << " " << v.a << ")";
}

// Consecutive quads of one texture, program and blend function share a draw call;
// anything else between them, or a change of any of the three, starts a new one.
TEST_F(NodeDrawingTest, ConsecutiveQuadsOfOneStyleShareADrawCall) {
    struct Case {
        const char* what;
        std::function<std::vector<Node*>()> nodes;
        std::vector<size_t> vertices;   // per draw call
    };
    Texture2D* a = texture();
    Texture2D* b = texture();
    a->retain();   // past the frames' autorelease pools
    b->retain();
    auto sprite = [](Texture2D* t, float globalZ = 0) {
        Sprite* s = Sprite::createWithTexture(t);
        s->setGlobalZOrder(globalZ);
        return s;
    };
    const Case cases[] = {
        {"three sprites of one texture", [&] { return std::vector<Node*>{sprite(a), sprite(a), sprite(a)}; }, {12}},
        {"a texture change between them", [&] { return std::vector<Node*>{sprite(a), sprite(b), sprite(a)}; },
         {4, 4, 4}},
        {"global Z brings them together", [&] { return std::vector<Node*>{sprite(a), sprite(b, 1), sprite(a)}; },
         {8, 4}},
        {"a blend function change", [&] {
             Sprite* added = sprite(a);
             added->setBlendFunc(BlendFunc::ADDITIVE);
             return std::vector<Node*>{sprite(a), added};
         }, {4, 4}},
        {"plain colours batch together", [&] {
             DrawNode* shapes = DrawNode::create();
             shapes->drawSolidRect(Vec2(0, 0), Vec2(5, 5), Color4F{1, 0, 0, 1});
             return std::vector<Node*>{LayerColor::create(Color4B{1, 2, 3, 255}, 10, 10), shapes};
         }, {8}},
        {"an empty sprite and a zero-size layer draw nothing",
         [&] { return std::vector<Node*>{Sprite::create(), LayerColor::create(Color4B{}, 0, 0)}; }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gl.clear();
        drawFrame(c.nodes());
        std::vector<size_t> vertices;
        for (const auto* draw : gl.draws()) vertices.push_back(draw->array(0)->vertexCount());
        EXPECT_EQ(vertices, c.vertices);
        Renderer* renderer = Director::getInstance()->getRenderer();
        EXPECT_EQ(renderer->getDrawnBatches(), c.vertices.size());
    }
    a->release();
    b->release();
}

// A 4 x 2 sprite at (10, 20), anchor centre: corners (8, 19) .. (12, 21).
TEST_F(NodeDrawingTest, SpriteQuadFollowsFlipsRotationAndColour) {
    struct Case {
        const char* what;
        std::function<void(Sprite*)> change;
        bool premultiplied;
        Vertex bottomLeft, topRight;
    };
    const Case cases[] = {
        {"plain", [](Sprite*) {}, false, {8, 19, 0, 1, 255, 255, 255, 255}, {12, 21, 1, 0, 255, 255, 255, 255}},
        {"flipped x", [](Sprite* s) { s->setFlippedX(true); }, false, {8, 19, 1, 1, 255, 255, 255, 255},
         {12, 21, 0, 0, 255, 255, 255, 255}},
        {"flipped y", [](Sprite* s) { s->setFlippedY(true); }, false, {8, 19, 0, 0, 255, 255, 255, 255},
         {12, 21, 1, 1, 255, 255, 255, 255}},
        {"a rectangle turned a quarter in the texture",
         [](Sprite* s) { s->setTextureRect(Rect(0, 0, 2, 4), true); }, false, {9, 18, 0, 0, 255, 255, 255, 255},
         {11, 22, 1, 1, 255, 255, 255, 255}},
        {"colour and opacity", [](Sprite* s) {
             s->setColor(Color3B{255, 0, 100});
             s->setOpacity(128);
         }, false, {8, 19, 0, 1, 255, 0, 100, 128}, {12, 21, 1, 0, 255, 0, 100, 128}},
        {"premultiplied texture: colour times opacity", [](Sprite* s) { s->setOpacity(128); }, true,
         {8, 19, 0, 1, 128, 128, 128, 128}, {12, 21, 1, 0, 128, 128, 128, 128}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gl.clear();
        Sprite* sprite = Sprite::createWithTexture(texture(c.premultiplied));
        sprite->setPosition(10, 20);
        c.change(sprite);
        drawFrame({sprite});
        auto draws = gl.draws();
        ASSERT_EQ(draws.size(), 1u);
        EXPECT_EQ(vertexOf(*draws[0], 0), c.bottomLeft);
        EXPECT_EQ(vertexOf(*draws[0], 3), c.topRight);
        EXPECT_EQ(sprite->getBlendFunc(),
                  c.premultiplied ? BlendFunc::ALPHA_PREMULTIPLIED : BlendFunc::ALPHA_NON_PREMULTIPLIED);
    }
}

// The image is 30 x 30, its centre slice 10 .. 20: stretched to 90 x 40 the corners
// keep 10 x 10; squeezed to 10 x 10 they share the size.
TEST_F(NodeDrawingTest, NineSliceKeepsCornersAndStretchesTheRest) {
    testsupport::TempDir dir;
    const std::string file = imageFile(dir, "nine.png", 30, 30);
    struct Case {
        Size size;
        size_t quads;
        Vertex firstCornerTopRight;   // the top-left slice's top-right vertex
    };
    const Case cases[] = {
        {Size(90, 40), 9, {10, 40, 1 / 3.f, 0, 255, 255, 255, 255}},
        {Size(10, 10), 4, {5, 10, 1 / 3.f, 0, 255, 255, 255, 255}},
    };
    for (const Case& c : cases) {
        gl.clear();
        ui::Scale9Sprite* nine = ui::Scale9Sprite::create(file);
        ASSERT_NE(nine, nullptr);
        nine->setAnchorPoint(Vec2(0, 0));
        nine->setContentSize(c.size);
        drawFrame({nine});
        auto draws = gl.draws();
        ASSERT_EQ(draws.size(), 1u);
        EXPECT_EQ(draws[0]->array(0)->vertexCount(), c.quads * 4);
        EXPECT_EQ(vertexOf(*draws[0], 3), c.firstCornerTopRight);
    }
}

TEST_F(NodeDrawingTest, LoadingBarShowsItsPercentFromItsSide) {
    struct Case {
        ui::LoadingBar::Direction direction;
        float percent;
        size_t draws;
        Vertex bottomLeft, topRight;
    };
    const Case cases[] = {
        {ui::LoadingBar::Direction::LEFT, 50, 1, {0, 0, 0, 1, 255, 255, 255, 255}, {2, 2, 0.5f, 0, 255, 255, 255, 255}},
        {ui::LoadingBar::Direction::RIGHT, 25, 1, {3, 0, 0.75f, 1, 255, 255, 255, 255}, {4, 2, 1, 0, 255, 255, 255, 255}},
        {ui::LoadingBar::Direction::LEFT, 0, 0, {}, {}},
    };
    testsupport::TempDir dir;
    const std::string file = imageFile(dir, "bar.png", 4, 2);
    for (const Case& c : cases) {
        gl.clear();
        ui::LoadingBar* bar = ui::LoadingBar::create(file);
        ASSERT_NE(bar, nullptr);
        bar->setAnchorPoint(Vec2(0, 0));
        bar->setDirection(c.direction);
        bar->setPercent(c.percent);
        drawFrame({bar});
        auto draws = gl.draws();
        ASSERT_EQ(draws.size(), c.draws);
        if (!c.draws) continue;
        EXPECT_EQ(vertexOf(*draws[0], 0), c.bottomLeft);
        EXPECT_EQ(vertexOf(*draws[0], 3), c.topRight);
    }
}

TEST_F(NodeDrawingTest, DrawNodeShapesBecomePlainTriangles) {
    DrawNode* shapes = DrawNode::create();
    shapes->drawSolidRect(Vec2(4, 6), Vec2(0, 2), Color4F{1, 0.5f, 0, 1});   // corners in any order
    shapes->drawSolidCircle(Vec2(50, 50), 10, 0, 4, Color4F{0, 0, 1, 0.5f});
    shapes->setOpacity(128);
    drawFrame({shapes});
    auto draws = gl.draws();
    ASSERT_EQ(draws.size(), 1u);
    ASSERT_EQ(draws[0]->array(0)->vertexCount(), 4u * 5);
    // Under the default blend (alpha premultiplied) the colours come premultiplied.
    EXPECT_EQ(vertexOf(*draws[0], 0), (Vertex{0, 2, 0, 0, 128, 64, 0, 128}));
    EXPECT_EQ(vertexOf(*draws[0], 3), (Vertex{4, 6, 1, 1, 128, 64, 0, 128}));
    // The circle's first triangle: the centre and the rim at angles 0 and 90 degrees.
    const Vertex centre = vertexOf(*draws[0], 4), first = vertexOf(*draws[0], 5), second = vertexOf(*draws[0], 6);
    EXPECT_EQ(centre, (Vertex{50, 50, 0, 0, 0, 0, 64, 64}));
    EXPECT_NEAR(first.x, 60, 1e-4);
    EXPECT_NEAR(first.y, 50, 1e-4);
    EXPECT_NEAR(second.x, 50, 1e-4);
    EXPECT_NEAR(second.y, 60, 1e-4);
}

// Points are squares of their size, lines quads of their width, filled polygons
// a fan from their first vertex with their border over it.
TEST_F(NodeDrawingTest, DrawNodePointListsBecomeQuadsAndFans) {
    const Vec2 square[] = {{10, 10}, {30, 10}, {30, 30}, {10, 30}};
    const Color4F red{1, 0, 0, 1}, blue{0, 0, 1, 1};
    struct Case {
        const char* what;
        std::function<void(DrawNode*)> draw;
        size_t quads;
        Vertex first, last;   // vertices 0 and 3 of the first quad
    };
    const Case cases[] = {
        {"a point of size 4", [&](DrawNode* n) { n->drawPoints(square, 1, 4.f, red); }, 1,
         {8, 8, 0, 0, 255, 0, 0, 255}, {12, 12, 1, 1, 255, 0, 0, 255}},
        {"an open line of width 1", [&](DrawNode* n) { n->drawPoly(square, 2, false, red); }, 1,
         {10, 9.5f, 0, 0, 255, 0, 0, 255}, {30, 10.5f, 0, 0, 255, 0, 0, 255}},
        {"a closed square: four sides", [&](DrawNode* n) { n->drawPoly(square, 4, true, red); }, 4,
         {10, 9.5f, 0, 0, 255, 0, 0, 255}, {30, 10.5f, 0, 0, 255, 0, 0, 255}},
        {"a solid square: two triangles", [&](DrawNode* n) { n->drawSolidPoly(square, 4, red); }, 2,
         {10, 10, 0, 0, 255, 0, 0, 255}, {30, 10, 0, 0, 255, 0, 0, 255}},
        {"a bordered square: two triangles, four sides", [&](DrawNode* n) {
             n->drawPolygon(square, 4, red, 2.f, blue);
         }, 6, {10, 10, 0, 0, 255, 0, 0, 255}, {30, 10, 0, 0, 255, 0, 0, 255}},
        {"a polygon without border width: the fill only", [&](DrawNode* n) {
             n->drawPolygon(square, 4, red, 0.f, blue);
         }, 2, {10, 10, 0, 0, 255, 0, 0, 255}, {30, 10, 0, 0, 255, 0, 0, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gl.clear();
        DrawNode* shapes = DrawNode::create();
        c.draw(shapes);
        drawFrame({shapes});
        auto draws = gl.draws();
        ASSERT_EQ(draws.size(), 1u);
        ASSERT_EQ(draws[0]->array(0)->vertexCount(), 4 * c.quads);
        EXPECT_EQ(vertexOf(*draws[0], 0), c.first);
        EXPECT_EQ(vertexOf(*draws[0], 3), c.last);
    }
    // The border comes after the fill, in its own colour and width.
    gl.clear();
    DrawNode* bordered = DrawNode::create();
    bordered->drawPolygon(square, 4, red, 2.f, blue);
    drawFrame({bordered});
    EXPECT_EQ(vertexOf(*gl.draws()[0], 8), (Vertex{10, 9, 0, 0, 0, 0, 255, 255}));
}

// The label's texture is made when drawn after its text or style changed, and
// only then; it holds text pixels.
TEST_F(NodeDrawingTest, LabelRasterisesItsTextOnlyWhenItChanged) {
    Label* label = Label::createWithSystemFont("Mộc Hà Lục", "sans-serif", 20);
    drawFrame({label});
    Texture2D* first = label->getTexture();
    ASSERT_NE(first, nullptr);
    EXPECT_GE(first->getPixelsWide(), static_cast<int>(label->getContentSize().width));
    EXPECT_EQ(first->getPixelsHigh(), 20);
    EXPECT_TRUE(first->hasPremultipliedAlpha());
    size_t inked = 0;
    for (size_t i = 3; i < first->getPixelData().size(); i += 4) inked += first->getPixelData()[i] > 128;
    EXPECT_GT(inked, 20u);

    Director::getInstance()->mainLoop(0);
    EXPECT_EQ(label->getTexture(), first) << "nothing changed";
    label->setTextColor(Color4B{255, 0, 0, 255});
    Director::getInstance()->mainLoop(0);
    EXPECT_NE(label->getTexture(), first);
    EXPECT_EQ(gl.count("glTexImage2D"), 2u);
}

}  // namespace
