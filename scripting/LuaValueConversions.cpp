#include "scripting/LuaValueConversions.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <type_traits>

#include "scripting/LuaConvSupport.h"
#include "scripting/LuaRecordConversions.h"

using namespace luaconv;

namespace {

// Value trees nested deeper than this (cyclic tables among them) are cut off: the
// table at that depth is skipped on reading and pushed as nil on writing.
constexpr int kMaxTreeDepth = 128;
// The values one read of a tree may build. A table met at several places (shared
// or cyclic) is read at each of them, so nesting shared tables doubles the tree
// at each level: the read fails once it has built this many values.
constexpr size_t kMaxTreeValues = size_t{1} << 18;

bool isNumber(lua_State* L, int index) {
    tolua_Error err;
    return tolua_isnumber(L, index, 0, &err) != 0;
}

// The number at index when tolua++'s number test passes it.
bool readNumber(lua_State* L, int index, double* out) {
    if (!L || !out || !isNumber(L, index)) return false;
    *out = tolua_tonumber(L, index, 0);
    return true;
}

template <class T, class Convert>
bool readConverted(lua_State* L, int index, T* out, Convert convert) {
    double v = 0;
    if (!out || !readNumber(L, index, &v)) return false;
    *out = convert(v);
    return true;
}

// The text of a string or number at index, taken from a copy so that the value itself
// (a table key during a walk, say) is never turned into a string in place.
std::string textOf(lua_State* L, int index) {
    lua_pushvalue(L, index);
    size_t len = 0;
    const char* s = lua_tolstring(L, -1, &len);
    std::string text = s ? std::string(s, len) : std::string();
    lua_pop(L, 1);
    return text;
}

// t[key] read raw, through lua_tonumber (absent or not numeric: 0), as a float.
float rawNumber(lua_State* L, int index, const char* key) {
    lua_pushstring(L, key);
    lua_rawget(L, index);
    const auto v = static_cast<float>(lua_tonumber(L, -1));
    lua_pop(L, 1);
    return v;
}

// Common entry of the array readers: a state, an output, index within the stack and
// a table there.
bool canReadArray(lua_State* L, const void* out, int& index) {
    if (!L || !out) return false;
    index = absIndex(L, index);
    if (lua_gettop(L) < index) return false;
    return isTable(L, index);
}

// Calls visit(stack index of entry i) for i = 1 .. #t with the entry pushed, read
// raw: no metamethod runs, so nothing raises while C++ containers are being built.
// A visit that answers false ends the walk.
template <class Visit>
void forEachEntry(lua_State* L, int index, Visit visit) {
    const size_t n = std::min<size_t>(lua_objlen(L, index), INT32_MAX);
    for (size_t i = 1; i <= n; ++i) {
        lua_rawgeti(L, index, static_cast<int>(i));
        bool more = true;
        if constexpr (std::is_same_v<decltype(visit(0)), bool>) {
            more = visit(lua_gettop(L));
        } else {
            visit(lua_gettop(L));
        }
        lua_pop(L, 1);
        if (!more) return;
    }
}

// Calls visit(keyIndex, valueIndex) for every pair of the table at index (lua_next
// is raw). A visit that answers false ends the walk.
template <class Visit>
void forEachPair(lua_State* L, int index, Visit visit) {
    lua_pushnil(L);
    while (lua_next(L, index) != 0) {
        int top = lua_gettop(L);
        bool more = true;
        if constexpr (std::is_same_v<decltype(visit(0, 0)), bool>) {
            more = visit(top - 1, top);
        } else {
            visit(top - 1, top);
        }
        if (!more) {
            lua_pop(L, 2);
            return;
        }
        lua_pop(L, 1);   // the key stays for lua_next
    }
}

// One read of a value tree: what it may still build. Once over the bound, every
// level stops and the read fails.
struct TreeRead {
    size_t valuesLeft = kMaxTreeValues;
    bool over = false;
    bool take() {
        if (valuesLeft == 0) over = true;
        if (over) return false;
        --valuesLeft;
        return true;
    }
};

bool readTree(lua_State* L, int index, engine::Value* out, int depth, TreeRead& read);
void readVectorEntries(lua_State* L, int index, engine::ValueVector* out, int depth, TreeRead& read);
void readMapEntries(lua_State* L, int index, engine::ValueMap* out, int depth, TreeRead& read);

// A table as a vector (its [1] is not nil) or a string-keyed map.
bool readTable(lua_State* L, int index, engine::Value* out, int depth, TreeRead& read) {
    if (depth >= kMaxTreeDepth || !lua_checkstack(L, 4)) return false;
    lua_rawgeti(L, index, 1);
    bool isVector = !lua_isnil(L, -1);
    lua_pop(L, 1);
    if (isVector) {
        engine::ValueVector values;
        readVectorEntries(L, index, &values, depth + 1, read);
        if (read.over) return false;
        *out = engine::Value(std::move(values));
    } else {
        engine::ValueMap map;
        readMapEntries(L, index, &map, depth + 1, read);
        if (read.over) return false;
        *out = engine::Value(std::move(map));
    }
    return true;
}

// One value of a tree; false (out untouched) for nil, the kinds a Value cannot hold
// and a read over its bound.
bool readTree(lua_State* L, int index, engine::Value* out, int depth, TreeRead& read) {
    const int type = lua_type(L, index);
    if (type == LUA_TNIL || type == LUA_TNONE || !read.take()) return false;
    switch (type) {
    case LUA_TTABLE:
        return readTable(L, index, out, depth, read);
    case LUA_TSTRING: {
        size_t len = 0;
        const char* s = lua_tolstring(L, index, &len);
        *out = engine::Value(std::string(s, len));
        return true;
    }
    case LUA_TBOOLEAN:
        *out = engine::Value(lua_toboolean(L, index) != 0);
        return true;
    case LUA_TNUMBER:
        *out = engine::Value(static_cast<double>(lua_tonumber(L, index)));
        return true;
    default:
        return false;
    }
}

void readVectorEntries(lua_State* L, int index, engine::ValueVector* out, int depth, TreeRead& read) {
    forEachEntry(L, index, [&](int entry) {
        engine::Value value;
        if (readTree(L, entry, &value, depth, read)) out->push_back(std::move(value));
        return !read.over;
    });
}

void readMapEntries(lua_State* L, int index, engine::ValueMap* out, int depth, TreeRead& read) {
    forEachPair(L, index, [&](int key, int value) {
        if (!lua_isstring(L, key)) return true;
        engine::Value v;
        if (readTree(L, value, &v, depth, read)) (*out)[textOf(L, key)] = std::move(v);
        return !read.over;
    });
}

// The integer key a map key stands for: a number truncated, or the integer its text
// starts with (leading blanks and a sign allowed); false for anything else.
bool intKeyOf(lua_State* L, int key, int* out) {
    if (lua_type(L, key) == LUA_TNUMBER) {
        *out = clampToInt32(lua_tonumber(L, key));
        return true;
    }
    if (lua_type(L, key) != LUA_TSTRING) return false;
    const char* text = lua_tostring(L, key);   // already a string: nothing is converted
    char* end = nullptr;
    long long v = std::strtoll(text, &end, 10);
    if (end == text) return false;
    if (v > INT32_MAX) v = INT32_MAX;
    if (v < INT32_MIN) v = INT32_MIN;
    *out = static_cast<int>(v);
    return true;
}

bool isPushable(const engine::Value& value) {
    using T = engine::Value::Type;
    T type = value.getType();
    return type != T::NONE && type != T::BYTE;
}

void pushTree(lua_State* L, const engine::Value& value, int depth);

// Opens a container table at depth; false (nil pushed instead) when too deep.
bool beginTable(lua_State* L, int depth) {
    if (depth >= kMaxTreeDepth || !lua_checkstack(L, 4)) {
        lua_pushnil(L);
        return false;
    }
    lua_createtable(L, 0, 0);
    return true;
}

void pushVector(lua_State* L, const engine::ValueVector& values, int depth) {
    if (!beginTable(L, depth)) return;
    int key = 1;
    for (const engine::Value& value : values) {
        if (!isPushable(value)) continue;
        pushTree(L, value, depth + 1);
        lua_rawseti(L, -2, key++);
    }
}

// A map's entries under their keys as strings (an integer key in decimal).
template <class Map>
void pushMap(lua_State* L, const Map& map, int depth) {
    if (!beginTable(L, depth)) return;
    for (const auto& [key, value] : map) {
        if (!isPushable(value)) continue;
        if constexpr (std::is_same_v<typename Map::key_type, std::string>) {
            lua_pushlstring(L, key.data(), key.size());
        } else {
            lua_pushstring(L, std::to_string(key).c_str());
        }
        pushTree(L, value, depth + 1);
        lua_rawset(L, -3);
    }
}

void pushTree(lua_State* L, const engine::Value& value, int depth) {
    using T = engine::Value::Type;
    switch (value.getType()) {
    case T::INTEGER:
        lua_pushinteger(L, value.asInt());
        break;
    case T::UNSIGNED:
        lua_pushnumber(L, value.asUnsignedInt());
        break;
    case T::FLOAT:
    case T::DOUBLE:
        lua_pushnumber(L, value.asDouble());
        break;
    case T::BOOLEAN:
        lua_pushboolean(L, value.asBool());
        break;
    case T::STRING: {
        std::string text = value.asString();
        lua_pushlstring(L, text.data(), text.size());
        break;
    }
    case T::VECTOR:
        pushVector(L, value.asValueVector(), depth);
        break;
    case T::MAP:
        pushMap(L, value.asValueMap(), depth);
        break;
    case T::INT_KEY_MAP:
        pushMap(L, value.asIntKeyMap(), depth);
        break;
    default:
        lua_pushnil(L);
        break;
    }
}

}  // namespace

