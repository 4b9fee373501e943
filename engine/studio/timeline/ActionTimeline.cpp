#include "engine/studio/timeline/ActionTimeline.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_map>

#include "engine/base/Log.h"
#include "engine/scene/Node.h"
#include "engine/studio/timeline/TimelineFrames.h"

namespace studio::timeline {

namespace {

// The track's value at `frame`: x and y of the keyframes around it.
Keyframe valueAt(const TimelineTrack& track, float frame) {
    const std::vector<Keyframe>& frames = track.frames;
    auto after = std::upper_bound(frames.begin(), frames.end(), frame,
                                  [](float f, const Keyframe& k) { return f < static_cast<float>(k.index); });
    if (after == frames.begin()) return frames.front();
    const Keyframe& before = *(after - 1);
    if (after == frames.end() || track.property == TimelineProperty::Visible) return before;
    const float t = (frame - static_cast<float>(before.index)) / static_cast<float>(after->index - before.index);
    Keyframe value = before;
    value.x = before.x + (after->x - before.x) * t;
    value.y = before.y + (after->y - before.y) * t;
    return value;
}

// The first node named `name` under root, depth first, root included; root for "".
engine::Node* findNode(engine::Node* root, const std::string& name) {
    if (!root || name.empty()) return root;
    std::vector<engine::Node*> pending{root};
    while (!pending.empty()) {
        engine::Node* node = pending.back();
        pending.pop_back();
        if (node->getName() == name) return node;
        const auto& children = node->getChildren();
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return nullptr;
}

void apply(engine::Node* node, TimelineProperty property, const Keyframe& value) {
    switch (property) {
        case TimelineProperty::Position: node->setPosition(value.x, value.y); break;
        case TimelineProperty::Scale: node->setScale(value.x, value.y); break;
        case TimelineProperty::Rotation: node->setRotation(value.x); break;
        case TimelineProperty::Opacity:
            node->setOpacity(static_cast<uint8_t>(std::lround(std::clamp(value.x, 0.f, 255.f))));
            break;
        case TimelineProperty::Visible: node->setVisible(value.x != 0.f); break;
    }
}

}  // namespace

bool propertyByName(std::string_view name, TimelineProperty* out) {
    static const std::pair<std::string_view, TimelineProperty> kNames[] = {
        {"Position", TimelineProperty::Position}, {"Scale", TimelineProperty::Scale},
        {"Rotation", TimelineProperty::Rotation}, {"Opacity", TimelineProperty::Opacity},
        {"Visible", TimelineProperty::Visible}};
    for (const auto& [text, property] : kNames) {
        if (name == text) {
            *out = property;
            return true;
        }
    }
    return false;
}

ActionTimeline* ActionTimeline::create(int duration, float speed, std::vector<TimelineTrack> tracks) {
    auto* timeline = new ActionTimeline();
    timeline->_duration = std::max(duration, 0);
    timeline->_endIndex = timeline->_duration;
    timeline->_speed = speed;
    timeline->_tracks = std::move(tracks);
    timeline->autorelease();
    return timeline;
}

EventFrame* EventFrame::create(int frameIndex, const std::string& target, const std::string& event) {
    auto* frame = new EventFrame();
    frame->_frameIndex = frameIndex;
    frame->_target = target;
    frame->_event = event;
    frame->autorelease();
    return frame;
}

ActionTimeline* ActionTimeline::create(int duration, float speed, std::vector<TimelineTrack> tracks,
                                       const engine::Vector<EventFrame*>& events) {
    ActionTimeline* timeline = create(duration, speed, std::move(tracks));
    std::vector<EventFrame*> sorted(events.begin(), events.end());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const EventFrame* a, const EventFrame* b) { return a->getFrameIndex() < b->getFrameIndex(); });
    for (EventFrame* frame : sorted) timeline->_events.pushBack(frame);
    return timeline;
}

