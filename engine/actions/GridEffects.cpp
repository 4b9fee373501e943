#include "engine/actions/GridEffects.h"

#include <cmath>
#include <numbers>
#include <random>

namespace engine {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// Every point of the grid: f(column, row, original point) -> new point.
template <class F>
void eachVertex(Grid3DAction* action, const GridBase* grid, F f) {
    for (int i = 0; i <= grid->columns(); ++i) {
        for (int j = 0; j <= grid->rows(); ++j) {
            const Vec2 at(static_cast<float>(i), static_cast<float>(j));
            action->setVertex(at, f(i, j, action->getOriginalVertex(at)));
        }
    }
}

}  // namespace

float randomShake(int range) {
    static std::minstd_rand generator(20240229u);
    if (range <= 0) return 0.f;
    return static_cast<float>(static_cast<int>(generator() % (2u * range + 1u)) - range);
}

VEXO_WAVE_EFFECT_DEFS(Waves3D, waves)
void Waves3D::applyEffect(float t) {
    const float phase = 2.f * kPi * t * _waves;
    eachVertex(this, getGrid(), [&](int, int, Vec3 v) {
        v.z += std::sin(phase + (v.x + v.y) * 0.01f) * _amplitude * _amplitudeRate;
        return v;
    });
}

Waves* Waves::create(float duration, const Size& gridSize, unsigned int waves, float amplitude, bool horizontal,
                     bool vertical) {
    return made<Waves>(duration, gridSize, [&](Waves& a) {
        a._waves = waves;
        a._amplitude = amplitude;
        a._horizontal = horizontal;
        a._vertical = vertical;
    });
}
Waves* Waves::clone() const {
    return sameEffect(create(getDuration(), getGridSize(), _waves, _amplitude, _horizontal, _vertical));
}
void Waves::applyEffect(float t) {
    const float phase = 2.f * kPi * t * _waves;
    eachVertex(this, getGrid(), [&](int, int, Vec3 v) {
        const Vec3 o = v;
        if (_vertical) v.x = o.x + std::sin(phase + o.y * 0.01f) * _amplitude * _amplitudeRate;
        if (_horizontal) v.y = o.y + std::sin(phase + o.x * 0.01f) * _amplitude * _amplitudeRate;
        return v;
    });
}

VEXO_WAVE_EFFECT_DEFS(Liquid, waves)
void Liquid::applyEffect(float t) {
    const float phase = 2.f * kPi * t * _waves;
    const GridBase* grid = getGrid();
    eachVertex(this, grid, [&](int i, int j, Vec3 v) {
        if (i == 0 || j == 0 || i == grid->columns() || j == grid->rows()) return v;   // the edges hold
        const Vec3 o = v;
        v.x = o.x + std::sin(phase + o.x * 0.01f) * _amplitude * _amplitudeRate;
        v.y = o.y + std::sin(phase + o.y * 0.01f) * _amplitude * _amplitudeRate;
        return v;
    });
}

Ripple3D* Ripple3D::create(float duration, const Size& gridSize, const Vec2& position, float radius,
                           unsigned int waves, float amplitude) {
    return made<Ripple3D>(duration, gridSize, [&](Ripple3D& a) {
        a._position = position;
        a._radius = radius;
        a._waves = waves;
        a._amplitude = amplitude;
    });
}
Ripple3D* Ripple3D::clone() const {
    return sameEffect(create(getDuration(), getGridSize(), _position, _radius, _waves, _amplitude));
}
void Ripple3D::applyEffect(float t) {
    const float phase = 2.f * kPi * t * _waves;
    eachVertex(this, getGrid(), [&](int, int, Vec3 v) {
        const float d = std::hypot(_position.x - v.x, _position.y - v.y);
        if (d < _radius) {
            const float fall = (_radius - d) / _radius;
            v.z += std::sin(phase + d * 0.1f) * _amplitude * _amplitudeRate * fall * fall;
        }
        return v;
    });
}

Lens3D* Lens3D::create(float duration, const Size& gridSize, const Vec2& position, float radius) {
    return made<Lens3D>(duration, gridSize, [&](Lens3D& a) {
        a._position = position;
        a._radius = radius;
    });
}
Lens3D* Lens3D::clone() const {
    Lens3D* copy = create(getDuration(), getGridSize(), _position, _radius);
    copy->_lensEffect = _lensEffect;
    copy->_concave = _concave;
    return sameWay(copy);
}
void Lens3D::applyEffect(float) {
    eachVertex(this, getGrid(), [&](int, int, Vec3 v) {
        const float dx = v.x - _position.x, dy = v.y - _position.y;
        const float d = std::hypot(dx, dy);
        if (d < _radius) {
            const float push = _lensEffect * (1.f - d / _radius);
            v.x = _position.x + dx * (1.f + push);
            v.y = _position.y + dy * (1.f + push);
            v.z += (_concave ? -1.f : 1.f) * (_radius - d) * _lensEffect * 0.1f;
        }
        return v;
    });
}

