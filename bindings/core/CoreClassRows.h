#pragma once
// Rows of the core table kept in their own files; the core table
// (bindings/core/CoreClasses.cpp) registers them after its own rows, so their
// bases may be any class of the core table or an earlier row of these.
#include <span>

#include "bindings/LuaClassTable.h"

namespace bindings {

// The methods of a class whose one script method is its engine create.
template <class T>
inline const Method kCreateMethods[] = {{"create", {classFunction<&T::create>()}}};

// The timed, instant and ease actions.
std::span<const ClassEntry> coreActionRows();
// The transition scenes, the progress timer and the clipping node.
std::span<const ClassEntry> coreSceneRows();
// The control-point list, the spline, Bézier, camera and grid actions.
std::span<const ClassEntry> coreCurveRows();
// Grids, the grid node, grid effects and grid transitions.
std::span<const ClassEntry> coreGridRows();
// The menu, its items and the layer multiplex.
std::span<const ClassEntry> coreMenuRows();
// Sprite frames, their cache, frame animations and their cache.
std::span<const ClassEntry> coreSpriteRows();
// Cameras, tile maps, properties and polygons.
std::span<const ClassEntry> coreModelRows();
// The quad particle system and the preset systems; the methods of
// "cc.ParticleSystem" (its row is the core table's own).
std::span<const ClassEntry> coreParticleRows();
std::span<const Method> particleSystemMethods();
// The clipping rectangle, parallax, atlas label, tile map atlas, texture and
// font atlases and the task pool; the methods of "cc.AtlasNode".
std::span<const ClassEntry> coreNodeRows();
std::span<const Method> atlasNodeMethods();
// The hand-written functions of those classes; after the rows are registered.
void register_sprite_frames_manual(lua_State* L);
// The fields rect and filename of "cc.PolygonInfo" (getter and setter each);
// nothing when the class is not registered.
void register_polygon_info_manual(lua_State* L);
// cc.Properties:createNonRefCounted(url): a wrong count raises
// "cc.Properties:createNonRefCounted has wrong number of arguments: %d, was
// expecting 1\n "; a url that reads nothing the invalid-arguments error of
// lua_engine_Properties_createNonRefCounted.
void register_properties_manual(lua_State* L);

}  // namespace bindings
