// Skeleton data records: skins, attachment geometry, timeline records and the
// allocation hooks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "skeleton/Animation.h"
#include "skeleton/BoundingBoxAttachment.h"
#include "skeleton/MeshAttachment.h"
#include "skeleton/RegionAttachment.h"
#include "skeleton/Skeleton.h"
#include "skeleton/SkinnedMeshAttachment.h"
#include "skeleton/extension.h"

namespace {

TEST(SkeletonData, LookupsInEmptyAndDuplicatedArrays) {
    spSkeletonData* data = spSkeletonData_create();
    EXPECT_EQ(spSkeletonData_findBone(data, "a"), nullptr);
    EXPECT_EQ(spSkeletonData_findBoneIndex(data, "a"), -1);
    EXPECT_EQ(spSkeletonData_findSlotIndex(data, "a"), -1);
    EXPECT_EQ(spSkeletonData_findSkin(data, "a"), nullptr);
    EXPECT_EQ(spSkeletonData_findEvent(data, "a"), nullptr);
    EXPECT_EQ(spSkeletonData_findAnimation(data, "a"), nullptr);
    EXPECT_EQ(spSkeletonData_findIkConstraint(data, "a"), nullptr);
    data->bones = SK_CALLOC(spBoneData*, 3);
    data->bones[data->bonesCount++] = spBoneData_create("a", nullptr);
    data->bones[data->bonesCount++] = spBoneData_create("b", data->bones[0]);
    data->bones[data->bonesCount++] = spBoneData_create("a", nullptr);
    EXPECT_EQ(spSkeletonData_findBoneIndex(data, "a"), 0);
    EXPECT_EQ(spSkeletonData_findBoneIndex(data, "A"), -1);
    EXPECT_EQ(data->bones[1]->scaleX, 1.f);
    EXPECT_EQ(data->bones[1]->inheritRotation, 1);
    spSkeletonData_dispose(data);
}

TEST(SkeletonData, SkinEntriesNewestFirst) {
    spSkin* skin = spSkin_create("s");
    spBoundingBoxAttachment* older = spBoundingBoxAttachment_create("older");
    spBoundingBoxAttachment* newer = spBoundingBoxAttachment_create("newer");
    spSkin_addAttachment(skin, 1, "key", &older->super);
    spSkin_addAttachment(skin, 2, "other", &spBoundingBoxAttachment_create("x")->super);
    spSkin_addAttachment(skin, 1, "key", &newer->super);
    EXPECT_EQ(spSkin_getAttachment(skin, 1, "key"), &newer->super);
    EXPECT_EQ(spSkin_getAttachment(skin, 1, "Key"), nullptr);
    EXPECT_EQ(spSkin_getAttachment(skin, 3, "key"), nullptr);
    EXPECT_STREQ(spSkin_getAttachmentName(skin, 1, 0), "key");
    EXPECT_STREQ(spSkin_getAttachmentName(skin, 1, 1), "key");
    EXPECT_EQ(spSkin_getAttachmentName(skin, 1, 2), nullptr);   // n equal to the number of entries
    EXPECT_STREQ(spSkin_getAttachmentName(skin, 2, 0), "other");
    spSkin_dispose(skin);
}

TEST(SkeletonData, RegionCornersAndUVs) {
    spRegionAttachment* region = spRegionAttachment_create("r");
    region->width = 20;
    region->height = 10;
    region->x = 1;
    region->regionWidth = region->regionOriginalWidth = 20;
    region->regionHeight = region->regionOriginalHeight = 10;
    spRegionAttachment_updateOffset(region);
    const float unrotated[8] = {-9, -5, -9, 5, 11, 5, 11, -5};
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(region->offset[i], unrotated[i], 1e-5) << i;
    spRegionAttachment_setUVs(region, 0.1f, 0.2f, 0.3f, 0.4f, 1);   // the page rotation changes uvs only
    spRegionAttachment_updateOffset(region);
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(region->offset[i], unrotated[i], 1e-5) << i;
    const float rotatedUVs[8] = {0.3f, 0.4f, 0.1f, 0.4f, 0.1f, 0.2f, 0.3f, 0.2f};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(region->uvs[i], rotatedUVs[i]) << i;
    spRegionAttachment_setUVs(region, 0.1f, 0.2f, 0.3f, 0.4f, 0);
    const float plainUVs[8] = {0.1f, 0.4f, 0.1f, 0.2f, 0.3f, 0.2f, 0.3f, 0.4f};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(region->uvs[i], plainUVs[i]) << i;
    region->rotation = 90;
    spRegionAttachment_updateOffset(region);
    EXPECT_NEAR(region->offset[0], 5 + 1, 1e-5);   // (-10, -5) turned a quarter, then moved by x
    EXPECT_NEAR(region->offset[1], -10, 1e-5);
    spAttachment_dispose(&region->super);
}

// Two bones: "a" at (10, 0), "b" at (0, 20) turned 90 degrees; skeleton at (1, 2).
class SkeletonGeometry : public ::testing::Test {
protected:
    void SetUp() override {
        _data = spSkeletonData_create();
        _data->bones = SK_CALLOC(spBoneData*, 2);
        spBoneData* a = spBoneData_create("a", nullptr);
        a->x = 10;
        spBoneData* b = spBoneData_create("b", nullptr);
        b->y = 20;
        b->rotation = 90;
        _data->bones[_data->bonesCount++] = a;
        _data->bones[_data->bonesCount++] = b;
        _data->slots = SK_CALLOC(spSlotData*, 1);
        _data->slots[_data->slotsCount++] = spSlotData_create("s", a);
        _skeleton = spSkeleton_create(_data);
        _skeleton->x = 1;
        _skeleton->y = 2;
        spSkeleton_updateWorldTransform(_skeleton);
    }
    void TearDown() override {
        spSkeleton_dispose(_skeleton);
        spSkeletonData_dispose(_data);
    }
    spSkeletonData* _data = nullptr;
    spSkeleton* _skeleton = nullptr;
};

TEST_F(SkeletonGeometry, MeshUsesDeformedVerticesOnlyOfItsOwnLength) {
    spMeshAttachment* mesh = spMeshAttachment_create("m");
    mesh->verticesCount = 4;
    mesh->vertices = SK_MALLOC(float, 4);
    const float own[4] = {1, 2, 3, 4};
    std::memcpy(mesh->vertices, own, sizeof own);
    spSlot* slot = _skeleton->slots[0];
    float out[4];
    slot->attachmentVerticesCapacity = slot->attachmentVerticesCount = 2;
    slot->attachmentVertices = SK_MALLOC(float, 2);
    slot->attachmentVertices[0] = slot->attachmentVertices[1] = 100;
    spMeshAttachment_computeWorldVertices(mesh, slot, out);
    EXPECT_EQ(std::vector<float>(out, out + 4), (std::vector<float>{12, 4, 14, 6}));
    SK_FREE(slot->attachmentVertices);
    slot->attachmentVertices = SK_MALLOC(float, 4);
    slot->attachmentVerticesCapacity = slot->attachmentVerticesCount = 4;
    for (int i = 0; i < 4; ++i) slot->attachmentVertices[i] = 0;
    spMeshAttachment_computeWorldVertices(mesh, slot, out);
    EXPECT_EQ(std::vector<float>(out, out + 4), (std::vector<float>{11, 2, 11, 2}));

    mesh->regionUVs = SK_MALLOC(float, 4);
    const float regionUVs[4] = {0, 0, 1, 0.5f};
    std::memcpy(mesh->regionUVs, regionUVs, sizeof regionUVs);
    mesh->regionU = 0.5f; mesh->regionV = 0.25f; mesh->regionU2 = 0.75f; mesh->regionV2 = 0.75f;
    spMeshAttachment_updateUVs(mesh);
    EXPECT_EQ(std::vector<float>(mesh->uvs, mesh->uvs + 4), (std::vector<float>{0.5f, 0.25f, 0.75f, 0.5f}));
    mesh->regionRotate = 1;
    spMeshAttachment_updateUVs(mesh);
    EXPECT_EQ(std::vector<float>(mesh->uvs, mesh->uvs + 4), (std::vector<float>{0.5f, 0.75f, 0.625f, 0.25f}));
    spAttachment_dispose(&mesh->super);
}

TEST_F(SkeletonGeometry, SkinnedVerticesAreWeightedOverBones) {
    spSkinnedMeshAttachment* mesh = spSkinnedMeshAttachment_create("s");
    const int bones[] = {1, 0, 2, 0, 1};
    const float weights[] = {1, 1, 1, 0, 0, 0.5f, 2, 0, 0.5f};
    mesh->bonesCount = 5;
    mesh->bones = SK_MALLOC(int, 5);
    std::memcpy(mesh->bones, bones, sizeof bones);
    mesh->weightsCount = 9;
    mesh->weights = SK_MALLOC(float, 9);
    std::memcpy(mesh->weights, weights, sizeof weights);
    spSlot* slot = _skeleton->slots[0];
    float out[4];
    spSkinnedMeshAttachment_computeWorldVertices(mesh, slot, out);
    // Vertex 0: bone a at (10, 0) plus (1, 1). Vertex 1: halfway between a's origin
    // and (2, 0) in b's space, which is b + (0, 2) = (0, 22).
    EXPECT_NEAR(out[0], 12, 1e-5);
    EXPECT_NEAR(out[1], 3, 1e-5);
    EXPECT_NEAR(out[2], 6, 1e-5);
    EXPECT_NEAR(out[3], 13, 1e-5);
    // Deformed vertices add one offset per influence.
    slot->attachmentVertices = SK_CALLOC(float, 6);
    slot->attachmentVerticesCapacity = slot->attachmentVerticesCount = 6;
    slot->attachmentVertices[0] = 1;
    slot->attachmentVertices[2] = 2;
    spSkinnedMeshAttachment_computeWorldVertices(mesh, slot, out);
    EXPECT_NEAR(out[0], 13, 1e-5);
    EXPECT_NEAR(out[2], 7, 1e-5);
    spAttachment_dispose(&mesh->super);
}

TEST_F(SkeletonGeometry, RegionAndBoundingBoxInSkeletonSpace) {
    spBone* b = _skeleton->bones[1];
    spBoundingBoxAttachment* box = spBoundingBoxAttachment_create("b");
    box->verticesCount = 4;
    box->vertices = SK_MALLOC(float, 4);
    const float local[4] = {1, 0, 0, 1};
    std::memcpy(box->vertices, local, sizeof local);
    float out[4];
    spBoundingBoxAttachment_computeWorldVertices(box, b, out);
    EXPECT_NEAR(out[0], 1, 1e-5);
    EXPECT_NEAR(out[1], 23, 1e-5);
    EXPECT_NEAR(out[2], 0, 1e-5);
    EXPECT_NEAR(out[3], 22, 1e-5);
    spAttachment_dispose(&box->super);

    spRegionAttachment* region = spRegionAttachment_create("r");
    region->width = region->height = 2;
    region->regionWidth = region->regionHeight = region->regionOriginalWidth = region->regionOriginalHeight = 4;
    spRegionAttachment_updateOffset(region);
    float corners[8];
    spRegionAttachment_computeWorldVertices(region, b, corners);
    // Corner 1 at local (-1, -1) on b (turned 90 degrees at (0, 20), skeleton at (1, 2)).
    const float expected[8] = {2, 21, 0, 21, 0, 23, 2, 23};
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(corners[i], expected[i], 1e-5) << i;
    spAttachment_dispose(&region->super);
}

TEST(SkeletonTimelines, CurvesAndKeySetters) {
    spRotateTimeline* rotate = spRotateTimeline_create(3);
    EXPECT_EQ(rotate->framesCount, 6);
    EXPECT_EQ(rotate->super.curvesCount, 2 * SP_CURVE_SPAN_SIZE);
    spRotateTimeline_setFrame(rotate, 2, 1.5f, 30);
    spRotateTimeline_setFrame(rotate, 3, 9, 9);   // out of range: ignored
    EXPECT_EQ(rotate->frames[4], 1.5f);
    EXPECT_EQ(rotate->frames[5], 30.f);
    spCurveTimeline* curve = &rotate->super;
    EXPECT_EQ(spCurveTimeline_getCurvePercent(curve, 0, 0.3f), 0.3f);   // new spans are linear
    spCurveTimeline_setStepped(curve, 1);
    EXPECT_EQ(spCurveTimeline_getCurvePercent(curve, 1, 0.7f), 0.f);
    spCurveTimeline_setLinear(curve, 1);
    EXPECT_EQ(spCurveTimeline_getCurvePercent(curve, 1, 0.7f), 0.7f);
    spCurveTimeline_setCurve(curve, 2, 0, 0, 1, 1);   // the last key has no span: ignored
    spCurveTimeline_setCurve(curve, 0, 1.f / 3, 1.f / 3, 2.f / 3, 2.f / 3);   // a straight Bézier
    EXPECT_EQ(curve->curves[0], static_cast<float>(SP_CURVE_BEZIER));
    for (float p : {0.05f, 0.5f, 0.95f}) EXPECT_NEAR(spCurveTimeline_getCurvePercent(curve, 0, p), p, 1e-5) << p;
    spTimeline_dispose(&rotate->super.super);

    struct Case { spTimeline* timeline; int type; };
    const Case cases[] = {
        {&spScaleTimeline_create(1)->super.super, SP_TIMELINE_SCALE},
        {&spTranslateTimeline_create(1)->super.super, SP_TIMELINE_TRANSLATE},
        {&spColorTimeline_create(1)->super.super, SP_TIMELINE_COLOR},
        {&spIkConstraintTimeline_create(1)->super.super, SP_TIMELINE_IKCONSTRAINT},
        {&spFlipTimeline_create(1, 1)->super, SP_TIMELINE_FLIPX},
        {&spFlipTimeline_create(1, 0)->super, SP_TIMELINE_FLIPY},
        {&spFFDTimeline_create(1, 4)->super.super, SP_TIMELINE_FFD},
        {&spAttachmentTimeline_create(0)->super, SP_TIMELINE_ATTACHMENT},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.timeline->type, c.type);
        spTimeline_dispose(c.timeline);
    }
}