Twirl* Twirl::create(float duration, const Size& gridSize, const Vec2& position, unsigned int twirls,
                     float amplitude) {
    return made<Twirl>(duration, gridSize, [&](Twirl& a) {
        a._position = position;
        a._twirls = twirls;
        a._amplitude = amplitude;
    });
}
Twirl* Twirl::clone() const {
    return sameEffect(create(getDuration(), getGridSize(), _position, _twirls, _amplitude));
}
void Twirl::applyEffect(float t) {
    const GridBase* grid = getGrid();
    const Vec2 step = grid->getStep();
    const float swing = std::cos(kPi / 2.f + 2.f * kPi * t * _twirls) * 0.1f * _amplitude * _amplitudeRate;
    eachVertex(this, grid, [&](int, int, Vec3 v) {
        const float dx = v.x - _position.x, dy = v.y - _position.y;
        const float cells = std::hypot(step.x > 0 ? dx / step.x : 0.f, step.y > 0 ? dy / step.y : 0.f);
        const float angle = cells * swing;
        v.x = _position.x + dx * std::cos(angle) - dy * std::sin(angle);
        v.y = _position.y + dx * std::sin(angle) + dy * std::cos(angle);
        return v;
    });
}

Shaky3D* Shaky3D::create(float duration, const Size& gridSize, int range, bool shakeZ) {
    return made<Shaky3D>(duration, gridSize, [&](Shaky3D& a) {
        a._range = range;
        a._shakeZ = shakeZ;
    });
}
Shaky3D* Shaky3D::clone() const { return sameWay(create(getDuration(), getGridSize(), _range, _shakeZ)); }
void Shaky3D::applyEffect(float) {
    eachVertex(this, getGrid(), [&](int, int, Vec3 v) {
        v.x += randomShake(_range);
        v.y += randomShake(_range);
        if (_shakeZ) v.z += randomShake(_range);
        return v;
    });
}

namespace {

// Turns the four corners of a 1 x 1 grid about the middle line of one axis.
void flip(Grid3DAction* action, float t, bool aboutVertical) {
    const float angle = kPi * t;
    const Vec3 bl = action->getOriginalVertex(Vec2(0, 0)), tr = action->getOriginalVertex(Vec2(1, 1));
    const float middle = aboutVertical ? (bl.x + tr.x) / 2 : (bl.y + tr.y) / 2;
    for (int i = 0; i <= 1; ++i) {
        for (int j = 0; j <= 1; ++j) {
            const Vec2 at(static_cast<float>(i), static_cast<float>(j));
            Vec3 v = action->getOriginalVertex(at);
            float& along = aboutVertical ? v.x : v.y;
            const float offset = along - middle;
            along = middle + offset * std::cos(angle);
            v.z += offset * std::sin(angle);
            action->setVertex(at, v);
        }
    }
}

}  // namespace

FlipX3D* FlipX3D::create(float duration) {
    return made<FlipX3D>(duration, Size(1, 1));
}
FlipX3D* FlipX3D::clone() const { return sameWay(create(getDuration())); }
void FlipX3D::applyEffect(float t) { flip(this, t, true); }

FlipY3D* FlipY3D::create(float duration) {
    return made<FlipY3D>(duration, Size(1, 1));
}
FlipY3D* FlipY3D::clone() const { return sameWay(create(getDuration())); }
void FlipY3D::applyEffect(float t) { flip(this, t, false); }

PageTurn3D* PageTurn3D::create(float duration, const Size& gridSize) {
    return made<PageTurn3D>(duration, gridSize);
}
PageTurn3D* PageTurn3D::clone() const { return sameWay(create(getDuration(), getGridSize())); }
GridBase* PageTurn3D::newGrid(const Rect& rect) const {
    Grid3D* grid = Grid3D::create(getGridSize(), rect);
    if (grid) grid->setNeedDepthTestForBlit(true);   // the page folds over itself
    return grid;
}
void PageTurn3D::applyEffect(float t) {
    const Rect& rect = getGrid()->getGridRect();
    eachVertex(this, getGrid(), [&](int, int, Vec3 v) {
        const float offset = v.x - rect.origin.x;
        const float u = rect.size.width > 0 ? offset / rect.size.width : 0.f;
        const float angle = kPi * t * (0.5f + 0.5f * u);
        v.x = rect.origin.x + offset * std::cos(angle);
        v.z += offset * std::sin(angle);
        return v;
    });
}

}  // namespace engine
