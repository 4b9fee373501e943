#include "bindings/physics/LuaPhysicsManual.h"

#include <tolua++.h>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "bindings/core/LuaInputListeners.h"
#include "bindings/physics3d/LuaPhysics3DManual.h"
#include "engine/base/Log.h"
#include "engine/physics/PhysicsBody.h"
#include "engine/physics/PhysicsContact.h"
#include "engine/physics/PhysicsJoint.h"
#include "engine/physics/PhysicsShape.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/scene/Scene.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaObjectConversions.h"
#include "scripting/LuaRecordConversions.h"
#include "scripting/LuaValueConversions.h"
#include "scripting/ScriptHandlerMgr.h"
#include "scripting/ToluaFix.h"

namespace bindings {

namespace {

using namespace engine;
using Kind = ScriptHandlerMgr::HandlerType;

constexpr const char* kSourceFile = "bindings/physics/LuaPhysicsManual.cpp";
constexpr const char* kNewLineBlank = "\n ";
constexpr const char* kBlankNewLine = " \n";

// ---- Point arrays

// The points at index; an empty array is logged (the engine still gets count 0).
// False when the value is not an array of points.
bool readPoints(lua_State* L, int index, Vec2** points, int* count, const char* bindingName, int line) {
    *points = nullptr;
    *count = 0;
    if (!luaconv_read_vec2_array(L, index, points, count)) return false;
    if (!*points) {
        engine::log("lua: ERROR: File %s: Line: %d, Function: %s", kSourceFile, line, bindingName);
        engine::log("Invalid Native Object");
    }
    return true;
}

// The optional material (argument 3) and offset or border (argument 4) of a
// constructor from points.
struct Extras {
    PhysicsMaterial material;
    Vec2 offset;
    float border = 1.f;
};

bool readExtras(lua_State* L, int argc, bool withOffset, Extras* out) {
    if (argc >= 2 && !luaconv_read_physics_material(L, 3, &out->material)) return false;
    if (argc < 3) return true;
    if (withOffset) return luaconv_read_vec2(L, 4, &out->offset);
    double border = 0;
    if (!luaconv_read_number(L, 4, &border)) return false;
    out->border = static_cast<float>(border);
    return true;
}

template <class Result>
using PointsConstructor = Result* (*)(const Vec2*, int, const Extras&);

// The shared steps of the six constructors from points.
template <class Result>
int constructFromPoints(lua_State* L, const char* shortName, const char* bindingName, const char* typeName,
                        const PhysicsMaterial& defaults, bool withOffset, PointsConstructor<Result> make,
                        int line) {
    const int argc = argumentCount(L);
    if (argc < 1 || argc > 3) return countError(L, shortName, argc, 2, kNewLineBlank);
    Vec2* points = nullptr;
    int count = 0;
    const bool pointsRead = readPoints(L, 2, &points, &count, bindingName, line);
    Extras extras;
    extras.material = defaults;
    if (!pointsRead || !readExtras(L, argc, withOffset, &extras)) {
        delete[] points;
        return 0;
    }
    Result* result = make(points, count, extras);
    delete[] points;
    luaconv_push_object(L, typeName, result);
    return 1;
}

int bodyCreatePolygon(lua_State* L) {
    return constructFromPoints<PhysicsBody>(
        L, "createPolygon", "lua_engine_physics_PhysicsBody_createPolygon", "cc.PhysicsBody",
        PHYSICSBODY_MATERIAL_DEFAULT, true,
        [](const Vec2* p, int n, const Extras& e) { return PhysicsBody::createPolygon(p, n, e.material, e.offset); },
        __LINE__);
}

int bodyCreateEdgeChain(lua_State* L) {
    return constructFromPoints<PhysicsBody>(
        L, "createEdgeChain", "lua_engine_physics_PhysicsBody_createEdgeChain", "cc.PhysicsBody",
        PHYSICSBODY_MATERIAL_DEFAULT, false,
        [](const Vec2* p, int n, const Extras& e) { return PhysicsBody::createEdgeChain(p, n, e.material, e.border); },
        __LINE__);
}

int bodyCreateEdgePolygon(lua_State* L) {
    return constructFromPoints<PhysicsBody>(
        L, "createEdgePolygon", "lua_engine_physics_PhysicsBody_createEdgePolygon", "cc.PhysicsBody",
        PHYSICSBODY_MATERIAL_DEFAULT, false,
        [](const Vec2* p, int n, const Extras& e) {
            return PhysicsBody::createEdgePolygon(p, n, e.material, e.border);
        },
        __LINE__);
}

int polygonCreate(lua_State* L) {
    return constructFromPoints<PhysicsShapePolygon>(
        L, "create", "lua_engine_physics_PhysicsShapePolygon_create", "cc.PhysicsShapePolygon",
        PHYSICSSHAPE_MATERIAL_DEFAULT, true,
        [](const Vec2* p, int n, const Extras& e) {
            return PhysicsShapePolygon::create(p, n, e.material, e.offset);
        },
        __LINE__);
}

int edgePolygonCreate(lua_State* L) {
    return constructFromPoints<PhysicsShapeEdgePolygon>(
        L, "create", "lua_engine_physics_PhysicsShapeEdgePolygon_create", "cc.PhysicsShapeEdgePolygon",
        PHYSICSSHAPE_MATERIAL_DEFAULT, false,
        [](const Vec2* p, int n, const Extras& e) {
            return PhysicsShapeEdgePolygon::create(p, n, e.material, e.border);
        },
        __LINE__);
}

int edgeChainCreate(lua_State* L) {
    return constructFromPoints<PhysicsShapeEdgeChain>(
        L, "create", "lua_engine_physics_PhysicsShapeEdgeChain_create", "cc.PhysicsShapeEdgeChain",
        PHYSICSSHAPE_MATERIAL_DEFAULT, false,
        [](const Vec2* p, int n, const Extras& e) {
            return PhysicsShapeEdgeChain::create(p, n, e.material, e.border);
        },
        __LINE__);
}

// ---- Computations over points

int polygonCalculateArea(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "calculateArea", argc, 2, kNewLineBlank);
    Vec2* points = nullptr;
    int count = 0;
    if (!readPoints(L, 2, &points, &count, "lua_engine_physics_PhysicsShapePolygon_calculateArea", __LINE__)) {
        return 0;
    }
    const float area = PhysicsShapePolygon::calculateArea(points, count);
    delete[] points;
    lua_pushnumber(L, area);
    return 1;
}

int polygonCalculateMoment(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, "calculateMoment", argc, 3, kNewLineBlank);
    double mass = 0;
    const bool massRead = luaconv_read_number(L, 2, &mass);
    Vec2* points = nullptr;
    int count = 0;
    const bool pointsRead =
        readPoints(L, 3, &points, &count, "lua_engine_physics_PhysicsShapePolygon_calculateMoment", __LINE__);
    if (!massRead || !pointsRead) {
        delete[] points;
        return 0;
    }
    const float moment = PhysicsShapePolygon::calculateMoment(static_cast<float>(mass), points, count, Vec2::ZERO);
    delete[] points;
    lua_pushnumber(L, moment);
    return 1;
}

