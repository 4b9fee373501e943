// The generated-style classes of the physics module (table "cc"), registered while
// the Lua stack starts.
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <vector>

#include "engine/physics/PhysicsShape.h"

namespace bindings {

namespace {

// Rows in registration order, bases first.
const std::vector<ClassEntry> kPhysicsClasses = {
    classEntry<engine::PhysicsShape>("cc.PhysicsShape", "cc.Ref"),
};

}  // namespace

std::span<const ClassEntry> physicsClassTable() { return kPhysicsClasses; }

int register_physics_classes(lua_State* L) { return registerClassTable(L, kPhysicsClasses); }

}  // namespace bindings
