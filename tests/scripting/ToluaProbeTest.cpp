// Pins what the script host relies on from the stock tolua++ library.
#include <gtest/gtest.h>

#include <tolua++.h>

#include <lualib.h>

namespace {

class ToluaProbe : public ::testing::Test {
protected:
    void SetUp() override {
        L = luaL_newstate();
        luaL_openlibs(L);
        tolua_open(L);
        tolua_module(L, nullptr, 0);
        tolua_beginmodule(L, nullptr);
        tolua_module(L, "cc", 0);
        tolua_beginmodule(L, "cc");
        tolua_usertype(L, "cc.Ref");
        tolua_cclass(L, "Ref", "cc.Ref", "", nullptr);
        tolua_usertype(L, "cc.Node");
        tolua_cclass(L, "Node", "cc.Node", "cc.Ref", nullptr);
        tolua_usertype(L, "cc.Sprite");
        tolua_cclass(L, "Sprite", "cc.Sprite", "cc.Node", nullptr);
        tolua_endmodule(L);
        tolua_endmodule(L);
    }
    void TearDown() override { lua_close(L); }

    bool superHas(const char* type, const char* base) {
        lua_getfield(L, LUA_REGISTRYINDEX, "tolua_super");
        luaL_getmetatable(L, type);
        lua_rawget(L, -2);
        bool has = false;
        if (lua_istable(L, -1)) {
            lua_getfield(L, -1, base);
            has = lua_toboolean(L, -1) != 0;
            lua_pop(L, 1);
        }
        lua_pop(L, 2);
        return has;
    }

    lua_State* L = nullptr;
};

TEST_F(ToluaProbe, SuperTableListsEveryBaseOfAClassRegisteredAfterItsBases) {
    EXPECT_TRUE(superHas("cc.Sprite", "cc.Node"));
    EXPECT_TRUE(superHas("cc.Sprite", "cc.Ref"));
    EXPECT_TRUE(superHas("cc.Node", "cc.Ref"));
    EXPECT_FALSE(superHas("cc.Node", "cc.Sprite"));

    int object = 0;
    tolua_Error err;
    tolua_pushusertype(L, &object, "cc.Sprite");
    EXPECT_TRUE(tolua_isusertype(L, lua_gettop(L), "cc.Ref", 0, &err));   // absolute indexes only
    tolua_pushusertype(L, &object, "cc.Ref");
    // The same address comes back as the same, more specialised, userdata.
    EXPECT_TRUE(lua_rawequal(L, -1, -2));
}

TEST_F(ToluaProbe, ClassesShareTheirRootsUboxAndTheRegistryHasOne) {
    lua_getfield(L, LUA_REGISTRYINDEX, "tolua_ubox");
    EXPECT_TRUE(lua_istable(L, -1));
    luaL_getmetatable(L, "cc.Ref");
    lua_getfield(L, -1, "tolua_ubox");
    luaL_getmetatable(L, "cc.Sprite");
    lua_getfield(L, -1, "tolua_ubox");
    ASSERT_TRUE(lua_istable(L, -1));
    EXPECT_TRUE(lua_rawequal(L, -1, -3));

    int object = 0;
    tolua_pushusertype(L, &object, "cc.Node");
    lua_pushlightuserdata(L, &object);
    lua_rawget(L, -3);   // Sprite's (shared) ubox
    EXPECT_TRUE(lua_rawequal(L, -1, -2));
    // A pushed usertype has no peer: its environment is the registry.
    lua_getfenv(L, -2);
    EXPECT_TRUE(lua_rawequal(L, -1, LUA_REGISTRYINDEX));
}

TEST_F(ToluaProbe, ReaderDefaultsApplyOnlyBeyondTheTop) {
    lua_pushnil(L);   // index 1 holds nil; index 2 is beyond the top
    EXPECT_EQ(tolua_tonumber(L, 1, 7), 0);
    EXPECT_EQ(tolua_tonumber(L, 2, 7), 7);
    EXPECT_EQ(tolua_tostring(L, 1, "d"), nullptr);
    EXPECT_STREQ(tolua_tostring(L, 2, "d"), "d");
    EXPECT_EQ(tolua_tousertype(L, 1, &L), nullptr);
    EXPECT_EQ(tolua_tousertype(L, 2, &L), &L);
    EXPECT_EQ(tolua_toboolean(L, 1, 1), 0);
    EXPECT_EQ(tolua_toboolean(L, 2, 1), 1);
}

TEST_F(ToluaProbe, StockLibraryHasNoValueRoot) {
    lua_getfield(L, LUA_REGISTRYINDEX, "tolua_value_root");
    EXPECT_TRUE(lua_isnil(L, -1));
}

}  // namespace
