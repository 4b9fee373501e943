// The sidebar's periodic glue when the sidebar is already in place, against a glue
// that has to move it and repaint its seven buttons; and the time to paint the
// whole sidebar at 96 and 144 DPI.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/app/SidebarPainter.h"
#include "host/app/SimulatorWin.h"
#include "platform/MulDiv.h"
#include "platform/Paint.h"
#include "support/TestSupport.h"

namespace {

host::SimulatorWin* startedHost() {
    static testsupport::TempDir* dir = new testsupport::TempDir;
    static host::SimulatorWin* simulator = [] {
        host::SimulatorWin* h = host::SimulatorWin::getInstance();
        h->startUp({host::SimulatorWin::getApplicationExePath(), "-workdir", dir->path(), "-writable-path",
                    dir->file("save")});
        return h;
    }();
    return simulator;
}

void BM_SidebarGlueInPlace(benchmark::State& state) {
    host::SimulatorWin* h = startedHost();
    const platform::HWND main = h->getMainWindow();
    h->layoutSidebar(main);
    for (auto _ : state) h->layoutSidebar(main);
}

void BM_SidebarGlueMoveAndRepaint(benchmark::State& state) {
    host::SimulatorWin* h = startedHost();
    const platform::HWND main = h->getMainWindow();
    const platform::HWND sidebar = h->getSidebarWindow();
    for (auto _ : state) {
        state.PauseTiming();
        platform::moveWindow(sidebar, 0, 0, 62, 300, false);
        state.ResumeTiming();
        h->layoutSidebar(main);
        platform::redrawWindow(sidebar, nullptr, platform::RDW_UPDATENOW | platform::RDW_ALLCHILDREN);
    }
}

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

BENCHMARK(BM_SidebarGlueInPlace)->Name("sidebar_glue_in_place_vs_move/ours");
BENCHMARK(BM_SidebarGlueMoveAndRepaint)->Name("sidebar_glue_in_place_vs_move/baseline");
BENCHMARK(BM_SidebarPaint)->Name("sidebar_paint")->Arg(96)->Arg(144)->Unit(benchmark::kMicrosecond);
