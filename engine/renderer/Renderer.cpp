#include "engine/renderer/Renderer.h"

#include <algorithm>

namespace engine {

void Renderer::addCommand(RenderCommand* command) {
    if (command) _queue.push_back(command);
}

void Renderer::render() {
    std::vector<RenderCommand*> queue;
    queue.swap(_queue);
    std::stable_sort(queue.begin(), queue.end(), [](const RenderCommand* a, const RenderCommand* b) {
        return a->getGlobalOrder() < b->getGlobalOrder();
    });
    for (RenderCommand* command : queue) command->execute();
}

}  // namespace engine
