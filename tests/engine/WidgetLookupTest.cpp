// Widget look-ups and list views built from an item model.
#include <gtest/gtest.h>

#include <string>

#include "engine/base/AutoreleasePool.h"
#include "engine/ui/Helper.h"
#include "engine/ui/ListView.h"

using engine::Rect;
using engine::Size;
using engine::Vec2;
using namespace engine::ui;

TEST(WidgetLookupTest, Utf8SubstringsCountCodePoints) {
    const struct {
        const char* text;
        size_t start, length;
        const char* expected;
    } cases[] = {
        {"h\xc3\xa9llo", 1, 2, "\xc3\xa9l"},
        {"h\xc3\xa9llo", 3, 99, "lo"},
        {"\xe6\x9c\xa8\xe6\xb2\xb3", 1, 1, "\xe6\xb2\xb3"},
        {"abc", 3, 1, ""},                  // past the end
        {"a\xc3", 0, 2, ""},                // a cut sequence
        {"a\x80" "b", 0, 3, ""},            // a stray continuation byte
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Helper::getSubStringOfUTF8String(c.text, c.start, c.length), c.expected);
    }
    EXPECT_EQ(Helper::restrictCapInsetRect(Rect(-5, 2, 100, 100), Size(40, 20)), Rect(0, 2, 40, 18));
}

TEST(WidgetLookupTest, SeeksByTagAndActionTagDepthFirst) {
    Widget* root = Widget::create();
    Widget* a = Widget::create();
    Widget* b = Widget::create();
    Widget* deep = Widget::create();
    root->addChild(a);
    root->addChild(b);
    a->addChild(deep);
    deep->setTag(3);
    b->setTag(3);
    b->setActionTag(40);
    EXPECT_EQ(Helper::seekWidgetByTag(root, 3), deep);   // a's subtree comes before b
    EXPECT_EQ(Helper::seekActionWidgetByActionTag(root, 40), b);
    EXPECT_EQ(Helper::seekWidgetByTag(root, 9), nullptr);
    EXPECT_EQ(Helper::seekWidgetByTag(nullptr, 3), nullptr);
    engine::AutoreleasePool::getInstance()->clear();
}

TEST(WidgetLookupTest, DefaultItemsAreCopiesOfTheModel) {
    ListView* list = ListView::create();
    list->setContentSize(Size(100, 100));
    list->pushBackDefaultItem();   // no model: nothing
    EXPECT_EQ(list->getItems().size(), 0u);
    Widget* model = Widget::create();
    model->setContentSize(Size(100, 40));
    model->setName("row");
    list->setItemModel(model);
    list->pushBackDefaultItem();
    list->pushBackDefaultItem();
    list->insertDefaultItem(0);
    ASSERT_EQ(list->getItems().size(), 3u);
    for (Widget* item : list->getItems()) {
        EXPECT_NE(item, model);
        EXPECT_EQ(item->getName(), "row");
        EXPECT_EQ(item->getContentSize(), Size(100, 40));
    }
    // 120 of items in a 100-high view: the top item is the first, the bottom one the last.
    list->jumpToTop();
    EXPECT_EQ(list->getTopmostItemInCurrentView(), list->getItem(0));
    list->jumpToItem(2, Vec2(0.5f, 0.5f), Vec2(0.5f, 0.5f));
    EXPECT_EQ(list->getInnerContainerPosition().y, 0.f);   // as far as it goes
    EXPECT_EQ(list->getBottommostItemInCurrentView(), list->getItem(2));
    engine::AutoreleasePool::getInstance()->clear();
}
