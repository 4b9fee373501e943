#include "engine/studio/timeline/ActionTimeline.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_map>

#include "engine/scene/Node.h"

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

ActionTimeline* ActionTimeline::create(int duration, float speed, std::vector<TimelineTrack> tracks) {
    auto* timeline = new ActionTimeline();
    timeline->_duration = std::max(duration, 0);
    timeline->_speed = speed;
    timeline->_tracks = std::move(tracks);
    timeline->autorelease();
    return timeline;
}

ActionTimeline* ActionTimeline::clone() const { return create(_duration, _speed, _tracks); }

void ActionTimeline::startWithTarget(engine::Node* target) {
    Action::startWithTarget(target);
    _resolvedRoot = nullptr;
    if (_playing) showFrame(_frame);
}

void ActionTimeline::gotoFrameAndPlay(int startIndex) {
    _startIndex = std::clamp(startIndex, 0, _duration);
    _playing = true;
    showFrame(static_cast<float>(_startIndex));
}

void ActionTimeline::step(float dt) {
    if (!_playing || !(dt > 0.f)) return;
    const float span = static_cast<float>(_duration - _startIndex);
    float frame = _frame + dt * _speed * kFramesPerSecond;
    if (span <= 0.f) {
        frame = static_cast<float>(_startIndex);
    } else if (frame > static_cast<float>(_duration)) {
        frame = static_cast<float>(_startIndex) + std::fmod(frame - static_cast<float>(_startIndex), span);
    }
    showFrame(frame);
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
}

}  // namespace studio::timeline
