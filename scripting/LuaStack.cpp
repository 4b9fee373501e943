#include "scripting/LuaStack.h"

#include <cstdlib>
#include <cstring>
#include <iterator>

#include <tolua++.h>

#include "engine/base/Log.h"
#include "engine/deprecated/Array.h"
#include "engine/deprecated/BoxedValues.h"
#include "engine/files/FileUtils.h"
#include "scripting/LuaHostTypes.h"
#include "scripting/LuaLoader.h"
#include "scripting/LuaNumberCasts.h"
#include "scripting/LuaObjectIdentity.h"
#include "scripting/LuaRegistrationHooks.h"
#include "scripting/LuaStreamWriter.h"
#include "scripting/LuaTypeMap.h"
#include "scripting/ScriptHandlerMgr.h"
#include "scripting/ToluaFix.h"

namespace engine {
namespace {

constexpr const char* kStackRegistryKey = "vexo.LuaStack";

// Raw access to globals and fields: a script's metatable on _G or package never
// runs (and so never raises) from native code that is not inside a protected call.
void rawGetGlobal(lua_State* L, const char* name) {
    lua_pushstring(L, name);
    lua_rawget(L, LUA_GLOBALSINDEX);
}

void rawGetField(lua_State* L, int index, const char* name) {
    const int abs = index > 0 ? index : lua_gettop(L) + index + 1;
    lua_pushstring(L, name);
    lua_rawget(L, abs);
}

int luaPrint(lua_State*) { return 0; }

int luaReleasePrint(lua_State* L) {
    const int n = lua_gettop(L);
    luaL_Buffer b;
    luaL_buffinit(L, &b);
    for (int i = 1; i <= n; ++i) {
        if (i > 1) luaL_addchar(&b, '\t');
        switch (lua_type(L, i)) {
        case LUA_TNONE: luaL_addstring(&b, "none"); break;
        case LUA_TNIL: luaL_addstring(&b, "nil"); break;
        case LUA_TBOOLEAN: luaL_addstring(&b, lua_toboolean(L, i) ? "true" : "false"); break;
        case LUA_TTABLE: luaL_addstring(&b, "table"); break;
        case LUA_TFUNCTION: luaL_addstring(&b, "function"); break;
        case LUA_TLIGHTUSERDATA: luaL_addstring(&b, "lightuserdata"); break;
        case LUA_TTHREAD: luaL_addstring(&b, "thread"); break;
        case LUA_TUSERDATA: luaL_addstring(&b, "userdata"); break;
        default: {
            size_t len = 0;
            const char* s = lua_tolstring(L, i, &len);
            if (s) {
                luaL_addlstring(&b, s, len);
            } else {
                luaL_addstring(&b, luaL_typename(L, i));
            }
        }
        }
    }
    luaL_pushresult(&b);
    engine::log("[LUA-print] %s", lua_tostring(L, -1));
    return 0;
}

const luaL_Reg kGlobalFunctions[] = {
    {"print", luaPrint},
    {"release_print", luaReleasePrint},
    {nullptr, nullptr},
};

// A called function's first result as an int (see the header). lua_tonumber
// reads numbers and numeric strings and gives 0 for anything else, so only a 0
// needs a second look (a boolean).
int resultAsInt(lua_State* L, int index) {
    const lua_Number number = lua_tonumber(L, index);
    if (number != 0) return luaconv::wrapToInt32(number);   // NaN included
    return lua_type(L, index) == LUA_TBOOLEAN && lua_toboolean(L, index) ? 1 : 0;
}

// Room kept on the shelf thread: arguments up to this many need no stack check.
constexpr int kShelfRoom = 32;

// Logs an error value that no script handler reported.
void logLuaError(lua_State* L, int index) {
    const char* message = lua_tostring(L, index);
    if (message) {
        engine::log("[LUA ERROR] %s", message);
    } else {
        engine::log("[LUA ERROR] (error object is a %s value)", luaL_typename(L, index));
    }
}

// The message handler of every protected call. Upvalue 1: the name
// "__G__TRACKBACK__", looked up raw when the error happens.
int reportError(lua_State* L) {
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_rawget(L, LUA_GLOBALSINDEX);
    if (lua_type(L, -1) == LUA_TFUNCTION) {
        lua_pushvalue(L, 1);
        lua_call(L, 1, 1);
        return 1;
    }
    lua_pop(L, 1);
    logLuaError(L, 1);
    return 1;
}

int logPanic(lua_State* L) {
    const char* message = lua_tostring(L, -1);
    engine::log("[LUA PANIC] %s", message ? message : "(error object is not a string)");
    return 0;
}

struct PushCall {
    void (*push)(lua_State*, void*);
    void* context;
};

// Under lua_pcall, made once: the pushed value is its result (lua_cpcall would
// make a new closure for every push and return no value).
int runPush(lua_State* L) {
    auto* call = static_cast<PushCall*>(lua_touserdata(L, 1));
    call->push(L, call->context);
    return 1;
}

constexpr int kPushAttempts = 8;

}  // namespace

LuaStack* LuaStack::create() {
    auto* stack = new LuaStack;
    stack->init();
    stack->autorelease();
    return stack;
}

LuaStack* LuaStack::fromState(lua_State* L) {
    lua_pushstring(L, kStackRegistryKey);
    lua_rawget(L, LUA_REGISTRYINDEX);
    auto* stack = static_cast<LuaStack*>(lua_touserdata(L, -1));
    lua_pop(L, 1);
    return stack;
}

LuaStack::~LuaStack() {
    if (_state) {
        vexo_stream::Writer::getInstance()->stop(_state);
        lua_close(_state);
        _state = nullptr;
    }
    clearScriptKey();
}

bool LuaStack::init() {
    _state = luaL_newstate();
    lua_atpanic(_state, logPanic);
    luaL_openlibs(_state);
    toluafix_open(_state);
    lua_pushstring(_state, "toluafix_refid_function_mapping");
    lua_rawget(_state, LUA_REGISTRYINDEX);
    _functionTableRef = luaL_ref(_state, LUA_REGISTRYINDEX);
    lua_pushstring(_state, "__G__TRACKBACK__");
    lua_pushcclosure(_state, reportError, 1);
    _messageHandlerRef = luaL_ref(_state, LUA_REGISTRYINDEX);
    lua_pushcfunction(_state, runPush);
    _pushRunnerRef = luaL_ref(_state, LUA_REGISTRYINDEX);
    for (PushedObject& pushed : _pushedObjects) {
        lua_pushboolean(_state, 0);
        pushed.ref = luaL_ref(_state, LUA_REGISTRYINDEX);
    }
    _shelf = lua_newthread(_state);
    luaL_ref(_state, LUA_REGISTRYINDEX);   // kept for the state's lifetime
    lua_checkstack(_shelf, kShelfRoom + 4);
    lua_rawgeti(_shelf, LUA_REGISTRYINDEX, _messageHandlerRef);
    lua_rawgeti(_shelf, LUA_REGISTRYINDEX, _functionTableRef);
    luaL_register(_state, "_G", kGlobalFunctions);
    lua_pop(_state, 1);
    lua_pushstring(_state, kStackRegistryKey);
    lua_pushlightuserdata(_state, this);
    lua_rawset(_state, LUA_REGISTRYINDEX);

    luaTypeMap.clear();

    const LuaRegistrationHooks& hooks = luaRegistrationHooks();
    register_host_types(_state);
    register_object_identity(_state);
    runRegistrationHook(hooks.coreBindings, _state);
    runRegistrationHook(hooks.openglBindings, _state);
    runRegistrationHook(hooks.coreManual, _state);
    runRegistrationHook(hooks.utilsModule, _state);
    runRegistrationHook(hooks.mathGlobals, _state);
    runRegistrationHook(hooks.experimentalBindings, _state);
    runRegistrationHook(hooks.experimentalManual, _state);
    runRegistrationHook(hooks.glnodeDrawHandler, _state);
    runRegistrationHook(hooks.physicsBindings, _state);
    runRegistrationHook(hooks.physicsManual, _state);
    runRegistrationHook(hooks.deprecatedClasses, _state);
    runRegistrationHook(hooks.deprecatedManual, _state);
    register_script_handler_mgr(_state);

    addLuaLoader(engine_lua_loader);
    vexo_stream::registerStreamIOTable(_state);
    return true;
}

void LuaStack::addSearchPath(const char* path) {
    rawGetGlobal(_state, "package");
    if (!lua_istable(_state, -1)) {
        lua_pop(_state, 1);
        return;
    }
    rawGetField(_state, -1, "path");
    const char* old = lua_tostring(_state, -1);
    lua_pushstring(_state, "path");
    lua_pushfstring(_state, "%s;%s/?.lua", old ? old : "", path ? path : "");
    lua_rawset(_state, -4);
    lua_pop(_state, 2);
}

void LuaStack::addLuaLoader(lua_CFunction fn) {
    if (!fn) return;
    rawGetGlobal(_state, "package");
    if (!lua_istable(_state, -1)) {
        lua_pop(_state, 1);
        return;
    }
    rawGetField(_state, -1, "loaders");
    if (lua_istable(_state, -1)) {
        const int loaders = lua_gettop(_state);
        for (int i = static_cast<int>(lua_objlen(_state, loaders)); i >= 2; --i) {
            lua_rawgeti(_state, loaders, i);
            lua_rawseti(_state, loaders, i + 1);
        }
        lua_pushcfunction(_state, fn);
        lua_rawseti(_state, loaders, 2);
    }
    lua_pop(_state, 2);
}

int LuaStack::reload(const char* moduleName) {
    if (!moduleName || !*moduleName) return 1;
    rawGetGlobal(_state, "package");
    if (lua_istable(_state, -1)) {
        rawGetField(_state, -1, "loaded");
        if (lua_istable(_state, -1)) {
            rawGetField(_state, -1, moduleName);
            const bool loaded = !lua_isnil(_state, -1);
            lua_pop(_state, 1);
            if (loaded) {
                lua_pushstring(_state, moduleName);
                lua_pushnil(_state);
                lua_rawset(_state, -3);
            }
        }
        lua_pop(_state, 1);
    }
    lua_pop(_state, 1);
    // The name is an argument of require, never spliced into Lua source.
    rawGetGlobal(_state, "require");
    lua_pushstring(_state, moduleName);
    return executeFunction(1);
}

void LuaStack::removeScriptObjectByObject(Ref* object) {
    if (!object) return;
    for (PushedObject& pushed : _pushedObjects) {
        if (pushed.object != object) continue;
        pushed.object = nullptr;
        lua_pushboolean(_state, 0);   // the userdata may be collected now
        lua_rawseti(_state, LUA_REGISTRYINDEX, pushed.ref);
    }
    toluafix_removeObjectByRefid(_state, object->_luaID);
}

void LuaStack::removeScriptHandler(int handler) { toluafix_removeFunctionByRefid(_state, handler); }

int LuaStack::reallocateScriptHandler(int handler) {
    if (!pushFunctionByHandler(handler)) return -1;
    const int id = toluafix_refFunction(_state, -1, 0);
    lua_pop(_state, 1);
    return id;
}

int LuaStack::executeString(const char* code) {
    luaL_loadstring(_state, code ? code : "");
    return executeFunction(0);
}

int LuaStack::executeScriptFile(const char* filename) {
    int result = 0;
    runScriptFile(filename, &result);
    return result;
}

bool LuaStack::runScriptFile(const char* filename, int* result) {
    *result = 0;
    if (!filename) return false;
    std::string name = filename;
    const size_t luac = name.rfind(".luac");
    if (luac != std::string::npos) {
        name.resize(luac);
    } else if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".lua") == 0) {
        name.resize(name.size() - 4);
    }
    FileUtils* files = FileUtils::getInstance();
    std::string candidate = name;
    if (files->isFileExist(name + ".lua")) {
        candidate = name + ".lua";
    } else if (files->isFileExist(name + ".luac")) {
        candidate = name + ".luac";
    }
    const std::string fullPath = files->fullPathForFilename(candidate);
    Data data = files->getDataFromFile(fullPath);
    if (data.isNull()) {
        engine::log("[LUA ERROR] cannot open %s", filename);
        return false;
    }
    const int top = lua_gettop(_state);
    const int status = loadScriptBuffer(_state, reinterpret_cast<const char*>(data.getBytes()),
                                        static_cast<int>(data.getSize()), fullPath.c_str());
    if (status != 0) {
        if (lua_gettop(_state) > top) {
            logLuaError(_state, -1);   // Lua's own message
        } else {
            engine::log("[LUA ERROR] cannot load %s: rejected protected or compressed chunk (%d)",
                        fullPath.c_str(), status);
        }
        lua_settop(_state, top);
        return false;
    }
    bool failed = false;
    *result = callFunctionAt(lua_gettop(_state), 0, &failed);
    return !failed;
}