ActionTimeline* ActionTimeline::clone() const {
    // Each timeline has event frames of its own: a frame knows the node of its timeline's target.
    engine::Vector<EventFrame*> events;
    for (EventFrame* frame : _events) {
        events.pushBack(EventFrame::create(frame->getFrameIndex(), frame->getTarget(), frame->getEvent()));
    }
    ActionTimeline* copy = create(_duration, _speed, _tracks, events);
    copy->_timelines = _timelines;   // shared: a timeline holds frames, not play state
    copy->_timeSpeed = _timeSpeed;
    copy->_animationInfos = _animationInfos;
    return copy;
}

void ActionTimeline::startWithTarget(engine::Node* target) {
    Action::startWithTarget(target);
    _resolvedRoot = nullptr;
    if (_playing) showFrame(_frame);
}

void ActionTimeline::gotoFrameAndPlay(int startIndex) { gotoFrameAndPlay(startIndex, true); }

void ActionTimeline::gotoFrameAndPlay(int startIndex, bool loop) {
    gotoFrameAndPlay(startIndex, _duration, startIndex, loop);
}

void ActionTimeline::gotoFrameAndPlay(int startIndex, int endIndex, bool loop) {
    gotoFrameAndPlay(startIndex, endIndex, startIndex, loop);
}

void ActionTimeline::gotoFrameAndPlay(int startIndex, int endIndex, int currentIndex, bool loop) {
    _startIndex = std::clamp(startIndex, 0, _duration);
    _endIndex = std::clamp(endIndex, _startIndex, _duration);
    _loop = loop;
    _playing = true;
    const int current = std::clamp(currentIndex, _startIndex, _endIndex);
    showFrame(static_cast<float>(current));
    fireEvents(static_cast<float>(current) - 0.5f, static_cast<float>(current));
}

void ActionTimeline::gotoFrameAndPause(int index) {
    _playing = false;
    showFrame(static_cast<float>(std::clamp(index, 0, _duration)));
}

void ActionTimeline::setCurrentFrame(int index) {
    showFrame(static_cast<float>(std::clamp(index, _startIndex, _endIndex)));
}

void ActionTimeline::setTimeSpeed(float speed) { _timeSpeed = std::isfinite(speed) ? std::max(speed, 0.f) : 1.f; }

void ActionTimeline::addAnimationInfo(const AnimationInfo& info) {
    removeAnimationInfo(info.name);
    _animationInfos.push_back(info);
}

void ActionTimeline::removeAnimationInfo(const std::string& name) {
    std::erase_if(_animationInfos, [&name](const AnimationInfo& info) { return info.name == name; });
}

bool ActionTimeline::IsAnimationInfoExists(const std::string& name) const {
    return std::any_of(_animationInfos.begin(), _animationInfos.end(),
                       [&name](const AnimationInfo& info) { return info.name == name; });
}

AnimationInfo ActionTimeline::getAnimationInfo(const std::string& name) const {
    for (const AnimationInfo& info : _animationInfos) {
        if (info.name == name) return info;
    }
    return AnimationInfo{};
}

void ActionTimeline::setAnimationEndCallFunc(const std::string& name, std::function<void()> callback) {
    for (AnimationInfo& info : _animationInfos) {
        if (info.name == name) info.clipEndCallBack = std::move(callback);
    }
}

void ActionTimeline::play(const std::string& name, bool loop) {
    for (const AnimationInfo& info : _animationInfos) {
        if (info.name != name) continue;
        gotoFrameAndPlay(info.startIndex, info.endIndex, loop);
        return;
    }
    engine::log("ActionTimeline: no animation named '%s'", name.c_str());
}

void ActionTimeline::fireClipEnds(float from, float to) {
    std::vector<std::function<void()>> due;
    for (const AnimationInfo& info : _animationInfos) {
        const float index = static_cast<float>(info.endIndex);
        if (info.clipEndCallBack && index > from && index <= to) due.push_back(info.clipEndCallBack);
    }
    if (due.empty()) return;
    retain();
    for (const auto& callback : due) callback();
    release();
}

void ActionTimeline::reachedEnd() {
    if (!_lastFrameCallback) return;
    retain();
    const std::function<void()> callback = _lastFrameCallback;
    callback();
    release();
}

