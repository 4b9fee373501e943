#include "engine/actions/TileEffects.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <random>

namespace engine {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

template <class F>
void eachTile(TiledGrid3DAction* action, const GridBase* grid, F f) {
    for (int i = 0; i < grid->columns(); ++i) {
        for (int j = 0; j < grid->rows(); ++j) {
            const Vec2 at(static_cast<float>(i), static_cast<float>(j));
            action->setTile(at, f(i, j, action->getOriginalTile(at)));
        }
    }
}

Quad3 moved(Quad3 q, const Vec3& by) {
    for (Vec3* v : {&q.bl, &q.br, &q.tl, &q.tr}) *v = *v + by;
    return q;
}

// Every corner of every tile moves randomly within ±range (z only with alongZ).
void shakeTiles(TiledGrid3DAction* action, int range, bool alongZ) {
    eachTile(action, action->getGrid(), [&](int, int, Quad3 q) {
        for (Vec3* v : {&q.bl, &q.br, &q.tl, &q.tr}) {
            v->x += randomShake(range);
            v->y += randomShake(range);
            if (alongZ) v->z += randomShake(range);
        }
        return q;
    });
}

std::vector<int> shuffled(int count, unsigned int seed) {
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::mt19937 generator(seed);
    // Fisher-Yates with our own draws: the same order on every standard library.
    for (int i = count - 1; i > 0; --i) std::swap(order[i], order[generator() % static_cast<unsigned>(i + 1)]);
    return order;
}

}  // namespace

// ---- Shaky / shattered

ShakyTiles3D* ShakyTiles3D::create(float duration, const Size& gridSize, int range, bool shakeZ) {
    return made<ShakyTiles3D>(duration, gridSize, [&](ShakyTiles3D& a) {
        a._range = range;
        a._shakeZ = shakeZ;
    });
}
ShakyTiles3D* ShakyTiles3D::clone() const { return sameWay(create(getDuration(), getGridSize(), _range, _shakeZ)); }
void ShakyTiles3D::applyEffect(float) { shakeTiles(this, _range, _shakeZ); }

ShatteredTiles3D* ShatteredTiles3D::create(float duration, const Size& gridSize, int range, bool shatterZ) {
    return made<ShatteredTiles3D>(duration, gridSize, [&](ShatteredTiles3D& a) {
        a._range = range;
        a._shatterZ = shatterZ;
    });
}
ShatteredTiles3D* ShatteredTiles3D::clone() const {
    return sameWay(create(getDuration(), getGridSize(), _range, _shatterZ));
}
void ShatteredTiles3D::startWithTarget(Node* target) {
    TiledGrid3DAction::startWithTarget(target);
    _once = false;
}
void ShatteredTiles3D::applyEffect(float) {
    if (_once) return;
    _once = true;
    shakeTiles(this, _range, _shatterZ);
}

// ---- Shuffle / turn off

ShuffleTiles* ShuffleTiles::create(float duration, const Size& gridSize, unsigned int seed) {
    return made<ShuffleTiles>(duration, gridSize, [&](ShuffleTiles& a) {
        a._seed = seed;
    });
}
ShuffleTiles* ShuffleTiles::clone() const { return sameWay(create(getDuration(), getGridSize(), _seed)); }
void ShuffleTiles::startWithTarget(Node* target) {
    TiledGrid3DAction::startWithTarget(target);
    const GridBase* grid = getGrid();
    _destinations = grid ? shuffled(grid->columns() * grid->rows(), _seed) : std::vector<int>{};
}
Vec2 ShuffleTiles::getDestination(const Vec2& tile) const {
    const GridBase* grid = getGrid();
    if (!grid || !(tile.x >= 0) || !(tile.y >= 0) || tile.x >= grid->columns() || tile.y >= grid->rows()) return tile;
    const int cell = _destinations[static_cast<int>(tile.x) * grid->rows() + static_cast<int>(tile.y)];
    return Vec2(static_cast<float>(cell / grid->rows()), static_cast<float>(cell % grid->rows()));
}
void ShuffleTiles::applyEffect(float t) {
    const Vec2 step = getGrid()->getStep();
    eachTile(this, getGrid(), [&](int i, int j, Quad3 q) {
        const Vec2 to = getDestination(Vec2(static_cast<float>(i), static_cast<float>(j)));
        return moved(q, Vec3((to.x - i) * step.x * t, (to.y - j) * step.y * t, 0.f));
    });
}

