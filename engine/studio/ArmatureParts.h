#pragma once
// What a bone of an armature carries beside its place in the tree:
// - DisplayManager: the bone's displays (DecorativeDisplay: a display node with
//   its display data), one of which shows as the bone's child at a time;
// - Tween: plays a movement's keyframes for the bone (MovementBoneData), placing
//   the bone between the keyframes around a frame;
// - ColliderDetector: the contours of the bone's shape, carried into the world
//   with the bone;
// and the node kinds an armature draws with: Skin (a sprite tied to a bone, with
// its own transform data) and BatchNode. Main thread only.
#include <string>
#include <vector>

#include "engine/base/Ref.h"
#include "engine/base/Vector.h"
#include "engine/scene/Sprite.h"
#include "engine/studio/DataRecords.h"

namespace studio {

class Bone;

class DecorativeDisplay : public engine::Ref {
public:
    static DecorativeDisplay* create();
    ~DecorativeDisplay() override;
    void setDisplay(engine::Node* display);  // retained
    engine::Node* getDisplay() const { return _display; }
    void setDisplayData(DisplayData* data);  // retained
    DisplayData* getDisplayData() const { return _displayData; }

private:
    DecorativeDisplay() = default;
    engine::Node* _display = nullptr;
    DisplayData* _displayData = nullptr;
};

class DisplayManager : public engine::Ref {
public:
    static DisplayManager* create(Bone* bone);
    ~DisplayManager() override;

    // A display made from the data (a sprite display shows its image, when it can
    // be read; any other an empty node), or a node given; put at index (replacing
    // what was there) or appended when index is past the end or negative.
    void addDisplay(DisplayData* displayData, int index);
    void addDisplay(engine::Node* display, int index);
    void removeDisplay(int index);
    const engine::Vector<DecorativeDisplay*>& getDecorativeDisplayList() const { return _displays; }
    // Shows the display at index as the bone's child (-1: none); an index past the
    // end changes nothing.
    void changeDisplayWithIndex(int index, bool force);
    void changeDisplayWithName(const std::string& name, bool force);
    int getCurrentDisplayIndex() const { return _currentIndex; }
    engine::Node* getDisplayRenderNode() const;
    void setVisible(bool visible);
    bool isVisible() const { return _visible; }
    Bone* getBone() const { return _bone; }

private:
    DisplayManager() = default;
    Bone* _bone = nullptr;  // owns this manager
    engine::Vector<DecorativeDisplay*> _displays;
    int _currentIndex = -1;
    bool _visible = true;
};

class Tween : public engine::Ref {
public:
    static Tween* create(Bone* bone);
    ~Tween() override;

    // Starts the keyframes from frame 0; loop < 0 keeps looping off.
    void play(MovementBoneData* movementBoneData, int durationTo, int durationTween, int loop, int tweenEasing);
    void gotoAndPlay(int frameIndex);
    void gotoAndPause(int frameIndex);
    // Advances by dt seconds at 60 frames a second while playing; a looping
    // tween starts again at the end, another stops there.
    void update(float dt);
    bool isPlaying() const { return _playing; }
    int getCurrentFrameIndex() const { return _frameIndex; }
    void setMovementBoneData(MovementBoneData* data);  // retained
    MovementBoneData* getMovementBoneData() const { return _data; }

private:
    Tween() = default;
    // Places the bone between the keyframes around the frame.
    void apply(float frame);
    Bone* _bone = nullptr;  // owns this tween
    MovementBoneData* _data = nullptr;
    bool _playing = false;
    bool _loop = false;
    float _frame = 0;
    int _frameIndex = 0;
};

class ColliderDetector : public engine::Ref {
public:
    static ColliderDetector* create();
    static ColliderDetector* create(Bone* bone);

    void addContourData(ContourData* contourData);
    void addContourDataList(const engine::Vector<ContourData*>& list);
    void removeContourData(ContourData* contourData);
    void removeAll() { _contours.clear(); }
    const engine::Vector<ContourData*>& getContourDataList() const { return _contours; }
    void setActive(bool active) { _active = active; }
    bool getActive() const { return _active; }
    // The contours' points carried by the transform (the bone's world transform).
    void updateTransform(const engine::Mat4& transform);
    const std::vector<std::vector<engine::Vec2>>& getWorldContours() const { return _world; }
    void setBone(Bone* bone) { _bone = bone; }
    Bone* getBone() const { return _bone; }

private:
    ColliderDetector() = default;
    Bone* _bone = nullptr;
    engine::Vector<ContourData*> _contours;
    std::vector<std::vector<engine::Vec2>> _world;
    bool _active = true;
};

class Skin : public engine::Sprite {
public:
    static Skin* create();
    // The image of a file; nullptr when it cannot be read.
    static Skin* create(const std::string& fileName);
    static Skin* createWithSpriteFrameName(const std::string& frameName);
    ~Skin() override;

    // The skin's own transform data, placed on it (retained).
    void setSkinData(BaseData* data);
    BaseData* getSkinData() const { return _skinData; }
    void setBone(Bone* bone) { _bone = bone; }
    Bone* getBone() const { return _bone; }
    const std::string& getDisplayName() const { return _displayName; }

private:
    Skin() = default;
    BaseData* _skinData = nullptr;
    Bone* _bone = nullptr;
    std::string _displayName;
};

class BatchNode : public engine::Node {
public:
    static BatchNode* create();

private:
    BatchNode() = default;
};

}  // namespace studio
