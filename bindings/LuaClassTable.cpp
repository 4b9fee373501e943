#include "bindings/LuaClassTable.h"

#include "bindings/LuaGenerated.h"

#include <cstring>
#include <map>
#include <string>

#include "bindings/LuaGuard.h"

namespace bindings {

namespace {

// "cc.Node" -> table "cc", short name "Node". A name without a dot has no table.
struct SplitName {
    std::string table;
    std::string shortName;
};

SplitName splitLuaName(const char* luaName) {
    const char* dot = std::strrchr(luaName, '.');
    if (!dot) return {std::string(), luaName};
    return {std::string(luaName, dot), dot + 1};
}

void pushMethod(lua_State* L, const Method& row, const char* classLuaName, const std::string& shortName) {
    lua_pushstring(L, row.name);
    lua_pushlightuserdata(L, const_cast<Method*>(&row));
    const std::string luaName = std::string(classLuaName) + ":" + row.name;
    lua_pushlstring(L, luaName.data(), luaName.size());
    const std::string bindingName = "lua_engine_" + shortName + "_" + row.name;
    lua_pushlstring(L, bindingName.data(), bindingName.size());
    lua_pushstring(L, classLuaName);
    lua_pushcclosure(L, &dispatchMethod, 4);
    lua_rawset(L, -3);
}

// A hand-written row takes the forms of the generated row of its name after its
// own: the hand forms keep their precedence, and the forms the engine declares
// beyond them (an overload the hand row never knew) still reach scripts. The
// merged rows are made once per row pair and kept for the process.
// The count a merged row's wrong-count error names: that of the hand row's last
// form, as the hand row's own texts give it.
std::map<const Method*, int>& reportedCounts() {
    static std::map<const Method*, int> counts;
    return counts;
}

const Method& withGeneratedForms(const Method& hand, std::span<const Method> generated) {
    const Method* match = nullptr;
    for (const Method& row : generated) {
        if (std::strcmp(row.name, hand.name) == 0) match = &row;
    }
    if (!match) return hand;
    static std::map<const Method*, Method> merged;
    auto it = merged.find(&hand);
    if (it == merged.end()) {
        Method both{hand.name, hand.forms};
        both.forms.insert(both.forms.end(), match->forms.begin(), match->forms.end());
        it = merged.emplace(&hand, std::move(both)).first;
        if (!hand.forms.empty()) reportedCounts()[&it->second] = hand.forms.back().maxArgc;
    }
    return it->second;
}

void registerEntry(lua_State* L, const ClassEntry& entry) {
    const SplitName name = splitLuaName(entry.luaName);
    const bool inTable = !name.table.empty();
    if (inTable) {
        tolua_module(L, name.table.c_str(), 0);
        tolua_beginmodule(L, name.table.c_str());
    }
    entry.registerClass(L, name.shortName.c_str(), entry.luaName, entry.baseLuaName, entry.collector);
    const std::span<const Method> generated = generatedMethods(entry.luaName);
    if (!entry.methods.empty() || !generated.empty()) {
        tolua_beginmodule(L, name.shortName.c_str());
        // Generated rows first: a hand-written row of the same name replaces its generated one.
        for (const Method& row : generated) pushMethod(L, row, entry.luaName, name.shortName);
        for (const Method& row : entry.methods) pushMethod(L, withGeneratedForms(row, generated), entry.luaName, name.shortName);
        tolua_endmodule(L);
    }
    if (inTable) tolua_endmodule(L);
}

}  // namespace

int registerClassTable(lua_State* L, std::span<const ClassEntry> classes) {
    tolua_open(L);
    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);
    for (const ClassEntry& entry : classes) registerEntry(L, entry);
    tolua_endmodule(L);
    return 1;
}

namespace {

// A subclass that declares a method again (an override, or a new form) has a
// row of its own that hides the base class's row of that name, forms the base
// takes among them (a Size, and the base's width and height). When no form of
// the class's row takes a method call's arguments, the first base up the
// class's chain with a function of that name gets the call. Class functions
// never fall back: a base's create would make the base, not the class.
// Pushes the results and answers their count, or -1 when no base has one.
int callInherited(lua_State* L, const char* method, const char* classLuaName) {
    if (lua_type(L, 1) != LUA_TUSERDATA) return -1;
    lua_getfield(L, LUA_REGISTRYINDEX, classLuaName);
    if (!lua_istable(L, -1) || !lua_getmetatable(L, -1)) {
        lua_pop(L, 1);
        return -1;
    }
    lua_remove(L, -2);
    // Up to 64 bases: the chain is the class tables' metatables.
    for (int depth = 0; depth < 64 && lua_istable(L, -1); ++depth) {
        lua_pushstring(L, method);
        lua_rawget(L, -2);
        if (lua_isfunction(L, -1)) {
            lua_remove(L, -2);
            lua_insert(L, 1);
            lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
            return lua_gettop(L);
        }
        lua_pop(L, 1);
        if (!lua_getmetatable(L, -1)) break;
        lua_remove(L, -2);
    }
    lua_pop(L, 1);
    return -1;
}

// No C++ object with a destructor is alive here when an error is raised: the
// forms keep their temporaries inside invoke, which has returned by then.
int dispatchToForms(lua_State* L) {
    const auto* row = static_cast<const Method*>(lua_touserdata(L, lua_upvalueindex(1)));
    const char* luaName = lua_tostring(L, lua_upvalueindex(2));
    const char* bindingName = lua_tostring(L, lua_upvalueindex(3));
    const char* classLuaName = lua_tostring(L, lua_upvalueindex(4));
    const int argc = lua_gettop(L) - 1;

    int expected = 0;
    bool countFits = false;
    bool selfRead = false;
    void* self = nullptr;
    for (const bool exact : {true, false}) {
        for (const MethodForm& form : row->forms) {
            expected = form.maxArgc;
            if (!form.takes(argc)) continue;
            countFits = true;
            void* formSelf = nullptr;
            if (!form.classFunction) {
                if (!selfRead) {
                    tolua_Error err;
                    if (!tolua_isusertype(L, 1, classLuaName, 0, &err)) {
                        return luaL_error(L, "invalid arguments in function '%s'", bindingName);
                    }
                    self = tolua_tousertype(L, 1, nullptr);
                    if (!self) return luaL_error(L, "invalid 'cobj' in function '%s'", bindingName);
                    selfRead = true;
                }
                formSelf = self;
            }
            const int results = form.invoke(L, formSelf, argc, exact);
            if (results >= 0) return results;
        }
        if (!countFits) break;
    }
    const int inherited = callInherited(L, row->name, classLuaName);
    if (inherited >= 0) return inherited;
    if (!countFits) {
        auto reported = reportedCounts().find(row);
        if (reported != reportedCounts().end()) expected = reported->second;
        return luaL_error(L, "%s has wrong number of arguments: %d, was expecting %d \n", luaName, argc, expected);
    }
    return luaL_error(L, "invalid arguments in function '%s'", bindingName);
}

}  // namespace

int dispatchMethod(lua_State* L) { return guarded(L, &dispatchToForms); }

void addClassFunctions(lua_State* L, const char* luaName, std::span<const ClassFunction> functions) {
    if (!L) return;
    lua_pushstring(L, luaName);
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (lua_istable(L, -1)) {
        for (const ClassFunction& entry : functions) {
            lua_pushstring(L, entry.name);
            pushGuardedFunction(L, entry.function);
            lua_rawset(L, -3);
        }
    }
    lua_pop(L, 1);
}

}  // namespace bindings
