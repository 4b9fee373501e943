#pragma once
// The scene-file runtime: shows a studio scene file, ".csd" (XML project file) or
// ".csb" (binary), as the running scene. Files are read by the engine's studio
// readers (engine::CSLoader, the timeline cache, ui::Helper::doLayout), reached
// through SceneFileLoaders so that tests can stand in for them.
#include <functional>
#include <memory>
#include <string>

#include "runtime/RuntimeProtocol.h"

namespace engine {
class Node;
}

namespace runtime {

struct SceneFileLoaders {
    // The node tree of a ".csb" file (autoreleased); nullptr when it cannot be read.
    std::function<engine::Node*(const std::string& file)> createNode;
    // The node tree of a ".csd" file for the simulator; nullptr when it cannot be read.
    std::function<engine::Node*(const std::string& file)> createNodeForSimulator;
    // Runs the file's timeline action, if it has one, on the node from frame 0.
    std::function<void(engine::Node* node, const std::string& file)> playTimeline;
    // Lays the node's widgets out for its content size.
    std::function<void(engine::Node* node)> doLayout;
};

class RuntimeCCSImpl : public RuntimeProtocol {
public:
    static std::unique_ptr<RuntimeCCSImpl> create();
    // Replaces the loaders; a member left empty is the engine's own, so
    // setLoaders({}) brings every one back.
    static void setLoaders(SceneFileLoaders loaders);

    // Empty: the configured entry file. ".csd" is looked for first, then ".csb";
    // any other name does nothing.
    void startScript(const std::string& file) override;
    void onStartDebuger(const rapidjson::Document&, rapidjson::Document&) override {}
    void onReload(const rapidjson::Document&, rapidjson::Document&) override {}

    void loadCSBProject(const std::string& file);
    // A ".csd" whose first child element is a "PropertyGroup" with the first
    // attribute Type="Skeleton" or Type="Node" is centred in the visible area.
    void loadCSDProject(const std::string& file);
};

}  // namespace runtime
