#include "engine/scene/Animation.h"

#include "engine/renderer/TextureCache.h"

namespace engine {

AnimationFrame* AnimationFrame::create(SpriteFrame* frame, float delayUnits) {
    if (!frame) return nullptr;
    auto* entry = new AnimationFrame;
    entry->_frame = frame;
    entry->_delayUnits = delayUnits;
    frame->retain();
    entry->autorelease();
    return entry;
}

AnimationFrame::~AnimationFrame() {
    if (_frame) _frame->release();
}

void AnimationFrame::setSpriteFrame(SpriteFrame* frame) {
    if (!frame || frame == _frame) return;
    frame->retain();
    if (_frame) _frame->release();
    _frame = frame;
}

AnimationFrame* AnimationFrame::clone() const { return create(_frame, _delayUnits); }

Animation* Animation::create() {
    auto* animation = new Animation;
    animation->autorelease();
    return animation;
}

Animation* Animation::createWithSpriteFrames(const std::vector<SpriteFrame*>& frames, float delayPerUnit,
                                             unsigned int loops) {
    Animation* animation = create();
    animation->initWithSpriteFrames(frames, delayPerUnit, loops);
    return animation;
}

Animation::~Animation() {
    for (AnimationFrame* frame : _frames) frame->release();
}

void Animation::setFrames(const Vector<AnimationFrame*>& frames) {
    // Retain the new ones first: an entry may be in both lists.
    for (AnimationFrame* frame : frames) frame->retain();
    for (AnimationFrame* frame : _frames) frame->release();
    _frames.assign(frames.begin(), frames.end());
    _totalDelayUnits = 0.f;
    for (AnimationFrame* frame : _frames) _totalDelayUnits += frame->getDelayUnits();
}

bool Animation::initWithAnimationFrames(const Vector<AnimationFrame*>& frames, float delayPerUnit, unsigned int loops) {
    setFrames(frames);
    _delayPerUnit = delayPerUnit;
    _loops = loops;
    return true;
}

bool Animation::initWithSpriteFrames(const std::vector<SpriteFrame*>& frames, float delayPerUnit, unsigned int loops) {
    setFrames({});
    for (SpriteFrame* frame : frames) addSpriteFrame(frame);
    _delayPerUnit = delayPerUnit;
    _loops = loops;
    return true;
}

void Animation::addFrame(AnimationFrame* frame) {
    if (!frame) return;
    frame->retain();
    _frames.push_back(frame);
    _totalDelayUnits += frame->getDelayUnits();
}

void Animation::addSpriteFrame(SpriteFrame* frame) { addFrame(AnimationFrame::create(frame, 1.f)); }

void Animation::addSpriteFrameWithFile(const std::string& filename) {
    Texture2D* texture = TextureCache::getInstance()->addImage(filename);
    if (!texture) return;
    const Size& size = texture->getContentSize();
    addSpriteFrame(SpriteFrame::createWithTexture(texture, Rect(0, 0, size.width, size.height)));
}

Animation* Animation::clone() const {
    Animation* copy = create();
    for (AnimationFrame* frame : _frames) {
        copy->addFrame(AnimationFrame::create(frame->getSpriteFrame(), frame->getDelayUnits()));
    }
    copy->_delayPerUnit = _delayPerUnit;
    copy->_loops = _loops;
    copy->_restoreOriginalFrame = _restoreOriginalFrame;
    return copy;
}

namespace {
AnimationCache* cacheInstance = nullptr;
}

AnimationCache* AnimationCache::getInstance() {
    if (!cacheInstance) cacheInstance = new AnimationCache;
    return cacheInstance;
}

void AnimationCache::destroyInstance() {
    delete cacheInstance;
    cacheInstance = nullptr;
}

AnimationCache::~AnimationCache() {
    for (auto& entry : _animations) entry.second->release();
}

void AnimationCache::addAnimation(Animation* animation, const std::string& name) {
    if (!animation) return;
    animation->retain();
    auto [it, added] = _animations.try_emplace(name, animation);
    if (!added) {
        it->second->release();
        it->second = animation;
    }
}

Animation* AnimationCache::getAnimation(const std::string& name) const {
    auto found = _animations.find(name);
    return found == _animations.end() ? nullptr : found->second;
}

void AnimationCache::removeAnimation(const std::string& name) {
    auto found = _animations.find(name);
    if (found == _animations.end()) return;
    found->second->release();
    _animations.erase(found);
}

}  // namespace engine
