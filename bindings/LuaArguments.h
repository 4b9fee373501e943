#pragma once
// How the method template (bindings/LuaMethod.h) reads one argument type and
// pushes one result type. Each reader is an overload of
//     bool readArgument(lua_State* L, int index, T* out)
// and each pusher an overload of
//     int pushResult(lua_State* L, const T& value)   // values pushed (1)
// chosen by the parameter's or result's type without const and reference.
// Parameters are held as ArgumentStorage<T> (std::string as TextArgument) and
// converted to T for the call. Readers follow the luaconv_read_* rules: false means the argument does not
// fit, with out untouched and the stack as it was. Object pointers are read as
// the Lua type registered for the pointee's class and pushed under their
// dynamic class's Lua type (luaconv_push_object / luaconv_push_usertype).
//
// A method whose parameter or result type has no overload here does not
// compile: add the overload beside the others (the record readers and writers
// of scripting/LuaRecordConversions.h are the usual bodies).
#include <lua.hpp>

#include <cstdint>
#include <cstdio>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "engine/actions/Grid.h"
#include "engine/base/Ref.h"
#include "engine/base/Map.h"
#include "engine/base/Mat4.h"
#include "engine/base/Types.h"
#include "engine/base/Value.h"
#include "engine/base/Vector.h"
#include "scripting/LuaObjectConversions.h"
#include "scripting/LuaRecordConversions.h"
#include "scripting/LuaValueConversions.h"

namespace bindings {

// ---- Readers

inline bool readArgument(lua_State* L, int index, bool* out) { return luaconv_read_bool(L, index, out); }
inline bool readArgument(lua_State* L, int index, int32_t* out) { return luaconv_read_int32(L, index, out); }
inline bool readArgument(lua_State* L, int index, uint32_t* out) { return luaconv_read_uint32(L, index, out); }
inline bool readArgument(lua_State* L, int index, long* out) { return luaconv_read_long(L, index, out); }
inline bool readArgument(lua_State* L, int index, unsigned long* out) { return luaconv_read_ulong(L, index, out); }
inline bool readArgument(lua_State* L, int index, double* out) { return luaconv_read_number(L, index, out); }
inline bool readArgument(lua_State* L, int index, float* out) {
    double value;
    if (!luaconv_read_number(L, index, &value)) return false;
    *out = static_cast<float>(value);
    return true;
}

// The other whole-number types and enumerations: through the long reader's
// checked conversion, then narrowed (wrapping past the type's range).
template <class T>
    requires(std::is_enum_v<T> || (std::is_integral_v<T> && !std::is_same_v<T, bool>))
bool readArgument(lua_State* L, int index, T* out) {
    long value;
    if (!luaconv_read_long(L, index, &value)) return false;
    *out = static_cast<T>(value);
    return true;
}

// A C text: the slot's string (a number is turned into its text in place, as
// tolua++ does), alive while the call runs.
inline bool readArgument(lua_State* L, int index, const char** out) {
    tolua_Error err;
    if (!tolua_isstring(L, index, 0, &err)) return false;
    *out = lua_tostring(L, index);
    return true;
}

// A text argument as it stands in the call's stack slot; it becomes a
// std::string only for the call itself. Argument storage holds nothing with a
// destructor: a later argument's read may run a metamethod that raises, and a
// Lua error skips C++ destructors. Accepts what luaconv_read_std_string
// accepts: strings, numbers (in Lua's own text form) and nil ("").
struct TextArgument {
    const char* data = nullptr;  // the slot's string; null for nil or a number
    size_t size = 0;
    bool isNumber = false;
    lua_Number number = 0;