TurnOffTiles* TurnOffTiles::create(float duration, const Size& gridSize) { return create(duration, gridSize, 0); }
TurnOffTiles* TurnOffTiles::create(float duration, const Size& gridSize, unsigned int seed) {
    return made<TurnOffTiles>(duration, gridSize, [&](TurnOffTiles& a) {
        a._seed = seed;
    });
}
TurnOffTiles* TurnOffTiles::clone() const { return sameWay(create(getDuration(), getGridSize(), _seed)); }
void TurnOffTiles::startWithTarget(Node* target) {
    TiledGrid3DAction::startWithTarget(target);
    const GridBase* grid = getGrid();
    _order = grid ? shuffled(grid->columns() * grid->rows(), _seed) : std::vector<int>{};
}
void TurnOffTiles::turnOnTile(const Vec2& position) { setTile(position, getOriginalTile(position)); }
void TurnOffTiles::turnOffTile(const Vec2& position) { setTile(position, Quad3{}); }
void TurnOffTiles::applyEffect(float t) {
    const int rows = getGrid()->rows();
    const int count = static_cast<int>(_order.size());
    const int off = std::clamp(static_cast<int>(t * count), 0, count);
    for (int k = 0; k < count; ++k) {
        const Vec2 at(static_cast<float>(_order[k] / rows), static_cast<float>(_order[k] % rows));
        if (k < off) {
            turnOffTile(at);
        } else {
            turnOnTile(at);
        }
    }
}

// ---- Fading tiles

FadeOutTRTiles* FadeOutTRTiles::create(float duration, const Size& gridSize) {
    return made<FadeOutTRTiles>(duration, gridSize);
}
FadeOutTRTiles* FadeOutTRTiles::clone() const { return sameWay(create(getDuration(), getGridSize())); }
float FadeOutTRTiles::testFunc(const Vec2& position, float t) const {
    const float front = (getGridSize().width + getGridSize().height) * t;
    if (front <= 0.f) return 1.f;
    return std::pow((position.x + position.y) / front, 6.f);
}
void FadeOutTRTiles::turnOnTile(const Vec2& position) { setTile(position, getOriginalTile(position)); }
void FadeOutTRTiles::turnOffTile(const Vec2& position) { setTile(position, Quad3{}); }
void FadeOutTRTiles::transformTile(const Vec2& position, float distance) {
    Quad3 q = getOriginalTile(position);
    const Vec3 centre = (q.bl + q.tr) * 0.5f;
    for (Vec3* v : {&q.bl, &q.br, &q.tl, &q.tr}) {
        v->x = centre.x + (v->x - centre.x) * distance;
        v->y = centre.y + (v->y - centre.y) * distance;
    }
    setTile(position, q);
}
void FadeOutTRTiles::applyEffect(float t) {
    const GridBase* grid = getGrid();
    for (int i = 0; i < grid->columns(); ++i) {
        for (int j = 0; j < grid->rows(); ++j) {
            const Vec2 at(static_cast<float>(i), static_cast<float>(j));
            const float distance = testFunc(at, t);
            if (distance <= 0.f) {
                turnOffTile(at);
            } else if (distance < 1.f) {
                transformTile(at, distance);
            } else {
                turnOnTile(at);
            }
        }
    }
}

FadeOutBLTiles* FadeOutBLTiles::create(float duration, const Size& gridSize) {
    return made<FadeOutBLTiles>(duration, gridSize);
}
FadeOutBLTiles* FadeOutBLTiles::clone() const { return sameWay(create(getDuration(), getGridSize())); }
float FadeOutBLTiles::testFunc(const Vec2& position, float t) const {
    const float sum = position.x + position.y;
    if (sum <= 0.f) return 1.f;
    return std::pow((getGridSize().width + getGridSize().height) * (1.f - t) / sum, 6.f);
}

