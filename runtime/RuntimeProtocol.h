#pragma once
// One kind of script runtime that the runtime engine and the remote console drive:
// start an entry file and answer the debugger's commands. The defaults do nothing
// but log that the command is not supported. The runtime engine owns the
// registered runtimes.
#include <string>

#include <rapidjson/document.h>

namespace runtime {

class RuntimeProtocol {
public:
    virtual ~RuntimeProtocol() = default;

    virtual void end() {}
    virtual void startScript(const std::string& file);
    // The request is read only; the reply is the object the console sends back.
    virtual void onStartDebuger(const rapidjson::Document& request, rapidjson::Document& reply);
    virtual void onClearCompile(const rapidjson::Document& request, rapidjson::Document& reply);
    virtual void onPrecompile(const rapidjson::Document& request, rapidjson::Document& reply);
    virtual void onReload(const rapidjson::Document& request, rapidjson::Document& reply);
    virtual void onRemove(const std::string& /*file*/) {}

    void setProjectPath(const std::string& path) { _projectPath = path; }
    const std::string& getProjectPath() const { return _projectPath; }

private:
    std::string _projectPath;
};

}  // namespace runtime
