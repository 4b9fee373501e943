#pragma once
// Text lines drawn into pixels for a label's texture, with the system's fonts
// (Cairo over fontconfig). Each line is a fixed line height apart; the block of
// lines sits in the box by the vertical alignment and each line by the
// horizontal one. The outline, when wider than 0, is stroked under the fill.
#include <string>
#include <vector>

#include "engine/base/Types.h"
#include "engine/label/FontDefinition.h"

namespace engine {

struct LabelRasterInput {
    std::vector<std::string> lines;   // UTF-8
    std::string fontName;             // "" for the default sans-serif face
    float fontSize = 12.f;
    float lineHeight = 12.f;
    int width = 0, height = 0;        // the box in pixels
    TextHAlignment hAlignment = TextHAlignment::LEFT;
    TextVAlignment vAlignment = TextVAlignment::TOP;
    Color4B color{255, 255, 255, 255};
    Color4B outlineColor{0, 0, 0, 0};
    int outlineSize = 0;
};

// The advance of the widest line in pixels.
float measureLabelWidth(const LabelRasterInput& input);
// RGBA pixels, premultiplied by alpha, top row first; empty for an empty box.
std::vector<unsigned char> rasterizeLabel(const LabelRasterInput& input);

}  // namespace engine
