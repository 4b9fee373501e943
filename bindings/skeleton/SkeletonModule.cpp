// The skeleton module: the skeletal animation classes (table "sp").
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <vector>

namespace bindings {

namespace {

// Rows in registration order, bases first.
const std::vector<ClassEntry> kSkeletonClasses = {};

}  // namespace

std::span<const ClassEntry> skeletonClassTable() { return kSkeletonClasses; }

int register_skeleton_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kSkeletonClasses);
    return 1;
}

}  // namespace bindings
