// Menu items' own state (a label item's disabled colour and size) and a menu
// that leaves the scene or dies while one of its items is selected.
#include <gtest/gtest.h>

#include "engine/app/GLView.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/label/Label.h"
#include "engine/scene/Menu.h"
#include "engine/scene/MenuItemLabel.h"
#include "engine/scene/Scene.h"

namespace {

using engine::Color3B;
using engine::Director;

struct BareView : engine::GLView {};

struct MenuTest : ::testing::Test {
    MenuTest() {
        view = new BareView;
        view->setFrameSize(300, 200);
        view->setDesignResolutionSize(300, 200, engine::ResolutionPolicy::EXACT_FIT);
        Director::getInstance()->setOpenGLView(view);
        scene = engine::Scene::create();
        Director::getInstance()->runWithScene(scene);
        Director::getInstance()->mainLoop(0.f);
    }
    ~MenuTest() override {
        Director::destroyInstance();
        engine::AutoreleasePool::getInstance()->clear();
        view->release();
    }
    engine::GLView* view = nullptr;
    engine::Scene* scene = nullptr;
};

TEST_F(MenuTest, LabelItemColourAndSizeFollowItsState) {
    auto* label = engine::Label::createWithSystemFont("ab", "Arial", 20);
    label->setColor(Color3B{10, 20, 30});
    auto* item = engine::MenuItemLabel::create(label);
    struct Step {
        void (*change)(engine::MenuItemLabel*);
        Color3B shown;
        float width;
    } steps[] = {
        {[](engine::MenuItemLabel*) {}, {10, 20, 30}, 20},
        {[](engine::MenuItemLabel* i) { i->setEnabled(false); }, {126, 126, 126}, 20},
        {[](engine::MenuItemLabel* i) { i->setDisabledColor({1, 2, 3}); }, {1, 2, 3}, 20},
        {[](engine::MenuItemLabel* i) { i->setEnabled(false); }, {1, 2, 3}, 20},
        {[](engine::MenuItemLabel* i) { i->setString("abcd"); }, {1, 2, 3}, 40},
        {[](engine::MenuItemLabel* i) { i->setEnabled(true); }, {10, 20, 30}, 40},
        {[](engine::MenuItemLabel* i) { i->setEnabled(true); }, {10, 20, 30}, 40},
    };
    int n = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(n++);
        step.change(item);
        const Color3B shown = item->getLabel()->getColor();
        EXPECT_EQ(shown.r, step.shown.r);
        EXPECT_EQ(shown.b, step.shown.b);
        EXPECT_FLOAT_EQ(item->getContentSize().width, step.width);
    }
    EXPECT_EQ(engine::MenuItemLabel::create(nullptr), nullptr);
}

// The item at the menu's origin covers view pixels 140..160 x 90..110.
TEST_F(MenuTest, AMenuOfOneItemHoldsItOrNothing) {
    auto* item = engine::MenuItemFont::create("ab");
    engine::Menu* menu = engine::Menu::createWithItem(item);
    ASSERT_EQ(menu->getChildrenCount(), 1u);
    EXPECT_EQ(menu->getChildren()[0], item);
    EXPECT_EQ(engine::Menu::createWithItem(nullptr)->getChildrenCount(), 0u);
}

TEST_F(MenuTest, AMenuLeavingOrDyingMidTouchLetsItsItemGo) {
    for (bool destroy : {false, true}) {
        SCOPED_TRACE(destroy ? "destroyed" : "removed");
        auto* item = engine::MenuItemFont::create("ab");
        item->retain();
        engine::Vector<engine::MenuItem*> items;
        items.pushBack(item);
        engine::Menu* menu = engine::Menu::createWithArray(items);
        items.clear();
        scene->addChild(menu);
        if (!destroy) menu->retain();
        engine::AutoreleasePool::getInstance()->clear();
        const unsigned held = item->getReferenceCount();

        view->handleTouchBegin(1, 150, 100);
        EXPECT_TRUE(item->isSelected());
        EXPECT_EQ(menu->getSelectedItem(), item);
        menu->removeFromParent();   // destroyed here when nothing else holds it
        EXPECT_FALSE(item->isSelected());
        if (!destroy) {
            EXPECT_EQ(menu->getSelectedItem(), nullptr);
            EXPECT_EQ(item->getReferenceCount(), held);
            menu->release();
        } else {
            EXPECT_EQ(item->getReferenceCount(), 1u);
        }
        view->handleTouchEnd(1, 150, 100);
        EXPECT_EQ(item->getReferenceCount(), 1u);
        item->release();
    }
}

}  // namespace
