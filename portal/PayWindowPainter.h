#pragma once
// Painting of the pay window's header in the game's dark-brown and gold look: a
// vertical gradient band with a separator line, and rounded gold buttons with a
// gloss, an icon and a bold caption that follow hover and press. The web view
// covers the rest of the window, so nothing else is painted. Main thread.
//
// Contract:
// - The header fills rows 0 to 51 of the client width (a gradient from 0xFF2A241E
//   at the top to 0xFF1B1713, mirrored beyond), and its separator is exactly row
//   51 in 0xFF4A3C2A. Nothing is painted for a width of 0 or less.
// - A button is drawn off-screen and copied once onto the target at its item
//   rectangle (nothing for a side of 2 pixels or less). Its corners show the header
//   exactly as the window paints it at the button's place. Its body is a rounded
//   rectangle (radius 0.3 x height) with a 1-pixel border: gold 0xFFE3BB5A to
//   0xFFB8882A, lighter (0xFFF2CE74 to 0xFFC99835) while hovered and not pressed,
//   the two ends swapped while pressed; a gloss over the upper 55 % only while not
//   pressed; icon and caption in 0xFF2B1C05, one pixel lower while pressed. The
//   icon is a house for "Trang chủ" and an arrowhead pointing left for the others;
//   the caption is the message font's face ("Segoe UI" when it is empty or cannot
//   be read), bold, 10.5 pt at 96 DPI, centred in the area right of the icon.
#include <cairo.h>

#include "platform/Window.h"

namespace portal {

// The header of the pay window, on a context in its client coordinates.
void payWindowPaintHeader(platform::HWND window, cairo_t* cr);
// One header button (id 1001 to 1003), on a context in its parent's client
// coordinates, at `item` (the button's rectangle there).
void payWindowDrawButton(platform::HWND button, int id, cairo_t* cr, const platform::RECT& item);
// A closed rounded rectangle: four quarter arcs of radius r.
void addRoundRectPath(cairo_t* cr, double x, double y, double width, double height, double r);

// The header band itself, for a client width (also used under the buttons).
void paintHeaderBand(cairo_t* cr, int clientWidth);

}  // namespace portal
