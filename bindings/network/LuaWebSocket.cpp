#include "bindings/network/LuaWebSocket.h"

#include <string>
#include <vector>

#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "bindings/network/LuaByteArray.h"
#include "engine/deprecated/Array.h"
#include "engine/deprecated/BoxedValues.h"
#include "engine/script/ScriptEngineManager.h"
#include "engine/script/ScriptEvent.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaStack.h"
#include "scripting/ScriptHandlerMgr.h"
#include "scripting/ToluaFix.h"

namespace bindings {

using engine::ScriptHandlerMgr;
using engine::network::WebSocket;
using Kind = ScriptHandlerMgr::HandlerType;

namespace {

constexpr const char* kLuaName = "cc.WebSocket";

engine::LuaStack* scriptStack() {
    auto* luaEngine = dynamic_cast<engine::LuaEngine*>(engine::ScriptEngineManager::getInstance()->getScriptEngine());
    return luaEngine ? luaEngine->getLuaStack() : nullptr;
}

// A common event (one argument, "") to the socket's handler of that kind.
void sendCommonEvent(LuaWebSocket* socket, Kind kind) {
    const int handler = ScriptHandlerMgr::getInstance()->getObjectHandler(socket, kind);
    if (handler == 0) return;
    engine::ScriptEngineProtocol* scriptEngine = engine::ScriptEngineManager::getInstance()->getScriptEngine();
    if (!scriptEngine) return;
    engine::CommonScriptData data(handler, "");
    engine::ScriptEvent event(engine::COMMON_EVENT, &data);
    scriptEngine->sendEvent(&event);
}

}  // namespace

LuaWebSocket::~LuaWebSocket() { ScriptHandlerMgr::getInstance()->removeObjectAllHandlers(this); }

void LuaWebSocket::onOpen(WebSocket* ws) {
    if (auto* socket = dynamic_cast<LuaWebSocket*>(ws)) sendCommonEvent(socket, Kind::WEBSOCKET_OPEN);
}

void LuaWebSocket::onClose(WebSocket* ws) {
    if (auto* socket = dynamic_cast<LuaWebSocket*>(ws)) sendCommonEvent(socket, Kind::WEBSOCKET_CLOSE);
}

void LuaWebSocket::onError(WebSocket*, const WebSocket::ErrorCode&) {}

void LuaWebSocket::onMessage(WebSocket* ws, const WebSocket::Data& data) {
    auto* socket = dynamic_cast<LuaWebSocket*>(ws);
    if (!socket) return;
    const int handler = ScriptHandlerMgr::getInstance()->getObjectHandler(socket, Kind::WEBSOCKET_MESSAGE);
    if (handler == 0 || (!data.bytes && data.len > 0)) return;
    engine::LuaStack* stack = scriptStack();
    if (!stack) return;
    lua_State* L = stack->getLuaState();
    const int top = lua_gettop(L);
    if (!data.isBinary) {
        stack->pushString(data.bytes ? data.bytes : "", static_cast<int>(data.len));
    } else {
        pushByteArray(L, data.bytes, static_cast<size_t>(data.len));
    }
    stack->executeFunctionByHandler(handler, 1);
    lua_settop(L, top);
}

// --- Lua side ----------------------------------------------------------------------
// Every raise happens before anything with a destructor is made.

namespace {

// Makes the socket, starts it and hands it to the script, which owns it.
int pushNewSocket(lua_State* L, const std::string& url, const std::vector<std::string>& protocols) {
    auto* socket = new LuaWebSocket();
    socket->setMaxBinaryMessageSize(kMaxByteArrayBytes);
    socket->init(*socket, url, protocols.empty() ? nullptr : &protocols);
    luaconv_push_owned_usertype(L, kLuaName, socket);
    return 1;
}

std::string stringAt(lua_State* L, int index) {
    size_t size = 0;
    const char* text = lua_tolstring(L, index, &size);
    return text ? std::string(text, size) : std::string();
}

int ws_create(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertable(L, 1, kLuaName, 0, &err) || !tolua_isstring(L, 2, 0, &err) || !tolua_isnoobj(L, 3, &err))
        return tolua_error(L, "#ferror in function 'create'.", &err), 0;
    return pushNewSocket(L, stringAt(L, 2), {});
}

int ws_createByAProtocol(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertable(L, 1, kLuaName, 0, &err) || !tolua_isstring(L, 2, 0, &err) ||
        !tolua_isstring(L, 3, 0, &err) || !tolua_isnoobj(L, 4, &err))
        return tolua_error(L, "#ferror in function 'createByAProtocol'.", &err), 0;
    return pushNewSocket(L, stringAt(L, 2), {stringAt(L, 3)});
}

