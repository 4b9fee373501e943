// Controls: the events a button sends for touches driven through the view, and
// the targets that sendActionsForControlEvents reaches.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine/app/GLView.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/extension/ControlButton.h"
#include "engine/extension/ControlColourPicker.h"
#include "engine/extension/ControlPotentiometer.h"
#include "engine/extension/ControlSlider.h"
#include "engine/extension/ControlStepper.h"
#include "engine/extension/ControlSwitch.h"
#include "engine/scene/Sprite.h"
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

engine::Sprite* sized(float width, float height) {
    engine::Sprite* sprite = engine::Sprite::create();
    sprite->setContentSize(engine::Size(width, height));
    return sprite;
}

std::string num(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value + 0.f);
    return text;
}

// Values set from code: clamped into their ranges, VALUE_CHANGED (256) only
// when the value moved.
TEST_F(ControlTest, ValueControlsClampTheirValuesAndReportChanges) {
    using namespace engine::extension;
    struct Case {
        const char* name;
        std::function<std::string(ControlTest&)> run;   // the values seen
        const char* values;
        const char* heard;
    };
    const Case cases[] = {
        {"slider clamps to its range",
         [](ControlTest& t) {
             auto* s = ControlSlider::create(sized(100, 20), sized(100, 20), sized(10, 10));
             t.listen(s);
             s->setValue(5.f);
             const std::string high = num(s->getValue());
             s->setValue(5.f);   // unchanged: no event
             s->setValue(-1.f);
             return high + " " + num(s->getValue());
         },
         "1 0", "256,256"},
        {"slider allowed range and a range that turns over",
         [](ControlTest& t) {
             auto* s = ControlSlider::create(sized(100, 20), sized(100, 20), sized(10, 10));
             s->setMaximumValue(10.f);
             s->setMinimumAllowedValue(2.f);
             s->setMaximumAllowedValue(4.f);
             t.listen(s);
             s->setValue(9.f);
             const std::string held = num(s->getValue());
             s->setMinimumValue(20.f);   // pushes the maximum to 21 and resets the allowed range
             return held + " " + num(s->getValue()) + " " + num(s->getMaximumValue()) + " " +
                    num(s->getMaximumAllowedValue());
         },
         "4 20 21 21", "256,256"},
        {"stepper stops at its ends",
         [](ControlTest& t) {
             auto* s = ControlStepper::create(sized(20, 20), sized(20, 20));
             s->setStepValue(30.f);
             s->setStepValue(-1.f);   // refused
             t.listen(s);
             for (int i = 0; i < 4; ++i) s->increment();
             return num(s->getValue()) + " " + num(s->getStepValue());
         },
         "100 30", "256,256,256,256"},
        {"stepper wraps round",
         [](ControlTest& t) {
             auto* s = ControlStepper::create(sized(20, 20), sized(20, 20));
             s->setWraps(true);
             t.listen(s);
             s->decrement();
             const std::string wrapped = num(s->getValue());
             s->setValueWithSendingEvent(3.f, false);
             s->setMaximumValue(-5.f);   // not above the minimum: refused
             return wrapped + " " + num(s->getValue()) + " " + num(s->getMaximumValue());
         },
         "100 3 100", "256"},
        {"switch reports a change only",
         [](ControlTest& t) {
             auto* s = ControlSwitch::create(sized(60, 20), sized(60, 20), sized(60, 20), sized(20, 20));
             t.listen(s);
             s->setOn(true);
             s->setOn(false, true);
             return std::string(s->isOn() ? "on" : "off") + " " + num(s->getChildren()[3]->getPosition().x);
         },
         "off 10", "256"},
        {"potentiometer clamps",
         [](ControlTest& t) {
             auto* p = ControlPotentiometer::create(sized(50, 50), sized(50, 50), sized(10, 10));
             t.listen(p);
             p->setValue(0.25f);
             const std::string quarter = num(p->getValue()) + " " + num(p->getThumbSprite()->getRotation());
             p->setValue(7.f);
             return quarter + " " + num(p->getValue());
         },
         "0.25 90 1", "256,256"},
        {"hue clamps to a turn",
         [](ControlTest& t) {
             auto* h = ControlHuePicker::create(nullptr, engine::Vec2());
             t.listen(h);
             h->setHuePercentage(0.5f);
             h->setHue(400.f);
             return num(h->getHue()) + " " + num(h->getHuePercentage());
         },
         "360 1", "256,256"},
        {"colour picker follows a colour quietly",
         [](ControlTest& t) {
             auto* c = ControlColourPicker::create();
             t.listen(c);
             c->setColor(engine::Color3B{255, 0, 0});
             ControlSaturationBrightnessPicker* shades = c->getSaturationBrightnessPicker();
             std::string seen = num(c->getHuePicker()->getHue()) + " " + num(shades->getSaturation()) + " " +
                                num(shades->getBrightness());
             c->getHuePicker()->setHue(120.f);   // a pick: the colour turns green
             const engine::Color3B green = c->getColor();
             return seen + " " + num(green.r) + "," + num(green.g) + "," + num(green.b);
         },
         "0 1 1 0,255,0", "256"},
    };
    for (const Case& c : cases) {
        heard.clear();
        EXPECT_EQ(c.run(*this), c.values) << c.name;
        EXPECT_EQ(heard, c.heard) << c.name;
    }
    EXPECT_EQ(ControlSlider::create(nullptr, sized(1, 1), sized(1, 1)), nullptr);
}

// Touches: the slider takes the value under the finger, the switch flips on a
// tap, the stepper steps on the side touched. Each control covers view pixels
// 100..200 x 80..120.
TEST_F(ControlTest, ValueControlsFollowTouches) {
    using namespace engine::extension;
    auto place = [this](Control* control) {
        control->setPosition(100, 80);
        scene->addChild(control);
        return control;
    };
    auto* slider = static_cast<ControlSlider*>(place(ControlSlider::create(sized(100, 40), sized(100, 40), sized(10, 10))));
    slider->setMaximumValue(10.f);
    view->handleTouchBegin(1, 130, 100);
    EXPECT_FLOAT_EQ(slider->getValue(), 3.f);
    view->handleTouchMove(1, 250, 100);   // past the end: the maximum
    view->handleTouchEnd(1, 250, 100);
    EXPECT_FLOAT_EQ(slider->getValue(), 10.f);
    slider->removeFromParent();

    auto* toggle =
        static_cast<ControlSwitch*>(place(ControlSwitch::create(sized(100, 40), sized(100, 40), sized(100, 40), sized(20, 40))));
    view->handleTouchBegin(2, 150, 100);
    view->handleTouchEnd(2, 150, 100);
    EXPECT_FALSE(toggle->isOn()) << "a tap flips it";
    view->handleTouchBegin(3, 150, 100);
    view->handleTouchMove(3, 10, 10);
    view->handleTouchEnd(3, 150, 100);
    EXPECT_FALSE(toggle->isOn()) << "dragged off: no flip";
    toggle->removeFromParent();

    auto* stepper = static_cast<ControlStepper*>(place(ControlStepper::create(sized(50, 40), sized(50, 40))));
    stepper->setValue(10.f);
    view->handleTouchBegin(4, 180, 100);
    view->handleTouchEnd(4, 180, 100);
    view->handleTouchBegin(5, 180, 100);
    view->handleTouchEnd(5, 180, 100);
    view->handleTouchBegin(6, 120, 100);
    view->handleTouchEnd(6, 120, 100);
    EXPECT_FLOAT_EQ(stepper->getValue(), 11.f);
}

}  // namespace
