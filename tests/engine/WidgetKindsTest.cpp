// The widget kinds through the view's touch and text entries: check boxes, radio
// groups, sliders, text fields, scroll, list and page views, clipping parents
// and the focus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/app/GLView.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/base/EventListenerFocus.h"
#include "engine/input/IMEDelegate.h"
#include "engine/input/IMEDispatcher.h"
#include "engine/scene/Scene.h"
#include "engine/ui/CheckBox.h"
#include "engine/ui/LayoutParameter.h"
#include "engine/ui/ListView.h"
#include "engine/ui/PageView.h"
#include "engine/ui/RadioButton.h"
#include "engine/ui/ScrollView.h"
#include "engine/ui/Slider.h"
#include "engine/ui/TextField.h"

using engine::Director;
using engine::Size;
using engine::Vec2;
using namespace engine::ui;

namespace {

struct BareView : engine::GLView {};

struct WidgetKindsTest : ::testing::Test {
    static constexpr float kHeight = 300;
    engine::Scene* scene = nullptr;
    BareView* view = new BareView;
    std::vector<std::string> log;

    WidgetKindsTest() {
        view->setFrameSize(400, kHeight);
        view->setDesignResolutionSize(400, kHeight, engine::ResolutionPolicy::EXACT_FIT);
        Director::getInstance()->setOpenGLView(view);
        scene = engine::Scene::create();
        Director::getInstance()->runWithScene(scene);
        Director::getInstance()->mainLoop(0.f);
    }
    ~WidgetKindsTest() override {
        if (auto* attached = engine::IMEDispatcher::sharedDispatcher()->getAttachedDelegate(nullptr)) {
            attached->detachWithIME();
        }
        view->release();
        Director::destroyInstance();
        engine::AutoreleasePool::getInstance()->clear();
    }
    template <class W>
    W* place(W* widget, engine::Node* parent, Vec2 corner, Size size) {
        widget->setAnchorPoint(Vec2(0, 0));
        widget->setPosition(corner);
        widget->setContentSize(size);
        parent->addChild(widget);
        return widget;
    }
    // Touch 1 in design points (y up).
    void down(float x, float y) { view->handleTouchBegin(1, x, kHeight - y); }
    void move(float x, float y) { view->handleTouchMove(1, x, kHeight - y); }
    void up(float x, float y) { view->handleTouchEnd(1, x, kHeight - y); }
    void tap(float x, float y) {
        down(x, y);
        up(x, y);
    }
    void drag(Vec2 from, Vec2 to) {
        down(from.x, from.y);
        move((from.x + to.x) / 2, (from.y + to.y) / 2);
        move(to.x, to.y);
        up(to.x, to.y);
    }
    std::string joined() {
        std::string text;
        for (const auto& line : log) text += (text.empty() ? "" : ", ") + line;
        log.clear();
        return text;
    }
    template <class E>
    void note(const std::string& what, E type) {
        log.push_back(what + std::to_string(static_cast<int>(type)));
    }
};

TEST_F(WidgetKindsTest, CheckBoxTurnsOverBetweenTheEndAndTheClick) {
    CheckBox* box = place(CheckBox::create(), scene, Vec2(0, 0), Size(50, 50));
    box->addTouchEventListener([this](engine::Ref*, Widget::TouchEventType t) { note("touch", t); });
    box->addClickEventListener([this](engine::Ref*) { log.push_back("click"); });
    box->addEventListener([this](engine::Ref*, CheckBox::EventType t) { note("box", t); });
    tap(10, 10);
    EXPECT_EQ(joined(), "touch0, touch2, box0, click");
    EXPECT_TRUE(box->isSelected());
    tap(10, 10);
    EXPECT_EQ(joined(), "touch0, touch2, box1, click");
    down(10, 10);   // released outside: no turn
    up(80, 80);
    EXPECT_EQ(joined(), "touch0, touch3");
    EXPECT_FALSE(box->isSelected());
    box->setSelected(true);   // silent
    EXPECT_EQ(joined(), "");
}

TEST_F(WidgetKindsTest, RadioGroupKeepsOneSelected) {
    const struct {
        const char* name;
        bool allowNone;
        std::vector<int> taps;   // button indexes tapped in turn
        int afterAdding;         // selected index right after the buttons are added
        const char* log;
        int selected;
    } cases[] = {
        {"first added is selected", false, {}, 0, "", 0},
        {"tap another", false, {2}, 0, "b0 1, b2 0, group 2", 2},
        {"tap the selected one", false, {0}, 0, "", 0},
        {"none allowed", true, {1, 1}, -1, "b1 0, group 1", 1},
        {"back and forth", true, {0, 1, 0}, -1,
         "b0 0, group 0, b0 1, b1 0, group 1, b1 1, b0 0, group 0", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RadioButtonGroup* group = RadioButtonGroup::create();
        group->setAllowedNoSelection(c.allowNone);
        scene->addChild(group);
        std::vector<RadioButton*> buttons;
        for (int i = 0; i < 3; ++i) {
            RadioButton* button = place(RadioButton::create(), scene, Vec2(60.f * i, 0), Size(50, 50));
            button->addEventListener([this, i](RadioButton*, RadioButton::EventType t) {
                log.push_back("b" + std::to_string(i) + " " + std::to_string(static_cast<int>(t)));
            });
            group->addRadioButton(button);
            buttons.push_back(button);
        }
        group->addEventListener([this, &buttons](RadioButton* b, int index, RadioButtonGroup::EventType t) {
            EXPECT_EQ(b, buttons[static_cast<size_t>(index)]);
            EXPECT_EQ(t, RadioButtonGroup::EventType::SELECT_CHANGED);
            log.push_back("group " + std::to_string(index));
        });
        EXPECT_EQ(group->getSelectedButtonIndex(), c.afterAdding);
        log.clear();
        for (int index : c.taps) tap(60.f * index + 10, 10);
        EXPECT_EQ(joined(), c.log);
        EXPECT_EQ(group->getSelectedButtonIndex(), c.selected);
        int selectedCount = 0;
        for (RadioButton* b : buttons) selectedCount += b->isSelected() ? 1 : 0;
        EXPECT_EQ(selectedCount, c.selected >= 0 ? 1 : 0);
        for (RadioButton* b : buttons) b->removeFromParent();
        group->removeFromParent();
    }
}

TEST_F(WidgetKindsTest, RadioGroupSelectionByCallAndRemoval) {
    RadioButtonGroup* group = RadioButtonGroup::create();
    scene->addChild(group);
    RadioButton* a = RadioButton::create();
    RadioButton* b = RadioButton::create();
    group->addRadioButton(a);
    group->addRadioButton(b);
    group->addEventListener([this](RadioButton*, int index, RadioButtonGroup::EventType) {
        log.push_back("group " + std::to_string(index));
    });
    group->setSelectedButtonWithoutEvent(1);
    group->setSelectedButton(RadioButton::create());   // not of the group
    group->setSelectedButton(-1);                      // no selection is not allowed
    EXPECT_EQ(joined(), "");
    EXPECT_EQ(group->getSelectedButtonIndex(), 1);
    group->setSelectedButton(a);
    EXPECT_EQ(joined(), "group 0");
    group->removeRadioButton(a);   // the selection moves to what is left
    EXPECT_EQ(group->getSelectedButtonIndex(), 0);
    EXPECT_TRUE(b->isSelected());
    EXPECT_EQ(a->getGroup(), nullptr);
    EXPECT_EQ(group->getNumberOfRadioButtons(), 1);
}

TEST_F(WidgetKindsTest, SliderFollowsTheTouchAlongItsWidth) {
    engine::Node* parent = engine::Node::create();
    parent->setPosition(100, 0);
    parent->setScale(2);   // the slider covers 100..300 in the world
    scene->addChild(parent);
    Slider* slider = place(Slider::create(), parent, Vec2(0, 0), Size(100, 20));
    slider->addEventListener([this](engine::Ref*, Slider::EventType t) { note("", t); });
    const struct {
        float downX, moveX, upX;
        const char* log;
        int percent;
    } cases[] = {
        {150, 200, 200, "1, 0, 0, 2", 50},
        {300, 300, 300, "1, 0, 2", 100},
        {100, 50, 50, "1, 0, 3", 0},     // left of it: clamped; released outside
        {100.4f, 100.4f, 100.4f, "1, 2", 0},   // a point past 0 rounds to 0: no change
        {250, 390, 390, "1, 0, 0, 3", 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.log);
        down(c.downX, 10);
        move(c.moveX, 10);
        up(c.upX, 10);
        EXPECT_EQ(joined(), c.log);
        EXPECT_EQ(slider->getPercent(), c.percent);
    }
    slider->setMaxPercent(10);
    slider->setPercent(50);
    EXPECT_EQ(slider->getPercent(), 10);
}

TEST_F(WidgetKindsTest, TextFieldTypingThroughTheView) {
    TextField* field = place(TextField::create("name", "Arial", 20), scene, Vec2(0, 0), Size(200, 40));
    field->addEventListener([this](engine::Ref*, TextField::EventType t) { note("", t); });
    view->onCharInput('a');   // not attached yet
    EXPECT_EQ(field->getString(), "");
    tap(10, 10);
    const struct {
        int maxLength;   // 0: none
        std::vector<unsigned int> chars;
        int backspaces;
        const char* text;
        const char* log;
    } cases[] = {
        {0, {'a', 0x1EDB, 'b'}, 0, "a\xE1\xBB\x9B" "b", "2, 2, 2"},
        {0, {}, 2, "a", "3, 3"},
        {3, {'x', 'y', 'z'}, 0, "axy", "2, 2"},   // the third does not fit
        {0, {}, 5, "", "3, 3, 3"},                // deleting on empty tells nothing
    };
    EXPECT_EQ(joined(), "0");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        field->setMaxLengthEnabled(c.maxLength > 0);
        field->setMaxLength(c.maxLength);
        for (unsigned int ch : c.chars) view->onCharInput(ch);
        for (int i = 0; i < c.backspaces; ++i) view->onKeyInput(259, 0, 1, 0);
        EXPECT_EQ(field->getString(), c.text);
        EXPECT_EQ(joined(), c.log);
    }
    field->setPasswordEnabled(true);
    EXPECT_TRUE(field->getVirtualRenderer()->isTextHidden());
    field->detachWithIME();
    field->detachWithIME();
    EXPECT_EQ(joined(), "1");
}

TEST_F(WidgetKindsTest, ScrollViewDragsItsContainerWithinBounds) {
    // A 100 x 100 view over 100 x 300 of content: the container's y runs -200..0.
    const struct {
        const char* name;
        bool bounce;
        float startY;            // the container's y before the drag
        float dragY;             // finger movement (up is positive)
        float endY;
        const char* events;      // after the SCROLLING steps
    } cases[] = {
        {"up a little", false, -200, 50, -150, ""},
        {"up to the bottom edge", false, -200, 250, 0, "1"},
        {"down to the top", false, -100, -150, -200, "0"},
        {"past the top with bounce", true, -200, -40, -200, "5"},
        {"past the bottom with bounce", true, -20, 60, 0, "1, 6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScrollView* view = place(ScrollView::create(), scene, Vec2(0, 0), Size(100, 100));
        view->setInnerContainerSize(Size(100, 300));
        view->setBounceEnabled(c.bounce);
        view->setInnerContainerPosition(Vec2(0, c.startY));
        std::vector<std::string> events;
        view->addEventListener([&events](engine::Ref*, ScrollView::EventType t) {
            if (t != ScrollView::EventType::SCROLLING) events.push_back(std::to_string(static_cast<int>(t)));
        });
        drag(Vec2(50, 50), Vec2(50, 50 + c.dragY));
        EXPECT_EQ(view->getInnerContainerPosition(), Vec2(0, c.endY));
        std::string text;
        for (const auto& e : events) text += (text.empty() ? "" : ", ") + e;
        EXPECT_EQ(text, c.events);
        view->removeFromParent();
    }
}

TEST_F(WidgetKindsTest, AButtonInAScrollViewStillScrollsIt) {
    ScrollView* view = place(ScrollView::create(), scene, Vec2(0, 0), Size(100, 100));
    view->setInnerContainerSize(Size(100, 300));
    Widget* button = place(Widget::create(), view->getInnerContainer(), Vec2(0, 180), Size(100, 40));
    button->setTouchEnabled(true);
    button->addTouchEventListener([this](engine::Ref*, Widget::TouchEventType t) { note("b", t); });
    // The view starts at -200: the button shows at y -20..20 in the view.
    drag(Vec2(50, 10), Vec2(50, 40));
    EXPECT_EQ(view->getInnerContainerPosition(), Vec2(0, -170));
    EXPECT_EQ(joined(), "b0, b1, b1, b2");
    button->setPropagateTouchEvents(false);
    drag(Vec2(50, 40), Vec2(50, 60));
    EXPECT_EQ(view->getInnerContainerPosition(), Vec2(0, -170));
}

TEST_F(WidgetKindsTest, ClippingParentsLimitTheHit) {
    Layout* clip = place(Layout::create(), scene, Vec2(0, 0), Size(100, 100));
    engine::Node* holder = engine::Node::create();   // not a widget: the clip still holds
    clip->addChild(holder);
    Widget* inner = place(Widget::create(), holder, Vec2(50, 50), Size(100, 100));   // half outside
    inner->setTouchEnabled(true);
    inner->addTouchEventListener([this](engine::Ref*, Widget::TouchEventType t) { note("", t); });
    const struct {
        bool clipping;
        Vec2 point;
        const char* log;
    } cases[] = {
        {false, {120, 120}, "0, 2"}, {true, {120, 120}, ""}, {true, {80, 80}, "0, 2"}};
    for (const auto& c : cases) {
        clip->setClippingEnabled(c.clipping);
        tap(c.point.x, c.point.y);
        EXPECT_EQ(joined(), c.log);
    }
}

TEST_F(WidgetKindsTest, ListViewPlacesItemsAndReportsTheTouchedOne) {
    ListView* list = place(ListView::create(), scene, Vec2(0, 0), Size(100, 100));
    list->setItemsMargin(10);
    std::vector<Widget*> items;
    for (float height : {30.f, 40.f, 50.f}) {
        Widget* item = Widget::create();   // centred anchor
        item->setContentSize(Size(40, height));
        list->pushBackCustomItem(item);
        items.push_back(item);
    }
    auto* parameter = LinearLayoutParameter::create();
    parameter->setMargin(Margin{5, 4, 0, 6});
    items[1]->setLayoutParameter(parameter);
    const struct {
        ListView::Gravity gravity;
        float x0, x1;   // the first two items' centres across
    } cases[] = {
        {ListView::Gravity::LEFT, 20, 25},
        {ListView::Gravity::RIGHT, 80, 80},
        {ListView::Gravity::CENTER_HORIZONTAL, 50, 50},
    };
    // Line: 30 + 10 + (4 + 40 + 6) + 10 + 50 = 150 high; from the top down.
    for (const auto& c : cases) {
        list->setGravity(c.gravity);
        EXPECT_EQ(list->getInnerContainerSize(), Size(100, 150));
        EXPECT_EQ(items[0]->getPosition(), Vec2(c.x0, 135));
        EXPECT_EQ(items[1]->getPosition(), Vec2(c.x1, 86));
        EXPECT_EQ(items[2]->getPosition(), Vec2(c.x0, 25));
    }
    list->addEventListener([this](engine::Ref*, ListView::EventType t) { note("list", t); });
    // The container starts at -50: the second item shows at y 16..56.
    tap(50, 30);
    EXPECT_EQ(joined(), "list0, list1");
    EXPECT_EQ(list->getCurSelectedIndex(), 1);
    list->removeItem(0);
    EXPECT_EQ(list->getCurSelectedIndex(), 0);
    EXPECT_EQ(list->getIndex(items[2]), 1);
}

TEST_F(WidgetKindsTest, PageViewTurnsPastTheThreshold) {
    PageView* pages = place(PageView::create(), scene, Vec2(0, 0), Size(100, 100));
    for (int i = 0; i < 3; ++i) pages->addPage(Layout::create());
    pages->addEventListener([this](engine::Ref*, PageView::EventType t) { note("turn", t); });
    const struct {
        int from;
        float dragX;
        int to;
    } cases[] = {{0, -20, 1}, {0, -10, 0}, {1, 20, 0}, {2, -60, 2}, {0, 40, 0}, {1, -99, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " by " + std::to_string(c.dragX));
        pages->setCurrentPageIndex(c.from);
        drag(Vec2(50, 50), Vec2(50 + c.dragX, 50));
        EXPECT_EQ(pages->getCurrentPageIndex(), c.to);
        EXPECT_EQ(pages->getInnerContainer()->getPositionX(), -100.f * c.to);
        EXPECT_EQ(joined(), "turn0");
    }
    EXPECT_EQ(pages->getPage(2)->getPosition(), Vec2(200, 0));
    pages->removePageAtIndex(2);
    EXPECT_EQ(pages->getCurrentPageIndex(), 1);
}

TEST_F(WidgetKindsTest, FocusMovesWithAnEvent) {
    auto* listener = engine::EventListenerFocus::create();
    listener->onFocusChanged = [this](Widget* losing, Widget* getting) {
        log.push_back(std::string(losing ? losing->getName() : "-") + ">" + (getting ? getting->getName() : "-"));
    };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithFixedPriority(listener, 1);
    Widget* a = Widget::create();
    a->setName("a");
    Widget* b = Widget::create();
    b->setName("b");
    a->retain();
    a->requestFocus();
    b->requestFocus();
    b->requestFocus();   // already focused
    a->setFocusEnabled(false);
    a->requestFocus();
    EXPECT_EQ(joined(), "->a, a>b");
    EXPECT_TRUE(b->isFocused());
    EXPECT_FALSE(a->isFocused());
    EXPECT_EQ(Widget::getCurrentFocusedWidget(), b);
    b->retain();
    b->release();   // still held by the pool
    engine::AutoreleasePool::getInstance()->clear();   // b goes: nothing is focused
    EXPECT_EQ(Widget::getCurrentFocusedWidget(), nullptr);
    a->setFocusEnabled(true);
    a->requestFocus();
    EXPECT_EQ(joined(), "->a");
    a->release();
    EXPECT_EQ(Widget::getCurrentFocusedWidget(), nullptr);
}

}  // namespace
