// The audio engine module: the experimental audio classes (table "ccexp").
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <vector>

namespace bindings {

namespace {

// Rows in registration order, bases first.
const std::vector<ClassEntry> kAudioEngineClasses = {};

}  // namespace

std::span<const ClassEntry> audioEngineClassTable() { return kAudioEngineClasses; }

int register_audioengine_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kAudioEngineClasses);
    return 1;
}

}  // namespace bindings
