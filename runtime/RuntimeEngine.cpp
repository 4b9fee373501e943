#include "runtime/RuntimeEngine.h"

#include <climits>
#include <cstdlib>
#include <cstdio>
#include <vector>

#include <xxhash.h>

#include "engine/base/Log.h"
#include "engine/base/Version.h"
#include "engine/network/extra/HTTPRequest.h"
#include "host/config/DeviceInfo.h"
#include "runtime/AnalyticsConfig.h"
#include "engine/files/FileUtils.h"
#include "platform/Paths.h"
#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/scene/Scene.h"
#include "host/config/ConfigFileReader.h"
#include "runtime/ConnectWaitLayer.h"
#include "runtime/ConsoleCommand.h"
#include "runtime/FileServer.h"
#include "runtime/RuntimeCCSImpl.h"

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
    static RuntimeEngine* instance = [] {
        auto* engine = new RuntimeEngine();
        engine->addRuntime(RuntimeCCSImpl::create(), kRuntimeCcs);
        return engine;
    }();
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

void RuntimeEngine::updateConfigParser() {
    std::string entry = _project.getScriptFileRealPath();
    const std::string& projectDir = _project.getProjectDir();
    // Only a leading project folder is cut: cutting it wherever it occurs would
    // mangle an entry outside the project.
    if (!projectDir.empty() && entry.compare(0, projectDir.size(), projectDir) == 0) {
        entry.erase(0, projectDir.size());
    }
    replaceAll(entry, "\\", "/");
    host::ConfigFileReader* reader = host::ConfigFileReader::getInstance();
    reader->setEntryFile(entry);
    reader->setBindAddress(_project.getBindAddress());
}

void RuntimeEngine::setupRuntime() {
    updateConfigParser();
    const std::string& entry = host::ConfigFileReader::getInstance()->getEntryFile();
    struct Kind {
        RuntimeType type;
        const char* name;
        const char* extensions[2];
    };
    static const Kind kinds[] = {
        {kRuntimeLua, "lua", {".lua", nullptr}},
        {kRuntimeJs, "js", {".js", nullptr}},
        {kRuntimeCcs, "ccs", {".csb", ".csd"}},
    };
    for (const Kind& kind : kinds) {
        for (const char* extension : kind.extensions) {
            if (!extension || entry.rfind(extension) == std::string::npos) continue;
            _launchEvent = kind.name;
            _runtime = _runtimes[kind.type].get();
            return;
        }
    }
}

void RuntimeEngine::resetDesignResolution() {
    host::ConfigFileReader* reader = host::ConfigFileReader::getInstance();
    engine::Size size = reader->getInitViewSize();
    if (!reader->isLandscape()) std::swap(size.width, size.height);
    if (engine::GLView* view = engine::Director::getInstance()->getOpenGLView()) {
        view->setDesignResolutionSize(size.width, size.height, engine::ResolutionPolicy::EXACT_FIT);
    }
}

void RuntimeEngine::startScript(const std::string& args) {
    resetDesignResolution();
    if (_runtime) _runtime->startScript(args);
    trackLaunchEvent();
}

std::string RuntimeEngine::analyticsClientId(const std::string& userGuid) {
    char id[64];
    std::snprintf(id, sizeof id, "%x", static_cast<unsigned>(XXH32(userGuid.data(), userGuid.size(), 0)));
    return id;
}

void RuntimeEngine::trackEvent(const std::string& action) {
    if (!_analyticsEnabled) return;
    const std::string url = _analyticsUrl.empty() ? std::string(kAnalyticsUrl) : _analyticsUrl;
    engine::extra::HTTPRequest* request =
        engine::extra::HTTPRequest::createWithUrl(nullptr, url, engine::extra::HTTPRequest::kPOST);
    if (!request) return;
    request->addPOSTValue("v", "1");
    request->addPOSTValue("tid", "UA-40718365-1");
    request->addPOSTValue("cid", analyticsClientId(host::DeviceInfo::getInstance()->getUserGUID()));
    request->addPOSTValue("t", "event");
    request->addPOSTValue("an", "simulator");
    request->addPOSTValue("av", engine::engineVersion());
    request->addPOSTValue("ec", "win");
    request->addPOSTValue("ea", action);
    request->start();
}

void RuntimeEngine::start() {
    engine::FileUtils* files = engine::FileUtils::getInstance();
    std::string script = files->fullPathForFilename(_project.getScriptFileRealPath());
    replaceAll(script, "\\", "/");
    size_t slash = script.rfind('/');
    if (slash != std::string::npos) files->addSearchPath(script.substr(0, slash));
    files->addSearchPath(_project.getProjectDir());
    for (const std::string& path : _project.getSearchPath()) files->addSearchPath(path);

    if (_project.getDebuggerType() == host::ProjectConfig::kDebuggerNone) {
        setupRuntime();
        startScript("");
    } else {
        // The listeners open up beyond loopback only when "-listen" asks for it.
        host::ConfigFileReader::getInstance()->setBindAddress(_project.getBindAddress());
        startNetwork();
    }
}

bool RuntimeEngine::startNetwork() {
    ConsoleCommand::getShareInstance()->init();
    showUI();
    return true;
}

void RuntimeEngine::showUI() {
    engine::Scene* scene = engine::Scene::create();
    scene->addChild(ConnectWaitLayer::create());
    engine::Director::getInstance()->replaceScene(scene);
}

void RuntimeEngine::end() {
    if (_runtime) _runtime->end();
    _runtime = nullptr;
    for (auto& entry : _runtimes) entry.second.reset();
    ConsoleCommand::purge();
    FileServer::getShareInstance()->stop();
    host::ConfigFileReader::purge();
}

}  // namespace runtime
