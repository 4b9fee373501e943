#pragma once
// The remote-debug runtime engine. At start-up it takes a copy of the project
// configuration and puts the file server's write folder and the project folder in
// front of the engine's search paths. It keeps the registry of script runtimes.
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

class RuntimeEngine {
public:
    // Created on first use, never destroyed.
    static RuntimeEngine* getInstance();

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
    RuntimeProtocol* getRuntime() const { return _runtime; }

private:
    RuntimeEngine() = default;

    RuntimeProtocol* _runtime = nullptr;
    host::ProjectConfig _project;
    std::unordered_map<int, std::unique_ptr<RuntimeProtocol>> _runtimes;
};

}  // namespace runtime