TEST(SkeletonTimelines, OwnedKeysAreReplacedAndFreed) {
    spAttachmentTimeline* attachments = spAttachmentTimeline_create(2);
    spAttachmentTimeline_setFrame(attachments, 0, 0, "a");
    spAttachmentTimeline_setFrame(attachments, 0, 1, "b");
    spAttachmentTimeline_setFrame(attachments, 1, 2, nullptr);
    EXPECT_STREQ(attachments->attachmentNames[0], "b");
    EXPECT_EQ(attachments->attachmentNames[1], nullptr);
    EXPECT_EQ(attachments->frames[0], 1.f);

    spEventData* data = spEventData_create("e");
    spEventTimeline* events = spEventTimeline_create(1);
    spEventTimeline_setFrame(events, 0, 0, spEvent_create(data));
    spEvent* second = spEvent_create(data);
    second->stringValue = SK_STRDUP("s");
    spEventTimeline_setFrame(events, 0, 1, second);
    spEventTimeline_setFrame(events, 5, 1, spEvent_create(data));   // out of range: disposed
    EXPECT_EQ(events->events[0], second);

    spDrawOrderTimeline* order = spDrawOrderTimeline_create(1, 3);
    const int o[3] = {2, 0, 1};
    spDrawOrderTimeline_setFrame(order, 0, 0, o);
    spDrawOrderTimeline_setFrame(order, 0, 0, o);
    EXPECT_EQ(order->drawOrders[0][0], 2);

    spFFDTimeline* ffd = spFFDTimeline_create(1, 2);
    const float v[2] = {1, 2};
    spFFDTimeline_setFrame(ffd, 0, 0, v);
    spFFDTimeline_setFrame(ffd, 0, 0.5f, nullptr);
    EXPECT_EQ(ffd->frameVertices[0], nullptr);

    spAnimation* animation = spAnimation_create("anim", 4);
    animation->timelines[0] = &attachments->super;
    animation->timelines[1] = &events->super;
    animation->timelines[2] = &order->super;
    animation->timelines[3] = &ffd->super.super;
    EXPECT_STREQ(animation->name, "anim");
    EXPECT_EQ(animation->duration, 0.f);
    spAnimation_dispose(animation);
    spEventData_dispose(data);
}