void ActionTimeline::step(float dt) {
    if (!_playing || !(dt > 0.f)) return;
    const float start = static_cast<float>(_startIndex);
    const float end = static_cast<float>(_endIndex);
    const float span = end - start;
    const float from = _frame;
    float frame = _frame + dt * _speed * _timeSpeed * kFramesPerSecond;
    if (span <= 0.f) {
        showFrame(start);
        return;
    }
    if (!_loop && frame >= end) {
        showFrame(end);
        _playing = false;
        fireEvents(from, end);
        fireClipEnds(from, end);
        reachedEnd();
        return;
    }
    float laps = 0.f;
    if (frame > end) {
        laps = std::floor((frame - start) / span);
        frame = start + std::fmod(frame - start, span);
    }
    showFrame(frame);
    if (laps == 0.f) {
        fireEvents(from, frame);
        fireClipEnds(from, frame);
        return;
    }
    // To the end, once per whole lap (bounded: a huge step counts as one more lap),
    // then from the start to where playing stands now.
    fireEvents(from, end);
    fireClipEnds(from, end);
    reachedEnd();
    const int wholeLaps = static_cast<int>(std::min(laps - 1.f, 1.f));
    for (int i = 0; i < wholeLaps; ++i) {
        fireEvents(start - 0.5f, end);
        fireClipEnds(start - 0.5f, end);
        reachedEnd();
    }
    fireEvents(start - 0.5f, frame);
    fireClipEnds(start - 0.5f, frame);
}

void ActionTimeline::fireEvents(float from, float to) {
    if (!_frameEventCallback || _events.empty()) return;
    // The callback may change the timeline: hold it and what is fired.
    engine::Vector<EventFrame*> due;
    for (EventFrame* frame : _events) {
        const float index = static_cast<float>(frame->getFrameIndex());
        if (index > from && index <= to) due.pushBack(frame);
    }
    retain();
    for (EventFrame* frame : due) {
        if (!_frameEventCallback) break;
        frame->_node = findNode(getTarget(), frame->getTarget());
        const std::function<void(Frame*)> callback = _frameEventCallback;
        callback(frame);
    }
    release();
}

void ActionTimeline::resolveTracks(engine::Node* root) {
    // The first node of each wanted name in a depth-first walk, children in order.
    std::unordered_map<std::string_view, engine::Node*> wanted;
    for (const TimelineTrack& track : _tracks) {
        if (!track.target.empty()) wanted.emplace(track.target, nullptr);
    }
    size_t missing = wanted.size();
    std::vector<engine::Node*> pending{root};
    while (missing > 0 && !pending.empty()) {
        engine::Node* node = pending.back();
        pending.pop_back();
        auto found = wanted.find(node->getName());
        if (found != wanted.end() && !found->second) {
            found->second = node;
            --missing;
        }
        const auto& children = node->getChildren();
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    _trackNodes.clear();
    for (const TimelineTrack& track : _tracks) _trackNodes.push_back(track.target.empty() ? root : wanted[track.target]);
    _resolvedRoot = root;
    _resolvedAt = engine::Node::treeGeneration();
}

void ActionTimeline::showFrame(float frame) {
    _frame = frame;
    engine::Node* root = getTarget();
    if (!root) return;
    if (root != _resolvedRoot || _resolvedAt != engine::Node::treeGeneration()) resolveTracks(root);
    for (size_t i = 0; i < _tracks.size(); ++i) {
        const TimelineTrack& track = _tracks[i];
        if (!track.frames.empty() && _trackNodes[i]) apply(_trackNodes[i], track.property, valueAt(track, frame));
    }
    for (Timeline* timeline : _timelines) timeline->gotoFrame(static_cast<int>(frame), root);
}

void ActionTimeline::addTimeline(Timeline* timeline) {
    if (timeline) _timelines.pushBack(timeline);
}

void ActionTimeline::removeTimeline(Timeline* timeline) { _timelines.eraseObject(timeline); }

}  // namespace studio::timeline
