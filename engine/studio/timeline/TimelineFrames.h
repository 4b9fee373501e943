#pragma once
// Frames that set one property of their node when a timeline reaches them, the
// timeline that holds such frames for one node, and the nodes and records a
// scene file's timeline brings:
// - the frames: visible, texture, rotation, skew, rotation-skew, position, scale,
//   anchor point, inner action, colour, alpha, z order and blend function. A
//   skew frame skews its node; a rotation-skew frame turns it when both of its
//   angles are equal (a rotation) and otherwise keeps its values for scripts
//   (our nodes turn about one axis only).
//   A Timeline (ActionTimeline.h) holds them for one node.
// - ActionTimelineData: the action tag a node carries; ActionTimelineNode: a
//   root node playing a timeline. Main thread only.
#include <string>

#include "engine/base/Types.h"
#include "engine/base/Vector.h"
#include "engine/renderer/RenderRecords.h"
#include "engine/scene/Node.h"
#include "engine/studio/timeline/ActionTimeline.h"

namespace studio::timeline {

// Every frame kind: made empty (index 0) with create(); set the value, then the index.
class VisibleFrame : public Frame {
public:
    static VisibleFrame* create();
    void setVisible(bool visible) { _visible = visible; }
    bool isVisible() const { return _visible; }
    void apply(engine::Node* node) const override;

private:
    VisibleFrame() = default;
    bool _visible = true;
};

class TextureFrame : public Frame {
public:
    static TextureFrame* create();
    void setTextureName(const std::string& name) { _textureName = name; }
    const std::string& getTextureName() const { return _textureName; }
    void apply(engine::Node* node) const override;

private:
    TextureFrame() = default;
    std::string _textureName;
};

class RotationFrame : public Frame {
public:
    static RotationFrame* create();
    void setRotation(float rotation) { _rotation = rotation; }
    float getRotation() const { return _rotation; }
    void apply(engine::Node* node) const override;

private:
    RotationFrame() = default;
    float _rotation = 0;
};

class SkewFrame : public Frame {
public:
    static SkewFrame* create();
    void setSkewX(float skew) { _skewX = skew; }
    float getSkewX() const { return _skewX; }
    void setSkewY(float skew) { _skewY = skew; }
    float getSkewY() const { return _skewY; }
    void apply(engine::Node* node) const override;

protected:
    SkewFrame() = default;
    float _skewX = 0, _skewY = 0;
};

class RotationSkewFrame : public SkewFrame {
public:
    static RotationSkewFrame* create();
    void apply(engine::Node* node) const override;

private:
    RotationSkewFrame() = default;
};

class PositionFrame : public Frame {
public:
    static PositionFrame* create();
    void setPosition(const engine::Vec2& position) { _position = position; }
    const engine::Vec2& getPosition() const { return _position; }
    void setX(float x) { _position.x = x; }
    void setY(float y) { _position.y = y; }
    float getX() const { return _position.x; }
    float getY() const { return _position.y; }
    void apply(engine::Node* node) const override;

private:
    PositionFrame() = default;
    engine::Vec2 _position;
};

class ScaleFrame : public Frame {
public:
    static ScaleFrame* create();
    void setScale(float scale) { _scaleX = _scaleY = scale; }
    void setScaleX(float scale) { _scaleX = scale; }
    float getScaleX() const { return _scaleX; }
    void setScaleY(float scale) { _scaleY = scale; }
    float getScaleY() const { return _scaleY; }
    void apply(engine::Node* node) const override;

private:
    ScaleFrame() = default;
    float _scaleX = 1, _scaleY = 1;
};

class AnchorPointFrame : public Frame {
public:
    static AnchorPointFrame* create();
    void setAnchorPoint(const engine::Vec2& point) { _anchorPoint = point; }
    const engine::Vec2& getAnchorPoint() const { return _anchorPoint; }
    void apply(engine::Node* node) const override;

private:
    AnchorPointFrame() = default;
    engine::Vec2 _anchorPoint{0.5f, 0.5f};
};

// The tag under which a node runs its own timeline for inner action frames.
inline constexpr int kInnerActionTag = 0x1417;

// Plays the node's own timeline (run under kInnerActionTag) from its start frame,
// or shows its single frame.
class InnerActionFrame : public Frame {
public:
    enum InnerActionType { LoopAction = 0, NoLoopAction = 1, SingleFrame = 2 };
    static InnerActionFrame* create();
    void setInnerActionType(int type) { _innerActionType = type; }
    int getInnerActionType() const { return _innerActionType; }
    void setStartFrameIndex(int index) { _startFrameIndex = index; }
    int getStartFrameIndex() const { return _startFrameIndex; }
    void setEndFrameIndex(int index) { _endFrameIndex = index; }
    int getEndFrameIndex() const { return _endFrameIndex; }
    void setAnimationName(const std::string& name) { _animationName = name; }
    const std::string& getAnimationName() const { return _animationName; }
    void setSingleFrameIndex(int index) { _singleFrameIndex = index; }
    int getSingleFrameIndex() const { return _singleFrameIndex; }
    void apply(engine::Node* node) const override;

private:
    InnerActionFrame() = default;
    int _innerActionType = LoopAction;
    int _startFrameIndex = 0;
    int _endFrameIndex = 0;
    int _singleFrameIndex = 0;
    std::string _animationName;
};

class ColorFrame : public Frame {
public:
    static ColorFrame* create();
    void setColor(const engine::Color3B& color) { _color = color; }
    const engine::Color3B& getColor() const { return _color; }
    void apply(engine::Node* node) const override;

private:
    ColorFrame() = default;
    engine::Color3B _color = engine::Color3B::WHITE;
};

class AlphaFrame : public Frame {
public:
    static AlphaFrame* create();
    void setAlpha(int alpha) { _alpha = alpha < 0 ? 0 : alpha > 255 ? 255 : alpha; }
    int getAlpha() const { return _alpha; }
    void apply(engine::Node* node) const override;

private:
    AlphaFrame() = default;
    int _alpha = 255;
};

class ZOrderFrame : public Frame {
public:
    static ZOrderFrame* create();
    void setZOrder(int zOrder) { _zOrder = zOrder; }
    int getZOrder() const { return _zOrder; }
    void apply(engine::Node* node) const override;

private:
    ZOrderFrame() = default;
    int _zOrder = 0;
};

class BlendFuncFrame : public Frame {
public:
    static BlendFuncFrame* create();
    void setBlendFunc(const engine::BlendFunc& blendFunc) { _blendFunc = blendFunc; }
    const engine::BlendFunc& getBlendFunc() const { return _blendFunc; }
    void apply(engine::Node* node) const override;

private:
    BlendFuncFrame() = default;
    engine::BlendFunc _blendFunc;
};

class ActionTimelineData : public engine::Ref {
public:
    static ActionTimelineData* create(int actionTag);
    void setActionTag(int tag) { _actionTag = tag; }
    int getActionTag() const { return _actionTag; }

private:
    ActionTimelineData() = default;
    int _actionTag = 0;
};

class ActionTimelineNode : public engine::Node {
public:
    // The root node as a child, the timeline run on it while this node runs.
    static ActionTimelineNode* create(engine::Node* root, ActionTimeline* timeline);
    ~ActionTimelineNode() override;
    void setRoot(engine::Node* root);
    engine::Node* getRoot() const { return _root; }
    void setActionTimeline(ActionTimeline* timeline);  // retained
    ActionTimeline* getActionTimeline() const { return _timeline; }
    void onEnter() override;

private:
    ActionTimelineNode() = default;
    engine::Node* _root = nullptr;
    ActionTimeline* _timeline = nullptr;
};

}  // namespace studio::timeline
