#pragma once
// A dial: a track sprite (its size is the control's), a progress timer
// (radial) showing the share of the range up to the value, and a thumb turned
// to the value (a full turn is the whole range). Dragging round the centre
// turns the value by the angle swept, clockwise up; the value stays within
// minimum..maximum (0..1 at first). setValue sends VALUE_CHANGED when the value
// changed. A range whose minimum is not below its maximum is refused (logged).
#include <string>

#include "engine/extension/Control.h"

namespace engine {
class ProgressTimer;
class Sprite;
}  // namespace engine

namespace engine::extension {

class ControlPotentiometer : public Control {
public:
    // Autoreleased; nullptr when a sprite is missing (or a file does not load).
    static ControlPotentiometer* create(const std::string& trackFile, const std::string& progressFile,
                                        const std::string& thumbFile);
    static ControlPotentiometer* create(Sprite* track, Sprite* progress, Sprite* thumb);
    ~ControlPotentiometer() override;

    void setValue(float value);
    float getValue() const { return _value; }
    void setMinimumValue(float value);
    float getMinimumValue() const { return _minimum; }
    void setMaximumValue(float value);
    float getMaximumValue() const { return _maximum; }

    Sprite* getThumbSprite() const { return _thumb; }
    ProgressTimer* getProgressTimer() const { return _progressTimer; }

    // Geometry helpers: the distance between two points, and the signed angle in
    // degrees from the line a->b to the line c->d (clockwise positive).
    static float distanceBetweenPointAndPoint(const Vec2& a, const Vec2& b);
    static float angleInDegreesBetweenLineFromPoint_toPoint_toLineFromPoint_toPoint(const Vec2& a, const Vec2& b,
                                                                                       const Vec2& c, const Vec2& d);

    void needsLayout() override;
    bool onTouchBegan(Touch* touch, Event* event) override;
    void onTouchMoved(Touch* touch, Event* event) override;
    void onTouchEnded(Touch* touch, Event* event) override;

private:
    ControlPotentiometer() = default;
    bool initWithSprites(Sprite* track, Sprite* progress, Sprite* thumb);

    Sprite* _track = nullptr;   // retained children
    Sprite* _thumb = nullptr;
    ProgressTimer* _progressTimer = nullptr;
    Vec2 _previous;
    float _value = 0.f;
    float _minimum = 0.f, _maximum = 1.f;
};

}  // namespace engine::extension
