// Skeleton JSON documents read into skeleton data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "skeleton/Animation.h"
#include "skeleton/BoundingBoxAttachment.h"
#include "skeleton/MeshAttachment.h"
#include "skeleton/RegionAttachment.h"
#include "skeleton/SkeletonFixture.h"
#include "skeleton/SkeletonJson.h"
#include "skeleton/SkinnedMeshAttachment.h"
#include "skeleton/extension.h"
#include "support/CpuTime.h"
#include "support/HeapPeak.h"

namespace {

using skeleton_test::kAtlas;
using skeleton_test::kSkeleton;

class SkeletonReader : public ::testing::Test {
protected:
    void SetUp() override {
        std::string dir = skeleton_test::makeAtlasFolder("reader");
        _atlas = spAtlas_create(kAtlas, static_cast<int>(std::strlen(kAtlas)), dir.c_str(), nullptr);
        ASSERT_NE(_atlas, nullptr);
        _json = spSkeletonJson_create(_atlas);
    }
    void TearDown() override {
        spSkeletonData_dispose(_data);
        spSkeletonJson_dispose(_json);
        spAtlas_dispose(_atlas);
    }
    spSkeletonData* read(const std::string& text) {
        spSkeletonData_dispose(_data);
        _data = spSkeletonJson_readSkeletonDataWithLength(_json, text.data(), text.size());
        return _data;
    }
    std::string error() const { return _json->error ? _json->error : "(none)"; }

    spAtlas* _atlas = nullptr;
    spSkeletonJson* _json = nullptr;
    spSkeletonData* _data = nullptr;
};

template <typename T>
T* timelineOfType(const spAnimation* animation, spTimelineType type, int nth = 0) {
    for (int i = 0; i < animation->timelinesCount; ++i)
        if (animation->timelines[i]->type == type && nth-- == 0) return reinterpret_cast<T*>(animation->timelines[i]);
    return nullptr;
}

TEST_F(SkeletonReader, ReadsTheFixture) {
    spSkeletonData* data = read(kSkeleton);
    ASSERT_NE(data, nullptr) << error();
    EXPECT_EQ(error(), "Bone not found: nowhere");   // the broken animation was dropped
    EXPECT_STREQ(data->hash, "h1");
    EXPECT_STREQ(data->version, "2.1.27");
    EXPECT_EQ(data->width, 100.f);

    ASSERT_EQ(data->bonesCount, 5);
    const spBoneData* upper = data->bones[1];
    EXPECT_EQ(upper->parent, data->bones[0]);
    EXPECT_EQ(upper->length, 10.f);
    EXPECT_EQ(upper->rotation, 30.f);
    EXPECT_EQ(upper->scaleX, 2.f);
    EXPECT_EQ(upper->scaleY, 1.f);
    EXPECT_EQ(upper->inheritScale, 0);
    EXPECT_EQ(upper->inheritRotation, 1);
    EXPECT_EQ(data->bones[2]->flipY, 1);
    EXPECT_EQ(data->bones[2]->flipX, 0);

    ASSERT_EQ(data->ikConstraintsCount, 1);
    const spIkConstraintData* ik = data->ikConstraints[0];
    ASSERT_EQ(ik->bonesCount, 2);
    EXPECT_EQ(ik->bones[0], upper);
    EXPECT_EQ(ik->target, data->bones[4]);
    EXPECT_EQ(ik->bendDirection, -1);
    EXPECT_EQ(ik->mix, 0.5f);

    ASSERT_EQ(data->slotsCount, 4);
    const spSlotData* head = data->slots[0];
    EXPECT_EQ(head->r, 1.f);
    EXPECT_EQ(head->g, 0.f);
    EXPECT_FLOAT_EQ(head->a, 128.f / 255);
    EXPECT_STREQ(head->attachmentName, "head");
    EXPECT_EQ(head->blendMode, SP_BLEND_MODE_NORMAL);
    EXPECT_EQ(data->slots[1]->blendMode, SP_BLEND_MODE_ADDITIVE);
    EXPECT_EQ(data->slots[2]->blendMode, SP_BLEND_MODE_NORMAL);   // "Multiply" is not "multiply"
    EXPECT_EQ(data->slots[3]->blendMode, SP_BLEND_MODE_SCREEN);

    ASSERT_EQ(data->skinsCount, 2);
    EXPECT_EQ(data->defaultSkin, data->skins[0]);
    auto* region = reinterpret_cast<spRegionAttachment*>(spSkin_getAttachment(data->defaultSkin, 0, "head"));
    ASSERT_NE(region, nullptr);
    EXPECT_STREQ(region->path, "head");
    EXPECT_EQ(region->x, 1.f);
    EXPECT_EQ(region->height, 18.f);
    EXPECT_EQ(region->rendererObject, spAtlas_findRegion(_atlas, "head"));
    // Offsets from the region's stripping: 16 x 18 shown for an original 20 x 18.
    EXPECT_FLOAT_EQ(region->offset[0], -8 + 2 * 0.8f + 1);
    EXPECT_FLOAT_EQ(region->offset[1], -9 + 1 * 1.f + 2);
    EXPECT_FLOAT_EQ(region->offset[4], -8 + 2 * 0.8f + 16 * 0.8f + 1);
    auto* arm = reinterpret_cast<spRegionAttachment*>(spSkin_getAttachment(data->defaultSkin, 1, "arm"));
    ASSERT_NE(arm, nullptr);
    EXPECT_EQ(arm->g, 1.f);
    EXPECT_EQ(arm->r, 0.f);
    EXPECT_EQ(arm->uvs[0], 0.5f);   // rotated region order

    auto* mesh = reinterpret_cast<spMeshAttachment*>(spSkin_getAttachment(data->defaultSkin, 2, "panel"));
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->super.type, SP_ATTACHMENT_MESH);
    EXPECT_EQ(mesh->verticesCount, 8);
    EXPECT_EQ(mesh->trianglesCount, 6);
    EXPECT_EQ(mesh->hullLength, 4);
    EXPECT_EQ(mesh->edgesCount, 4);
    EXPECT_EQ(mesh->width, 32.f);
    const float meshUVs[8] = {0.25f, 0.25f, 0.5f, 0.25f, 0.5f, 0.5f, 0.25f, 0.5f};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(mesh->uvs[i], meshUVs[i]) << i;

