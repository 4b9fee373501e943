// Controls: the events a button sends for touches driven through the view, and
// the targets that sendActionsForControlEvents reaches.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/app/GLView.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/extension/ControlButton.h"
#include "engine/label/Label.h"
#include "engine/scene/Scene.h"
#include "engine/ui/Scale9Sprite.h"

namespace {

using engine::Director;
using engine::extension::Control;
using engine::extension::ControlButton;
using engine::extension::ControlEvent;
using engine::extension::ControlState;

struct BareView : engine::GLView {};

struct ControlTest : ::testing::Test {
    ControlTest() {
        view = new BareView;
        view->setFrameSize(300, 200);
        view->setDesignResolutionSize(300, 200, engine::ResolutionPolicy::EXACT_FIT);
        Director::getInstance()->setOpenGLView(view);
        scene = engine::Scene::create();
        Director::getInstance()->runWithScene(scene);
        Director::getInstance()->mainLoop(0.f);
    }
    ~ControlTest() override {
        Director::destroyInstance();
        engine::AutoreleasePool::getInstance()->clear();
        view->release();
    }
    // Every event the control sends, as "1,32".
    void listen(Control* control) {
        control->addTargetWithActionForControlEvents(
            control, [this](engine::Ref*, int event) { heard += (heard.empty() ? "" : ",") + std::to_string(event); },
            0x1ff);
    }
    engine::GLView* view = nullptr;
    engine::Scene* scene = nullptr;
    std::string heard;
};

// The 100 x 40 button centred in the view covers view pixels 100..200 x 80..120.
TEST_F(ControlTest, ButtonEventsFollowTheTouch) {
    ControlButton* button = ControlButton::create("ok", "Arial", 10);
    button->setPreferredSize(engine::Size(100, 40));
    button->setPosition(150, 100);
    scene->addChild(button);
    listen(button);
    struct Point {
        float x, y;
    };
    const Point on{150, 100}, edge{199, 81}, off{10, 10};
    struct Case {
        const char* name;
        void (*setup)(ControlButton*);
        Point began;
        std::vector<Point> moves;
        Point ended;
        bool cancelled;
        const char* heard;
    } cases[] = {
        {"tap", nullptr, on, {}, on, false, "1,32"},
        {"tap at the edge", nullptr, edge, {}, edge, false, "1,32"},
        {"drag inside", nullptr, on, {on, edge}, on, false, "1,2,2,32"},
        {"out and back", nullptr, on, {off, off, on}, off, false, "1,16,4,8,64"},
        {"up outside", nullptr, on, {}, off, false, "1,64"},
        {"cancel", nullptr, on, {}, on, true, "1,128"},
        {"begins outside", nullptr, off, {on}, on, false, ""},
        {"disabled", [](ControlButton* b) { b->setEnabled(false); }, on, {}, on, false, ""},
        {"hidden parent", [](ControlButton* b) { b->getParent()->setVisible(false); }, on, {}, on, false, ""},
    };
    int id = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        heard.clear();
        if (c.setup) c.setup(button);
        view->handleTouchBegin(id, c.began.x, c.began.y);
        if (heard == "1") EXPECT_TRUE(button->isHighlighted() && button->isPushed());
        for (const Point& p : c.moves) view->handleTouchMove(id, p.x, p.y);
        if (c.cancelled) {
            view->handleTouchCancel(id, c.ended.x, c.ended.y);
        } else {
            view->handleTouchEnd(id, c.ended.x, c.ended.y);
        }
        EXPECT_EQ(heard, c.heard);
        EXPECT_FALSE(button->isHighlighted());
        EXPECT_FALSE(button->isPushed());
        button->setEnabled(true);
        scene->setVisible(true);
        ++id;
    }
    // Selected during a touch: moving only unhighlights, the end still reports.
    view->handleTouchBegin(id, on.x, on.y);
    button->setSelected(true);
    heard.clear();
    view->handleTouchMove(id, on.x, on.y);
    EXPECT_FALSE(button->isHighlighted());
    view->handleTouchEnd(id, on.x, on.y);
    EXPECT_EQ(heard, "32");
}

// Each event of a mask goes once to the targets added for it, lowest bit first;
// bits past the last event are ignored.
TEST_F(ControlTest, ActionsReachTheTargetsOfEachEvent) {
    Control* control = Control::create();
    engine::Ref* a = control;
    engine::Ref* b = scene;
    std::vector<std::string> log;
    auto note = [&log](const char* who) {
        return [&log, who](engine::Ref*, int event) { log.push_back(who + std::to_string(event)); };
    };
    control->addTargetWithActionForControlEvents(a, note("a"), ControlEvent::TOUCH_DOWN | ControlEvent::DRAG_INSIDE);
    control->addTargetWithActionForControlEvents(b, note("b"), ControlEvent::TOUCH_DOWN | ControlEvent::VALUE_CHANGED);
    struct Step {
        void (*change)(Control*, engine::Ref*);
        int events;
        std::vector<std::string> heard;
    } steps[] = {
        {nullptr, 0, {}},
        {nullptr, 512, {}},
        {nullptr, 3, {"a1", "b1", "a2"}},
        {nullptr, 256 | 512, {"b256"}},
        {[](Control* c, engine::Ref* t) { c->removeTargetWithActionForControlEvents(t, 1); }, 0x1ff, {"b1", "a2", "b256"}},
        {[](Control* c, engine::Ref*) { c->removeTargetWithActionForControlEvents(nullptr, 0x1ff); }, 0x1ff, {}},
    };
    int n = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(n++);
        log.clear();
        if (step.change) step.change(control, a);
        control->sendActionsForControlEvents(step.events);
        EXPECT_EQ(log, step.heard);
    }
}

// The title and background of the shown state, the normal state's where a
// state has none, and the size they give the button.
TEST_F(ControlTest, ButtonShowsItsStatesTitleAndBackground) {
    auto* normal = engine::ui::Scale9Sprite::create();
    auto* pressed = engine::ui::Scale9Sprite::create();
    ControlButton* button = ControlButton::create(engine::Label::createWithSystemFont("ab", "Arial", 20), normal);
    EXPECT_EQ(button->getBackgroundSprite(), normal);
    EXPECT_FLOAT_EQ(button->getContentSize().width, 20 + 2 * ControlButton::kMarginH);
    button->setTitleForState("abcd", ControlState::HIGHLIGHTED);
    button->setBackgroundSpriteForState(pressed, ControlState::HIGHLIGHTED);
    button->setHighlighted(true);
    EXPECT_EQ(button->getTitleLabel()->getString(), "abcd");
    EXPECT_EQ(button->getBackgroundSprite(), pressed);
    EXPECT_EQ(pressed->getParent(), button);
    EXPECT_EQ(normal->getParent(), nullptr);
    EXPECT_FLOAT_EQ(pressed->getContentSize().width, 40 + 2 * ControlButton::kMarginH);
    button->setEnabled(false);   // disabled has nothing of its own
    EXPECT_EQ(button->getCurrentTitle(), "ab");
    EXPECT_EQ(button->getBackgroundSprite(), normal);
    button->setPreferredSize(engine::Size(200, 10));
    EXPECT_FLOAT_EQ(button->getContentSize().width, 200);
    EXPECT_FLOAT_EQ(button->getContentSize().height, button->getTitleLabel()->getContentSize().height + 16);
}

}  // namespace