int shapeGetPolyonCenter(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "getPolyonCenter", argc, 2, kNewLineBlank);
    Vec2* points = nullptr;
    int count = 0;
    if (!readPoints(L, 2, &points, &count, "lua_engine_physics_PhysicsShape_getPolyonCenter", __LINE__)) return 0;
    const Vec2 center = PhysicsShape::getPolyonCenter(points, count);
    delete[] points;
    luaconv_push_vec2(L, center);
    return 1;
}

int shapeRecenterPoints(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 1 && argc != 2) return countError(L, "recenterPoints", argc, 2, kNewLineBlank);
    Vec2* points = nullptr;
    int count = 0;
    const bool pointsRead =
        readPoints(L, 2, &points, &count, "lua_engine_physics_PhysicsShape_recenterPoints", __LINE__);
    Vec2 center = Vec2::ZERO;
    if (!pointsRead || (argc == 2 && !luaconv_read_vec2(L, 3, &center))) {
        delete[] points;
        return 0;
    }
    PhysicsShape::recenterPoints(points, count, center);
    luaconv_push_vec2_array(L, points, count);
    delete[] points;
    return 1;
}

// ---- Point getters

template <class Shape>
int pushShapePoints(lua_State* L, const char* luaClass, int fixedCount) {
    auto* self = checkSelf<Shape>(L, luaClass, "getPoints");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "getPoints", argc, 1, kBlankNewLine);
    int count = fixedCount;
    if constexpr (requires { self->getPointsCount(); }) count = self->getPointsCount();
    Vec2* points = new Vec2[static_cast<size_t>(count > 0 ? count : 1)];
    self->getPoints(points);
    luaconv_push_vec2_array(L, points, count);
    delete[] points;
    return 1;
}

