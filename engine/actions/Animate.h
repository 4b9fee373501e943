#pragma once
// Plays a frame animation (engine/scene/Animation.h, retained) on a sprite: its
// duration is the animation's duration times its loops. Each frame is shown from
// its share of the loop on (frame i at the delay units before it over the total);
// at the end of every loop the last frame has been shown. When the animation
// restores the original frame, the sprite gets back the frame it showed at the
// start when the action stops. Targets that are not sprites are left alone.
// create() answers nullptr for a null animation.
#include <vector>

#include "engine/actions/ActionInterval.h"
#include "engine/scene/Animation.h"

namespace engine {

class Sprite;

class Animate : public ActionInterval {
public:
    static Animate* create(Animation* animation);
    ~Animate() override;
    Animate* clone() const override;
    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;
    Animation* getAnimation() const { return _animation; }

private:
    Animate() = default;
    Sprite* sprite() const;

    Animation* _animation = nullptr;
    std::vector<float> _splitTimes;   // of each frame, 0..1 of a loop
    size_t _nextFrame = 0;
    unsigned int _executedLoops = 0;
    SpriteFrame* _originalFrame = nullptr;   // retained while running
};

}  // namespace engine
