#include "engine/base/Utils.h"

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/files/FileUtils.h"
#include "engine/scene/Node.h"

namespace engine::utils {

void captureScreen(const std::function<void(bool, const std::string&)>& afterCaptured, const std::string& filename) {
    FileUtils* files = FileUtils::getInstance();
    const std::string path = files->isAbsolutePath(filename) ? filename : files->getWritablePath() + filename;
    Director::getInstance()->getScheduler()->performFunctionInEngineThread([afterCaptured, path] {
        if (afterCaptured) afterCaptured(false, path);
    });
}

namespace {
void collect(const Node& node, const std::string& name, std::vector<Node*>& out) {
    for (Node* child : node.getChildren()) {
        if (child->getName() == name) out.push_back(child);
        collect(*child, name, out);
    }
}
}  // namespace

std::vector<Node*> findChildren(const Node& node, const std::string& name) {
    std::vector<Node*> found;
    collect(node, name, found);
    return found;
}

}  // namespace engine::utils
