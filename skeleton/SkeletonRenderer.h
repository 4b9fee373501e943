#pragma once
// The engine node that owns a posed skeleton and draws it. Every frame it
// advances the skeleton's clock; its draw queues one command that turns the
// visible attachments (regions, meshes, skinned meshes) of the slots, in draw
// order, into triangles gathered by a PolygonBatch, breaking batches only at a
// texture change, a blend-mode change or a full batch. Drawing allocates nothing:
// the world-vertex scratch is sized at load for the data's largest attachment.
//
// A node whose files cannot be read (or whose data is missing) is empty: it draws
// nothing, measures an empty box at its position, and its setters answer false
// or nothing; the load logs one line "Skeleton: " + what failed.
#include <string>

#include "engine/renderer/RenderRecords.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Node.h"
#include "skeleton/Atlas.h"
#include "skeleton/MeshAttachment.h"
#include "skeleton/RegionAttachment.h"
#include "skeleton/Skeleton.h"
#include "skeleton/SkinnedMeshAttachment.h"

namespace skeleton {

class PolygonBatch;

class SkeletonRenderer : public engine::Node, public engine::BlendProtocol {
public:
    // Autoreleased; an empty node when the files cannot be read.
    static SkeletonRenderer* createWithFile(const std::string& skeletonDataFile, const std::string& atlasFile,
                                            float scale = 1);

    // The atlas is read from the file and owned by the node.
    SkeletonRenderer(const std::string& skeletonDataFile, const std::string& atlasFile, float scale = 1);
    // The atlas stays the caller's and must outlive the node.
    SkeletonRenderer(const std::string& skeletonDataFile, spAtlas* atlas, float scale = 1);
    SkeletonRenderer(spSkeletonData* skeletonData, bool ownsSkeletonData = false);
    // Initialises nothing: initWithFile, initWithData or initialize must follow.
    SkeletonRenderer();
    ~SkeletonRenderer() override;

    void initWithFile(const std::string& skeletonDataFile, const std::string& atlasFile, float scale = 1);
    void initWithFile(const std::string& skeletonDataFile, spAtlas* atlas, float scale = 1);
    void initWithData(spSkeletonData* skeletonData, bool ownsSkeletonData = false);

    // Skeleton clock += delta * timeScale; a step that is not finite is logged and
    // skipped.
    void update(float delta) override;
    // Entering the running scene schedules the per-frame update; leaving unschedules it.
    void onEnter() override;
    void onExit() override;
    void draw(engine::Renderer* renderer, const engine::Mat4& transform, uint32_t transformFlags) override;
    // The attachments' world box, scaled by the node's scale, at the node's
    // position; empty (zero size at the position) when nothing is drawable.
    engine::Rect getBoundingBox() const override;

    // Colours premultiplied by alpha (true after initialisation).
    void setOpacityModifyRGB(bool value) override;
    bool isOpacityModifyRGB() const override;

    virtual void drawSkeleton(const engine::Mat4& transform, uint32_t transformFlags);

    // A scale that is not finite (NaN, infinities) is logged and ignored.
    void setTimeScale(float scale);
    float getTimeScale() const { return _timeScale; }
    void setDebugSlotsEnabled(bool enabled) { _debugSlots = enabled; }
    bool getDebugSlotsEnabled() const { return _debugSlots; }
    void setDebugBonesEnabled(bool enabled) { _debugBones = enabled; }
    bool getDebugBonesEnabled() const { return _debugBones; }
    // Null for an empty node.
    spSkeleton* getSkeleton() const { return _skeleton; }

    // Bones' world transforms from their local values now (an empty node: nothing).
    void updateWorldTransform();
    void setToSetupPose();
    void setBonesToSetupPose();
    void setSlotsToSetupPose();
    spBone* findBone(const std::string& boneName) const;
    spSlot* findSlot(const std::string& slotName) const;
    spAttachment* getAttachment(const std::string& slotName, const std::string& attachmentName) const;
    // An empty (or null) attachment name clears the slot; true when the skeleton took it.
    bool setAttachment(const std::string& slotName, const std::string& attachmentName);
    bool setAttachment(const std::string& slotName, const char* attachmentName);
    // An empty (or null) name keeps the current attachments without a skin; true when found.
    bool setSkin(const std::string& skinName);
    bool setSkin(const char* skinName);

    void setBlendFunc(const engine::BlendFunc& blendFunc) override { _blendFunc = blendFunc; }
    const engine::BlendFunc& getBlendFunc() const override { return _blendFunc; }

    // The worst-case scratch size of the loaded data, in floats (tests).
    int getWorldVerticesCapacity() const { return _worldVerticesCapacity; }

protected:
    void setSkeletonData(spSkeletonData* skeletonData, bool ownsSkeletonData);
    virtual void initialize();
    virtual engine::Texture2D* getRegionAttachmentTexture(spRegionAttachment* attachment) const;
    virtual engine::Texture2D* getMeshAttachmentTexture(spMeshAttachment* attachment) const;
    virtual engine::Texture2D* getSkinnedMeshAttachmentTexture(spSkinnedMeshAttachment* attachment) const;

private:
    // World vertices of a drawable attachment into the scratch: the float count,
    // 0 for other kinds.
    int computeWorldVertices(spSlot* slot) const;
    void drawDebug(const engine::Mat4& transform);

    bool _ownsSkeletonData = false;
    spSkeletonData* _skeletonData = nullptr;
    spAtlas* _atlas = nullptr;   // owned when the node read it
    bool _ownsAtlas = false;
    engine::CustomCommand _drawCommand;
    engine::BlendFunc _blendFunc;
    PolygonBatch* _batch = nullptr;
    float* _worldVertices = nullptr;
    int _worldVerticesCapacity = 0;
    bool _premultipliedAlpha = false;
    spSkeleton* _skeleton = nullptr;
    float _timeScale = 1;
    bool _debugSlots = false;
    bool _debugBones = false;
    engine::Mat4 _drawTransform;   // the queued command draws with these
    uint32_t _drawFlags = 0;
};

}  // namespace skeleton
