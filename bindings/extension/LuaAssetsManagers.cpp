#include "bindings/extension/LuaAssetsManagers.h"

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "engine/extension/AssetsManagerEx.h"
#include "engine/extension/ParticleSystem3D.h"
#include "engine/script/ScriptEngineManager.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaStack.h"
#include "scripting/ScriptHandlerMgr.h"
#include "updater/AssetsManager.h"

namespace bindings {

namespace {

using engine::ScriptHandlerMgr;
using engine::extension::AssetsManager;
using engine::extension::AssetsManagerEx;
using engine::extension::EventAssetsManagerEx;
using engine::extension::EventListenerAssetsManagerEx;
using Kind = ScriptHandlerMgr::HandlerType;

constexpr int kAssetsManagerTypes = 3;   // progress, success, error

class LuaAssetsManagerDelegate : public engine::Ref, public engine::extension::AssetsManagerDelegateProtocol {
public:
    // Nothing of the script side refers to the delegate: its handlers go with it.
    ~LuaAssetsManagerDelegate() override { ScriptHandlerMgr::getInstance()->removeObjectAllHandlers(this); }

    void onError(int errorCode) override { call(Kind::ASSETSMANAGER_ERROR, errorCode); }
    void onProgress(int percent) override { call(Kind::ASSETSMANAGER_PROGRESS, percent); }
    void onSuccess() override { call(Kind::ASSETSMANAGER_SUCCESS, 0); }

private:
    void call(Kind kind, int value) {
        auto* engine =
            dynamic_cast<engine::LuaEngine*>(engine::ScriptEngineManager::getInstance()->getScriptEngine());
        if (!engine || ScriptHandlerMgr::getInstance()->getObjectHandler(this, kind) == 0) return;
        engine::HandlerEventData data(this, &value);
        engine->handleEvent(kind, &data);
    }
};

int lua_assetsManagerSetDelegate(lua_State* L) {
    AssetsManager* self = checkSelf<AssetsManager>(L, "cc.AssetsManager", "lua_engine_AssetsManager_setDelegate");
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, "cc.AssetsManager:setDelegate", argc, 2);
    const int type = intAt(L, 3);
    if (type < 0 || type >= kAssetsManagerTypes) return 0;
    auto* delegate = dynamic_cast<LuaAssetsManagerDelegate*>(self->getDelegate());
    if (!delegate) {
        delegate = new LuaAssetsManagerDelegate;
        self->setUserObject(delegate);
        self->setDelegate(delegate);
        delegate->release();
    }
    const int handler = handlerAt(L, 2);
    if (handler == 0) return 0;
    ScriptHandlerMgr::getInstance()->addObjectHandler(
        delegate, handler, static_cast<Kind>(static_cast<int>(Kind::ASSETSMANAGER_PROGRESS) + type));
    return 0;
}

int lua_assetsManagerExListenerCreate(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, "create", argc, 2, " \n");
    AssetsManagerEx* manager = objectAt<AssetsManagerEx>(L, 2, "cc.AssetsManagerEx");
    if (!manager || lua_type(L, 3) != LUA_TFUNCTION) {
        return luaL_error(L, "invalid arguments in function 'lua_engine_EventListenerAssetsManagerEx_create'");
    }
    const int handler = handlerAt(L, 3);
    engine::LuaStack* stack = engine::LuaStack::fromState(L);
    EventListenerAssetsManagerEx* listener =
        EventListenerAssetsManagerEx::create(manager, [L, stack, handler](EventAssetsManagerEx* event) {
            if (!stack) return;
            const int top = lua_gettop(L);
            luaconv_push_object(L, "cc.EventAssetsManagerEx", event);
            stack->executeFunctionByHandler(handler, 1);
            lua_settop(L, top);
        });
    ScriptHandlerMgr::getInstance()->addCustomHandler(listener, handler);
    luaconv_push_object(L, "cc.EventListenerAssetsManagerEx", listener);
    return 1;
}

int lua_particlePoolActiveDataList(lua_State* L) {
    engine::ParticlePool* self =
        checkSelf<engine::ParticlePool>(L, "cc.ParticlePool", "lua_engine_ParticlePool_getActiveDataList");
    const int argc = argumentCount(L);
    if (argc != 0) return countError(L, "cc.ParticlePool:getActiveParticleList", argc, 0, " \n");
    lua_newtable(L);
    int index = 1;
    for (const engine::Particle3D* particle : self->getActiveDataList()) {
        if (!particle) continue;
        lua_pushvalue(L, 1);   // the pool, which keeps its system alive
        lua_rawseti(L, -2, index++);
    }
    return 1;
}

const ClassFunction kAssetsManagerFunctions[] = {{"setDelegate", lua_assetsManagerSetDelegate}};
const ClassFunction kListenerFunctions[] = {{"create", lua_assetsManagerExListenerCreate}};
const ClassFunction kParticlePoolFunctions[] = {{"getActiveDataList", lua_particlePoolActiveDataList}};

}  // namespace

void register_assets_manager_functions(lua_State* L) {
    addClassFunctions(L, "cc.AssetsManager", kAssetsManagerFunctions);
    addClassFunctions(L, "cc.EventListenerAssetsManagerEx", kListenerFunctions);
    addClassFunctions(L, "cc.ParticlePool", kParticlePoolFunctions);
}

}  // namespace bindings
