#include "engine/extension/TableView.h"

namespace engine::extension {

TableViewCell* TableViewCell::create() {
    auto* cell = new TableViewCell;
    cell->init();
    cell->autorelease();
    return cell;
}

TableView* TableView::create() {
    auto* view = new TableView;
    view->init();
    view->autorelease();
    return view;
}

}  // namespace engine::extension