int LuaStack::executeGlobalFunction(const char* name) {
    rawGetGlobal(_state, name ? name : "");
    if (!lua_isfunction(_state, -1)) {
        lua_pop(_state, 1);
        return 0;
    }
    return executeFunction(0);
}

void LuaStack::clean() { lua_settop(_state, 0); }

void LuaStack::pushInt(int value) { lua_pushinteger(_state, value); }
void LuaStack::pushFloat(float value) { lua_pushnumber(_state, static_cast<double>(value)); }
void LuaStack::pushLong(long value) { lua_pushnumber(_state, static_cast<double>(value)); }
void LuaStack::pushBoolean(bool value) { lua_pushboolean(_state, value ? 1 : 0); }
void LuaStack::pushString(const char* text, int length) {
    struct Text {
        const char* data;
        size_t size;
    } t{text ? text : "", text && length > 0 ? static_cast<size_t>(length) : 0};
    pushProtected([](lua_State* L, void* c) {
        const auto* t = static_cast<const Text*>(c);
        lua_pushlstring(L, t->data, t->size);
    }, &t);
}
void LuaStack::pushString(const char* text) {
    pushProtected([](lua_State* L, void* c) { lua_pushstring(L, static_cast<const char*>(c)); },
                  const_cast<char*>(text));
}
void LuaStack::pushNil() { lua_pushnil(_state); }

