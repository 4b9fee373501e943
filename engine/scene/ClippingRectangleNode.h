#pragma once
// A node that shows its children only inside a rectangle of its own space
// (the clipping region), while clipping is enabled: the region, through the
// node's transform, becomes a scissor rectangle of window pixels for the
// drawing of the node and its children.
#include "engine/renderer/Renderer.h"
#include "engine/scene/Node.h"

namespace engine {

// The window pixels that `region` under `transform` covers: the bounding
// rectangle of its corners in design points, through the view's last viewport.
Rect windowRectOf(const Mat4& transform, const Rect& region);

class ClippingRectangleNode : public Node {
public:
    // Autoreleased; without a region it clips to an empty rectangle until given one.
    static ClippingRectangleNode* create();
    static ClippingRectangleNode* create(const Rect& clippingRegion);

    const Rect& getClippingRegion() const { return _region; }
    void setClippingRegion(const Rect& region) { _region = region; }
    bool isClippingEnabled() const { return _clippingEnabled; }
    void setClippingEnabled(bool enabled) { _clippingEnabled = enabled; }

    void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) override;

private:
    ClippingRectangleNode() = default;
    Rect _region;
    bool _clippingEnabled = true;
    CustomCommand _beginClip;
    CustomCommand _endClip;
};

}  // namespace engine
