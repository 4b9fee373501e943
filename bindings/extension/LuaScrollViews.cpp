#include "bindings/extension/LuaScrollViews.h"

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "engine/deprecated/Dictionary.h"
#include "engine/extension/TableView.h"
#include "engine/script/ScriptEngineManager.h"
#include "engine/script/ScriptEvent.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaNumberCasts.h"
#include "scripting/ScriptHandlerMgr.h"

namespace bindings {

namespace {

using engine::ScriptHandlerMgr;
using engine::extension::ScrollView;
using engine::extension::TableView;
using engine::extension::TableViewCell;
using Kind = ScriptHandlerMgr::HandlerType;

constexpr int kScrollViewTypes = 2;   // scroll, zoom
constexpr int kTableViewTypes = 9;    // up to the number of cells

Kind viewKind(int type) { return static_cast<Kind>(static_cast<int>(Kind::SCROLLVIEW_SCROLL) + type); }

engine::LuaEngine* luaEngine() {
    return dynamic_cast<engine::LuaEngine*>(engine::ScriptEngineManager::getInstance()->getScriptEngine());
}

int handlerOf(void* object, Kind kind) { return ScriptHandlerMgr::getInstance()->getObjectHandler(object, kind); }

class LuaScrollViewDelegate : public engine::Ref, public engine::extension::ScrollViewDelegate {
public:
    void scrollViewDidScroll(ScrollView* view) override { send(view, Kind::SCROLLVIEW_SCROLL); }
    void scrollViewDidZoom(ScrollView* view) override { send(view, Kind::SCROLLVIEW_ZOOM); }

private:
    static void send(ScrollView* view, Kind kind) {
        if (!view) return;
        const int handler = handlerOf(view, kind);
        engine::ScriptEngineProtocol* script = engine::ScriptEngineManager::getInstance()->getScriptEngine();
        if (handler == 0 || !script) return;
        engine::CommonScriptData data(handler, "");
        engine::ScriptEvent event(engine::COMMON_EVENT, &data);
        script->sendEvent(&event);
    }
};

class LuaTableViewDelegate : public engine::Ref, public engine::extension::TableViewDelegate {
public:
    void scrollViewDidScroll(ScrollView* view) override { notify(view, Kind::SCROLLVIEW_SCROLL, nullptr, false); }
    void scrollViewDidZoom(ScrollView* view) override { notify(view, Kind::SCROLLVIEW_ZOOM, nullptr, false); }
    void tableCellTouched(TableView* table, TableViewCell* cell) override {
        notify(table, Kind::TABLECELL_TOUCHED, cell, true);
    }
    void tableCellHighlight(TableView* table, TableViewCell* cell) override {
        notify(table, Kind::TABLECELL_HIGHLIGHT, cell, true);
    }
    void tableCellUnhighlight(TableView* table, TableViewCell* cell) override {
        notify(table, Kind::TABLECELL_UNHIGHLIGHT, cell, true);
    }
    void tableCellWillRecycle(TableView* table, TableViewCell* cell) override {
        notify(table, Kind::TABLECELL_WILL_RECYCLE, cell, true);
    }

private:
    static void notify(ScrollView* view, Kind kind, TableViewCell* cell, bool needsCell) {
        if (!view || (needsCell && !cell)) return;
        engine::LuaEngine* engine = luaEngine();
        if (!engine || handlerOf(view, kind) == 0) return;
        engine::TableViewEventValue value{cell};
        engine::HandlerEventData data(view, &value);
        engine->handleEvent(kind, &data);
    }
};

class LuaTableViewDataSource : public engine::Ref, public engine::extension::TableViewDataSource {
public:
    engine::Size tableCellSizeForIndex(TableView* table, long idx) override {
        double width = 0, height = 0;
        ask(table, Kind::TABLECELL_SIZE_FOR_INDEX, &idx, 2, [&](lua_State* L, int) {
            height = numberAt(L, -1);
            width = numberAt(L, -2);
        });
        return engine::Size(static_cast<float>(width), static_cast<float>(height));
    }
    TableViewCell* tableCellAtIndex(TableView* table, long idx) override {
        TableViewCell* cell = nullptr;
        ask(table, Kind::TABLECELL_AT_INDEX, &idx, 1,
            [&](lua_State* L, int) { cell = objectAt<TableViewCell>(L, -1, "cc.TableViewCell"); });
        return cell;
    }
    long numberOfCellsInTableView(TableView* table) override {
        long count = 0;
        ask(table, Kind::TABLEVIEW_NUMS_OF_CELLS, nullptr, 1, [&](lua_State* L, int) {
            count = static_cast<long>(luaconv::truncToInt64(numberAt(L, -1)));
        });
        return count;
    }

private:
    template <class Reader>
    static void ask(TableView* table, Kind kind, long* idx, int results, Reader reader) {
        if (!table) return;
        engine::LuaEngine* engine = luaEngine();
        if (!engine || handlerOf(table, kind) == 0) return;
        engine::TableViewEventValue value{idx};
        engine::HandlerEventData data(table, &value);
        engine->handleEventWithResult(kind, &data, results, reader);
    }
};

// The table view's dictionary of delegates, made its user object when it has none.
engine::__Dictionary* delegatesOf(TableView* view) {
    auto* dictionary = dynamic_cast<engine::__Dictionary*>(view->getUserObject());
    if (!dictionary) {
        dictionary = engine::__Dictionary::create();
        view->setUserObject(dictionary);
    }
    return dictionary;
}

// ---- cc.ScrollView

int lua_scrollViewSetDelegate(lua_State* L) {
    ScrollView* self = checkSelf<ScrollView>(L, "cc.ScrollView", "lua_engine_ScrollView_setDelegate");
    const int argc = argumentCount(L);
    if (argc != 0) {
        return luaL_error(L, "'setDelegate' function of ScrollView wrong number of arguments: %d, was expecting %d\n",
                          argc, 0);
    }
    auto* delegate = new LuaScrollViewDelegate;
    self->setUserObject(delegate);
    self->setDelegate(delegate);
    delegate->release();
    return 0;
}

// Script handler entry shared by both views: types below `types` only.
int registerHandler(lua_State* L, ScrollView* self, int types) {
    const int type = intAt(L, 3);
    if (type < 0 || type >= types) return 0;
    const int handler = handlerAt(L, 2);
    if (handler != 0) ScriptHandlerMgr::getInstance()->addObjectHandler(self, handler, viewKind(type));
    return 0;
}

int unregisterHandler(lua_State* L, ScrollView* self, int types) {
    const int type = intAt(L, 2);
    if (type >= 0 && type < types) ScriptHandlerMgr::getInstance()->removeObjectHandler(self, viewKind(type));
    return 0;
}

int lua_scrollViewRegisterHandler(lua_State* L) {
    ScrollView* self = checkSelf<ScrollView>(L, "cc.ScrollView", "lua_engine_ScrollView_registerScriptHandler");
    const int argc = argumentCount(L);
    if (argc != 2) {
        return luaL_error(L, "%s function of ScrollView has wrong number of arguments: %d, was expecting %d\n",
                          "cc.ScrollView:registerScriptHandler", argc, 2);
    }
    return registerHandler(L, self, kScrollViewTypes);
}

int lua_scrollViewUnregisterHandler(lua_State* L) {
    ScrollView* self = checkSelf<ScrollView>(L, "cc.ScrollView", "lua_engine_ScrollView_unregisterScriptHandler");
    const int argc = argumentCount(L);
    if (argc != 1) {
        return luaL_error(L, "%s function of ScrollView  has wrong number of arguments: %d, was expecting %d\n",
                          "cc.ScrollView:unregisterScriptHandler", argc, 1);
    }
    return unregisterHandler(L, self, kScrollViewTypes);
}

// ---- cc.TableView

int lua_tableViewSetDelegate(lua_State* L) {
    TableView* self = checkSelf<TableView>(L, "cc.TableView", "lua_engine_TableView_setDelegate");
    const int argc = argumentCount(L);
    if (argc != 0) {
        return luaL_error(L, "'setDelegate' function of TableView wrong number of arguments: %d, was expecting %d\n",
                          argc, 0);
    }
    auto* delegate = new LuaTableViewDelegate;
    delegatesOf(self)->setObject(delegate, "TableViewDelegate");
    self->setDelegate(delegate);
    delegate->release();
    return 0;
}

int lua_tableViewSetDataSource(lua_State* L) {
    TableView* self = checkSelf<TableView>(L, "cc.TableView", "lua_engine_TableView_setDataSource");
    const int argc = argumentCount(L);
    if (argc != 0) {
        return luaL_error(L, "'setDataSource' function of TableView wrong number of arguments: %d, was expecting %d\n",
                          argc, 0);
    }
    auto* source = new LuaTableViewDataSource;
    delegatesOf(self)->setObject(source, "TableViewDataSource");
    self->setDataSource(source);
    source->release();
    return 0;
}

int lua_tableViewCreate(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 1 && argc != 2) {
        return luaL_error(L, "'create' function of TableView wrong number of arguments: %d, was expecting %d\n", argc, 1);
    }
    engine::Size size;
    if (!luaconv_read_size(L, 2, &size, "cc.TableView:create")) {
        return luaL_error(L, "invalid arguments in function 'lua_engine_TableView_create'");
    }
    engine::Node* container = nullptr;
    if (argc == 2 && !lua_isnil(L, 3)) {
        container = objectAt<engine::Node>(L, 3, "cc.Node");
        if (!container) return luaL_error(L, "invalid arguments in function 'lua_engine_TableView_create'");
    }
    auto* source = new LuaTableViewDataSource;
    TableView* view = TableView::create(source, size, container);
    if (!view) {
        source->release();
        return 0;
    }
    view->reloadData();
    delegatesOf(view)->setObject(source, "TableViewDataSource");
    source->release();
    luaconv_push_object(L, "cc.TableView", view);
    return 1;
}

int lua_tableViewRegisterHandler(lua_State* L) {
    TableView* self = checkSelf<TableView>(L, "cc.TableView", "lua_engine_TableView_registerScriptHandler");
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, "cc.TableView:registerScriptHandler", argc, 2);
    return registerHandler(L, self, kTableViewTypes);
}

int lua_tableViewUnregisterHandler(lua_State* L) {
    TableView* self = checkSelf<TableView>(L, "cc.TableView", "lua_engine_TableView_unregisterScriptHandler");
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.TableView:unregisterScriptHandler", argc, 1);
    return unregisterHandler(L, self, kTableViewTypes);
}

const ClassFunction kScrollViewFunctions[] = {
    {"setDelegate", lua_scrollViewSetDelegate},
    {"registerScriptHandler", lua_scrollViewRegisterHandler},
    {"unregisterScriptHandler", lua_scrollViewUnregisterHandler},
};

const ClassFunction kTableViewFunctions[] = {
    {"setDelegate", lua_tableViewSetDelegate},
    {"setDataSource", lua_tableViewSetDataSource},
    {"create", lua_tableViewCreate},
    {"registerScriptHandler", lua_tableViewRegisterHandler},
    {"unregisterScriptHandler", lua_tableViewUnregisterHandler},
};

}  // namespace

void register_scroll_view_functions(lua_State* L) {
    addClassFunctions(L, "cc.ScrollView", kScrollViewFunctions);
    addClassFunctions(L, "cc.TableView", kTableViewFunctions);
}

}  // namespace bindings