void LuaStack::pushObject(Ref* object, const char* typeName) {
    if (!object) {
        lua_pushnil(_state);
        return;
    }
    // None of these calls allocates, so none can set off a collection step.
    for (const PushedObject& cached : _pushedObjects) {
        if (cached.object != object || cached.typeName != typeName || object->_luaID == 0) continue;
        lua_rawgeti(_state, LUA_REGISTRYINDEX, cached.ref);
        auto* storage = static_cast<void**>(lua_touserdata(_state, -1));
        if (storage && *storage == object) return;
        lua_pop(_state, 1);
        break;
    }
    struct Push {
        Ref* object;
        const char* typeName;
    } p{object, typeName};
    pushProtected([](lua_State* L, void* c) {
        const auto* p = static_cast<const Push*>(c);
        toluafix_pushObject(L, static_cast<int>(p->object->_ID), &p->object->_luaID, p->object, p->typeName);
    }, &p);
    if (lua_type(_state, -1) != LUA_TUSERDATA) return;
    PushedObject& cached = _pushedObjects[_nextPushedObject];
    _nextPushedObject = (_nextPushedObject + 1) % std::size(_pushedObjects);
    cached.object = object;
    cached.typeName = typeName;
    lua_pushvalue(_state, -1);
    lua_rawseti(_state, LUA_REGISTRYINDEX, cached.ref);   // the slot exists: no allocation
}

