#include "portal/PayWindowPainter.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "platform/SystemFonts.h"
#include "portal/PayButton.h"
#include "portal/PayWebWindow.h"

namespace portal {
namespace {

constexpr uint32_t kHeaderTop = 0xFF2A241E;
constexpr uint32_t kHeaderBottom = 0xFF1B1713;
constexpr uint32_t kSeparator = 0xFF4A3C2A;
constexpr uint32_t kBodyTop = 0xFFE3BB5A;
constexpr uint32_t kBodyBottom = 0xFFB8882A;
constexpr uint32_t kHoverTop = 0xFFF2CE74;
constexpr uint32_t kHoverBottom = 0xFFC99835;
constexpr uint32_t kBorder = 0xFF7A5814;
constexpr uint32_t kGloss = 0xFFF6E0A8;
constexpr uint32_t kGlossAlpha = 0x5A;
constexpr uint32_t kInk = 0xFF2B1C05;
// 10.5 points at 96 DPI.
constexpr double kCaptionPixels = 10.5 * 96.0 / 72.0;

double channel(uint32_t argb, int shift) { return ((argb >> shift) & 0xFF) / 255.0; }

void setColour(cairo_t* cr, uint32_t argb) {
    cairo_set_source_rgba(cr, channel(argb, 16), channel(argb, 8), channel(argb, 0), channel(argb, 24));
}

void addStop(cairo_pattern_t* pattern, double offset, uint32_t argb) {
    cairo_pattern_add_color_stop_rgba(pattern, offset, channel(argb, 16), channel(argb, 8), channel(argb, 0),
                                      channel(argb, 24));
}

// Fills the current path with a vertical gradient from y0 to y1.
void fillVertical(cairo_t* cr, double y0, double y1, uint32_t from, uint32_t to, bool preserve) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, y0, 0, y1);
    addStop(gradient, 0, from);
    addStop(gradient, 1, to);
    cairo_pattern_set_extend(gradient, CAIRO_EXTEND_REFLECT);
    cairo_set_source(cr, gradient);
    if (preserve) {
        cairo_fill_preserve(cr);
    } else {
        cairo_fill(cr);
    }
    cairo_pattern_destroy(gradient);
}

std::string captionFace() {
    std::string face;
    if (!platform::getMessageFontFace(&face) || face.empty()) face = "Segoe UI";
    return face;
}

const char* captionOf(int id) {
    if (id == kPayButtonHistory) return "Quay lại";
    if (id == kPayButtonHome) return "Trang chủ";
    return "Về game";
}

void drawIcon(cairo_t* cr, int id, double cy) {
    cairo_new_path(cr);
    if (id == kPayButtonHome) {
        cairo_move_to(cr, 22, cy - 6);
        cairo_line_to(cr, 28, cy - 0.5);
        cairo_line_to(cr, 26, cy + 5.5);
        cairo_line_to(cr, 18, cy + 5.5);
        cairo_line_to(cr, 16, cy - 0.5);
    } else {
        cairo_move_to(cr, 17, cy);
        cairo_line_to(cr, 26.25, cy - 5.25);
        cairo_line_to(cr, 26.25, cy + 5.25);
    }
    cairo_close_path(cr);
    setColour(cr, kInk);
    cairo_fill(cr);
}

// The caption centred in (x, y, width, height).
void drawCaption(cairo_t* cr, const char* text, double x, double y, double width, double height) {
    const std::string face = captionFace();
    cairo_select_font_face(cr, face.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, kCaptionPixels);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    const double left = x + (width - extents.x_advance) / 2;
    const double baseline = y + (height - (font.ascent + font.descent)) / 2 + font.ascent;
    setColour(cr, kInk);
    cairo_move_to(cr, left, baseline);
    cairo_show_text(cr, text);
}

}  // namespace

void addRoundRectPath(cairo_t* cr, double x, double y, double width, double height, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_arc(cr, x + width - r, y + r, r, 1.5 * M_PI, 2 * M_PI);
    cairo_arc(cr, x + width - r, y + height - r, r, 0, 0.5 * M_PI);
    cairo_arc(cr, x + r, y + height - r, r, 0.5 * M_PI, M_PI);
    cairo_close_path(cr);
}

void paintHeaderBand(cairo_t* cr, int clientWidth) {
    if (clientWidth <= 0) return;
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, -1, 0, clientWidth + 2.0, kPayHeaderHeight);
    fillVertical(cr, 0, kPayHeaderHeight, kHeaderTop, kHeaderBottom, false);
    // One aliased pixel row, as a 1-pixel line on row 51 is.
    cairo_rectangle(cr, 0, kPayHeaderHeight - 1, clientWidth, 1);
    setColour(cr, kSeparator);
    cairo_fill(cr);
    cairo_restore(cr);
}

void payWindowPaintHeader(platform::HWND window, cairo_t* cr) {
    platform::RECT client;
    if (!cr || !platform::getClientRect(window, &client)) return;
    paintHeaderBand(cr, client.width());
}

void payWindowDrawButton(platform::HWND button, int id, cairo_t* cr, const platform::RECT& item) {
    const int w = item.width();
    const int h = item.height();
    if (!cr || w <= 2 || h <= 2) return;
    const PayButtonHover& state = payButtonHoverState(button);
    const bool pressed = state.pressed != 0;
    const bool hover = state.hover != 0;

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* c = cairo_create(surface);
    cairo_set_antialias(c, CAIRO_ANTIALIAS_GOOD);

    // The header behind the button, at the button's place in its parent.
    const platform::HWND parent = platform::getParent(button);
    platform::RECT parentClient;
    platform::RECT rect;
    if (platform::getClientRect(parent, &parentClient) && platform::getWindowRect(button, &rect)) {
        platform::POINT topLeft{rect.left, rect.top};
        platform::screenToClient(parent, &topLeft);
        cairo_save(c);
        cairo_translate(c, 0, -topLeft.y);
        paintHeaderBand(c, parentClient.width());
        cairo_restore(c);
    }

    // Body and border.
    uint32_t top = hover && !pressed ? kHoverTop : kBodyTop;
    uint32_t bottom = hover && !pressed ? kHoverBottom : kBodyBottom;
    if (pressed) std::swap(top, bottom);
    addRoundRectPath(c, 1, 1, w - 2, h - 2, 0.3 * h);
    fillVertical(c, 1, h - 1, top, bottom, true);
    setColour(c, kBorder);
    cairo_set_line_width(c, 1);
    cairo_stroke(c);

    // Gloss over the upper part of the body.
    if (!pressed) {
        cairo_save(c);
        addRoundRectPath(c, 1, 1, w - 2, h - 2, 0.3 * h);
        cairo_clip(c);
        const double glossHeight = 0.55 * (h - 2);
        cairo_rectangle(c, 1, 1, w - 2, glossHeight);
        fillVertical(c, 1, glossHeight + 1, (kGlossAlpha << 24) | (kGloss & 0xFFFFFF), kGloss & 0xFFFFFF, false);
        cairo_restore(c);
    }

    const int offset = pressed ? 1 : 0;
    const double cy = h / 2 + offset;
    drawIcon(c, id, cy);
    drawCaption(c, captionOf(id), 28, offset, w - 40, h);

    cairo_destroy(c);
    cairo_surface_flush(surface);
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, surface, item.left, item.top);
    cairo_rectangle(cr, item.left, item.top, w, h);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_surface_destroy(surface);
}

}  // namespace portal
