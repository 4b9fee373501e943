#pragma once
// A fresh Lua engine in place as the script engine, with the program's bindings
// and allocator setting, for the benchmarks that run scripts; its state. Every
// run makes its own: runs of other benchmarks may have replaced the engine.
#include <lua.hpp>

#include "engine/script/ScriptEngineManager.h"
#include "host/app/AnrGc.h"
#include "host/app/BindingHooks.h"
#include "scripting/LuaEngine.h"

inline lua_State* freshLuaEngine() {
    host::keepFreedBlocksCoalesced();
    host::installBindingHooks();
    engine::ScriptEngineManager* manager = engine::ScriptEngineManager::getInstance();
    manager->removeScriptEngine();
    engine::LuaEngine* lua = engine::LuaEngine::getInstance();
    manager->setScriptEngine(lua);
    return lua->getLuaStack()->getLuaState();
}
