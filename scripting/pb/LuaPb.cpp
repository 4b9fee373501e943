#include "scripting/pb/LuaPb.h"

#include <cstdint>
#include <cstring>

#include "scripting/LuaNumberCasts.h"

using luaconv::truncToInt64;
using luaconv::truncToUInt64;

namespace {

constexpr const char* kIOStringType = "protobuf.IOString";
constexpr size_t kIOStringCapacity = 65536;
constexpr size_t kMaxVarintBytes = 10;

struct IOString {
    uint32_t size;
    char buffer[kIOStringCapacity];
};

// ---- Encoding

size_t encodeVarint(uint64_t value, char* out) {
    size_t n = 0;
    while (value >= 0x80) {
        out[n++] = static_cast<char>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    out[n++] = static_cast<char>(value);
    return n;
}

template <class T>
size_t putLittleEndian(T value, char* out) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(T));
    for (size_t i = 0; i < sizeof(T); ++i) out[i] = static_cast<char>(bits >> (8 * i));
    return sizeof(T);
}

// Cuts the stack back to the write function (argument 1) and calls it with the bytes.
int callWrite(lua_State* L, const char* bytes, size_t size) {
    lua_settop(L, 1);
    lua_pushlstring(L, bytes, size);
    lua_call(L, 1, 0);
    return 0;
}

int varintEncoder(lua_State* L) {
    uint64_t value = truncToUInt64(luaL_checknumber(L, 2));
    char bytes[kMaxVarintBytes];
    return callWrite(L, bytes, encodeVarint(value, bytes));
}

int signedVarintEncoder(lua_State* L) {
    int64_t value = truncToInt64(luaL_checknumber(L, 2));
    char bytes[kMaxVarintBytes];
    return callWrite(L, bytes, encodeVarint(static_cast<uint64_t>(value), bytes));
}

int structPack(lua_State* L) {
    int format = static_cast<int>(luaL_checkinteger(L, 2) & 0xFF);
    double number = luaL_checknumber(L, 3);
    char bytes[8];
    size_t size = 0;
    switch (format) {
    case 'I':
        size = putLittleEndian(static_cast<uint32_t>(static_cast<uint64_t>(truncToInt64(number))), bytes);
        break;
    case 'Q':
        size = putLittleEndian(truncToUInt64(number), bytes);
        break;
    case 'd':
        size = putLittleEndian(number, bytes);
        break;
    case 'f':
        size = putLittleEndian(static_cast<float>(number), bytes);
        break;
    case 'i':
        size = putLittleEndian(luaconv::clampToInt32(number), bytes);
        break;
    case 'q':
        size = putLittleEndian(truncToInt64(number), bytes);
        break;
    default:
        return luaL_error(L, "Unknown, format");
    }
    return callWrite(L, bytes, size);
}

// ---- Decoding

// The string argument and a 0-based position within it (the end included).
const char* checkPosition(lua_State* L, int stringArg, int positionArg, size_t* length,
                          size_t* position) {
    const char* s = luaL_checklstring(L, stringArg, length);
    lua_Integer pos = luaL_checkinteger(L, positionArg);
    if (pos < 0 || static_cast<uint64_t>(pos) > *length) luaL_argerror(L, positionArg, "position out of range");
    *position = static_cast<size_t>(pos);
    return s;
}

// The bytes of the varint at position: up to and including the first byte whose high
// bit is clear, at most 10, all within the string.
size_t varintLength(lua_State* L, const char* s, size_t length, size_t position) {
    for (size_t i = position; i < length && i - position < kMaxVarintBytes; ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0x80) == 0) return i - position + 1;
    }
    // Lua strings end with a zero byte, so the remaining bytes print as text.
    luaL_error(L, "error data %s, len:%d", s + position, -1);
    return 0;
}

uint64_t decodeVarint(const char* bytes, size_t count) {
    uint64_t value = 0;
    for (size_t i = 0; i < count; ++i)
        value |= static_cast<uint64_t>(static_cast<unsigned char>(bytes[i]) & 0x7F) << (7 * i);
    return value;
}

// The varint the (string, position) arguments point at.
struct VarintAt {
    const char* bytes;
    size_t count;
    size_t next;   // the position just past it
};

VarintAt checkVarint(lua_State* L) {
    size_t length = 0, position = 0;
    const char* s = checkPosition(L, 1, 2, &length, &position);
    size_t count = varintLength(L, s, length, position);
    return {s + position, count, position + count};
}

template <bool Signed>
int varintDecoder(lua_State* L) {
    VarintAt varint = checkVarint(L);
    uint64_t value = decodeVarint(varint.bytes, varint.count);
    lua_pushnumber(L, Signed ? static_cast<lua_Number>(static_cast<int64_t>(value)) : static_cast<lua_Number>(value));
    lua_pushinteger(L, static_cast<lua_Integer>(varint.next));
    return 2;
}

int readTag(lua_State* L) {
    VarintAt varint = checkVarint(L);
    lua_pushlstring(L, varint.bytes, varint.count);
    lua_pushinteger(L, static_cast<lua_Integer>(varint.next));
    return 2;
}

template <class T>
T getLittleEndian(const char* in) {
    uint64_t bits = 0;
    for (size_t i = 0; i < sizeof(T); ++i) bits |= static_cast<uint64_t>(static_cast<unsigned char>(in[i])) << (8 * i);
    T value;
    std::memcpy(&value, &bits, sizeof(T));
    return value;
}

