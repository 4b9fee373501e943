#include "engine/ui/ListView.h"

#include <algorithm>

#include "engine/ui/LayoutParameter.h"

namespace engine::ui {

ListView* ListView::create() {
    auto* list = new ListView;
    return autoreleased(list, list->init());
}

ListView::~ListView() {
    for (Widget* item : _items) item->release();
    if (_model) _model->release();
}

bool ListView::init() { return ScrollView::init(); }

void ListView::setContentSize(const Size& size) {
    ScrollView::setContentSize(size);
    if (getInnerContainer()) doLayout();
}

void ListView::pushBackCustomItem(Widget* item) { insertCustomItem(item, static_cast<int>(_items.size())); }

void ListView::setItemModel(Widget* model) {
    if (model) assignRetained(_model, model);
}

void ListView::pushBackDefaultItem() { insertDefaultItem(static_cast<int>(_items.size())); }

void ListView::insertDefaultItem(int index) {
    if (Widget* item = _model ? _model->clone() : nullptr) insertCustomItem(item, index);
}

Widget* ListView::getClosestItemToPosition(const Vec2& target, const Vec2& anchor) const {
    Widget* closest = nullptr;
    float best = 0;
    for (Widget* item : _items) {
        // The item's anchor point in the view's space.
        const Size& size = item->getContentSize();
        const Vec2 corner(item->getLeftBoundary(), item->getBottomBoundary());
        const Vec2 at = getInnerContainerPosition() + corner + Vec2(size.width * anchor.x, size.height * anchor.y);
        const Vec2 d = at - target;
        const float distance = d.x * d.x + d.y * d.y;
        if (!closest || distance < best) {
            closest = item;
            best = distance;
        }
    }
    return closest;
}

Widget* ListView::getClosestItemToPositionInCurrentView(const Vec2& ratio, const Vec2& anchor) const {
    const Size& view = getContentSize();
    return getClosestItemToPosition(Vec2(view.width * ratio.x, view.height * ratio.y), anchor);
}

Widget* ListView::getCenterItemInCurrentView() const {
    return getClosestItemToPositionInCurrentView(Vec2(0.5f, 0.5f), Vec2(0.5f, 0.5f));
}
Widget* ListView::getLeftmostItemInCurrentView() const {
    return getClosestItemToPositionInCurrentView(Vec2(0, 0.5f), Vec2(0.5f, 0.5f));
}
Widget* ListView::getRightmostItemInCurrentView() const {
    return getClosestItemToPositionInCurrentView(Vec2(1, 0.5f), Vec2(0.5f, 0.5f));
}
Widget* ListView::getTopmostItemInCurrentView() const {
    return getClosestItemToPositionInCurrentView(Vec2(0.5f, 1), Vec2(0.5f, 0.5f));
}
Widget* ListView::getBottommostItemInCurrentView() const {
    return getClosestItemToPositionInCurrentView(Vec2(0.5f, 0), Vec2(0.5f, 0.5f));
}

Vec2 ListView::containerPositionFor(const Widget* item, const Vec2& ratio, const Vec2& anchor) const {
    const Size& view = getContentSize();
    const Size& size = item->getContentSize();
    const Vec2 inContainer =
        Vec2(item->getLeftBoundary(), item->getBottomBoundary()) + Vec2(size.width * anchor.x, size.height * anchor.y);
    const Vec2 wanted = Vec2(view.width * ratio.x, view.height * ratio.y) - inContainer;
    const Vec2 lowest = lowestPosition();
    Vec2 at(std::clamp(wanted.x, lowest.x, 0.f), std::clamp(wanted.y, lowest.y, 0.f));
    // Only along the scrolling direction.
    if (getDirection() == Direction::VERTICAL) at.x = getInnerContainerPosition().x;
    if (getDirection() == Direction::HORIZONTAL) at.y = getInnerContainerPosition().y;
    return at;
}

void ListView::jumpToItem(int index, const Vec2& ratio, const Vec2& anchor) {
    if (Widget* item = getItem(index)) setInnerContainerPosition(containerPositionFor(item, ratio, anchor));
}

void ListView::scrollToItem(int index, const Vec2& ratio, const Vec2& anchor, float timeInSec) {
    Widget* item = getItem(index);
    if (!item) return;
    const Vec2 lowest = lowestPosition();
    const Vec2 at = containerPositionFor(item, ratio, anchor);
    scrollToPercentBothDirection(Vec2(lowest.x < 0 ? at.x / lowest.x * 100.f : 0.f,
                                      lowest.y < 0 ? (1.f - at.y / lowest.y) * 100.f : 0.f),
                                 timeInSec, true);
}

void ListView::insertCustomItem(Widget* item, int index) {
    if (!item || getIndex(item) >= 0) return;
    const auto at = static_cast<size_t>(std::clamp(index, 0, static_cast<int>(_items.size())));
    item->retain();
    item->removeFromParent();
    _items.insert(_items.begin() + static_cast<std::ptrdiff_t>(at), item);
    getInnerContainer()->addChild(item);
    doLayout();
}

void ListView::removeItem(int index) {
    Widget* item = getItem(index);
    if (!item) return;
    _items.erase(_items.begin() + index);
    if (_curSelectedIndex == index) _curSelectedIndex = -1;
    else if (_curSelectedIndex > index) --_curSelectedIndex;
    item->removeFromParent();
    item->release();
    doLayout();
}

void ListView::removeLastItem() { removeItem(static_cast<int>(_items.size()) - 1); }

void ListView::removeAllItems() {
    while (!_items.empty()) removeLastItem();
}

Widget* ListView::getItem(int index) const {
    return index >= 0 && index < static_cast<int>(_items.size()) ? _items[static_cast<size_t>(index)] : nullptr;
}

int ListView::getIndex(Widget* item) const {
    const auto found = std::find(_items.begin(), _items.end(), item);
    return found == _items.end() ? -1 : static_cast<int>(found - _items.begin());
}

void ListView::setGravity(Gravity gravity) {
    _gravity = gravity;
    doLayout();
}

void ListView::setItemsMargin(float margin) {
    _itemsMargin = margin;
    doLayout();
}

void ListView::doLayout() {
    const bool horizontal = getDirection() == Direction::HORIZONTAL;
    auto marginOf = [](const Widget* item) {
        const LayoutParameter* parameter = item->getLayoutParameter();
        return parameter ? parameter->getMargin() : Margin{};
    };
    // The length of the line of items, then the container's size.
    float length = 0;
    for (size_t i = 0; i < _items.size(); ++i) {
        const Margin margin = marginOf(_items[i]);
        const Size& size = _items[i]->getContentSize();
        length += horizontal ? margin.left + size.width + margin.right : margin.top + size.height + margin.bottom;
        if (i + 1 < _items.size()) length += _itemsMargin;
    }
    const Size& view = getContentSize();
    setInnerContainerSize(horizontal ? Size(length, view.height) : Size(view.width, length));
    const Size& inner = getInnerContainerSize();
    // Each item's box: along the line from the start, across it by the gravity;
    // positions allow for the item's anchor.
    float cursor = horizontal ? 0 : inner.height;
    for (Widget* item : _items) {
        const Margin margin = marginOf(item);
        const Size& size = item->getContentSize();
        Vec2 corner;
        if (horizontal) {
            corner.x = cursor + margin.left;
            cursor = corner.x + size.width + margin.right + _itemsMargin;
            switch (_gravity) {
            case Gravity::TOP: corner.y = inner.height - size.height - margin.top; break;
            case Gravity::BOTTOM: corner.y = margin.bottom; break;
            default: corner.y = (inner.height - size.height) / 2; break;
            }
        } else {
            corner.y = cursor - margin.top - size.height;
            cursor = corner.y - margin.bottom - _itemsMargin;
            switch (_gravity) {
            case Gravity::LEFT: corner.x = margin.left; break;
            case Gravity::RIGHT: corner.x = inner.width - size.width - margin.right; break;
            default: corner.x = (inner.width - size.width) / 2; break;
            }
        }
        const Vec2& anchor = item->getAnchorPoint();
        item->setPosition(corner.x + anchor.x * size.width, corner.y + anchor.y * size.height);
    }
}

int ListView::itemHolding(Node* node) const {
    for (; node && node != this; node = node->getParent()) {
        const int index = getIndex(dynamic_cast<Widget*>(node));
        if (index >= 0) return index;
    }
    return -1;
}

int ListView::itemAt(const Vec2& worldPoint) const {
    for (size_t i = 0; i < _items.size(); ++i) {
        if (_items[i]->hitTest(worldPoint)) return static_cast<int>(i);
    }
    return -1;
}

void ListView::selectionStep(TouchEventType type, int item) {
    if (type == TouchEventType::BEGAN) {
        if (item < 0) return;
        _curSelectedIndex = item;
        _touchedItem = true;
        if (_listListener) {
            const ccListViewCallback listener = _listListener;
            listener(this, EventType::ON_SELECTED_ITEM_START);
        }
    } else if (type != TouchEventType::MOVED && _touchedItem) {
        _touchedItem = false;
        if (_listListener) {
            const ccListViewCallback listener = _listListener;
            listener(this, EventType::ON_SELECTED_ITEM_END);
        }
    }
}

void ListView::interceptTouchEvent(TouchEventType type, Widget* sender, Touch* touch) {
    retain();
    ScrollView::interceptTouchEvent(type, sender, touch);
    selectionStep(type, itemHolding(sender));
    release();
}

void ListView::pushDownEvent() {
    retain();
    ScrollView::pushDownEvent();
    selectionStep(TouchEventType::BEGAN, itemAt(getTouchBeganPosition()));
    release();
}

void ListView::releaseUpEvent() {
    retain();
    ScrollView::releaseUpEvent();
    selectionStep(TouchEventType::ENDED, -1);
    release();
}

void ListView::cancelUpEvent() {
    retain();
    ScrollView::cancelUpEvent();
    selectionStep(TouchEventType::CANCELED, -1);
    release();
}

}  // namespace engine::ui
