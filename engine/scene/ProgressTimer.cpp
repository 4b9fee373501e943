#include "engine/scene/ProgressTimer.h"

#include <algorithm>

#include "engine/scene/Sprite.h"

namespace engine {

namespace {
Vec2 clampedUnit(const Vec2& value) { return Vec2(std::clamp(value.x, 0.f, 1.f), std::clamp(value.y, 0.f, 1.f)); }
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

}  // namespace engine