// ---- Scalars

bool luaconv_read_bool(lua_State* L, int index, bool* out, const char*) {
    if (!L || !out) return false;
    tolua_Error err;
    if (!tolua_isboolean(L, index, 0, &err)) return false;
    *out = tolua_toboolean(L, index, 0) != 0;
    return true;
}

bool luaconv_read_number(lua_State* L, int index, double* out, const char*) {
    return readNumber(L, index, out);
}

bool luaconv_read_int32(lua_State* L, int index, int32_t* out, const char*) {
    return readConverted(L, index, out, wrapToInt32);
}

bool luaconv_read_uint32(lua_State* L, int index, uint32_t* out, const char*) {
    return readConverted(L, index, out, wrapToUInt32);
}

bool luaconv_read_index(lua_State* L, int index, ssize_t* out, const char*) {
    uint32_t bits = 0;
    if (!out || !luaconv_read_uint32(L, index, &bits, "")) return false;
    *out = static_cast<int32_t>(bits);
    return true;
}

bool luaconv_read_uint16(lua_State* L, int index, uint16_t* out, const char*) {
    return readConverted(L, index, out, [](double v) { return static_cast<uint16_t>(wrapToInt32(v)); });
}

bool luaconv_read_ushort(lua_State* L, int index, unsigned short* out, const char*) {
    return readConverted(L, index, out,
                         [](double v) { return static_cast<unsigned short>(truncToInt64(v)); });
}