    auto* box = reinterpret_cast<spBoundingBoxAttachment*>(spSkin_getAttachment(data->defaultSkin, 3, "box"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->verticesCount, 6);

    spSkin* alt = data->skins[1];
    auto* skinned = reinterpret_cast<spSkinnedMeshAttachment*>(spSkin_getAttachment(alt, 2, "panel"));
    ASSERT_NE(skinned, nullptr);
    ASSERT_EQ(skinned->super.type, SP_ATTACHMENT_SKINNED_MESH);
    EXPECT_STREQ(skinned->path, "skin");
    const std::vector<int> bones = {1, 2, 2, 1, 4, 1, 3};
    EXPECT_EQ(std::vector<int>(skinned->bones, skinned->bones + skinned->bonesCount), bones);
    const std::vector<float> weights = {3, 1, 1, 0, 0.5f, 0.5f, 2, 0, 0.5f, 4, 5, 1};
    EXPECT_EQ(std::vector<float>(skinned->weights, skinned->weights + skinned->weightsCount), weights);
    EXPECT_EQ(skinned->uvsCount, 6);
    EXPECT_EQ(skinned->uvs[2], 0.25f);   // u of (1, 0) on the "skin" region (0..0.25 across)
    // The entry's name differs from its key; the key files it.
    spAttachment* big = spSkin_getAttachment(alt, 0, "head");
    ASSERT_NE(big, nullptr);
    EXPECT_STREQ(big->name, "bighead");

    ASSERT_EQ(data->eventsCount, 2);
    EXPECT_EQ(data->events[0]->intValue, 3);
    EXPECT_STREQ(data->events[0]->stringValue, "ouch");
    EXPECT_EQ(data->events[1]->stringValue, nullptr);

    ASSERT_EQ(data->animationsCount, 2);
    EXPECT_STREQ(data->animations[0]->name, "walk");
    EXPECT_STREQ(data->animations[1]->name, "idle");
    EXPECT_EQ(data->animations[1]->duration, 3.f);
}

TEST_F(SkeletonReader, TimelinesHoldTheirKeys) {
    ASSERT_NE(read(kSkeleton), nullptr) << error();
    const spAnimation* walk = spSkeletonData_findAnimation(_data, "walk");
    ASSERT_NE(walk, nullptr);
    const spTimelineType order[] = {SP_TIMELINE_COLOR, SP_TIMELINE_ATTACHMENT, SP_TIMELINE_ROTATE,
                                    SP_TIMELINE_TRANSLATE, SP_TIMELINE_SCALE, SP_TIMELINE_FLIPX,
                                    SP_TIMELINE_FLIPY, SP_TIMELINE_IKCONSTRAINT, SP_TIMELINE_FFD,
                                    SP_TIMELINE_FFD, SP_TIMELINE_DRAWORDER, SP_TIMELINE_EVENT};
    ASSERT_EQ(walk->timelinesCount, 12);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(walk->timelines[i]->type, order[i]) << i;
    EXPECT_EQ(walk->duration, 2.f);

    auto* color = timelineOfType<spColorTimeline>(walk, SP_TIMELINE_COLOR);
    EXPECT_EQ(color->slotIndex, 0);
    const std::vector<float> colorFrames = {0, 0, 1, 0, 1, 2, 1, 1, 1, 1};   // a key without colour is white
    EXPECT_EQ(std::vector<float>(color->frames, color->frames + color->framesCount), colorFrames);

    auto* attachment = timelineOfType<spAttachmentTimeline>(walk, SP_TIMELINE_ATTACHMENT);
    EXPECT_EQ(attachment->attachmentNames[0], nullptr);
    EXPECT_STREQ(attachment->attachmentNames[1], "head");

    auto* rotate = timelineOfType<spRotateTimeline>(walk, SP_TIMELINE_ROTATE);
    EXPECT_EQ(rotate->boneIndex, 1);
    EXPECT_EQ(rotate->super.curves[0], static_cast<float>(SP_CURVE_BEZIER));
    auto* translate = timelineOfType<spTranslateTimeline>(walk, SP_TIMELINE_TRANSLATE);
    EXPECT_EQ(translate->super.curves[0], static_cast<float>(SP_CURVE_STEPPED));
    const std::vector<float> translateFrames = {0, 1, 2, 0.5f, 0, 0};
    EXPECT_EQ(std::vector<float>(translate->frames, translate->frames + translate->framesCount), translateFrames);
    auto* scale = timelineOfType<spScaleTimeline>(walk, SP_TIMELINE_SCALE);
    EXPECT_EQ(scale->super.curves[0], static_cast<float>(SP_CURVE_LINEAR));   // "Stepped" is not "stepped"
    auto* flipX = timelineOfType<spFlipTimeline>(walk, SP_TIMELINE_FLIPX);
    EXPECT_EQ(flipX->x, 1);
    EXPECT_EQ(flipX->frames[1], 1.f);
    auto* flipY = timelineOfType<spFlipTimeline>(walk, SP_TIMELINE_FLIPY);
    EXPECT_EQ(flipY->boneIndex, 2);
    EXPECT_EQ(flipY->frames[1], 1.f);   // true reads as 1

    auto* ik = timelineOfType<spIkConstraintTimeline>(walk, SP_TIMELINE_IKCONSTRAINT);
    const std::vector<float> ikFrames = {0, 1, -1, 1, 0, 1};
    EXPECT_EQ(std::vector<float>(ik->frames, ik->frames + ik->framesCount), ikFrames);

    auto* ffd = timelineOfType<spFFDTimeline>(walk, SP_TIMELINE_FFD);
    EXPECT_EQ(ffd->slotIndex, 2);
    EXPECT_EQ(ffd->frameVerticesCount, 8);
    const std::vector<float> own = {0, 0, 10, 0, 10, 10, 0, 10};
    const std::vector<float> moved = {0, 0, 11, 2, 10, 10, 0, 10};
    EXPECT_EQ(std::vector<float>(ffd->frameVertices[0], ffd->frameVertices[0] + 8), own);
    EXPECT_EQ(std::vector<float>(ffd->frameVertices[1], ffd->frameVertices[1] + 8), moved);
    auto* skinnedFfd = timelineOfType<spFFDTimeline>(walk, SP_TIMELINE_FFD, 1);
    EXPECT_EQ(skinnedFfd->frameVerticesCount, 8);   // 12 weights / 3 * 2
    EXPECT_EQ(skinnedFfd->frameVertices[0][7], 1.f);
    EXPECT_EQ(skinnedFfd->frameVertices[1][7], 0.f);   // a skinned key without vertices holds zero offsets

    auto* drawOrder = timelineOfType<spDrawOrderTimeline>(walk, SP_TIMELINE_DRAWORDER);
    ASSERT_NE(drawOrder->drawOrders[0], nullptr);
    EXPECT_EQ(std::vector<int>(drawOrder->drawOrders[0], drawOrder->drawOrders[0] + 4), (std::vector<int>{2, 0, 1, 3}));
    EXPECT_EQ(drawOrder->drawOrders[1], nullptr);
    EXPECT_EQ(drawOrder->frames[1], 1.f);

    auto* events = timelineOfType<spEventTimeline>(walk, SP_TIMELINE_EVENT);
    EXPECT_EQ(events->events[0]->intValue, 3);   // defaults from the event data
    EXPECT_STREQ(events->events[0]->stringValue, "ouch");
    EXPECT_EQ(events->events[1]->intValue, 7);
    EXPECT_STREQ(events->events[1]->stringValue, "s");
    EXPECT_EQ(events->events[1]->data, _data->events[1]);
}

TEST_F(SkeletonReader, StoresTheBezierSamples) {
    ASSERT_NE(read(kSkeleton), nullptr);
    auto* rotate = timelineOfType<spRotateTimeline>(spSkeletonData_findAnimation(_data, "walk"), SP_TIMELINE_ROTATE);
    // cx1 0.25, cy1 0, cx2 0.75, cy2 1: the samples lie on the curve at t = 0.1 ... 0.9.
    for (int k = 1; k <= 9; ++k) {
        float t = k / 10.f, u = 1 - t;
        float x = 3 * u * u * t * 0.25f + 3 * u * t * t * 0.75f + t * t * t;
        float y = 3 * u * t * t + t * t * t;
        EXPECT_NEAR(rotate->super.curves[2 * k - 1], x, 1e-5f) << k;
        EXPECT_NEAR(rotate->super.curves[2 * k], y, 1e-5f) << k;
    }
    EXPECT_NEAR(spCurveTimeline_getCurvePercent(&rotate->super, 0, 0.5f), 0.5f, 1e-3f);
}

TEST_F(SkeletonReader, ScaleMultipliesExactlyTheLengths) {
    _json->scale = 2;
    ASSERT_NE(read(kSkeleton), nullptr);
    const spBoneData* upper = _data->bones[1];
    EXPECT_EQ(upper->x, 10.f);
    EXPECT_EQ(upper->length, 20.f);
    EXPECT_EQ(upper->rotation, 30.f);
    EXPECT_EQ(upper->scaleX, 2.f);
    auto* head = reinterpret_cast<spRegionAttachment*>(spSkin_getAttachment(_data->defaultSkin, 0, "head"));
    EXPECT_EQ(head->x, 2.f);
    EXPECT_EQ(head->width, 32.f);
    auto* arm = reinterpret_cast<spRegionAttachment*>(spSkin_getAttachment(_data->defaultSkin, 1, "arm"));
    EXPECT_EQ(arm->rotation, 90.f);
    auto* big = reinterpret_cast<spRegionAttachment*>(spSkin_getAttachment(_data->skins[1], 0, "head"));
    EXPECT_EQ(big->width, 40.f);
    EXPECT_EQ(big->height, 64.f);   // the default 32, scaled
    auto* mesh = reinterpret_cast<spMeshAttachment*>(spSkin_getAttachment(_data->defaultSkin, 2, "panel"));
    EXPECT_EQ(mesh->vertices[2], 20.f);
    EXPECT_EQ(mesh->uvs[2], 0.5f);
    auto* skinned = reinterpret_cast<spSkinnedMeshAttachment*>(spSkin_getAttachment(_data->skins[1], 2, "panel"));
    EXPECT_EQ(skinned->weights[0], 6.f);
    EXPECT_EQ(skinned->weights[2], 1.f);   // weights are not scaled
    EXPECT_EQ(skinned->bones[1], 2);
    auto* box = reinterpret_cast<spBoundingBoxAttachment*>(spSkin_getAttachment(_data->defaultSkin, 3, "box"));
    EXPECT_EQ(box->vertices[2], 8.f);

    const spAnimation* walk = spSkeletonData_findAnimation(_data, "walk");
    EXPECT_EQ(timelineOfType<spTranslateTimeline>(walk, SP_TIMELINE_TRANSLATE)->frames[1], 2.f);
    EXPECT_EQ(timelineOfType<spScaleTimeline>(walk, SP_TIMELINE_SCALE)->frames[1], 2.f);
    EXPECT_EQ(timelineOfType<spRotateTimeline>(walk, SP_TIMELINE_ROTATE)->frames[1], 10.f);
    auto* ffd = timelineOfType<spFFDTimeline>(walk, SP_TIMELINE_FFD);
    const std::vector<float> moved = {0, 0, 22, 4, 20, 20, 0, 20};
    EXPECT_EQ(std::vector<float>(ffd->frameVertices[1], ffd->frameVertices[1] + 8), moved);
    EXPECT_EQ(timelineOfType<spFFDTimeline>(walk, SP_TIMELINE_FFD, 1)->frameVertices[0][0], 2.f);
}

TEST_F(SkeletonReader, DefaultsOfAMinimalDocument) {
    ASSERT_NE(read(R"({"bones": [{}], "slots": [{"name": "s", "bone": ""}], "skins": {"default": {"s": {"r": {"path": "head"}}}},
                      "animations": {"a": {"slots": {"s": {"color": []}}, "drawOrder": [], "events": []}}})"),
              nullptr)
        << error();
    EXPECT_EQ(_data->hash, nullptr);
    EXPECT_STREQ(_data->bones[0]->name, "");
    EXPECT_EQ(_data->bones[0]->scaleY, 1.f);
    EXPECT_EQ(_data->slots[0]->attachmentName, nullptr);
    EXPECT_EQ(_data->slots[0]->a, 1.f);
    auto* region = reinterpret_cast<spRegionAttachment*>(spSkin_getAttachment(_data->defaultSkin, 0, "r"));
    ASSERT_NE(region, nullptr);
    EXPECT_STREQ(region->super.name, "r");
    EXPECT_EQ(region->width, 32.f);
    EXPECT_EQ(region->scaleX, 1.f);
    ASSERT_EQ(_data->animationsCount, 1);
    EXPECT_EQ(_data->animations[0]->timelinesCount, 0);   // entries without keys make no timeline
    EXPECT_EQ(_data->animations[0]->duration, 0.f);
    EXPECT_EQ(_json->error, nullptr);
}

