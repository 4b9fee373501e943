#pragma once
// The older UI actions of scene files, kept by file and action name:
// - ActionFrame: a keyframe of one node: at its frame index the node reaches the
//   values the frame sets (position, scale, rotation, opacity, colour); its
//   action over a duration moves there;
// - ActionNode: the keyframes of one node (found by the node's tag under the
//   root given), played as one sequence;
// - ActionObject: the nodes of one named action, played together (once or
//   looping) at unitTime seconds a frame;
// - ActionManagerEx: the actions of each file. Main thread only.
#include <map>
#include <optional>
#include <string>

#include "engine/actions/Action.h"
#include "engine/base/Ref.h"
#include "engine/base/Types.h"
#include "engine/base/Vector.h"
#include "engine/scene/Node.h"

namespace engine {
class CallFunc;
}

namespace studio {

class ActionFrame : public engine::Ref {
public:
    static ActionFrame* create();

    void setFrameIndex(int index) { _frameIndex = index < 0 ? 0 : index; }
    int getFrameIndex() const { return _frameIndex; }
    void setFrameTweenType(int type) { _tweenType = type; }
    int getFrameTweenType() const { return _tweenType; }
    void setPosition(const engine::Vec2& position) { _position = position; }
    void setScale(float scaleX, float scaleY) { _scale = engine::Vec2(scaleX, scaleY); }
    void setRotation(float rotation) { _rotation = rotation; }
    void setOpacity(int opacity) { _opacity = opacity < 0 ? 0 : opacity > 255 ? 255 : opacity; }
    void setColor(const engine::Color3B& color) { _color = color; }
    // The move to the frame's values over duration seconds; null when it sets none.
    engine::FiniteTimeAction* getAction(float duration) const;

private:
    ActionFrame() = default;
    int _frameIndex = 0;
    int _tweenType = 0;
    std::optional<engine::Vec2> _position, _scale;
    std::optional<float> _rotation;
    std::optional<int> _opacity;
    std::optional<engine::Color3B> _color;
};

class ActionNode : public engine::Ref {
public:
    static ActionNode* create();
    ~ActionNode() override;

    void setActionTag(int tag) { _actionTag = tag; }
    int getActionTag() const { return _actionTag; }
    void setUnitTime(float time) { _unitTime = time > 0 ? time : 0.1f; }
    float getUnitTime() const { return _unitTime; }
    // The node the frames move (retained); found by tag under a root with initWithRoot.
    void setObject(engine::Node* node);
    engine::Node* getObject() const { return _object; }
    void initWithRoot(engine::Node* root);
    void addFrame(ActionFrame* frame);
    void deleteFrame(ActionFrame* frame);
    void clearAllFrame() { _frames.clear(); }
    const engine::Vector<ActionFrame*>& getFrames() const { return _frames; }
    int getFirstFrameIndex() const;
    int getLastFrameIndex() const;
    void playAction();
    void stopAction();
    bool isActionDoneOnce() const;

private:
    ActionNode() = default;
    int _actionTag = 0;
    float _unitTime = 0.1f;
    engine::Node* _object = nullptr;
    engine::Action* _running = nullptr;  // retained while it runs
    engine::Vector<ActionFrame*> _frames;
};

class ActionObject : public engine::Ref {
public:
    static ActionObject* create();
    ~ActionObject() override;

    void setName(const std::string& name) { _name = name; }
    const std::string& getName() const { return _name; }
    void setLoop(bool loop) { _loop = loop; }
    bool getLoop() const { return _loop; }
    void setUnitTime(float time);
    float getUnitTime() const { return _unitTime; }
    float getTotalTime() const;
    void addActionNode(ActionNode* node);
    void removeActionNode(ActionNode* node);
    const engine::Vector<ActionNode*>& getActionNodes() const { return _nodes; }
    // Plays every node's frames; done (retained until it runs) runs once they are over.
    void play();
    void play(engine::CallFunc* done);
    void pause();
    void resume();
    void stop();
    bool isPlaying() const { return _playing; }
    // Advances by dt seconds (the scheduler does while playing).
    void update(float dt);
    float getCurrentTime() const { return _currentTime; }

private:
    ActionObject() = default;
    std::string _name;
    bool _loop = false;
    bool _playing = false;
    bool _paused = false;
    float _unitTime = 0.1f;
    float _currentTime = 0;
    engine::CallFunc* _done = nullptr;
    engine::Vector<ActionNode*> _nodes;
};

class ActionManagerEx : public engine::Ref {
public:
    static ActionManagerEx* getInstance();
    static void destroyInstance();

    void addActionObject(const std::string& jsonName, ActionObject* action);
    ActionObject* getActionByName(const std::string& jsonName, const std::string& actionName) const;
    // The action, played (done runs after it); null, with a log line, when unknown.
    ActionObject* playActionByName(const std::string& jsonName, const std::string& actionName);
    ActionObject* playActionByName(const std::string& jsonName, const std::string& actionName,
                                   engine::CallFunc* done);
    ActionObject* stopActionByName(const std::string& jsonName, const std::string& actionName);
    void releaseActions();

private:
    ActionManagerEx() = default;
    std::map<std::string, engine::Vector<ActionObject*>> _actions;
};

}  // namespace studio
