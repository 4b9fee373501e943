// The 3d module: the 3D classes (table "cc").
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <vector>

namespace bindings {

namespace {

// Rows in registration order, bases first.
const std::vector<ClassEntry> kThreeDClasses = {};

}  // namespace

std::span<const ClassEntry> threeDClassTable() { return kThreeDClasses; }

int register_3d_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kThreeDClasses);
    registerClassTable(L, threeDSceneClassRows());
    return 1;
}

}  // namespace bindings
