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

    void setClippingEnabled(bool enabled) { _clippingEnabled = enabled; }
    bool isClippingEnabled() const { return _clippingEnabled; }

    void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) override;

protected:
    Layout() = default;
    bool init() override;
    bool isClippingChildren() const override { return _clippingEnabled; }

private:
    void visitBackGround(Renderer* renderer, const Mat4& transform, uint32_t flags);

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