int boxGetPoints(lua_State* L) { return pushShapePoints<PhysicsShapeBox>(L, "cc.PhysicsShapeBox", 4); }
int edgeBoxGetPoints(lua_State* L) { return pushShapePoints<PhysicsShapeEdgeBox>(L, "cc.PhysicsShapeEdgeBox", 0); }
int polygonGetPoints(lua_State* L) { return pushShapePoints<PhysicsShapePolygon>(L, "cc.PhysicsShapePolygon", 0); }
int edgePolygonGetPoints(lua_State* L) {
    return pushShapePoints<PhysicsShapeEdgePolygon>(L, "cc.PhysicsShapeEdgePolygon", 0);
}
int edgeChainGetPoints(lua_State* L) {
    return pushShapePoints<PhysicsShapeEdgeChain>(L, "cc.PhysicsShapeEdgeChain", 0);
}

// ---- Body joints, world scene

int bodyGetJoints(lua_State* L) {
    auto* self = checkSelf<PhysicsBody>(L, "cc.PhysicsBody", "getJoints");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "getJoints", argc, 0, kBlankNewLine);
    lua_newtable(L);
    int index = 1;
    for (PhysicsJoint* joint : self->getJoints()) {
        if (!joint) continue;
        luaconv_push_usertype(L, "cc.PhysicsJoint", joint);
        lua_rawseti(L, -2, index++);
    }
    return 1;
}

int worldGetScene(lua_State* L) {
    auto* self = checkSelf<PhysicsWorld>(L, "cc.PhysicsWorld", "getScene");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "getScene", argc, 0, kBlankNewLine);
    Scene* scene = &self->getScene();
    luaconv_push_object(L, luaconv_type_name_of(scene, "cc.Scene"), scene);
    return 1;
}

// ---- Queries

LuaStack* scriptStack() {
    LuaEngine* engine = scriptLuaEngine();
    return engine ? engine->getLuaStack() : nullptr;
}

// Calls the handler with the world and the value push() puts on top; the Lua
// stack is left as it was. True when the handler answers non-zero.
template <class Push>
bool callQueryHandler(lua_State* L, int handler, PhysicsWorld& world, const Push& push) {
    LuaStack* stack = scriptStack();
    if (!stack) return false;
    const int top = lua_gettop(L);
    luaconv_push_usertype(L, "cc.PhysicsWorld", &world);
    push();
    const int result = stack->executeFunctionByHandler(handler, 2);
    lua_settop(L, top);
    return result != 0;
}

// After the query: the handler id goes, the result is the world (argument 1).
int endQuery(lua_State* L, int handler) {
    toluafix_removeFunctionByRefid(L, handler);
    lua_settop(L, 1);
    return 1;
}

int worldQueryPoint(lua_State* L) {
    auto* self = checkSelf<PhysicsWorld>(L, "cc.PhysicsWorld", "queryPoint");
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, "queryPoint", argc, 3, kBlankNewLine);
    Vec2 point;
    if (!luaconv_read_vec2(L, 3, &point)) return 0;
    const int handler = handlerAt(L, 2);
    self->queryPoint(
        [L, handler](PhysicsWorld& world, PhysicsShape& shape, void*) {
            return callQueryHandler(L, handler, world, [&] { luaconv_push_object(L, "cc.PhysicsShape", &shape); });
        },
        point, nullptr);
    return endQuery(L, handler);
}

int worldQueryRect(lua_State* L) {
    auto* self = checkSelf<PhysicsWorld>(L, "cc.PhysicsWorld", "queryRect");
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, "queryRect", argc, 3, kBlankNewLine);
    Rect rect;
    if (!luaconv_read_rect(L, 3, &rect)) return 0;
    const int handler = handlerAt(L, 2);
    self->queryRect(
        [L, handler](PhysicsWorld& world, PhysicsShape& shape, void*) {
            return callQueryHandler(L, handler, world, [&] { luaconv_push_object(L, "cc.PhysicsShape", &shape); });
        },
        rect, nullptr);
    return endQuery(L, handler);
}

