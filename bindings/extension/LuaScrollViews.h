#pragma once
// Script handlers of scroll and table views.
//
// cc.ScrollView:registerScriptHandler(f, type) enters f under kind
// SCROLLVIEW_SCROLL + type (0 scroll, 1 zoom); cc.TableView's takes types 0..8
// (scroll, zoom, cell touched, highlight, unhighlight, will recycle, size for
// index, cell at index, number of cells). A type outside its range files
// nothing and keeps no reference to f; unregisterScriptHandler(type) removes
// the kind of an in-range type.
//
// setDelegate / setDataSource make a native delegate that forwards the view's
// calls to those handlers, owned by the view: a scroll view's is its user
// object; a table view's sit in the dictionary that is its user object, under
// "TableViewDelegate" and "TableViewDataSource". A new one replaces the old.
// The scroll view's delegate calls its handlers with the single argument ""; a
// table view's with (table) or (table, cell). The data source asks its
// handlers for (width, height), the cell (a cc.TableViewCell, anything else
// counts as none) and the count; missing answers count as 0.
//
// cc.TableView:create(size [, container]) makes a view with a data source and
// reloads it once (no handlers yet: zero cells). Main thread only.
#include <lua.hpp>

namespace bindings {

void register_scroll_view_functions(lua_State* L);

}  // namespace bindings
