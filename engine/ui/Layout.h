#pragma once
// A container widget of a given content size with an optional background behind
// all its children: none, one solid colour, or a linear gradient (start and end
// colours along a vector, as LayerGradient draws it), each over its box at the
// background opacity; and, over that colour, a background image (its own size,
// centred on the box; with its scale9 enabled, laid out in nine slices over the
// whole box), tinted by its own colour and opacity. With clipping enabled, its children (and their children)
// draw only inside the layout's box: a scissor rectangle, the box's bounding
// rectangle in window pixels (a rotated layout clips to that upright rectangle),
// cut to any clip around it. The clip holds for the commands queued under the
// layout's global Z; both clipping types clip so. Touch as for every widget (off
// until enabled).
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
// Sizes are content sizes; anchors are honoured. Since every visit places the
// children, requestDoLayout has nothing left to ask for.
#include <cstdint>
#include <string>

#include "engine/renderer/Renderer.h"
#include "engine/ui/Widget.h"
#include "engine/ui/WidgetImage.h"

namespace engine {
class LayerColor;
class LayerGradient;
class Texture2D;
}  // namespace engine

namespace engine::ui {

class Layout : public Widget {
public:
    // Types as scripts number them.
    enum class BackGroundColorType { NONE = 0, SOLID = 1, GRADIENT = 2 };
    enum class Type { ABSOLUTE = 0, VERTICAL = 1, HORIZONTAL = 2, RELATIVE = 3 };
    enum class ClippingType { STENCIL = 0, SCISSOR = 1 };

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

    // Loads the background image (a file or a sprite-sheet frame); an empty name
    // removes it, a missing one logs and keeps the one there was.
    void setBackGroundImage(const std::string& file, TextureResType type = TextureResType::LOCAL);
    void removeBackGroundImage() { setBackGroundImage(""); }
    Texture2D* getBackGroundImageTexture() const { return _backGroundImage.texture(); }
    // The background image's own size (zero without one).
    Size getBackGroundImageTextureSize() const { return _backGroundImage.size(); }
    void setBackGroundImageScale9Enabled(bool enabled) { _backGroundImageScale9Enabled = enabled; }
    bool isBackGroundImageScale9Enabled() const { return _backGroundImageScale9Enabled; }
    // The image's centre slice in image points (a zero rectangle: the middle third).
    void setBackGroundImageCapInsets(const Rect& insets) { _backGroundImageCapInsets = insets; }
    const Rect& getBackGroundImageCapInsets() const { return _backGroundImageCapInsets; }
    void setBackGroundImageColor(const Color3B& color) { _backGroundImageColor = color; }
    const Color3B& getBackGroundImageColor() const { return _backGroundImageColor; }
    void setBackGroundImageOpacity(uint8_t opacity) { _backGroundImageOpacity = opacity; }
    uint8_t getBackGroundImageOpacity() const { return _backGroundImageOpacity; }

    void setLayoutType(Type type) { _layoutType = type; }
    Type getLayoutType() const { return _layoutType; }
    // Places the children by the layout type now.
    void forceDoLayout();
    void requestDoLayout() {}

    // Focus moving between the children: whether it wraps from the last back to
    // the first, and whether a focused layout hands it to a child.
    void setLoopFocus(bool loop) { _loopFocus = loop; }
    bool isLoopFocus() const { return _loopFocus; }
    void setPassFocusToChild(bool pass) { _passFocusToChild = pass; }
    bool isPassFocusToChild() const { return _passFocusToChild; }

    void setClippingEnabled(bool enabled) { _clippingEnabled = enabled; }
    bool isClippingEnabled() const { return _clippingEnabled; }
    void setClippingType(ClippingType type) { _clippingType = type; }
    ClippingType getClippingType() const { return _clippingType; }

    void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) override;

protected:
    Widget* createCloneInstance() override;
    void copySpecialProperties(Widget* model) override;
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
    ClippingType _clippingType = ClippingType::STENCIL;
    bool _loopFocus = false;
    bool _passFocusToChild = true;
    WidgetImage _backGroundImage;
    bool _backGroundImageScale9Enabled = false;
    Rect _backGroundImageCapInsets;
    Color3B _backGroundImageColor = Color3B::WHITE;
    uint8_t _backGroundImageOpacity = 255;
    // The background's drawing, kept by the layout (not its children); made on first use.
    LayerColor* _colorRenderer = nullptr;
    LayerGradient* _gradientRenderer = nullptr;
    Scale9Sprite* _imageRenderer = nullptr;
    CustomCommand _beginClip;
    CustomCommand _endClip;
};

}  // namespace engine::ui