TEST_F(SkeletonReader, CurveForms) {
    struct Case { const char* curve; int type; };
    const Case cases[] = {
        {nullptr, SP_CURVE_LINEAR}, {"\"stepped\"", SP_CURVE_STEPPED}, {"\"Stepped\"", SP_CURVE_LINEAR},
        {"[0.1, 0.2, 0.3, 0.4]", SP_CURVE_BEZIER}, {"[0.1, 0.2, 0.3, 0.4, 9]", SP_CURVE_BEZIER},
        {"[0.1, 0.2, 0.3]", SP_CURVE_LINEAR}, {"[0.1, \"x\", 0.3, 0.4]", SP_CURVE_LINEAR},
        {"5", SP_CURVE_LINEAR}, {"{}", SP_CURVE_LINEAR}, {"null", SP_CURVE_LINEAR},
    };
    for (const Case& c : cases) {
        std::string key = c.curve ? std::string(", \"curve\": ") + c.curve : "";
        ASSERT_NE(read(R"({"bones": [{"name": "b"}], "animations": {"a": {"bones": {"b": {"rotate": [{"time": 0)" + key +
                       R"(}, {"time": 1}]}}}}})"),
                  nullptr)
            << error();
        auto* rotate = reinterpret_cast<spRotateTimeline*>(_data->animations[0]->timelines[0]);
        EXPECT_EQ(rotate->super.curves[0], static_cast<float>(c.type)) << (c.curve ? c.curve : "none");
    }
}

