#pragma once
// The one Lua 5.1 state of the process and the only way native code runs Lua.
//
// init() creates the state with the standard libraries, the reference tables,
// "print" (silent) and "release_print" (to the engine log), registers the script
// API in its fixed order, puts the engine's package loader at package.loaders[2]
// and starts the stream writer with the table cc.VEXOStreamIO.
//
// Stack discipline of the execute operations: each removes exactly what it pushed
// and consumed (the function, its arguments, its results, the message handler)
// and leaves whatever lay below the arguments untouched, on success and on
// failure, so a binding may call a handler in the middle of its own work. A
// handler id that names no function counts as a failure (0 / false).
//
// Results of a called function as an int: a number, or a string that reads as a
// number, gives its integer part cut to 32 bits, a boolean 1 or 0, anything
// else 0.
//
// Errors of protected calls are reported when they happen: the global
// "__G__TRACKBACK__" is looked up then (so a chunk that defines it and then fails
// is reported through it) and given the error; without one the error is logged as
// "[LUA ERROR] <message>". An error raised where no protected call can catch it
// is logged as "[LUA PANIC] <message>" before Lua ends the process. Main thread
// only.
#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <string>

#include <lua.hpp>

#include "engine/base/Ref.h"
#include "scripting/ScriptValue.h"

namespace engine {

class __Array;

class LuaStack : public Ref {
public:
    // A new stack with init() done, autoreleased.
    static LuaStack* create();
    ~LuaStack() override;

    // The stack that owns L (set by init), null for another state.
    static LuaStack* fromState(lua_State* L);

    // Always true.
    virtual bool init();
    lua_State* getLuaState() const { return _state; }

    // package.path = old .. ";" .. path .. "/?.lua"
    virtual void addSearchPath(const char* path);
    // Inserts fn at package.loaders[2]; null does nothing.
    virtual void addLuaLoader(lua_CFunction fn);
    // Clears package.loaded[name] and requires the module again; 1 for a null or
    // empty name (nothing run).
    virtual int reload(const char* moduleName);

    virtual void removeScriptObjectByObject(Ref* object);
    virtual void removeScriptHandler(int handler);
    // A new handler id for the handler's function; -1 when it names none.
    virtual int reallocateScriptHandler(int handler);

    virtual int executeString(const char* code);
    // Runs a script file: "x.lua" is tried before "x.luac". Its result as an int.
    virtual int executeScriptFile(const char* filename);
    // The same, telling whether the file ran: false when it could not be read or
    // loaded (logged as "[LUA ERROR] ..." with Lua's message, which is popped) or
    // when it raised an error (reported as above). *result is 0 then.
    bool runScriptFile(const char* filename, int* result);
    virtual int executeGlobalFunction(const char* name);
    // Empties the Lua stack.
    virtual void clean();

    virtual void pushInt(int value);
    virtual void pushFloat(float value);
    virtual void pushLong(long value);
    virtual void pushBoolean(bool value);
    virtual void pushString(const char* text, int length);
    virtual void pushString(const char* text);
    virtual void pushNil();
    // The object under typeName (its registered dynamic type wins); nil for null.
    virtual void pushObject(Ref* object, const char* typeName);
    virtual void pushScriptValue(const ScriptValue& value);
    virtual void pushScriptValueDict(const std::map<std::string, ScriptValue>& dict);
    virtual void pushScriptValueArray(const std::list<ScriptValue>& array);
    // Pushes the handler's function; false (nothing pushed) when it names none.
    virtual bool pushFunctionByHandler(int handler);
    // Runs push, which pushes exactly one value, so that a collection step it sets
    // off (a __gc finalizer that raises) cannot end the process: outside a
    // script's call it runs under a protected call, an error is logged and the
    // push tried again (nil stands in after 8 failures). Inside a script's call it
    // runs as it is and an error goes to that call. The push family above that
    // allocates (strings, objects, script values) goes through here.
    void pushProtected(void (*push)(lua_State* L, void* context), void* context);