int structUnpack(lua_State* L) {
    int format = static_cast<int>(luaL_checkinteger(L, 1) & 0xFF);
    size_t width = 0;
    switch (format) {
    case 'I': case 'i': case 'f': width = 4; break;
    case 'Q': case 'q': case 'd': width = 8; break;
    default: return luaL_error(L, "Unknown, format");
    }
    size_t length = 0, position = 0;
    const char* s = checkPosition(L, 2, 3, &length, &position);
    if (length - position < width) return luaL_argerror(L, 3, "value runs past the end of the string");
    const char* in = s + position;
    switch (format) {
    case 'I': lua_pushnumber(L, getLittleEndian<uint32_t>(in)); break;
    case 'i': lua_pushinteger(L, getLittleEndian<int32_t>(in)); break;
    case 'f': lua_pushnumber(L, getLittleEndian<float>(in)); break;
    case 'Q': lua_pushnumber(L, static_cast<lua_Number>(getLittleEndian<uint64_t>(in))); break;
    case 'q': lua_pushnumber(L, static_cast<lua_Number>(getLittleEndian<int64_t>(in))); break;
    default: lua_pushnumber(L, getLittleEndian<double>(in)); break;
    }
    return 1;
}

// ---- Zigzag coding; results are signed 32-bit integers.

int zigZagEncode32(lua_State* L) {
    int32_t n = static_cast<int32_t>(luaL_checkinteger(L, 1));
    uint32_t result = (static_cast<uint32_t>(n) << 1) ^ static_cast<uint32_t>(n >> 31);
    lua_pushinteger(L, static_cast<int32_t>(result));
    return 1;
}

int zigZagDecode32(lua_State* L) {
    uint32_t n = static_cast<uint32_t>(luaL_checkinteger(L, 1));
    uint32_t result = (n >> 1) ^ (0u - (n & 1u));
    lua_pushinteger(L, static_cast<int32_t>(result));
    return 1;
}

int zigZagEncode64(lua_State* L) {
    int64_t n = truncToInt64(luaL_checknumber(L, 1));
    uint64_t result = (static_cast<uint64_t>(n) << 1) ^ static_cast<uint64_t>(n >> 63);
    lua_pushinteger(L, static_cast<int32_t>(static_cast<uint32_t>(result)));
    return 1;
}

int zigZagDecode64(lua_State* L) {
    uint64_t n = truncToUInt64(luaL_checknumber(L, 1));
    uint64_t result = (n >> 1) ^ (0ull - (n & 1ull));
    lua_pushinteger(L, static_cast<int32_t>(static_cast<uint32_t>(result)));
    return 1;
}

// ---- IOString

int newIOString(lua_State* L) {
    auto* io = static_cast<IOString*>(lua_newuserdata(L, sizeof(IOString)));
    io->size = 0;
    luaL_getmetatable(L, kIOStringType);
    lua_setmetatable(L, -2);
    return 1;
}

IOString* checkIOString(lua_State* L) {
    return static_cast<IOString*>(luaL_checkudata(L, 1, kIOStringType));
}

int ioToString(lua_State* L) {
    IOString* io = checkIOString(L);
    lua_pushlstring(L, io->buffer, io->size);
    return 1;
}

int ioLength(lua_State* L) {
    lua_pushinteger(L, checkIOString(L)->size);
    return 1;
}

int ioWrite(lua_State* L) {
    IOString* io = checkIOString(L);
    size_t length = 0;
    const char* s = luaL_checklstring(L, 2, &length);
    if (length > kIOStringCapacity - 1 - io->size) return luaL_error(L, "Out of range");
    std::memcpy(io->buffer + io->size, s, length);
    io->size += static_cast<uint32_t>(length);
    return 0;
}

int ioSub(lua_State* L) {
    IOString* io = checkIOString(L);
    lua_Integer first = luaL_checkinteger(L, 2);
    lua_Integer last = luaL_checkinteger(L, 3);
    if (first < 1 || first > last || last > static_cast<lua_Integer>(io->size))
        return luaL_error(L, "Out of range");
    lua_pushlstring(L, io->buffer + first - 1, static_cast<size_t>(last - first + 1));
    return 1;
}

int ioClear(lua_State* L) {
    checkIOString(L)->size = 0;
    return 0;
}

const luaL_Reg kIOStringMethods[] = {
    {"__tostring", ioToString}, {"__len", ioLength}, {"write", ioWrite},
    {"sub", ioSub},             {"clear", ioClear},  {nullptr, nullptr},
};

const luaL_Reg kPbFunctions[] = {
    {"varint_encoder", varintEncoder},
    {"signed_varint_encoder", signedVarintEncoder},
    {"read_tag", readTag},
    {"struct_pack", structPack},
    {"struct_unpack", structUnpack},
    {"varint_decoder", varintDecoder<false>},
    {"signed_varint_decoder", varintDecoder<true>},
    {"zig_zag_decode32", zigZagDecode32},
    {"zig_zag_encode32", zigZagEncode32},
    {"zig_zag_decode64", zigZagDecode64},
    {"zig_zag_encode64", zigZagEncode64},
    {"new_iostring", newIOString},
    {nullptr, nullptr},
};

}  // namespace

extern "C" int luaopen_pb(lua_State* L) {
    luaL_newmetatable(L, kIOStringType);
    lua_pushvalue(L, -1);
    lua_setfield(L, -2, "__index");
    luaL_register(L, nullptr, kIOStringMethods);
    lua_pop(L, 1);
    luaL_register(L, "pb", kPbFunctions);
    return 1;
}
