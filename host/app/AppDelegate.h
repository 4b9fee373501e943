#pragma once
// The client's engine application: the engine's main loop calls it when the game
// has launched, is hidden and is shown again. Launching starts the resource update;
// only the update's completion starts the scripts (startLua), on the main thread.
// A failed script start ends the program with status 1 (see exitStatus).
#include <functional>
#include <string>

#include <lua.hpp>

#include "engine/app/Application.h"

namespace host {

class AppDelegate : public engine::Application {
public:
    AppDelegate() = default;
    // Ends the audio engine.
    ~AppDelegate() override;

    // Frame interval 1/60 s, logs the writable path, starts the update with startLua
    // as its completion. Returns true at once.
    bool applicationDidFinishLaunching() override;
    // With a Lua script engine in place, calls the global "applicationOnDeactive"
    // (a missing global is ignored); then stops the director's animation.
    void applicationDidEnterBackground() override;
    // Starts the director's animation; then, with a Lua script engine in place,
    // calls the global "applicationOnActive".
    void applicationWillEnterForeground() override;

    // The script start: the Lua engine becomes the script engine, the modules
    // register, the script key is set, the portal's natives and the client fixes
    // are installed, then "src/main.lua" runs. False when it could not be read or
    // loaded or raised an error (each reported in the log); a project without
    // "src/main.lua" (nor ".luac") runs no script and is no failure.
    static bool startLua();
    // What the program exits with: 1 once a script start has failed (the update's
    // completion then ends the director), else 0.
    static int exitStatus();
    // The module registration list, in its fixed order; returns 1.
    static int registerScriptModules(lua_State* L);

    // Tests: called with each step's name just before the script start runs it
    // ("register_audio_module" .. "register_navmesh_module", "luaopen_pb",
    // "preload_cjson", "setScriptKey", "registerPayWebViewBinding",
    // "registerNativeBridge", "installTextInputFix", "installClientFixes",
    // "installAnrFix", "src/main.lua"). Empty: no recording.
    static void setScriptStartRecorder(std::function<void(const std::string& step)> recorder);
};

}  // namespace host
