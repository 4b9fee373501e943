#pragma once
// The hand-written functions of tile layers, in both tables, and of tiled maps. Counts exclude self.
//
//   layer:getTileGIDAt(position[, flags])   the tile's gid, then its flip flags
//       (0 when flags is not given; flags only has to be a number, which is
//       not used). A position or flags that cannot be read: no results. Another
//       count raises "<Lua name> has wrong number of arguments: %d, was
//       expecting 1 \n". "cc.TMXLayer" gives both as unsigned numbers;
//       "ccexp.TMXLayer" gives the flags as a signed 32-bit number (the
//       horizontal flag is negative).
//   layer:setTiles(ids)                     the layer takes its own copy of
//       width x height ids from the array (missing ones 0, extra ones not
//       read; values that are not numbers 0); returns the layer. An empty
//       array raises "Table's len equal 0"; a value that is not a table the
//       invalid-arguments error of lua_engine_TMXLayer_setTiles.
//   map:getPropertiesForGID(gid)           the tile's properties (nil when it
//       has none); a gid that cannot be read: no result. Another count raises
//       "cc.TMXTiledMap:getPropertiesForGID has wrong number of arguments: %d,
//       was expecting 1 \n".
// Main thread only.
#include <lua.hpp>

namespace bindings {

void register_tmx_layer_manual(lua_State* L);
void register_tiled_map_manual(lua_State* L);
// ccexp.TMXLayer:getTileGIDAt; the class table must exist (else nothing).
int register_experimental_manual(lua_State* L);

}  // namespace bindings