bool luaconv_read_long(lua_State* L, int index, long* out, const char*) {
    return readConverted(L, index, out, [](double v) {
        int64_t t = truncToInt64(v);
        uint32_t bits = static_cast<uint32_t>(static_cast<uint64_t>(t));
        return t < 0 ? static_cast<long>(static_cast<int32_t>(bits)) : static_cast<long>(bits);
    });
}

bool luaconv_read_ulong(lua_State* L, int index, unsigned long* out, const char*) {
    return readConverted(L, index, out, [](double v) { return static_cast<unsigned long>(wrapToUInt32(v)); });
}

bool luaconv_read_std_string(lua_State* L, int index, std::string* out, const char*) {
    if (!L || !out) return false;
    tolua_Error err;
    if (!tolua_isstring(L, index, 0, &err)) return false;
    *out = lua_isnil(L, index) ? std::string() : textOf(L, index);
    return true;
}

const char* luaconv_to_cstring(lua_State* L, int index, const char* defaultValue) {
    const char* s = L ? tolua_tostring(L, index, defaultValue) : nullptr;
    return s ? s : "";
}

bool luaconv_is_usertype_or_nil(lua_State* L, int index, const char* typeName, bool optional) {
    if (!L) return false;
    if (optional && lua_gettop(L) < std::abs(index)) return true;
    if (lua_isnil(L, index)) return true;
    tolua_Error err;
    return tolua_isusertype(L, index, typeName, 0, &err) != 0;
}

