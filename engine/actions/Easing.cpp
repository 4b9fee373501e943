#include "engine/actions/Easing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace engine::easing {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kBackOvershoot = 1.70158f;

}  // namespace

float rateIn(float t, float rate) { return std::pow(t, rate); }

float rateOut(float t, float rate) { return std::pow(t, 1.f / rate); }

float rateInOut(float t, float rate) {
    t *= 2.f;
    if (t < 1.f) return 0.5f * std::pow(t, rate);
    return 1.f - 0.5f * std::pow(2.f - t, rate);
}

float sineIn(float t) { return 1.f - std::cos(t * kPi / 2.f); }

float sineOut(float t) { return std::sin(t * kPi / 2.f); }

float sineInOut(float t) { return -0.5f * (std::cos(kPi * t) - 1.f); }

// Both ends are exact: the bare exponential misses 0 (or 1) by 2^-10.
float exponentialIn(float t) { return t <= 0.f ? 0.f : (t >= 1.f ? 1.f : std::pow(2.f, 10.f * (t - 1.f))); }

float exponentialOut(float t) { return t >= 1.f ? 1.f : (t <= 0.f ? 0.f : 1.f - std::pow(2.f, -10.f * t)); }

float backIn(float t) { return t * t * ((kBackOvershoot + 1.f) * t - kBackOvershoot); }

float backOut(float t) {
    t -= 1.f;
    return t * t * ((kBackOvershoot + 1.f) * t + kBackOvershoot) + 1.f;
}

float elasticIn(float t, float period) {
    if (t <= 0.f || t >= 1.f) return t;
    const float s = period / 4.f;
    t -= 1.f;
    return -std::pow(2.f, 10.f * t) * std::sin((t - s) * 2.f * kPi / period);
}

float elasticOut(float t, float period) {
    if (t <= 0.f || t >= 1.f) return t;
    const float s = period / 4.f;
    return std::pow(2.f, -10.f * t) * std::sin((t - s) * 2.f * kPi / period) + 1.f;
}

float bounceOut(float t) {
    if (t < 1.f / 2.75f) return 7.5625f * t * t;
    if (t < 2.f / 2.75f) {
        t -= 1.5f / 2.75f;
        return 7.5625f * t * t + 0.75f;
    }
    if (t < 2.5f / 2.75f) {
        t -= 2.25f / 2.75f;
        return 7.5625f * t * t + 0.9375f;
    }
    t -= 2.625f / 2.75f;
    return 7.5625f * t * t + 0.984375f;
}

float bounceIn(float t) { return 1.f - bounceOut(1.f - t); }

float backInOut(float t) {
    constexpr float overshoot = kBackOvershoot * 1.525f;
    t *= 2.f;
    if (t < 1.f) return 0.5f * t * t * ((overshoot + 1.f) * t - overshoot);
    t -= 2.f;
    return 0.5f * (t * t * ((overshoot + 1.f) * t + overshoot) + 2.f);
}

float bounceInOut(float t) {
    if (t < 0.5f) return 0.5f * bounceIn(t * 2.f);
    return 0.5f * bounceOut(t * 2.f - 1.f) + 0.5f;
}

float elasticInOut(float t, float period) {
    if (t <= 0.f || t >= 1.f) return t;
    const float s = period / 4.f;
    t = t * 2.f - 1.f;
    if (t < 0.f) return -0.5f * std::pow(2.f, 10.f * t) * std::sin((t - s) * 2.f * kPi / period);
    return std::pow(2.f, -10.f * t) * std::sin((t - s) * 2.f * kPi / period) * 0.5f + 1.f;
}

float exponentialInOut(float t) {
    if (t <= 0.f || t >= 1.f) return t <= 0.f ? 0.f : 1.f;
    t *= 2.f;
    if (t < 1.f) return 0.5f * std::pow(2.f, 10.f * (t - 1.f));
    return 0.5f * (2.f - std::pow(2.f, -10.f * (t - 1.f)));
}

float powerIn(float t, int power) { return std::pow(t, static_cast<float>(power)); }

float powerOut(float t, int power) {
    return 1.f - std::pow(1.f - t, static_cast<float>(power));
}

float powerInOut(float t, int power) {
    if (t < 0.5f) return 0.5f * std::pow(2.f * t, static_cast<float>(power));
    return 1.f - 0.5f * std::pow(2.f - 2.f * t, static_cast<float>(power));
}

float circleIn(float t) { return 1.f - std::sqrt(std::max(0.f, 1.f - t * t)); }

float circleOut(float t) {
    t -= 1.f;
    return std::sqrt(std::max(0.f, 1.f - t * t));
}

float circleInOut(float t) {
    if (t < 0.5f) return 0.5f * circleIn(2.f * t);
    return 0.5f * circleOut(2.f * t - 1.f) + 0.5f;
}

float bezier(float t, float p0, float p1, float p2, float p3) {
    const float u = 1.f - t;
    return u * u * u * p0 + 3.f * t * u * u * p1 + 3.f * t * t * u * p2 + t * t * t * p3;
}

}  // namespace engine::easing
