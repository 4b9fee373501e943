#pragma once
// For the fuzz targets that deliver what they read to scripts: the program's Lua
// state, made once, with the director and the script engine in place as the
// client has them. The caller registers the classes its scripts use.
#include <lua.hpp>

#include "engine/base/Director.h"
#include "engine/script/ScriptEngineManager.h"
#include "scripting/LuaEngine.h"

namespace fuzzsupport {

inline lua_State* scriptEngineState() {
    engine::Director::getInstance();
    engine::LuaEngine* luaEngine = engine::LuaEngine::getInstance();
    engine::ScriptEngineManager::getInstance()->setScriptEngine(luaEngine);
    return luaEngine->getLuaStack()->getLuaState();
}

}  // namespace fuzzsupport
