#pragma once
// Stand-ins for the extension module's table view and its cells: plain nodes the
// script host can push to handlers. The scrolling and cell reuse are not here.
// They draw nothing of their own: a cell shows through the nodes added to it.
#include "engine/scene/Node.h"

namespace engine::extension {

class TableViewCell : public Node {
public:
    static TableViewCell* create();
    long getIdx() const { return _idx; }
    void setIdx(long idx) { _idx = idx; }

protected:
    TableViewCell() = default;

private:
    long _idx = -1;
};

class TableView : public Node {
public:
    static TableView* create();

protected:
    TableView() = default;
};

}  // namespace engine::extension