TEST_F(SkeletonReader, ColourStrings) {
    struct Case { const char* color; float r, g, b, a; };
    const Case cases[] = {
        {"ff8000ff", 1, 128.f / 255, 0, 1}, {"FF8000", -1, -1, -1, -1}, {"ff80zz00", 1, 128.f / 255, -1, 0},
    };
    for (const Case& c : cases) {
        ASSERT_NE(read(std::string(R"({"bones": [{"name": "b"}], "slots": [{"name": "s", "bone": "b", "color": ")") +
                       c.color + "\"}]}"),
                  nullptr);
        const spSlotData* s = _data->slots[0];
        EXPECT_FLOAT_EQ(s->r, c.r) << c.color;
        EXPECT_FLOAT_EQ(s->g, c.g) << c.color;
        EXPECT_FLOAT_EQ(s->b, c.b) << c.color;
        EXPECT_FLOAT_EQ(s->a, c.a) << c.color;
    }
}

// Errors that make the whole read fail.
TEST_F(SkeletonReader, DocumentErrors) {
    const std::string mesh = R"("mesh": {"m": {"type": "mesh", "path": "panel", )";
    const std::string skinned = R"("mesh": {"m": {"type": "skinnedmesh", "path": "panel", )";
    auto withSkin = [](const std::string& entry) {
        return R"({"bones": [{"name": "a"}, {"name": "b", "parent": "a"}], "slots": [{"name": "mesh", "bone": "b"}],
                   "skins": {"default": {)" + entry + "}}}";
    };
    struct Case { std::string text; std::string error; };
    const Case cases[] = {
        {"{\"bones\": [1,]}", "Invalid skeleton JSON: ]}"},
        {"{\"bones\": [", "Invalid skeleton JSON: "},
        {"[{\"bones\": [{}]}]", "Invalid skeleton JSON: no bones"},
        {"{}", "Invalid skeleton JSON: no bones"},
        {"{\"bones\": []}", "Invalid skeleton JSON: no bones"},
        {"{\"bones\": {\"a\": {}}}", "Invalid skeleton JSON: no bones"},
        {R"({"bones": [{"name": "child", "parent": "p"}, {"name": "p"}]})", "Parent bone not found: p"},
        {R"({"bones": [{"name": "a"}], "ik": [{"name": "k", "bones": ["x"], "target": "a"}]})", "IK bone not found: x"},
        {R"({"bones": [{"name": "a"}], "ik": [{"name": "k", "bones": ["a"], "target": "t"}]})", "Target bone not found: t"},
        {R"({"bones": [{"name": "a"}, {"name": "b"}], "ik": [{"name": "k", "bones": ["a", "b"], "target": "a"}]})",
         "Invalid IK constraint: k"},
        {R"({"bones": [{"name": "a"}, {"name": "b", "parent": "a"}], "ik": [{"name": "k", "bones": ["b", "a"], "target": "a"}]})",
         "Invalid IK constraint: k"},
        {R"({"bones": [{"name": "a"}], "ik": [{"name": "k", "bones": [], "target": "a"}]})", "Invalid IK constraint: k"},
        {R"({"bones": [{"name": "a"}], "slots": [{"name": "s", "bone": "q"}]})", "Slot bone not found: q"},
        {R"({"bones": [{"name": "a"}], "animations": {"x": {"bones": {"a": {"rotate": [{"time": -nan, "angle": 0}]}}}}})",
         "Invalid skeleton JSON: number is not finite: time"},
        {R"({"bones": [{"name": "a", "x": 1e39}]})", "Invalid skeleton JSON: number is not finite: x"},
        {withSkin(R"("mesh": {"m": {"type": "boundingbox", "vertices": [0, -inf]}})"),
         "Invalid skeleton JSON: number is not finite: (item)"},
        {withSkin(R"("mesh": {"m": {"type": "Mesh"}})"), "Unknown attachment type: Mesh"},
        {withSkin(R"("mesh": {"m": {"path": "nothing"}})"), "Region not found: nothing"},
        {withSkin(mesh + R"("uvs": [0, 0, 1], "vertices": [0, 0, 1], "triangles": []}})"), "Invalid mesh: m"},
        {withSkin(mesh + R"("uvs": [0, 0, 1, 1], "vertices": [0, 0], "triangles": []}})"), "Invalid mesh: m"},
        {withSkin(mesh + R"("uvs": [0, 0, 1, 1], "vertices": [0, 0, 1, 1], "triangles": [0, 1]}})"), "Invalid mesh: m"},
        {withSkin(mesh + R"("uvs": [0, 0, 1, 1], "vertices": [0, 0, 1, 1], "triangles": [0, 1, 2]}})"), "Invalid mesh: m"},
        {withSkin(mesh + R"("uvs": [0, 0, 1, 1], "vertices": [0, 0, 1, 1], "triangles": [0, 1, -1]}})"), "Invalid mesh: m"},
        {withSkin(skinned + R"("uvs": [0, 0], "vertices": [1, 0, 0, 0], "triangles": []}})"), "Invalid mesh: m"},
        {withSkin(skinned + R"("uvs": [0, 0], "vertices": [1, 2, 0, 0, 1], "triangles": []}})"), "Invalid mesh: m"},
        {withSkin(skinned + R"("uvs": [0, 0], "vertices": [-1], "triangles": []}})"), "Invalid mesh: m"},
        {withSkin(skinned + R"("uvs": [0, 0, 1, 1], "vertices": [1, 0, 0, 0, 1], "triangles": []}})"), "Invalid mesh: m"},
        {withSkin(skinned + R"("uvs": [0, 0], "vertices": [1, 0, 0, 0, 1], "triangles": [0, 0, 1]}})"), "Invalid mesh: m"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(read(c.text), nullptr) << c.text;
        EXPECT_EQ(error(), c.error) << c.text;
    }
    // The valid forms of the same entries read.
    EXPECT_NE(read(withSkin(mesh + R"("uvs": [0, 0, 1, 1, 0, 1], "vertices": [0, 0, 1, 1, 2, 2], "triangles": [0, 1, 2]}})")), nullptr)
        << error();
    EXPECT_NE(read(withSkin(skinned + R"("uvs": [0, 0], "vertices": [2, 0, 0, 0, 0.5, 1, 0, 0, 0.5], "triangles": [0, 0, 0]}})")), nullptr)
        << error();
}