int worldRayCast(lua_State* L) {
    auto* self = checkSelf<PhysicsWorld>(L, "cc.PhysicsWorld", "rayCast");
    const int argc = argumentCount(L);
    if (argc != 3) return countError(L, "rayCast", argc, 4, kBlankNewLine);
    Vec2 start, end;
    if (!luaconv_read_vec2(L, 3, &start) || !luaconv_read_vec2(L, 4, &end)) return 0;
    const int handler = handlerAt(L, 2);
    self->rayCast(
        [L, handler](PhysicsWorld& world, const PhysicsRayCastInfo& info, void*) {
            return callQueryHandler(L, handler, world, [&] { luaconv_push_physics_raycast_info(L, info); });
        },
        start, end, nullptr);
    return endQuery(L, handler);
}

// ---- Contact handlers

// Calls the handler with the contact (and the solve record under its type);
// the Lua stack is left as it was. True when the handler answers non-zero.
bool callContactHandler(int handler, PhysicsContact& contact, const char* solveType, void* solve) {
    LuaStack* stack = scriptStack();
    if (!stack) return true;
    lua_State* L = stack->getLuaState();
    const int top = lua_gettop(L);
    stack->pushObject(&contact, "cc.PhysicsContact");
    if (solveType) tolua_pushusertype(L, solve, solveType);
    const int result = stack->executeFunctionByHandler(handler, solveType ? 2 : 1);
    lua_settop(L, top);
    return result != 0;
}

int contactRegisterScriptHandler(lua_State* L) {
    auto* self = checkSelf<EventListenerPhysicsContact>(L, "cc.EventListenerPhysicsContact", "registerScriptHandler");
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, "'registerScriptHandler'", argc, 2);
    const int kind = intAt(L, 3);
    if (kind < static_cast<int>(Kind::EVENT_PHYSICS_CONTACT_BEGIN) ||
        kind > static_cast<int>(Kind::EVENT_PHYSICS_CONTACT_SEPARATE)) {
        return 0;  // an unknown kind: no handler id is taken
    }
    const int handler = handlerAt(L, 2);
    ScriptHandlerMgr::getInstance()->addObjectHandler(self, handler, static_cast<Kind>(kind));
    switch (static_cast<Kind>(kind)) {
    case Kind::EVENT_PHYSICS_CONTACT_BEGIN:
        self->onContactBegin = [handler](PhysicsContact& contact) {
            return callContactHandler(handler, contact, nullptr, nullptr);
        };
        break;
    case Kind::EVENT_PHYSICS_CONTACT_PRESOLVE:
        self->onContactPreSolve = [handler](PhysicsContact& contact, PhysicsContactPreSolve& solve) {
            return callContactHandler(handler, contact, "cc.PhysicsContactPreSolve", &solve);
        };
        break;
    case Kind::EVENT_PHYSICS_CONTACT_POSTSOLVE:
        self->onContactPostSolve = [handler](PhysicsContact& contact, const PhysicsContactPostSolve& solve) {
            callContactHandler(handler, contact, "cc.PhysicsContactPostSolve",
                               const_cast<PhysicsContactPostSolve*>(&solve));
        };
        break;
    default:
        self->onContactSeparate = [handler](PhysicsContact& contact) {
            callContactHandler(handler, contact, nullptr, nullptr);
        };
        break;
    }
    return 0;
}

// ---- cc.Node and cc.Scene

int nodeGetPhysicsBody(lua_State* L) {
    auto* self = checkSelf<Node>(L, "cc.Node", "lua_engine_Node_getPhysicsBody");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.Node:getPhysicsBody", argc, 0, kBlankNewLine);
    luaconv_push_object(L, "cc.PhysicsBody", self->getPhysicsBody());
    return 1;
}

int nodeSetPhysicsBody(lua_State* L) {
    auto* self = checkSelf<Node>(L, "cc.Node", "lua_engine_Node_setPhysicsBody");
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.Node:setPhysicsBody", argc, 1, kBlankNewLine);
    PhysicsBody* body = nullptr;
    if (!readArgument(L, 2, &body)) return luaL_error(L, "invalid arguments in function 'lua_engine_Node_setPhysicsBody'");
    self->setPhysicsBody(body);
    lua_settop(L, 1);
    return 1;
}

int nodeRemoveFromPhysicsWorld(lua_State* L) {
    auto* self = checkSelf<Node>(L, "cc.Node", "lua_engine_Node_removeFromPhysicsWorld");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.Node:removeFromPhysicsWorld", argc, 0, kBlankNewLine);
    self->removeFromPhysicsWorld();
    lua_settop(L, 1);
    return 1;
}

