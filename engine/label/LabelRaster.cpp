#include "engine/label/LabelRaster.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <utility>

#include "platform/Paint.h"

namespace engine {

namespace {

// The scaled fonts looked up so far, by name and size. Made after the font
// caches' release at exit is registered, so that it is emptied before them.
class FontCache {
public:
    static FontCache& instance() {
        platform::releaseFontCachesAtExit();
        static FontCache cache;
        return cache;
    }
    ~FontCache() {
        for (auto& [key, font] : _fonts) cairo_scaled_font_destroy(font);
    }
    // The font as a context on an image surface selects it (same options, so the
    // same glyphs as drawing by hand).
    cairo_scaled_font_t* font(const std::string& name, float size) {
        auto key = std::make_pair(name.empty() ? std::string("sans-serif") : name, size);
        auto it = _fonts.find(key);
        if (it != _fonts.end()) return it->second;
        // A handful of fonts in use at a time; a game that goes through many starts over.
        if (_fonts.size() >= kMaxFonts) {
            for (auto& [k, f] : _fonts) cairo_scaled_font_destroy(f);
            _fonts.clear();
        }
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        cairo_t* cr = cairo_create(surface);
        cairo_select_font_face(cr, key.first.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, size);
        cairo_scaled_font_t* font = cairo_scaled_font_reference(cairo_get_scaled_font(cr));
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        _fonts.emplace(std::move(key), font);
        return font;
    }

private:
    static constexpr size_t kMaxFonts = 32;
    std::map<std::pair<std::string, float>, cairo_scaled_font_t*> _fonts;
};

cairo_scaled_font_t* fontOf(const LabelRasterInput& input) {
    return FontCache::instance().font(input.fontName, input.fontSize);
}

// Where line i's baseline lies, from the top of the box (its ink margin included).
struct LineLayout {
    double top = 0;        // of the first line
    double baseline = 0;   // within a line
    double y(const LabelRasterInput& input, size_t i) const {
        return top + input.lineHeight * static_cast<double>(i) + baseline;
    }
};

LineLayout layoutLines(const LabelRasterInput& input, cairo_scaled_font_t* scaled) {
    cairo_font_extents_t font;
    cairo_scaled_font_extents(scaled, &font);
    const double block = input.lineHeight * static_cast<double>(input.lines.size());
    const double height = input.height - 2.0 * input.inkMargin;
    LineLayout layout;
    layout.top = input.inkMargin;
    if (input.vAlignment == TextVAlignment::CENTER) layout.top += (height - block) / 2;
    if (input.vAlignment == TextVAlignment::BOTTOM) layout.top += height - block;
    // The glyphs' own height centred in each line.
    layout.baseline = (input.lineHeight - (font.ascent + font.descent)) / 2 + font.ascent;
    return layout;
}

// The lines into the box at the context's origin.
void drawLines(cairo_t* cr, const LabelRasterInput& input) {
    cairo_scaled_font_t* scaled = fontOf(input);
    cairo_set_scaled_font(cr, scaled);
    const LineLayout layout = layoutLines(input, scaled);
    auto source = [cr](const Color4B& c) { cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0); };
    for (size_t i = 0; i < input.lines.size(); ++i) {
        const std::string& line = input.lines[i];
        if (line.empty()) continue;
        // A line at the left or right edge keeps its outline inside the box.
        double x = input.outlineSize;
        if (input.hAlignment != TextHAlignment::LEFT) {
            cairo_text_extents_t extents;
            cairo_scaled_font_text_extents(scaled, line.c_str(), &extents);
            x = input.width - extents.x_advance;
            if (input.hAlignment == TextHAlignment::CENTER) x /= 2;
            else x -= input.outlineSize;
        }
        const double y = layout.y(input, i);
        if (input.shadow) {
            cairo_move_to(cr, x + input.shadowOffsetX, y + input.shadowOffsetY);
            source(input.shadowColor);
            cairo_show_text(cr, line.c_str());
        }
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
}

}  // namespace

int labelInkMargin(const LabelRasterInput& input) {
    cairo_scaled_font_t* scaled = fontOf(input);
    LabelRasterInput box = input;
    box.inkMargin = 0;
    const LineLayout layout = layoutLines(box, scaled);
    double overflow = 0;
    for (size_t i = 0; i < input.lines.size(); ++i) {
        if (input.lines[i].empty()) continue;
        cairo_text_extents_t ink;
        cairo_scaled_font_text_extents(scaled, input.lines[i].c_str(), &ink);
        if (ink.width <= 0 || ink.height <= 0) continue;
        const double top = layout.y(box, i) + ink.y_bearing - input.outlineSize;
        const double bottom = layout.y(box, i) + ink.y_bearing + ink.height + input.outlineSize;
        overflow = std::max({overflow, -top, bottom - input.height});
    }
    const double most = input.outlineSize + std::ceil(input.lineHeight / 2);
    return static_cast<int>(std::ceil(std::min(overflow, most)));
}

float measureLabelWidth(const LabelRasterInput& input) {
    cairo_scaled_font_t* font = fontOf(input);
    double widest = 0;
    for (const std::string& line : input.lines) {
        cairo_text_extents_t extents;
        cairo_scaled_font_text_extents(font, line.c_str(), &extents);
        if (extents.x_advance > widest) widest = extents.x_advance;
    }
    return static_cast<float>(widest);
}

std::vector<unsigned char> rasterizeLabel(const LabelRasterInput& input) {
    std::vector<unsigned char> rgba;
    LabelCanvas canvas;
    if (!canvas.draw(input, input.width, input.height)) return rgba;
    // Cairo keeps premultiplied 0xAARRGGBB words; the texture wants R, G, B, A bytes.
    const auto* words = reinterpret_cast<const uint32_t*>(canvas.pixels());
    const size_t count = static_cast<size_t>(input.width) * static_cast<size_t>(input.height);
    rgba.resize(count * 4);
    unsigned char* out = rgba.data();
    for (size_t i = 0; i < count; ++i) {
        const uint32_t p = words[i];
        *out++ = static_cast<unsigned char>(p >> 16);
        *out++ = static_cast<unsigned char>(p >> 8);
        *out++ = static_cast<unsigned char>(p);
        *out++ = static_cast<unsigned char>(p >> 24);
    }
    return rgba;
}

LabelCanvas& LabelCanvas::shared() {
    platform::releaseFontCachesAtExit();   // first: the canvas is gone before the caches are released
    static LabelCanvas canvas;
    return canvas;
}

LabelCanvas::~LabelCanvas() {
    if (_surface) cairo_surface_destroy(_surface);
}

const unsigned char* LabelCanvas::pixels() const {
    return _surface ? cairo_image_surface_get_data(_surface) : nullptr;
}

bool LabelCanvas::draw(const LabelRasterInput& input, int surfaceWidth, int surfaceHeight) {
    if (input.width <= 0 || input.height <= 0 || input.width > surfaceWidth || input.height > surfaceHeight)
        return false;
    if (!_surface || surfaceWidth != _width || surfaceHeight != _height) {
        if (_surface) cairo_surface_destroy(_surface);
        _surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, surfaceWidth, surfaceHeight);
        _width = surfaceWidth;
        _height = surfaceHeight;
        // An ARGB32 row is 4 bytes a pixel, already 4-byte aligned: rows are tightly packed.
        if (cairo_surface_status(_surface) != CAIRO_STATUS_SUCCESS ||
            cairo_image_surface_get_stride(_surface) != surfaceWidth * 4) {
            cairo_surface_destroy(_surface);
            _surface = nullptr;
            _width = _height = 0;
            return false;
        }
    }
    cairo_surface_flush(_surface);
    const int cleared = input.height < surfaceHeight ? input.height + 1 : surfaceHeight;
    std::memset(cairo_image_surface_get_data(_surface), 0,
                static_cast<size_t>(cleared) * static_cast<size_t>(surfaceWidth) * 4);
    cairo_surface_mark_dirty(_surface);
    cairo_t* cr = cairo_create(_surface);
    cairo_rectangle(cr, 0, 0, input.width, input.height);
    cairo_clip(cr);
    drawLines(cr, input);
    cairo_destroy(cr);
    cairo_surface_flush(_surface);
    return true;
}

}  // namespace engine