void LuaStack::pushScriptValue(const ScriptValue& value) {
    switch (value.getType()) {
    case ScriptValue::INT: pushInt(value.intVal()); break;
    case ScriptValue::FLOAT: pushFloat(value.floatVal()); break;
    case ScriptValue::BOOLEAN: pushBoolean(value.boolVal()); break;
    case ScriptValue::STRING: pushString(value.stringVal().c_str()); break;
    case ScriptValue::DICT: pushScriptValueDict(value.dictVal()); break;
    case ScriptValue::ARRAY: pushScriptValueArray(value.arrayVal()); break;
    case ScriptValue::OBJECT: pushObject(value.objectVal(), value.objectTypeName()); break;
    }
}

void LuaStack::pushScriptValueDict(const std::map<std::string, ScriptValue>& dict) {
    struct Push {
        LuaStack* stack;
        const std::map<std::string, ScriptValue>* dict;
    } p{this, &dict};
    pushProtected([](lua_State* L, void* c) {
        const auto* p = static_cast<const Push*>(c);
        lua_newtable(L);
        for (const auto& [key, value] : *p->dict) {
            lua_pushstring(L, key.c_str());
            p->stack->pushScriptValue(value);   // already protected: runs as it is
            lua_rawset(L, -3);
        }
    }, &p);
}

