#pragma once
// Registration tables: how engine classes and their methods reach scripts.
//
// Each module folder (bindings/core, bindings/ui, ...) keeps one table, an array
// of ClassEntry rows in registration order, and registers it with
// registerClassTable from its module entry (bindings/LuaModules.h). A row
// registers the class with tolua++ under its Lua name, writes both type maps
// (luaTypeMap for the engine class, luaClassNameMap for the short name) and adds
// the row's methods to the class table.
//
// Adding a class: in the module's table, after its base's row, add
//     classEntry<engine::Sprite>("cc.Sprite", "cc.Node", kSpriteMethods),
// The Lua name is "<table>.<Class>"; the base is the Lua name of the engine
// class's own base (or the one the game's scripts expect where that differs).
// Objects of the engine class, also when returned through a base pointer, then
// reach scripts as that Lua type. A class with no methods leaves the third
// argument out. A class that is not reference counted and whose objects a
// script may own (made for it by a method) takes ownedClassEntry instead.
//
// Adding a method: in the class's method array, one line per script method,
// with one form per argument count (bindings/LuaMethod.h):
//     {"setTexture", {method<&Sprite::setTexture>()}},
//     {"create", {classFunction<&Sprite::create>()}},
//     {"addChild", {method<&addChild1>(), method<&addChild2>(), method<&Node::addChild>()}},
// where addChild1/addChild2 are free functions in the table's file that take the
// self pointer first and fill in the engine's default arguments. Argument and
// result types come from the signature; a new type needs its readArgument or
// pushResult overload in bindings/LuaArguments.h.
//
// The test that walks the tables (tests/bindings) checks the order of bases and
// that every engine class is registered: list a new engine class there too.
// Main thread only.
#include <lua.hpp>

#include <span>

#include "bindings/LuaMethod.h"
#include "scripting/LuaClassRegistry.h"

namespace bindings {

using RegisterClassFn = void (*)(lua_State* L, const char* shortName, const char* luaName,
                                 const char* baseLuaName, lua_CFunction collector);

struct ClassEntry {
    const char* luaName;         // "cc.Node"
    const char* baseLuaName;     // "cc.Ref"; null for a root class
    const char* (*typeKey)();    // the engine class's key in luaTypeMap
    RegisterClassFn registerClass;
    std::span<const Method> methods;
    lua_CFunction collector = nullptr;  // null: the registration's own (luaconv_collect)
};

template <class T>
constexpr ClassEntry classEntry(const char* luaName, const char* baseLuaName,
                                std::span<const Method> methods = {}) {
    return ClassEntry{luaName, baseLuaName, &luaconv_type_key<T>, &luaconv_register_class<T>, methods};
}

// A class that is not reference counted whose objects scripts may own: those
// its methods return as ScriptOwned<T> (bindings/LuaArguments.h) are deleted
// when their userdata is collected.
template <class T>
constexpr ClassEntry ownedClassEntry(const char* luaName, const char* baseLuaName,
                                     std::span<const Method> methods = {}) {
    return ClassEntry{luaName, baseLuaName, &luaconv_type_key<T>, &luaconv_register_class<T>, methods,
                      &luaconv_collect_owned<T>};
}

// The methods of a class whose one script method is its engine create.
template <class T>
inline const Method kCreateMethods[] = {{"create", {classFunction<&T::create>()}}};

// Registers every row in order (tolua++ is opened on L first): for each class
// its generated rows (bindings/LuaGenerated.h), then the row's own methods,
// which replace generated ones of the same name. Returns 1.
int registerClassTable(lua_State* L, std::span<const ClassEntry> classes);

// A hand-written method: a lua_CFunction stored under its name in a class table.
struct ClassFunction {
    const char* name;
    lua_CFunction function;
};
// Stores the functions in the table of the registered class luaName ("cc.Scheduler"),
// replacing what stood under their names; nothing when the class is not registered.
void addClassFunctions(lua_State* L, const char* luaName, std::span<const ClassFunction> functions);

}  // namespace bindings
