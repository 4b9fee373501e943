// Any bytes as a label's text (arbitrary UTF-8, valid or not) with a font size,
// a box, a line width and alignments taken from the first bytes: the label lays
// the text out into lines and a content box that is finite and never negative,
// and the lines are drawn into pixels (Cairo) as its texture would be, the
// buffer exactly the box; never a crash, a read past the text or a leak.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/base/AutoreleasePool.h"
#include "engine/label/Label.h"
#include "engine/label/LabelRaster.h"
#include "fuzz/FuzzSupport.h"

using fuzzsupport::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr size_t kHead = 6;
    if (size < kHead) return 0;
    const float fontSize = static_cast<float>(1 + data[0] % 64);
    const float width = static_cast<float>(data[1] % 128 * 4);    // 0: no box
    const float height = static_cast<float>(data[2] % 64 * 4);
    const auto h = static_cast<engine::TextHAlignment>(data[3] % 3);
    const auto v = static_cast<engine::TextVAlignment>(data[3] / 3 % 3);
    const float maxLineWidth = static_cast<float>(data[4] % 64 * 8);
    const int outline = data[5] % 4;
    const std::string text(reinterpret_cast<const char*>(data) + kHead, size - kHead);

    engine::Label* label =
        engine::Label::createWithSystemFont(text, "", fontSize, engine::Size(width, height), h, v);
    check(label != nullptr, "a label for any text");
    label->setMaxLineWidth(maxLineWidth);
    if (outline) label->enableOutline(engine::Color4B{0, 0, 0, 255}, outline);
    const engine::Size box = label->getContentSize();
    check(std::isfinite(box.width) && std::isfinite(box.height), "finite box");
    check(box.width >= 0 && box.height >= 0, "box not negative");
    check(!text.empty() || label->getLines().empty(), "no lines for no text");

    // The lines drawn as the texture draws them, in a box kept small.
    engine::LabelRasterInput input;
    input.lines = label->getLines();
    input.fontSize = fontSize;
    input.lineHeight = fontSize;
    input.width = static_cast<int>(std::ceil(std::fmin(box.width, 512.f)));
    input.height = static_cast<int>(std::ceil(std::fmin(box.height, 256.f)));
    input.hAlignment = h;
    input.vAlignment = v;
    input.outlineColor = engine::Color4B{0, 0, 0, 255};
    input.outlineSize = outline;
    check(std::isfinite(engine::measureLabelWidth(input)), "finite width");
    const std::vector<unsigned char> pixels = engine::rasterizeLabel(input);
    check(pixels.empty() || pixels.size() == static_cast<size_t>(input.width) * input.height * 4, "whole box");
    engine::AutoreleasePool::getInstance()->clear();
    return 0;
}
