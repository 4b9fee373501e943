#pragma once
// Layers: full-screen nodes whose position is their lower-left corner (they ignore
// their centred anchor for it), and the layer filled with one colour.
#include "engine/renderer/RenderRecords.h"
#include "engine/scene/Node.h"

namespace engine {

class Layer : public Node {
public:
    // A new layer the size of the director's win size, autoreleased.
    static Layer* create();

protected:
    Layer() = default;
    bool init() override;
};

// A layer painted in one colour: the colour is the node's colour, its alpha the
// node's opacity.
class LayerColor : public Layer, public BlendProtocol {
public:
    // The blend function it draws with; alpha premultiplied by default.
    void setBlendFunc(const BlendFunc& blendFunc) override { _blendFunc = blendFunc; }
    const BlendFunc& getBlendFunc() const override { return _blendFunc; }

    // Transparent black, the win size.
    static LayerColor* create();
    // The colour, the win size.
    static LayerColor* create(const Color4B& color);
    // The colour, the given size.
    static LayerColor* create(const Color4B& color, float width, float height);

    // The colour as painted: colour and opacity.
    Color4B getColor4B() const;
    void changeWidthAndHeight(float width, float height) { setContentSize(Size(width, height)); }

protected:
    LayerColor() = default;
    bool initWithColor(const Color4B& color, float width, float height);
    BlendFunc _blendFunc = BlendFunc::ALPHA_PREMULTIPLIED;
};

}  // namespace engine