FadeOutUpTiles* FadeOutUpTiles::create(float duration, const Size& gridSize) {
    return made<FadeOutUpTiles>(duration, gridSize);
}
FadeOutUpTiles* FadeOutUpTiles::clone() const { return sameWay(create(getDuration(), getGridSize())); }
float FadeOutUpTiles::testFunc(const Vec2& position, float t) const {
    const float front = getGridSize().height * t;
    if (front <= 0.f) return 1.f;
    return std::pow(position.y / front, 6.f);
}
void FadeOutUpTiles::transformTile(const Vec2& position, float distance) {
    Quad3 q = getOriginalTile(position);
    const float middle = (q.bl.y + q.tl.y) * 0.5f;
    for (Vec3* v : {&q.bl, &q.br, &q.tl, &q.tr}) v->y = middle + (v->y - middle) * distance;
    setTile(position, q);
}

FadeOutDownTiles* FadeOutDownTiles::create(float duration, const Size& gridSize) {
    return made<FadeOutDownTiles>(duration, gridSize);
}
FadeOutDownTiles* FadeOutDownTiles::clone() const { return sameWay(create(getDuration(), getGridSize())); }
float FadeOutDownTiles::testFunc(const Vec2& position, float t) const {
    if (position.y <= 0.f) return 1.f;
    return std::pow(getGridSize().height * (1.f - t) / position.y, 6.f);
}

// ---- Waving, jumping, splitting

VEXO_WAVE_EFFECT_DEFS(WavesTiles3D, waves)
void WavesTiles3D::applyEffect(float t) {
    const float phase = 2.f * kPi * t * _waves;
    eachTile(this, getGrid(), [&](int, int, Quad3 q) {
        const float z = std::sin(phase + (q.bl.x + q.bl.y) * 0.01f) * _amplitude * _amplitudeRate;
        for (Vec3* v : {&q.bl, &q.br, &q.tl, &q.tr}) v->z = z;
        return q;
    });
}

VEXO_WAVE_EFFECT_DEFS(JumpTiles3D, jumps)
void JumpTiles3D::applyEffect(float t) {
    const float phase = 2.f * kPi * t * _jumps;
    const float even = std::sin(phase) * _amplitude * _amplitudeRate;
    const float odd = std::sin(phase + kPi) * _amplitude * _amplitudeRate;
    eachTile(this, getGrid(), [&](int i, int j, Quad3 q) {
        return moved(q, Vec3(0.f, 0.f, (i + j) % 2 == 0 ? even : odd));
    });
}

SplitRows* SplitRows::create(float duration, unsigned int rows) {
    return made<SplitRows>(duration, Size(1.f, static_cast<float>(rows)));
}
SplitRows* SplitRows::clone() const {
    return sameWay(create(getDuration(), static_cast<unsigned int>(getGridSize().height)));
}
void SplitRows::applyEffect(float t) {
    const float width = getGrid()->getGridRect().size.width;
    eachTile(this, getGrid(), [&](int, int j, Quad3 q) {
        return moved(q, Vec3((j % 2 == 0 ? 1.f : -1.f) * width * t, 0.f, 0.f));
    });
}

SplitCols* SplitCols::create(float duration, unsigned int columns) {
    return made<SplitCols>(duration, Size(static_cast<float>(columns), 1.f));
}
SplitCols* SplitCols::clone() const {
    return sameWay(create(getDuration(), static_cast<unsigned int>(getGridSize().width)));
}
void SplitCols::applyEffect(float t) {
    const float height = getGrid()->getGridRect().size.height;
    eachTile(this, getGrid(), [&](int i, int, Quad3 q) {
        return moved(q, Vec3(0.f, (i % 2 == 0 ? 1.f : -1.f) * height * t, 0.f));
    });
}

}  // namespace engine
