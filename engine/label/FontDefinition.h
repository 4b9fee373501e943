#pragma once
// How a system-font label is drawn: font, size, alignment, box, fill colour, shadow
// and outline stroke.
#include <cstdint>
#include <string>

#include "engine/base/Types.h"

namespace engine {

enum class TextHAlignment : int32_t { LEFT, CENTER, RIGHT };
enum class TextVAlignment : int32_t { TOP, CENTER, BOTTOM };

struct FontShadow {
    bool shadowEnabled = false;
    Size shadowOffset;
    float shadowBlur = 0.f;
    float shadowOpacity = 0.f;
};

struct FontStroke {
    bool strokeEnabled = false;
    Color3B strokeColor;
    uint8_t strokeAlpha = 255;
    float strokeSize = 0.f;
};

struct FontDefinition {
    std::string fontName;
    int32_t fontSize = 0;
    TextHAlignment alignment = TextHAlignment::CENTER;
    TextVAlignment vertAlignment = TextVAlignment::TOP;
    Size dimensions;
    Color3B fontFillColor = Color3B::WHITE;
    uint8_t fontAlpha = 255;
    FontShadow shadow;
    FontStroke stroke;
};

}  // namespace engine
