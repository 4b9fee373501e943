#pragma once
// The remote-debug runtime engine. At start-up it takes a copy of the project
// configuration and puts the file server's write folder and the project folder in
// front of the engine's search paths; nothing more runs on that road. It keeps the
// registry of script runtimes by type (1 "lua", 2 "js", 4 "ccs" for studio scene
// files, the one registered at creation), chooses a runtime by the entry file's
// extension and starts the entry. Its network start opens the remote console and the
// file server and shows the wait screen. Main thread only.
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "host/config/ProjectConfig.h"
#include "runtime/RuntimeProtocol.h"

namespace runtime {

// Replaces every occurrence of `from` in `text` by `to`, scanning on after each
// inserted text (so the replacement is never rescanned). An empty `from` changes nothing.
void replaceAll(std::string& text, const std::string& from, const std::string& to);

// What the runtime needs of the host above it. Empty members fall back to the
// defaults described at RuntimeEngine::setHostHooks.
struct HostHooks {
    std::function<std::string()> absoluteApplicationPath;
    std::function<void()> shutDownApp;
};

// Runtime types and the kinds sent as the launch event.
enum RuntimeType { kRuntimeLua = 1, kRuntimeJs = 2, kRuntimeCcs = 4 };

class RuntimeEngine {
public:
    // Created on first use (registering the scene-file runtime as type 4), never destroyed.
    static RuntimeEngine* getInstance();
    static const char* getRuntimeVersion() { return "2.0"; }

    // Installed by the host at start-up. Without a hook, the application path is the
    // executable's folder made absolute, and shutting down does nothing.
    static void setHostHooks(HostHooks hooks);
    static std::string getAbsoluteApplicationPath();
    static void shutDownApp();

    // Keeps a copy of the configuration, then updateConfigFile with its project folder.
    void setProjectConfig(const host::ProjectConfig& config);
    const host::ProjectConfig& getProjectConfig() const { return _project; }

    // Sets the project folder (empty: the executable's folder followed by "/../../")
    // and puts the file server's write folder and the project folder, in that order,
    // in front of the engine's search paths.
    void updateConfigFile(const std::string& projectDir);
    // The project folder as last set by updateConfigFile.
    static std::string getProjectDirectory();

    // Registers a runtime under its type. A type already registered keeps its runtime;
    // the new one is logged and discarded.
    void addRuntime(std::unique_ptr<RuntimeProtocol> runtime, int type);
    // The runtime chosen by setupRuntime; null before, and after end().
    RuntimeProtocol* getRuntime() const { return _runtime; }

    // Hands the entry file (made project-relative) and the bind address to the
    // configuration reader, then chooses the runtime by the entry's extension:
    // ".lua" (also ".luac"), else ".js", else ".csb" or ".csd". An entry with none
    // of them changes nothing; a type without a registered runtime leaves none.
    void setupRuntime();
    // Resets the design resolution, starts the entry on the current runtime (if
    // any), then sends the launch event.
    void startScript(const std::string& args);
    // The configured initial view size (swapped when not landscape), exact fit.
    void resetDesignResolution();

    // Launch analytics: off unless enabled (nothing in the program enables it).
    // When on, trackEvent posts one measurement-protocol event form to the
    // collection address (built in; tests replace it) and never reads the answer.
    // The client id is XXH32 (seed 0) of the user identifier, in lower-case hex.
    void setAnalyticsEnabled(bool enabled) { _analyticsEnabled = enabled; }
    bool isAnalyticsEnabled() const { return _analyticsEnabled; }
    void setAnalyticsUrl(const std::string& url) { _analyticsUrl = url; }
    const std::string& getAnalyticsUrl() const { return _analyticsUrl; }
    void trackEvent(const std::string& action);
    static std::string analyticsClientId(const std::string& userGuid);
    void trackLaunchEvent() { trackEvent(_launchEvent); }
    // "empty" until setupRuntime finds a runtime kind.
    const std::string& getLaunchEvent() const { return _launchEvent; }

    // Adds the entry's folder, the project folder and the configured search paths to
    // the search paths, then either starts the entry (no debugger) or the network.
    void start();
    // Opens the remote console and the file server, then shows the wait screen.
    bool startNetwork();
    void showUI();
    // Ends and deletes every runtime, stops the console and the file server and
    // forgets the configuration reader.
    void end();

private:
    RuntimeEngine() = default;
    void updateConfigParser();

    RuntimeProtocol* _runtime = nullptr;
    bool _analyticsEnabled = false;
    std::string _analyticsUrl;
    std::string _launchEvent = "empty";
    host::ProjectConfig _project;
    std::unordered_map<int, std::unique_ptr<RuntimeProtocol>> _runtimes;
};

}  // namespace runtime
