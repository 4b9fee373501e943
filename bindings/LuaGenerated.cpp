#include "bindings/LuaGenerated.h"

#include <algorithm>
#include <cstring>

namespace bindings {

std::span<const Method> generatedMethods(const char* luaName) {
    for (const GeneratedTable& table : generatedTables()) {
        const auto found = std::lower_bound(
            table.classes.begin(), table.classes.end(), luaName,
            [](const GeneratedClass& entry, const char* name) { return std::strcmp(entry.luaName, name) < 0; });
        if (found != table.classes.end() && std::strcmp(found->luaName, luaName) == 0) return found->methods;
    }
    return {};
}

}  // namespace bindings