TEST_F(SkeletonReader, ErrorTextIsCutTo255Characters) {
    std::string name(400, 'x');
    EXPECT_EQ(read(R"({"bones": [{"name": "a", "parent": ")" + name + "\"}]}"), nullptr);
    EXPECT_EQ(error(), ("Parent bone not found: " + name).substr(0, 255));
    EXPECT_EQ(read("{\"bones\": [" + name), nullptr);
    EXPECT_EQ(error().size(), 255u);
}

// Errors that drop the animation being read; the data and the other animations stay.
TEST_F(SkeletonReader, AnimationErrors) {
    const std::string base = R"({"bones": [{"name": "a"}], "slots": [{"name": "s0", "bone": "a"}, {"name": "s1", "bone": "a"},
        {"name": "s2", "bone": "a", "attachment": "m"}, {"name": "s3", "bone": "a"}],
        "skins": {"default": {"s2": {"m": {"type": "mesh", "path": "panel", "uvs": [0, 0, 1, 1], "vertices": [0, 0, 1, 1], "triangles": []}}}},
        "events": {"e": {}}, "animations": {"first": {}, "bad": )";
    struct Case { const char* animation; const char* error; };
    const Case cases[] = {
        {R"({"slots": {"x": {"color": [{}]}}})", "Slot not found: x"},
        {R"({"slots": {"s0": {"blink": [{}]}}})", "Invalid timeline type for a slot: blink"},
        {R"({"bones": {"x": {"rotate": [{}]}}})", "Bone not found: x"},
        {R"({"bones": {"a": {"shear": [{}]}}})", "Invalid timeline type for a bone: shear"},
        {R"({"bones": {"a": {"Rotate": [{}]}}})", "Invalid timeline type for a bone: Rotate"},
        {R"({"events": [{"name": "nope"}]})", "Event not found: nope"},
        {R"({"drawOrder": [{"offsets": [{"slot": "zz"}]}]})", "Slot not found: zz"},
        {R"({"drawOrder": [{"offsets": [{"slot": "s2"}, {"slot": "s1"}]}]})", "Invalid draw order: s1"},
        {R"({"drawOrder": [{"offsets": [{"slot": "s3", "offset": 1}]}]})", "Invalid draw order: s3"},
        {R"({"drawOrder": [{"offsets": [{"slot": "s0", "offset": -1}]}]})", "Invalid draw order: s0"},
        {R"({"drawOrder": [{"offsets": [{"slot": "s0", "offset": 1}, {"slot": "s1", "offset": 0}]}]})",
         "Invalid draw order: s1"},
        {R"({"ffd": {"default": {"s2": {"nope": [{}]}}}})", "Attachment not found: nope"},
        {R"({"ffd": {"other": {"s2": {"m": [{}]}}}})", "Attachment not found: m"},
        {R"({"ffd": {"default": {"zz": {"m": [{}]}}}})", "Attachment not found: m"},
        {R"({"ffd": {"default": {"s2": {"m": [{"offset": -1, "vertices": [1]}]}}}})", "Invalid FFD vertices: m"},
        {R"({"ffd": {"default": {"s2": {"m": [{"offset": 3, "vertices": [1, 2]}]}}}})", "Invalid FFD vertices: m"},
        {R"({"ffd": {"default": {"s2": {"m": [{"vertices": [1, 2, 3, 4, 5]}]}}}})", "Invalid FFD vertices: m"},
    };
    for (const Case& c : cases) {
        std::string text = base + c.animation + R"(, "last": {"bones": {"a": {"rotate": [{"time": 1}]}}}}})";
        ASSERT_NE(read(text), nullptr) << error() << "\n" << text;
        EXPECT_EQ(error(), c.error) << c.animation;
        ASSERT_EQ(_data->animationsCount, 2) << c.animation;
        EXPECT_STREQ(_data->animations[0]->name, "first");
        EXPECT_STREQ(_data->animations[1]->name, "last");
        EXPECT_EQ(_data->animations[1]->timelinesCount, 1);
    }
    // A draw-order key moving slot 2 of 4 by -2 gives 2, 0, 1, 3; sound offsets read without error.
    ASSERT_NE(read(base + R"({"drawOrder": [{"offsets": [{"slot": "s2", "offset": -2}]},
        {"offsets": [{"slot": "s0", "offset": 3}, {"slot": "s3", "offset": -1}]}]}}})"), nullptr);
    EXPECT_EQ(_json->error, nullptr) << error();
    auto* timeline = timelineOfType<spDrawOrderTimeline>(spSkeletonData_findAnimation(_data, "bad"), SP_TIMELINE_DRAWORDER);
    ASSERT_NE(timeline, nullptr);
    EXPECT_EQ(std::vector<int>(timeline->drawOrders[0], timeline->drawOrders[0] + 4), (std::vector<int>{2, 0, 1, 3}));
    EXPECT_EQ(std::vector<int>(timeline->drawOrders[1], timeline->drawOrders[1] + 4), (std::vector<int>{1, 2, 3, 0}));
}

