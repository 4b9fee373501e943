#pragma once
// The skeleton renderer node with an animation state: each frame it advances and
// applies the state and updates the skeleton's world transform, and it turns the
// state's notifications into callbacks, node-wide and per track entry (the
// entry's own callback first). The node stays alive while its update runs, so a
// callback may remove it from the scene. An empty node (unreadable files) has no
// state: its operations return none and do nothing.
#include <functional>
#include <string>
#include <vector>

#include "skeleton/AnimationState.h"
#include "skeleton/SkeletonRenderer.h"

namespace skeleton {

using StartListener = std::function<void(int trackIndex)>;
using EndListener = std::function<void(int trackIndex)>;
using CompleteListener = std::function<void(int trackIndex, int loopCount)>;
using EventListener = std::function<void(int trackIndex, spEvent* event)>;

// The per-entry callbacks, kept in the entry's rendererObject.
struct TrackEntryListeners {
    StartListener startListener;
    EndListener endListener;
    CompleteListener completeListener;
    EventListener eventListener;
};

class SkeletonAnimation : public SkeletonRenderer {
public:
    // Autoreleased.
    static SkeletonAnimation* createWithFile(const std::string& skeletonDataFile, const std::string& atlasFile,
                                             float scale = 1);
    // The same, naming the skeleton file's form: JSON, the one form this runtime reads.
    static SkeletonAnimation* createWithJsonFile(const std::string& skeletonJsonFile, const std::string& atlasFile,
                                                 float scale = 1) {
        return createWithFile(skeletonJsonFile, atlasFile, scale);
    }

    SkeletonAnimation(const std::string& skeletonDataFile, const std::string& atlasFile, float scale = 1);
    SkeletonAnimation(const std::string& skeletonDataFile, spAtlas* atlas, float scale = 1);
    SkeletonAnimation(spSkeletonData* skeletonData, bool ownsSkeletonData = false);
    ~SkeletonAnimation() override;

    // Renderer clock, then state update and apply at delta * timeScale, then the
    // world transform.
    void update(float delta) override;

    // Replaces the state by one on that mix table (not owned; it must outlive the
    // node). Called from one of the state's own notifications, the replaced state
    // is disposed once its running update or apply has returned.
    void setAnimationStateData(spAnimationStateData* stateData);
    void setMix(const std::string& fromAnimation, const std::string& toAnimation, float duration);

    // An unknown name logs "Skeleton: Animation not found: <name>" and returns none;
    // so does a track index the state refuses (see SP_ANIMATION_STATE_MAX_TRACKS),
    // and, for addAnimation, a delay that is not finite (both logged).
    spTrackEntry* setAnimation(int trackIndex, const std::string& name, bool loop);
    spTrackEntry* addAnimation(int trackIndex, const std::string& name, bool loop, float delay = 0);
    spTrackEntry* getCurrent(int trackIndex = 0);
    void clearTracks();
    void clearTrack(int trackIndex = 0);
    spAnimationState* getState() const { return _state; }

    void setStartListener(const StartListener& listener) { _startListener = listener; }
    void setEndListener(const EndListener& listener) { _endListener = listener; }
    void setCompleteListener(const CompleteListener& listener) { _completeListener = listener; }
    void setEventListener(const EventListener& listener) { _eventListener = listener; }
    void setTrackStartListener(spTrackEntry* entry, const StartListener& listener);
    void setTrackEndListener(spTrackEntry* entry, const EndListener& listener);
    void setTrackCompleteListener(spTrackEntry* entry, const CompleteListener& listener);
    void setTrackEventListener(spTrackEntry* entry, const EventListener& listener);

    virtual void onAnimationStateEvent(int trackIndex, spEventType type, spEvent* event, int loopCount);
    virtual void onTrackEntryEvent(int trackIndex, spEventType type, spEvent* event, int loopCount);

    // The listeners of one track entry, made (and tied to the entry) on first use.
    TrackEntryListeners* getTrackEntryListeners(spTrackEntry* entry);

protected:
    SkeletonAnimation();
    void initialize() override;

private:
    void installState(spAnimationStateData* stateData);
    void disposeState();
    // Disposes the replaced states whose calls have all returned (all of them
    // when force is set).
    void disposeRetiredStates(bool force = false);

    struct RetiredState {
        spAnimationState* state;
        bool ownsData;
    };

    spAnimationState* _state = nullptr;
    bool _ownsAnimationStateData = false;
    std::vector<RetiredState> _retiredStates;
    StartListener _startListener;
    EndListener _endListener;
    CompleteListener _completeListener;
    EventListener _eventListener;
};

}  // namespace skeleton
