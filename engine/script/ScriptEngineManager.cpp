#include "engine/script/ScriptEngineManager.h"

#include "engine/base/Log.h"

namespace engine {
namespace {
ScriptEngineManager* g_manager = nullptr;
unsigned long g_engineGeneration = 0;   // main thread only
}  // namespace

unsigned long ScriptEngineManager::engineGeneration() { return g_engineGeneration; }

ScriptEngineManager* ScriptEngineManager::getInstance() {
    if (!g_manager) g_manager = new ScriptEngineManager;
    return g_manager;
}

void ScriptEngineManager::destroyInstance() {
    ScriptEngineManager* manager = g_manager;
    g_manager = nullptr;
    ++g_engineGeneration;
    delete manager;
}

ScriptEngineManager::~ScriptEngineManager() { removeScriptEngine(); }

void ScriptEngineManager::setScriptEngine(ScriptEngineProtocol* engine) {
    if (engine == _engine) return;
    // The old engine is detached before it is deleted, so objects it destroys on
    // the way out do not call back into it.
    ScriptEngineProtocol* old = _engine;
    _engine = engine;
    ++g_engineGeneration;
    delete old;
}

void ScriptEngineManager::removeScriptEngine() {
    ScriptEngineProtocol* old = _engine;
    _engine = nullptr;
    ++g_engineGeneration;
    delete old;
}

void ScriptEngineManager::sendAssert(const char* message) {
    if (!message) message = "";
    ScriptEngineProtocol* engine = g_manager ? g_manager->_engine : nullptr;
    if (engine && engine->handleAssert(message)) return;
    log("Assert failed: %s", message);
}

}  // namespace engine
