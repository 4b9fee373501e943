#pragma once
// The entries of the binding modules.
//
// Registered while the Lua stack starts (installRegistrationHooks puts them in
// the stack's hooks, in the stack's own order): the core classes ("cc"), the
// experimental classes ("ccexp") and the physics classes.
//
// Registered by the script start, in this order, after the script host's own
// audio and network modules: builder, studio, ui, extension, skeleton, 3d,
// audioengine, physics3d, navmesh. Each module entry first checks that "_G" is a
// table (else it does nothing), registers its module's class table and then
// its hand-written extensions; each returns 1.
//
// Every <name>ClassTable() gives that module's rows for the table walk test.
// Main thread only.
#include <lua.hpp>

#include <span>

#include "bindings/LuaClassTable.h"

namespace bindings {

int register_core_classes(lua_State* L);
int register_experimental_classes(lua_State* L);
int register_physics_classes(lua_State* L);

int register_builder_module(lua_State* L);
int register_studio_module(lua_State* L);
int register_ui_module(lua_State* L);
int register_extension_module(lua_State* L);
int register_skeleton_module(lua_State* L);
int register_3d_module(lua_State* L);
int register_audioengine_module(lua_State* L);
int register_physics3d_module(lua_State* L);
int register_navmesh_module(lua_State* L);

// Fills the Lua stack's hooks for the core, experimental and physics classes,
// the GL node, draw primitives and gl tables (bindings/opengl/LuaOpenGL.h) and
// the deprecated API (bindings/deprecated/LuaDeprecated.h).
// Call once before the first Lua stack is created.
void installRegistrationHooks();

std::span<const ClassEntry> coreClassTable();
std::span<const ClassEntry> experimentalClassTable();
std::span<const ClassEntry> physicsClassTable();
std::span<const ClassEntry> builderClassTable();
std::span<const ClassEntry> studioClassTable();
std::span<const ClassEntry> uiClassTable();
std::span<const ClassEntry> extensionClassTable();
std::span<const ClassEntry> skeletonClassTable();
std::span<const ClassEntry> threeDClassTable();
// The 3d module's second table (lights, brushes, skyboxes, animations, materials), registered after the first.
std::span<const ClassEntry> threeDSceneClassRows();
std::span<const ClassEntry> audioEngineClassTable();
std::span<const ClassEntry> physics3dClassTable();
std::span<const ClassEntry> navMeshClassTable();

// True when the global "_G" is a table (a module entry's first step).
bool globalsTableExists(lua_State* L);

}  // namespace bindings
