// The generated-style classes of the experimental module (table "ccexp"), registered while
// the Lua stack starts.
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <vector>

namespace bindings {

namespace {

// Rows in registration order, bases first.
const std::vector<ClassEntry> kExperimentalClasses = {};

}  // namespace

std::span<const ClassEntry> experimentalClassTable() { return kExperimentalClasses; }

int register_experimental_classes(lua_State* L) { return registerClassTable(L, kExperimentalClasses); }

}  // namespace bindings