    // Calls the handler with the numArgs values on top; on success func (when set
    // and numResults > 0) reads the numResults results, then they are removed.
    // True on success.
    virtual bool executeFunction(int handler, int numArgs, int numResults,
                                 const std::function<void(lua_State*, int)>& func);
    // Calls the function standing below its numArgs arguments; its first result
    // as an int.
    virtual int executeFunction(int numArgs);
    // Calls the handler with the numArgs values on top; its first result as an int.
    virtual int executeFunctionByHandler(int handler, int numArgs);
    // Calls the handler with the one number argument; its first result as an
    // int. The same as pushing the number and executeFunctionByHandler(handler, 1),
    // without moving the argument past the handler.
    int executeFunctionByHandlerWithNumber(int handler, double value);
    // Calls the handler and appends its numResults results to result, the last
    // result first: booleans as __Bool, numbers as __Double, strings as __String,
    // engine objects (userdata of "cc.Ref" or a subclass) as themselves; other
    // results are skipped. False on failure or when numResults < 1.
    virtual bool executeFunctionReturnArray(int handler, int numArgs, int numResults, __Array& result);

    // While a script call runs, raises "ASSERT FAILED ON LUA EXECUTE: %s" in Lua
    // (does not return); otherwise false.
    virtual bool handleAssert(const char* message);

    // Keeps copies of key and sign; a null or empty one turns protection off.
    virtual void setScriptKey(const unsigned char* key, int keyLength, const unsigned char* sign,
                              int signLength);
    virtual void clearScriptKey();
    bool isScriptKeyEnabled() const { return _keyEnabled; }

    // The same operations under the names some bindings use.
    void pushStringWithLength(const char* text, int length) { pushString(text, length); }
    int executeFunctionWithCallback(int handler, int numArgs, int numResults,
                                    const std::function<void(lua_State*, int)>& func) {
        return executeFunction(handler, numArgs, numResults, func) ? 1 : 0;
    }

    // Loads a chunk: a protected chunk (begins with the sign while protection is
    // on) is decrypted first, then a "VEXZ" chunk inflated, then luaL_loadbuffer.
    // Status 0 with the chunk pushed; Lua's codes with a message pushed; 3 or 4
    // (nothing pushed) for a rejected protected or compressed chunk.
    int loadScriptBuffer(lua_State* L, const char* bytes, int size, const char* chunkName);

    int getCallDepth() const { return _callFromLua; }

protected:
    LuaStack() = default;

private:
    // Pushes the message handler below the function at `functionIndex`; returns
    // its index.
    int insertTraceback(int functionIndex);
    // Puts the message handler and the handler's function below the numArgs
    // values on top; false (the arguments popped) when the handler names no
    // function. The message handler then sits at -(numArgs + 2).
    bool pushHandlerBelowArgs(int handler, int numArgs);
    int protectedCall(int numArgs, int numResults, int handlerIndex);
    // Calls the pushed handler with its numArgs arguments (above the message
    // handler and the function); its first result as an int, the stack back to
    // its height below the message handler.
    int callPushedHandler(int numArgs);
    // Calls the function at base (known to be one) with the numArgs values above it;
    // *failed (when given) tells whether it raised.
    int callFunctionAt(int base, int numArgs, bool* failed = nullptr);

    lua_State* _state = nullptr;
    // Registry slots (integer keys) of the handler function table and of the
    // message handler: the per-call lookups skip string hashing.
    int _functionTableRef = LUA_NOREF;
    int _messageHandlerRef = LUA_NOREF;
    // A thread that never runs and holds [message handler, function table] at
    // indexes 1 and 2 between calls: a handler call reads both at fixed places
    // and moves them below its arguments in two lua_xmove's, where going
    // through the registry and inserting costs several calls more.
    lua_State* _shelf = nullptr;
    // Registry slot of the C function a protected push runs under.
    int _pushRunnerRef = LUA_NOREF;
    // The last objects pushed, each with its userdata in a registry
    // slot: an event that hands the same objects to many handlers pushes them
    // without the type lookups. An entry serves only the same object under the
    // same type name while its userdata still points at it; it is dropped when
    // the object leaves the scripts.
    struct PushedObject {
        Ref* object = nullptr;
        const char* typeName = nullptr;
        int ref = LUA_NOREF;
    };
    PushedObject _pushedObjects[4];
    size_t _nextPushedObject = 0;   // the entry the next miss replaces
    int _protectedPushes = 0;
    int _callFromLua = 0;
    bool _keyEnabled = false;
    unsigned char* _key = nullptr;
    int _keyLength = 0;
    unsigned char* _sign = nullptr;
    int _signLength = 0;
};

}  // namespace engine
