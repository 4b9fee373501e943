// The navigation mesh module (table "cc").
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <vector>

namespace bindings {

namespace {

// Rows in registration order, bases first.
const std::vector<ClassEntry> kNavMeshClasses = {};

}  // namespace

std::span<const ClassEntry> navMeshClassTable() { return kNavMeshClasses; }

int register_navmesh_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kNavMeshClasses);
    return 1;
}

}  // namespace bindings