std::vector<std::string> debugFiles;
std::vector<int> debugLines;
void* debugMalloc(size_t size, const char* file, int line) {
    debugFiles.push_back(file ? file : "");
    debugLines.push_back(line);
    return std::malloc(size);
}
size_t freed = 0;
void countingFree(void* p) {
    if (p) ++freed;
    std::free(p);
}

TEST(SkeletonAllocation, DebugHookSeesEveryAllocationWithItsSource) {
    skeleton_setDebugMallocHook(debugMalloc);
    skeleton_setFreeHook(countingFree);
    spSkin* skin = spSkin_create("skin");
    spSkin_addAttachment(skin, 0, "r", &spRegionAttachment_create("r")->super);
    spSkin_dispose(skin);
    skeleton_setDebugMallocHook(nullptr);
    skeleton_setFreeHook(nullptr);
    ASSERT_FALSE(debugFiles.empty());
    EXPECT_EQ(freed, debugFiles.size());
    for (size_t i = 0; i < debugFiles.size(); ++i) {
        EXPECT_NE(debugFiles[i].find(".cpp"), std::string::npos) << debugFiles[i];
        EXPECT_EQ(debugFiles[i].find('/'), std::string::npos) << debugFiles[i];
        EXPECT_GT(debugLines[i], 0);
    }
    void* p = skeleton_calloc(4, 4, "x", 1);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(static_cast<unsigned char*>(p)[i], 0);
    skeleton_free(p);
}

void* failingMalloc(size_t) { return nullptr; }

TEST(SkeletonAllocationDeathTest, FailedAllocationAborts) {
    EXPECT_DEATH(
        {
            skeleton_setMallocHook(failingMalloc);
            spSkin_create("x");
        },
        "allocation of");
}

}  // namespace
