// The ui module: the widget classes (table "ccui").
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <vector>

namespace bindings {

namespace {

// Rows in registration order, bases first.
const std::vector<ClassEntry> kUiClasses = {};

}  // namespace

std::span<const ClassEntry> uiClassTable() { return kUiClasses; }

int register_ui_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kUiClasses);
    return 1;
}

}  // namespace bindings
