#pragma once
// A node that keeps a list of drawn shapes in its own coordinates until clear().
// Headless: the shapes are recorded, not rasterised; a renderer turns them into
// triangles when it draws the node.
#include <vector>

#include "engine/renderer/RenderRecords.h"
#include "engine/scene/Node.h"

namespace engine {

class DrawNode : public Node, public BlendProtocol {
public:
    // The blend function it draws with; alpha premultiplied by default.
    void setBlendFunc(const BlendFunc& blendFunc) override { _blendFunc = blendFunc; }
    const BlendFunc& getBlendFunc() const override { return _blendFunc; }

    struct Shape {
        enum class Kind { SolidRect, SolidCircle };
        Kind kind;
        Color4F color;
        Vec2 origin, destination;   // SolidRect: opposite corners
        Vec2 center;                // SolidCircle
        float radius = 0.f;
        float angle = 0.f;          // radians
        unsigned int segments = 0;
    };

    static DrawNode* create();

    // A filled axis-aligned rectangle between two opposite corners.
    void drawSolidRect(const Vec2& origin, const Vec2& destination, const Color4F& color);
    // A filled circle as a polygon of `segments` sides, the first vertex at `angle`.
    // Fewer than 3 segments draw nothing.
    void drawSolidCircle(const Vec2& center, float radius, float angle, unsigned int segments, const Color4F& color);
    void clear() { _shapes.clear(); }
    const std::vector<Shape>& getShapes() const { return _shapes; }

protected:
    DrawNode() = default;

private:
    std::vector<Shape> _shapes;
    BlendFunc _blendFunc = BlendFunc::ALPHA_PREMULTIPLIED;
};

}  // namespace engine
