#include "bindings/physics3d/LuaPhysics3DManual.h"

#include <tolua++.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "engine/physics3d/Physics3DComponent.h"
#include "engine/physics3d/Physics3DObject.h"
#include "engine/physics3d/Physics3DShape.h"
#include "engine/physics3d/Physics3DWorld.h"
#include "engine/physics3d/PhysicsSprite3D.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Scene.h"
#include "scripting/LuaObjectConversions.h"
#include "scripting/LuaRecordConversions.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaStack.h"
#include "scripting/ScriptHandlerMgr.h"

namespace bindings {

namespace {

using namespace engine;

constexpr const char* kNewLineBlank = "\n ";
constexpr const char* kBlankNewLine = " \n";
constexpr const char* kNoEnding = "";

int invalidArguments(lua_State* L, const char* bindingName) {
    return luaL_error(L, "invalid arguments in function '%s'", bindingName);
}

// The field key of the table at index, pushed; the caller pops it.
void pushField(lua_State* L, int index, const char* key) {
    lua_pushstring(L, key);
    lua_rawget(L, index);
}

// ---- Records

void pushPhysicsObject(lua_State* L, Physics3DObject* object) {
    luaconv_push_object(L, luaconv_type_name_of(object, "cc.Physics3DObject"), object);
}

void setVec3Field(lua_State* L, const char* key, const Vec3& value) {
    lua_pushstring(L, key);
    luaconv_push_vec3(L, value);
    lua_rawset(L, -3);
}

void pushCollisionInfo(lua_State* L, const Physics3DCollisionInfo& info) {
    lua_newtable(L);
    lua_pushstring(L, "objA");
    pushPhysicsObject(L, info.objA);
    lua_rawset(L, -3);
    lua_pushstring(L, "objB");
    pushPhysicsObject(L, info.objB);
    lua_rawset(L, -3);
    lua_pushstring(L, "collisionPointList");
    if (info.collisionPointList.empty()) {
        lua_pushnil(L);
    } else {
        lua_createtable(L, static_cast<int>(info.collisionPointList.size()), 0);
        int n = 1;
        for (const auto& point : info.collisionPointList) {
            lua_createtable(L, 0, 5);
            setVec3Field(L, "localPositionOnA", point.localPositionOnA);
            setVec3Field(L, "worldPositionOnA", point.worldPositionOnA);
            setVec3Field(L, "localPositionOnB", point.localPositionOnB);
            setVec3Field(L, "worldPositionOnB", point.worldPositionOnB);
            setVec3Field(L, "worldNormalOnB", point.worldNormalOnB);
            lua_rawseti(L, -2, n++);
        }
    }
    lua_rawset(L, -3);
}

// A hit record: a table's vectors (absent: zero) and object (absent or of
// another type: none); anything else leaves the record empty.
void readHitResult(lua_State* L, int index, Physics3DWorld::HitResult* out) {
    if (!lua_istable(L, index)) return;
    pushField(L, index, "hitPosition");
    luaconv_read_vec3(L, lua_gettop(L), &out->hitPosition);
    lua_pop(L, 1);
    pushField(L, index, "hitNormal");
    luaconv_read_vec3(L, lua_gettop(L), &out->hitNormal);
    lua_pop(L, 1);
    pushField(L, index, "hitObj");
    out->hitObj = objectAt<Physics3DObject>(L, -1, "cc.Physics3DObject");
    lua_pop(L, 1);
}

void pushHitResult(lua_State* L, const Physics3DWorld::HitResult& result) {
    lua_newtable(L);
    setVec3Field(L, "hitPosition", result.hitPosition);
    setVec3Field(L, "hitNormal", result.hitNormal);
    lua_pushstring(L, "hitObj");
    pushPhysicsObject(L, result.hitObj);
    lua_rawset(L, -3);
}

// ---- Creators

int spriteCreate(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc < 2 || argc > 4) return countError(L, "cc.PhysicsSprite3D:create", argc, 2, kNewLineBlank);
    TextArgument path;
    Physics3DRigidBodyDes des;
    Vec3 translation;
    Quaternion rotation;
    const bool read = readArgument(L, 2, &path) && readRigidBodyDes(L, 3, &des) &&
                      (argc < 3 || luaconv_read_vec3(L, 4, &translation)) &&
                      (argc < 4 || luaconv_read_quaternion(L, 5, &rotation));
    if (!read) return invalidArguments(L, "lua_engine_physics3d_PhysicsSprite3D_create");
    PhysicsSprite3D* sprite = PhysicsSprite3D::create(path, &des, translation, rotation);
    luaconv_push_object(L, "cc.PhysicsSprite3D", sprite);
    return 1;
}

int rigidBodyCreate(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.Physics3DRigidBody:create", argc, 1, kNewLineBlank);
    Physics3DRigidBodyDes des;
    if (!readRigidBodyDes(L, 2, &des)) return invalidArguments(L, "lua_engine_physics3d_Physics3DRigidBody_create");
    Physics3DRigidBody* body = Physics3DRigidBody::create(&des);
    luaconv_push_object(L, "cc.Physics3DRigidBody", body);
    return 1;
}

int componentCreate(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc > 3) return countError(L, "cc.Physics3DComponent:create", argc, 0, kNoEnding);
    Physics3DObject* object = nullptr;
    Vec3 translation;
    Quaternion rotation;
    const bool read = (argc < 1 || luaconv_read_object(L, 2, "cc.Physics3DObject", &object)) &&
                      (argc < 2 || luaconv_read_vec3(L, 3, &translation)) &&
                      (argc < 3 || luaconv_read_quaternion(L, 4, &rotation));
    if (!read) return invalidArguments(L, "lua_engine_physics3d_Physics3DComponent_create");
    Physics3DComponent* component = Physics3DComponent::create(object, translation, rotation);
    luaconv_push_object(L, "cc.Physics3DComponent", component);
    return 1;
}

