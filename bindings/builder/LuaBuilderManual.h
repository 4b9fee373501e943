#pragma once
// The builder module's hand-written script functions: the class cc.CCBProxy
// (registered in luaTypeMap only: no short-name entry), cc.CCBReader's load and
// cc.CCBAnimationManager's setCallFuncForLuaCallbackNamed. Main thread only.
#include <lua.hpp>

namespace bindings {

int register_builder_manual(lua_State* L);
// The registration of cc.CCBProxy's row (a RegisterClassFn): tolua++ and
// luaTypeMap, no short-name entry.
void registerProxyClass(lua_State* L, const char* shortName, const char* luaName, const char* baseLuaName,
                        lua_CFunction collector);

}  // namespace bindings
