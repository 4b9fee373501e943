#pragma once
// Text lines drawn into pixels for a label's texture, with the system's fonts
// (Cairo over fontconfig). Each line is a fixed line height apart; the block of
// lines sits in the box by the vertical alignment and each line by the
// horizontal one. The outline, when wider than 0, is stroked under the fill (a
// line at the left or right edge is moved in by its width), and the shadow, when
// on, is a fill in its colour moved by its offset, under both.
// A font (name and size) is looked up once and kept for later texts.
#include <string>
#include <vector>

#include "engine/base/Types.h"
#include "engine/label/FontDefinition.h"

struct _cairo_surface;

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
    bool shadow = false;
    Color4B shadowColor{0, 0, 0, 255};
    float shadowOffsetX = 0, shadowOffsetY = 0;   // pixels, x right, y down
    // Rows kept blank above and below the lines' box for ink that reaches past it
    // (the outline, descenders, stacked marks): height counts both, and the lines
    // are placed in the height - 2 * inkMargin rows between them.
    int inkMargin = 0;
};

// The inkMargin that keeps every pixel of the lines, their outline included, inside
// a box of input.height rows (inkMargin not yet added): 0 when all of it fits. At
// most the outline and half a line, so lines that do not fit a fixed box stay out.
int labelInkMargin(const LabelRasterInput& input);

// The advance of the widest line in pixels.
float measureLabelWidth(const LabelRasterInput& input);
// RGBA pixels, premultiplied by alpha, top row first; empty for an empty box.
std::vector<unsigned char> rasterizeLabel(const LabelRasterInput& input);

// A drawing surface kept between label updates, so that a new text is drawn
// into the same memory: pixels are premultiplied B, G, R, A bytes, rows of the
// surface's width tightly packed, top row first.
class LabelCanvas {
public:
    // The one the labels share (main thread only; each copies its pixels out
    // before the next label draws).
    static LabelCanvas& shared();

    LabelCanvas() = default;
    LabelCanvas(const LabelCanvas&) = delete;
    LabelCanvas& operator=(const LabelCanvas&) = delete;
    ~LabelCanvas();

    // Draws the input's box at the top-left corner of a surface of
    // `surfaceWidth` x `surfaceHeight` (made again only when that size changes),
    // whose rows down to one past the box's bottom are cleared first (a
    // transparent edge around the box where the surface is larger; nothing is
    // drawn outside the box). The box must fit in
    // the surface. False for an empty box, one that does not fit, or no memory.
    bool draw(const LabelRasterInput& input, int surfaceWidth, int surfaceHeight);
    const unsigned char* pixels() const;
    int width() const { return _width; }
    int height() const { return _height; }

private:
    _cairo_surface* _surface = nullptr;
    int _width = 0, _height = 0;
};

}  // namespace engine
