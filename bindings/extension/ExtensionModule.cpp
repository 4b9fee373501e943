// The extension module: table views and the other extension classes (table "cc").
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <vector>

#include "engine/extension/TableView.h"

namespace bindings {

namespace {

// Rows in registration order, bases first.
const std::vector<ClassEntry> kExtensionClasses = {
    classEntry<engine::extension::TableViewCell>("cc.TableViewCell", "cc.Node"),
    classEntry<engine::extension::TableView>("cc.TableView", "cc.Node"),
};

}  // namespace

std::span<const ClassEntry> extensionClassTable() { return kExtensionClasses; }

int register_extension_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kExtensionClasses);
    return 1;
}

}  // namespace bindings
