#pragma once
// The two type maps that decide under which Lua type a native object is pushed:
//   luaTypeMap      runtime type name of a native class -> Lua type name ("cc.Node")
//   luaClassNameMap short class name ("Node")          -> Lua type name
// Keys of luaTypeMap are typeid(...).name(), taken from the object's dynamic type
// for polymorphic classes and from the static type otherwise. A lookup is an exact
// match: there is no fallback to a base class. Every class registration writes
// both maps (luaClassRegistry.h); the Lua stack empties luaTypeMap at each start.
// Main thread only.
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <unordered_map>

// Looks up by any text without making a std::string: a push reads the map every time.
struct LuaTypeKeyHash {
    using is_transparent = void;
    size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
};
using LuaTypeNameMap = std::unordered_map<std::string, std::string, LuaTypeKeyHash, std::equal_to<>>;

extern LuaTypeNameMap luaTypeMap;
extern std::unordered_map<std::string, std::string> luaClassNameMap;

// The key of class T in luaTypeMap (static form).
template <class T>
const char* luaconv_type_key() {
    return typeid(T).name();
}

// The Lua type name under which obj is pushed: the one registered for its dynamic
// class (its static class when T has no virtual functions), else defaultName.
// A null obj gives null. The text belongs to the map and stays valid until the map
// is emptied.
template <class T>
const char* luaconv_type_name_of(T* obj, const char* defaultName) {
    if (!obj) return nullptr;
    const char* key;
    if constexpr (std::is_polymorphic_v<T>) {
        key = typeid(*obj).name();
    } else {
        key = typeid(T).name();
    }
    auto it = luaTypeMap.find(std::string_view(key));
    return it != luaTypeMap.end() ? it->second.c_str() : defaultName;
}
