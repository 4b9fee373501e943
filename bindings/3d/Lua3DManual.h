#pragma once
// The hand-written 3D methods: cc.Sprite3D's setBlendFunc (two numbers),
// getAABB (the engine's own box) and createAsync (a script callback, called
// once and then released: with the sprite, or nil when the model could not be
// read); cc.Terrain's create (from a terrain table) and getHeight (with or
// without the normal); cc.Bundle3D's getTrianglesList. Main thread only.
#include <lua.hpp>

#include "engine/3d/Terrain.h"

namespace bindings {

// The terrain table (keys as the record's fields, each optional) into out:
// false when the value at index is not a table. Detail maps past the record's
// four are ignored; every text is copied.
bool readTerrainData(lua_State* L, int index, engine::Terrain::TerrainData* out);

void register_3d_manual(lua_State* L);

}  // namespace bindings
