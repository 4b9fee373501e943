// The 3D physics module (table "cc").
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <vector>

namespace bindings {

namespace {

// Rows in registration order, bases first.
const std::vector<ClassEntry> kPhysics3DClasses = {};

}  // namespace

std::span<const ClassEntry> physics3dClassTable() { return kPhysics3DClasses; }

int register_physics3d_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kPhysics3DClasses);
    return 1;
}

}  // namespace bindings
