// Untrusted bytes through the "pb" decoders: the first byte picks the position, the
// rest is the encoded string. Every decoder either answers or raises a Lua error;
// none reads outside the string.
#include <lua.hpp>

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "scripting/pb/LuaPb.h"

namespace {

lua_State* state() {
    static lua_State* L = [] {
        lua_State* s = luaL_newstate();
        luaL_openlibs(s);
        luaopen_pb(s);
        lua_settop(s, 0);
        return s;
    }();
    return L;
}

void call(lua_State* L, const char* name, int format, const char* bytes, size_t size, lua_Integer position) {
    lua_getglobal(L, "pb");
    lua_getfield(L, -1, name);
    lua_remove(L, -2);
    int nargs = 2;
    if (format) {
        lua_pushinteger(L, format);
        nargs = 3;
    }
    lua_pushlstring(L, bytes, size);
    lua_pushinteger(L, position);
    lua_pcall(L, nargs, LUA_MULTRET, 0);
    lua_settop(L, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    lua_State* L = state();
    // Positions around the string's bounds, negative ones included.
    lua_Integer position = static_cast<int8_t>(data[0]);
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    size_t length = size - 1;
    for (const char* name : {"varint_decoder", "signed_varint_decoder", "read_tag"})
        call(L, name, 0, bytes, length, position);
    for (int format : {'I', 'i', 'f', 'Q', 'q', 'd'}) call(L, "struct_unpack", format, bytes, length, position);

    // The same bytes into a buffer and back out by range.
    lua_getfield(L, LUA_GLOBALSINDEX, "pb");
    lua_getfield(L, -1, "new_iostring");
    lua_call(L, 0, 1);
    lua_getfield(L, -1, "write");
    lua_pushvalue(L, -2);
    lua_pushlstring(L, bytes, length);
    lua_pcall(L, 2, 0, 0);
    lua_getfield(L, -1, "sub");
    lua_pushvalue(L, -2);
    lua_pushinteger(L, position);
    lua_pushinteger(L, static_cast<lua_Integer>(length) - position);
    lua_pcall(L, 3, 1, 0);
    lua_settop(L, 0);
    if (size % 64 == 0) lua_gc(L, LUA_GCCOLLECT, 0);
    return 0;
}
