// The generated-style classes of the experimental module (table "ccexp"), registered while
// the Lua stack starts.
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"
#include "bindings/core/LuaTileMaps.h"
#include "engine/tilemap/ExperimentalTMX.h"

#include <vector>

namespace bindings {

namespace {

using engine::experimental::TMXTiledMap;

const Method kTMXTiledMapMethods[] = {
    {"create", {classFunction<&TMXTiledMap::create>()}},
    {"getLayer", {method<&TMXTiledMap::getLayer>()}},
};

// Rows in registration order, bases first. The tile-map classes share the core
// ones' model and methods (their bases).
const std::vector<ClassEntry> kExperimentalClasses = {
    classEntry<engine::experimental::TMXLayer>("ccexp.TMXLayer", "cc.TMXLayer"),
    classEntry<TMXTiledMap>("ccexp.TMXTiledMap", "cc.TMXTiledMap", kTMXTiledMapMethods),
};

}  // namespace

std::span<const ClassEntry> experimentalClassTable() { return kExperimentalClasses; }

// The generated-style table, then the hand-written methods right after it.
int register_experimental_classes(lua_State* L) {
    const int result = registerClassTable(L, kExperimentalClasses);
    register_experimental_manual(L);
    return result;
}

}  // namespace bindings