TEST_F(SkeletonReader, FirstDroppedAnimationKeepsTheError) {
    ASSERT_NE(read(R"({"bones": [{"name": "a"}], "animations": {"one": {"slots": {"x": {"color": [{}]}}},
        "fine": {}, "two": {"bones": {"y": {"rotate": [{}]}}}}})"),
              nullptr);
    EXPECT_EQ(error(), "Slot not found: x");
    ASSERT_EQ(_data->animationsCount, 1);
    EXPECT_STREQ(_data->animations[0]->name, "fine");
}

// Files of a few hundred KB whose keys would each copy a whole mesh or hold an
// index per slot: past the budget the animation is dropped before anything of
// it is allocated, below it the file loads, and either way in bounded memory and time.
TEST_F(SkeletonReader, KeyStorageIsBounded) {
    auto repeat = [](const std::string& item, int count) {
        std::string out;
        for (int i = 0; i < count; ++i) out += (i ? "," : "") + item;
        return out;
    };
    auto deforming = [&](int vertices, int keys) {
        std::string floats = repeat("0", 2 * vertices);
        return R"({"bones": [{"name": "a"}], "slots": [{"name": "s", "bone": "a"}],
            "skins": {"default": {"s": {"m": {"type": "mesh", "path": "panel", "uvs": [)" + floats +
               R"(], "vertices": [)" + floats + R"(], "triangles": []}}}},
            "animations": {"deform": {"ffd": {"default": {"s": {"m": [)" + repeat(R"({"time":0})", keys) + "]}}}}}}";
    };
    auto ordering = [&](int slots, int keys) {
        std::string slotList;
        for (int i = 0; i < slots; ++i) slotList += (i ? "," : "") + ("{\"name\":\"s" + std::to_string(i) + "\",\"bone\":\"a\"}");
        return R"({"bones": [{"name": "a"}], "slots": [)" + slotList + R"(],
            "animations": {"order": {"drawOrder": [)" + repeat(R"({"offsets":[]})", keys) + "]}}}";
    };
    struct Case { const char* what; std::string text; const char* dropped; };
    const Case cases[] = {
        {"1.2 GB of deformation keys", deforming(10000, 15000), "deform"},
        {"190 MB of draw orders", ordering(4000, 12000), "order"},
        {"24 MB of deformation keys", deforming(1000, 3000), nullptr},
        {"24 MB of draw orders", ordering(4000, 1500), nullptr},
    };
    std::string dir = skeleton_test::makeAtlasFolder("reader-budget");
    for (const Case& c : cases) {
        if (c.dropped) {
            EXPECT_GT(c.text.size(), 150u * 1024) << c.what;
        }
        EXPECT_LT(c.text.size(), 400u * 1024) << c.what;
        std::string path = dir + "big.json";
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(c.text.data(), 1, c.text.size(), f);
        std::fclose(f);

        const double started = testsupport::threadCpuSeconds();
        spSkeletonData_dispose(_data);
        const std::optional<size_t> peak =
            testsupport::peakHeapDuring([&] { _data = spSkeletonJson_readSkeletonDataFile(_json, path.c_str()); });
        const double seconds = testsupport::threadCpuSeconds() - started;
        if (peak) {
            EXPECT_LT(*peak, size_t{256} * 1024 * 1024) << c.what;
        }
        EXPECT_LT(seconds, 5.0) << c.what;
        ASSERT_NE(_data, nullptr) << c.what << ": " << error();
        if (c.dropped) {
            EXPECT_EQ(error(), std::string("Animation keys over the 32 MB budget: ") + c.dropped + " in " + path) << c.what;
            EXPECT_EQ(_data->animationsCount, 0) << c.what;
        } else {
            EXPECT_EQ(_json->error, nullptr) << c.what << ": " << error();
            EXPECT_EQ(_data->animationsCount, 1) << c.what;
        }
    }
}