int sceneCreateWithPhysics(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.Scene:createWithPhysics", argc, 0, kNewLineBlank);
    Scene* scene = Scene::createWithPhysics();
    luaconv_push_object(L, luaconv_type_name_of(scene, "cc.Scene"), scene);
    return 1;
}

int sceneGetPhysicsWorld(lua_State* L) {
    auto* self = checkSelf<Scene>(L, "cc.Scene", "lua_engine_Scene_getPhysicsWorld");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.Scene:getPhysicsWorld", argc, 0, kBlankNewLine);
    luaconv_push_usertype(L, "cc.PhysicsWorld", self->getPhysicsWorld());
    return 1;
}

// ---- Registration

// The functions go into the class table registered under luaName, when it is a table.
template <size_t N>
void setFunctions(lua_State* L, const char* luaName, const ClassFunction (&functions)[N]) {
    addClassFunctions(L, luaName, functions);
}

void setDebugDrawNumbers(lua_State* L) {
    lua_pushstring(L, "cc.PhysicsWorld");
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (lua_istable(L, -1)) {
        const struct {
            const char* name;
            int value;
        } numbers[] = {{"DEBUGDRAW_NONE", PhysicsWorld::DEBUGDRAW_NONE},
                       {"DEBUGDRAW_SHAPE", PhysicsWorld::DEBUGDRAW_SHAPE},
                       {"DEBUGDRAW_JOINT", PhysicsWorld::DEBUGDRAW_JOINT},
                       {"DEBUGDRAW_CONTACT", PhysicsWorld::DEBUGDRAW_CONTACT},
                       {"DEBUGDRAW_ALL", PhysicsWorld::DEBUGDRAW_ALL}};
        for (const auto& n : numbers) {
            lua_pushstring(L, n.name);
            lua_pushnumber(L, n.value);
            lua_rawset(L, -3);
        }
    }
    lua_pop(L, 1);
}

}  // namespace

int register_physics_manual(lua_State* L) {
    setFunctions(L, "cc.PhysicsBody", {{"getJoints", bodyGetJoints},
                                       {"createPolygon", bodyCreatePolygon},
                                       {"createEdgeChain", bodyCreateEdgeChain},
                                       {"createEdgePolygon", bodyCreateEdgePolygon}});
    setFunctions(L, "cc.PhysicsShape", {{"recenterPoints", shapeRecenterPoints},
                                        {"getPolyonCenter", shapeGetPolyonCenter}});
    setFunctions(L, "cc.PhysicsShapeBox", {{"getPoints", boxGetPoints}});
    setFunctions(L, "cc.PhysicsShapeEdgeBox", {{"getPoints", edgeBoxGetPoints}});
    setFunctions(L, "cc.PhysicsShapePolygon", {{"getPoints", polygonGetPoints},
                                               {"create", polygonCreate},
                                               {"calculateArea", polygonCalculateArea},
                                               {"calculateMoment", polygonCalculateMoment}});
    setFunctions(L, "cc.PhysicsShapeEdgePolygon", {{"getPoints", edgePolygonGetPoints}, {"create", edgePolygonCreate}});
    setFunctions(L, "cc.PhysicsShapeEdgeChain", {{"getPoints", edgeChainGetPoints}, {"create", edgeChainCreate}});
    setFunctions(L, "cc.PhysicsWorld", {{"getScene", worldGetScene},
                                        {"queryPoint", worldQueryPoint},
                                        {"queryRect", worldQueryRect},
                                        {"rayCast", worldRayCast}});
    setDebugDrawNumbers(L);
    setFunctions(L, "cc.EventListenerPhysicsContact", {{"registerScriptHandler", contactRegisterScriptHandler}});
    lua_pushnumber(L, PHYSICS_INFINITY);
    lua_setglobal(L, "PHYSICS_INFINITY");

    setFunctions(L, "cc.Node", {{"getPhysicsBody", nodeGetPhysicsBody},
                                {"setPhysicsBody", nodeSetPhysicsBody},
                                {"removeFromPhysicsWorld", nodeRemoveFromPhysicsWorld}});
    setFunctions(L, "cc.Scene", {{"createWithPhysics", sceneCreateWithPhysics}, {"getPhysicsWorld", sceneGetPhysicsWorld}});
    register_scene_physics3d_methods(L);
    return 0;
}

}  // namespace bindings
