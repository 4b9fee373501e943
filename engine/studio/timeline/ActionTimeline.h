#pragma once
// A scene file's timeline: keyframed tracks that animate nodes of the tree it runs
// on. Frames are counted at 60 a second, times the speed; the timeline spans frames
// 0 to its duration.
//
// A track names its node (the first node of that name in a depth-first walk of the
// target's tree, the target itself included; the target when the name is empty).
// Every track's node is found in one walk when the timeline is first shown and
// again whenever the tree has changed since (engine::Node::treeGeneration), so a
// node taken out of the tree is simply no longer animated. Between two keyframes a value is interpolated linearly; before
// the first and after the last it holds that keyframe's value; visibility changes
// at its keyframes only.
//
// The action does nothing until gotoFrameAndPlay; from then on it plays from that
// frame to the end frame (the duration unless given) and, looping (the default),
// starts again at that frame, without end; not looping, it stops on the end frame.
// Each time playing reaches the end frame (a wrap, or the stop) the last-frame
// callback runs. gotoFrameAndPause shows a frame and stops; pause and resume stop
// and go on from where it stands. The time speed scales the pace on top of the
// file's speed.
//
// Animation infos name frame ranges: play(name, loop) plays that range; each time
// playing passes an info's end index, its end callback runs (after the event
// frames of that step).
//
// Event frames name a moment of the timeline: each time playing reaches its index
// (shown at gotoFrameAndPlay, or passed by a step, wrapping at the end included),
// the frame event callback gets the frame. Several frames passed in one step come
// in index order, frames of one index in the order given.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/actions/Action.h"
#include "engine/base/Vector.h"
#include "engine/studio/AnimationInfo.h"

namespace studio::timeline {

// A moment of a timeline, on the node of its target name.
class Frame : public engine::Ref {
public:
    int getFrameIndex() const { return _frameIndex; }
    void setFrameIndex(int index) { _frameIndex = index < 0 ? 0 : index; }
    // Sets the frame's value on the node (frames of a Timeline); nothing here.
    virtual void apply(engine::Node* node) const { (void)node; }
    // The node the target name found under the timeline's target; null when none.
    engine::Node* getNode() const { return _node; }
    const std::string& getTarget() const { return _target; }

protected:
    friend class ActionTimeline;
    Frame() = default;
    int _frameIndex = 0;
    std::string _target;
    engine::Node* _node = nullptr;
};

// A frame that carries a named event for the frame event callback.
class EventFrame : public Frame {
public:
    // Autoreleased.
    static EventFrame* create(int frameIndex, const std::string& target, const std::string& event);
    const std::string& getEvent() const { return _event; }

private:
    EventFrame() = default;
    std::string _event;
};

// Frames by index for one node (its action tag names it): gotoFrame(i) applies
// the last frame at or before i (the frame kinds: TimelineFrames.h).
class Timeline : public engine::Ref {
public:
    static Timeline* create();
    ~Timeline() override;

    // Frames are kept in index order (equal indexes in the order added).
    void addFrame(Frame* frame);
    void removeFrame(Frame* frame);
    const engine::Vector<Frame*>& getFrames() const { return _frames; }
    void setActionTag(int tag) { _actionTag = tag; }
    int getActionTag() const { return _actionTag; }
    // The node the frames set (retained); null: the timeline's target.
    void setNode(engine::Node* node);
    engine::Node* getNode() const { return _node; }
    // Applies the last frame at or before the index to the node (or to `fallback`
    // when the timeline has none); nothing before the first frame.
    void gotoFrame(int frameIndex, engine::Node* fallback = nullptr);

private:
    Timeline() = default;
    engine::Vector<Frame*> _frames;
    int _actionTag = 0;
    engine::Node* _node = nullptr;
};

enum class TimelineProperty { Position, Scale, Rotation, Opacity, Visible };
// "Position", "Scale", "Rotation", "Opacity", "Visible"; false for any other name.
bool propertyByName(std::string_view name, TimelineProperty* out);

struct Keyframe {
    int index = 0;
    // Position and Scale use x and y; the other properties x only (Visible: x != 0).
    float x = 0.f;
    float y = 0.f;
};

struct TimelineTrack {
    std::string target;
    TimelineProperty property = TimelineProperty::Position;
    std::vector<Keyframe> frames;   // indexes strictly ascending, within 0..duration
};

class ActionTimeline : public engine::Action {
public:
    static constexpr float kFramesPerSecond = 60.f;

