#pragma once
// The frame's command queue. Nodes queue render commands while the scene is
// visited; render() runs them in order of global Z (queue order among equals)
// and empties the queue. A queued command must stay alive until render() runs.
// Also keeps the frame's statistics: drawn batches and drawn vertices, counted
// by whoever issues the draw calls. Main thread only.
#include <cstddef>
#include <functional>
#include <vector>

namespace engine {

class RenderCommand {
public:
    virtual ~RenderCommand() = default;
    float getGlobalOrder() const { return _globalOrder; }
    virtual void execute() = 0;

protected:
    float _globalOrder = 0;
};

// A command that runs a function.
class CustomCommand : public RenderCommand {
public:
    void init(float globalZOrder) { _globalOrder = globalZOrder; }
    void execute() override {
        if (func) func();
    }

    std::function<void()> func;
};

class Renderer {
public:
    void addCommand(RenderCommand* command);
    size_t getQueuedCommandCount() const { return _queue.size(); }
    // Runs and drops the queued commands; a command queued while this runs waits
    // for the next render().
    void render();

    void addDrawnBatches(size_t number) { _drawnBatches += number; }
    void addDrawnVertices(size_t number) { _drawnVertices += number; }
    size_t getDrawnBatches() const { return _drawnBatches; }
    size_t getDrawnVertices() const { return _drawnVertices; }
    void clearDrawStats() { _drawnBatches = _drawnVertices = 0; }

private:
    std::vector<RenderCommand*> _queue;
    size_t _drawnBatches = 0;
    size_t _drawnVertices = 0;
};

}  // namespace engine
