#pragma once
// The armature data as objects scripts can hold and build: a bone's transform
// and colour (BaseData), its displays, the armature's bones, the frames of a
// movement for one bone, the movements, an armature's animation, and texture
// records with their contours. The armature files read by ArmatureDataManager
// (engine/studio/Armature.h) give armature and animation data with bones and
// movements; scripts may add to them. Main thread only.
#include <string>
#include <vector>

#include "engine/base/Map.h"
#include "engine/base/Ref.h"
#include "engine/base/Types.h"
#include "engine/base/Vector.h"

namespace studio {

struct ArmatureDef;

// A transform and colour: position, z order, skew, scale, rotation tween and
// the colour's alpha, red, green and blue (0 to 255).
class BaseData : public engine::Ref {
public:
    static BaseData* create();  // autoreleased, the identity with white

    void copy(const BaseData* other);
    // This minus from (the step between two frames); rotation differences are
    // taken the short way round.
    void subtract(const BaseData* from, const BaseData* to, bool limit);
    void setColor(const engine::Color4B& color);
    engine::Color4B getColor() const;

    float x = 0, y = 0;
    int zOrder = 0;
    float skewX = 0, skewY = 0;
    float scaleX = 1, scaleY = 1;
    float tweenRotate = 0;
    bool isUseColorInfo = false;
    int a = 255, r = 255, g = 255, b = 255;

protected:
    BaseData() = default;
};

enum class DisplayType { SPRITE = 0, ARMATURE = 1, PARTICLE = 2 };

class DisplayData : public engine::Ref {
public:
    static DisplayData* create();
    // The file name without its folder and extension, with ".png" (what a sprite
    // display is looked up by).
    static std::string changeDisplayToTexture(const std::string& displayName);
    virtual void copy(const DisplayData* other);

    DisplayType displayType = DisplayType::SPRITE;
    std::string displayName;

protected:
    DisplayData() = default;
};

class SpriteDisplayData : public DisplayData {
public:
    static SpriteDisplayData* create();
    void copy(const DisplayData* other) override;
    BaseData* getSkinData() const { return _skinData; }
    ~SpriteDisplayData() override;

private:
    SpriteDisplayData();
    BaseData* _skinData = nullptr;  // owned
};

class ArmatureDisplayData : public DisplayData {
public:
    static ArmatureDisplayData* create();

private:
    ArmatureDisplayData() { displayType = DisplayType::ARMATURE; }
};

class ParticleDisplayData : public DisplayData {
public:
    static ParticleDisplayData* create();

private:
    ParticleDisplayData() { displayType = DisplayType::PARTICLE; }
};

class BoneData : public BaseData {
public:
    static BoneData* create();
    void addDisplayData(DisplayData* displayData);
    // Null past the end.
    DisplayData* getDisplayData(int index) const;
    const engine::Vector<DisplayData*>& getDisplayDataList() const { return _displayDataList; }

    std::string name;
    std::string parentName;

private:
    BoneData() = default;
    engine::Vector<DisplayData*> _displayDataList;
};

class ArmatureData : public engine::Ref {
public:
    static ArmatureData* create();
    // The bones of an armature read from a file (each placed at its position).
    static ArmatureData* create(const ArmatureDef& def);
    // Replaces a bone of the same name.
    void addBoneData(BoneData* boneData);
    BoneData* getBoneData(const std::string& boneName) const;
    const engine::Map<std::string, BoneData*>& getBoneDataDic() const { return _boneDataDic; }

    std::string name;
    float dataVersion = 0.1f;

private:
    ArmatureData() = default;
    engine::Map<std::string, BoneData*> _boneDataDic;
};

// One keyframe of a bone: its transform and colour at the frame, how long it
// lasts and the event it carries.
class FrameData : public BaseData {
public:
    static FrameData* create();
    void copy(const BaseData* other);

    int frameID = 0;
    int duration = 1;
    int tweenEasing = 0;
    int displayIndex = 0;
    std::string strEvent;
    std::string strMovement;
    std::string strSound;

private:
    FrameData() = default;
};

// The keyframes of one bone in one movement.
class MovementBoneData : public engine::Ref {
public:
    static MovementBoneData* create();
    void addFrameData(FrameData* frameData);
    FrameData* getFrameData(int index) const;
    const engine::Vector<FrameData*>& getFrameDatas() const { return _frameList; }

    float delay = 0;
    float scale = 1;
    float duration = 0;
    std::string name;

private:
    MovementBoneData() = default;
    engine::Vector<FrameData*> _frameList;
};

class MovementData : public engine::Ref {
public:
    static MovementData* create();
    // Replaces the bone's frames of the same name.
    void addMovementBoneData(MovementBoneData* movementBoneData);
    MovementBoneData* getMovementBoneData(const std::string& boneName) const;

    std::string name;
    int duration = 0;
    float scale = 1;
    int durationTo = 0;
    int durationTween = 0;
    bool loop = true;
    int tweenEasing = 0;

private:
    MovementData() = default;
    engine::Map<std::string, MovementBoneData*> _movBoneDataDic;
};

class AnimationData : public engine::Ref {
public:
    static AnimationData* create();
    // The movements of an armature read from a file, with their durations and loops.
    static AnimationData* create(const ArmatureDef& def);
    // Replaces a movement of the same name; the names keep their first order.
    void addMovement(MovementData* movementData);
    MovementData* getMovement(const std::string& movementName) const;
    int getMovementCount() const { return static_cast<int>(_movementNames.size()); }
    const std::vector<std::string>& getMovementNames() const { return _movementNames; }

    std::string name;

private:
    AnimationData() = default;
    engine::Map<std::string, MovementData*> _movementDataDic;
    std::vector<std::string> _movementNames;
};

// The outline of a texture's shape, as points.
class ContourData : public engine::Ref {
public:
    static ContourData* create();
    void addVertex(const engine::Vec2& vertex) { vertexList.push_back(vertex); }

    std::vector<engine::Vec2> vertexList;

private:
    ContourData() = default;
};

class TextureData : public engine::Ref {
public:
    static TextureData* create();
    void addContourData(ContourData* contourData) { _contourDataList.pushBack(contourData); }
    ContourData* getContourData(int index) const;

    float height = 0, width = 0;
    float pivotX = 0.5f, pivotY = 0.5f;
    std::string name;

private:
    TextureData() = default;
    engine::Vector<ContourData*> _contourDataList;
};

}  // namespace studio