    operator std::string() const {
        if (isNumber) {
            char text[LUAI_MAXNUMBER2STR];
            const int length = std::snprintf(text, sizeof text, LUA_NUMBER_FMT, number);
            return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
        }
        return data ? std::string(data, size) : std::string();
    }
};

inline bool readArgument(lua_State* L, int index, TextArgument* out) {
    tolua_Error err;
    if (!tolua_isstring(L, index, 0, &err)) return false;
    TextArgument text;
    if (lua_type(L, index) == LUA_TSTRING) {
        text.data = lua_tolstring(L, index, &text.size);
    } else if (lua_type(L, index) == LUA_TNUMBER) {
        text.isNumber = true;
        text.number = lua_tonumber(L, index);
    }
    *out = text;
    return true;
}

// A text definition read from its table (scripting/LuaRecordConversions.h): the
// font name stays the table's string, the rest are plain values.
struct FontDefinitionArgument {
    TextArgument fontName;
    int32_t fontSize = 0;
    engine::TextHAlignment alignment = engine::TextHAlignment::CENTER;
    engine::TextVAlignment vertAlignment = engine::TextVAlignment::TOP;
    engine::Size dimensions;
    engine::Color3B fontFillColor;
    uint8_t fontAlpha = 255;
    engine::FontShadow shadow;
    engine::FontStroke stroke;

