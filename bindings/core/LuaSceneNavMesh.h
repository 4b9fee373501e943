#pragma once
// The scene's navigation-mesh methods:
//
//   scene:getNavMesh()                    -> the mesh as "cc.NavMesh", or nil
//   scene:setNavMesh(mesh)                -> scene
//   scene:setNavMeshDebugCamera(camera)   -> scene
//
// A mesh or camera that does not read raises "invalid arguments in function
// 'lua_engine_Scene_setNavMesh'" (or '..._setNavMeshDebugCamera'); wrong counts
// raise "cc.Scene:<name> has wrong number of arguments: %d, was expecting %d \n".
// Main thread only.
#include <lua.hpp>

namespace bindings {

void register_scene_navmesh_manual(lua_State* L);

}  // namespace bindings
