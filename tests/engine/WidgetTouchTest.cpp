// Touches on widgets through the view and the event dispatcher: the hit test in
// world space, the event sequence and the click, what lets a touch pass, and the
// order among widgets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/app/GLView.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/scene/Scene.h"
#include "engine/ui/Layout.h"

using engine::Director;
using engine::Vec2;
using engine::ui::Layout;
using engine::ui::Widget;

namespace {

struct BareView : engine::GLView {};

struct WidgetTouchTest : ::testing::Test {
    static constexpr float kHeight = 300;
    engine::Scene* scene = nullptr;
    BareView* view = new BareView;
    std::vector<std::string> log;

    WidgetTouchTest() {
        view->setFrameSize(400, kHeight);
        view->setDesignResolutionSize(400, kHeight, engine::ResolutionPolicy::EXACT_FIT);
        Director::getInstance()->setOpenGLView(view);
        scene = engine::Scene::create();
        Director::getInstance()->runWithScene(scene);
        Director::getInstance()->mainLoop(0.f);   // the scene becomes the running one
    }
    ~WidgetTouchTest() override {
        view->release();
        Director::destroyInstance();
        engine::AutoreleasePool::getInstance()->clear();
    }
    // A touch-enabled layout under parent whose listeners log "<name> <type>" and
    // "<name> click".
    Layout* button(engine::Node* parent, const std::string& name, Vec2 position, engine::Size size, int z = 0) {
        Layout* layout = Layout::create();
        layout->setPosition(position);
        layout->setContentSize(size);
        layout->setTouchEnabled(true);
        layout->addTouchEventListener([this, name](engine::Ref*, Widget::TouchEventType type) {
            log.push_back(name + " " + std::to_string(static_cast<int>(type)));
        });
        layout->addClickEventListener([this, name](engine::Ref*) { log.push_back(name + " click"); });
        parent->addChild(layout, z);
        return layout;
    }
    // Touch 1 in design points (y up).
    void down(float x, float y) { view->handleTouchBegin(1, x, kHeight - y); }
    void move(float x, float y) { view->handleTouchMove(1, x, kHeight - y); }
    void up(float x, float y) { view->handleTouchEnd(1, x, kHeight - y); }
    void cancel(float x, float y) { view->handleTouchCancel(1, x, kHeight - y); }
    std::string joined() const {
        std::string text;
        for (const auto& line : log) text += (text.empty() ? "" : ", ") + line;
        return text;
    }
};

TEST_F(WidgetTouchTest, HitTestUsesTheBoxInWorldSpace) {
    // A parent scaled by 2 at (100, 50): the child's box 0..20 x 0..10 at (10, 5)
    // covers 120..160 x 60..80 in the world.
    engine::Node* parent = engine::Node::create();
    parent->setPosition(100, 50);
    parent->setScale(2);
    scene->addChild(parent);
    Layout* child = button(parent, "b", Vec2(10, 5), engine::Size(20, 10));
    const struct {
        Vec2 point;
        bool hit;
    } cases[] = {
        {{140, 70}, true},   {{120, 60}, true},  {{160, 80}, true},  {{119, 70}, false},
        {{161, 70}, false},  {{140, 59}, false}, {{140, 81}, false}, {{30, 15}, false},   // the unscaled box
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.point.x) + "," + std::to_string(c.point.y));
        EXPECT_EQ(child->hitTest(c.point), c.hit);
        log.clear();
        down(c.point.x, c.point.y);
        up(c.point.x, c.point.y);
        EXPECT_EQ(joined(), c.hit ? "b 0, b 2, b click" : "");
    }
    // A centred anchor moves the box with it.
    child->setAnchorPoint(Vec2(0.5f, 0.5f));
    EXPECT_TRUE(child->hitTest(Vec2(101, 51)));
    EXPECT_FALSE(child->hitTest(Vec2(150, 75)));
}

