#include "engine/label/LabelRaster.h"

#include <cairo.h>

#include "platform/Paint.h"

namespace engine {

namespace {

void selectFont(cairo_t* cr, const LabelRasterInput& input) {
    platform::releaseFontCachesAtExit();
    cairo_select_font_face(cr, input.fontName.empty() ? "sans-serif" : input.fontName.c_str(), CAIRO_FONT_SLANT_NORMAL,
                           CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, input.fontSize);
}

}  // namespace

float measureLabelWidth(const LabelRasterInput& input) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    selectFont(cr, input);
    double widest = 0;
    for (const std::string& line : input.lines) {
        cairo_text_extents_t extents;
        cairo_text_extents(cr, line.c_str(), &extents);
        if (extents.x_advance > widest) widest = extents.x_advance;
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return static_cast<float>(widest);
}

std::vector<unsigned char> rasterizeLabel(const LabelRasterInput& input) {
    std::vector<unsigned char> rgba;
    if (input.width <= 0 || input.height <= 0) return rgba;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, input.width, input.height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return rgba;
    }
    cairo_t* cr = cairo_create(surface);
    selectFont(cr, input);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    const double block = input.lineHeight * static_cast<double>(input.lines.size());
    double top = 0;
    if (input.vAlignment == TextVAlignment::CENTER) top = (input.height - block) / 2;
    if (input.vAlignment == TextVAlignment::BOTTOM) top = input.height - block;
    // The glyphs' own height centred in each line.
    const double baseline = (input.lineHeight - (font.ascent + font.descent)) / 2 + font.ascent;
    auto source = [cr](const Color4B& c) { cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0); };
    for (size_t i = 0; i < input.lines.size(); ++i) {
        const std::string& line = input.lines[i];
        if (line.empty()) continue;
        cairo_text_extents_t extents;
        cairo_text_extents(cr, line.c_str(), &extents);
        double x = 0;
        if (input.hAlignment == TextHAlignment::CENTER) x = (input.width - extents.x_advance) / 2;
        if (input.hAlignment == TextHAlignment::RIGHT) x = input.width - extents.x_advance;
        const double y = top + input.lineHeight * static_cast<double>(i) + baseline;
        if (input.outlineSize > 0) {
            cairo_move_to(cr, x, y);
            cairo_text_path(cr, line.c_str());
            source(input.outlineColor);
            cairo_set_line_width(cr, input.outlineSize * 2.0);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_stroke(cr);
        }
        // The fill through the glyph cache (a path of the glyphs is far slower).
        cairo_move_to(cr, x, y);
        source(input.color);
        cairo_show_text(cr, line.c_str());
    }
    cairo_surface_flush(surface);
    // Cairo keeps premultiplied 0xAARRGGBB words; the texture wants R, G, B, A bytes.
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    rgba.resize(static_cast<size_t>(input.width) * static_cast<size_t>(input.height) * 4);
    unsigned char* out = rgba.data();
    for (int y = 0; y < input.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * static_cast<size_t>(stride));
        for (int x = 0; x < input.width; ++x) {
            const uint32_t p = row[x];
            *out++ = static_cast<unsigned char>(p >> 16);
            *out++ = static_cast<unsigned char>(p >> 8);
            *out++ = static_cast<unsigned char>(p);
            *out++ = static_cast<unsigned char>(p >> 24);
        }
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return rgba;
}

}  // namespace engine