int ws_createByProtocolArray(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertable(L, 1, kLuaName, 0, &err) || !tolua_isstring(L, 2, 0, &err) ||
        !tolua_isusertype(L, 3, "CCArray", 0, &err) || !tolua_isnoobj(L, 4, &err))
        return tolua_error(L, "#ferror in function 'createByProtocolArray'.", &err), 0;
    auto* array = objectAt<engine::__Array>(L, 3, "CCArray");
    std::vector<std::string> protocols;
    if (array) {
        for (engine::Ref* item : *array) {
            auto* text = dynamic_cast<engine::__String*>(item);
            if (!text || text->getValue().empty()) break;
            protocols.push_back(text->getValue());
        }
    }
    return pushNewSocket(L, stringAt(L, 2), protocols);
}

int ws_getReadyState(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, kLuaName, 0, &err) || !tolua_isnoobj(L, 2, &err))
        return tolua_error(L, "#ferror in function 'getReadyState'.", &err), 0;
    auto* socket = objectAt<LuaWebSocket>(L, 1, kLuaName);
    lua_pushinteger(L, socket ? static_cast<int>(socket->getReadyState()) : -1);
    return 1;
}

int ws_close(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, kLuaName, 0, &err) || !tolua_isnoobj(L, 2, &err))
        return tolua_error(L, "#ferror in function 'close'.", &err), 0;
    checkSelf<LuaWebSocket>(L, kLuaName, "close")->close();
    return 0;
}

int ws_sendString(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, kLuaName, 0, &err) || !tolua_isstring(L, 2, 0, &err) || !tolua_isnoobj(L, 3, &err))
        return tolua_error(L, "#ferror in function 'sendString'.", &err), 0;
    LuaWebSocket* socket = checkSelf<LuaWebSocket>(L, kLuaName, "sendString");
    size_t size = 0;
    const char* data = lua_tolstring(L, 2, &size);
    if (!data) return 0;
    if (std::char_traits<char>::length(data) == size) {
        socket->send(std::string(data, size));
    } else {
        socket->send(reinterpret_cast<const unsigned char*>(data), static_cast<unsigned int>(size));
    }
    return 0;
}

// n (cut to an integer) 0..3: the kind 16 + n; -1 for anything else.
int kindOffsetAt(lua_State* L, int index) {
    const double n = lua_tonumber(L, index);
    if (!(n > -1 && n < 4)) return -1;
    return static_cast<int>(n);
}

int ws_registerScriptHandler(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, kLuaName, 0, &err) || !toluafix_isFunction(L, 2, "LUA_FUNCTION", 0, &err) ||
        !tolua_isnumber(L, 3, 0, &err) || !tolua_isnoobj(L, 4, &err))
        return tolua_error(L, "#ferror in function 'registerScriptHandler'.", &err), 0;
    LuaWebSocket* socket = checkSelf<LuaWebSocket>(L, kLuaName, "registerScriptHandler");
    const int offset = kindOffsetAt(L, 3);
    if (offset < 0) return 0;   // files nothing, keeps no reference
    const int handler = handlerAt(L, 2);
    ScriptHandlerMgr::getInstance()->addObjectHandler(
        socket, handler, static_cast<Kind>(static_cast<int>(Kind::WEBSOCKET_OPEN) + offset));
    return 0;
}

int ws_unregisterScriptHandler(lua_State* L) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, kLuaName, 0, &err) || !tolua_isnumber(L, 2, 0, &err) || !tolua_isnoobj(L, 3, &err))
        return tolua_error(L, "#ferror in function 'unregisterScriptHandler'.", &err), 0;
    LuaWebSocket* socket = checkSelf<LuaWebSocket>(L, kLuaName, "unregisterScriptHandler");
    const int offset = kindOffsetAt(L, 2);
    if (offset < 0) return 0;
    ScriptHandlerMgr::getInstance()->removeObjectHandler(
        socket, static_cast<Kind>(static_cast<int>(Kind::WEBSOCKET_OPEN) + offset));
    return 0;
}

const ClassEntry kWebSocketClasses[] = {
    ownedClassEntry<LuaWebSocket>(kLuaName, nullptr),
};

const ClassFunction kWebSocketFunctions[] = {
    {"create", ws_create},
    {"createByAProtocol", ws_createByAProtocol},
    {"createByProtocolArray", ws_createByProtocolArray},
    {"getReadyState", ws_getReadyState},
    {"close", ws_close},
    {"sendString", ws_sendString},
};

const ClassFunction kHandlerFunctions[] = {
    {"registerScriptHandler", ws_registerScriptHandler},
    {"unregisterScriptHandler", ws_unregisterScriptHandler},
};

}  // namespace

int register_websocket_class(lua_State* L) {
    registerClassTable(L, kWebSocketClasses);
    addClassFunctions(L, kLuaName, kWebSocketFunctions);
    return 1;
}

int register_websocket_handler_methods(lua_State* L) {
    addClassFunctions(L, kLuaName, kHandlerFunctions);
    return 1;
}

}  // namespace bindings
