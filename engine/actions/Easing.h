#pragma once
// The easing curves: each maps progress t in [0, 1] to eased progress, with
// f(0) = 0 and f(1) = 1. Back and elastic curves leave [0, 1] on the way.
namespace engine::easing {

float rateIn(float t, float rate);     // t^rate
float rateOut(float t, float rate);    // t^(1/rate)
float rateInOut(float t, float rate);  // rateIn on the first half, mirrored on the second
float sineIn(float t);
float sineOut(float t);
float sineInOut(float t);
float exponentialIn(float t);
float exponentialOut(float t);
float backIn(float t);
float backOut(float t);
float elasticIn(float t, float period);
float elasticOut(float t, float period);
float bounceIn(float t);
float bounceOut(float t);
float backInOut(float t);
float bounceInOut(float t);
float elasticInOut(float t, float period);
float exponentialInOut(float t);
// Powers 2 to 5 (quadratic to quintic) and the circle, in, out and in-out.
float powerIn(float t, int power);
float powerOut(float t, int power);
float powerInOut(float t, int power);
float circleIn(float t);
float circleOut(float t);
float circleInOut(float t);
// The cubic Bézier curve through p0 (at 0) and p3 (at 1) with the controls p1, p2.
float bezier(float t, float p0, float p1, float p2, float p3);

}  // namespace engine::easing
