#pragma once
// A scene node drawn by a script. Each time the scene is drawn the node queues
// one render command; when the renderer runs it, the node's draw handler (the
// script function kept by the script handler manager under the node and
// GL_NODE_DRAW) is called as handler(transform, flags): transform a table of the
// 16 numbers of the node's world transform in storage order (keys 1..16), flags
// a whole number. Meanwhile the director's model-view matrix is that transform,
// so DrawPrimitives draw in the node's space, and the projection is the frame's
// (orthographic over the design size). Without a handler the command does
// nothing; an error in the handler is logged by the script host and the frame
// goes on. The Lua stack is left as the handler found it. Main thread only.
#include <cstdint>

#include "engine/base/Mat4.h"
#include "engine/renderer/Renderer.h"
#include "engine/scene/Node.h"

namespace bindings {

class GLNode : public engine::Node {
public:
    // Autoreleased.
    static GLNode* create();

    void draw(engine::Renderer* renderer, const engine::Mat4& transform, uint32_t flags) override;
    // Runs the draw handler; reached through the queued command.
    void onDraw(const engine::Mat4& transform, uint32_t flags);

protected:
    GLNode() = default;

private:
    engine::CustomCommand _drawCommand;
};

}  // namespace bindings
