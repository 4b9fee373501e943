#include "bindings/3d/Lua3DManual.h"

#include <string>
#include <vector>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "bindings/core/LuaInputListeners.h"
#include "engine/3d/AABB.h"
#include "engine/3d/Bundle3D.h"
#include "engine/3d/Sprite3D.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaStack.h"

namespace bindings {

namespace {

using engine::Vec2;
using engine::Vec3;

constexpr const char* kBlankEnd = " \n";
constexpr const char* kEndBlank = "\n ";

// ---- cc.Sprite3D

// Upvalue: the class's own setBlendFunc.
int sprite3d_setBlendFunc(lua_State* L) {
    tolua_Error err;
    if (lua_gettop(L) - 1 == 2 && tolua_isusertype(L, 1, "cc.Sprite3D", 0, &err)) {
        auto* self = objectAt<engine::Sprite3D>(L, 1, "cc.Sprite3D");
        int32_t src = 0, dst = 0;
        if (!self || !luaconv_read_int32(L, 2, &src) || !luaconv_read_int32(L, 3, &dst)) return 0;
        self->setBlendFunc(engine::BlendFunc{static_cast<uint32_t>(src), static_cast<uint32_t>(dst)});
        lua_settop(L, 1);
        return 1;
    }
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    return lua_gettop(L);
}

int sprite3d_getAABB(lua_State* L) {
    auto* self = checkSelf<engine::Sprite3D>(L, "cc.Sprite3D", "lua_engine_3d_Sprite3D_getAABB");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.Sprite3D:getAABB", argc, 0, kBlankEnd);
    luaconv_push_usertype(L, "cc.AABB", const_cast<engine::AABB*>(&self->getAABB()));
    return 1;
}

// Calls the handler with the sprite (nil when none), then releases it.
void afterAsyncCreate(int handler, engine::Sprite3D* sprite) {
    engine::LuaEngine* luaEngine = scriptLuaEngine();
    if (!luaEngine) return;
    if (engine::LuaStack* stack = luaEngine->getLuaStack(); stack && stack->getLuaState()) {
        lua_State* L = stack->getLuaState();
        const int top = lua_gettop(L);
        luaconv_push_object(L, "cc.Sprite3D", sprite);
        stack->executeFunctionByHandler(handler, 1);
        lua_settop(L, top);
    }
    luaEngine->removeScriptHandler(handler);
}

int sprite3d_createAsync(lua_State* L) {
    const int argc = argumentCount(L);
    const int functionIndex = argc + 1;
    const bool fits = (argc == 2 || argc == 3) && lua_type(L, 2) == LUA_TSTRING &&
                      (argc == 2 || lua_type(L, 3) == LUA_TSTRING) && lua_isfunction(L, functionIndex);
    if (!fits) return countError(L, "cc.Sprite3D:createAsync", argc, 3, "");
    const int handler = handlerAt(L, functionIndex);
    const std::string model = lua_tostring(L, 2);
    const std::string texture = argc == 3 ? lua_tostring(L, 3) : "";
    engine::Sprite3D::createAsync(
        model, texture, [handler](engine::Sprite3D* sprite, void*) { afterAsyncCreate(handler, sprite); }, nullptr);
    lua_settop(L, 1);
    return 1;
}

// ---- cc.Terrain

std::string textField(lua_State* L, int table, const char* key) {
    lua_pushstring(L, key);
    lua_rawget(L, table);
    size_t length = 0;
    const char* text = lua_isnil(L, -1) ? nullptr : lua_tolstring(L, -1, &length);
    std::string value = text ? std::string(text, length) : std::string();
    lua_pop(L, 1);
    return value;
}

// The number under key; nullopt-like: false when absent (nil).
bool numberField(lua_State* L, int table, const char* key, double* out) {
    lua_pushstring(L, key);
    lua_rawget(L, table);
    const bool present = !lua_isnil(L, -1);
    if (present) *out = lua_tonumber(L, -1);
    lua_pop(L, 1);
    return present;
}

// Creates the terrain from the table at 2 (and the type at 3); false for a
// read failure. Every C++ object of the read lives and dies in here.
bool createTerrain(lua_State* L, int argc, engine::Terrain** out) {
    engine::Terrain::TerrainData data;
    if (!readTerrainData(L, 2, &data)) return false;
    int32_t type = 1;
    if (argc == 2 && !luaconv_read_int32(L, 3, &type)) return false;
    *out = engine::Terrain::create(data, static_cast<engine::Terrain::CrackFixedType>(type));
    return true;
}

int terrain_create(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 1 && argc != 2) return countError(L, "cc.Terrain:create", argc, 1, kEndBlank);
    engine::Terrain* terrain = nullptr;
    if (!createTerrain(L, argc, &terrain)) {
        return luaL_error(L, "invalid arguments in function '%s'", "lua_engine_3d_Terrain_create");
    }
    luaconv_push_object(L, "cc.Terrain", terrain);
    return 1;
}

bool vec2Table(lua_State* L, int index, Vec2* out) { return lua_istable(L, index) && luaconv_read_vec2(L, index, out); }

int terrain_getHeight(lua_State* L) {
    auto* self = checkSelf<engine::Terrain>(L, "cc.Terrain", "lua_engine_3d_Terrain_getHeight");
    const int argc = argumentCount(L);
    Vec2 point;
    double x = 0, z = 0;
    if (argc == 1 && vec2Table(L, 2, &point)) {
        lua_pushnumber(L, self->getHeight(point));
        return 1;
    }
    if (argc == 2 && vec2Table(L, 2, &point)) {
        tolua_Error err;
        if (lua_type(L, 3) == LUA_TUSERDATA && tolua_isusertype(L, 3, "cc.Vec3", 0, &err)) {
            if (auto* normal = static_cast<Vec3*>(tolua_tousertype(L, 3, nullptr))) {
                lua_pushnumber(L, self->getHeight(point, normal));
                luaconv_push_vec3(L, *normal);
                return 2;
            }
        }
    }
    if (argc == 2 && luaconv_read_number(L, 2, &x) && luaconv_read_number(L, 3, &z)) {
        lua_pushnumber(L, self->getHeight(static_cast<float>(x), static_cast<float>(z)));
        return 1;
    }
    Vec3 normal;
    if (argc == 3 && luaconv_read_number(L, 2, &x) && luaconv_read_number(L, 3, &z) && lua_istable(L, 4) &&
        luaconv_read_vec3(L, 4, &normal)) {
        lua_pushnumber(L, self->getHeight(static_cast<float>(x), static_cast<float>(z), &normal));
        luaconv_push_vec3(L, normal);
        return 2;
    }
    return countError(L, "cc.Terrain:getHeight", argc, 2, kBlankEnd);
}

// ---- cc.Bundle3D

// Every C++ object of the call lives and dies in here.
void pushTriangles(lua_State* L, const char* path) {
    const std::vector<Vec3> corners = engine::Bundle3D::getTrianglesList(path);
    lua_createtable(L, static_cast<int>(corners.size()), 0);
    for (size_t i = 0; i < corners.size(); ++i) {
        luaconv_push_vec3(L, corners[i]);
        lua_rawseti(L, -2, static_cast<int>(i + 1));
    }
}

int bundle3d_getTrianglesList(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.Bundle3D:getTrianglesList", argc, 1, kEndBlank);
    tolua_Error err;
    if (!tolua_isstring(L, 2, 0, &err)) {
        return luaL_error(L, "invalid arguments in function '%s'", "lua_engine_3d_Bundle3D_getTrianglesList");
    }
    pushTriangles(L, lua_tostring(L, 2));
    return 1;
}

const ClassFunction kSprite3DFunctions[] = {
    {"getAABB", sprite3d_getAABB},
    {"createAsync", sprite3d_createAsync},
};
const ClassFunction kTerrainFunctions[] = {
    {"create", terrain_create},
    {"getHeight", terrain_getHeight},
};
const ClassFunction kBundle3DFunctions[] = {
    {"getTrianglesList", bundle3d_getTrianglesList},
};

// Wraps the class's setBlendFunc with the two-number form.
void wrapSetBlendFunc(lua_State* L) {
    lua_pushstring(L, "cc.Sprite3D");
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (lua_istable(L, -1)) {
        lua_pushstring(L, "setBlendFunc");
        lua_rawget(L, -2);
        lua_pushcclosure(L, sprite3d_setBlendFunc, 1);
        lua_pushstring(L, "setBlendFunc");
        lua_insert(L, -2);
        lua_rawset(L, -3);
    }
    lua_pop(L, 1);
}

}  // namespace

