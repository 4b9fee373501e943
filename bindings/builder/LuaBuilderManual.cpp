#include "bindings/builder/LuaBuilderManual.h"

#include <string>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "bindings/builder/CCBProxy.h"
#include "engine/actions/Action.h"
#include "engine/builder/CCBAnimationManager.h"
#include "engine/builder/CCBReader.h"
#include "engine/script/ScriptEngineManager.h"
#include "scripting/LuaClassRegistry.h"
#include "scripting/LuaObjectConversions.h"
#include "scripting/LuaRecordConversions.h"
#include "scripting/LuaValueConversions.h"

namespace bindings {
namespace {

constexpr const char* kTwoBlanks = "%s function of CCBProxy  has wrong number of arguments: %d, was expecting %d\n";
constexpr const char* kLeadingBlank = " %s has wrong number of arguments: %d, was expecting %d\n";

int lua_proxyCreate(lua_State* L) {
    const int argc = argumentCount(L);
    if (argc != 0) {
        return luaL_error(L, "%s function of CCBProxy has wrong number of arguments: %d, was expecting %d\n",
                          "cc.CCBProxy:create", argc, 0);
    }
    luaconv_push_object(L, "cc.CCBProxy", CCBProxy::create());
    return 1;
}

int lua_proxyCreateCCBReader(lua_State* L) {
    CCBProxy* proxy = checkSelf<CCBProxy>(L, "cc.CCBProxy", "cc.CCBProxy:createCCBReader");
    const int argc = argumentCount(L);
    if (argc != 0) return luaL_error(L, kTwoBlanks, "cc.CCBProxy:createCCBReader", argc, 0);
    luaconv_push_object(L, "cc.CCBReader", proxy->createCCBReader());
    return 1;
}

int lua_proxyReadCCBFromFile(lua_State* L) {
    CCBProxy* proxy = checkSelf<CCBProxy>(L, "cc.CCBProxy", "cc.CCBProxy:readCCBFromFile");
    const int argc = argumentCount(L);
    if (argc != 2 && argc != 3) return luaL_error(L, kTwoBlanks, "cc.CCBReader:readCCBFromFile", argc, 2);
    auto* reader = objectAt<builder::CCBReader>(L, 3, "cc.CCBReader");
    const bool setOwner = tolua_toboolean(L, 4, 1) != 0;
    const char* name = lua_type(L, 2) == LUA_TSTRING ? lua_tostring(L, 2) : nullptr;
    engine::Node* node = name ? proxy->readCCBFromFile(name, reader, setOwner) : nullptr;
    luaconv_push_object(L, "cc.Node", node);
    return 1;
}

int lua_proxyGetNodeTypeName(lua_State* L) {
    checkSelf<CCBProxy>(L, "cc.CCBProxy", "cc.CCBProxy:getNodeTypeName");
    const int argc = argumentCount(L);
    if (argc != 1) return luaL_error(L, kLeadingBlank, "cc.CCBProxy:getNodeTypeName", argc, 1);
    auto* object = objectAt<engine::Ref>(L, 2, "cc.Ref");
    if (!object) {
        lua_pushnil(L);
        return 1;
    }
    lua_pushstring(L, CCBProxy::getNodeTypeName(object));
    return 1;
}

int lua_proxySetCallback(lua_State* L) {
    CCBProxy* proxy = checkSelf<CCBProxy>(L, "cc.CCBProxy", "cc.CCBProxy:setCallback");
    const int argc = argumentCount(L);
    if (argc != 2 && argc != 3) return luaL_error(L, kLeadingBlank, "cc.CCBProxy:setCallback", argc, 2);
    auto* node = objectAt<engine::Node>(L, 2, "cc.Node");
    const int events = argc == 3 ? intAt(L, 4) : 1;
    // Nothing to file it on: keep no reference.
    if (!node || lua_type(L, 3) != LUA_TFUNCTION) return 0;
    const int handler = handlerAt(L, 3);
    if (!proxy->setCallback(L, node, handler, events)) {
        if (auto* script = engine::ScriptEngineManager::getInstance()->getScriptEngine()) {
            script->removeScriptHandler(handler);
        }
    }
    return 0;
}

int lua_readerLoad(lua_State* L) {
    auto* reader = checkSelf<builder::CCBReader>(L, "cc.CCBReader", "cc.CCBReader:load");
    const int argc = argumentCount(L);
    if (argc < 1 || argc > 3) return countError(L, "cc.CCBReader:load", argc, 1);
    tolua_Error err;
    if (!tolua_isstring(L, 2, 0, &err)) return 0;
    auto* owner = argc >= 2 ? objectAt<engine::Ref>(L, 3, "cc.Ref") : nullptr;
    engine::Size size;
    if (argc == 3 && !luaconv_read_size(L, 4, &size)) return 0;
    std::string file;
    luaconv_read_std_string(L, 2, &file, "cc.CCBReader:load");
    engine::Node* node = nullptr;
    if (argc == 1) {
        node = reader->readNodeGraphFromFile(file);
    } else if (argc == 2) {
        node = reader->readNodeGraphFromFile(file, owner);
    } else {
        node = reader->readNodeGraphFromFile(file, owner, size);
    }
    luaconv_push_object(L, "cc.Node", node);
    return 1;
}

int lua_animationManagerSetCallFunc(lua_State* L) {
    auto* manager = checkSelf<builder::CCBAnimationManager>(L, "cc.CCBAnimationManager",
                                                            "cc.CCBAnimationManager:setCallFuncForLuaCallbackNamed");
    const int argc = argumentCount(L);
    if (argc != 2) return countError(L, "cc.CCBAnimationManager:setCallFuncForLuaCallbackNamed", argc, 2);
    auto* action = objectAt<engine::CallFunc>(L, 2, "cc.CallFunc");
    if (!action) {
        return luaL_error(L, "invalid arguments in function 'cc.CCBAnimationManager:setCallFuncForLuaCallbackNamed'");
    }
    size_t length = 0;
    const char* name = lua_type(L, 3) == LUA_TSTRING ? lua_tolstring(L, 3, &length) : nullptr;
    manager->setCallFunc(action, name ? std::string(name, length) : std::string());
    return 0;
}

}  // namespace

void registerProxyClass(lua_State* L, const char* shortName, const char* luaName, const char* baseLuaName,
                        lua_CFunction collector) {
    tolua_usertype(L, luaName);
    tolua_cclass(L, shortName, luaName, baseLuaName, collector ? collector : &luaconv_collect<CCBProxy>);
    luaconv_map_type<CCBProxy>(luaName);
    luaInstanceTests.insert_or_assign(luaName, luaconv_instance_test<CCBProxy>());
}

int register_builder_manual(lua_State* L) {
    static const ClassFunction proxy[] = {{"create", lua_proxyCreate},
                                          {"createCCBReader", lua_proxyCreateCCBReader},
                                          {"readCCBFromFile", lua_proxyReadCCBFromFile},
                                          {"getNodeTypeName", lua_proxyGetNodeTypeName},
                                          {"setCallback", lua_proxySetCallback}};
    static const ClassFunction reader[] = {{"load", lua_readerLoad}};
    static const ClassFunction manager[] = {{"setCallFuncForLuaCallbackNamed", lua_animationManagerSetCallFunc}};
    addClassFunctions(L, "cc.CCBProxy", proxy);
    addClassFunctions(L, "cc.CCBReader", reader);
    addClassFunctions(L, "cc.CCBAnimationManager", manager);
    return 0;
}

}  // namespace bindings
