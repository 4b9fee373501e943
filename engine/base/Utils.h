#pragma once
// Small engine utilities scripts reach through cc.utils.
#include <functional>
#include <string>
#include <vector>

namespace engine {

class Node;

namespace utils {

// Saves the next frame to filename as an opaque PNG (relative names go to the
// writable folder): once the director has rendered that frame, and before it is shown,
// the window's pixels are read back and written. Then afterCaptured(succeeded,
// full path) is called once, on the main thread, from the scheduler's next
// update. Headless (no GL context or no view) there is no frame to read: the
// call reports false with the full path.
void captureScreen(const std::function<void(bool, const std::string&)>& afterCaptured, const std::string& filename);

// Runs the captures asked for so far: called by the director after it renders a
// frame. A capture asked for while this runs waits for the next frame.
void captureRenderedFrame();

// The nodes below node that the path name finds, in the order
// Node::enumerateChildren visits them: "x" the children named x, "//x" every
// descendant named x, "a/b" the children b of the children a, "*" any run of
// characters.
std::vector<Node*> findChildren(const Node& node, const std::string& name);

}  // namespace utils
}  // namespace engine