    // A new timeline, autoreleased. The duration is at least 0, the speed finite and
    // not negative, and every track follows TimelineTrack's rules: the caller checks.
    static ActionTimeline* create(int duration, float speed, std::vector<TimelineTrack> tracks);
    // The same with event frames (indexes within 0..duration, any order).
    static ActionTimeline* create(int duration, float speed, std::vector<TimelineTrack> tracks,
                                  const engine::Vector<EventFrame*>& events);

    // Shows `startIndex` (clamped to 0..duration) at once and plays from there, to
    // `endIndex` (clamped to startIndex..duration), from `currentIndex` (clamped to
    // the range) where given.
    void gotoFrameAndPlay(int startIndex);
    void gotoFrameAndPlay(int startIndex, bool loop);
    void gotoFrameAndPlay(int startIndex, int endIndex, bool loop);
    void gotoFrameAndPlay(int startIndex, int endIndex, int currentIndex, bool loop);
    // Shows the frame (clamped to 0..duration) and stops.
    void gotoFrameAndPause(int index);
    void pause() { _playing = false; }
    void resume() { _playing = true; }
    bool isPlaying() const { return _playing; }
    bool isLooping() const { return _loop; }
    int getStartFrame() const { return _startIndex; }
    int getEndFrame() const { return _endIndex; }
    // Shows the frame (clamped to the playing range) and plays on from there.
    void setCurrentFrame(int index);
    // At least 0; non-finite values are 1.
    void setTimeSpeed(float speed);
    float getTimeSpeed() const { return _timeSpeed; }

    void setLastFrameCallFunc(std::function<void()> callback) { _lastFrameCallback = std::move(callback); }
    void clearLastFrameCallFunc() { _lastFrameCallback = nullptr; }

    // Infos by name; adding replaces one of the same name.
    void addAnimationInfo(const AnimationInfo& info);
    void removeAnimationInfo(const std::string& name);
    bool IsAnimationInfoExists(const std::string& name) const;
    // The info of that name (an empty one, named "", when there is none).
    AnimationInfo getAnimationInfo(const std::string& name) const;
    void setAnimationEndCallFunc(const std::string& name, std::function<void()> callback);
    // Plays the named range; an unknown name logs and changes nothing.
    void play(const std::string& name, bool loop);
    // The frame last shown (fractional between keyframe steps).
    float getCurrentFrame() const { return _frame; }
    int getDuration() const { return _duration; }
    float getSpeed() const { return _speed; }
    const std::vector<TimelineTrack>& getTracks() const { return _tracks; }
    const engine::Vector<EventFrame*>& getEventFrames() const { return _events; }
    // Timelines of frames (TimelineFrames.h), each shown with the tracks on its
    // node (or the target).
    void addTimeline(Timeline* timeline);
    void removeTimeline(Timeline* timeline);
    const engine::Vector<Timeline*>& getTimelines() const { return _timelines; }

    // Replaces the callback; an empty one turns events off.
    void setFrameEventCallFunc(std::function<void(Frame*)> callback) { _frameEventCallback = std::move(callback); }
    void clearFrameEventCallFunc() { _frameEventCallback = nullptr; }

    ActionTimeline* clone() const override;
    bool isDone() const override { return false; }
    void startWithTarget(engine::Node* target) override;
    void step(float dt) override;

private:
    ActionTimeline() = default;
    void showFrame(float frame);
    // Fires the event frames whose index lies in (from, to]; with `from` below 0,
    // [0, to].
    void fireEvents(float from, float to);
    // Finds every track's node under root (nullptr when none): one walk of the tree.
    void resolveTracks(engine::Node* root);
    // Runs the end callbacks of the infos whose end index lies in (from, to].
    void fireClipEnds(float from, float to);
    void reachedEnd();

    int _duration = 0;
    float _speed = 1.f;
    std::vector<TimelineTrack> _tracks;
    bool _playing = false;
    int _startIndex = 0;
    int _endIndex = 0;
    bool _loop = true;
    float _timeSpeed = 1.f;
    std::function<void()> _lastFrameCallback;
    std::vector<AnimationInfo> _animationInfos;
    float _frame = 0.f;
    // Each track's node, found under _resolvedRoot at tree generation _resolvedAt.
    std::vector<engine::Node*> _trackNodes;
    engine::Vector<Timeline*> _timelines;
    engine::Node* _resolvedRoot = nullptr;
    uint64_t _resolvedAt = 0;
    engine::Vector<EventFrame*> _events;   // by index, stable
    std::function<void(Frame*)> _frameEventCallback;
};

}  // namespace studio::timeline
