#pragma once
// A node whose children show only where its stencil node (retained) is drawn,
// or only where it is not when inverted. The stencil enters and leaves the stage
// with the clipping node. It draws nothing of its own: it draws through its
// stencil, visited under the clipping node's transform as a stencil layer of the
// renderer (Renderer.h) at the node's global Z, its children clipped by it.
// Without a visible stencil nothing shows, or, inverted, the children unclipped.
// The alpha threshold is kept for scripts; every drawn pixel of the stencil
// counts, whatever its alpha.
#include "engine/renderer/Renderer.h"
#include "engine/scene/Node.h"

namespace engine {

class ClippingNode : public Node {
public:
    static ClippingNode* create();
    static ClippingNode* create(Node* stencil);
    ~ClippingNode() override;

    void setStencil(Node* stencil);
    Node* getStencil() const { return _stencil; }
    // Clamped to 0..1; 1 by default.
    void setAlphaThreshold(float threshold);
    float getAlphaThreshold() const { return _alphaThreshold; }
    void setInverted(bool inverted) { _inverted = inverted; }
    bool isInverted() const { return _inverted; }

    void onEnter() override;
    void onEnterTransitionDidFinish() override;
    void onExitTransitionDidStart() override;
    void onExit() override;
    void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) override;

private:
    ClippingNode() = default;

    Node* _stencil = nullptr;
    float _alphaThreshold = 1.f;
    bool _inverted = false;
    CustomCommand _beginStencil;
    CustomCommand _endStencilDrawing;
    CustomCommand _endStencil;
};

}  // namespace engine