// The shape makers taking (array of vector tables, count): count groups of
// `group` vectors, never more than the array holds, read into a userdata held
// for the call, made into a shape by make and pushed. Raises the count error of
// luaName, or the invalid-arguments error of bindingName when the arguments or
// an entry do not read.
int shapeFromVec3Groups(lua_State* L, const char* luaName, const char* bindingName, int group,
                        Physics3DShape* (*make)(const Vec3*, int)) {
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, luaName, argc, 2, kNewLineBlank);
    int32_t count = 0;
    if (!lua_istable(L, 2) || !luaconv_read_int32(L, 3, &count)) return invalidArguments(L, bindingName);
    const int groups = std::clamp(count, 0, static_cast<int>(lua_objlen(L, 2)) / group);
    const int total = groups * group;
    Vec3* points = static_cast<Vec3*>(lua_newuserdata(L, sizeof(Vec3) * (static_cast<size_t>(total) + 1)));
    for (int i = 0; i < total; ++i) points[i] = Vec3();
    for (int i = 0; i < total; ++i) {
        lua_rawgeti(L, 2, i + 1);
        const bool read = luaconv_read_vec3(L, lua_gettop(L), &points[i]);
        lua_pop(L, 1);
        if (!read) return invalidArguments(L, bindingName);
    }
    Physics3DShape* shape = make(points, groups);
    lua_pop(L, 1);
    luaconv_push_object(L, "cc.Physics3DShape", shape);
    return 1;
}

// Triangles of three corners each.
int shapeCreateMesh(lua_State* L) {
    return shapeFromVec3Groups(L, "cc.Physics3DShape:createMesh", "lua_engine_physics3d_Physics3DShape_createMesh", 3,
                               &Physics3DShape::createMesh);
}

int shapeCreateConvexHull(lua_State* L) {
    return shapeFromVec3Groups(L, "cc.Physics3DShape:createConvexHull",
                               "lua_engine_physics3d_Physics3DShape_createConvexHull", 1,
                               &Physics3DShape::createConvexHull);
}

int shapeCreateHeightfield(lua_State* L) {
    constexpr const char* kName = "lua_engine_physics3d_Physics3DShape_createHeightfield";
    const int argc = argumentCount(L);
    if (argc != 8 && argc != 9) return countError(L, "cc.Physics3DShape:createHeightfield", argc, 8, kNewLineBlank);
    int32_t width = 0, length = 0;
    double heightScale = 0, minHeight = 0, maxHeight = 0;
    bool useFloatData = false, flipQuadEdges = false, diamond = false;
    const bool read = luaconv_read_int32(L, 2, &width) && luaconv_read_int32(L, 3, &length) && lua_istable(L, 4) &&
                      luaconv_read_number(L, 5, &heightScale) && luaconv_read_number(L, 6, &minHeight) &&
                      luaconv_read_number(L, 7, &maxHeight) && luaconv_read_bool(L, 8, &useFloatData) &&
                      luaconv_read_bool(L, 9, &flipQuadEdges) && (argc < 9 || luaconv_read_bool(L, 10, &diamond));
    if (!read) return invalidArguments(L, kName);
    // The grid's samples from the array (missing ones 0), held in a userdata for
    // the call: the shape keeps its own copy.
    const long long samples = static_cast<long long>(width) * length;
    float* heights = nullptr;
    if (width >= 2 && length >= 2 && samples <= (1LL << 26)) {
        heights = static_cast<float*>(lua_newuserdata(L, sizeof(float) * static_cast<size_t>(samples)));
        const long long given = std::min<long long>(samples, static_cast<long long>(lua_objlen(L, 4)));
        for (long long i = 0; i < samples; ++i) {
            heights[i] = 0.f;
            if (i >= given) continue;
            lua_rawgeti(L, 4, static_cast<int>(i + 1));
            heights[i] = static_cast<float>(lua_tonumber(L, -1));
            lua_pop(L, 1);
        }
    }
    Physics3DShape* shape = Physics3DShape::createHeightfield(
        width, length, heights, static_cast<float>(heightScale), static_cast<float>(minHeight),
        static_cast<float>(maxHeight), useFloatData, flipQuadEdges, diamond);
    luaconv_push_object(L, "cc.Physics3DShape", shape);
    return 1;
}

