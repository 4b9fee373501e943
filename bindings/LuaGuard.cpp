#include "bindings/LuaGuard.h"

#include <cstdio>
#include <exception>
#include <new>

namespace bindings {

int guarded(lua_State* L, lua_CFunction body) {
    char what[200] = "";
    bool outOfMemory = false;
    try {
        return body(L);
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
    } catch (const std::exception& e) {
        std::snprintf(what, sizeof what, "%s", e.what());
    }
    // The exception object is gone by now: nothing is left to unwind.
    if (outOfMemory) return luaL_error(L, "not enough memory");
    return luaL_error(L, "%s", what);
}

namespace {

struct Function {
    lua_CFunction function;
};

int callUpvalue(lua_State* L) {
    const auto* held = static_cast<const Function*>(lua_touserdata(L, lua_upvalueindex(1)));
    return guarded(L, held->function);
}

}  // namespace

void pushGuardedFunction(lua_State* L, lua_CFunction function) {
    // A function pointer is kept in a small full userdata: a light userdata
    // holds only object pointers.
    auto* held = static_cast<Function*>(lua_newuserdata(L, sizeof(Function)));
    held->function = function;
    lua_pushcclosure(L, &callUpvalue, 1);
}

}  // namespace bindings
