#include "host/app/AppDelegate.h"

extern "C" {
#include <lua-cjson.h>
}

#include "bindings/LuaModules.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "engine/script/ScriptEngineManager.h"
#include "host/app/AnrFix.h"
#include "host/app/AnrGc.h"
#include "host/app/BindingHooks.h"
#include "host/app/ClientFixes.h"
#include "portal/NativeBridge.h"
#include "portal/PayWebViewBinding.h"
#include "portal/TextInputFix.h"
#include "scripting/LuaEngine.h"
#include "scripting/ScriptKey.h"
#include "scripting/pb/LuaPb.h"
#include "updater/AutoUpdate.h"

namespace host {
namespace {

std::function<void(const std::string&)>& recorder() {
    static std::function<void(const std::string&)> fn;
    return fn;
}

int& startStatus() {
    static int status = 0;
    return status;
}

void record(const char* step) {
    if (recorder()) recorder()(step);
}

// The Lua engine when it is the script engine in place, else null.
engine::LuaEngine* runningLuaEngine() {
    engine::ScriptEngineProtocol* engine = engine::ScriptEngineManager::getInstance()->getScriptEngine();
    if (!engine || engine->getScriptType() != 1) return nullptr;
    auto* lua = static_cast<engine::LuaEngine*>(engine);
    return lua->getLuaStack() ? lua : nullptr;
}

struct ModuleEntry {
    const char* name;
    int (*fn)(lua_State*);
};

constexpr ModuleEntry kModules[] = {
    {"register_audio_module", engine::register_audio_module},
    {"register_network_module", engine::register_network_module},
    {"register_builder_module", bindings::register_builder_module},
    {"register_studio_module", bindings::register_studio_module},
    {"register_ui_module", bindings::register_ui_module},
    {"register_extension_module", bindings::register_extension_module},
    {"register_skeleton_module", bindings::register_skeleton_module},
    {"register_3d_module", bindings::register_3d_module},
    {"register_audioengine_module", bindings::register_audioengine_module},
    {"register_physics3d_module", bindings::register_physics3d_module},
    {"register_navmesh_module", bindings::register_navmesh_module},
};

}  // namespace

AppDelegate::~AppDelegate() { engine::SimpleAudioEngine::end(); }

bool AppDelegate::applicationDidFinishLaunching() {
    engine::Director::getInstance()->setAnimationInterval(1.0f / 60);
    engine::log("==write path==\n%s\n", engine::FileUtils::getInstance()->getWritablePath().c_str());
    updater::AutoUpdate::getInstance()->start([] {
        if (startLua()) return;
        engine::log("[VEXO] script start failed: the program ends");
        startStatus() = 1;
        engine::Director::getInstance()->end();
    });
    return true;
}

void AppDelegate::applicationDidEnterBackground() {
    if (engine::LuaEngine* lua = runningLuaEngine()) {
        lua->getLuaStack()->executeGlobalFunction("applicationOnDeactive");
    }
    engine::Director::getInstance()->stopAnimation();
}

void AppDelegate::applicationWillEnterForeground() {
    engine::Director::getInstance()->startAnimation();
    if (engine::LuaEngine* lua = runningLuaEngine()) {
        lua->getLuaStack()->executeGlobalFunction("applicationOnActive");
    }
}

int AppDelegate::registerScriptModules(lua_State* L) {
    for (const ModuleEntry& module : kModules) {
        record(module.name);
        module.fn(L);
    }
    record("luaopen_pb");
    luaopen_pb(L);
    lua_pop(L, 1);   // the module table luaopen_pb leaves

    // require "cjson" opens lua-cjson on first use.
    record("preload_cjson");
    lua_getglobal(L, "package");
    if (lua_istable(L, -1)) {
        lua_getfield(L, -1, "preload");
        if (lua_istable(L, -1)) {
            lua_pushcfunction(L, luaopen_cjson);
            lua_setfield(L, -2, "cjson");
        }
        lua_pop(L, 1);
    }
    lua_pop(L, 1);

    record("vexoOnMemoryWarning");
    lua_register(L, "vexoOnMemoryWarning", vexoOnMemoryWarning);
    return 1;
}

int AppDelegate::exitStatus() { return startStatus(); }

bool AppDelegate::startLua() {
    installBindingHooks();
    engine::LuaEngine* lua = engine::LuaEngine::getInstance();
    engine::ScriptEngineManager::getInstance()->setScriptEngine(lua);
    engine::LuaStack* stack = lua->getLuaStack();
    lua_State* L = stack->getLuaState();

    registerScriptModules(L);

    record("setScriptKey");
    {
        engine::ScriptSecret key;
        engine::ScriptSecret sign;
        engine::buildScriptKey(key);
        engine::buildScriptSign(sign);
        stack->setScriptKey(key.bytes, key.length, sign.bytes, sign.length);
    }

    record("registerPayWebViewBinding");
    portal::registerPayWebViewBinding(L);
    record("registerNativeBridge");
    portal::registerNativeBridge(L);
    record("installTextInputFix");
    portal::installTextInputFix();
    record("installClientFixes");
    installClientFixes(L);
    record("installAnrFix");
    installAnrFix(L);

    record("src/main.lua");
    engine::FileUtils* files = engine::FileUtils::getInstance();
    if (!files->isFileExist("src/main.lua") && !files->isFileExist("src/main.luac")) {
        // A project without scripts keeps its window running, as before.
        engine::log("[VEXO] no src/main.lua: no script runs");
        return true;
    }
    int result = 0;
    const bool ran = stack->runScriptFile("src/main.lua", &result);
    stack->clean();
    return ran;
}

void AppDelegate::setScriptStartRecorder(std::function<void(const std::string&)> fn) {
    recorder() = std::move(fn);
}

}  // namespace host