TEST_F(SkeletonReader, IkTimelinesNeedConstraints) {
    const std::string bones = R"("bones": [{"name": "a"}, {"name": "b", "parent": "a"}])";
    ASSERT_NE(read("{" + bones + R"(, "animations": {"x": {"ik": {"k": [{"mix": 1}]}}}})"), nullptr);
    EXPECT_EQ(_data->animations[0]->timelinesCount, 0);
    ASSERT_NE(read("{" + bones + R"(, "ik": [{"name": "k0", "bones": ["b"], "target": "a"}, {"name": "k1", "bones": ["a", "b"], "target": "a"}],
        "animations": {"x": {"ik": {"k1": [{}], "unknown": [{}]}}}})"), nullptr);
    const spAnimation* x = _data->animations[0];
    ASSERT_EQ(x->timelinesCount, 2);
    EXPECT_EQ(reinterpret_cast<spIkConstraintTimeline*>(x->timelines[0])->ikConstraintIndex, 1);
    EXPECT_EQ(reinterpret_cast<spIkConstraintTimeline*>(x->timelines[1])->ikConstraintIndex, 0);
}

TEST_F(SkeletonReader, SkinEntriesOfUnknownSlotsAreSkipped) {
    ASSERT_NE(read(R"({"bones": [{"name": "a"}], "skins": {"default": {"ghost": {"x": {"type": "boundingbox"}}}}})"), nullptr);
    EXPECT_EQ(_data->defaultSkin->entries, nullptr);
}

