// The widgets' images from files and sprite-sheet frames, their looks by state,
// sizes that adapt or stay, percent layout, scroll-view glides and copies.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/files/FileUtils.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/SpriteFrameCache.h"
#include "engine/ui/Button.h"
#include "engine/ui/CheckBox.h"
#include "engine/ui/ImageView.h"
#include "engine/ui/Layout.h"
#include "engine/ui/LoadingBar.h"
#include "engine/ui/RadioButton.h"
#include "engine/ui/ScrollView.h"
#include "engine/ui/Slider.h"
#include "engine/ui/Text.h"
#include "support/ImageEncoder.h"
#include "support/TestSupport.h"

using engine::Rect;
using engine::Size;
using engine::Vec2;
using namespace engine::ui;

namespace {

struct WidgetImagesTest : ::testing::Test {
    testsupport::TempDir dir;
    std::vector<std::string> savedPaths = engine::FileUtils::getInstance()->getSearchPaths();
    WidgetImagesTest() {
        engine::FileUtils::getInstance()->setSearchPaths({dir.path() + "/"});
        image("btn.png", 120, 40);
        image("box.png", 50, 50);
        image("tick.png", 20, 20);
        image("bar.png", 300, 12);
        image("sheet.png", 64, 64);
        // Two frames of one sheet, as a sheet file would file them.
        auto* cache = engine::SpriteFrameCache::getInstance();
        cache->addSpriteFrame(engine::SpriteFrame::create("sheet.png", Rect(4, 8, 30, 20)), "icon.png");
        cache->addSpriteFrame(engine::SpriteFrame::create("sheet.png", Rect(40, 0, 16, 16)), "dot.png");
    }
    ~WidgetImagesTest() override {
        engine::AutoreleasePool::getInstance()->clear();
        engine::SpriteFrameCache::getInstance()->removeSpriteFrames();
        engine::TextureCache::getInstance()->removeAllTextures();
        engine::FileUtils::getInstance()->setSearchPaths(savedPaths);
    }
    void image(const std::string& name, int width, int height) {
        auto png = testsupport::encodeBlankPng(width, height);
        std::ofstream(dir.file(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    }
};

// The part of its texture that a widget's look shows.
Rect shownRect(Widget* widget) {
    auto* sprite = dynamic_cast<Scale9Sprite*>(widget->getVirtualRenderer());
    return sprite ? sprite->getTextureRect() : Rect(-1, -1, -1, -1);
}

}  // namespace

TEST_F(WidgetImagesTest, ImagesComeFromFilesOrSheetFrames) {
    const auto frame = TextureResType::PLIST;
    const struct {
        const char* what;
        std::function<Widget*()> make;
        Size size;
        Rect shown;   // of the texture
    } cases[] = {
        // Plain files show the whole image.
        {"button", [] { return Button::create("btn.png", "", "", TextureResType::LOCAL); }, Size(120, 40),
         Rect(0, 0, 120, 40)},
        {"check box", [] { return CheckBox::create("box.png", "", "tick.png", "", ""); }, Size(50, 50),
         Rect(0, 0, 50, 50)},
        {"radio button", [] { return RadioButton::create("box.png", "tick.png"); }, Size(50, 50), Rect(0, 0, 50, 50)},
        {"slider", [] { return Slider::create("bar.png", "tick.png"); }, Size(300, 12), Rect(0, 0, 300, 12)},
        // Frames show their rectangle of the sheet.
        {"button frame", [=] { return Button::create("icon.png", "dot.png", "", frame); }, Size(30, 20),
         Rect(4, 8, 30, 20)},
        {"image frame", [=] { return ImageView::create("icon.png", frame); }, Size(30, 20), Rect(4, 8, 30, 20)},
        {"bar frame", [=] { return LoadingBar::create("dot.png", frame, 40); }, Size(16, 16), Rect(40, 0, 16, 16)},
        {"check box frames", [=] { return CheckBox::create("icon.png", "dot.png", frame); }, Size(30, 20),
         Rect(4, 8, 30, 20)},
        // A frame name is not a file, and a file name is not a frame.
        {"frame read as a file", [] { return ImageView::create("icon.png"); }, Size(0, 0), Rect(-1, -1, -1, -1)},
        {"file read as a frame", [=] { return Button::create("btn.png", "", "", frame); }, Size(0, 0),
         Rect(-1, -1, -1, -1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Widget* widget = c.make();
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->getContentSize(), c.size);
        EXPECT_EQ(shownRect(widget), c.shown);
    }
}

TEST_F(WidgetImagesTest, LoadingBarKeepsPercentAndDirection) {
    LoadingBar* bar = LoadingBar::create("bar.png", 140);
    EXPECT_EQ(bar->getPercent(), 100.f);
    bar->setDirection(LoadingBar::Direction::RIGHT);
    EXPECT_EQ(bar->getDirection(), LoadingBar::Direction::RIGHT);
    EXPECT_EQ(static_cast<int>(LoadingBar::Direction::RIGHT), 1);
}

TEST_F(WidgetImagesTest, TheShownImageFollowsTheState) {
    const struct {
        const char* what;
        std::function<void(Button*)> set;
        const char* shown;   // which image's renderer
    } cases[] = {
        {"normal", [](Button*) {}, "normal"},
        {"disabled", [](Button* b) { b->setEnabled(false); }, "disabled"},
        {"not bright", [](Button* b) { b->setBright(false); }, "disabled"},
        {"highlight style", [](Button* b) { b->setBrightStyle(Widget::BrightStyle::HIGHLIGHT); }, "pressed"},
        {"bright again", [](Button* b) {
             b->setBrightStyle(Widget::BrightStyle::HIGHLIGHT);
             b->setBright(false);
             b->setBright(true);
         }, "normal"},
        {"disabled wins over highlight", [](Button* b) {
             b->setBrightStyle(Widget::BrightStyle::HIGHLIGHT);
             b->setEnabled(false);
         }, "disabled"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Button* button = Button::create("btn.png", "box.png", "tick.png");
        c.set(button);
        const engine::Node* shown = button->getVirtualRenderer();
        const std::string name = shown == button->getRendererNormal()    ? "normal"
                                 : shown == button->getRendererClicked() ? "pressed"
                                 : shown == button->getRendererDisabled() ? "disabled"
                                                                          : "?";
        EXPECT_EQ(name, c.shown);
    }
}

TEST_F(WidgetImagesTest, SizesAdaptToTheImageOrStayCustom) {
    ImageView* view = ImageView::create("btn.png");
    EXPECT_EQ(view->getContentSize(), Size(120, 40));
    view->setContentSize(Size(10, 10));
    EXPECT_EQ(view->getCustomSize(), Size(10, 10));
    view->ignoreContentAdaptWithSize(true);   // back to the image's
    EXPECT_EQ(view->getContentSize(), Size(120, 40));
    view->ignoreContentAdaptWithSize(false);   // the custom size again, also across loads
    EXPECT_EQ(view->getContentSize(), Size(10, 10));
    view->loadTexture("box.png");
    EXPECT_EQ(view->getContentSize(), Size(10, 10));
    EXPECT_EQ(view->getVirtualRendererSize(), Size(50, 50));

    Text* text = Text::create("héllo", "fonts/a.ttf", 20);
    EXPECT_EQ(text->getStringLength(), 5u);
    EXPECT_EQ(text->getType(), Text::Type::TTF);
    text->setFontName("sans-serif");
    EXPECT_EQ(text->getType(), Text::Type::SYSTEM);
}

TEST_F(WidgetImagesTest, PercentSizesAndPositionsShareTheParentsSize) {
    Layout* parent = Layout::create();
    parent->setContentSize(Size(200, 100));
    Widget* child = Widget::create();
    parent->addChild(child);
    child->setContentSize(Size(10, 10));
    child->setSizePercent(Vec2(0.5f, 0.25f));   // kept while the size is absolute
    EXPECT_EQ(child->getContentSize(), Size(10, 10));
    child->setSizeType(Widget::SizeType::PERCENT);
    EXPECT_EQ(child->getContentSize(), Size(100, 25));
    child->setPositionType(Widget::PositionType::PERCENT);
    child->setPositionPercent(Vec2(0.5f, 0.5f));
    EXPECT_EQ(child->getPosition(), Vec2(100, 50));
    // The box's edges about the centre anchor.
    EXPECT_EQ(child->getLeftBoundary(), 50.f);
    EXPECT_EQ(child->getRightBoundary(), 150.f);
    EXPECT_EQ(child->getBottomBoundary(), 37.5f);
    EXPECT_EQ(child->getTopBoundary(), 62.5f);
    child->updateSizeAndPosition(Size(40, 40));
    EXPECT_EQ(child->getContentSize(), Size(20, 10));
    EXPECT_EQ(child->getPosition(), Vec2(20, 20));
    child->setSizeType(Widget::SizeType::ABSOLUTE);
    child->updateSizeAndPosition(Size(400, 400));
    EXPECT_EQ(child->getContentSize(), Size(20, 10));
    EXPECT_EQ(child->getSizePercent(), Vec2(0.5f, 0.25f));
    EXPECT_EQ(child->getPosition(), Vec2(200, 200));
}

TEST_F(WidgetImagesTest, ScrollViewGlidesToPercents) {
    // A 100-high view over 300 of content: the container's y runs from -200 (top) to 0.
    const struct {
        const char* what;
        std::function<void(ScrollView*)> start;
        float half;   // y after half the time
        float end;
        const char* events;
    } cases[] = {
        {"jump to the middle", [](ScrollView* s) { s->jumpToPercentVertical(50); }, -100, -100, ""},
        {"even glide down", [](ScrollView* s) { s->scrollToPercentVertical(50, 1, false); }, -150, -100,
         "4 4 "},
        {"attenuated glide", [](ScrollView* s) { s->scrollToPercentVertical(50, 1, true); }, -112.5f, -100,
         "4 4 "},
        {"glide to the bottom", [](ScrollView* s) { s->scrollToBottom(1, false); }, -100, 0, "4 4 1 "},
        {"no time is at once", [](ScrollView* s) { s->scrollToPercentVertical(100, 0, false); }, 0, 0, "4 1 "},
        {"percents are clamped", [](ScrollView* s) { s->jumpToPercentVertical(250); }, 0, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScrollView* view = ScrollView::create();
        view->setContentSize(Size(100, 100));
        view->setInnerContainerSize(Size(100, 300));
        view->jumpToTop();
        std::string events;
        view->addEventListener([&events](engine::Ref*, ScrollView::EventType type) {
            events += std::to_string(static_cast<int>(type)) + " ";
        });
        c.start(view);
        view->update(0.5f);
        EXPECT_EQ(view->getInnerContainerPosition().y, c.half);
        view->update(0.5f);
        EXPECT_EQ(view->getInnerContainerPosition().y, c.end);
        EXPECT_FALSE(view->isAutoScrolling());
        EXPECT_EQ(events, c.events);
    }
}

TEST_F(WidgetImagesTest, CloneCopiesTheKindTheLookAndTheWidgetChildren) {
    Button* button = Button::create("icon.png", "", "", TextureResType::PLIST);
    button->setTitleText("Play");
    button->setPressedActionEnabled(true);
    button->setFlippedX(true);
    button->setTag(7);
    button->addChild(ImageView::create("box.png"));
    button->addChild(engine::Node::create());   // not a widget: not copied

    auto* copy = dynamic_cast<Button*>(button->clone());
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, button);
    EXPECT_EQ(copy->getTitleText(), "Play");
    EXPECT_TRUE(copy->isPressedActionEnabled());
    EXPECT_TRUE(copy->isFlippedX());
    EXPECT_EQ(copy->getTag(), 7);
    EXPECT_EQ(copy->getContentSize(), Size(30, 20));
    EXPECT_EQ(shownRect(copy), Rect(4, 8, 30, 20));
    ASSERT_EQ(copy->getChildrenCount(), 1u);
    auto* image = dynamic_cast<ImageView*>(copy->getChildren()[0]);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getContentSize(), Size(50, 50));

    EXPECT_EQ(ScrollView::create()->clone(), nullptr);
}

TEST_F(WidgetImagesTest, NineSliceInsetsMoveOneSideAtATime) {
    image("nine.png", 90, 30);   // default centre: (30, 10, 30, 10)
    const struct {
        const char* what;
        std::function<void(Scale9Sprite*)> set;
        Rect insets;
    } cases[] = {
        {"left", [](Scale9Sprite* s) { s->setInsetLeft(5); }, Rect(5, 10, 55, 10)},
        {"right", [](Scale9Sprite* s) { s->setInsetRight(5); }, Rect(30, 10, 55, 10)},
        {"top", [](Scale9Sprite* s) { s->setInsetTop(2); }, Rect(30, 2, 30, 18)},
        {"bottom", [](Scale9Sprite* s) { s->setInsetBottom(4); }, Rect(30, 10, 30, 16)},
        {"past the far side is cut", [](Scale9Sprite* s) { s->setInsetLeft(80); }, Rect(80, 10, 0, 10)},
        {"a frame resets them", [](Scale9Sprite* s) {
             s->setInsetLeft(5);
             s->setSpriteFrame(engine::SpriteFrameCache::getInstance()->getSpriteFrameByName("icon.png"));
         }, Rect(10, 20.f / 3, 10, 20.f / 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Scale9Sprite* sprite = Scale9Sprite::create("nine.png");
        c.set(sprite);
        EXPECT_EQ(sprite->getCapInsets(), c.insets);
    }
}
