#pragma once
// A table view: a scroll view that shows a column (vertical) or a row
// (horizontal) of cells asked of a data source, keeping only the cells in sight
// and reusing those that leave it.
//
// Layout: cell i starts where cells 0..i-1 end, each as long along the
// direction as the data source's size for it. In a vertical table the cells
// run from the top down (TOP_DOWN) or from the bottom up (BOTTOM_UP); a
// horizontal one runs left to right. A cell is placed by its lower-left corner
// (anchor (0, 0)) in the container.
//
// reloadData puts every cell in sight in the reuse queue (the delegate hears
// tableCellWillRecycle for each), asks the data source for the count and sizes
// again, sizes the container (the view's width or height across), shows the
// start of the table (the top for TOP_DOWN) and asks for the cells in sight.
// After every scroll the cells that left sight go to the reuse queue the same
// way and the data source is asked for each index that came into sight
// (tableCellAtIndex; a null answer leaves the index empty). dequeueCell hands
// out a queued cell (null when the queue is empty).
//
// Touches on a cell: the cell under a touch that begins is highlighted; a
// touch that starts dragging unhighlights it; the end unhighlights it and, when
// the touch ended over it, reports it touched. The data source and delegate
// are not retained: their owner clears them. Main thread only.
#include <vector>

#include "engine/base/Vector.h"
#include "engine/extension/ScrollView.h"

namespace engine::extension {

class TableView;

class TableViewCell : public Node {
public:
    static TableViewCell* create();
    long getIdx() const { return _idx; }
    void setIdx(long idx) { _idx = idx; }
    // Called as the cell goes to the reuse queue: no index any more.
    void reset() { _idx = -1; }

protected:
    TableViewCell() = default;

private:
    long _idx = -1;
};

class TableViewDelegate : public ScrollViewDelegate {
public:
    virtual void tableCellTouched(TableView* table, TableViewCell* cell) = 0;
    virtual void tableCellHighlight(TableView* table, TableViewCell* cell) { (void)table, (void)cell; }
    virtual void tableCellUnhighlight(TableView* table, TableViewCell* cell) { (void)table, (void)cell; }
    virtual void tableCellWillRecycle(TableView* table, TableViewCell* cell) { (void)table, (void)cell; }
};

class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;
    // By default every cell takes cellSizeForTable.
    virtual Size tableCellSizeForIndex(TableView* table, long idx) {
        (void)idx;
        return cellSizeForTable(table);
    }
    virtual Size cellSizeForTable(TableView* table) {
        (void)table;
        return Size::ZERO;
    }
    virtual TableViewCell* tableCellAtIndex(TableView* table, long idx) = 0;
    virtual long numberOfCellsInTableView(TableView* table) = 0;
};

class TableView : public ScrollView {
public:
    enum class VerticalFillOrder : int { TOP_DOWN = 0, BOTTOM_UP = 1 };

    // A 200 x 200 view without a data source.
    static TableView* create();
    static TableView* create(TableViewDataSource* dataSource, const Size& viewSize, Node* container = nullptr);

    void setDataSource(TableViewDataSource* source) { _dataSource = source; }
    TableViewDataSource* getDataSource() const { return _dataSource; }
    void setDelegate(TableViewDelegate* delegate) { _tableDelegate = delegate; }
    TableViewDelegate* getDelegate() const { return _tableDelegate; }
    void setVerticalFillOrder(VerticalFillOrder order);
    VerticalFillOrder getVerticalFillOrder() const { return _fillOrder; }

    void reloadData();
    // Asks the data source again for the cell at idx when it is in sight.
    void updateCellAtIndex(long idx);
    // A cell from the reuse queue, autoreleased; null when it is empty.
    TableViewCell* dequeueCell();
    // The cell in sight at idx; null when none is.
    TableViewCell* cellAtIndex(long idx) const;
    long getCellCount() const { return static_cast<long>(_positions.empty() ? 0 : _positions.size() - 1); }
    // Where cell idx is placed in the container.
    Vec2 offsetFromIndex(long idx) const;

    bool onTouchBegan(Touch* touch, Event* event) override;
    void onTouchMoved(Touch* touch, Event* event) override;
    void onTouchEnded(Touch* touch, Event* event) override;
    void onTouchCancelled(Touch* touch, Event* event) override;

protected:
    TableView() = default;
    void onScroll() override;

private:
    bool vertical() const { return getDirection() != Direction::HORIZONTAL; }
    // The index whose cell covers a distance from the table's start; -1 when none does.
    long indexAtDistance(float distance) const;
    // The index of the cell under a point in container space; -1 when none is.
    long indexAtPoint(const Vec2& point) const;
    void layOutCell(TableViewCell* cell, long idx);
    void recycle(TableViewCell* cell);
    void unhighlightTouched();

    TableViewDataSource* _dataSource = nullptr;
    TableViewDelegate* _tableDelegate = nullptr;
    VerticalFillOrder _fillOrder = VerticalFillOrder::BOTTOM_UP;
    std::vector<float> _positions;          // cell i spans [_positions[i], _positions[i + 1])
    Vector<TableViewCell*> _cellsUsed;      // in sight, by index
    Vector<TableViewCell*> _cellsFreed;     // the reuse queue
    TableViewCell* _touchedCell = nullptr;  // one of _cellsUsed
    bool _layingOut = false;
};

}  // namespace engine::extension
