#pragma once
// The frame's command queue. Nodes queue render commands while the scene is
// visited; render() runs them in order of global Z (queue order among equals)
// and empties the queue. Consecutive quad commands (QuadCommand.h) of the same
// texture, program and blend function go out in one draw call (auto-batching);
// any other command draws what was gathered first. A queued command must stay
// alive until render() runs. Also keeps the frame's statistics: drawn batches
// and drawn vertices, counted by whoever issues the draw calls. Main thread only.
//
// Rectangle clipping: commands that run while a scissor rectangle is pushed draw
// only inside it (cut to the rectangles pushed before it); popping the last one
// turns the scissor test off. A frame's commands push and pop in pairs.
//
// Stencil clipping, in layers (one stencil bit each, 8 at most; a deeper layer
// clips nothing): pushStencil() starts a layer and its stencil drawing, in which
// draws only mark their pixels in the layer's bit and show nothing;
// endStencilDrawing() ends it, after which draws show only where every layer in
// force is marked (unmarked for an inverted layer); popStencil() ends the layer.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace engine {

class QuadCommand;
class Texture2D;
struct V2F_C4B_T2F;

class RenderCommand {
public:
    virtual ~RenderCommand() = default;
    float getGlobalOrder() const { return _globalOrder; }
    virtual void execute() = 0;
    virtual QuadCommand* asQuadCommand() { return nullptr; }

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
    Renderer() = default;
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    void addCommand(RenderCommand* command);
    size_t getQueuedCommandCount() const { return _queue.size(); }
    // Runs and drops the queued commands; a command queued while this runs waits
    // for the next render().
    void render();

    // Draws world-space quads (4 vertices each) with the command's texture,
    // program and blend function, in as few draw calls as 16-bit indices allow.
    void drawQuads(const QuadCommand& style, const V2F_C4B_T2F* vertices, size_t quadCount);
    // A 1 x 1 opaque white texture: plain-colour quads draw with it.
    Texture2D* getWhiteTexture();

    // Window pixels, origin at the bottom-left; rounded outwards to whole pixels.
    void pushScissor(float x, float y, float width, float height);
    void popScissor();
    size_t getScissorDepth() const { return _scissors.size(); }
    void pushStencil(bool inverted);
    void endStencilDrawing();
    void popStencil();
    size_t getStencilDepth() const { return _stencils.size(); }

    void addDrawnBatches(size_t number) { _drawnBatches += number; }
    void addDrawnVertices(size_t number) { _drawnVertices += number; }
    size_t getDrawnBatches() const { return _drawnBatches; }
    size_t getDrawnVertices() const { return _drawnVertices; }
    void clearDrawStats() { _drawnBatches = _drawnVertices = 0; }

private:
    void run(std::vector<RenderCommand*>& queue);
    void flushBatch();

    // Both keep their storage from frame to frame: render() swaps them, so a
    // command queued while it runs lands in the other.
    std::vector<RenderCommand*> _queue;
    std::vector<RenderCommand*> _running;
    bool _rendering = false;
    size_t _drawnBatches = 0;
    size_t _drawnVertices = 0;
    QuadCommand* _batchStyle = nullptr;          // the first command of the gathered batch
    size_t _batchCommands = 0;                   // commands in it; one draws from its own vertices
    std::vector<V2F_C4B_T2F>* _batch = nullptr;  // gathered vertices of two or more commands (owned)
    std::vector<uint16_t> _indices;              // 0 1 2, 2 1 3 per quad, made once
    Texture2D* _white = nullptr;
    struct PixelRect {
        int x0, y0, x1, y1;
    };
    std::vector<PixelRect> _scissors;   // in force: the last
    struct StencilLayer {
        unsigned bit;   // 0: past the last bit, clips nothing
        bool inverted;
    };
    std::vector<StencilLayer> _stencils;
    void applyStencilTest();
};

}  // namespace engine
