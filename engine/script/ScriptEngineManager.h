#pragma once
// The one script engine the engine talks to (the Lua engine, once the scripts start).
#include <string>

namespace engine {

class Ref;
struct ScriptEvent;

class ScriptEngineProtocol {
public:
    virtual ~ScriptEngineProtocol() = default;
    // 0 none, 1 Lua.
    virtual int getScriptType() { return 0; }
    // An engine object known to scripts is being destroyed.
    virtual void removeScriptObjectByObject(Ref* object) = 0;
    // Releases a script handler id.
    virtual void removeScriptHandler(int handler) { (void)handler; }
    // A new handler id for the same script function; -1 when the id names none.
    virtual int reallocateScriptHandler(int handler) { (void)handler; return -1; }
    virtual int executeString(const char* code) = 0;
    virtual int executeScriptFile(const char* filename) = 0;
    virtual int executeGlobalFunction(const char* name) { (void)name; return 0; }
    // Hands an engine event to the scripts; the handler's result, 0 when none ran.
    virtual int sendEvent(ScriptEvent* event) { (void)event; return 0; }
    // Lets scripts report a failed engine assertion; true when handled.
    virtual bool handleAssert(const char* message) { (void)message; return false; }
    virtual bool parseConfig(int type, const std::string& text) { (void)type; (void)text; return false; }
};

class ScriptEngineManager {
public:
    static ScriptEngineManager* getInstance();
    static void destroyInstance();
    // Takes ownership; deletes the previous engine.
    void setScriptEngine(ScriptEngineProtocol* engine);
    ScriptEngineProtocol* getScriptEngine() const { return _engine; }
    void removeScriptEngine();
    // Changes whenever the script engine is set, removed or the manager
    // destroyed: what was derived from getScriptEngine() under one value holds
    // while it stays the same.
    static unsigned long engineGeneration();
    // Sends the message to the script engine's assert handler; logs
    // "Assert failed: %s" when no script engine takes it.
    static void sendAssert(const char* message);

private:
    ScriptEngineManager() = default;
    ~ScriptEngineManager();
    ScriptEngineProtocol* _engine = nullptr;
};

}  // namespace engine
