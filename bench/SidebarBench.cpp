// The time to paint the whole sidebar at 96 and 144 DPI.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/app/SidebarPainter.h"
#include "platform/MulDiv.h"
#include "platform/Paint.h"

namespace {

// The strip and its seven buttons at full height, as the window paints them.
void BM_SidebarPaint(benchmark::State& state) {
    const int dpi = static_cast<int>(state.range(0));
    const int width = platform::mulDiv(62, dpi, 96);
    const int height = platform::mulDiv(412, dpi, 96);
    const int margin = platform::mulDiv(3, dpi, 96);
    const int buttonHeight = std::min((height - 2 * margin) / 7, platform::mulDiv(58, dpi, 96));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    for (auto _ : state) {
        cairo_t* cr = cairo_create(surface);
        host::paintSidebarBackground(cr, width, height, dpi);
        for (int i = 0; i < 7; ++i) {
            host::SidebarButtonLook look;
            look.id = host::kSidebarOrder[i];
            look.width = width - 2 * margin;
            look.height = buttonHeight;
            look.dpi = dpi;
            look.highlighted = look.id == host::kCmdZoomFit;
            cairo_save(cr);
            cairo_translate(cr, margin, margin + i * buttonHeight);
            host::paintSidebarButtonFace(cr, look);
            cairo_restore(cr);
        }
        cairo_destroy(cr);
        cairo_surface_flush(surface);
    }
    cairo_surface_destroy(surface);
}

}  // namespace

BENCHMARK(BM_SidebarPaint)->Name("sidebar_paint")->Arg(96)->Arg(144)->Unit(benchmark::kMicrosecond);
