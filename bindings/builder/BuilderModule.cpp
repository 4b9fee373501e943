// The builder module: the scene-file reader classes (table "cc").
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <vector>

namespace bindings {

namespace {

// Rows in registration order, bases first.
const std::vector<ClassEntry> kBuilderClasses = {};

}  // namespace

std::span<const ClassEntry> builderClassTable() { return kBuilderClasses; }

int register_builder_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kBuilderClasses);
    return 1;
}

}  // namespace bindings
