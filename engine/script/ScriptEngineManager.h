#pragma once
// The one script engine the engine talks to (the Lua engine, once the scripts start).
#include <string>

namespace engine {

class Ref;

class ScriptEngineProtocol {
public:
    virtual ~ScriptEngineProtocol() = default;
    // An engine object known to scripts is being destroyed.
    virtual void removeScriptObjectByObject(Ref* object) = 0;
    virtual int executeString(const char* code) = 0;
    virtual int executeScriptFile(const char* filename) = 0;
    // Lets scripts report a failed engine assertion; true when handled.
    virtual bool handleAssert(const char* message) { (void)message; return false; }
};

class ScriptEngineManager {
public:
    static ScriptEngineManager* getInstance();
    static void destroyInstance();
    // Takes ownership; deletes the previous engine.
    void setScriptEngine(ScriptEngineProtocol* engine);
    ScriptEngineProtocol* getScriptEngine() const { return _engine; }
    void removeScriptEngine();
    // Sends the message to the script engine's assert handler; logs
    // "Assert failed: %s" when no script engine takes it.
    static void sendAssert(const char* message);

private:
    ScriptEngineManager() = default;
    ~ScriptEngineManager();
    ScriptEngineProtocol* _engine = nullptr;
};

}  // namespace engine
