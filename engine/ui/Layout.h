#pragma once
// A container widget of a given content size with an optional background: none,
// or one solid colour painted over its box at the background opacity. It does not
// clip its children. Touch as for every widget (off until enabled). Headless: the
// state alone.
#include <cstdint>

#include "engine/ui/Widget.h"

namespace engine::ui {

class Layout : public Widget {
public:
    // Types as scripts number them; a gradient is painted as its one colour.
    enum class BackGroundColorType { NONE = 0, SOLID = 1, GRADIENT = 2 };

    // A new layout: zero size, no background, anchor at the lower-left corner.
    static Layout* create();

    void setBackGroundColorType(BackGroundColorType type) { _backGroundColorType = type; }
    BackGroundColorType getBackGroundColorType() const { return _backGroundColorType; }
    void setBackGroundColor(const Color3B& color) { _backGroundColor = color; }
    const Color3B& getBackGroundColor() const { return _backGroundColor; }
    void setBackGroundColorOpacity(uint8_t opacity) { _backGroundColorOpacity = opacity; }
    uint8_t getBackGroundColorOpacity() const { return _backGroundColorOpacity; }
    // The colour painted behind the children; alpha 0 without a background.
    Color4B getPaintedBackGround() const;

protected:
    Layout() = default;
    bool init() override;

private:
    BackGroundColorType _backGroundColorType = BackGroundColorType::NONE;
    Color3B _backGroundColor = Color3B::WHITE;
    uint8_t _backGroundColorOpacity = 255;
};

}  // namespace engine::ui
