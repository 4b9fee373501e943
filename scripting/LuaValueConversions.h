#pragma once
// Conversions of single Lua values, arrays, string maps and engine::Value trees.
//
// Readers (luaconv_read_*) take the value at an absolute stack index and answer
// whether they could read it; they report nothing, leave the Lua stack as they found
// it and, on false, leave their output as it was (the calling binding raises its own
// error). Container readers append to their output and never clear it first. A
// trailing funcName, where accepted, is the binding's name and unused.
// Writers (luaconv_push_*) push exactly one value.
#include <lua.hpp>

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/base/Types.h"
#include "engine/base/Value.h"

// ---- Scalars
// The type tests are tolua++'s without a default: an absent argument fails them.

// Booleans and nil pass; nil reads as false.
bool luaconv_read_bool(lua_State* L, int index, bool* out, const char* funcName = "");
// The remaining number readers accept numbers and numeric strings. Integer results
// are the number truncated toward zero (NaN gives 0, values beyond 64 bits clamp).
bool luaconv_read_number(lua_State* L, int index, double* out, const char* funcName = "");
// The low 32 bits as a signed value: 2^31 reads as -2^31, 4294967295 as -1.
bool luaconv_read_int32(lua_State* L, int index, int32_t* out, const char* funcName = "");
// The low 32 bits: -1 reads as 4294967295.
bool luaconv_read_uint32(lua_State* L, int index, uint32_t* out, const char* funcName = "");
// An index as luaconv_read_uint32 reads it, taken as the signed 32-bit value those
// bits hold (so -1 stays -1).
bool luaconv_read_index(lua_State* L, int index, ssize_t* out, const char* funcName = "");
// The low 16 bits (300 reads as 300, 65537 as 1): opacities and colour components.
bool luaconv_read_uint16(lua_State* L, int index, uint16_t* out, const char* funcName = "");
bool luaconv_read_ushort(lua_State* L, int index, unsigned short* out, const char* funcName = "");
// The low 32 bits of the 64-bit truncation; a value between 2^31 and 2^32 keeps its
// unsigned value in both, a negative value in [-2^31, 0) stays negative in `long`.
bool luaconv_read_long(lua_State* L, int index, long* out, const char* funcName = "");
bool luaconv_read_ulong(lua_State* L, int index, unsigned long* out, const char* funcName = "");
// Strings and numbers (as Lua writes them) and nil (the empty string).
bool luaconv_read_std_string(lua_State* L, int index, std::string* out, const char* funcName = "");

// The string at index without a type test; `defaultValue` when index lies beyond the
// top. Never null: a missing text is "".
const char* luaconv_to_cstring(lua_State* L, int index, const char* defaultValue = nullptr);

// True when optional is set and index lies beyond the top, when the value is nil, or
// when it is a usertype registered as typeName or derived from it (a table whose
// ".c_instance" field holds such a userdata counts as that userdata).
bool luaconv_is_usertype_or_nil(lua_State* L, int index, const char* typeName, bool optional);

// ---- Arrays and string maps
// Entries 1 to the table's length; entries of another kind, holes included, are
// skipped. These readers also fail when index lies beyond the top. Tables (entries'
// {x, y, z} fields too) are read raw: no metamethod runs, so nothing raises while
// C++ containers are being built.

bool luaconv_read_float_vector(lua_State* L, int index, std::vector<float>* out,
                               const char* funcName = "");
bool luaconv_read_int_vector(lua_State* L, int index, std::vector<int32_t>* out,
                             const char* funcName = "");
bool luaconv_read_string_vector(lua_State* L, int index, std::vector<std::string>* out,
                                const char* funcName = "");
// Table entries read as {x, y, z}.
bool luaconv_read_vec3_vector(lua_State* L, int index, std::vector<engine::Vec3>* out,
                              const char* funcName = "");
// Every pair whose key and value are strings or numbers.
bool luaconv_read_string_map(lua_State* L, int index, std::map<std::string, std::string>* out,
                             const char* funcName = "");

// An array of {x, y} tables into a new[]-allocated array the caller delete[]s. An empty
// table answers true with points and count untouched; an entry that is not a table
// answers false, frees what was allocated and leaves points and count untouched.
bool luaconv_read_vec2_array(lua_State* L, int index, engine::Vec2** points, int* count);

void luaconv_push_float_vector(lua_State* L, const std::vector<float>& values);
void luaconv_push_string_vector(lua_State* L, const std::vector<std::string>& values);
void luaconv_push_vec3_vector(lua_State* L, const std::vector<engine::Vec3>& values);
// An array of {x, y} tables; a count below 1 gives an empty table.
void luaconv_push_vec2_array(lua_State* L, const engine::Vec2* points, int count);

// ---- Value trees
// Reading: a table whose [1] is not nil is a vector, any other table a string-keyed
// map; strings, booleans and numbers (always double values) are scalars; other
// values are skipped. Tables are read raw (no metamethod runs). Tables nested
// deeper than a fixed limit (or cyclic) are skipped where they occur. A table met
// at several places is read at each; a read that would build more than a fixed
// number of values (2^18: shared tables nested in each other double at each level)
// fails, and a failed read leaves its output as it was.

// Answers true for any value (false for null L or out and for a read over the
// bound); *out is untouched for nil, functions, userdata and threads.
bool luaconv_read_value(lua_State* L, int index, engine::Value* out);
// False for a value that is not a table. Keys that are strings or numbers (by their
// text) are taken; an entry replaces one of out under the same key.
bool luaconv_read_value_map(lua_State* L, int index, engine::ValueMap* out);
// As the map, keyed by the integer a key's text starts with ("-5" gives -5); keys that
// do not start with an integer are skipped.
bool luaconv_read_value_int_key_map(lua_State* L, int index, engine::ValueMapIntKey* out);
// Entries 1 to the table's length; holes and unreadable entries close up.
bool luaconv_read_value_vector(lua_State* L, int index, engine::ValueVector* out);
// The call's arguments 2 to argc + 1 (1 is the object the method runs on), each read as
// a vector entry. argc 0 answers false; a negative argc reads nothing and answers true.
bool luaconv_read_varargs_value_vector(lua_State* L, int argc, engine::ValueVector* out);

// Integers, unsigned values, floats and doubles as numbers, booleans, strings and the
// three containers as tables. A value that holds none of these (none or a byte) is
// pushed as nil.
void luaconv_push_value(lua_State* L, const engine::Value& value);
// Entries holding none of the kinds above are left out, key included; in a vector the
// next element takes the free key.
void luaconv_push_value_map(lua_State* L, const engine::ValueMap& map);
// The keys become their decimal text ("-5").
void luaconv_push_value_int_key_map(lua_State* L, const engine::ValueMapIntKey& map);
void luaconv_push_value_vector(lua_State* L, const engine::ValueVector& values);
