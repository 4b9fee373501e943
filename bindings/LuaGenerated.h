#pragma once
// The generated rows: one Method row per public method an engine class
// declares, written by tools/bindgen/bindgen.py into each module folder
// (bindings/<module>/<Module>Generated.cpp) and never edited by hand.
//
// registerClassTable (bindings/LuaClassTable.h) stores a class's generated rows
// first and its hand-written rows after them, so a hand-written row replaces
// the generated one of the same name; the module's hand-written functions
// (addClassFunctions and the like) come later still.
//
// Each module's table lists its classes by Lua name (strcmp order, for the
// lookup) and every declared method with the reason it is not bound (null when
// it is). Main thread only.
#include <span>

#include "bindings/LuaMethod.h"

namespace bindings {

struct GeneratedClass {
    const char* luaName;  // "cc.Node"
    std::span<const Method> methods;
};

struct DeclaredMethod {
    const char* luaName;  // the class's Lua name
    const char* name;     // the method's name
    const char* skipped;  // null when bound; else why the method does not reach scripts
};

struct GeneratedTable {
    std::span<const GeneratedClass> classes;
    std::span<const DeclaredMethod> declared;
};

// Every module's generated table (bindings/LuaGeneratedIndex.cpp).
std::span<const GeneratedTable> generatedTables();

// The generated rows of the class luaName; empty when it has none.
std::span<const Method> generatedMethods(const char* luaName);

}  // namespace bindings
