#include "engine/extension/TableView.h"

#include <algorithm>

#include "engine/input/Touch.h"

namespace engine::extension {

namespace {

// More cells than a table can sensibly lay out: a larger count is taken as this.
constexpr long kMaxCells = 1 << 20;

// Keeps an object alive across calls that may release its last owner.
struct Hold {
    explicit Hold(Ref* ref) : _ref(ref) { _ref->retain(); }
    ~Hold() { _ref->release(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
    Ref* _ref;
};

}  // namespace

TableViewCell* TableViewCell::create() {
    auto* cell = new TableViewCell;
    return autoreleased(cell, cell->init());
}

TableView* TableView::create() { return create(nullptr, Size(200, 200)); }

TableView* TableView::create(TableViewDataSource* dataSource, const Size& viewSize, Node* container) {
    auto* view = new TableView;
    if (!view->initWithViewSize(viewSize, container)) return autoreleased(view, false);
    view->_dataSource = dataSource;
    view->setDirection(Direction::VERTICAL);
    return autoreleased(view, true);
}

void TableView::setVerticalFillOrder(VerticalFillOrder order) {
    if (order == _fillOrder) return;
    _fillOrder = order;
    if (!_cellsUsed.empty()) reloadData();
}

void TableView::reloadData() {
    Hold hold(this);
    unhighlightTouched();
    const Vector<TableViewCell*> used = _cellsUsed;
    for (TableViewCell* cell : used) recycle(cell);

    long count = _dataSource ? _dataSource->numberOfCellsInTableView(this) : 0;
    count = std::clamp(count, 0L, kMaxCells);
    _positions.assign(1, 0.f);
    for (long i = 0; i < count && _dataSource; ++i) {
        const Size size = _dataSource->tableCellSizeForIndex(this, i);
        const float length = vertical() ? size.height : size.width;
        _positions.push_back(_positions.back() + std::max(length, 0.f));
    }
    const Size& view = getViewSize();
    const float total = _positions.back();
    setContentSize(vertical() ? Size(view.width, total) : Size(total, view.height));
    const bool fromTop = vertical() && _fillOrder == VerticalFillOrder::TOP_DOWN;
    setContentOffset(fromTop ? Vec2(0, minContainerOffset().y) : Vec2(0, 0));
}

Vec2 TableView::offsetFromIndex(long idx) const {
    if (idx < 0 || idx >= getCellCount()) return Vec2(0, 0);
    const auto i = static_cast<size_t>(idx);
    if (!vertical()) return Vec2(_positions[i], 0);
    if (_fillOrder == VerticalFillOrder::BOTTOM_UP) return Vec2(0, _positions[i]);
    return Vec2(0, getContainerSize().height - _positions[i + 1]);
}

long TableView::indexAtDistance(float distance) const {
    if (_positions.size() < 2 || distance < 0 || distance >= _positions.back()) return -1;
    // The last cell that starts at or before the distance.
    auto it = std::upper_bound(_positions.begin(), _positions.end() - 1, distance);
    return static_cast<long>(it - _positions.begin()) - 1;
}

long TableView::indexAtPoint(const Vec2& point) const {
    if (!vertical()) return indexAtDistance(point.x);
    if (_fillOrder == VerticalFillOrder::BOTTOM_UP) return indexAtDistance(point.y);
    return indexAtDistance(getContainerSize().height - point.y);
}

TableViewCell* TableView::cellAtIndex(long idx) const {
    for (TableViewCell* cell : _cellsUsed) {
        if (cell->getIdx() == idx) return cell;
    }
    return nullptr;
}

TableViewCell* TableView::dequeueCell() {
    if (_cellsFreed.empty()) return nullptr;
    TableViewCell* cell = _cellsFreed.front();
    cell->retain();
    _cellsFreed.erase(0);
    cell->autorelease();
    return cell;
}

void TableView::recycle(TableViewCell* cell) {
    Hold hold(cell);
    if (cell == _touchedCell) unhighlightTouched();
    if (_tableDelegate) _tableDelegate->tableCellWillRecycle(this, cell);
    if (!_cellsUsed.contains(cell)) return;   // the delegate has recycled it already
    _cellsUsed.eraseObject(cell);
    cell->reset();
    if (cell->getParent()) cell->removeFromParent();
    _cellsFreed.pushBack(cell);
}

void TableView::layOutCell(TableViewCell* cell, long idx) {
    Hold hold(cell);
    _cellsFreed.eraseObject(cell);
    _cellsUsed.eraseObject(cell);
    cell->setIdx(idx);
    cell->setIgnoreAnchorPointForPosition(false);
    cell->setAnchorPoint(Vec2(0, 0));
    cell->setPosition(offsetFromIndex(idx));
    if (cell->getParent() != getContainer()) {
        if (cell->getParent()) cell->removeFromParent();
        getContainer()->addChild(cell);
    }
    size_t at = 0;
    while (at < _cellsUsed.size() && _cellsUsed.at(at)->getIdx() < idx) ++at;
    _cellsUsed.insert(at, cell);
}

void TableView::updateCellAtIndex(long idx) {
    if (!_dataSource || idx < 0 || idx >= getCellCount()) return;
    Hold hold(this);
    if (TableViewCell* old = cellAtIndex(idx)) recycle(old);
    if (TableViewCell* cell = _dataSource->tableCellAtIndex(this, idx)) layOutCell(cell, idx);
}

void TableView::onScroll() {
    Hold hold(this);
    const long count = getCellCount();
    if (_dataSource && count > 0 && !_layingOut) {
        _layingOut = true;   // a data source that scrolls again only gets told
        const float scale = getZoomScale() != 0 ? getZoomScale() : 1.f;
        const Vec2 offset = getContentOffset();
        const Size& view = getViewSize();
        float from = 0, to = 0;
        if (!vertical()) {
            from = -offset.x / scale;
            to = from + view.width / scale;
        } else {
            const float low = -offset.y / scale;
            const float high = low + view.height / scale;
            const bool topDown = _fillOrder == VerticalFillOrder::TOP_DOWN;
            from = topDown ? getContainerSize().height - high : low;
            to = topDown ? getContainerSize().height - low : high;
        }
        // Cells with any part in [from, to).
        long first = -1, last = -2;
        for (long i = 0; i < count; ++i) {
            const auto at = static_cast<size_t>(i);
            if (_positions[at + 1] <= from || _positions[at] >= to || _positions[at] == _positions[at + 1]) continue;
            if (first < 0) first = i;
            last = i;
        }
        const Vector<TableViewCell*> used = _cellsUsed;
        for (TableViewCell* cell : used) {
            if (cell->getIdx() < first || cell->getIdx() > last) recycle(cell);
        }
        for (long i = first; i >= 0 && i <= last && i < getCellCount(); ++i) {
            if (cellAtIndex(i)) continue;
            if (TableViewCell* cell = _dataSource->tableCellAtIndex(this, i)) layOutCell(cell, i);
        }
        _layingOut = false;
    }
    if (_tableDelegate) _tableDelegate->scrollViewDidScroll(this);
    ScrollView::onScroll();
}

void TableView::unhighlightTouched() {
    TableViewCell* cell = _touchedCell;
    if (!cell) return;
    _touchedCell = nullptr;
    if (_tableDelegate) _tableDelegate->tableCellUnhighlight(this, cell);
}

bool TableView::onTouchBegan(Touch* touch, Event* event) {
    Hold hold(this);
    if (!ScrollView::onTouchBegan(touch, event)) return false;
    const long idx = indexAtPoint(getContainer()->convertToNodeSpace(touch->getLocation()));
    if (TableViewCell* cell = cellAtIndex(idx)) {
        _touchedCell = cell;
        if (_tableDelegate) _tableDelegate->tableCellHighlight(this, cell);
    }
    return true;
}

void TableView::onTouchMoved(Touch* touch, Event* event) {
    if (touch != claimedTouch()) return;
    Hold hold(this);
    ScrollView::onTouchMoved(touch, event);
    if (_touchedCell && isTouchMoved()) unhighlightTouched();
}

void TableView::onTouchEnded(Touch* touch, Event* event) {
    if (touch != claimedTouch()) return;
    Hold hold(this);
    if (TableViewCell* cell = _touchedCell) {
        Hold holdCell(cell);
        unhighlightTouched();
        const long idx = indexAtPoint(getContainer()->convertToNodeSpace(touch->getLocation()));
        const bool over = idx == cell->getIdx() && viewRect().containsPoint(touch->getLocation());
        if (over && _tableDelegate && cell->getParent() == getContainer()) _tableDelegate->tableCellTouched(this, cell);
    }
    ScrollView::onTouchEnded(touch, event);
}

void TableView::onTouchCancelled(Touch* touch, Event* event) {
    if (touch != claimedTouch()) return;
    Hold hold(this);
    unhighlightTouched();
    ScrollView::onTouchCancelled(touch, event);
}

}  // namespace engine::extension