void LuaStack::pushScriptValueArray(const std::list<ScriptValue>& array) {
    struct Push {
        LuaStack* stack;
        const std::list<ScriptValue>* array;
    } p{this, &array};
    pushProtected([](lua_State* L, void* c) {
        const auto* p = static_cast<const Push*>(c);
        lua_newtable(L);
        int index = 1;
        for (const ScriptValue& value : *p->array) {
            p->stack->pushScriptValue(value);
            lua_rawseti(L, -2, index++);
        }
    }, &p);
}

void LuaStack::pushProtected(void (*push)(lua_State* L, void* context), void* context) {
    if (_callFromLua > 0 || _protectedPushes > 0) {
        push(_state, context);
        return;
    }
    PushCall call{push, context};
    bool pushed = false;
    ++_protectedPushes;
    for (int attempt = 0; attempt < kPushAttempts && !pushed; ++attempt) {
        lua_rawgeti(_state, LUA_REGISTRYINDEX, _pushRunnerRef);
        lua_pushlightuserdata(_state, &call);
        if (lua_pcall(_state, 1, 1, 0) == 0) {
            pushed = true;
        } else {
            logLuaError(_state, -1);
            lua_pop(_state, 1);
        }
    }
    --_protectedPushes;
    if (!pushed) lua_pushnil(_state);
}

bool LuaStack::pushFunctionByHandler(int handler) {
    lua_rawgeti(_shelf, 2, handler);
    if (lua_type(_shelf, -1) != LUA_TFUNCTION) {
        lua_settop(_shelf, 2);
        return false;
    }
    lua_xmove(_shelf, _state, 1);
    return true;
}

bool LuaStack::pushHandlerBelowArgs(int handler, int numArgs) {
    // Nothing here runs Lua or allocates, so the shelf is back to its two values
    // before any other call can use it.
    if (numArgs > kShelfRoom && !lua_checkstack(_shelf, numArgs + 2)) {
        lua_pop(_state, numArgs);
        return false;
    }
    lua_pushvalue(_shelf, 1);
    lua_rawgeti(_shelf, 2, handler);
    if (lua_type(_shelf, -1) != LUA_TFUNCTION) {
        lua_settop(_shelf, 2);
        lua_pop(_state, numArgs);
        return false;
    }
    lua_xmove(_state, _shelf, numArgs);       // shelf: [mh ft] mh function args
    lua_xmove(_shelf, _state, numArgs + 2);   // state: mh function args
    return true;
}

int LuaStack::insertTraceback(int functionIndex) {
    lua_rawgeti(_state, LUA_REGISTRYINDEX, _messageHandlerRef);
    lua_insert(_state, functionIndex);
    return functionIndex;
}

int LuaStack::protectedCall(int numArgs, int numResults, int handlerIndex) {
    ++_callFromLua;
    const int error = lua_pcall(_state, numArgs, numResults, handlerIndex);
    --_callFromLua;
    // Errors the message handler never saw (out of memory) or could not report.
    if (error == LUA_ERRMEM || error == LUA_ERRERR) logLuaError(_state, -1);
    return error;
}

int LuaStack::executeFunction(int numArgs) {
    const int base = lua_gettop(_state) - numArgs;   // the function's index
    if (base < 1) return 0;
    if (lua_type(_state, base) != LUA_TFUNCTION) {
        lua_settop(_state, base - 1);
        return 0;
    }
    return callFunctionAt(base, numArgs);
}

