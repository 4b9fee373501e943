#pragma once
// A container widget of a given content size with an optional background behind
// all its children: none, one solid colour, or a linear gradient (start and end
// colours along a vector, as LayerGradient draws it), each over its box at the
// background opacity; and, over that colour, a background image (its own size,
// centred on the box). With clipping enabled, its children (and their children)
// draw only inside the layout's box: a scissor rectangle, the box's bounding
// rectangle in window pixels (a rotated layout clips to that upright rectangle),
// cut to any clip around it. The clip holds for the commands queued under the
// layout's global Z. Touch as for every widget (off until enabled).
//
// Layout types place the widget children (other children stay where they are)
// every time the layout is visited, or at once with forceDoLayout:
// - ABSOLUTE: nothing moves.
// - VERTICAL: top down in child order, each below the previous one's bottom
//   margin plus its own top margin; across, by the linear gravity: at the left
//   (NONE, LEFT) after the left margin, at the right before the right margin,
//   or centred.
// - HORIZONTAL: left to right in child order, each after the previous one's
//   right margin plus its own left margin; up and down, at the top (NONE, TOP)
//   below the top margin, at the bottom above the bottom margin, or centred.
// - RELATIVE: each widget with a relative parameter at its align: inside the
//   layout's box at a side, corner or centre, kept off the sides by its margins;
//   or beside the sibling named as its relative-to widget (above, below, left or
//   right of that sibling's box, past the margin, lined up with one of its edges
//   or its centre). A widget without such a parameter, or whose named sibling is
//   not there, stays put.
// Sizes are content sizes; anchors are honoured.
#include <cstdint>
#include <string>

#include "engine/renderer/Renderer.h"
#include "engine/ui/Widget.h"

namespace engine {
class LayerColor;
class LayerGradient;
class Sprite;
class Texture2D;
}  // namespace engine

namespace engine::ui {

class Layout : public Widget {
public:
    // Types as scripts number them.
    enum class BackGroundColorType { NONE = 0, SOLID = 1, GRADIENT = 2 };
    enum class Type { ABSOLUTE = 0, VERTICAL = 1, HORIZONTAL = 2, RELATIVE = 3 };

    // A new layout: zero size, no background, anchor at the lower-left corner.
    static Layout* create();
    ~Layout() override;

    void setBackGroundColorType(BackGroundColorType type) { _backGroundColorType = type; }
    BackGroundColorType getBackGroundColorType() const { return _backGroundColorType; }
    // The solid colour.
    void setBackGroundColor(const Color3B& color) { _backGroundColor = color; }
    const Color3B& getBackGroundColor() const { return _backGroundColor; }
    // The gradient's colours (default white to black) and vector (default (0, -1)).
    void setBackGroundColor(const Color3B& start, const Color3B& end) {
        _gradientStart = start;
        _gradientEnd = end;
    }
    const Color3B& getBackGroundStartColor() const { return _gradientStart; }
    const Color3B& getBackGroundEndColor() const { return _gradientEnd; }
    void setBackGroundColorVector(const Vec2& vector) { _gradientVector = vector; }
    const Vec2& getBackGroundColorVector() const { return _gradientVector; }
    void setBackGroundColorOpacity(uint8_t opacity) { _backGroundColorOpacity = opacity; }
    uint8_t getBackGroundColorOpacity() const { return _backGroundColorOpacity; }
    // The solid colour painted behind the children; alpha 0 unless the type is SOLID.
    Color4B getPaintedBackGround() const;

    // Loads the background image (see replaceWidgetImage); an empty name removes it.
    void setBackGroundImage(const std::string& file, TextureResType type = TextureResType::LOCAL);
    Texture2D* getBackGroundImageTexture() const { return _backGroundImage; }

    void setLayoutType(Type type) { _layoutType = type; }
    Type getLayoutType() const { return _layoutType; }
    // Places the children by the layout type now.
    void forceDoLayout();

    void setClippingEnabled(bool enabled) { _clippingEnabled = enabled; }
    bool isClippingEnabled() const { return _clippingEnabled; }

    void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) override;

protected:
    Layout() = default;
    bool init() override;
    bool isClippingChildren() const override { return _clippingEnabled; }

private:
    void visitBackGround(Renderer* renderer, const Mat4& transform, uint32_t flags);

    void doLinearLayout(bool vertical);
    void doRelativeLayout();

    Type _layoutType = Type::ABSOLUTE;
    BackGroundColorType _backGroundColorType = BackGroundColorType::NONE;
    Color3B _backGroundColor = Color3B::WHITE;
    Color3B _gradientStart = Color3B::WHITE;
    Color3B _gradientEnd{0, 0, 0};
    Vec2 _gradientVector{0, -1};
    uint8_t _backGroundColorOpacity = 255;
    bool _clippingEnabled = false;
    Texture2D* _backGroundImage = nullptr;
    // The background's drawing, kept by the layout (not its children); made on first use.
    LayerColor* _colorRenderer = nullptr;
    LayerGradient* _gradientRenderer = nullptr;
    Sprite* _imageRenderer = nullptr;
    CustomCommand _beginClip;
    CustomCommand _endClip;
};

}  // namespace engine::ui
