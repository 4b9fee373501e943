#pragma once
// A node whose children show only where its stencil node (retained) is drawn,
// or only where it is not when inverted; with an alpha threshold below 1 only
// the stencil's pixels above it count. The stencil enters and leaves the stage
// with the clipping node. Headless: the stencil and the settings are kept for
// drawing code and tests.
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

private:
    ClippingNode() = default;

    Node* _stencil = nullptr;
    float _alphaThreshold = 1.f;
    bool _inverted = false;
};

}  // namespace engine
