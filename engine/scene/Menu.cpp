#include "engine/scene/Menu.h"

#include <algorithm>

#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/base/Log.h"
#include "engine/input/EventTouch.h"
#include "engine/input/Touch.h"

namespace engine {

Menu* Menu::create() { return createWithArray(Vector<MenuItem*>()); }

Menu* Menu::createWithArray(const Vector<MenuItem*>& items) {
    auto* menu = new Menu;
    return autoreleased(menu, menu->initWithArray(items));
}

Menu* Menu::createWithItem(MenuItem* item) {
    Vector<MenuItem*> items;
    if (item) items.pushBack(item);
    return createWithArray(items);
}

Menu::~Menu() {
    if (_selectedItem) _selectedItem->release();
}

bool Menu::initWithArray(const Vector<MenuItem*>& items) {
    if (_listening) {
        for (MenuItem* item : items) {
            if (!item->getParent()) addChild(item);
        }
        return true;
    }
    if (!Layer::init()) return false;
    _listening = true;
    const Size win = Director::getInstance()->getWinSize();
    setPosition(win.width / 2, win.height / 2);
    for (MenuItem* item : items) addChild(item);

    auto* listener = EventListenerTouchOneByOne::create();
    listener->setSwallowTouches(true);
    listener->onTouchBegan = [this](Touch* touch, Event* event) { return onTouchBegan(touch, event); };
    listener->onTouchMoved = [this](Touch* touch, Event* event) { onTouchMoved(touch, event); };
    listener->onTouchEnded = [this](Touch* touch, Event* event) { onTouchEnded(touch, event); };
    listener->onTouchCancelled = [this](Touch* touch, Event* event) { onTouchCancelled(touch, event); };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, this);
    return true;
}

// ---- Touches

bool Menu::shownWithAncestors() const {
    for (const Node* node = this; node; node = node->getParent()) {
        if (!node->isVisible()) return false;
    }
    return true;
}

MenuItem* Menu::itemForTouch(Touch* touch) const {
    const Vec2 location = touch->getLocation();
    const std::vector<Node*>& children = getChildren();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto* item = dynamic_cast<MenuItem*>(*it);
        if (!item || !item->isVisible() || !item->isEnabled()) continue;
        const Size& size = item->getContentSize();
        if (Rect(0, 0, size.width, size.height).containsPoint(item->convertToNodeSpace(location))) return item;
    }
    return nullptr;
}

void Menu::select(MenuItem* item) {
    if (item == _selectedItem) return;
    MenuItem* previous = _selectedItem;
    _selectedItem = item;
    if (item) {
        item->retain();
        item->selected();
    }
    if (previous) {
        previous->unselected();
        previous->release();
    }
}

bool Menu::onTouchBegan(Touch* touch, Event*) {
    if (!_enabled || _tracking || !shownWithAncestors()) return false;
    MenuItem* item = itemForTouch(touch);
    if (!item) return false;
    _tracking = true;
    select(item);
    return true;
}

void Menu::onTouchMoved(Touch* touch, Event*) {
    if (_tracking) select(itemForTouch(touch));
}

void Menu::onTouchEnded(Touch* touch, Event*) {
    if (!_tracking) return;
    _tracking = false;
    MenuItem* item = _selectedItem;
    if (!item) return;
    const bool over = itemForTouch(touch) == item;
    _selectedItem = nullptr;
    item->unselected();
    // The tap may remove the menu: nothing of it is used after activate.
    if (over) item->activate();
    item->release();
}

void Menu::onTouchCancelled(Touch*, Event*) {
    _tracking = false;
    select(nullptr);
}

void Menu::onExit() {
    _tracking = false;
    select(nullptr);
    Layer::onExit();
}

// ---- Layout

