#include "bindings/core/LuaActionLists.h"

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"

#include <tolua++.h>

#include <vector>

#include "engine/actions/ActionInterval.h"
#include "engine/base/Vector.h"
#include "scripting/LuaObjectConversions.h"

namespace bindings {
namespace {

using engine::FiniteTimeAction;

// The actions of the arguments from index 2 on, made into a T (Sequence or
// Spawn); null when there is none to make.
// The containers are empty whenever a table read could raise (an __index that
// fails), so a Lua error leaves nothing behind.
template <class T>
T* actionOfArguments(lua_State* L, int argc) {
    std::vector<FiniteTimeAction*> actions;
    if (argc == 1 && lua_istable(L, 2)) {
        engine::Vector<FiniteTimeAction*> list;
        if (!luaconv_read_object_vector(L, 2, &list)) return nullptr;
        for (size_t i = 0; i < list.size(); ++i) actions.push_back(list.at(i));
        return actions.empty() ? nullptr : T::create(actions);
    }
    for (int i = 2; i <= argc + 1; ++i) {
        if (auto* action = objectAt<FiniteTimeAction>(L, i, "cc.FiniteTimeAction")) actions.push_back(action);
    }
    return actions.empty() ? nullptr : T::create(actions);
}

template <class T>
int lua_listCreate(lua_State* L, const char* luaName, const char* typeName) {
    const int argc = argumentCount(L);
    if (argc < 1) return countError(L, luaName, argc, 1);
    luaconv_push_object(L, typeName, actionOfArguments<T>(L, argc));
    return 1;
}

int lua_sequenceCreate(lua_State* L) { return lua_listCreate<engine::Sequence>(L, "cc.Sequence:create", "cc.Sequence"); }
int lua_spawnCreate(lua_State* L) { return lua_listCreate<engine::Spawn>(L, "cc.Spawn:create", "cc.Spawn"); }

}  // namespace

int register_action_lists_manual(lua_State* L) {
    const ClassFunction functions[] = {{"create", lua_sequenceCreate}};
    addClassFunctions(L, "cc.Sequence", functions);
    return 0;
}

int register_spawn_manual(lua_State* L) {
    const ClassFunction functions[] = {{"create", lua_spawnCreate}};
    addClassFunctions(L, "cc.Spawn", functions);
    return 0;
}

}  // namespace bindings