int shapeCreateCompoundShape(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.Physics3DShape:createCompoundShape", argc, 1, kNewLineBlank);
    if (!lua_istable(L, 2)) return invalidArguments(L, "lua_engine_physics3d_Physics3DShape_createCompoundShape");
    const int n = static_cast<int>(lua_objlen(L, 2));
    // Raw reads only from here: nothing below raises.
    std::vector<std::pair<Physics3DShape*, Mat4>> shapes;
    for (int i = 1; i <= n; ++i) {
        lua_rawgeti(L, 2, i);
        const int entry = lua_gettop(L);
        if (lua_istable(L, entry)) {
            lua_rawgeti(L, entry, 1);
            Physics3DShape* shape = objectAt<Physics3DShape>(L, -1, "cc.Physics3DShape");
            lua_rawgeti(L, entry, 2);
            Mat4 transform;
            luaconv_read_mat4(L, lua_gettop(L), &transform);
            shapes.emplace_back(shape, transform);
        }
        lua_settop(L, entry - 1);
    }
    Physics3DShape* shape = Physics3DShape::createCompoundShape(shapes);
    luaconv_push_object(L, "cc.Physics3DShape", shape);
    return 1;
}

// ---- World and objects

int worldRayCast(lua_State* L) {
    auto* self = checkSelf<Physics3DWorld>(L, "cc.Physics3DWorld", "lua_engine_physics3d_Physics3DWorld_rayCast");
    const int argc = argumentCount(L);
    if (argc != 3) return countError(L, "cc.Physics3DWorld:rayCast", argc, 3, kBlankNewLine);
    Vec3 start, end;
    if (!luaconv_read_vec3(L, 2, &start) || !luaconv_read_vec3(L, 3, &end)) {
        return invalidArguments(L, "lua_engine_physics3d_Physics3DWorld_rayCast");
    }
    Physics3DWorld::HitResult result;
    readHitResult(L, 4, &result);
    const bool hit = self->rayCast(start, end, &result);
    lua_pushboolean(L, hit ? 1 : 0);
    pushHitResult(L, result);
    return 2;
}

// The script callback of an object. A new one gives up the handler of the one it
// replaces, when the registry still holds it under its kind.
struct CollisionRelay {
    lua_State* L = nullptr;
    int handler = 0;
    ScriptHandlerMgr::HandlerType kind{};

    // Only while the state of the call is the installed Lua engine's: a state that
    // has been closed is never touched.
    void operator()(const Physics3DCollisionInfo& info) const {
        auto* luaEngine = dynamic_cast<LuaEngine*>(ScriptEngineManager::getInstance()->getScriptEngine());
        LuaStack* stack = luaEngine ? luaEngine->getLuaStack() : nullptr;
        if (!stack || stack->getLuaState() != L) return;
        const int top = lua_gettop(L);
        pushCollisionInfo(L, info);
        stack->executeFunctionByHandler(handler, 1);
        lua_settop(L, top);
    }
};

int objectSetCollisionCallback(lua_State* L) {
    auto* self = checkSelf<Physics3DObject>(L, "cc.Physics3DObject",
                                            "lua_engine_physics3d_Physics3DObject_setCollisionCallback");
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.Physics3DObject:setCollisionCallback", argc, 1, kBlankNewLine);
    if (lua_type(L, 2) != LUA_TFUNCTION) {
        return invalidArguments(L, "lua_engine_physics3d_Physics3DObject_setCollisionCallback");
    }
    ScriptHandlerMgr* registry = ScriptHandlerMgr::getInstance();
    if (const auto* replaced = self->getCollisionCallback().target<CollisionRelay>()) {
        if (registry->getObjectHandler(self, replaced->kind) == replaced->handler) {
            registry->removeObjectHandler(self, replaced->kind);
        }
    }
    CollisionRelay relay;
    relay.L = L;
    relay.handler = handlerAt(L, 2);
    relay.kind = registry->addCustomHandler(self, relay.handler);
    self->setCollisionCallback(relay);
    return 0;
}

