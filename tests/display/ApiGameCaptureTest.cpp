// The API game fixture on a real X display: its play scene captured to a PNG
// shows the scaled box at its scaled size, the box moved to the top in front,
// no removed box, and the loading bar's right half filled. Skipped without a
// display.
#include <gtest/gtest.h>

#include "CaptureSupport.h"

namespace {

using namespace capturetest;
using ApiGameCapture = CaptureTest;

TEST_F(ApiGameCapture, ThePlaySceneShowsScaleOrderRemovalAndTheBar) {
    ASSERT_NO_FATAL_FAILURE(capture("../host/fixtures/apigame", "apigame.png"));
    expectProbes(_image, {
                            {"scaled box, inside", 200, 60, {255, 0, 0}},
                            {"scaled box, beyond its doubled width", 250, 60, {0, 0, 0}},
                            {"scaled box, above its halved height", 100, 110, {0, 0, 0}},
                            {"the box raised to the top covers the other", 375, 115, {0, 255, 0}},
                            {"the lower box where it is alone", 430, 170, {0, 0, 255}},
                            {"the removed box is not drawn", 530, 230, {0, 0, 0}},
                            {"bar, right half filled", 390, 300, {255, 255, 0}},
                            {"bar, left half empty", 250, 300, {0, 0, 0}},
                        });
}

}  // namespace
