#include "engine/base/Utils.h"

#include <utility>

#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/app/GLView.h"
#include "engine/files/FileUtils.h"
#include "engine/image/PngWriter.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/scene/Node.h"

namespace engine::utils {
namespace {

struct PendingCapture {
    std::function<void(bool, const std::string&)> afterCaptured;
    std::string path;
};
std::vector<PendingCapture> g_pending;

void report(const std::function<void(bool, const std::string&)>& afterCaptured, bool succeeded,
            const std::string& path) {
    Director::getInstance()->getScheduler()->performFunctionInEngineThread([afterCaptured, succeeded, path] {
        if (afterCaptured) afterCaptured(succeeded, path);
    });
}

// The window's pixels, bottom row first; empty when there is nothing to read.
std::vector<unsigned char> readFrame(int* width, int* height) {
    GLView* view = Director::getInstance()->getOpenGLView();
    if (!view || !GL::fn().hasContext) return {};
    const Size& frame = view->getFrameSize();
    *width = static_cast<int>(frame.width);
    *height = static_cast<int>(frame.height);
    if (*width <= 0 || *height <= 0) return {};
    std::vector<unsigned char> pixels(static_cast<size_t>(*width) * static_cast<size_t>(*height) * 4);
    const GLFunctions& gl = GL::fn();
    gl.pixelStorei(GL_PACK_ALIGNMENT, 1);
    gl.readPixels(0, 0, *width, *height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    // What the window shows is opaque, whatever the frame's alpha holds.
    for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 255;
    return pixels;
}

}  // namespace

void captureScreen(const std::function<void(bool, const std::string&)>& afterCaptured, const std::string& filename) {
    FileUtils* files = FileUtils::getInstance();
    std::string path = files->isAbsolutePath(filename) ? filename : files->getWritablePath() + filename;
    if (!GL::fn().hasContext || !Director::getInstance()->getOpenGLView()) {
        report(afterCaptured, false, path);
        return;
    }
    g_pending.push_back(PendingCapture{afterCaptured, std::move(path)});
}

void captureRenderedFrame() {
    if (g_pending.empty()) return;
    std::vector<PendingCapture> captures = std::move(g_pending);
    g_pending.clear();
    int width = 0, height = 0;
    const std::vector<unsigned char> pixels = readFrame(&width, &height);
    for (const PendingCapture& capture : captures) {
        const bool written = !pixels.empty() && writePngBottomUp(capture.path, pixels.data(), width, height);
        report(capture.afterCaptured, written, capture.path);
    }
}

std::vector<Node*> findChildren(const Node& node, const std::string& name) {
    std::vector<Node*> found;
    node.enumerateChildren(name, [&found](Node* child) {
        found.push_back(child);
        return false;
    });
    return found;
}

}  // namespace engine::utils
