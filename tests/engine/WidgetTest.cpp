// UI widgets, the nine-slice sprite, the draw node and the layout reader.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/files/FileUtils.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/DrawNode.h"
#include "engine/studio/GUIReader.h"
#include "engine/ui/Button.h"
#include "engine/ui/Helper.h"
#include "engine/ui/LoadingBar.h"
#include "engine/ui/Scale9Sprite.h"
#include "engine/ui/Text.h"
#include "support/ImageEncoder.h"
#include "support/TestSupport.h"

using engine::Rect;
using engine::Size;
using engine::ui::Widget;

namespace {

struct WidgetTest : ::testing::Test {
    testsupport::TempDir dir;
    std::vector<std::string> savedPaths = engine::FileUtils::getInstance()->getSearchPaths();
    WidgetTest() { engine::FileUtils::getInstance()->setSearchPaths({dir.path() + "/"}); }
    ~WidgetTest() override {
        engine::AutoreleasePool::getInstance()->clear();
        engine::TextureCache::getInstance()->removeAllTextures();
        engine::FileUtils::getInstance()->setSearchPaths(savedPaths);
    }
    void image(const std::string& name, int width, int height) {
        auto png = testsupport::encodeBlankPng(width, height);
        std::ofstream(dir.file(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    }
};

TEST_F(WidgetTest, ClickReachesTheListenerOnlyWhenTheWidgetCanBeTapped) {
    struct Case {
        const char* what;
        bool enabled, touchEnabled, visible, parentVisible, listener;
        bool clicked;
    };
    const Case cases[] = {
        {"tappable", true, true, true, true, true, true},
        {"disabled", false, true, true, true, true, false},
        {"not touch-enabled", true, false, true, true, true, false},
        {"hidden", true, true, false, true, true, false},
        {"hidden parent", true, true, true, false, true, false},
        {"no listener", true, true, true, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Widget* parent = Widget::create();
        engine::ui::Button* button = engine::ui::Button::create();
        parent->addChild(button);
        int clicks = 0;
        engine::Ref* sender = nullptr;
        if (c.listener) {
            button->addClickEventListener([&](engine::Ref* from) {
                ++clicks;
                sender = from;
            });
        }
        button->setEnabled(c.enabled);
        button->setTouchEnabled(c.touchEnabled);
        button->setVisible(c.visible);
        parent->setVisible(c.parentVisible);
        EXPECT_EQ(button->simulateClick(), c.clicked);
        EXPECT_EQ(clicks, c.clicked ? 1 : 0);
        if (c.clicked) {
            EXPECT_EQ(sender, button);
        }
    }
    EXPECT_FALSE(Widget::create()->isTouchEnabled());
}

// The usual listener of a dialog button closes the dialog: it frees the button and
// the listener itself while they are running.
TEST_F(WidgetTest, AListenerMayDestroyItsOwnButton) {
    engine::Node* panel = engine::Node::create();
    panel->retain();
    engine::ui::Button* button = engine::ui::Button::create();
    panel->addChild(button);
    engine::AutoreleasePool::getInstance()->clear();
    std::string after;
    auto big = std::make_shared<std::string>("captured state");
    button->addClickEventListener([&after, panel, big](engine::Ref*) {
        panel->release();   // the panel and the button go
        after = *big;       // the listener's own state is still there
    });
    big.reset();
    EXPECT_TRUE(button->simulateClick());
    EXPECT_EQ(after, "captured state");
}

TEST_F(WidgetTest, WidgetsTakeTheirSizeFromImagesAndText) {
    image("btn.png", 120, 40);
    image("bar.png", 300, 12);
    testsupport::LogCapture log;
    engine::ui::Button* button = engine::ui::Button::create("btn.png", "missing.png", "");
    EXPECT_EQ(button->getContentSize(), Size(120, 40));
    EXPECT_NE(button->getNormalTexture(), nullptr);
    EXPECT_EQ(button->getPressedTexture(), nullptr);
    EXPECT_TRUE(log.contains("missing.png"));
    button->setTitleText("Retry");
    button->setTitleFontSize(25);
    EXPECT_EQ(button->getTitleRenderer()->getPosition(), engine::Vec2(60, 20));
    EXPECT_EQ(button->getChildrenCount(), 0u);

    engine::ui::Button* plain = engine::ui::Button::create("missing.png");
    EXPECT_EQ(plain->getContentSize(), Size(0, 0));
    EXPECT_TRUE(plain->isTouchEnabled());

    engine::ui::LoadingBar* bar = engine::ui::LoadingBar::create("bar.png", 150);
    EXPECT_EQ(bar->getContentSize(), Size(300, 12));
    EXPECT_EQ(bar->getPercent(), 100.f);
    bar->setPercent(-3);
    EXPECT_EQ(bar->getPercent(), 0.f);

    engine::ui::Text* text = engine::ui::Text::create("abcd", "sans-serif", 20);
    EXPECT_EQ(text->getContentSize(), Size(40, 20));
    text->setString("ab");
    EXPECT_EQ(text->getContentSize(), Size(20, 20));
}

TEST_F(WidgetTest, NineSliceInsetsDefaultToTheMiddleThirdAndStayInsideTheImage) {
    image("nine.png", 90, 30);
    EXPECT_EQ(engine::ui::Scale9Sprite::create("missing.png"), nullptr);
    engine::ui::Scale9Sprite* sprite = engine::ui::Scale9Sprite::create("nine.png");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getOriginalSize(), Size(90, 30));
    EXPECT_EQ(sprite->getContentSize(), Size(90, 30));
    EXPECT_EQ(sprite->getCapInsets(), Rect(30, 10, 30, 10));
    struct Case {
        Rect given, kept;
    };
    const Case cases[] = {
        {Rect(15, 6, 60, 18), Rect(15, 6, 60, 18)},
        {Rect(), Rect(30, 10, 30, 10)},
        // A narrow image with caps half its height wide: no negative middle.
        {Rect(50, 6, -10, 18), Rect(50, 6, 0, 18)},
        {Rect(-5, 40, 200, 5), Rect(0, 30, 90, 0)},
    };
    for (const Case& c : cases) {
        sprite->setCapInsets(c.given);
        EXPECT_EQ(sprite->getCapInsets(), c.kept);
    }
    sprite->setContentSize(Size(600, 400));
    EXPECT_EQ(sprite->getPreferredSize(), Size(600, 400));
    EXPECT_EQ(sprite->getOriginalSize(), Size(90, 30));
}

TEST_F(WidgetTest, DrawNodeRecordsShapesUntilCleared) {
    engine::DrawNode* node = engine::DrawNode::create();
    const engine::Color4F green{0.f, 1.f, 0.f, 1.f};
    node->drawSolidRect({1, 0}, {9, 2}, green);
    node->drawSolidCircle({1, 1}, 1, 0, 40, green);
    node->drawSolidCircle({1, 1}, 1, 0, 2, green);   // not a polygon
    ASSERT_EQ(node->getShapes().size(), 2u);
    EXPECT_EQ(node->getShapes()[0].kind, engine::DrawNode::Shape::Kind::SolidRect);
    EXPECT_EQ(node->getShapes()[0].destination, engine::Vec2(9, 2));
    EXPECT_EQ(node->getShapes()[1].segments, 40u);
    node->clear();
    EXPECT_TRUE(node->getShapes().empty());
}

TEST_F(WidgetTest, SeekWidgetByNameWalksWidgetsDepthFirst) {
    auto named = [](const std::string& name) {
        Widget* w = Widget::create();
        w->setName(name);
        return w;
    };
    Widget* root = named("root");
    Widget* a = named("a");
    Widget* deep = named("x");
    Widget* later = named("x");
    engine::Node* plainNode = engine::Node::create();
    Widget* underPlain = named("hidden");
    root->addChild(a);
    a->addChild(deep);
    root->addChild(later);
    root->addChild(plainNode);
    plainNode->addChild(underPlain);
    EXPECT_EQ(engine::ui::Helper::seekWidgetByName(root, "root"), root);
    EXPECT_EQ(engine::ui::Helper::seekWidgetByName(root, "x"), deep);   // a's subtree comes first
    EXPECT_EQ(engine::ui::Helper::seekWidgetByName(root, "hidden"), nullptr);
    EXPECT_EQ(engine::ui::Helper::seekWidgetByName(root, "none"), nullptr);
    EXPECT_EQ(engine::ui::Helper::seekWidgetByName(nullptr, "root"), nullptr);
}

TEST_F(WidgetTest, LayoutReaderBuildsTheWidgetTree) {
    image("bar.png", 300, 12);
    dir.write("ui/layout.json", R"({
      "name": "root", "type": "Layout", "size": [1334, 750],
      "children": [
        {"name": "bg", "type": "Widget", "position": [667, 375], "size": [1334, 750]},
        {"name": "panel", "type": "Widget", "visible": false, "children": [
          {"name": "bar_process", "type": "LoadingBar", "image": "bar.png", "percent": 40, "position": [667, 100]},
          {"name": "lbl_msg", "type": "Text", "text": "hello", "fontSize": 20}
        ]},
        {"name": "ok", "type": "Button", "text": "OK", "size": [80, 30]}
      ]})");
    Widget* root = studio::GUIReader::getInstance()->widgetFromJsonFile("ui/layout.json");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getAnchorPoint(), engine::Vec2(0, 0));
    EXPECT_EQ(root->getContentSize(), Size(1334, 750));
    ASSERT_EQ(root->getChildrenCount(), 3u);
    using engine::ui::Helper;
    auto* bar = dynamic_cast<engine::ui::LoadingBar*>(Helper::seekWidgetByName(root, "bar_process"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->getPercent(), 40.f);
    EXPECT_EQ(bar->getContentSize(), Size(300, 12));
    EXPECT_EQ(bar->getPosition(), engine::Vec2(667, 100));
    auto* label = dynamic_cast<engine::ui::Text*>(Helper::seekWidgetByName(root, "lbl_msg"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getString(), "hello");
    EXPECT_EQ(label->getFontSize(), 20.f);
    EXPECT_FALSE(Helper::seekWidgetByName(root, "panel")->isVisible());
    auto* ok = dynamic_cast<engine::ui::Button*>(Helper::seekWidgetByName(root, "ok"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->getTitleText(), "OK");
    EXPECT_EQ(ok->getContentSize(), Size(80, 30));
}

TEST_F(WidgetTest, LayoutReaderRefusesAFileItCannotReadWhole) {
    std::string deep = R"({"type": "Widget"})";
    for (int i = 0; i < studio::GUIReader::kMaxDepth + 1; ++i) deep = R"({"type": "Widget", "children": [)" + deep + "]}";
    std::string allowed = R"({"type": "Widget"})";
    for (int i = 0; i < studio::GUIReader::kMaxDepth; ++i) allowed = R"({"type": "Widget", "children": [)" + allowed + "]}";
    struct Case {
        std::string text;
        bool read;
    };
    const Case cases[] = {
        {R"({"type": "Widget"})", true},
        {allowed, true},
        {deep, false},
        {"", false},
        {"[1, 2]", false},
        {R"({"name": "no type"})", false},
        {R"({"type": "Slider"})", false},
        {R"({"type": 3})", false},
        {R"({"type": "Widget", "name": 7})", false},
        {R"({"type": "Widget", "position": [1]})", false},
        {R"({"type": "Widget", "size": [1, "2"]})", false},
        {R"({"type": "Widget", "visible": 1})", false},
        {R"({"type": "Widget", "children": {}})", false},
        {R"({"type": "Widget", "children": [{"type": "Text", "fontSize": "big"}]})", false},
        {R"({"type": "Widget", "children": [{"type": "Widget"}, 5]})", false},
    };
    testsupport::LogCapture log;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 80));
        const size_t logged = log.lines().size();
        Widget* root = studio::GUIReader::getInstance()->widgetFromJsonText(c.text, "layout.json");
        EXPECT_EQ(root != nullptr, c.read);
        if (!c.read) {
            EXPECT_GT(log.lines().size(), logged);
        }
        engine::AutoreleasePool::getInstance()->clear();
    }
    EXPECT_EQ(studio::GUIReader::getInstance()->widgetFromJsonFile("missing.json"), nullptr);
}

}  // namespace
