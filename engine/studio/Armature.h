#pragma once
// Armatures: a tree of named bones played through named movements.
//
// The data comes from an armature file of our own (ArmatureDataManager reads it):
//   {"armatures": [{"name": "hero",
//     "bones": [{"name": "body", "position": [0, 0]},
//               {"name": "arm", "parent": "body", "position": [10, 20]}],
//     "movements": [{"name": "walk", "duration": 30, "loop": true,
//                    "frameEvents": [{"bone": "arm", "frame": 10, "name": "step"}]}]}]}
// A bone's "parent" names a bone listed before it (absent or "": the armature);
// a movement lasts "duration" frames (a whole number from 1 to kMaxFrames, 60 a
// second) and loops when "loop" is true (the default); its frame events name a
// bone of the armature, a frame from 0 to the duration and the event's name.
// Names are unique within their list. A file with anything else refused is not
// taken at all (ArmatureDataManager logs why).
//
// Playing: the armature's per-frame update (the director's scheduler) moves its
// animation. play(name) starts at frame 0 and reports START, and the frame events
// of frame 0; each update advances by dt * 60 * speed scale frames and reports
// the frame events whose frame was passed (in frame order, then file order).
// Reaching the duration reports COMPLETE and stops, or, looping, LOOP_COMPLETE
// and goes on from frame 0 (frame events of each lap, at most two laps per
// update). Bones draw nothing of their own: only children added to them show.
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/base/Map.h"
#include "engine/base/Types.h"
#include "engine/scene/Node.h"

namespace studio {

class Armature;
class ColliderDetector;
class DisplayManager;
class Tween;

class Bone : public engine::Node {
public:
    // A bone of that name, autoreleased.
    static Bone* create(const std::string& name);
    static Bone* create() { return create(""); }
    ~Bone() override;

    // The bone's displays, its keyframe player and its contours (made with the
    // bone, engine/studio/ArmatureParts.h).
    DisplayManager* getDisplayManager() const { return _displayManager; }
    Tween* getTween() const { return _tween; }
    ColliderDetector* getColliderDetector() const { return _colliderDetector; }

    // Whether the bone keeps its place whatever the movement says (kept for the
    // scripts that set it; movements here carry no bone frames).
    void setIgnoreMovementBoneData(bool ignore) { _ignoreMovementBoneData = ignore; }
    bool getIgnoreMovementBoneData() const { return _ignoreMovementBoneData; }
    Armature* getArmature() const { return _armature; }

protected:
    friend class Armature;
    Bone() = default;
    bool _ignoreMovementBoneData = false;
    Armature* _armature = nullptr;
    DisplayManager* _displayManager = nullptr;
    Tween* _tween = nullptr;
    ColliderDetector* _colliderDetector = nullptr;
};

struct BoneDef {
    std::string name;
    std::string parent;
    engine::Vec2 position;
};

struct FrameEventDef {
    std::string bone;
    int frame = 0;
    std::string name;
};

struct MovementDef {
    std::string name;
    int duration = 1;
    bool loop = true;
    std::vector<FrameEventDef> frameEvents;   // by frame, then file order
};

struct ArmatureDef {
    static constexpr int kMaxFrames = 1000000;
    static constexpr float kFramesPerSecond = 60.f;
    std::string name;
    std::vector<BoneDef> bones;   // parents before children
    std::vector<MovementDef> movements;
    const MovementDef* movement(const std::string& name) const;
};

enum class MovementEventType { START = 0, COMPLETE = 1, LOOP_COMPLETE = 2 };

class ArmatureAnimation : public engine::Ref {
public:
    using MovementCallback = std::function<void(Armature*, MovementEventType, const std::string&)>;
    using FrameCallback = std::function<void(Bone*, const std::string&, int originFrameIndex, int currentFrameIndex)>;

    static ArmatureAnimation* create(Armature* armature);

    // Starts the movement from frame 0; an unknown name logs and changes nothing.
    // loop: -1 the movement's own setting, 0 once, anything else looping.
    void play(const std::string& name, int durationTo = -1, int loop = -1);
    // The movement at that place of the armature's list, as play does; out of
    // range logs and changes nothing.
    void playWithIndex(int index, int durationTo = -1, int loop = -1);
    // Moves the current movement to the frame (clamped to 0..duration) and plays
    // on from there, or stays paused there; without a movement, nothing.
    void gotoAndPlay(int frameIndex);
    void gotoAndPause(int frameIndex);
    // Whether a movement played once has reached its end (false again on play).
    bool isComplete() const { return _complete; }
    void stop();
    void pause() { _paused = true; }
    void resume() { _paused = false; }
    bool isPlaying() const { return _playing && !_paused; }
    const std::string& getCurrentMovementID() const { return _movementID; }
    int getCurrentFrameIndex() const { return static_cast<int>(_frame); }
    void setSpeedScale(float scale) { _speedScale = scale >= 0.f ? scale : 0.f; }
    float getSpeedScale() const { return _speedScale; }

    void setMovementEventCallFunc(MovementCallback callback) { _movementCallback = std::move(callback); }
    void setFrameEventCallFunc(FrameCallback callback) { _frameCallback = std::move(callback); }

    // Advances by dt seconds (the armature's update calls it).
    void update(float dt);

private:
    friend class Armature;
    ArmatureAnimation() = default;
    void reportMovement(MovementEventType type);
    // Frame events with frame in (from, to]; from below 0: [0, to].
    void reportFrames(float from, float to);

    Armature* _armature = nullptr;   // owns this animation
    const MovementDef* _movement = nullptr;
    std::string _movementID;
    bool _loop = false;
    bool _playing = false;
    bool _paused = false;
    bool _complete = false;
    float _frame = 0.f;
    float _speedScale = 1.f;
    MovementCallback _movementCallback;
    FrameCallback _frameCallback;
};

class Armature : public engine::Node {
public:
    // The armature of that name from ArmatureDataManager, its bones built; an
    // unknown name gives an armature without bones or movements. Autoreleased.
    static Armature* create(const std::string& name);
    static Armature* create() { return create(""); }
    ~Armature() override;

    ArmatureAnimation* getAnimation() const { return _animation; }
    Bone* getBone(const std::string& name) const;
    // Every bone by name.
    engine::Map<std::string, Bone*> getBoneDic() const;
    // Null for an armature whose name the manager did not know.
    const ArmatureDef* getArmatureDef() const { return _known ? &_data : nullptr; }

    void update(float delta) override;

protected:
    Armature() = default;
    bool initWithName(const std::string& name);

private:
    ArmatureDef _data;   // a copy: the manager may replace its own
    bool _known = false;
    std::unordered_map<std::string, Bone*> _bonesByName;
    ArmatureAnimation* _animation = nullptr;
};

}  // namespace studio
