#include "bindings/core/LuaActionLists.h"

#include "bindings/LuaClassTable.h"

#include <tolua++.h>

#include <vector>

#include "engine/actions/ActionInterval.h"
#include "engine/base/Vector.h"
#include "scripting/LuaObjectConversions.h"

namespace bindings {
namespace {

using engine::FiniteTimeAction;

// The sequence of the arguments from index 2 on; null when there is none to make.
// The containers are empty whenever a table read could raise (an __index that
// fails), so a Lua error leaves nothing behind.
engine::Sequence* sequenceOfArguments(lua_State* L, int argc) {
    tolua_Error err;
    std::vector<FiniteTimeAction*> actions;
    if (argc == 1 && lua_istable(L, 2)) {
        engine::Vector<FiniteTimeAction*> list;
        if (!luaconv_read_object_vector(L, 2, &list)) return nullptr;
        for (size_t i = 0; i < list.size(); ++i) actions.push_back(list.at(i));
        return actions.empty() ? nullptr : engine::Sequence::create(actions);
    }
    for (int i = 2; i <= argc + 1; ++i) {
        if (!lua_isuserdata(L, i) || lua_islightuserdata(L, i) || !tolua_isusertype(L, i, "cc.FiniteTimeAction", 0, &err)) {
            continue;
        }
        if (auto* action = static_cast<FiniteTimeAction*>(tolua_tousertype(L, i, nullptr))) actions.push_back(action);
    }
    return actions.empty() ? nullptr : engine::Sequence::create(actions);
}

int lua_sequenceCreate(lua_State* L) {
    const int argc = lua_gettop(L) - 1;
    if (argc < 1) {
        return luaL_error(L, "%s has wrong number of arguments: %d, was expecting %d\n", "cc.Sequence:create", argc, 1);
    }
    engine::Sequence* sequence = sequenceOfArguments(L, argc);
    luaconv_push_object(L, "cc.Sequence", sequence);
    return 1;
}

}  // namespace

int register_action_lists_manual(lua_State* L) {
    const ClassFunction functions[] = {{"create", lua_sequenceCreate}};
    addClassFunctions(L, "cc.Sequence", functions);
    return 0;
}

}  // namespace bindings