// ---- Scene

int sceneGetPhysics3DWorld(lua_State* L) {
    auto* self = checkSelf<Scene>(L, "cc.Scene", "lua_engine_Scene_getPhysics3DWorld");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.Scene:getPhysics3DWorld", argc, 0, kBlankNewLine);
    luaconv_push_object(L, "cc.Physics3DWorld", self->getPhysics3DWorld());
    return 1;
}

int sceneSetPhysics3DDebugCamera(lua_State* L) {
    auto* self = checkSelf<Scene>(L, "cc.Scene", "lua_engine_Scene_setPhysics3DDebugCamera");
    const int argc = argumentCount(L);
    // One argument is taken; the message names 0, as the form has always said.
    if (argc != 1) return countError(L, "cc.Scene:setPhysics3DDebugCamera", argc, 0, kBlankNewLine);
    Camera* camera = nullptr;
    if (!luaconv_read_object(L, 2, "cc.Camera", &camera)) {
        return invalidArguments(L, "lua_engine_Scene_setPhysics3DDebugCamera");
    }
    self->setPhysics3DDebugCamera(camera);
    return 0;
}

template <size_t N>
void setFunctions(lua_State* L, const char* luaName, const ClassFunction (&functions)[N]) {
    addClassFunctions(L, luaName, functions);
}

}  // namespace

bool readRigidBodyDes(lua_State* L, int index, Physics3DRigidBodyDes* out) {
    if (!lua_istable(L, index)) return false;
    if (index < 0 && index > LUA_REGISTRYINDEX) index = lua_gettop(L) + index + 1;
    Physics3DRigidBodyDes des;
    pushField(L, index, "mass");
    if (!lua_isnil(L, -1)) des.mass = static_cast<float>(lua_tonumber(L, -1));
    lua_pop(L, 1);
    pushField(L, index, "localInertia");
    if (!luaconv_read_vec3(L, lua_gettop(L), &des.localInertia)) des.localInertia = Vec3();
    lua_pop(L, 1);
    pushField(L, index, "shape");
    des.shape = objectAt<Physics3DShape>(L, -1, "cc.Physics3DShape");
    lua_pop(L, 1);
    pushField(L, index, "originalTransform");
    if (!luaconv_read_mat4(L, lua_gettop(L), &des.originalTransform)) des.originalTransform = Mat4::IDENTITY;
    lua_pop(L, 1);
    pushField(L, index, "disableSleep");
    des.disableSleep = lua_toboolean(L, -1) != 0;
    lua_pop(L, 1);
    *out = des;
    return true;
}

void pushBulletObject(lua_State* L, void* object, const char* typeName) {
    if (!object) {
        lua_pushnil(L);
        return;
    }
    luaL_getmetatable(L, typeName);
    const bool registered = lua_istable(L, -1);
    lua_pop(L, 1);
    if (registered) {
        tolua_pushusertype(L, object, typeName);
    } else {
        lua_pushlightuserdata(L, object);
    }
}

int register_physics3d_manual(lua_State* L) {
    setFunctions(L, "cc.PhysicsSprite3D", {{"create", spriteCreate}});
    setFunctions(L, "cc.Physics3DRigidBody", {{"create", rigidBodyCreate}});
    setFunctions(L, "cc.Physics3DComponent", {{"create", componentCreate}});
    setFunctions(L, "cc.Physics3DWorld", {{"rayCast", worldRayCast}});
    setFunctions(L, "cc.Physics3DShape", {{"createMesh", shapeCreateMesh},
                                          {"createHeightfield", shapeCreateHeightfield},
                                          {"createCompoundShape", shapeCreateCompoundShape},
                                          {"createConvexHull", shapeCreateConvexHull}});
    setFunctions(L, "cc.Physics3DObject", {{"setCollisionCallback", objectSetCollisionCallback}});
    // Bullet's own objects reach scripts under their own type names, with no class table.
    for (const char* bulletType : {"btCollisionShape", "btRigidBody", "btTypedConstraint"}) tolua_usertype(L, bulletType);
    return 0;
}

void register_scene_physics3d_methods(lua_State* L) {
    setFunctions(L, "cc.Scene", {{"getPhysics3DWorld", sceneGetPhysics3DWorld},
                                 {"setPhysics3DDebugCamera", sceneSetPhysics3DDebugCamera}});
}

}  // namespace bindings