// ---- Arrays and string maps

bool luaconv_read_float_vector(lua_State* L, int index, std::vector<float>* out, const char*) {
    if (!canReadArray(L, out, index)) return false;
    forEachEntry(L, index, [&](int entry) {
        if (lua_isnumber(L, entry)) out->push_back(static_cast<float>(lua_tonumber(L, entry)));
    });
    return true;
}

bool luaconv_read_int_vector(lua_State* L, int index, std::vector<int32_t>* out, const char*) {
    if (!canReadArray(L, out, index)) return false;
    forEachEntry(L, index, [&](int entry) {
        if (lua_isnumber(L, entry)) out->push_back(wrapToInt32(lua_tonumber(L, entry)));
    });
    return true;
}

bool luaconv_read_string_vector(lua_State* L, int index, std::vector<std::string>* out, const char*) {
    if (!canReadArray(L, out, index)) return false;
    forEachEntry(L, index, [&](int entry) {
        if (lua_isstring(L, entry)) out->push_back(textOf(L, entry));
    });
    return true;
}

bool luaconv_read_vec3_vector(lua_State* L, int index, std::vector<engine::Vec3>* out, const char*) {
    if (!canReadArray(L, out, index)) return false;
    forEachEntry(L, index, [&](int entry) {
        if (lua_istable(L, entry)) {
            out->push_back(engine::Vec3(rawNumber(L, entry, "x"), rawNumber(L, entry, "y"), rawNumber(L, entry, "z")));
        }
    });
    return true;
}

bool luaconv_read_string_map(lua_State* L, int index, std::map<std::string, std::string>* out,
                             const char*) {
    if (!canReadArray(L, out, index)) return false;
    forEachPair(L, index, [&](int key, int value) {
        if (lua_isstring(L, key) && lua_isstring(L, value)) (*out)[textOf(L, key)] = textOf(L, value);
    });
    return true;
}

bool luaconv_read_vec2_array(lua_State* L, int index, engine::Vec2** points, int* count) {
    if (!L || !points || !count) return false;
    index = absIndex(L, index);
    if (!isTable(L, index)) return false;
    size_t n = lua_objlen(L, index);
    if (n == 0) return true;
    if (n > static_cast<size_t>(INT32_MAX)) return false;
    std::unique_ptr<engine::Vec2[]> array(new engine::Vec2[n]);
    for (size_t i = 0; i < n; ++i) {
        lua_rawgeti(L, index, static_cast<int>(i + 1));
        const int entry = lua_gettop(L);
        const bool read = lua_istable(L, entry);
        if (read) array[i] = engine::Vec2(rawNumber(L, entry, "x"), rawNumber(L, entry, "y"));
        lua_pop(L, 1);
        if (!read) return false;
    }
    *count = static_cast<int>(n);
    *points = array.release();
    return true;
}

void luaconv_push_float_vector(lua_State* L, const std::vector<float>& values) {
    if (!L) return;
    lua_createtable(L, 0, 0);
    int key = 1;
    for (float v : values) {
        lua_pushnumber(L, v);
        lua_rawseti(L, -2, key++);
    }
}