TEST_F(SkeletonReader, FilesAndTheirErrors) {
    std::string dir = skeleton_test::makeAtlasFolder("reader-file");
    std::string path = dir + "fixture.json";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs(kSkeleton, f);
    std::fclose(f);
    ASSERT_NE(_data = spSkeletonJson_readSkeletonDataFile(_json, path.c_str()), nullptr) << error();
    EXPECT_EQ(_data->bonesCount, 5);
    EXPECT_EQ(spSkeletonJson_readSkeletonDataFile(_json, (dir + "missing.json").c_str()), nullptr);
    EXPECT_EQ(error(), "Unable to read skeleton file: " + dir + "missing.json");
}

// The fixture cut at every byte and with bytes replaced reads without a fault or
// a leak (the sanitizers watch), whatever the outcome.
TEST_F(SkeletonReader, MutatedDocumentsNeverFault) {
    const std::string text = kSkeleton;
    for (size_t cut = 0; cut < text.size(); ++cut) read(text.substr(0, cut));
    const char replacements[] = {'\0', '"', '-', '9', '{', ']'};
    for (size_t i = 0; i < text.size(); ++i) {
        for (char r : replacements) {
            std::string mutated = text;
            mutated[i] = r;
            read(mutated);
        }
    }
    SUCCEED();
}

TEST(SkeletonAtlasMutation, MutatedAtlasesNeverFault) {
    std::string dir = skeleton_test::makeAtlasFolder("atlas-mutation");
    const std::string text = kAtlas;
    auto readOnce = [&](const std::string& t) {
        spAtlas_dispose(spAtlas_create(t.data(), static_cast<int>(t.size()), dir.c_str(), nullptr));
    };
    for (size_t cut = 0; cut < text.size(); ++cut) readOnce(text.substr(0, cut));
    const char replacements[] = {'\0', '\n', ':', ',', '-', 'x'};
    for (size_t i = 0; i < text.size(); ++i) {
        for (char r : replacements) {
            std::string mutated = text;
            mutated[i] = r;
            readOnce(mutated);
        }
    }
    SUCCEED();
}

}  // namespace
