#pragma once
// Plays a part of an Animation3D on a node's bones: the target's descendants
// named as the animation's bones (the nearest of each name, depth first). A bone
// node takes the curve's translation as its position (x, y; z is not kept by 2D
// nodes), its scale (x, y) and the turn of its rotation about the z axis, mixed
// with the node's own values by the weight (1: the curve alone). The part runs
// from a start time for a duration (seconds of the animation); the speed divides
// the duration, and a negative speed plays the part backwards. Quality NONE
// leaves the bones untouched. Main thread only.
#include "engine/actions/ActionInterval.h"

namespace engine {

class Animation3D;

class Animate3D : public ActionInterval {
public:
    // Quality as scripts number it.
    enum class Quality { QUALITY_NONE = 0, QUALITY_LOW = 1, QUALITY_HIGH = 2 };

    // Autoreleased; nullptr for a null animation or a part outside it.
    static Animate3D* create(Animation3D* animation);
    static Animate3D* create(Animation3D* animation, float fromTime, float duration);
    // Frames at frameRate frames a second (startFrame to endFrame).
    static Animate3D* createWithFrames(Animation3D* animation, int startFrame, int endFrame, float frameRate = 30.f);
    ~Animate3D() override;

    Animation3D* getAnimation() const { return _animation; }
    float getStartTime() const { return _start; }
    // The part's length in seconds of the animation (the duration at speed 1).
    float getOriginInterval() const { return _originInterval; }
    void setOriginInterval(float interval);
    void setSpeed(float speed);
    float getSpeed() const { return _playReverse ? -_absSpeed : _absSpeed; }
    void setWeight(float weight) { _weight = weight < 0 ? 0 : weight; }
    float getWeight() const { return _weight; }
    void setQuality(Quality quality) { _quality = quality; }
    Quality getQuality() const { return _quality; }
    // The blend-in time of newly started animations, shared by all; kept for
    // scripts (animations here switch at once, without blending).
    static void setTransitionTime(float seconds) { s_transitionTime = seconds < 0 ? 0 : seconds; }
    static float getTransitionTime() { return s_transitionTime; }

    Animate3D* clone() const override;
    Animate3D* reverse() const;
    void update(float t) override;

private:
    Animate3D() = default;
    bool init(Animation3D* animation, float fromTime, float duration);

    Animation3D* _animation = nullptr;
    float _start = 0;            // the part's start, 0 to 1 of the animation
    float _last = 1;             // the part's length, 0 to 1 of the animation
    float _originInterval = 0;
    float _absSpeed = 1;
    bool _playReverse = false;
    float _weight = 1;
    Quality _quality = Quality::QUALITY_HIGH;
    static inline float s_transitionTime = 0.1f;
};

}  // namespace engine
