// Reference tables between engine objects / Lua functions and ids, type maps and
// script values.
#include <gtest/gtest.h>

#include <tolua++.h>

#include "ScriptTestSupport.h"
#include "engine/scene/Scene.h"
#include "scripting/LuaTypeMap.h"
#include "scripting/ScriptValue.h"
#include "scripting/ToluaFix.h"

namespace {

using scripttest::LuaStackTest;

// A node class no registration knows.
class LocalNode : public engine::Node {
public:
    static LocalNode* make() {
        auto* n = new LocalNode;
        n->autorelease();
        return n;
    }
};

class ReferenceTables : public LuaStackTest {
protected:
    // registry[table][key] as an int / string ("" when absent).
    std::string entry(const char* table, int key) {
        lua_getfield(L, LUA_REGISTRYINDEX, table);
        lua_rawgeti(L, -1, key);
        std::string s = lua_isstring(L, -1)         ? lua_tostring(L, -1)
                        : lua_islightuserdata(L, -1) ? "ptr"
                        : lua_isnil(L, -1)           ? ""
                                                     : luaL_typename(L, -1);
        lua_pop(L, 2);
        return s;
    }
};

TEST_F(ReferenceTables, HandlerIdsCountFromOneAndNeverRepeat) {
    run("function f() end");
    // The first two ids of the process, also for the same function.
    EXPECT_EQ(ref("f"), 1);
    EXPECT_EQ(ref("f"), 2);
    lua_newtable(L);
    EXPECT_EQ(toluafix_refFunction(L, -1, 0), 0);   // not a function: counter unchanged
    lua_pop(L, 1);
    EXPECT_EQ(ref("f"), 3);

    toluafix_getFunctionByRefid(L, 2);
    EXPECT_TRUE(lua_isfunction(L, -1));
    lua_pop(L, 1);
    toluafix_removeFunctionByRefid(L, 2);
    toluafix_getFunctionByRefid(L, 2);
    EXPECT_TRUE(lua_isnil(L, -1));
    lua_pop(L, 1);
    EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(ReferenceTables, IsFunctionFillsTheErrorRecord) {
    run("function f() end");
    lua_getglobal(L, "f");
    lua_pushnumber(L, 1);
    tolua_Error err{};
    EXPECT_EQ(toluafix_isFunction(L, 1, "LUA_FUNCTION", 0, &err), 1);
    EXPECT_EQ(toluafix_isFunction(L, 2, "LUA_FUNCTION", 0, &err), 0);
    EXPECT_EQ(err.index, 2);
    EXPECT_EQ(err.array, 0);
    EXPECT_STREQ(err.type, "[not function]");
    EXPECT_EQ(toluafix_isFunction(L, 3, "LUA_FUNCTION", 0, &err), 0);   // beyond the top
}

TEST_F(ReferenceTables, FirstPushRecordsIdAndTypeLaterPushesRecordNothing) {
    auto* node = LocalNode::make();
    ASSERT_EQ(toluafix_pushObject(L, 77, &node->_luaID, node, "cc.Node"), 0);
    ASSERT_EQ(toluafix_pushObject(L, 78, &node->_luaID, node, "cc.Scene"), 0);
    EXPECT_EQ(node->_luaID, 77);
    EXPECT_EQ(entry("toluafix_refid_ptr_mapping", 77), "ptr");
    EXPECT_EQ(entry("toluafix_refid_type_mapping", 77), "cc.Node");
    EXPECT_EQ(entry("toluafix_refid_type_mapping", 78), "");
    EXPECT_EQ(lua_gettop(L), 2);

    int luaId = 0;
    EXPECT_EQ(toluafix_pushObject(L, 5, &luaId, nullptr, "cc.Node"), -1);
    EXPECT_TRUE(lua_isnil(L, -1));
    EXPECT_EQ(toluafix_pushObject(L, 5, nullptr, node, "cc.Node"), -1);
    EXPECT_TRUE(lua_isnil(L, -1));
}

TEST_F(ReferenceTables, PushUsesTheRegisteredDynamicTypeElseTheDefault) {
    engine::Node* scene = engine::Scene::create();   // declared as a Node
    stack->pushObject(scene, "cc.Node");
    EXPECT_STREQ(tolua_typename(L, 1), "cc.Scene");
    lua_settop(L, 0);

    auto* local = LocalNode::make();   // unregistered subclass: never its base's name
    EXPECT_STREQ(luaconv_type_name_of<engine::Node>(local, "cc.Ref"), "cc.Ref");
    EXPECT_STREQ(luaconv_type_name_of<engine::Node>(scene, "cc.Ref"), "cc.Scene");
    EXPECT_EQ(luaconv_type_name_of<engine::Node>(nullptr, "cc.Ref"), nullptr);
}

TEST_F(ReferenceTables, RemovalCutsEveryPathToTheObject) {
    engine::Node* node = engine::Node::create();
    stack->pushObject(node, "cc.Node");
    lua_setglobal(L, "held");
    const int refid = node->_luaID;
    ASSERT_NE(refid, 0);

    EXPECT_EQ(toluafix_removeObjectByRefid(L, refid), 0);
    EXPECT_EQ(entry("toluafix_refid_ptr_mapping", refid), "");
    EXPECT_EQ(entry("toluafix_refid_type_mapping", refid), "");
    // The script's userdata now holds a null object, and no table leads to it.
    lua_getglobal(L, "held");
    EXPECT_EQ(tolua_tousertype(L, 1, nullptr), nullptr);
    lua_settop(L, 0);
    lua_getfield(L, LUA_REGISTRYINDEX, "tolua_value_root");
    lua_pushlightuserdata(L, node);
    lua_rawget(L, -2);
    EXPECT_TRUE(lua_isnil(L, -1));
    lua_settop(L, 0);

    // A second removal, and the odd ids.
    EXPECT_EQ(toluafix_removeObjectByRefid(L, refid), -2);
    EXPECT_EQ(toluafix_removeObjectByRefid(L, 0), -1);
    EXPECT_EQ(lua_gettop(L), 0);

    // Pushed again (say the address is reused), the object gets a fresh userdata.
    node->_luaID = 0;
    stack->pushObject(node, "cc.Node");
    EXPECT_EQ(tolua_tousertype(L, 1, nullptr), node);
}

TEST_F(ReferenceTables, RemovalWithoutRecordedTypeOrUserdata) {
    engine::Node* node = engine::Node::create();
    // An address with no type recorded.
    lua_getfield(L, LUA_REGISTRYINDEX, "toluafix_refid_ptr_mapping");
    lua_pushlightuserdata(L, node);
    lua_rawseti(L, -2, 901);
    lua_pop(L, 1);
    EXPECT_EQ(toluafix_removeObjectByRefid(L, 901), -1);

    // Recorded, but its userdata is gone from the ubox.
    stack->pushObject(node, "cc.Node");
    lua_settop(L, 0);
    luaL_getmetatable(L, "cc.Node");
    lua_getfield(L, -1, "tolua_ubox");
    lua_pushlightuserdata(L, node);
    lua_pushnil(L);
    lua_rawset(L, -3);
    lua_settop(L, 0);
    EXPECT_EQ(toluafix_removeObjectByRefid(L, node->_luaID), -3);
    EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(ReferenceTables, DestroyingAPushedObjectThroughTheEngineLeavesScriptsANullObject) {
    // Without a script engine the object's destructor cannot reach the tables; the
    // stack's removal does what the Lua engine does on that path.
    engine::Node* node = engine::Node::create();
    stack->pushObject(node, "cc.Node");
    lua_setglobal(L, "held");
    stack->removeScriptObjectByObject(node);
    lua_getglobal(L, "held");
    EXPECT_EQ(tolua_tousertype(L, 1, nullptr), nullptr);
}

TEST(ScriptValue, FactoriesCopiesAndObjectRetains) {
    EXPECT_EQ(engine::ScriptValue::stringValue(static_cast<const char*>(nullptr)).stringVal(), "");

    engine::Node* node = engine::Node::create();
    const unsigned base = node->getReferenceCount();
    {
        auto a = engine::ScriptValue::objectValue(node, "cc.Node");
        EXPECT_EQ(node->getReferenceCount(), base + 1);
        engine::ScriptValue b(a);
        EXPECT_EQ(node->getReferenceCount(), base + 2);
        EXPECT_STREQ(b.objectTypeName(), "cc.Node");
        b = b;   // self-assignment changes nothing
        EXPECT_EQ(node->getReferenceCount(), base + 2);
        b = engine::ScriptValue::intValue(4);
        EXPECT_EQ(node->getReferenceCount(), base + 1);
    }
    EXPECT_EQ(node->getReferenceCount(), base);

    engine::ScriptValue::Dict dict{{"k", engine::ScriptValue::stringValue("v")}};
    auto d = engine::ScriptValue::dictValue(dict);
    dict.clear();   // the value holds its own deep copy
    EXPECT_EQ(d.dictVal().at("k").stringVal(), "v");
    engine::AutoreleasePool::getInstance()->clear();
}

}  // namespace
