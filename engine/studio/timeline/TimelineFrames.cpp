#include "engine/studio/timeline/TimelineFrames.h"

#include <algorithm>

#include "engine/scene/Sprite.h"

namespace studio::timeline {

VisibleFrame* VisibleFrame::create() { return engine::autoreleased(new VisibleFrame); }
void VisibleFrame::apply(engine::Node* node) const {
    if (node) node->setVisible(_visible);
}

TextureFrame* TextureFrame::create() { return engine::autoreleased(new TextureFrame); }
void TextureFrame::apply(engine::Node* node) const {
    if (auto* sprite = dynamic_cast<engine::Sprite*>(node); sprite && !_textureName.empty()) sprite->setTexture(_textureName);
}

RotationFrame* RotationFrame::create() { return engine::autoreleased(new RotationFrame); }
void RotationFrame::apply(engine::Node* node) const {
    if (node) node->setRotation(_rotation);
}

SkewFrame* SkewFrame::create() { return engine::autoreleased(new SkewFrame); }
void SkewFrame::apply(engine::Node* node) const {
    if (!node) return;
    node->setSkewX(_skewX);
    node->setSkewY(_skewY);
}

RotationSkewFrame* RotationSkewFrame::create() { return engine::autoreleased(new RotationSkewFrame); }
void RotationSkewFrame::apply(engine::Node* node) const {
    if (node && _skewX == _skewY) node->setRotation(_skewX);
}

PositionFrame* PositionFrame::create() { return engine::autoreleased(new PositionFrame); }
void PositionFrame::apply(engine::Node* node) const {
    if (node) node->setPosition(_position.x, _position.y);
}

ScaleFrame* ScaleFrame::create() { return engine::autoreleased(new ScaleFrame); }
void ScaleFrame::apply(engine::Node* node) const {
    if (!node) return;
    node->setScaleX(_scaleX);
    node->setScaleY(_scaleY);
}

AnchorPointFrame* AnchorPointFrame::create() { return engine::autoreleased(new AnchorPointFrame); }
void AnchorPointFrame::apply(engine::Node* node) const {
    if (node) node->setAnchorPoint(_anchorPoint);
}

InnerActionFrame* InnerActionFrame::create() { return engine::autoreleased(new InnerActionFrame); }
void InnerActionFrame::apply(engine::Node* node) const {
    if (!node) return;
    // The node's own timeline, when it runs one, shows the frame the kind asks for.
    auto* timeline = dynamic_cast<ActionTimeline*>(node->getActionByTag(kInnerActionTag));
    if (!timeline) return;
    timeline->gotoFrameAndPlay(_innerActionType == SingleFrame ? _singleFrameIndex : _startFrameIndex);
}

ColorFrame* ColorFrame::create() { return engine::autoreleased(new ColorFrame); }
void ColorFrame::apply(engine::Node* node) const {
    if (node) node->setColor(_color);
}

AlphaFrame* AlphaFrame::create() { return engine::autoreleased(new AlphaFrame); }
void AlphaFrame::apply(engine::Node* node) const {
    if (node) node->setOpacity(static_cast<uint8_t>(_alpha));
}

ZOrderFrame* ZOrderFrame::create() { return engine::autoreleased(new ZOrderFrame); }
void ZOrderFrame::apply(engine::Node* node) const {
    if (node && node->getParent()) node->setLocalZOrder(_zOrder);
}

BlendFuncFrame* BlendFuncFrame::create() { return engine::autoreleased(new BlendFuncFrame); }
void BlendFuncFrame::apply(engine::Node* node) const {
    if (auto* blending = dynamic_cast<engine::BlendProtocol*>(node)) blending->setBlendFunc(_blendFunc);
}

// ---- Timeline

Timeline* Timeline::create() { return engine::autoreleased(new Timeline); }

Timeline::~Timeline() {
    if (_node) _node->release();
}

void Timeline::addFrame(Frame* frame) {
    if (!frame) return;
    size_t at = _frames.size();
    while (at > 0 && _frames.at(at - 1)->getFrameIndex() > frame->getFrameIndex()) --at;
    _frames.insert(at, frame);
}

void Timeline::removeFrame(Frame* frame) { _frames.eraseObject(frame); }

void Timeline::setNode(engine::Node* node) { engine::assignRetained(_node, node); }

void Timeline::gotoFrame(int frameIndex, engine::Node* fallback) {
    engine::Node* node = _node ? _node : fallback;
    const Frame* shown = nullptr;
    for (const Frame* frame : _frames) {
        if (frame->getFrameIndex() > frameIndex) break;
        shown = frame;
    }
    if (shown && node) shown->apply(node);
}

// ---- ActionTimelineData, ActionTimelineNode

ActionTimelineData* ActionTimelineData::create(int actionTag) {
    auto* data = new ActionTimelineData;
    data->_actionTag = actionTag;
    return engine::autoreleased(data);
}

ActionTimelineNode* ActionTimelineNode::create(engine::Node* root, ActionTimeline* timeline) {
    auto* node = new ActionTimelineNode;
    node->init();
    node->setRoot(root);
    node->setActionTimeline(timeline);
    return engine::autoreleased(node);
}

ActionTimelineNode::~ActionTimelineNode() {
    if (_timeline) _timeline->release();
}

void ActionTimelineNode::setRoot(engine::Node* root) {
    if (_root == root) return;
    if (_root) _root->removeFromParent();
    _root = root;
    if (root) addChild(root);
}

void ActionTimelineNode::setActionTimeline(ActionTimeline* timeline) { engine::assignRetained(_timeline, timeline); }

void ActionTimelineNode::onEnter() {
    Node::onEnter();
    if (_root && _timeline && _root->getNumberOfRunningActions() == 0) {
        _root->runAction(_timeline);
        _timeline->gotoFrameAndPlay(0);
    }
}

}  // namespace studio::timeline
