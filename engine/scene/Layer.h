#pragma once
// Layers: full-screen nodes whose position is their lower-left corner (they ignore
// their centred anchor for it), the layer filled with one colour and the layer
// filled with a linear gradient. A plain layer has nothing of its own to draw: it
// only holds children.
#include "engine/renderer/QuadCommand.h"
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
// node's opacity. Drawn as one plain quad over its content box with its blend
// function.
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
    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    LayerColor() = default;
    bool initWithColor(const Color4B& color, float width, float height);

private:
protected:
    QuadCommand _quad;
    BlendFunc _blendFunc = BlendFunc::ALPHA_PREMULTIPLIED;
};

// A layer painted with a linear gradient: from the start colour (the node's colour)
// at the start opacity to the end colour at the end opacity, along the vector in
// node space (default (0, -1): the start at the top, the end at the bottom). The
// node's displayed opacity scales both opacities. Drawn as one quad with a colour
// per corner: each corner takes the share of the start colour that its position
// along the vector gives, measured over the box's diagonal. With compressed
// interpolation (the default) the vector is stretched so that the start and end
// colours are reached in full at the corners also for slanted vectors. A zero
// vector paints the start colour.
class LayerGradient : public LayerColor {
public:
    // Opaque black to opaque black, the win size.
    static LayerGradient* create();
    static LayerGradient* create(const Color4B& start, const Color4B& end);
    static LayerGradient* create(const Color4B& start, const Color4B& end, const Vec2& vector);

    void setStartColor(const Color3B& color) { setColor(color); }
    const Color3B& getStartColor() const { return getColor(); }
    void setEndColor(const Color3B& color) { _endColor = color; }
    const Color3B& getEndColor() const { return _endColor; }
    void setStartOpacity(uint8_t opacity) { _startOpacity = opacity; }
    uint8_t getStartOpacity() const { return _startOpacity; }
    void setEndOpacity(uint8_t opacity) { _endOpacity = opacity; }
    uint8_t getEndOpacity() const { return _endOpacity; }
    void setVector(const Vec2& vector) { _vector = vector; }
    const Vec2& getVector() const { return _vector; }
    void setCompressedInterpolation(bool compressed) { _compressed = compressed; }
    bool isCompressedInterpolation() const { return _compressed; }

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    LayerGradient() = default;
    bool initWithColor(const Color4B& start, const Color4B& end, const Vec2& vector);

private:
    Color3B _endColor{0, 0, 0};
    uint8_t _startOpacity = 255;
    uint8_t _endOpacity = 255;
    Vec2 _vector{0, -1};
    bool _compressed = true;
};

}  // namespace engine
