// The program on a real X display drawing a GL node with the draw primitives and
// capturing the screen: the PNG it writes holds each shape at its place (through
// the node's world transform and the design-size projection), and the program
// ends by itself with status 0. Runs under its own virtual display; skipped
// without one.
#include <gtest/gtest.h>

#include "CaptureSupport.h"

namespace {

using namespace capturetest;
using GLNodeCapture = CaptureTest;

TEST_F(GLNodeCapture, DrawsThePrimitivesWhereTheNodeIsAndWritesTheFrame) {
    ASSERT_NO_FATAL_FAILURE(capture("glproject", "glnode.png"));
    expectProbes(_image, {
                            {"square, centre", 150, 150, {255, 0, 0}},
                            {"square, inside its top-right corner", 196, 196, {255, 0, 0}},
                            {"beyond the square's corner", 204, 204, {0, 0, 0}},
                            {"disc, centre", 300, 150, {0, 255, 0}},
                            {"disc, inside its edge", 300, 186, {0, 255, 0}},
                            {"beside the disc", 300, 196, {0, 0, 0}},
                            {"triangle, in its colour not the draw colour", 430, 110, {0, 0, 255}},
                            {"above the triangle's slope", 490, 170, {0, 0, 0}},
                            {"point", 150, 280, {255, 255, 255}},
                            {"beside the point", 165, 280, {0, 0, 0}},
                            {"the node's origin unshifted stays empty", 50, 50, {0, 0, 0}},
                        });
}

}  // namespace
