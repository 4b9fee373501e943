// The navigation mesh module (table "cc"): the mesh, its agents and obstacles,
// then the agent's move with its completion callback.
#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "engine/navmesh/NavMesh.h"
#include "engine/navmesh/NavMeshAgent.h"
#include "engine/navmesh/NavMeshObstacle.h"
#include "scripting/LuaStack.h"
#include "scripting/ScriptHandlerMgr.h"

namespace bindings {

namespace {

using namespace engine;

NavMesh* createNavMesh(const std::string& meshFile) { return NavMesh::create(meshFile); }
NavMesh* createNavMeshWithLinks(const std::string& meshFile, const std::string& linksFile) {
    return NavMesh::create(meshFile, linksFile);
}

const Method kNavMeshMethods[] = {
    {"create", {classFunction<&createNavMesh>(), classFunction<&createNavMeshWithLinks>()}},
    {"update", {method<&NavMesh::update>()}},
    {"addNavMeshAgent", {method<&NavMesh::addNavMeshAgent>()}},
    {"removeNavMeshAgent", {method<&NavMesh::removeNavMeshAgent>()}},
    {"addNavMeshObstacle", {method<&NavMesh::addNavMeshObstacle>()}},
    {"removeNavMeshObstacle", {method<&NavMesh::removeNavMeshObstacle>()}},
    {"setDebugDrawEnable", {method<&NavMesh::setDebugDrawEnable>()}},
    {"isDebugDrawEnabled", {method<&NavMesh::isDebugDrawEnabled>()}},
};

// Avoidance kinds are small numbers; scripts give and get them as integers.
void setAvoidanceType(NavMeshAgent* self, int32_t type) {
    self->setObstacleAvoidanceType(static_cast<uint8_t>(std::clamp(type, 0, 255)));
}
int32_t getAvoidanceType(NavMeshAgent* self) { return self->getObstacleAvoidanceType(); }
std::string agentComponentName() { return NavMeshAgent::getNavMeshAgentComponentName(); }
std::string obstacleComponentName() { return NavMeshObstacle::getNavMeshObstacleComponentName(); }

const Method kNavMeshAgentMethods[] = {
    {"create", {classFunction<&NavMeshAgent::create>()}},
    {"getNavMeshAgentComponentName", {classFunction<&agentComponentName>()}},
    {"setRadius", {method<&NavMeshAgent::setRadius>()}},
    {"getRadius", {method<&NavMeshAgent::getRadius>()}},
    {"setHeight", {method<&NavMeshAgent::setHeight>()}},
    {"getHeight", {method<&NavMeshAgent::getHeight>()}},
    {"setMaxAcceleration", {method<&NavMeshAgent::setMaxAcceleration>()}},
    {"getMaxAcceleration", {method<&NavMeshAgent::getMaxAcceleration>()}},
    {"setMaxSpeed", {method<&NavMeshAgent::setMaxSpeed>()}},
    {"getMaxSpeed", {method<&NavMeshAgent::getMaxSpeed>()}},
    {"setSeparationWeight", {method<&NavMeshAgent::setSeparationWeight>()}},
    {"getSeparationWeight", {method<&NavMeshAgent::getSeparationWeight>()}},
    {"setObstacleAvoidanceType", {method<&setAvoidanceType>()}},
    {"getObstacleAvoidanceType", {method<&getAvoidanceType>()}},
    {"getVelocity", {method<&NavMeshAgent::getVelocity>()}},
    {"pause", {method<&NavMeshAgent::pause>()}},
    {"resume", {method<&NavMeshAgent::resume>()}},
    {"stop", {method<&NavMeshAgent::stop>()}},
    {"isOnOffMeshLink", {method<&NavMeshAgent::isOnOffMeshLink>()}},
    {"setAutoOrientation", {method<&NavMeshAgent::setAutoOrientation>()}},
    {"setOrientationRefAxes", {method<&NavMeshAgent::setOrientationRefAxes>()}},
};

const Method kNavMeshObstacleMethods[] = {
    {"create", {classFunction<&NavMeshObstacle::create>()}},
    {"getNavMeshObstacleComponentName", {classFunction<&obstacleComponentName>()}},
    {"setRadius", {method<&NavMeshObstacle::setRadius>()}},
    {"getRadius", {method<&NavMeshObstacle::getRadius>()}},
    {"setHeight", {method<&NavMeshObstacle::setHeight>()}},
    {"getHeight", {method<&NavMeshObstacle::getHeight>()}},
};

// Rows in registration order, bases first.
const std::vector<ClassEntry> kNavMeshClasses = {
    classEntry<NavMesh>("cc.NavMesh", "cc.Ref", kNavMeshMethods),
    classEntry<NavMeshAgent>("cc.NavMeshAgent", "cc.Component", kNavMeshAgentMethods),
    classEntry<NavMeshObstacle>("cc.NavMeshObstacle", "cc.Component", kNavMeshObstacleMethods),
};

// The custom handler kind of each agent's current move callback, with its
// handler id: a new move releases the earlier callback's handler. An entry is
// trusted only while the handler registry still holds that id under that kind
// (the agent may have died and its address been reused).
std::unordered_map<NavMeshAgent*, std::pair<ScriptHandlerMgr::HandlerType, int>>& moveHandlers() {
    static std::unordered_map<NavMeshAgent*, std::pair<ScriptHandlerMgr::HandlerType, int>> handlers;
    return handlers;
}

void releaseMoveHandler(NavMeshAgent* agent) {
    auto& handlers = moveHandlers();
    auto it = handlers.find(agent);
    if (it == handlers.end()) return;
    const auto [kind, handler] = it->second;
    handlers.erase(it);
    ScriptHandlerMgr* registry = ScriptHandlerMgr::getInstance();
    if (registry->getObjectHandler(agent, kind) == handler) registry->removeObjectHandler(agent, kind);
}

int lua_navMeshAgentMove(lua_State* L) {
    NavMeshAgent* self = checkSelf<NavMeshAgent>(L, "cc.NavMeshAgent", "lua_engine_navmesh_NavMeshAgent_move");
    const int argc = argumentCount(L);
    if (argc != 1 && argc != 2) return countError(L, "cc.NavMeshAgent:move", argc, 1, " \n");
    Vec3 destination;
    if (!readArgument(L, 2, &destination) || (argc == 2 && lua_type(L, 3) != LUA_TFUNCTION)) {
        return luaL_error(L, "invalid arguments in function 'lua_engine_navmesh_NavMeshAgent_move'");
    }
    releaseMoveHandler(self);
    if (argc == 1) {
        self->move(destination);
    } else {
        const int handler = handlerAt(L, 3);
        const ScriptHandlerMgr::HandlerType kind = ScriptHandlerMgr::getInstance()->addCustomHandler(self, handler);
        moveHandlers()[self] = {kind, handler};
        self->move(destination, [L, handler, kind](NavMeshAgent* agent, float elapsed) {
            // Not once the script host has let go of the agent's handlers.
            if (ScriptHandlerMgr::getInstance()->getObjectHandler(agent, kind) != handler) return;
            LuaStack* stack = LuaStack::fromState(L);
            if (!stack) return;
            const int top = lua_gettop(L);
            luaconv_push_object(L, "cc.NavMeshAgent", agent);
            stack->pushFloat(elapsed);
            stack->executeFunctionByHandler(handler, 2);
            lua_settop(L, top);
        });
    }
    lua_settop(L, 1);
    return 1;
}

const ClassFunction kNavMeshAgentFunctions[] = {{"move", lua_navMeshAgentMove}};

}  // namespace

std::span<const ClassEntry> navMeshClassTable() { return kNavMeshClasses; }

int register_navmesh_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kNavMeshClasses);
    addClassFunctions(L, "cc.NavMeshAgent", kNavMeshAgentFunctions);
    return 1;
}

}  // namespace bindings