TEST_F(WidgetTouchTest, EventSequenceAndClickOnlyOnReleaseInside) {
    Layout* b = button(scene, "b", Vec2(0, 0), engine::Size(100, 100));
    const struct {
        const char* name;
        std::vector<std::pair<char, Vec2>> steps;   // d(own), m(ove), u(p), c(ancel)
        const char* log;
    } cases[] = {
        {"tap", {{'d', {50, 50}}, {'u', {50, 50}}}, "b 0, b 2, b click"},
        {"out and back", {{'d', {50, 50}}, {'m', {150, 50}}, {'m', {60, 50}}, {'u', {60, 50}}},
         "b 0, b 1, b 1, b 2, b click"},
        {"released outside", {{'d', {50, 50}}, {'m', {150, 50}}, {'u', {150, 50}}}, "b 0, b 1, b 3"},
        {"cancelled", {{'d', {50, 50}}, {'c', {50, 50}}}, "b 0, b 3"},
        {"began outside", {{'d', {150, 50}}, {'m', {50, 50}}, {'u', {50, 50}}}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        for (const auto& [kind, p] : c.steps) {
            switch (kind) {
            case 'd': down(p.x, p.y); EXPECT_TRUE(b->isHighlighted() || std::string(c.name) == "began outside"); break;
            case 'm': move(p.x, p.y); break;
            case 'u': up(p.x, p.y); break;
            default: cancel(p.x, p.y); break;
            }
        }
        EXPECT_EQ(joined(), c.log);
        EXPECT_FALSE(b->isHighlighted());
    }
}

TEST_F(WidgetTouchTest, ATouchPassesWidgetsThatCannotTakeIt) {
    // "top" lies over "under"; whichever takes the touch swallows it.
    const struct {
        const char* name;
        bool enabled, touchEnabled, visible, parentVisible;
        const char* log;
    } cases[] = {
        {"top takes it", true, true, true, true, "top 0, top 2, top click"},
        {"disabled", false, true, true, true, "under 0, under 2, under click"},
        {"touch off", true, false, true, true, "under 0, under 2, under click"},
        {"hidden", true, true, false, true, "under 0, under 2, under click"},
        {"hidden parent", true, true, true, false, "under 0, under 2, under click"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        engine::Node* holder = engine::Node::create();
        scene->addChild(holder);
        Layout* under = button(scene, "under", Vec2(0, 0), engine::Size(100, 100), -1);
        Layout* top = button(holder, "top", Vec2(0, 0), engine::Size(100, 100));
        top->setEnabled(c.enabled);
        top->setTouchEnabled(c.touchEnabled);
        top->setVisible(c.visible);
        holder->setVisible(c.parentVisible);
        log.clear();
        down(10, 10);
        up(10, 10);
        EXPECT_EQ(joined(), c.log);
        holder->removeFromParent();
        under->removeFromParent();
    }
}

TEST_F(WidgetTouchTest, TheWidgetDrawnOnTopHearsFirst) {
    // Siblings by z-order, a child above its parent, the later of equal siblings.
    Layout* low = button(scene, "low", Vec2(0, 0), engine::Size(100, 100), 1);
    button(scene, "high", Vec2(0, 0), engine::Size(50, 50), 5);
    button(low, "child", Vec2(0, 0), engine::Size(80, 80));
    button(scene, "late", Vec2(0, 0), engine::Size(30, 30), 5);
    const struct {
        Vec2 point;
        const char* taker;
    } cases[] = {{{10, 10}, "late"}, {{40, 40}, "high"}, {{70, 70}, "child"}, {{90, 90}, "low"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.taker);
        log.clear();
        down(c.point.x, c.point.y);
        up(c.point.x, c.point.y);
        EXPECT_EQ(joined(), std::string(c.taker) + " 0, " + c.taker + " 2, " + c.taker + " click");
    }
}

TEST_F(WidgetTouchTest, ListenersMayRemoveTheirWidgetOrTurnTouchOff) {
    Layout* gone = button(scene, "gone", Vec2(0, 0), engine::Size(100, 100));
    gone->addTouchEventListener([this](engine::Ref* sender, Widget::TouchEventType type) {
        log.push_back("touch " + std::to_string(static_cast<int>(type)));
        if (type == Widget::TouchEventType::ENDED) static_cast<Widget*>(sender)->removeFromParent();
    });
    gone->addClickEventListener([this](engine::Ref* sender) {
        log.push_back("click");
        static_cast<Widget*>(sender)->setTouchEnabled(false);
    });
    down(10, 10);
    up(10, 10);
    EXPECT_EQ(joined(), "touch 0, touch 2, click");
    log.clear();
    down(10, 10);   // nothing is left to take it
    up(10, 10);
    EXPECT_EQ(joined(), "");
}

TEST_F(WidgetTouchTest, LayoutBackgroundIsPaintedOnlyWhenAsked) {
    Layout* layout = Layout::create();
    EXPECT_EQ(layout->getAnchorPoint(), Vec2(0, 0));
    EXPECT_FALSE(layout->isTouchEnabled());
    layout->setBackGroundColor(engine::Color3B{26, 19, 17});
    layout->setBackGroundColorOpacity(235);
    EXPECT_EQ(layout->getPaintedBackGround(), (engine::Color4B{0, 0, 0, 0}));
    layout->setBackGroundColorType(Layout::BackGroundColorType::SOLID);
    EXPECT_EQ(layout->getPaintedBackGround(), (engine::Color4B{26, 19, 17, 235}));
}

}  // namespace
