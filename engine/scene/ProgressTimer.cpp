#include "engine/scene/ProgressTimer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/renderer/Renderer.h"

#include "engine/scene/Sprite.h"

namespace engine {

namespace {
Vec2 clampedUnit(const Vec2& value) { return Vec2(std::clamp(value.x, 0.f, 1.f), std::clamp(value.y, 0.f, 1.f)); }

// The shown part of one axis of a bar: [low, high] within 0..1.
void barSpan(float alpha, float rate, float mid, float* low, float* high) {
    const float half = ((1.f - rate) + alpha * rate) / 2;
    *low = mid - half;
    *high = mid + half;
    if (*low < 0) {
        *high -= *low;
        *low = 0;
    }
    if (*high > 1) {
        *low -= *high - 1;
        *high = 1;
    }
    *low = std::max(*low, 0.f);
}

// The outline of the radial share in box fractions: the top point above the
// midpoint, the corners swept past, and the point where the sweep ends.
std::vector<Vec2> radialOutline(float alpha, const Vec2& mid, bool reverse) {
    constexpr float kTwoPi = 6.28318531f;
    const float sweep = alpha * kTwoPi;
    const float side = reverse ? -1.f : 1.f;
    // Clockwise angle from straight up, as seen from the midpoint (mirrored when reversed).
    auto angleOf = [&](const Vec2& p) {
        const float a = std::atan2(side * (p.x - mid.x), p.y - mid.y);
        return a < 0 ? a + kTwoPi : a;
    };
    std::vector<Vec2> outline{Vec2(mid.x, 1)};
    const Vec2 corners[4] = {{1, 1}, {1, 0}, {0, 0}, {0, 1}};   // clockwise from the top right
    std::vector<std::pair<float, Vec2>> passed;
    for (const Vec2& corner : corners) {
        if (corner == mid) continue;
        const float a = angleOf(corner);
        if (a > 0 && a < sweep) passed.emplace_back(a, corner);
    }
    std::sort(passed.begin(), passed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& p : passed) outline.push_back(p.second);
    // The sweep's end: along its direction from the midpoint to the box's outline.
    const Vec2 dir(side * std::sin(sweep), std::cos(sweep));
    float reach = 2.f;
    if (dir.x > 1e-6f) reach = std::min(reach, (1 - mid.x) / dir.x);
    if (dir.x < -1e-6f) reach = std::min(reach, -mid.x / dir.x);
    if (dir.y > 1e-6f) reach = std::min(reach, (1 - mid.y) / dir.y);
    if (dir.y < -1e-6f) reach = std::min(reach, -mid.y / dir.y);
    outline.push_back(Vec2(std::clamp(mid.x + dir.x * reach, 0.f, 1.f), std::clamp(mid.y + dir.y * reach, 0.f, 1.f)));
    return outline;
}

}  // namespace

ProgressTimer* ProgressTimer::create(Sprite* sprite) {
    auto* timer = new ProgressTimer;
    if (!timer->init()) return autoreleased(timer, false);
    timer->setAnchorPoint(Vec2(0.5f, 0.5f));
    timer->setSprite(sprite);
    return autoreleased(timer, true);
}

ProgressTimer::~ProgressTimer() {
    if (_sprite) _sprite->release();
}

void ProgressTimer::setSprite(Sprite* sprite) {
    if (sprite == _sprite) return;
    if (sprite) sprite->retain();
    if (_sprite) _sprite->release();
    _sprite = sprite;
    setContentSize(sprite ? sprite->getContentSize() : Size());
}

void ProgressTimer::setPercentage(float percentage) {
    // NaN reads as 0.
    _percentage = percentage > 0.f ? std::min(percentage, 100.f) : 0.f;
}

void ProgressTimer::setMidpoint(const Vec2& midpoint) { _midpoint = clampedUnit(midpoint); }

void ProgressTimer::setBarChangeRate(const Vec2& rate) { _barChangeRate = clampedUnit(rate); }

void ProgressTimer::draw(Renderer* renderer, const Mat4& transform, uint32_t) {
    float uvs[8];
    if (!_sprite || _percentage <= 0 || !_sprite->getQuadTexCoords(uvs)) return;
    const Size& size = getContentSize();
    const Color4B color = _sprite->getQuadColor();
    // A point of the box in fractions, in world space with its texture coordinates.
    auto vertexAt = [&](const Vec2& f) {
        Vec3 p(f.x * size.width, f.y * size.height, 0);
        transform.transformPoint(&p);
        auto mix = [&](int k) {
            const float bottom = uvs[k] + (uvs[2 + k] - uvs[k]) * f.x;
            const float top = uvs[4 + k] + (uvs[6 + k] - uvs[4 + k]) * f.x;
            return bottom + (top - bottom) * f.y;
        };
        return V2F_C4B_T2F{p.x, p.y, color.r, color.g, color.b, color.a, mix(0), mix(1)};
    };
    GLProgramState* state = getGLProgramState() ? getGLProgramState() : defaultQuadProgramState();
    _quad.init(getGlobalZOrder(), _sprite->getTexture(), state, _sprite->getBlendFunc());
    const float alpha = _percentage / 100.f;
    if (_type == Type::BAR) {
        float x0, x1, y0, y1;
        barSpan(alpha, _barChangeRate.x, _midpoint.x, &x0, &x1);
        barSpan(alpha, _barChangeRate.y, _midpoint.y, &y0, &y1);
        _quad.addQuad({vertexAt({x0, y0}), vertexAt({x1, y0}), vertexAt({x0, y1}), vertexAt({x1, y1})});
    } else {
        // Each triangle goes out as a quad whose last two corners coincide.
        const std::vector<Vec2> outline = radialOutline(alpha, _midpoint, _reverse);
        const V2F_C4B_T2F centre = vertexAt(_midpoint);
        for (size_t i = 0; i + 1 < outline.size(); ++i) {
            const V2F_C4B_T2F b = vertexAt(outline[i + 1]);
            _quad.addQuad({centre, vertexAt(outline[i]), b, b});
        }
    }
    renderer->addCommand(&_quad);
}

}  // namespace engine
