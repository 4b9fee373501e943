#pragma once
// Small engine utilities scripts reach through cc.utils.
#include <functional>
#include <string>
#include <vector>

namespace engine {

class Node;

namespace utils {

// Saves the next frame to filename (relative names go to the writable folder)
// and then calls afterCaptured(succeeded, full path) once, on the main thread,
// from the scheduler's next update. Headless there is no frame to read: the
// call reports false with the full path.
void captureScreen(const std::function<void(bool, const std::string&)>& afterCaptured, const std::string& filename);

// The descendants of node (depth first, in child order) named name.
std::vector<Node*> findChildren(const Node& node, const std::string& name);

}  // namespace utils
}  // namespace engine