namespace {

float scaledWidth(const Node* node) { return node->getContentSize().width * node->getScaleX(); }
float scaledHeight(const Node* node) { return node->getContentSize().height * node->getScaleY(); }

// The children in the groups the counts ask for, in order. Groups that take no
// child are left out; counts that do not match the children are logged.
std::vector<std::pair<int, std::vector<Node*>>> groupChildren(const std::vector<Node*>& children,
                                                              const std::vector<int>& counts, const char* call) {
    std::vector<std::pair<int, std::vector<Node*>>> groups;
    size_t next = 0;
    bool mismatch = false;
    for (int count : counts) {
        if (count <= 0) {
            mismatch = true;
            continue;
        }
        if (next >= children.size()) {
            mismatch = true;
            break;
        }
        std::vector<Node*> group;
        while (group.size() < static_cast<size_t>(count) && next < children.size()) group.push_back(children[next++]);
        if (group.size() < static_cast<size_t>(count)) mismatch = true;
        groups.emplace_back(count, std::move(group));
    }
    if (next < children.size()) mismatch = true;
    if (mismatch) {
        log("Menu: the counts of %s do not match its %zu items; %zu placed", call, children.size(), next);
    }
    return groups;
}

}  // namespace

void Menu::alignItemsVerticallyWithPadding(float padding) {
    const std::vector<Node*>& children = getChildren();
    float height = children.empty() ? 0 : -padding;
    for (const Node* child : children) height += scaledHeight(child) + padding;
    float y = height / 2;
    for (Node* child : children) {
        const float h = scaledHeight(child);
        child->setPosition(0, y - h / 2);
        y -= h + padding;
    }
}

void Menu::alignItemsHorizontallyWithPadding(float padding) {
    const std::vector<Node*>& children = getChildren();
    float width = children.empty() ? 0 : -padding;
    for (const Node* child : children) width += scaledWidth(child) + padding;
    float x = -width / 2;
    for (Node* child : children) {
        const float w = scaledWidth(child);
        child->setPosition(x + w / 2, 0);
        x += w + padding;
    }
}

void Menu::alignItemsInColumnsWithArray(const std::vector<int>& counts) {
    const auto rows = groupChildren(getChildren(), counts, "alignItemsInColumns");
    std::vector<float> rowHeights;
    float height = rows.empty() ? 0 : -kColumnsPadding;
    for (const auto& [count, row] : rows) {
        float rowHeight = 0;
        for (const Node* child : row) rowHeight = std::max(rowHeight, scaledHeight(child));
        rowHeights.push_back(rowHeight);
        height += rowHeight + kColumnsPadding;
    }
    const float winWidth = Director::getInstance()->getWinSize().width;
    float top = height / 2;
    for (size_t r = 0; r < rows.size(); ++r) {
        const auto& [count, row] = rows[r];
        const float step = winWidth / static_cast<float>(count + 1);
        for (size_t c = 0; c < row.size(); ++c) {
            row[c]->setPosition(-winWidth / 2 + step * static_cast<float>(c + 1), top - rowHeights[r] / 2);
        }
        top -= rowHeights[r] + kColumnsPadding;
    }
}

void Menu::alignItemsInRowsWithArray(const std::vector<int>& counts) {
    const auto columns = groupChildren(getChildren(), counts, "alignItemsInRows");
    std::vector<float> columnWidths;
    float width = columns.empty() ? 0 : -kRowsPadding;
    for (const auto& [count, column] : columns) {
        float columnWidth = 0;
        for (const Node* child : column) columnWidth = std::max(columnWidth, scaledWidth(child));
        columnWidths.push_back(columnWidth);
        width += columnWidth + kRowsPadding;
    }
    const float winHeight = Director::getInstance()->getWinSize().height;
    float left = -width / 2;
    for (size_t c = 0; c < columns.size(); ++c) {
        const auto& [count, column] = columns[c];
        const float step = winHeight / static_cast<float>(count + 1);
        for (size_t r = 0; r < column.size(); ++r) {
            column[r]->setPosition(left + columnWidths[c] / 2, winHeight / 2 - step * static_cast<float>(r + 1));
        }
        left += columnWidths[c] + kRowsPadding;
    }
}

}  // namespace engine
