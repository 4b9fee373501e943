// How widgets get arranged: the boxes' linear and relative layouts, layout
// components, rich text lines and character-map text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/ImageEncoder.h"
#include "../support/TestSupport.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/label/Label.h"
#include "engine/renderer/Renderer.h"
#include "engine/ui/Boxes.h"
#include "engine/ui/LayoutComponent.h"
#include "engine/ui/LayoutParameter.h"
#include "engine/ui/RichText.h"
#include "engine/ui/TextAtlas.h"

using engine::Color3B;
using engine::Node;
using engine::Size;
using engine::Vec2;
using namespace engine::ui;

namespace {

struct UiArrangementTest : ::testing::Test {
    ~UiArrangementTest() override { engine::AutoreleasePool::getInstance()->clear(); }
};

Widget* sized(float width, float height, const Vec2& anchor = Vec2(0, 0)) {
    Widget* widget = Widget::create();
    widget->setContentSize(Size(width, height));
    widget->setAnchorPoint(anchor);
    return widget;
}

LinearLayoutParameter* linear(LinearLayoutParameter::LinearGravity gravity, const Margin& margin) {
    LinearLayoutParameter* parameter = LinearLayoutParameter::create();
    parameter->setGravity(gravity);
    parameter->setMargin(margin);
    return parameter;
}

// Two widgets of 20 x 10 (the second anchored at its centre) in a 100 x 50 box.
TEST_F(UiArrangementTest, LinearBoxesStackTheirWidgetsWithMarginsAndGravity) {
    using Gravity = LinearLayoutParameter::LinearGravity;
    struct Case {
        const char* what;
        bool vertical;
        Gravity gravity;
        Margin margin;   // of both widgets
        Vec2 first, second;
    };
    const Case cases[] = {
        {"vertical, no parameter", true, Gravity::NONE, {}, {0, 40}, {10, 35}},
        {"vertical with margins", true, Gravity::LEFT, {2, 3, 0, 4}, {2, 37}, {12, 25}},
        {"vertical at the right", true, Gravity::RIGHT, {0, 0, 5, 0}, {75, 40}, {85, 35}},
        {"vertical centred", true, Gravity::CENTER_HORIZONTAL, {}, {40, 40}, {50, 35}},
        {"horizontal at the top", false, Gravity::TOP, {1, 2, 3, 0}, {1, 38}, {35, 43}},
        {"horizontal at the bottom", false, Gravity::BOTTOM, {0, 0, 0, 6}, {0, 6}, {30, 11}},
        {"horizontal centred", false, Gravity::CENTER_VERTICAL, {}, {0, 20}, {30, 25}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Layout* box = c.vertical ? static_cast<Layout*>(VBox::create(Size(100, 50)))
                                 : static_cast<Layout*>(HBox::create(Size(100, 50)));
        Widget* first = sized(20, 10);
        Widget* second = sized(20, 10, Vec2(0.5f, 0.5f));
        for (Widget* widget : {first, second}) {
            widget->setLayoutParameter(linear(c.gravity, c.margin));
            box->addChild(widget);
        }
        if (c.gravity == Gravity::NONE) first->setLayoutParameter(nullptr), second->setLayoutParameter(nullptr);
        Node* stranger = Node::create();
        stranger->setPosition(7, 7);
        box->addChild(stranger);
        box->forceDoLayout();
        EXPECT_EQ(first->getPosition(), c.first);
        EXPECT_EQ(second->getPosition(), c.second);
        EXPECT_EQ(stranger->getPosition(), Vec2(7, 7)) << "not a widget: stays";
    }
}

TEST_F(UiArrangementTest, RelativeBoxesPlaceByAlignInsideOrBesideASibling) {
    using Align = RelativeLayoutParameter::RelativeAlign;
    struct Case {
        Align align;
        Margin margin;
        Vec2 position;   // of a 20 x 10 widget anchored at the lower left, in 100 x 50
    };
    // The sibling "base" sits at (40, 20) to (60, 30).
    const Case cases[] = {
        {Align::PARENT_TOP_LEFT, {1, 2, 0, 0}, {1, 38}},
        {Align::PARENT_TOP_RIGHT, {0, 0, 3, 0}, {77, 40}},
        {Align::CENTER_IN_PARENT, {5, 5, 5, 5}, {40, 20}},
        {Align::PARENT_RIGHT_BOTTOM, {0, 0, 1, 2}, {79, 2}},
        {Align::PARENT_BOTTOM_CENTER_HORIZONTAL, {}, {40, 0}},
        {Align::LOCATION_ABOVE_LEFTALIGN, {0, 0, 0, 4}, {40, 34}},
        {Align::LOCATION_BELOW_RIGHTALIGN, {0, 1, 0, 0}, {40, 9}},
        {Align::LOCATION_LEFT_OF_CENTER, {0, 0, 2, 0}, {18, 20}},
        {Align::LOCATION_RIGHT_OF_TOPALIGN, {3, 0, 0, 0}, {63, 20}},
        {Align::NONE, {}, {7, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.align));
        RelativeBox* box = RelativeBox::create(Size(100, 50));
        Widget* base = sized(20, 10);
        RelativeLayoutParameter* baseParameter = RelativeLayoutParameter::create();
        baseParameter->setAlign(Align::CENTER_IN_PARENT);
        baseParameter->setRelativeName("base");
        base->setLayoutParameter(baseParameter);
        Widget* widget = sized(20, 10);
        widget->setPosition(7, 7);
        RelativeLayoutParameter* parameter = RelativeLayoutParameter::create();
        parameter->setAlign(c.align);
        parameter->setMargin(c.margin);
        parameter->setRelativeToWidgetName("base");
        widget->setLayoutParameter(parameter);
        box->addChild(base);
        box->addChild(widget);
        box->forceDoLayout();
        EXPECT_EQ(base->getPosition(), Vec2(40, 20));
        EXPECT_EQ(widget->getPosition(), c.position);
    }
    // Beside a sibling that is not there: the widget stays.
    RelativeBox* box = RelativeBox::create(Size(100, 50));
    Widget* lonely = sized(20, 10);
    lonely->setPosition(3, 4);
    RelativeLayoutParameter* parameter = RelativeLayoutParameter::create();
    parameter->setAlign(Align::LOCATION_ABOVE_CENTER);
    parameter->setRelativeToWidgetName("nobody");
    lonely->setLayoutParameter(parameter);
    box->addChild(lonely);
    box->forceDoLayout();
    EXPECT_EQ(lonely->getPosition(), Vec2(3, 4));
}

// A 20 x 10 node anchored at its centre inside a 200 x 100 parent.
TEST_F(UiArrangementTest, LayoutComponentsPlaceAndSizeTheirOwner) {
    using H = LayoutComponent::HorizontalEdge;
    using V = LayoutComponent::VerticalEdge;
    struct Case {
        const char* what;
        void (*set)(LayoutComponent*);
        Vec2 position;
        Size size;
    };
    const Case cases[] = {
        {"nothing set", [](LayoutComponent*) {}, {5, 5}, {20, 10}},
        {"left and top edges",
         [](LayoutComponent* c) {
             c->setHorizontalEdge(H::Left);
             c->setLeftMargin(4);
             c->setVerticalEdge(V::Top);
             c->setTopMargin(6);
         },
         {14, 89}, {20, 10}},
        {"right and bottom edges",
         [](LayoutComponent* c) {
             c->setHorizontalEdge(H::Right);
             c->setRightMargin(10);
             c->setVerticalEdge(V::Bottom);
             c->setBottomMargin(2);
         },
         {180, 7}, {20, 10}},
        {"centred", [](LayoutComponent* c) { c->setHorizontalEdge(H::Center), c->setVerticalEdge(V::Center); },
         {100, 50}, {20, 10}},
        {"percent position and size",
         [](LayoutComponent* c) {
             c->setPositionPercentXEnabled(true);
             c->setPositionPercentX(0.25f);
             c->setPositionPercentYEnabled(true);
             c->setPositionPercentY(0.5f);
             c->setPercentWidthEnabled(true);
             c->setPercentWidth(0.5f);
         },
         {50, 50}, {100, 10}},
        {"stretched between the margins",
         [](LayoutComponent* c) {
             c->setStretchWidthEnabled(true);
             c->setLeftMargin(10);
             c->setRightMargin(30);
             c->setHorizontalEdge(H::Left);
         },
         {90, 5}, {160, 10}},
        {"inactive",
         [](LayoutComponent* c) {
             c->setHorizontalEdge(H::Center);
             c->setActiveEnabled(false);
         },
         {5, 5}, {20, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Node* parent = Node::create();
        parent->setContentSize(Size(200, 100));
        Node* owner = Node::create();
        owner->setContentSize(Size(20, 10));
        owner->setAnchorPoint(Vec2(0.5f, 0.5f));
        owner->setPosition(5, 5);
        parent->addChild(owner);
        LayoutComponent* component = LayoutComponent::bindLayoutComponent(owner);
        ASSERT_NE(component, nullptr);
        EXPECT_EQ(LayoutComponent::bindLayoutComponent(owner), component) << "one per node";
        c.set(component);
        component->refreshLayout();
        EXPECT_EQ(owner->getPosition(), c.position);
        EXPECT_EQ(owner->getContentSize(), c.size);
    }
}

// Texts measure half their font size a character (a 20-point text: 10 a character).
TEST_F(UiArrangementTest, RichTextWrapsElementsIntoLines) {
    struct Case {
        const char* what;
        float width;   // 0: the widget adapts to its content
        std::vector<std::string> texts;
        std::vector<std::string> pieces;
        int lines;
        Size size;   // a fixed width keeps the widget's own size
    };
    const Case cases[] = {
        {"one line", 0, {"ab", "cde"}, {"ab", "cde"}, 1, {50, 20}},
        {"line break", 0, {"ab\ncd"}, {"ab", "cd"}, 2, {20, 44}},
        {"wrap at the last blank that fits", 60, {"one two three"}, {"one ", "two ", "three"}, 3, {60, 68}},
        {"a word longer than the line is cut", 40, {"abcdefgh"}, {"abcd", "efgh"}, 2, {40, 68}},
        {"the next element goes on where the last ended", 60, {"ab", "cd", "efgh"}, {"ab", "cd", "ef", "gh"}, 2,
         {60, 68}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RichText* text = RichText::create();
        text->setVerticalSpace(4);
        if (c.width > 0) {
            text->ignoreContentAdaptWithSize(false);
            text->setContentSize(Size(c.width, 68));
        }
        for (const std::string& piece : c.texts) {
            text->pushBackElement(RichElementText::create(1, Color3B{255, 0, 0}, 128, piece, "Arial", 20));
        }
        text->formatText();
        std::vector<std::string> pieces;
        for (Node* renderer : text->getRenderers()) {
            auto* label = dynamic_cast<engine::Label*>(renderer);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->getColor(), (Color3B{255, 0, 0}));
            EXPECT_EQ(label->getOpacity(), 128);
            pieces.push_back(label->getString());
        }
        EXPECT_EQ(pieces, c.pieces);
        EXPECT_EQ(text->getLineCount(), c.lines);
        EXPECT_EQ(text->getContentSize(), c.size);
    }
}

TEST_F(UiArrangementTest, RichTextLinesSitBelowEachOtherWithTheirTallestPiece) {
    RichText* text = RichText::create();
    text->ignoreContentAdaptWithSize(false);
    text->setContentSize(Size(100, 100));
    Node* box = Node::create();
    box->setContentSize(Size(30, 50));
    text->pushBackElement(RichElementText::create(0, Color3B{}, 255, "abcd", "Arial", 20));
    text->pushBackElement(RichElementCustomNode::create(0, Color3B{}, 255, box));
    text->pushBackElement(RichElementCustomNode::create(0, Color3B{}, 255, Node::create()));
    EXPECT_EQ(RichElementCustomNode::create(0, Color3B{}, 255, nullptr), nullptr);
    RichElementText* tail = RichElementText::create(0, Color3B{}, 255, "efghijk", "Arial", 20);
    text->pushBackElement(tail);
    text->formatText();
    const auto& renderers = text->getRenderers();
    ASSERT_EQ(renderers.size(), 5u);
    // Line 1, 50 high: "abcd" (40), the box (30), the empty node, "efg" (30);
    // line 2, 20 high: "hijk".
    EXPECT_EQ(renderers[0]->getPosition(), Vec2(0, 50));
    EXPECT_EQ(renderers[1], box);
    EXPECT_EQ(box->getPosition(), Vec2(40, 50));
    EXPECT_EQ(renderers[2]->getPosition(), Vec2(70, 50));
    EXPECT_EQ(renderers[3]->getPosition(), Vec2(70, 50));
    EXPECT_EQ(dynamic_cast<engine::Label*>(renderers[3])->getString(), "efg");
    EXPECT_EQ(renderers[4]->getPosition(), Vec2(0, 30));
    EXPECT_EQ(text->getLineCount(), 2);
    text->removeElement(tail);
    text->removeElement(0);
    text->formatText();
    EXPECT_EQ(text->getRenderers().size(), 2u);
    EXPECT_EQ(text->getLineCount(), 1);
}

TEST_F(UiArrangementTest, TextAtlasesMeasureAndDrawCellsOfTheirMap) {
    testsupport::TempDir dir;
    // A map of 4 x 2 cells of 8 x 16: characters '0' to '7'.
    const std::vector<unsigned char> png = testsupport::encodeBlankPng(32, 32);
    const std::string map = dir.write("digits.png", std::string(png.begin(), png.end()));
    TextAtlas* atlas = TextAtlas::create("1507", map, 8, 16, "0");
    ASSERT_NE(atlas, nullptr);
    EXPECT_EQ(atlas->getContentSize(), Size(32, 16));
    EXPECT_EQ(atlas->getStringLength(), 4);
    struct Cell {
        char c;
        bool has;
        int column, row;
    };
    const Cell cells[] = {{'0', true, 0, 0}, {'3', true, 3, 0}, {'5', true, 1, 1}, {'7', true, 3, 1},
                          {'8', false, 0, 0}, {'/', false, 0, 0}};
    for (const Cell& cell : cells) {
        SCOPED_TRACE(cell.c);
        int column = -1, row = -1;
        EXPECT_EQ(atlas->cellOf(cell.c, &column, &row), cell.has);
        if (cell.has) {
            EXPECT_EQ(column, cell.column);
            EXPECT_EQ(row, cell.row);
        }
    }
    atlas->setString("19x");
    EXPECT_EQ(atlas->getContentSize(), Size(24, 16));
    engine::Renderer renderer;
    atlas->draw(&renderer, engine::Mat4::IDENTITY, 0);
    EXPECT_EQ(renderer.getQueuedCommandCount(), 1u) << "one command of the cells that exist";
    renderer.render();
    TextAtlas* unmapped = TextAtlas::create("12", dir.file("none.png"), 8, 16, "0");
    ASSERT_NE(unmapped, nullptr);
    EXPECT_EQ(unmapped->getContentSize(), Size(16, 16));
    unmapped->draw(&renderer, engine::Mat4::IDENTITY, 0);
    EXPECT_EQ(renderer.getQueuedCommandCount(), 0u);
}

}  // namespace
