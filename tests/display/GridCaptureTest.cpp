// The program on a real X display drawing a grid node whose FlipX3D is over:
// the captured frame shows the node's picture mirrored through the grid (the
// red left half on the right, the blue right half on the left). Runs under its
// own virtual display; skipped without one.
#include <gtest/gtest.h>

#include "CaptureSupport.h"

namespace {

using namespace capturetest;
using GridCapture = CaptureTest;

TEST_F(GridCapture, AFlippedGridShowsThePictureMirrored) {
    ASSERT_NO_FATAL_FAILURE(capture("gridproject", "grid.png"));
    expectProbes(_image, {
                            {"far left: the blue half turned over", 40, 180, {0, 0, 255}},
                            {"left of the middle", 300, 60, {0, 0, 255}},
                            {"right of the middle: the red half", 340, 300, {255, 0, 0}},
                            {"far right", 600, 180, {255, 0, 0}},
                        });
}

}  // namespace
