#include "scripting/ScriptChunk.h"

#include <cstdlib>
#include <cstring>

#include <zlib.h>

#include "scripting/LuaStack.h"
#include "scripting/Xxtea.h"

namespace engine {

int loadCompressedChunk(lua_State* L, const char* bytes, int size, const char* chunkName) {
    if (size < 8 || std::memcmp(bytes, "VEXZ", 4) != 0) {
        return luaL_loadbuffer(L, bytes, size > 0 ? static_cast<size_t>(size) : 0, chunkName);
    }
    const auto* u = reinterpret_cast<const unsigned char*>(bytes);
    const uint32_t rawSize = static_cast<uint32_t>(u[4]) | static_cast<uint32_t>(u[5]) << 8 |
                             static_cast<uint32_t>(u[6]) << 16 | static_cast<uint32_t>(u[7]) << 24;
    if (rawSize == 0 || rawSize > kChunkMaxRawSize) return kChunkTooLarge;
    auto* out = static_cast<Bytef*>(std::malloc(rawSize));
    if (!out) return kChunkTooLarge;
    uLongf outLength = rawSize;
    const int z = uncompress(out, &outLength, u + 8, static_cast<uLong>(size - 8));
    int status;
    if (z != Z_OK || outLength != rawSize) {
        status = kChunkRejected;
    } else {
        status = luaL_loadbuffer(L, reinterpret_cast<const char*>(out), rawSize, chunkName);
    }
    std::free(out);
    return status;
}

int LuaStack::loadScriptBuffer(lua_State* L, const char* bytes, int size, const char* chunkName) {
    if (_keyEnabled && _sign && size >= _signLength && std::memcmp(bytes, _sign, _signLength) == 0) {
        int plainLength = 0;
        unsigned char* plain =
            xxtea_decrypt(reinterpret_cast<const unsigned char*>(bytes) + _signLength, size - _signLength,
                          _key, _keyLength, &plainLength);
        if (!plain) return kChunkRejected;
        const int status = loadCompressedChunk(L, reinterpret_cast<const char*>(plain), plainLength, chunkName);
        std::free(plain);
        return status;
    }
    return loadCompressedChunk(L, bytes, size, chunkName);
}

}  // namespace engine
