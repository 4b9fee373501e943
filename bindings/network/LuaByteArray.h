#pragma once
// Bytes handed to a script as an array of numbers (index 1 up, each 0..255), the
// form XMLHttpRequest's byte-array response and binary WebSocket messages take.
//
// One Lua number per byte costs many times the bytes themselves, so what may
// reach a script in this form is capped at kMaxByteArrayBytes; the callers refuse
// (or never receive) anything larger. The table is made at its final size and
// filled in place: no intermediate list of values.
#include <cstddef>

#include <lua.hpp>

namespace bindings {

constexpr size_t kMaxByteArrayBytes = 4u << 20;

// Pushes the array (an empty table for size 0). Raises only Lua's memory error.
void pushByteArray(lua_State* L, const char* bytes, size_t size);

}  // namespace bindings
