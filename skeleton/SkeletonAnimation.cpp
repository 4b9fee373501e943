#include "skeleton/SkeletonAnimation.h"

#include <cmath>
#include <cstddef>
#include <new>

#include "engine/base/Log.h"
#include "skeleton/extension.h"

namespace skeleton {
namespace {

void animationStateListener(spAnimationState* state, int trackIndex, spEventType type, spEvent* event,
                            int loopCount) {
    static_cast<SkeletonAnimation*>(state->rendererObject)->onAnimationStateEvent(trackIndex, type, event, loopCount);
}

void trackEntryListener(spAnimationState* state, int trackIndex, spEventType type, spEvent* event, int loopCount) {
    static_cast<SkeletonAnimation*>(state->rendererObject)->onTrackEntryEvent(trackIndex, type, event, loopCount);
}

void disposeTrackEntryWithListeners(spTrackEntry* entry) {
    if (auto* listeners = static_cast<TrackEntryListeners*>(entry->rendererObject)) {
        listeners->~TrackEntryListeners();
        SK_FREE(listeners);
        entry->rendererObject = nullptr;
    }
    spTrackEntry_dispose(entry);
}

// Each callback runs as a copy: it may replace itself or free its block.
void dispatch(const StartListener& start, const EndListener& end, const CompleteListener& complete,
              const EventListener& eventListener, int trackIndex, spEventType type, spEvent* event, int loopCount) {
    switch (type) {
        case SP_ANIMATION_START:
            if (start) {
                StartListener copy = start;
                copy(trackIndex);
            }
            break;
        case SP_ANIMATION_END:
            if (end) {
                EndListener copy = end;
                copy(trackIndex);
            }
            break;
        case SP_ANIMATION_COMPLETE:
            if (complete) {
                CompleteListener copy = complete;
                copy(trackIndex, loopCount);
            }
            break;
        case SP_ANIMATION_EVENT:
            if (eventListener) {
                EventListener copy = eventListener;
                copy(trackIndex, event);
            }
            break;
    }
}

// Keeps a node alive for a scope.
struct Hold {
    explicit Hold(engine::Ref* ref) : ref(ref) { ref->retain(); }
    ~Hold() { ref->release(); }
    engine::Ref* ref;
};

}  // namespace

SkeletonAnimation* SkeletonAnimation::createWithFile(const std::string& skeletonDataFile, const std::string& atlasFile,
                                                     float scale) {
    auto* node = new SkeletonAnimation(skeletonDataFile, atlasFile, scale);
    node->autorelease();
    return node;
}

SkeletonAnimation::SkeletonAnimation() = default;

SkeletonAnimation::SkeletonAnimation(const std::string& skeletonDataFile, const std::string& atlasFile, float scale) {
    initWithFile(skeletonDataFile, atlasFile, scale);
}

SkeletonAnimation::SkeletonAnimation(const std::string& skeletonDataFile, spAtlas* atlas, float scale) {
    initWithFile(skeletonDataFile, atlas, scale);
}

SkeletonAnimation::SkeletonAnimation(spSkeletonData* skeletonData, bool ownsSkeletonData) {
    initWithData(skeletonData, ownsSkeletonData);
}

SkeletonAnimation::~SkeletonAnimation() {
    disposeState();
    disposeRetiredStates(true);
}

namespace {

void disposeStateAndData(spAnimationState* state, bool ownsData) {
    spAnimationStateData* data = state->data;
    spAnimationState_dispose(state);
    // The state's entries are gone before the mix table they were looked up in.
    if (ownsData) spAnimationStateData_dispose(data);
}

}  // namespace

void SkeletonAnimation::disposeState() {
    if (!_state) return;
    if (spAnimationState_isRunning(_state)) {
        // Replaced from its own notification: the running call still walks it.
        _retiredStates.push_back({_state, _ownsAnimationStateData});
    } else {
        disposeStateAndData(_state, _ownsAnimationStateData);
    }
    _state = nullptr;
}

void SkeletonAnimation::disposeRetiredStates(bool force) {
    for (size_t i = 0; i < _retiredStates.size();) {
        RetiredState retired = _retiredStates[i];
        if (!force && spAnimationState_isRunning(retired.state)) {
            ++i;
            continue;
        }
        _retiredStates.erase(_retiredStates.begin() + static_cast<std::ptrdiff_t>(i));
        disposeStateAndData(retired.state, retired.ownsData);
    }
}

void SkeletonAnimation::installState(spAnimationStateData* stateData) {
    _state = spAnimationState_create(stateData);
    _state->rendererObject = this;
    _state->listener = animationStateListener;
    _state->disposeTrackEntry = disposeTrackEntryWithListeners;
}

void SkeletonAnimation::initialize() {
    SkeletonRenderer::initialize();
    disposeState();
    if (!getSkeleton()) return;
    _ownsAnimationStateData = true;
    installState(spAnimationStateData_create(getSkeleton()->data));
}

void SkeletonAnimation::setAnimationStateData(spAnimationStateData* stateData) {
    if (!stateData) return;
    disposeState();
    _ownsAnimationStateData = false;
    installState(stateData);
}

void SkeletonAnimation::update(float delta) {
    Hold hold(this);
    SkeletonRenderer::update(delta);
    if (!_state) return;
    delta *= getTimeScale();
    if (!std::isfinite(delta)) delta = 0;   // logged by the renderer's update; the pose is still applied
    spAnimationState_update(_state, delta);
    // A notification may have replaced the state: the new one is applied.
    spAnimationState_apply(_state, getSkeleton());
    spSkeleton_updateWorldTransform(getSkeleton());
    disposeRetiredStates();
}

void SkeletonAnimation::setMix(const std::string& fromAnimation, const std::string& toAnimation, float duration) {
    if (_state) spAnimationStateData_setMixByName(_state->data, fromAnimation.c_str(), toAnimation.c_str(), duration);
}

spTrackEntry* SkeletonAnimation::setAnimation(int trackIndex, const std::string& name, bool loop) {
    spAnimation* animation = getSkeleton() ? spSkeletonData_findAnimation(getSkeleton()->data, name.c_str()) : nullptr;
    if (!animation || !_state) {
        engine::log("Skeleton: Animation not found: %s", name.c_str());
        return nullptr;
    }
    if (!spAnimationState_isTrackIndex(trackIndex)) {
        engine::log("Skeleton: track index %d is outside 0 to %d", trackIndex, SP_ANIMATION_STATE_MAX_TRACKS - 1);
        return nullptr;
    }
    Hold hold(this);
    spTrackEntry* entry = spAnimationState_setAnimation(_state, trackIndex, animation, loop);
    disposeRetiredStates();
    return entry;
}

spTrackEntry* SkeletonAnimation::addAnimation(int trackIndex, const std::string& name, bool loop, float delay) {
    spAnimation* animation = getSkeleton() ? spSkeletonData_findAnimation(getSkeleton()->data, name.c_str()) : nullptr;
    if (!animation || !_state) {
        engine::log("Skeleton: Animation not found: %s", name.c_str());
        return nullptr;
    }
    if (!spAnimationState_isTrackIndex(trackIndex)) {
        engine::log("Skeleton: track index %d is outside 0 to %d", trackIndex, SP_ANIMATION_STATE_MAX_TRACKS - 1);
        return nullptr;
    }
    if (!std::isfinite(delay)) {
        engine::log("Skeleton: delay must be finite, %g refused", static_cast<double>(delay));
        return nullptr;
    }
    Hold hold(this);
    return spAnimationState_addAnimation(_state, trackIndex, animation, loop, delay);
}

spTrackEntry* SkeletonAnimation::getCurrent(int trackIndex) {
    return _state ? spAnimationState_getTrackEntry(_state, trackIndex) : nullptr;
}

void SkeletonAnimation::clearTracks() {
    if (!_state) return;
    Hold hold(this);
    spAnimationState_clearTracks(_state);
    disposeRetiredStates();
}

void SkeletonAnimation::clearTrack(int trackIndex) {
    if (!_state) return;
    Hold hold(this);
    spAnimationState_clearTrack(_state, trackIndex);
    disposeRetiredStates();
}

TrackEntryListeners* SkeletonAnimation::getTrackEntryListeners(spTrackEntry* entry) {
    if (!entry->rendererObject) {
        entry->rendererObject = new (SK_MALLOC(TrackEntryListeners, 1)) TrackEntryListeners();
        entry->listener = trackEntryListener;
    }
    return static_cast<TrackEntryListeners*>(entry->rendererObject);
}

void SkeletonAnimation::setTrackStartListener(spTrackEntry* entry, const StartListener& listener) {
    if (entry) getTrackEntryListeners(entry)->startListener = listener;
}

void SkeletonAnimation::setTrackEndListener(spTrackEntry* entry, const EndListener& listener) {
    if (entry) getTrackEntryListeners(entry)->endListener = listener;
}

void SkeletonAnimation::setTrackCompleteListener(spTrackEntry* entry, const CompleteListener& listener) {
    if (entry) getTrackEntryListeners(entry)->completeListener = listener;
}

void SkeletonAnimation::setTrackEventListener(spTrackEntry* entry, const EventListener& listener) {
    if (entry) getTrackEntryListeners(entry)->eventListener = listener;
}

void SkeletonAnimation::onAnimationStateEvent(int trackIndex, spEventType type, spEvent* event, int loopCount) {
    dispatch(_startListener, _endListener, _completeListener, _eventListener, trackIndex, type, event, loopCount);
}

void SkeletonAnimation::onTrackEntryEvent(int trackIndex, spEventType type, spEvent* event, int loopCount) {
    spTrackEntry* entry = _state ? spAnimationState_getTrackEntry(_state, trackIndex) : nullptr;
    if (!entry || !entry->rendererObject) return;
    const auto& l = *static_cast<TrackEntryListeners*>(entry->rendererObject);
    dispatch(l.startListener, l.endListener, l.completeListener, l.eventListener, trackIndex, type, event, loopCount);
}

}  // namespace skeleton
