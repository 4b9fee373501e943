#include "engine/actions/Animate.h"

#include <cmath>

#include "engine/scene/Sprite.h"

namespace engine {

Animate* Animate::create(Animation* animation) {
    if (!animation) return nullptr;
    auto* animate = new Animate;
    animate->_animation = animation;
    animation->retain();
    animate->initWithDuration(animation->getDuration() * static_cast<float>(animation->getLoops()));
    const float total = animation->getTotalDelayUnits();
    float units = 0.f;
    for (AnimationFrame* frame : animation->getFrames()) {
        animate->_splitTimes.push_back(total > 0.f ? units / total : 0.f);
        units += frame->getDelayUnits();
    }
    animate->autorelease();
    return animate;
}

Animate::~Animate() {
    if (_originalFrame) _originalFrame->release();
    _animation->release();
}

Animate* Animate::clone() const { return create(_animation->clone()); }

Sprite* Animate::sprite() const { return dynamic_cast<Sprite*>(getTarget()); }

void Animate::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _nextFrame = 0;
    _executedLoops = 0;
    if (_originalFrame) {
        _originalFrame->release();
        _originalFrame = nullptr;
    }
    if (Sprite* shown = sprite(); shown && _animation->getRestoreOriginalFrame()) {
        _originalFrame = shown->getSpriteFrame();
        if (_originalFrame) _originalFrame->retain();
    }
}

void Animate::stop() {
    if (Sprite* shown = sprite(); shown && _originalFrame) shown->setSpriteFrame(_originalFrame);
    if (_originalFrame) {
        _originalFrame->release();
        _originalFrame = nullptr;
    }
    ActionInterval::stop();
}

void Animate::update(float t) {
    Sprite* shown = sprite();
    if (!shown) return;
    const unsigned int loops = _animation->getLoops();
    // The loop t is in; t = 1 ends the last loop with its last frame shown.
    if (t < 1.f) {
        const float scaled = t * static_cast<float>(loops);
        const auto loop = static_cast<unsigned int>(scaled);
        if (loop > _executedLoops) {
            // Finish the loops passed over, then start again.
            const auto& frames = _animation->getFrames();
            if (!frames.empty() && _nextFrame < frames.size()) shown->setSpriteFrame(frames.back()->getSpriteFrame());
            _nextFrame = 0;
            _executedLoops = loop;
        }
        t = scaled - static_cast<float>(loop);
    }
    const auto& frames = _animation->getFrames();
    for (size_t i = _nextFrame; i < frames.size(); ++i) {
        if (_splitTimes[i] > t) break;
        shown->setSpriteFrame(frames[i]->getSpriteFrame());
        _nextFrame = i + 1;
    }
}

}  // namespace engine
