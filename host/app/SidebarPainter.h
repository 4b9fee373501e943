#pragma once
// Drawing of the right sidebar with Cairo. Every length is given at 96 DPI and
// scaled to the sidebar's DPI with MulDiv (rounding halves away from zero); the
// icon's 20-unit grid follows the icon's side. Pixel (x, y) covers
// [x, x+1) × [y, y+1); shapes are anti-aliased, lines end flat.
#include <cairo.h>

#include "host/app/SidebarCommands.h"

namespace host {

// The strip: a horizontal gradient from 0xFF301B14 (left) to 0xFF19110E (right)
// and a border one unit wide of 0xFFB37F30.
void paintSidebarBackground(cairo_t* cr, int width, int height, int dpi);

struct SidebarButtonLook {
    int id = 0;
    int width = 0, height = 0;   // the item rectangle, at (0, 0)
    int dpi = 96;
    bool highlighted = false;
    SidebarState state;
};

// One button: cleared to 0xFF231611, an octagon with a vertical gradient and an
// outline, the label in the band near the bottom when the button is at least 44
// units high, and the line icon centred in the rest, in the text colour
// (RGB 48, 25, 9 when highlighted, else RGB 248, 212, 143).
void paintSidebarButtonFace(cairo_t* cr, const SidebarButtonLook& look);

// Whether the label is drawn at that height and DPI.
bool sidebarLabelShown(int height, int dpi);

}  // namespace host
