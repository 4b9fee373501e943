#pragma once
// Frame animations: a list of sprite frames, each shown for a number of delay
// units, a delay per unit in seconds, a loop count and whether a sprite gets its
// own frame back when an animation ends. The animation cache keeps animations by
// name (retained). Main thread only.
#include <map>
#include <string>
#include <vector>

#include "engine/base/Ref.h"
#include "engine/base/Vector.h"
#include "engine/scene/SpriteFrame.h"

namespace engine {

class AnimationFrame : public Ref {
public:
    // Autoreleased; nullptr for a null frame.
    static AnimationFrame* create(SpriteFrame* frame, float delayUnits);
    ~AnimationFrame() override;
    SpriteFrame* getSpriteFrame() const { return _frame; }
    // A null frame is ignored.
    void setSpriteFrame(SpriteFrame* frame);
    float getDelayUnits() const { return _delayUnits; }
    // Takes effect in animations the entry is added to afterwards.
    void setDelayUnits(float delayUnits) { _delayUnits = delayUnits; }
    AnimationFrame* clone() const;

private:
    AnimationFrame() = default;
    SpriteFrame* _frame = nullptr;
    float _delayUnits = 1.f;
};

class Animation : public Ref {
public:
    static Animation* create();
    // One delay unit per frame (null frames are skipped).
    static Animation* createWithSpriteFrames(const std::vector<SpriteFrame*>& frames, float delayPerUnit = 0.f,
                                             unsigned int loops = 1);
    ~Animation() override;

    // Replace the frames (the total delay units follow) and set the timing.
    bool initWithAnimationFrames(const Vector<AnimationFrame*>& frames, float delayPerUnit, unsigned int loops);
    bool initWithSpriteFrames(const std::vector<SpriteFrame*>& frames, float delayPerUnit = 0.f,
                              unsigned int loops = 1);
    void setFrames(const Vector<AnimationFrame*>& frames);

    void addSpriteFrame(SpriteFrame* frame);
    // A frame of the whole image; nothing when the image cannot be read.
    void addSpriteFrameWithFile(const std::string& filename);
    const std::vector<AnimationFrame*>& getFrames() const { return _frames; }

    float getDelayPerUnit() const { return _delayPerUnit; }
    void setDelayPerUnit(float delay) { _delayPerUnit = delay; }
    unsigned int getLoops() const { return _loops; }
    void setLoops(unsigned int loops) { _loops = loops; }
    bool getRestoreOriginalFrame() const { return _restoreOriginalFrame; }
    void setRestoreOriginalFrame(bool restore) { _restoreOriginalFrame = restore; }
    float getTotalDelayUnits() const { return _totalDelayUnits; }
    // One loop: total delay units times the delay per unit.
    float getDuration() const { return _totalDelayUnits * _delayPerUnit; }
    Animation* clone() const;

private:
    Animation() = default;
    void addFrame(AnimationFrame* frame);

    std::vector<AnimationFrame*> _frames;   // retained
    float _delayPerUnit = 0.f;
    float _totalDelayUnits = 0.f;
    unsigned int _loops = 1;
    bool _restoreOriginalFrame = false;
};

class AnimationCache {
public:
    static AnimationCache* getInstance();
    static void destroyInstance();

    // Replaces (and releases) an animation of the same name; a null one does nothing.
    void addAnimation(Animation* animation, const std::string& name);
    Animation* getAnimation(const std::string& name) const;
    void removeAnimation(const std::string& name);

private:
    AnimationCache() = default;
    ~AnimationCache();
    std::map<std::string, Animation*> _animations;
};

}  // namespace engine
