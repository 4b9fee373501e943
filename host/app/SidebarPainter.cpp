#include "host/app/SidebarPainter.h"

#include <algorithm>
#include <cstdint>

#include "platform/MulDiv.h"
#include "platform/Paint.h"

namespace host {
namespace {

void setArgb(cairo_t* cr, uint32_t argb) {
    cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                          ((argb >> 24) & 0xFF) / 255.0);
}

void addStop(cairo_pattern_t* pattern, double offset, uint32_t argb) {
    cairo_pattern_add_color_stop_rgba(pattern, offset, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0,
                                      (argb & 0xFF) / 255.0, ((argb >> 24) & 0xFF) / 255.0);
}

int scaled(int units, int dpi) { return platform::mulDiv(units, dpi, 96); }

// Centres one line of text in the band [top, bottom) of the width; the font's
// cell (ascent + descent) is `cellHeight` pixels, as a GDI font of that height.
void drawLabel(cairo_t* cr, const std::string& text, int width, int top, int bottom, int cellHeight) {
    platform::releaseFontCachesAtExit();
    cairo_select_font_face(cr, "Segoe UI", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 100.0);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    const double cell = font.ascent + font.descent;
    if (cell <= 0) return;
    const double size = 100.0 * cellHeight / cell;
    cairo_set_font_size(cr, size);
    cairo_font_extents(cr, &font);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    const double x = (width - extents.x_advance) / 2.0;
    const double baseline = top + ((bottom - top) - (font.ascent + font.descent)) / 2.0 + font.ascent;
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, text.c_str());
}

}  // namespace

bool sidebarLabelShown(int height, int dpi) { return height >= scaled(44, dpi); }

void paintSidebarBackground(cairo_t* cr, int width, int height, int dpi) {
    cairo_save(cr);
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, width, 0);
    addStop(gradient, 0.0, 0xFF301B14);
    addStop(gradient, 1.0, 0xFF19110E);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);

    const int border = std::max(1, scaled(1, dpi));
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_rectangle(cr, border, border, std::max(0, width - 2 * border), std::max(0, height - 2 * border));
    setArgb(cr, 0xFFB37F30);
    cairo_fill(cr);
    cairo_restore(cr);
}

void paintSidebarButtonFace(cairo_t* cr, const SidebarButtonLook& look) {
    const int w = look.width, h = look.height, dpi = look.dpi;
    const uint32_t text = look.highlighted ? 0xFF301909 : 0xFFF8D48F;
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);

    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    setArgb(cr, 0xFF231611);
    cairo_paint(cr);
    cairo_restore(cr);

    const int o5 = scaled(5, dpi), o2 = scaled(2, dpi);
    cairo_move_to(cr, o5, o2);
    cairo_line_to(cr, w - o5, o2);
    cairo_line_to(cr, w - o2, o5);
    cairo_line_to(cr, w - o2, h - o5);
    cairo_line_to(cr, w - o5, h - o2);
    cairo_line_to(cr, o5, h - o2);
    cairo_line_to(cr, o2, h - o5);
    cairo_line_to(cr, o2, o5);
    cairo_close_path(cr);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, o2, 0, h - o2);
    addStop(fill, 0.0, look.highlighted ? 0xFFEEC977 : 0xFF5B341E);
    addStop(fill, 1.0, look.highlighted ? 0xFFAF6F23 : 0xFF281711);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    setArgb(cr, 0xFFBF8B3B);
    cairo_set_line_width(cr, 1.4 * dpi / 96.0);
    cairo_stroke(cr);

    int areaBottom = h;
    if (sidebarLabelShown(h, dpi)) {
        setArgb(cr, text);
        drawLabel(cr, sidebarLabel(look.id, look.state), w, h - scaled(21, dpi), h - scaled(5, dpi),
                  scaled(10, dpi));
        areaBottom = h - scaled(19, dpi);
    }

    const int side = std::max(scaled(4, dpi), std::min(std::min(w, areaBottom) - scaled(6, dpi), scaled(24, dpi)));
    const int left = (0 + w - side) / 2;
    const int top = (0 + areaBottom - side) / 2;
    auto grid = [side](int c) { return platform::mulDiv(c, side, 20); };
    cairo_set_line_width(cr, std::max(1, platform::mulDiv(2, side, 20)));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    setArgb(cr, text);
    for (const IconShape& shape : sidebarIcon(look.id, look.state)) {
        if (shape.kind == IconShape::Line) {
            cairo_move_to(cr, left + grid(shape.x1), top + grid(shape.y1));
            cairo_line_to(cr, left + grid(shape.x2), top + grid(shape.y2));
        } else {
            const double x1 = left + grid(shape.x1), y1 = top + grid(shape.y1);
            const double x2 = left + grid(shape.x2), y2 = top + grid(shape.y2);
            cairo_save(cr);
            cairo_translate(cr, (x1 + x2) / 2, (y1 + y2) / 2);
            cairo_scale(cr, std::max(0.5, (x2 - x1) / 2), std::max(0.5, (y2 - y1) / 2));
            cairo_new_sub_path(cr);
            cairo_arc(cr, 0, 0, 1, 0, 6.283185307179586);
            cairo_restore(cr);
        }
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

}  // namespace host
