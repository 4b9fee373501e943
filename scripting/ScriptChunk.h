#pragma once
// "VEXZ" compressed chunks: the bytes "VEXZ", the raw size (unsigned 32-bit
// little-endian, 1 to 67,108,863) and a zlib stream that must inflate to exactly
// that size. A buffer shorter than 8 bytes or without the magic is loaded as it is.
#include <lua.hpp>

namespace engine {

// Load statuses of our own, beside luaL_loadbuffer's (they push nothing).
constexpr int kChunkRejected = 3;      // bad protected body, or bad/short/long inflate
constexpr int kChunkTooLarge = 4;      // raw size 0 or above the ceiling, or no memory
constexpr unsigned kChunkMaxRawSize = 0x3FFFFFF;

// luaL_loadbuffer's status (chunk or message pushed), or one of the two above.
int loadCompressedChunk(lua_State* L, const char* bytes, int size, const char* chunkName);

}  // namespace engine
