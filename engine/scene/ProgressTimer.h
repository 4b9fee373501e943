#pragma once
// A node showing a share of a sprite (retained): radial (swept from 12 o'clock,
// clockwise unless reversed) or as a bar growing from the midpoint at the bar's
// change rate per axis. The percentage stays within 0..100; the content size is
// the sprite's.
//
// Drawn over its content box with the sprite's texture, texture coordinates
// (flips and rotation included), colour, opacity and blend function; the
// sprite's own place does not count. A bar is one quad: on each axis the shown
// part is percentage x rate + (1 - rate) of the side, centred on the midpoint and
// pushed back inside the box where it would cross a side. Radial: triangles
// fanned from the midpoint, from the top side straight above it round to where
// the swept angle meets the box's outline (reversing applies to radial only).
#include "engine/renderer/QuadCommand.h"
#include "engine/scene/Node.h"

namespace engine {

class Sprite;

class ProgressTimer : public Node {
public:
    enum class Type : int32_t { RADIAL, BAR };

    // Autoreleased; a null sprite gives an empty timer.
    static ProgressTimer* create(Sprite* sprite);
    ~ProgressTimer() override;

    void setSprite(Sprite* sprite);
    Sprite* getSprite() const { return _sprite; }
    void setType(Type type) { _type = type; }
    Type getType() const { return _type; }
    void setPercentage(float percentage);
    float getPercentage() const { return _percentage; }
    void setReverseDirection(bool reverse) { _reverse = reverse; }
    bool isReverseDirection() const { return _reverse; }
    // Each clamped to 0..1 per axis.
    void setMidpoint(const Vec2& midpoint);
    const Vec2& getMidpoint() const { return _midpoint; }
    void setBarChangeRate(const Vec2& rate);
    const Vec2& getBarChangeRate() const { return _barChangeRate; }

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

private:
    ProgressTimer() = default;

    Sprite* _sprite = nullptr;
    Type _type = Type::RADIAL;
    float _percentage = 0.f;
    bool _reverse = false;
    Vec2 _midpoint{0.5f, 0.5f};
    Vec2 _barChangeRate{1.f, 1.f};
    QuadCommand _quad;
};

}  // namespace engine
