#pragma once
// The two-number form of the script method setBlendFunc shared by the classes
// that draw with a blend function of their own: obj:setBlendFunc(src, dst).
// Main thread only.
#include <lua.hpp>

#include "engine/renderer/RenderRecords.h"

namespace bindings {

// Reads the factors at stack positions 2 and 3 as 32-bit integers (their
// diagnostic name "<className>:setBlendFunc") and sets them on self; a factor
// that is not a number leaves the blend function as it was. The caller has
// checked self; nothing happens for a null self or an empty class name.
void setBlendFuncFromNumbers(lua_State* L, const char* className, engine::BlendProtocol* self);

// Replaces setBlendFunc of the registered class luaName ("cc.Sprite", whose
// engine class derives from Node and BlendProtocol): with two arguments the
// numbers form above (self type-tested: "invalid 'self' in function
// 'cc.Sprite:setBlendFunc'"), every other call goes to the setBlendFunc the
// class table had (the one-table form). Nothing when the class or its
// setBlendFunc is missing.
void register_blend_func_manual(lua_State* L, const char* luaName);

}  // namespace bindings