    operator engine::FontDefinition() const {
        engine::FontDefinition value;
        value.fontName = fontName;
        value.fontSize = fontSize;
        value.alignment = alignment;
        value.vertAlignment = vertAlignment;
        value.dimensions = dimensions;
        value.fontFillColor = fontFillColor;
        value.fontAlpha = fontAlpha;
        value.shadow = shadow;
        value.stroke = stroke;
        return value;
    }
};

inline bool readArgument(lua_State* L, int index, FontDefinitionArgument* out) {
    if (!lua_istable(L, index)) return false;
    FontDefinitionArgument read;
    {
        engine::FontDefinition value;
        if (!luaconv_read_font_definition(L, index, &value)) return false;
        read.fontSize = value.fontSize;
        read.alignment = value.alignment;
        read.vertAlignment = value.vertAlignment;
        read.dimensions = value.dimensions;
        read.fontFillColor = value.fontFillColor;
        read.fontAlpha = value.fontAlpha;
        read.shadow = value.shadow;
        read.stroke = value.stroke;
    }
    // The name's string is kept alive by the table, which stays in its slot.
    lua_getfield(L, index, "fontName");
    if (lua_type(L, -1) == LUA_TSTRING) {
        read.fontName.data = lua_tolstring(L, -1, &read.fontName.size);
    } else {
        static constexpr char kDefaultFont[] = "Arial";
        read.fontName.data = kDefaultFont;
        read.fontName.size = sizeof kDefaultFont - 1;
    }
    lua_pop(L, 1);
    *out = read;
    return true;
}

// How a parameter type is held between its read and the call.
template <class T>
struct ArgumentStorage {
    using type = std::remove_cvref_t<T>;
};
template <class T>
    requires std::is_same_v<std::remove_cvref_t<T>, std::string>
struct ArgumentStorage<T> {
    using type = TextArgument;
};
template <class T>
    requires std::is_same_v<std::remove_cvref_t<T>, engine::FontDefinition>
struct ArgumentStorage<T> {
    using type = FontDefinitionArgument;
};

inline bool readArgument(lua_State* L, int index, engine::Vec2* out) { return luaconv_read_vec2(L, index, out); }
inline bool readArgument(lua_State* L, int index, engine::Vec3* out) { return luaconv_read_vec3(L, index, out); }
inline bool readArgument(lua_State* L, int index, engine::Size* out) { return luaconv_read_size(L, index, out); }
inline bool readArgument(lua_State* L, int index, engine::Quaternion* out) {
    return luaconv_read_quaternion(L, index, out);
}
inline bool readArgument(lua_State* L, int index, engine::Mat4* out) { return luaconv_read_mat4(L, index, out); }
inline bool readArgument(lua_State* L, int index, engine::Rect* out) { return luaconv_read_rect(L, index, out); }
inline bool readArgument(lua_State* L, int index, engine::Color3B* out) { return luaconv_read_color3b(L, index, out); }
inline bool readArgument(lua_State* L, int index, engine::Color4B* out) { return luaconv_read_color4b(L, index, out); }
inline bool readArgument(lua_State* L, int index, engine::Color4F* out) { return luaconv_read_color4f(L, index, out); }
inline bool readArgument(lua_State* L, int index, engine::BlendFunc* out) {
    return luaconv_read_blend_func(L, index, out, "");
}
// A grid tile: {bl = Vec3, br = Vec3, tl = Vec3, tr = Vec3}; every corner must read.
inline bool readArgument(lua_State* L, int index, engine::Quad3* out) {
    if (index < 0 && index > LUA_REGISTRYINDEX) index = lua_gettop(L) + index + 1;
    if (!lua_istable(L, index)) return false;
    engine::Quad3 quad;
    const std::pair<const char*, engine::Vec3*> corners[] = {
        {"bl", &quad.bl}, {"br", &quad.br}, {"tl", &quad.tl}, {"tr", &quad.tr}};
    for (const auto& [key, corner] : corners) {
        lua_getfield(L, index, key);
        const bool read = luaconv_read_vec3(L, lua_gettop(L), corner);
        lua_pop(L, 1);
        if (!read) return false;
    }
    *out = quad;
    return true;
}
inline bool readArgument(lua_State* L, int index, engine::NavMeshAgentParam* out) {
    return luaconv_read_navmesh_agent_param(L, index, out, "");
}
inline bool readArgument(lua_State* L, int index, engine::PhysicsMaterial* out) {
    return luaconv_read_physics_material(L, index, out, "");
}
inline bool readArgument(lua_State* L, int index, engine::Vec4* out) { return luaconv_read_vec4(L, index, out); }
inline bool readArgument(lua_State* L, int index, engine::AffineTransform* out) {
    return luaconv_read_affine_transform(L, index, out);
}
inline bool readArgument(lua_State* L, int index, std::vector<std::string>* out) {
    return luaconv_read_string_vector(L, index, out);
}
inline bool readArgument(lua_State* L, int index, std::vector<int32_t>* out) {
    return luaconv_read_int_vector(L, index, out);
}
inline bool readArgument(lua_State* L, int index, std::vector<float>* out) {
    return luaconv_read_float_vector(L, index, out);
}
inline bool readArgument(lua_State* L, int index, std::vector<engine::Vec3>* out) {
    return luaconv_read_vec3_vector(L, index, out);
}
inline bool readArgument(lua_State* L, int index, engine::ValueMap* out) {
    return luaconv_read_value_map(L, index, out);
}
inline bool readArgument(lua_State* L, int index, engine::ValueVector* out) {
    return luaconv_read_value_vector(L, index, out);
}
// An array of objects (entries that are not live objects are skipped).
template <class T>
bool readArgument(lua_State* L, int index, engine::Vector<T*>* out) {
    return luaconv_read_object_vector(L, index, out);
}

// A table argument whose value needs destruction (a value map or vector, an
// array of objects): the read only checks that a table is there; the value is
// built from it when the call is made, after every argument has been read.
template <class T>
struct DeferredTable {
    lua_State* L = nullptr;
    int index = 0;
    operator T() const {
        T value;
        readArgument(L, index, &value);
        return value;
    }
};
template <class T>
inline constexpr bool kDeferredTable = false;
template <>
inline constexpr bool kDeferredTable<engine::ValueMap> = true;
template <>
inline constexpr bool kDeferredTable<engine::ValueVector> = true;
template <class T>
inline constexpr bool kDeferredTable<engine::Vector<T*>> = true;
template <>
inline constexpr bool kDeferredTable<std::vector<std::string>> = true;
template <>
inline constexpr bool kDeferredTable<std::vector<int32_t>> = true;
template <>
inline constexpr bool kDeferredTable<std::vector<float>> = true;
template <>
inline constexpr bool kDeferredTable<std::vector<engine::Vec3>> = true;
template <class T>
    requires kDeferredTable<std::remove_cvref_t<T>>
struct ArgumentStorage<T> {
    using type = DeferredTable<std::remove_cvref_t<T>>;
};
// Whether the table at index would read: an array of objects fails on a userdata
// of another class (as the array read does); tables of values always read.
template <class T>
bool deferredTableReads(lua_State*, int, const T*) {
    return true;
}
template <class T>
bool deferredTableReads(lua_State* L, int index, const engine::Vector<T*>*) {
    const char* typeName = luaconv_registered_name<T>();
    if (!typeName) return false;
    const int n = static_cast<int>(lua_objlen(L, index));
    for (int i = 1; i <= n; ++i) {
        lua_rawgeti(L, index, i);
        const int element = lua_gettop(L);
        tolua_Error err;
        const bool fits = !lua_isuserdata(L, element) || lua_islightuserdata(L, element) ||
                          tolua_isusertype(L, element, typeName, 0, &err);
        lua_pop(L, 1);
        if (!fits) return false;
    }
    return true;
}
template <class T>
bool readArgument(lua_State* L, int index, DeferredTable<T>* out) {
    if (!lua_istable(L, index) || !deferredTableReads(L, index, static_cast<const T*>(nullptr))) return false;
    out->L = L;
    out->index = index;
    return true;
}

// The object a userdata stands for, as T. Engine objects (Ref-derived) are
// pushed as their Ref address, so they come back through Ref: right also for a
// class whose Ref base is not its first base; null when the object is not a T
// (a script may have cast its userdata to another Lua type). Other usertypes
// are pushed as their own class.
template <class T>
T* objectFromUserdata(void* stored) {
    return luaconv_object_from_stored<T>(stored);
}

// An object of a registered class (or nil, read as null). A dead object (its
// userdata outlived it) does not read: the call raises its invalid-arguments
// error rather than taking it for nil.
template <class T>
    requires std::is_class_v<T>
bool readArgument(lua_State* L, int index, T** out) {
    using Plain = std::remove_const_t<T>;
    const char* typeName = luaconv_registered_name<Plain>();
    if (!typeName || lua_gettop(L) < index) return false;
    if (lua_isnil(L, index)) {
        *out = nullptr;
        return true;
    }
    tolua_Error err;
    if (!tolua_isusertype(L, index, typeName, 0, &err)) return false;
    void* stored = tolua_tousertype(L, index, nullptr);
    if (!stored) return false;
    Plain* object = objectFromUserdata<Plain>(stored);
    if (!object) return false;
    *out = object;
    return true;
}

// Whether the value at index is of the Lua type a parameter of type T takes
// without conversion: a boolean for bool, a number for numbers, a string for
// texts, a live object (never nil) for objects, a table for records. Forms are
// first tried with exact types only, so nil, a dead object or a numeric string
// never picks a form that a later one fits exactly.
template <class T>
bool argumentIsExact(lua_State* L, int index) {
    const int type = lua_type(L, index);
    if constexpr (std::is_same_v<T, bool>) {
        return type == LUA_TBOOLEAN;
    } else if constexpr (std::is_arithmetic_v<T> || std::is_enum_v<T>) {
        return type == LUA_TNUMBER;
    } else if constexpr (std::is_same_v<T, TextArgument> || std::is_same_v<T, const char*>) {
        return type == LUA_TSTRING;
    } else if constexpr (std::is_pointer_v<T>) {
        return type == LUA_TUSERDATA && tolua_tousertype(L, index, nullptr) != nullptr;
    } else {
        return type == LUA_TTABLE;
    }
}

// ---- Pushers

inline int pushResult(lua_State* L, bool value) {
    lua_pushboolean(L, value ? 1 : 0);
    return 1;
}
template <class T>
    requires std::is_arithmetic_v<T>
int pushResult(lua_State* L, T value) {
    lua_pushnumber(L, static_cast<lua_Number>(value));
    return 1;
}
template <class T>
    requires std::is_enum_v<T>
int pushResult(lua_State* L, T value) {
    lua_pushnumber(L, static_cast<lua_Number>(static_cast<std::underlying_type_t<T>>(value)));
    return 1;
}
inline int pushResult(lua_State* L, const std::string& value) {
    lua_pushlstring(L, value.data(), value.size());
    return 1;
}
inline int pushResult(lua_State* L, const char* value) {
    lua_pushstring(L, value ? value : "");
    return 1;
}
inline int pushResult(lua_State* L, const std::vector<std::string>& value) {
    luaconv_push_string_vector(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const std::vector<int>& value) {
    lua_createtable(L, static_cast<int>(value.size()), 0);
    for (size_t i = 0; i < value.size(); ++i) {
        lua_pushnumber(L, static_cast<lua_Number>(value[i]));
        lua_rawseti(L, -2, static_cast<int>(i + 1));
    }
    return 1;
}
inline int pushResult(lua_State* L, const engine::Vec2& value) {
    luaconv_push_vec2(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::Vec4& value) {
    luaconv_push_vec4(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::Quaternion& value) {
    luaconv_push_quaternion(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::AffineTransform& value) {
    luaconv_push_affine_transform(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::TTFConfig& value) {
    luaconv_push_ttf_config(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const std::vector<float>& value) {
    luaconv_push_float_vector(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const std::vector<engine::Vec3>& value) {
    luaconv_push_vec3_vector(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::Vec3& value) {
    luaconv_push_vec3(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::Quad3& value) {
    lua_createtable(L, 0, 4);
    const std::pair<const char*, const engine::Vec3*> corners[] = {
        {"bl", &value.bl}, {"br", &value.br}, {"tl", &value.tl}, {"tr", &value.tr}};
    for (const auto& [key, corner] : corners) {
        luaconv_push_vec3(L, *corner);
        lua_setfield(L, -2, key);
    }
    return 1;
}
inline int pushResult(lua_State* L, const engine::Mat4& value) {
    luaconv_push_mat4(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::Value& value) {
    luaconv_push_value(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::ValueMap& value) {
    luaconv_push_value_map(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::ValueVector& value) {
    luaconv_push_value_vector(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::Size& value) {
    luaconv_push_size(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::Rect& value) {
    luaconv_push_rect(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::Color4B& value) {
    luaconv_push_color4b(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::Color4F& value) {
    luaconv_push_color4f(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::Color3B& value) {
    luaconv_push_color3b(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::FontDefinition& value) {
    luaconv_push_font_definition(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::BlendFunc& value) {
    luaconv_push_blend_func(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::PhysicsMaterial& value) {
    luaconv_push_physics_material(L, value);
    return 1;
}
inline int pushResult(lua_State* L, const engine::PhysicsContactData* value) {
    if (!value) {
        lua_pushnil(L);
        return 1;
    }
    luaconv_push_physics_contact_points(L, value);
    return 1;
}

// An object: under its dynamic class's Lua type, else the declared class's; nil
// for null. An object whose declared class has no registration pushes nil.
template <class T>
    requires std::is_class_v<T>
int pushResult(lua_State* L, T* value) {
    using Plain = std::remove_const_t<T>;
    const char* typeName = luaconv_registered_name<Plain>();
    if (!value || !typeName) {
        lua_pushnil(L);
        return 1;
    }
    if constexpr (std::is_base_of_v<engine::Ref, Plain>) {
        luaconv_push_object(L, typeName, const_cast<Plain*>(value));
    } else {
        luaconv_push_usertype(L, typeName, const_cast<Plain*>(value));
    }
    return 1;
}

// A new object that is not reference counted, made for the script, which owns
// it from then on: its class is registered with ownedClassEntry, whose
// collector deletes it with its userdata. A class without a registration
// deletes it at once and pushes nil.
template <class T>
struct ScriptOwned {
    T* object = nullptr;
};

template <class T>
int pushResult(lua_State* L, ScriptOwned<T> value) {
    const char* typeName = luaconv_registered_name<T>();
    if (!typeName) {
        delete value.object;
        lua_pushnil(L);
        return 1;
    }
    luaconv_push_owned_usertype(L, typeName, value.object);
    return 1;
}

// An object that is not reference counted and lives inside self (a nested
// namespace of properties): its userdata keeps self's alive, so that the
// holder is neither collected nor, when the script owns it, deleted while the
// part is in use. For methods (self is argument 1).
template <class T>
struct PartOfSelf {
    T* object = nullptr;
};

template <class T>
int pushResult(lua_State* L, PartOfSelf<T> value) {
    const char* typeName = luaconv_registered_name<T>();
    if (!value.object || !typeName) {
        lua_pushnil(L);
        return 1;
    }
    luaconv_push_usertype_within(L, typeName, value.object, 1);
    return 1;
}

// A list of objects: an array from 1 of those whose class is registered (not retained).
template <class T>
int pushResult(lua_State* L, const std::vector<T*>& value) {
    lua_newtable(L);
    int index = 1;
    for (T* object : value) {
        if (!object) continue;
        pushResult(L, object);
        lua_rawseti(L, -2, index++);
    }
    return 1;
}

template <class T>
int pushResult(lua_State* L, const engine::Vector<T*>& value) {
    luaconv_push_object_vector(L, value);
    return 1;
}

// A map of objects by name: a table of those whose class is registered.
template <class T>
int pushResult(lua_State* L, const engine::Map<std::string, T*>& value) {
    luaconv_push_object_map(L, value);
    return 1;
}

}  // namespace bindings