int LuaStack::callFunctionAt(int base, int numArgs, bool* failed) {
    const int handler = insertTraceback(base);
    const bool error = protectedCall(numArgs, 1, handler) != 0;
    if (failed) *failed = error;
    if (error) {
        lua_settop(_state, base - 1);
        return 0;
    }
    const int result = resultAsInt(_state, -1);
    lua_settop(_state, base - 1);
    return result;
}

int LuaStack::executeFunctionByHandler(int handler, int numArgs) {
    if (!pushHandlerBelowArgs(handler, numArgs)) return 0;
    return callPushedHandler(numArgs);
}

int LuaStack::executeFunctionByHandlerWithNumber(int handler, double value) {
    if (!pushHandlerBelowArgs(handler, 0)) return 0;
    lua_pushnumber(_state, value);
    return callPushedHandler(1);
}

int LuaStack::callPushedHandler(int numArgs) {
    // Success leaves the message handler and one result, failure the message
    // handler and the error value.
    const int result = protectedCall(numArgs, 1, -(numArgs + 2)) == 0 ? resultAsInt(_state, -1) : 0;
    lua_settop(_state, -3);
    return result;
}

bool LuaStack::executeFunction(int handler, int numArgs, int numResults,
                               const std::function<void(lua_State*, int)>& func) {
    const int below = lua_gettop(_state) - numArgs;   // the top under the arguments
    if (!pushHandlerBelowArgs(handler, numArgs)) return false;
    if (protectedCall(numArgs, numResults, below + 1) != 0) {
        lua_settop(_state, below);
        return false;
    }
    if (numResults > 0 && func) func(_state, numResults);
    lua_settop(_state, below);
    return true;
}

bool LuaStack::executeFunctionReturnArray(int handler, int numArgs, int numResults, __Array& result) {
    const int below = lua_gettop(_state) - numArgs;
    if (!pushHandlerBelowArgs(handler, numArgs)) return false;
    if (protectedCall(numArgs, numResults, below + 1) != 0 || numResults < 1) {
        lua_settop(_state, below);
        return false;
    }
    for (int i = 0; i < numResults; ++i) {
        switch (lua_type(_state, -1)) {
        case LUA_TBOOLEAN: result.addObject(__Bool::create(lua_toboolean(_state, -1) != 0)); break;
        case LUA_TNUMBER: result.addObject(__Double::create(lua_tonumber(_state, -1))); break;
        case LUA_TSTRING: result.addObject(__String::create(lua_tostring(_state, -1))); break;
        case LUA_TUSERDATA: {
            // tolua++'s tests take absolute indexes only.
            const int index = lua_gettop(_state);
            tolua_Error err;
            const bool isRef = tolua_isusertype(_state, index, "cc.Ref", 0, &err) != 0;
            lua_settop(_state, index);   // the test may leave values behind for foreign userdata
            if (isRef) {
                if (auto* object = static_cast<Ref*>(tolua_tousertype(_state, index, nullptr))) {
                    result.addObject(object);
                }
            }
            break;
        }
        default: break;   // tables, nil, functions: no engine object
        }
        lua_pop(_state, 1);
    }
    lua_settop(_state, below);
    return true;
}

bool LuaStack::handleAssert(const char* message) {
    if (_callFromLua == 0) return false;
    luaL_error(_state, "ASSERT FAILED ON LUA EXECUTE: %s", message ? message : "unknown");
    return true;   // not reached
}

void LuaStack::setScriptKey(const unsigned char* key, int keyLength, const unsigned char* sign,
                            int signLength) {
    clearScriptKey();
    if (!key || !sign || keyLength <= 0 || signLength <= 0) {
        _keyEnabled = false;
        return;
    }
    _key = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(keyLength)));
    _sign = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(signLength)));
    if (!_key || !_sign) {
        clearScriptKey();
        _keyEnabled = false;
        return;
    }
    std::memcpy(_key, key, static_cast<size_t>(keyLength));
    std::memcpy(_sign, sign, static_cast<size_t>(signLength));
    _keyLength = keyLength;
    _signLength = signLength;
    _keyEnabled = true;
}

void LuaStack::clearScriptKey() {
    std::free(_key);
    _key = nullptr;
    _keyLength = 0;
    std::free(_sign);
    _sign = nullptr;
    _signLength = 0;
}

}  // namespace engine
