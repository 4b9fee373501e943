#include "bindings/core/LuaSceneNavMesh.h"

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "engine/navmesh/NavMesh.h"
#include "engine/scene/Camera.h"
#include "engine/scene/Scene.h"

namespace bindings {

namespace {

using engine::Scene;

int sceneGetNavMesh(lua_State* L) {
    Scene* self = checkSelf<Scene>(L, "cc.Scene", "lua_engine_Scene_getNavMesh");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.Scene:getNavMesh", argc, 0, " \n");
    luaconv_push_object(L, "cc.NavMesh", self->getNavMesh());
    return 1;
}

int sceneSetNavMesh(lua_State* L) {
    Scene* self = checkSelf<Scene>(L, "cc.Scene", "lua_engine_Scene_setNavMesh");
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.Scene:setNavMesh", argc, 1, " \n");
    engine::NavMesh* mesh = nullptr;
    if (!readArgument(L, 2, &mesh)) return luaL_error(L, "invalid arguments in function 'lua_engine_Scene_setNavMesh'");
    self->setNavMesh(mesh);
    lua_settop(L, 1);
    return 1;
}

int sceneSetNavMeshDebugCamera(lua_State* L) {
    Scene* self = checkSelf<Scene>(L, "cc.Scene", "lua_engine_Scene_setNavMeshDebugCamera");
    const int argc = argumentCount(L);
    if (argc != 1) return countError(L, "cc.Scene:setNavMeshDebugCamera", argc, 1, " \n");
    engine::Camera* camera = nullptr;
    if (!readArgument(L, 2, &camera)) {
        return luaL_error(L, "invalid arguments in function 'lua_engine_Scene_setNavMeshDebugCamera'");
    }
    self->setNavMeshDebugCamera(camera);
    lua_settop(L, 1);
    return 1;
}

const ClassFunction kSceneFunctions[] = {
    {"setNavMeshDebugCamera", sceneSetNavMeshDebugCamera},
    {"setNavMesh", sceneSetNavMesh},
    {"getNavMesh", sceneGetNavMesh},
};

}  // namespace

void register_scene_navmesh_manual(lua_State* L) { addClassFunctions(L, "cc.Scene", kSceneFunctions); }

}  // namespace bindings
