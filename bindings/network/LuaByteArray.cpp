#include "bindings/network/LuaByteArray.h"

namespace bindings {

void pushByteArray(lua_State* L, const char* bytes, size_t size) {
    lua_createtable(L, static_cast<int>(size), 0);
    for (size_t i = 0; i < size; ++i) {
        lua_pushinteger(L, static_cast<lua_Integer>(static_cast<unsigned char>(bytes[i])));
        lua_rawseti(L, -2, static_cast<int>(i + 1));
    }
}

}  // namespace bindings
