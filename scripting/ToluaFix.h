#pragma once
// Reference tables between native code and Lua, kept in three registry tables:
//   "toluafix_refid_ptr_mapping"      object reference id -> object address (light userdata)
//   "toluafix_refid_type_mapping"     object reference id -> Lua type name of its first push
//   "toluafix_refid_function_mapping" handler id -> Lua function
// An engine object pushed to Lua is recorded under its reference id so that its
// script side can be cut loose when it dies; a Lua function held by native code
// stays alive under a handler id. Handler ids come from one process-wide counter
// (the first is 1) and are never reused.
//
// Also here: the registry table "tolua_value_root" (address -> userdata), which
// anchors every object pushed through toluafix_pushObject so that the same
// userdata comes back for the same address while the object lives.
//
// Main thread only. None of these raise Lua errors; each leaves the stack as it
// found it except for the values it is documented to push.
#include <tolua++.h>

extern "C" {

// Creates the three reference tables and "tolua_value_root" (empty).
void toluafix_open(lua_State* L);

// Pushes the object as a usertype. typeName is the default Lua type: the Lua name
// registered for the object's dynamic class wins. On the object's first push
// (*luaId == 0) sets *luaId = refid and records address and type name.
// Returns 0, or -1 after pushing nil for a null object or a null luaId.
int toluafix_pushObject(lua_State* L, int refid, int* luaId, void* object, const char* typeName);

// Forgets the script side of a pushed object: both reference entries, its anchor
// and ubox entry, its peer table; the userdata then holds a null address, so a
// script still holding it holds a dead object. Result: 0 removed; -1 refid 0, no
// recorded type or a userdata without storage; -2 no recorded address; -3 no
// userdata for the address.
int toluafix_removeObjectByRefid(lua_State* L, int refid);

// A new handler id for the function at index; 0 (and the counter untouched) when
// the value is not a function. def is not used.
int toluafix_refFunction(lua_State* L, int index, int def);
// Pushes the function of the handler id, nil when there is none.
void toluafix_getFunctionByRefid(lua_State* L, int id);
void toluafix_removeFunctionByRefid(lua_State* L, int id);

// Argument test beside tolua++'s: 1 when the value at index exists and is a
// function; else fills err (index, array 0, type "[not function]") and returns 0.
int toluafix_isFunction(lua_State* L, int index, const char* typeName, int def, tolua_Error* err);

}  // extern "C"

// Pushes a usertype through tolua++ and anchors its userdata in "tolua_value_root".
void toluafix_pushAnchoredUsertype(lua_State* L, void* object, const char* typeName);
// Drops the anchor of an address (nothing when there is none).
void toluafix_removeAnchor(lua_State* L, void* object);
