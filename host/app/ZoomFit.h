#pragma once
// How large the game window may be on a work area, and where it goes.
//
// The available room is the work area less the extras (frame and sidebar) and 16
// pixels in each direction (at least 1). The scale is the largest that fits the
// base size into it, capped by the zoom (1.0 when the zoom is 0, so the automatic
// fit never enlarges). The outer size is the scaled base size, rounded down, plus
// the extras. The window is centred in the work area or keeps its left and top,
// then held at least 8 pixels inside each edge, the left and top edges winning
// when it is larger than the work area.
namespace host {

struct FitResult {
    double scale = 1.0;
    int x = 0, y = 0;
    int outerWidth = 0, outerHeight = 0;
};

FitResult fitZoomScale(int workLeft, int workTop, int workWidth, int workHeight, int extraWidth, int extraHeight,
                       double baseWidth, double baseHeight, double zoom, int windowLeft, int windowTop,
                       bool center);

// The clamping alone: a position that keeps an outer size 8 pixels inside the
// work area, the left (top) edge winning.
int clampIntoWork(int position, int workStart, int workLength, int outerLength);

}  // namespace host