bool readTerrainData(lua_State* L, int index, engine::Terrain::TerrainData* out) {
    if (index < 0 && index > LUA_REGISTRYINDEX) index = lua_gettop(L) + index + 1;
    if (!lua_istable(L, index)) return false;
    engine::Terrain::TerrainData data;
    lua_pushstring(L, "_chunkSize");
    lua_rawget(L, index);
    if (!lua_isnil(L, -1)) luaconv_read_size(L, lua_gettop(L), &data._chunkSize);
    lua_pop(L, 1);
    data._heightMapSrc = textField(L, index, "_heightMapSrc");
    data._alphaMapSrc = textField(L, index, "_alphaMapSrc");
    lua_pushstring(L, "_detailMaps");
    lua_rawget(L, index);
    if (lua_istable(L, -1)) {
        const int maps = lua_gettop(L);
        const size_t n = lua_objlen(L, maps);
        for (size_t i = 1; i <= n && i <= engine::Terrain::kMaxDetailMaps; ++i) {
            lua_rawgeti(L, maps, static_cast<int>(i));
            if (lua_istable(L, -1)) {
                const int entry = lua_gettop(L);
                engine::Terrain::DetailMap& map = data._detailMaps[i - 1];
                map._detailMapSrc = textField(L, entry, "_detailMapSrc");
                double size = 0;
                map._detailMapSize = numberField(L, entry, "_detailMapSize", &size) ? static_cast<float>(size) : 0.f;
            }
            lua_pop(L, 1);
        }
    }
    lua_pop(L, 1);
    double number = 0;
    if (numberField(L, index, "_mapHeight", &number)) data._mapHeight = static_cast<float>(number);
    if (numberField(L, index, "_mapScale", &number)) data._mapScale = static_cast<float>(number);
    lua_pushstring(L, "_detailMapAmount");
    lua_rawget(L, index);
    if (!lua_isnil(L, -1)) {
        int32_t amount = 0;
        luaconv_read_int32(L, lua_gettop(L), &amount);
        data._detailMapAmount = amount;
    }
    lua_pop(L, 1);
    if (numberField(L, index, "_skirtHeightRatio", &number)) data._skirtHeightRatio = static_cast<float>(number);
    *out = std::move(data);
    return true;
}

void register_3d_manual(lua_State* L) {
    if (!L) return;
    wrapSetBlendFunc(L);
    addClassFunctions(L, "cc.Sprite3D", kSprite3DFunctions);
    addClassFunctions(L, "cc.Terrain", kTerrainFunctions);
    addClassFunctions(L, "cc.Bundle3D", kBundle3DFunctions);
}

}  // namespace bindings
