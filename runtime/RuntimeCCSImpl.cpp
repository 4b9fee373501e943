#include "runtime/RuntimeCCSImpl.h"

#include <cstring>

#include <tinyxml2.h>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "engine/scene/Scene.h"
#include "engine/studio/CSLoader.h"
#include "engine/studio/timeline/ActionTimelineCache.h"
#include "engine/ui/Helper.h"
#include "host/config/ConfigFileReader.h"

namespace runtime {
namespace {

constexpr const char* kDashes = "------------------------------------------------";

// The engine's own readers, for every loader a caller leaves empty.
SceneFileLoaders withEngineLoaders(SceneFileLoaders l) {
    if (!l.createNode) {
        l.createNode = [](const std::string& file) { return engine::CSLoader::getInstance()->createNode(file); };
    }
    if (!l.createNodeForSimulator) {
        l.createNodeForSimulator = [](const std::string& file) {
            return engine::CSLoader::getInstance()->createNodeWithFlatBuffersForSimulator(file);
        };
    }
    if (!l.playTimeline) {
        l.playTimeline = [](engine::Node* node, const std::string& file) {
            auto* cache = studio::timeline::ActionTimelineCache::getInstance();
            if (auto* action = cache->createActionWithFlatBuffersForSimulator(file)) {
                node->runAction(action);
                action->gotoFrameAndPlay(0);
            }
        };
    }
    if (!l.doLayout) l.doLayout = [](engine::Node* node) { engine::ui::Helper::doLayout(node); };
    return l;
}

SceneFileLoaders& loaders() {
    static SceneFileLoaders l = withEngineLoaders({});
    return l;
}

void fitToVisibleArea(engine::Node* node) {
    node->setContentSize(engine::Director::getInstance()->getVisibleSize());
    loaders().doLayout(node);
}

void show(engine::Node* node) {
    engine::Director* director = engine::Director::getInstance();
    engine::Scene* scene = engine::Scene::create();
    scene->addChild(node);
    if (director->getRunningScene()) {
        director->replaceScene(scene);
    } else {
        director->runWithScene(scene);
    }
}

bool isCentredGroup(const std::string& xml) {
    tinyxml2::XMLDocument doc;
    if (doc.Parse(xml.data(), xml.size()) != tinyxml2::XML_SUCCESS) return false;
    const tinyxml2::XMLElement* root = doc.FirstChildElement();
    const tinyxml2::XMLElement* group = root ? root->FirstChildElement() : nullptr;
    if (!group || std::strcmp(group->Name(), "PropertyGroup") != 0) return false;
    const tinyxml2::XMLAttribute* first = group->FirstAttribute();
    if (!first || std::strcmp(first->Name(), "Type") != 0) return false;
    return std::strcmp(first->Value(), "Skeleton") == 0 || std::strcmp(first->Value(), "Node") == 0;
}

}  // namespace

std::unique_ptr<RuntimeCCSImpl> RuntimeCCSImpl::create() { return std::make_unique<RuntimeCCSImpl>(); }

void RuntimeCCSImpl::setLoaders(SceneFileLoaders l) { loaders() = withEngineLoaders(std::move(l)); }

void RuntimeCCSImpl::startScript(const std::string& file) {
    std::string entry = file.empty() ? host::ConfigFileReader::getInstance()->getEntryFile() : file;
    if (entry.rfind(".csd") != std::string::npos) {
        loadCSDProject(entry);
    } else if (entry.rfind(".csb") != std::string::npos) {
        loadCSBProject(entry);
    }
}

void RuntimeCCSImpl::loadCSBProject(const std::string& file) {
    engine::log("\n%s\n", kDashes);
    engine::log("[WARNING]: using **SUITABLE** Studio generate csb file!!");
    engine::log("LOAD Studio FILE (.csb): %s", file.c_str());
    engine::log("\n%s\n", kDashes);

    engine::Node* node = loaders().createNode(file);
    if (!node) return;
    fitToVisibleArea(node);
    show(node);
}

void RuntimeCCSImpl::loadCSDProject(const std::string& file) {
    engine::log("%s", kDashes);
    engine::log("LOAD Studio FILE (.csd): %s", file.c_str());
    engine::log("%s", kDashes);

    engine::Node* node = loaders().createNodeForSimulator(file);
    if (!node) return;
    loaders().playTimeline(node, file);
    fitToVisibleArea(node);

    engine::FileUtils* files = engine::FileUtils::getInstance();
    if (isCentredGroup(files->getStringFromFile(files->fullPathForFilename(file)))) {
        engine::Size visible = engine::Director::getInstance()->getVisibleSize();
        node->setPosition(visible.width / 2, visible.height / 2);
    }
    show(node);
}

}  // namespace runtime