void luaconv_push_string_vector(lua_State* L, const std::vector<std::string>& values) {
    if (!L) return;
    lua_createtable(L, 0, 0);
    int key = 1;
    for (const std::string& v : values) {
        lua_pushlstring(L, v.data(), v.size());
        lua_rawseti(L, -2, key++);
    }
}

void luaconv_push_vec3_vector(lua_State* L, const std::vector<engine::Vec3>& values) {
    if (!L) return;
    lua_createtable(L, 0, 0);
    int key = 1;
    for (const engine::Vec3& v : values) {
        luaconv_push_vec3(L, v);
        lua_rawseti(L, -2, key++);
    }
}

void luaconv_push_vec2_array(lua_State* L, const engine::Vec2* points, int count) {
    if (!L) return;
    lua_createtable(L, 0, 0);
    if (!points) return;
    for (int i = 0; i < count; ++i) {
        luaconv_push_vec2(L, points[i]);
        lua_rawseti(L, -2, i + 1);
    }
}

// ---- Value trees

// The tree readers build into their own containers and hand them over only when the
// whole read succeeded.

bool luaconv_read_value(lua_State* L, int index, engine::Value* out) {
    if (!L || !out) return false;
    TreeRead read;
    engine::Value value;
    if (readTree(L, absIndex(L, index), &value, 0, read)) *out = std::move(value);
    return !read.over;
}

bool luaconv_read_value_map(lua_State* L, int index, engine::ValueMap* out) {
    if (!L || !out) return false;
    index = absIndex(L, index);
    if (!isTable(L, index)) return false;
    TreeRead read;
    engine::ValueMap map;
    readMapEntries(L, index, &map, 1, read);
    if (read.over) return false;
    for (auto& [key, value] : map) (*out)[key] = std::move(value);
    return true;
}

bool luaconv_read_value_int_key_map(lua_State* L, int index, engine::ValueMapIntKey* out) {
    if (!L || !out) return false;
    index = absIndex(L, index);
    if (!isTable(L, index)) return false;
    TreeRead read;
    engine::ValueMapIntKey map;
    forEachPair(L, index, [&](int key, int value) {
        int intKey = 0;
        if (!intKeyOf(L, key, &intKey)) return true;
        engine::Value v;
        if (readTree(L, value, &v, 1, read)) map[intKey] = std::move(v);
        return !read.over;
    });
    if (read.over) return false;
    for (auto& [key, value] : map) (*out)[key] = std::move(value);
    return true;
}

bool luaconv_read_value_vector(lua_State* L, int index, engine::ValueVector* out) {
    if (!L || !out) return false;
    index = absIndex(L, index);
    if (!isTable(L, index)) return false;
    TreeRead read;
    engine::ValueVector values;
    readVectorEntries(L, index, &values, 1, read);
    if (read.over) return false;
    for (engine::Value& value : values) out->push_back(std::move(value));
    return true;
}

bool luaconv_read_varargs_value_vector(lua_State* L, int argc, engine::ValueVector* out) {
    if (!L || !out || argc == 0) return false;
    // Arguments beyond the top are absent: nothing to read there.
    int last = static_cast<int>(std::min<long long>(argc + 1LL, lua_gettop(L)));
    TreeRead read;
    engine::ValueVector values;
    for (int i = 2; i <= last && !read.over; ++i) {
        engine::Value value;
        if (readTree(L, i, &value, 0, read)) values.push_back(std::move(value));
    }
    if (read.over) return false;
    for (engine::Value& value : values) out->push_back(std::move(value));
    return true;
}

void luaconv_push_value(lua_State* L, const engine::Value& value) {
    if (L) pushTree(L, value, 0);
}

void luaconv_push_value_map(lua_State* L, const engine::ValueMap& map) {
    if (L) pushMap(L, map, 0);
}

void luaconv_push_value_int_key_map(lua_State* L, const engine::ValueMapIntKey& map) {
    if (L) pushMap(L, map, 0);
}

void luaconv_push_value_vector(lua_State* L, const engine::ValueVector& values) {
    if (L) pushVector(L, values, 0);
}
