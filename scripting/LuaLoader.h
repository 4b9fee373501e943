#pragma once
// The package loader that LuaStack::init puts at package.loaders[2]: require finds
// the game's modules through the engine's file access before Lua's own loaders.
//
// The module name loses a ".luac" (cut at its last occurrence) or a trailing
// ".lua", and its dots become "/". package.path is walked segment by segment (a
// leading "./" dropped, the prefix being the text before "?.lua"); in each,
// prefix + name + ".luac" is tried before prefix + name + ".lua". The first file
// found is loaded through the owning stack's loadScriptBuffer under the chunk
// name prefix + name + extension. Returns no value when no file is found, else
// the loaded chunk or, when loading failed, Lua's message (or nil).
#include <lua.hpp>

extern "C" int engine_lua_loader(lua_State* L);
