#pragma once
// The hand-written functions of textures, the texture cache, sprites made from
// polygons and the polygon tracer. Counts exclude the class table or self.
//
//   cc.Sprite:create()                 an empty sprite (also for one nil)
//     (file) / (polygon info)          the image / the info's image and rect
//     (file, rect)                     a rectangle of the image
//       any other form: "cc.Sprite:create has wrong number of arguments: %d,
//       was expecting 2" (no line end); an unreadable image gives nil
//   sprite:initWithPolygon(info)       true when the info's image was read
//   sprite:setPolygonInfo(info)        keeps the info; returns the sprite
//       (n 1; an argument that is not a polygon info raises "invalid arguments
//       in function 'lua_engine_Sprite_<name>'")
//   texture:setTexParameters(min, mag, wrapS, wrapT)
//       GL enums as numbers; another count raises "'setTexParameters' function
//       of Texture2D wrong number of arguments: %d, was expecting 4\n"
//   cache:addImageAsync(path, function)
//       decodes on a worker; the function later gets the texture (nil for an
//       unreadable image) exactly once and is then released; one released
//       uncalled when the cache goes first. Another count raises
//       "addImageAsync function of TextureCache has wrong number of arguments:
//       %d, was expecting 1\n"
//   cc.AutoPolygon:generatePolygon(file[, rect[, epsilon[, threshold]]])
//       a new polygon info owned by the script (defaults: the whole image,
//       2.0, 0.05); counts outside 1..4 raise "cc.AutoPolygon:generatePolygon
//       has wrong number of arguments: %d, was expecting 1\n "
// Main thread only.
#include <lua.hpp>

namespace bindings {

void register_sprite_polygon_manual(lua_State* L);
void register_texture_manual(lua_State* L);
void register_texture_cache_manual(lua_State* L);
void register_auto_polygon_manual(lua_State* L);

}  // namespace bindings
