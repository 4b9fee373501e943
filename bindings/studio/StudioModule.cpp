// The studio module: the editor's armature and timeline classes (table "ccs").
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <vector>

#include "engine/studio/Armature.h"
#include "engine/studio/GUIReader.h"

namespace bindings {

namespace {

const Method kGUIReaderMethods[] = {
    {"getInstance", {classFunction<&studio::GUIReader::getInstance>()}},
    {"widgetFromJsonFile", {method<&studio::GUIReader::widgetFromJsonFile>()}},
};

// Rows in registration order, bases first.
const std::vector<ClassEntry> kStudioClasses = {
    classEntry<studio::Armature>("ccs.Armature", "cc.Node"),
    classEntry<studio::Bone>("ccs.Bone", "cc.Node"),
    classEntry<studio::GUIReader>("ccs.GUIReader", nullptr, kGUIReaderMethods),
};

}  // namespace

std::span<const ClassEntry> studioClassTable() { return kStudioClasses; }

int register_studio_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kStudioClasses);
    return 1;
}

}  // namespace bindings
