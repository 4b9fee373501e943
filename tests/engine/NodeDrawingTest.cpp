// What the drawn nodes send to GL (through the recorder): the renderer's batching
// of consecutive quads, and each node kind's quads: positions, texture
// coordinates and colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/label/Label.h"
#include "engine/label/LabelRaster.h"
#include "engine/label/TextFieldTTF.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/GLRecorder.h"
#include "engine/renderer/RenderTexture.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/ClippingNode.h"
#include "engine/scene/ClippingRectangleNode.h"
#include "engine/scene/DrawNode.h"
#include "engine/scene/Layer.h"
#include "engine/scene/ParticleSystem.h"
#include "engine/scene/ProgressTimer.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/TransitionProgress.h"
#include "engine/ui/Button.h"
#include "engine/ui/Layout.h"
#include "engine/ui/LoadingBar.h"
#include "engine/ui/Scale9Sprite.h"
#include "engine/ui/Text.h"
#include "engine/ui/UICCTextField.h"
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

// The clipping the recorded calls did, in order: scissor and stencil switches,
// draws, scissor boxes ("scissor x y w h") and stencil tests ("never 1 1").
// Traced alone, a switch reads "enable"/"disable"; with both traced, the
// stencil's read "stencil on"/"stencil off".
std::vector<std::string> clipTrace(const GLRecorder& gl, bool scissor, bool stencil) {
    std::vector<std::string> trace;
    for (const GLRecordedCall& call : gl.calls()) {
        const bool enable = call.name == "glEnable";
        if (enable || call.name == "glDisable") {
            if (scissor && call.args[0] == GL_SCISSOR_TEST) trace.push_back(enable ? "enable" : "disable");
            if (stencil && call.args[0] == GL_STENCIL_TEST) {
                if (scissor) trace.push_back(enable ? "stencil on" : "stencil off");
                else trace.push_back(enable ? "enable" : "disable");
            }
        }
        if (call.name == "glDrawElements") trace.push_back("draw");
        if (stencil && call.name == "glStencilFunc") {
            trace.push_back((call.args[0] == GL_NEVER ? "never " : call.args[0] == GL_EQUAL ? "equal " : "? ") +
                            std::to_string(static_cast<int>(call.args[1])) + " " +
                            std::to_string(static_cast<int>(call.args[2])));
        }
        if (scissor && call.name == "glScissor") {
            std::string text = "scissor";
            for (double a : call.args) text += " " + std::to_string(static_cast<int>(a));
            trace.push_back(text);
        }
    }
    return trace;
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

// A sprite keeps its quad between frames: whatever changed between two frames,
// on the sprite or on an ancestor, the second frame draws what a sprite built
// with that change draws in its first, and an unchanged one draws the same again.
TEST_F(NodeDrawingTest, KeptQuadFollowsEveryChangeBetweenFrames) {
    struct Case {
        const char* what;
        std::function<void(Node* parent, Sprite*)> change;
    };
    const Case cases[] = {
        {"nothing", [](Node*, Sprite*) {}},
        {"position", [](Node*, Sprite* s) { s->setPosition(30, 5); }},
        {"position x, then y", [](Node*, Sprite* s) { s->setPositionX(3); s->setPositionY(4); }},
        {"position in space", [](Node*, Sprite* s) { s->setPosition3D(Vec3(7, 8, 9)); }},
        {"scale", [](Node*, Sprite* s) { s->setScale(2); }},
        {"scale per axis", [](Node*, Sprite* s) { s->setScaleX(3); s->setScaleY(0.5f); s->setScaleZ(2); }},
        {"rotation", [](Node*, Sprite* s) { s->setRotation(30); }},
        {"rotation in space", [](Node*, Sprite* s) { s->setRotation3D(Vec3(10, 20, 30)); }},
        {"rotation by quaternion", [](Node*, Sprite* s) { s->setRotationQuat(Quaternion(0, 0, 0.5f, 0.5f)); }},
        {"skew", [](Node*, Sprite* s) { s->setSkewX(20); s->setSkewY(-10); }},
        {"anchor", [](Node*, Sprite* s) { s->setAnchorPoint(Vec2(0, 1)); }},
        {"anchor ignored", [](Node*, Sprite* s) { s->setIgnoreAnchorPointForPosition(true); }},
        {"additional transform", [](Node*, Sprite* s) { s->setAdditionalTransform(AffineTransform{1, 0, 0.5f, 1, 4, 2}); }},
        {"flips", [](Node*, Sprite* s) { s->setFlippedX(true); s->setFlippedY(true); }},
        {"texture rectangle", [](Node*, Sprite* s) { s->setTextureRect(Rect(1, 0, 2, 2)); }},
        {"turned texture rectangle", [](Node*, Sprite* s) { s->setTextureRect(Rect(0, 0, 2, 4), true); }},
        {"texture", [](Node*, Sprite* s) { s->setTexture(texture(true)); }},
        {"sprite frame", [](Node*, Sprite* s) { s->setSpriteFrame(SpriteFrame::createWithTexture(texture(), Rect(2, 0, 2, 2))); }},
        {"colour and opacity", [](Node*, Sprite* s) { s->setColor(Color3B{10, 20, 30}); s->setOpacity(40); }},
        {"colour premultiplied", [](Node*, Sprite* s) { s->setOpacity(100); s->setOpacityModifyRGB(true); }},
        {"parent moved, scaled and turned", [](Node* p, Sprite*) { p->setPosition(50, 60); p->setScale(2); p->setRotation(90); }},
        {"parent's cascaded colour", [](Node* p, Sprite*) {
             p->setCascadeColorEnabled(true);
             p->setCascadeOpacityEnabled(true);
             p->setColor(Color3B{0, 128, 255});
             p->setOpacity(128);
         }},
    };
    auto quads = [this] {
        std::vector<Vertex> vertices;
        for (const GLRecordedCall* draw : gl.draws()) {
            for (size_t i = 0; i < draw->array(0)->vertexCount(); ++i) vertices.push_back(vertexOf(*draw, i));
        }
        return vertices;
    };
    auto tree = [] {
        Node* parent = Node::create();
        parent->setPosition(5, 5);
        Sprite* sprite = Sprite::createWithTexture(texture());
        sprite->setPosition(10, 20);
        parent->addChild(sprite);
        return std::pair{parent, sprite};
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto [freshParent, fresh] = tree();
        c.change(freshParent, fresh);
        gl.clear();
        drawFrame({freshParent});
        const std::vector<Vertex> expected = quads();
        ASSERT_EQ(expected.size(), 4u);
        const Mat4 freshTransform = fresh->getNodeToParentTransform();

        auto [parent, kept] = tree();
        drawFrame({parent});
        c.change(parent, kept);
        gl.clear();
        Director::getInstance()->mainLoop(0);
        EXPECT_EQ(quads(), expected);
        const Mat4 keptTransform = kept->getNodeToParentTransform();
        EXPECT_TRUE(std::equal(keptTransform.m, keptTransform.m + 16, freshTransform.m));
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

// The label's text is written into its texture when drawn after the text or its
// style changed, and only then: in place while the box (with a transparent edge)
// fits the texture, which is made again, larger, only when it does not. The quad
// shows the box's part of the texture.
TEST_F(NodeDrawingTest, LabelWritesItsTextOnlyWhenItChangedIntoAKeptTexture) {
    Label* label = Label::createWithSystemFont("Mộc Hà Lục", "sans-serif", 20);
    drawFrame({label});
    Texture2D* first = label->getTexture();
    ASSERT_NE(first, nullptr);
    first->retain();   // compared with the label's texture after it may have dropped it
    EXPECT_TRUE(first->hasPremultipliedAlpha());
    // Its storage takes rows in the order they are written in: no conversion per write.
    size_t made = 0;
    for (const GLRecordedCall* call : gl.callsNamed("glTexImage2D")) {
        if (call->args[3] != first->getPixelsWide() || call->args[4] != first->getPixelsHigh()) continue;
        ++made;
        EXPECT_EQ(call->args[6], GL_BGRA);
    }
    EXPECT_EQ(made, 1u);
    auto writes = [this] { return gl.callsNamed("glTexSubImage2D"); };
    ASSERT_EQ(writes().size(), 1u);
    const GLRecordedCall& write = *writes()[0];
    // Whole rows of the texture, down to one row past the box: the 20 rows of the
    // content and one row above and below them for the marks that reach past them.
    EXPECT_EQ(write.args[4], first->getPixelsWide());
    EXPECT_EQ(write.args[5], 23);
    EXPECT_EQ(write.args[6], GL_BGRA);
    size_t inked = 0;
    for (size_t i = 3; i < write.pixels.size(); i += 4) inked += write.pixels[i] > 128;
    EXPECT_GT(inked, 20u);
    // The quad's top-right corner: the box's share of the texture.
    const GLRecordedCall* draw = gl.draws().back();
    const float boxWide = vertexOf(*draw, 3).x - vertexOf(*draw, 0).x;
    EXPECT_GE(boxWide, label->getContentSize().width);
    EXPECT_LT(boxWide, static_cast<float>(first->getPixelsWide()));
    EXPECT_FLOAT_EQ(vertexOf(*draw, 3).u, boxWide / static_cast<float>(first->getPixelsWide()));
    EXPECT_FLOAT_EQ(vertexOf(*draw, 0).v, 22.f / static_cast<float>(first->getPixelsHigh()));

    struct Step {
        const char* what;
        std::function<void()> change;
        size_t writes;
        bool sameTexture;
    };
    const Step steps[] = {
        {"nothing changed", [] {}, 1, true},
        {"a colour", [&] { label->setTextColor(Color4B{255, 0, 0, 255}); }, 2, true},
        {"a shorter text", [&] { label->setString("Mộc"); }, 3, true},
        {"a text three times as long", [&] { label->setString("Mộc Hà Lục Mộc Hà Lục Mộc Hà Lục"); }, 4, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        Director::getInstance()->mainLoop(0);
        EXPECT_EQ(writes().size(), step.writes);
        EXPECT_EQ(label->getTexture() == first, step.sameTexture);
    }
    EXPECT_EQ(gl.count("glTexImage2D"), 2u);
    EXPECT_GE(label->getTexture()->getPixelsWide(), static_cast<int>(label->getContentSize().width) + 1);
    first->release();
}

// The corner colours of a gradient layer (bottom-left, bottom-right, top-left,
// top-right; each channel within 1 of the expected value).
TEST_F(NodeDrawingTest, GradientCornersFollowColoursOpacitiesAndVector) {
    using C = std::array<unsigned, 4>;
    constexpr C red{255, 0, 0, 255}, blue{0, 0, 255, 255};
    struct Case {
        const char* what;
        Color4B start, end;
        Vec2 vector;
        bool compressed;
        uint8_t opacity;
        BlendFunc blend;
        C corners[4];
    };
    const Color4B r{255, 0, 0, 255}, b{0, 0, 255, 255};
    const Color4B whiteToClear[2] = {{255, 255, 255, 255}, {255, 255, 255, 0}};
    const BlendFunc pre = BlendFunc::ALPHA_PREMULTIPLIED, non = BlendFunc::ALPHA_NON_PREMULTIPLIED;
    const Case cases[] = {
        {"default vector: start at the top", r, b, {0, -1}, true, 255, pre, {blue, blue, red, red}},
        {"to the right, compressed", r, b, {1, 0}, true, 255, pre, {red, blue, red, blue}},
        {"to the right, not compressed: the sides fall short", r, b, {1, 0}, false, 255, pre,
         {{218, 0, 37, 255}, {37, 0, 218, 255}, {218, 0, 37, 255}, {37, 0, 218, 255}}},
        {"diagonal", r, b, {2, 2}, true, 255, pre, {red, {128, 0, 128, 255}, {128, 0, 128, 255}, blue}},
        {"steep slant, compressed: full colours at the extreme corners", r, b, {1, 3}, true, 255, pre,
         {red, {191, 0, 64, 255}, {64, 0, 191, 255}, blue}},
        {"end opacity and node opacity, premultiplied", whiteToClear[0], whiteToClear[1], {0, -1}, true, 128, pre,
         {C{0, 0, 0, 0}, C{0, 0, 0, 0}, C{128, 128, 128, 128}, C{128, 128, 128, 128}}},
        {"the same, not premultiplied", whiteToClear[0], whiteToClear[1], {0, -1}, true, 128, non,
         {C{255, 255, 255, 0}, C{255, 255, 255, 0}, C{255, 255, 255, 128}, C{255, 255, 255, 128}}},
        {"zero vector: the start colour", r, b, {0, 0}, true, 255, pre, {red, red, red, red}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gl.clear();
        LayerGradient* layer = LayerGradient::create(c.start, c.end, c.vector);
        layer->setCompressedInterpolation(c.compressed);
        layer->setOpacity(c.opacity);
        layer->setBlendFunc(c.blend);
        layer->setContentSize(Size(10, 20));
        layer->setPosition(5, 5);
        drawFrame({layer});
        auto draws = gl.draws();
        ASSERT_EQ(draws.size(), 1u);
        ASSERT_EQ(draws[0]->array(0)->vertexCount(), 4u);
        EXPECT_EQ(vertexOf(*draws[0], 0).x, 5);
        EXPECT_EQ(vertexOf(*draws[0], 3).y, 25);
        for (size_t i = 0; i < 4; ++i) {
            const Vertex v = vertexOf(*draws[0], i);
            const C got{v.r, v.g, v.b, v.a};
            for (size_t k = 0; k < 4; ++k)
                EXPECT_NEAR(got[k], c.corners[i][k], 1) << "corner " << i << " channel " << k;
        }
    }
}

// A layout's background, drawn behind every child (also those of negative z).
TEST_F(NodeDrawingTest, LayoutBackgroundKinds) {
    testsupport::TempDir dir;
    const std::string image = imageFile(dir, "back.png", 4, 2);
    struct Case {
        const char* what;
        std::function<void(ui::Layout*)> set;
        std::vector<Vertex> corners;   // bottom-left and top-right of the first draw; none: no draw
    };
    using Type = ui::Layout::BackGroundColorType;
    const Case cases[] = {
        {"none", [](ui::Layout*) {}, {}},
        {"solid colour at its opacity", [](ui::Layout* l) {
             l->setBackGroundColorType(Type::SOLID);
             l->setBackGroundColor(Color3B{100, 50, 250});
             l->setBackGroundColorOpacity(128);
         }, {{10, 20, 0, 0, 50, 25, 125, 128}, {30, 30, 1, 1, 50, 25, 125, 128}}},
        {"gradient, start at the top", [](ui::Layout* l) {
             l->setBackGroundColorType(Type::GRADIENT);
             l->setBackGroundColor(Color3B{255, 0, 0}, Color3B{0, 255, 0});
         }, {{10, 20, 0, 0, 0, 255, 0, 255}, {30, 30, 1, 1, 255, 0, 0, 255}}},
        {"image centred at its own size", [&](ui::Layout* l) { l->setBackGroundImage(image); },
         {{18, 24, 0, 1, 255, 255, 255, 255}, {22, 26, 1, 0, 255, 255, 255, 255}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gl.clear();
        ui::Layout* layout = ui::Layout::create();
        layout->setContentSize(Size(20, 10));
        layout->setPosition(Vec2(10, 20));
        c.set(layout);
        Sprite* below = Sprite::createWithTexture(texture());
        layout->addChild(below, -1);
        drawFrame({layout});
        auto draws = gl.draws();
        ASSERT_EQ(draws.size(), c.corners.empty() ? 1u : 2u);
        if (c.corners.empty()) continue;
        EXPECT_EQ(vertexOf(*draws[0], 0), c.corners[0]);
        EXPECT_EQ(vertexOf(*draws[0], 3), c.corners[1]);
    }
}

// A clipping layout's children draw inside its box in window pixels, cut to the
// clip around it; the scissor test ends with the layout.
TEST_F(NodeDrawingTest, ClippingLayoutScissorsItsChildren) {
    struct Case {
        const char* what;
        Size design;   // zero: the frame's 200 x 100 points
        bool nested;
        std::vector<std::string> trace;
    };
    const Case cases[] = {
        {"one layout", Size(), false, {"enable", "scissor 10 20 30 40", "draw", "disable"}},
        {"a clip inside a clip is cut to it", Size(), true,
         {"enable", "scissor 10 20 30 40", "draw", "scissor 30 30 10 30", "draw", "scissor 10 20 30 40", "disable"}},
        {"design points twice the pixels", Size(100, 50), false, {"enable", "scissor 20 40 60 80", "draw", "disable"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.design.width > 0)
            Director::getInstance()->getOpenGLView()->setDesignResolutionSize(c.design.width, c.design.height,
                                                                               ResolutionPolicy::EXACT_FIT);
        gl.clear();
        ui::Layout* outer = ui::Layout::create();
        outer->setContentSize(Size(30, 40));
        outer->setPosition(Vec2(10, 20));
        outer->setClippingEnabled(true);
        outer->addChild(LayerColor::create(Color4B{1, 2, 3, 255}, 100, 100));
        if (c.nested) {
            ui::Layout* inner = ui::Layout::create();
            inner->setContentSize(Size(30, 40));
            inner->setPosition(Vec2(20, 10));
            inner->setClippingEnabled(true);
            inner->addChild(Sprite::createWithTexture(texture()));
            outer->addChild(inner);
        }
        drawFrame({outer});
        EXPECT_EQ(clipTrace(gl, true, false), c.trace);
        EXPECT_EQ(Director::getInstance()->getRenderer()->getScissorDepth(), 0u);
    }
}

// A clipping rectangle node scissors to its region under its transform while
// clipping is on, and draws plainly while it is off.
TEST_F(NodeDrawingTest, ClippingRectangleNodeScissorsToItsRegion) {
    struct Case {
        const char* what;
        bool enabled;
        std::vector<std::string> trace;
    };
    const Case cases[] = {
        {"on", true, {"enable", "scissor 15 25 20 10", "draw", "disable"}},
        {"off", false, {"draw"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gl.clear();
        engine::ClippingRectangleNode* clip = engine::ClippingRectangleNode::create(engine::Rect(5, 5, 20, 10));
        clip->setPosition(Vec2(10, 20));
        clip->setClippingEnabled(c.enabled);
        clip->addChild(LayerColor::create(Color4B{1, 2, 3, 255}, 100, 100));
        drawFrame({clip});
        EXPECT_EQ(clipTrace(gl, true, false), c.trace);
    }
}

// The bar and centre wipes show the scene on top only inside its share of the
// screen (200 x 100 pixels here, rounded outwards), a quarter of the way through;
// the round wipes draw the outgoing scene outside the swept slice.
TEST_F(NodeDrawingTest, WipesScissorTheSceneOnTop) {
    struct Case {
        const char* what;
        engine::TransitionScene* (*make)(float, Scene*);
        std::vector<std::string> trace;
    };
    const Case cases[] = {
        {"across", [](float t, Scene* s) -> engine::TransitionScene* {
             return engine::TransitionProgressHorizontal::create(t, s);
         }, {"draw", "enable", "scissor 50 0 150 100", "draw", "disable"}},
        {"up", [](float t, Scene* s) -> engine::TransitionScene* {
             return engine::TransitionProgressVertical::create(t, s);
         }, {"draw", "enable", "scissor 0 25 200 75", "draw", "disable"}},
        {"growing from the centre", [](float t, Scene* s) -> engine::TransitionScene* {
             return engine::TransitionProgressInOut::create(t, s);
         }, {"draw", "enable", "scissor 75 37 50 26", "draw", "disable"}},
        {"round: the outgoing scene outside the swept slice", [](float t, Scene* s) -> engine::TransitionScene* {
             return engine::TransitionProgressRadialCW::create(t, s);
         }, {"draw", "stencil on", "never 1 1", "draw", "equal 0 1", "draw", "stencil off"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scene* out = Scene::create();
        out->addChild(LayerColor::create(Color4B{1, 2, 3, 255}, 200, 100));
        Director::getInstance()->runWithScene(out);
        Director::getInstance()->mainLoop(0);
        Scene* in = Scene::create();
        in->addChild(LayerColor::create(Color4B{4, 5, 6, 255}, 200, 100));
        Director::getInstance()->replaceScene(c.make(1.f, in));
        Director::getInstance()->mainLoop(0);
        gl.clear();
        Director::getInstance()->mainLoop(0.25f);
        EXPECT_EQ(clipTrace(gl, true, true), c.trace);
        EXPECT_EQ(Director::getInstance()->getRenderer()->getStencilDepth(), 0u);
        Director::destroyInstance();
        auto* view = new View;
        Director::getInstance()->setOpenGLView(view);
        view->release();
    }
}

// Each particle is a square of its size centred on its place, in its colour.
TEST_F(NodeDrawingTest, ParticlesDrawAsSquares) {
    engine::ParticleSystem* system = engine::ParticleSystem::createWithTotalParticles(1);
    system->setEmissionRate(1000.f);
    system->setLife(10.f);
    system->setStartSize(4.f);
    system->setEndSize(engine::ParticleSystem::kStartSizeEqualToEndSize);
    system->setStartColor(engine::Color4F{1.f, 0.f, 0.f, 1.f});
    system->setPosition(Vec2(20, 30));
    system->update(0.01f);
    ASSERT_EQ(system->getParticleCount(), 1);
    drawFrame({system});
    auto draws = gl.draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(vertexOf(*draws[0], 0), (Vertex{18, 28, 0, 0, 255, 0, 0, 255}));
    EXPECT_EQ(vertexOf(*draws[0], 3), (Vertex{22, 32, 1, 1, 255, 0, 0, 255}));
}

// A render texture clears the frame to its clear colour at begin, and at end
// draws what was visited since and reads its size of window pixels back into
// its picture (the recorder reads zeros).
TEST_F(NodeDrawingTest, RenderTextureReadsBackWhatWasDrawnBetweenBeginAndEnd) {
    engine::RenderTexture* texture = engine::RenderTexture::create(4, 3);
    texture->retain();
    texture->clear(1.f, 1.f, 1.f, 1.f);
    gl.clear();
    texture->setClearColor(engine::Color4F{0.f, 0.f, 1.f, 1.f});
    texture->begin();
    LayerColor* layer = LayerColor::create(Color4B{1, 2, 3, 255}, 10, 10);
    layer->visit(Director::getInstance()->getRenderer(), engine::Mat4(), 0);
    texture->end();
    std::vector<std::string> trace;
    for (const GLRecordedCall& call : gl.calls()) {
        std::string text;
        if (call.name == "glClearColor") text = "clear colour " + std::to_string(static_cast<int>(call.args[2]));
        if (call.name == "glClear") text = "clear";
        if (call.name == "glDrawElements") text = "draw";
        if (call.name == "glReadPixels") {
            text = "read " + std::to_string(static_cast<int>(call.args[2])) + "x" +
                   std::to_string(static_cast<int>(call.args[3]));
        }
        if (!text.empty()) trace.push_back(text);
    }
    EXPECT_EQ(trace, (std::vector<std::string>{"clear colour 1", "clear", "draw", "read 4x3"}));
    EXPECT_EQ(texture->getPixels(), std::vector<unsigned char>(48, 0)) << "the picture is what was read";
    texture->release();
}

// A clipping node draws its stencil into a stencil layer, showing nothing, then
// its children where the layer (and every layer around it) lets them through.
TEST_F(NodeDrawingTest, ClippingNodeDrawsThroughItsStencil) {
    struct Case {
        const char* what;
        bool stencil, inverted, nested;
        std::vector<std::string> trace;
    };
    const Case cases[] = {
        {"children where the stencil drew", true, false, false,
         {"enable", "never 1 1", "draw", "equal 1 1", "draw", "disable"}},
        {"inverted: where it did not", true, true, false,
         {"enable", "never 1 1", "draw", "equal 0 1", "draw", "disable"}},
        {"an inverted clip inside a clip", true, true, true,
         {"enable", "never 1 1", "draw", "equal 1 1", "never 2 2", "draw", "equal 1 3", "draw", "equal 1 1",
          "disable"}},
        {"no stencil: nothing", false, false, false, {}},
        {"no stencil, inverted: the children unclipped", false, true, false, {"draw"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gl.clear();
        auto clipping = [&c](bool inverted) {
            ClippingNode* clip =
                ClippingNode::create(c.stencil ? LayerColor::create(Color4B{0, 0, 0, 255}, 10, 10) : nullptr);
            clip->setInverted(inverted);
            clip->addChild(Sprite::createWithTexture(texture()));
            return clip;
        };
        ClippingNode* outer = c.nested ? clipping(false) : clipping(c.inverted);
        if (c.nested) {
            outer->removeAllChildren();
            outer->addChild(clipping(c.inverted));
        }
        drawFrame({outer});
        EXPECT_EQ(clipTrace(gl, false, true), c.trace);
        EXPECT_EQ(Director::getInstance()->getRenderer()->getStencilDepth(), 0u);
    }
}

// The texture bound when the draw ran (as far as the recorded calls tell).
GLuint textureOfDraw(const GLRecorder& gl, const GLRecordedCall* draw) {
    GLuint bound = 0;
    for (const GLRecordedCall& call : gl.calls()) {
        if (&call == draw) break;
        if (call.name == "glBindTexture") bound = static_cast<GLuint>(call.args[1]);
    }
    return bound;
}

// A 60 x 40 button at (50, 50): the image of its state over (20, 30) .. (80, 70),
// stretched whole or in nine slices, and its title over it.
TEST_F(NodeDrawingTest, ButtonDrawsTheImageOfItsStateAndItsTitle) {
    testsupport::TempDir dir;
    const std::string normal = imageFile(dir, "normal.png", 30, 30);
    const std::string disabled = imageFile(dir, "disabled.png", 12, 12);
    enum class Image { NORMAL, DISABLED, LABEL };
    struct Case {
        const char* what;
        std::function<void(ui::Button*)> set;
        std::vector<size_t> vertices;   // per draw call
        std::vector<Image> textures;
    };
    const Case cases[] = {
        {"stretched whole", [](ui::Button*) {}, {4}, {Image::NORMAL}},
        {"nine slices", [](ui::Button* b) { b->setScale9Enabled(true); }, {36}, {Image::NORMAL}},
        {"disabled, with its image", [&](ui::Button* b) {
             b->loadTextureDisabled(disabled);
             b->setEnabled(false);
         }, {4}, {Image::DISABLED}},
        {"disabled, without one", [](ui::Button* b) { b->setEnabled(false); }, {4}, {Image::NORMAL}},
        {"titled", [](ui::Button* b) { b->setTitleText("OK"); }, {4, 4}, {Image::NORMAL, Image::LABEL}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gl.clear();
        GL::invalidateStateCache();   // every case binds its textures anew
        ui::Button* button = ui::Button::create(normal);
        button->setContentSize(Size(60, 40));
        button->setPosition(Vec2(50, 50));
        c.set(button);
        drawFrame({button});
        auto draws = gl.draws();
        std::vector<size_t> vertices;
        std::vector<Image> textures;
        for (const auto* draw : draws) {
            vertices.push_back(draw->array(0)->vertexCount());
            const GLuint name = textureOfDraw(gl, draw);
            textures.push_back(name == button->getNormalTexture()->getName() ? Image::NORMAL
                               : button->getDisabledTexture() && name == button->getDisabledTexture()->getName()
                                   ? Image::DISABLED
                                   : Image::LABEL);
        }
        EXPECT_EQ(vertices, c.vertices);
        EXPECT_EQ(textures, c.textures);
        ASSERT_FALSE(draws.empty());
        float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
        for (size_t i = 0; i < draws[0]->array(0)->vertexCount(); ++i) {
            const Vertex v = vertexOf(*draws[0], i);
            x0 = std::min(x0, v.x);
            y0 = std::min(y0, v.y);
            x1 = std::max(x1, v.x);
            y1 = std::max(y1, v.y);
        }
        EXPECT_EQ((std::array<float, 4>{x0, y0, x1, y1}), (std::array<float, 4>{20, 30, 80, 70}));
    }
    // Untitled buttons of one image share a draw call.
    gl.clear();
    drawFrame({ui::Button::create(normal), ui::Button::create(normal)});
    ASSERT_EQ(gl.draws().size(), 1u);
    EXPECT_EQ(gl.draws()[0]->array(0)->vertexCount(), 8u);
}

// A progress timer over a 4 x 2 sprite: the vertices' positions (each triangle
// of a radial one is a quad with its last corner twice) and one texture coordinate.
TEST_F(NodeDrawingTest, ProgressTimerShowsItsShareOfTheSprite) {
    using Type = ProgressTimer::Type;
    struct Case {
        const char* what;
        Type type;
        float percent;
        Vec2 midpoint, rate;
        bool reverse;
        std::vector<Vec2> positions;
        size_t uvVertex;
        Vec2 uv;
    };
    const Case cases[] = {
        {"bar from the left", Type::BAR, 50, {0, 0}, {1, 0}, false, {{0, 0}, {2, 0}, {0, 2}, {2, 2}}, 3, {0.5f, 0}},
        {"bar from the middle, upwards and downwards", Type::BAR, 50, {0.5f, 0.5f}, {0, 1}, false,
         {{0, 0.5f}, {4, 0.5f}, {0, 1.5f}, {4, 1.5f}}, 3, {1, 0.25f}},
        {"radial quarter, clockwise from the top", Type::RADIAL, 25, {0.5f, 0.5f}, {1, 1}, false,
         {{2, 1}, {2, 2}, {4, 2}, {4, 2}, {2, 1}, {4, 2}, {4, 1}, {4, 1}}, 6, {1, 0.5f}},
        {"radial quarter, reversed", Type::RADIAL, 25, {0.5f, 0.5f}, {1, 1}, true,
         {{2, 1}, {2, 2}, {0, 2}, {0, 2}, {2, 1}, {0, 2}, {0, 1}, {0, 1}}, 6, {0, 0.5f}},
        {"radial from a corner midpoint, 72 degrees", Type::RADIAL, 20, {0, 0}, {1, 1}, false,
         {{0, 0}, {0, 2}, {4, 2}, {4, 2}, {0, 0}, {4, 2}, {4, 0.6498394f}, {4, 0.6498394f}}, 6, {1, 0.6750803f}},
        {"nothing shown", Type::RADIAL, 0, {0.5f, 0.5f}, {1, 1}, false, {}, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gl.clear();
        ProgressTimer* timer = ProgressTimer::create(Sprite::createWithTexture(texture()));
        timer->setAnchorPoint(Vec2(0, 0));
        timer->setType(c.type);
        timer->setMidpoint(c.midpoint);
        timer->setBarChangeRate(c.rate);
        timer->setReverseDirection(c.reverse);
        timer->setPercentage(c.percent);
        drawFrame({timer});
        auto draws = gl.draws();
        ASSERT_EQ(draws.size(), c.positions.empty() ? 0u : 1u);
        if (c.positions.empty()) continue;
        ASSERT_EQ(draws[0]->array(0)->vertexCount(), c.positions.size());
        for (size_t i = 0; i < c.positions.size(); ++i) {
            const Vertex v = vertexOf(*draws[0], i);
            EXPECT_NEAR(v.x, c.positions[i].x, 1e-4) << "vertex " << i;
            EXPECT_NEAR(v.y, c.positions[i].y, 1e-4) << "vertex " << i;
        }
        const Vertex v = vertexOf(*draws[0], c.uvVertex);
        EXPECT_NEAR(v.u, c.uv.x, 1e-4);
        EXPECT_NEAR(v.v, c.uv.y, 1e-4);
    }
    // A full circle: five triangles round the box.
    gl.clear();
    ProgressTimer* full = ProgressTimer::create(Sprite::createWithTexture(texture()));
    full->setPercentage(100);
    drawFrame({full});
    ASSERT_EQ(gl.draws().size(), 1u);
    EXPECT_EQ(gl.draws()[0]->array(0)->vertexCount(), 20u);
}

// Ink past a label's content box (its outline, descenders, marks over capitals) is
// drawn in rows of its own: the label's box holds as much ink as the same line drawn
// with room to spare, so nothing is cut off at the bottom, the top or the sides.
TEST_F(NodeDrawingTest, LabelKeepsTheInkPastItsContentBox) {
    struct Case {
        const char* what;
        const char* text;
        int outline;
    };
    const Case cases[] = {
        {"the loading status: an outline and descenders", "Đang tải bản cập nhật", 4},
        {"descenders", "gjpqy", 0},
        {"marks over capitals", "ỘẪẰ", 0},
    };
    constexpr float kSize = 25;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gl.clear();
        Label* label = Label::createWithSystemFont(c.text, "sans-serif", kSize);
        if (c.outline) label->enableOutline(Color4B{0, 0, 0, 255}, c.outline);
        drawFrame({label});
        const auto writes = gl.callsNamed("glTexSubImage2D");
        ASSERT_EQ(writes.size(), 1u);
        const GLRecordedCall& write = *writes[0];
        const GLRecordedCall& draw = *gl.draws().back();
        const auto boxWide = static_cast<int>(std::lround(vertexOf(draw, 3).x - vertexOf(draw, 0).x));
        const auto boxHigh = static_cast<int>(std::lround(vertexOf(draw, 3).y - vertexOf(draw, 0).y));
        const auto stride = static_cast<int>(write.args[4]) * 4;
        ASSERT_LE(boxHigh, static_cast<int>(write.args[5]));
        long inked = 0;
        for (int y = 0; y < boxHigh; ++y)
            for (int x = 0; x < boxWide; ++x) inked += write.pixels[static_cast<size_t>(y * stride + x * 4 + 3)];

        LabelRasterInput roomy;
        roomy.lines = {c.text};
        roomy.fontName = "sans-serif";
        roomy.fontSize = roomy.lineHeight = kSize;
        roomy.outlineColor = Color4B{0, 0, 0, 255};
        roomy.outlineSize = c.outline;
        roomy.width = boxWide + 60;
        roomy.inkMargin = 30;
        roomy.height = static_cast<int>(kSize) + 2 * roomy.inkMargin;
        const std::vector<unsigned char> reference = rasterizeLabel(roomy);
        long expected = 0;
        for (size_t i = 3; i < reference.size(); i += 4) expected += reference[i];
        EXPECT_GT(expected, 0);
        EXPECT_NEAR(inked, expected, expected / 200);
    }
}

// A text field draws its text from its origin up; a password field's pixels are
// not those of its text; an empty field draws nothing.
TEST_F(NodeDrawingTest, TextFieldDrawsItsTextOrBullets) {
    std::vector<std::vector<unsigned char>> uploads;
    for (bool password : {false, true}) {
        gl.clear();
        ui::UICCTextField* field = ui::UICCTextField::create();
        field->setPasswordEnabled(password);
        field->setPosition(Vec2(10, 20));
        field->setString("mật");
        drawFrame({field});
        auto draws = gl.draws();
        ASSERT_EQ(draws.size(), 1u);
        // The marks of "ậ" reach 2 rows past the content box, above and below;
        // the bullets fit in it.
        const float margin = password ? 0 : 2;
        EXPECT_EQ(vertexOf(*draws[0], 0).y, 20 - margin);
        EXPECT_EQ(vertexOf(*draws[0], 3).y, 20 + Label::kDefaultFontSize + margin);
        // The label makes its texture empty and writes the text into it in place.
        ASSERT_EQ(gl.count("glTexSubImage2D"), 1u);
        uploads.push_back(gl.callsNamed("glTexSubImage2D")[0]->pixels);
        ASSERT_FALSE(uploads.back().empty());
    }
    EXPECT_NE(uploads[0], uploads[1]);
    gl.clear();
    drawFrame({TextFieldTTF::create()});
    EXPECT_TRUE(gl.draws().empty());
}

// A text widget draws its label's texture over its content box.
TEST_F(NodeDrawingTest, TextWidgetDrawsItsLabel) {
    ui::Text* text = ui::Text::create("Hi", "sans-serif", 20);
    text->setPosition(Vec2(50, 50));
    drawFrame({text});
    auto draws = gl.draws();
    ASSERT_EQ(draws.size(), 1u);
    ASSERT_NE(text->getVirtualRenderer()->getTexture(), nullptr);
    EXPECT_EQ(textureOfDraw(gl, draws[0]), text->getVirtualRenderer()->getTexture()->getName());
    const Vertex bottomLeft = vertexOf(*draws[0], 0), topRight = vertexOf(*draws[0], 3);
    EXPECT_EQ(bottomLeft.y, 40);
    EXPECT_EQ(topRight.y, 60);
    EXPECT_NEAR((bottomLeft.x + topRight.x) / 2, 50, 0.5);
}

}  // namespace
