#include "runtime/RuntimeEngine.h"

#include <climits>
#include <cstdlib>
#include <vector>

#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "platform/Paths.h"
#include "runtime/FileServer.h"

namespace runtime {
namespace {

HostHooks& hooks() {
    static HostHooks h;
    return h;
}

std::string& projectDirectory() {
    static std::string dir;
    return dir;
}

}  // namespace

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    if (from.empty()) return;
    size_t pos = 0;
    while ((pos = text.find(from, pos)) != std::string::npos) {
        text.replace(pos, from.size(), to);
        pos += to.size();
    }
}

RuntimeEngine* RuntimeEngine::getInstance() {
    static RuntimeEngine* instance = new RuntimeEngine();
    return instance;
}

void RuntimeEngine::setHostHooks(HostHooks h) { hooks() = std::move(h); }

std::string RuntimeEngine::getAbsoluteApplicationPath() {
    if (hooks().absoluteApplicationPath) return hooks().absoluteApplicationPath();
    std::string dir = platform::executableDir();
    if (dir.empty()) return "";
    std::string resolved = platform::realPath(dir);
    return resolved.empty() ? dir : resolved;
}

void RuntimeEngine::shutDownApp() {
    if (hooks().shutDownApp) hooks().shutDownApp();
}

void RuntimeEngine::setProjectConfig(const host::ProjectConfig& config) {
    _project = config;
    updateConfigFile(_project.getProjectDir());
}

std::string RuntimeEngine::getProjectDirectory() { return projectDirectory(); }

void RuntimeEngine::updateConfigFile(const std::string& projectDir) {
    engine::FileUtils* files = engine::FileUtils::getInstance();
    std::vector<std::string> searchPaths = files->getSearchPaths();

    std::string& dir = projectDirectory();
    if (projectDir.empty()) {
        dir = getAbsoluteApplicationPath() + "/../../";
        replaceAll(dir, "\\", "/");
    } else {
        dir = projectDir;
    }

    searchPaths.insert(searchPaths.begin(), dir);
    searchPaths.insert(searchPaths.begin(), FileServer::getShareInstance()->getWritePath());
    files->setSearchPaths(searchPaths);
}

void RuntimeEngine::addRuntime(std::unique_ptr<RuntimeProtocol> runtime, int type) {
    if (_runtimes.count(type)) {
        engine::log("RuntimeEngine already has Runtime type %d.", type);
        return;
    }
    _runtimes[type] = std::move(runtime);
}

}  // namespace runtime
