// Posed skeletons: bone world transforms with flips, the bone cache, IK solvers,
// skins and slot attachments.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "skeleton/SkeletonFixture.h"
#include "skeleton/Skeleton.h"
#include "skeleton/SkeletonJson.h"
#include "support/CpuTime.h"

namespace {

// Skeleton data read from a document without attachments.
struct Posed {
    spSkeletonData* data = nullptr;
    spSkeleton* skeleton = nullptr;
    explicit Posed(const std::string& text) {
        spSkeletonJson* json = spSkeletonJson_create(nullptr);
        data = spSkeletonJson_readSkeletonData(json, text.c_str());
        EXPECT_NE(data, nullptr) << (json->error ? json->error : "");
        spSkeletonJson_dispose(json);
        if (data) skeleton = spSkeleton_create(data);
    }
    ~Posed() {
        spSkeleton_dispose(skeleton);
        spSkeletonData_dispose(data);
    }
    spBone* bone(const char* name) const { return spSkeleton_findBone(skeleton, name); }
};

std::vector<std::string> level(const spSkeleton* s, int i) {
    std::vector<std::string> names;
    for (int j = 0; j < s->boneCacheCounts[i]; ++j) names.push_back(s->boneCache[i][j]->data->name);
    return names;
}

TEST(SkeletonPose, BoneCacheLevels) {
    Posed plain(R"({"bones": [{"name": "r"}, {"name": "a", "parent": "r"}, {"name": "b", "parent": "a"}]})");
    ASSERT_EQ(plain.skeleton->boneCacheCount, 1);
    EXPECT_EQ(level(plain.skeleton, 0), (std::vector<std::string>{"r", "a", "b"}));

    Posed ik(R"({"bones": [{"name": "r"}, {"name": "a", "parent": "r"}, {"name": "b", "parent": "a"},
        {"name": "c", "parent": "b"}, {"name": "t", "parent": "r"}],
        "ik": [{"name": "k", "bones": ["a", "b"], "target": "t"}]})");
    ASSERT_EQ(ik.skeleton->boneCacheCount, 2);
    EXPECT_EQ(level(ik.skeleton, 0), (std::vector<std::string>{"r", "a", "b", "c", "t"}));
    EXPECT_EQ(level(ik.skeleton, 1), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(ik.skeleton->root, ik.bone("r"));

    // A bone held by a chain takes that chain's level even when an ancestor is
    // held by a later constraint; a bone below a chain takes its nearest holder's.
    Posed two(R"({"bones": [{"name": "r"}, {"name": "a", "parent": "r"}, {"name": "b", "parent": "a"},
        {"name": "c", "parent": "b"}, {"name": "d", "parent": "c"}, {"name": "e", "parent": "d"}],
        "ik": [{"name": "k0", "bones": ["c", "d"], "target": "r"}, {"name": "k1", "bones": ["a", "b"], "target": "r"}]})");
    ASSERT_EQ(two.skeleton->boneCacheCount, 3);
    EXPECT_EQ(level(two.skeleton, 0), (std::vector<std::string>{"r", "c", "d", "e"}));
    EXPECT_EQ(level(two.skeleton, 1), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(level(two.skeleton, 2), (std::vector<std::string>{"a", "b"}));
}

TEST(SkeletonPose, DeepChainWithConstraintsBuildsQuickly) {
    // 14,000 bones each the child of the one before, 10 two-bone constraints
    // spread along the chain (each chain 700 bones long).
    const int bones = 14000, constraints = 10;
    std::string text = R"({"bones": [{"name": "b0"})";
    for (int i = 1; i < bones; ++i)
        text += ",{\"name\": \"b" + std::to_string(i) + "\", \"parent\": \"b" + std::to_string(i - 1) + "\", \"x\": 1}";
    text += R"(], "ik": [)";
    for (int k = 0; k < constraints; ++k) {
        int first = k * 1400 + 1, last = first + 700;
        text += std::string(k ? "," : "") + "{\"name\": \"k" + std::to_string(k) + "\", \"bones\": [\"b" +
                std::to_string(first) + "\", \"b" + std::to_string(last) + "\"], \"target\": \"b0\"}";
    }
    text += "]}";

    double started = testsupport::threadCpuSeconds();
    Posed deep(text);
    ASSERT_NE(deep.skeleton, nullptr);
    double readSeconds = testsupport::threadCpuSeconds() - started;
    started = testsupport::threadCpuSeconds();
    spSkeleton_updateCache(deep.skeleton);
    spSkeleton_updateWorldTransform(deep.skeleton);
    double buildSeconds = testsupport::threadCpuSeconds() - started;
    EXPECT_LT(buildSeconds, 0.5);
    EXPECT_LT(readSeconds, 2.0);
    ASSERT_EQ(deep.skeleton->boneCacheCount, constraints + 1);
    // Bone j stands in levels k and k + 1 from the first bone of chain k on.
    EXPECT_EQ(deep.skeleton->boneCacheCounts[0], 1 + 1400);
    EXPECT_EQ(deep.skeleton->boneCacheCounts[1], 2 * 1400);
    EXPECT_EQ(deep.skeleton->boneCacheCounts[constraints], bones - 1 - 9 * 1400);
}

TEST(SkeletonPose, WorldTransforms) {
    Posed p(R"({"bones": [{"name": "r", "x": 5, "y": 3},
        {"name": "turned", "parent": "r", "x": 1, "rotation": 90},
        {"name": "scaled", "parent": "turned", "x": 2, "scaleX": 3, "rotation": -90},
        {"name": "own", "parent": "scaled", "inheritScale": false, "inheritRotation": false, "x": 1},
        {"name": "flipped", "parent": "r", "flipX": true}]})");
    spSkeleton* s = p.skeleton;
    spSkeleton_updateWorldTransform(s);
    spBone* turned = p.bone("turned");
    float wx, wy;
    spBone_localToWorld(turned, 1, 0, &wx, &wy);
    EXPECT_NEAR(wx, 6, 1e-5);   // local (1, 0) of a bone turned 90 degrees is world (0, 1) from it
    EXPECT_NEAR(wy, 4, 1e-5);
    spBone* scaled = p.bone("scaled");
    EXPECT_NEAR(scaled->worldX, 6, 1e-5);
    EXPECT_NEAR(scaled->worldY, 5, 1e-5);
    EXPECT_NEAR(scaled->worldRotation, 0, 1e-5);
    EXPECT_NEAR(scaled->m00, 3, 1e-5);
    spBone* own = p.bone("own");
    EXPECT_NEAR(own->worldX, 9, 1e-5);
    EXPECT_EQ(own->worldScaleX, 1.f);
    EXPECT_EQ(own->worldRotation, 0.f);
    spBone* flipped = p.bone("flipped");
    EXPECT_EQ(flipped->worldFlipX, 1);
    EXPECT_NEAR(flipped->m00, -1, 1e-6);

    // Flipping the skeleton mirrors the root: x 5 becomes -5, m00 turns negative.
    struct Case { int flipX, flipY; float worldX, worldY, m00, m11; };
    const Case cases[] = {{0, 0, 5, 3, 1, 1}, {1, 0, -5, 3, -1, 1}, {0, 1, 5, -3, 1, -1}, {1, 1, -5, -3, -1, -1}};
    for (const Case& c : cases) {
        s->flipX = c.flipX;
        s->flipY = c.flipY;
        spSkeleton_updateWorldTransform(s);
        EXPECT_EQ(s->root->worldX, c.worldX);
        EXPECT_EQ(s->root->worldY, c.worldY);
        EXPECT_NEAR(s->root->m00, c.m00, 1e-6);
        EXPECT_NEAR(s->root->m11, c.m11, 1e-6);
        // World to local undoes local to world under every flip for uniformly
        // scaled bones (a non-uniform scale is pinned in its own test).
        for (spBone* bone : {turned, flipped}) {
            float lx, ly;
            spBone_localToWorld(bone, 2.5f, -1.5f, &wx, &wy);
            spBone_worldToLocal(bone, wx, wy, &lx, &ly);
            EXPECT_NEAR(lx, 2.5f, 1e-4) << bone->data->name << " flips " << c.flipX << c.flipY;
            EXPECT_NEAR(ly, -1.5f, 1e-4) << bone->data->name << " flips " << c.flipX << c.flipY;
        }
    }
}

// The process-wide y-down flag mirrors every world Y axis.
TEST(SkeletonPose, YDownFlipsWorldY) {
    Posed p(R"({"bones": [{"name": "r", "x": 2, "y": 3}, {"name": "c", "parent": "r", "x": 1, "y": 1}]})");
    spBone_setYDown(1);
    spSkeleton_updateWorldTransform(p.skeleton);
    spBone* c = p.bone("c");
    float cy = c->worldY, m11 = c->m11, lx = 0, ly = 0;
    spBone_worldToLocal(c, 4, 5, &lx, &ly);
    float wx = 0, wy = 0;
    spBone_localToWorld(c, lx, ly, &wx, &wy);
    p.skeleton->flipY = 1;   // flipping Y again under y-down restores the plain axis
    spSkeleton_updateWorldTransform(p.skeleton);
    float flippedY = c->worldY;
    spBone_setYDown(0);
    EXPECT_EQ(spBone_isYDown(), 0);
    EXPECT_EQ(cy, -4.f);
    EXPECT_EQ(m11, -1.f);
    EXPECT_NEAR(wx, 4, 1e-5);
    EXPECT_NEAR(wy, 5, 1e-5);
    EXPECT_EQ(flippedY, 4.f);
}

TEST(SkeletonPose, OneBoneIk) {
    struct Case { float mix; float parentRotation; float expected; };
    const Case cases[] = {{1, 0, 90}, {0.5f, 0, 45}, {0, 0, 0}, {1, 30, 60}};
    for (const Case& c : cases) {
        Posed p(R"({"bones": [{"name": "r", "rotation": )" + std::to_string(c.parentRotation) + R"(},
            {"name": "a", "parent": "r"}, {"name": "t", "x": 0, "y": 10}],
            "ik": [{"name": "k", "bones": ["a"], "target": "t", "mix": )" + std::to_string(c.mix) + "}]}");
        // The target is a root at (0, 10); "a" sits at the origin.
        spSkeleton_updateWorldTransform(p.skeleton);
        EXPECT_NEAR(p.bone("a")->rotationIK, c.expected, 1e-3) << c.mix << " " << c.parentRotation;
        EXPECT_EQ(p.bone("a")->rotation, 0.f);
    }
}

TEST(SkeletonPose, TwoBoneIk) {
    struct Case { int bend; float mix; float parent, child; bool reaches; };
    const Case cases[] = {
        {1, 1, 0, 90, true}, {-1, 1, 90, -90, true}, {1, 0.5f, 0, 45, false},
        {-1, 0.5f, 45, -45, false}, {1, 0, 0, 0, false}, {-1, 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        Posed p(R"({"bones": [{"name": "r"}, {"name": "a", "parent": "r", "length": 10},
            {"name": "b", "parent": "a", "x": 10, "length": 10}, {"name": "t", "parent": "r", "x": 10, "y": 10}],
            "ik": [{"name": "k", "bones": ["a", "b"], "target": "t", "bendPositive": )" +
                std::string(c.bend > 0 ? "true" : "false") + R"(, "mix": )" + std::to_string(c.mix) + "}]}");
        spSkeleton_updateWorldTransform(p.skeleton);
        SCOPED_TRACE(testing::Message() << "bend " << c.bend << " mix " << c.mix);
        EXPECT_NEAR(p.bone("a")->rotationIK, c.parent, 1e-3);
        EXPECT_NEAR(p.bone("b")->rotationIK, c.child, 1e-3);
        if (c.reaches) {
            float x, y;
            spBone_localToWorld(p.bone("b"), 10, 0, &x, &y);
            EXPECT_NEAR(x, 10, 1e-3);
            EXPECT_NEAR(y, 10, 1e-3);
        }
    }
    // A child of zero length turns alone towards the target.
    Posed zero(R"({"bones": [{"name": "r"}, {"name": "a", "parent": "r", "length": 10},
        {"name": "b", "parent": "a", "x": 10}, {"name": "t", "parent": "r", "x": 10, "y": 10}],
        "ik": [{"name": "k", "bones": ["a", "b"], "target": "t"}]})");
    spSkeleton_updateWorldTransform(zero.skeleton);
    EXPECT_EQ(zero.bone("a")->rotationIK, 0.f);
    EXPECT_NEAR(zero.bone("b")->rotationIK, 45, 1e-3);
}

// World to local divides each axis by its own diagonal entry: under a
// non-uniform scale that is not the matrix inverse, and the two-bone solver
// below such a scale lands where the skeletons were authored, not on the target.
TEST(SkeletonPose, NonUniformScaleAboveAnIkChain) {
    Posed flat(R"({"bones": [{"name": "r", "scaleX": 1.5, "scaleY": 0.5}]})");
    spSkeleton_updateWorldTransform(flat.skeleton);
    struct Case { float wx, wy, lx, ly; };
    for (const Case& c : {Case{3, 1, 6, 2.f / 3}, Case{-1.5f, 0, -3, 0}, Case{0, 2, 0, 4.f / 3}}) {
        float lx = 0, ly = 0;
        spBone_worldToLocal(flat.bone("r"), c.wx, c.wy, &lx, &ly);
        EXPECT_NEAR(lx, c.lx, 1e-5) << c.wx << ", " << c.wy;
        EXPECT_NEAR(ly, c.ly, 1e-5) << c.wx << ", " << c.wy;
    }

    Posed p(R"({"bones": [{"name": "r", "rotation": 20, "scaleX": 1.5, "scaleY": 0.5},
        {"name": "a", "parent": "r", "x": 2, "length": 10}, {"name": "b", "parent": "a", "x": 10, "length": 10},
        {"name": "t", "parent": "r", "x": 8, "y": 12}],
        "ik": [{"name": "k", "bones": ["a", "b"], "target": "t"}]})");
    spSkeleton_updateWorldTransform(p.skeleton);
    EXPECT_NEAR(p.bone("a")->rotationIK, -28.838f, 0.01f);   // the matrix inverse would give -35.18
    EXPECT_NEAR(p.bone("b")->rotationIK, 57.228f, 0.01f);    // and 137.73
    EXPECT_NEAR(p.bone("b")->worldX, 17.641f, 0.01f);
    EXPECT_NEAR(p.bone("b")->worldY, -1.279f, 0.01f);
}

TEST(SkeletonPose, DataWithoutBones) {
    spSkeletonData* data = spSkeletonData_create();
    spSkeleton* skeleton = spSkeleton_create(data);
    EXPECT_EQ(skeleton->root, nullptr);
    spSkeleton_updateWorldTransform(skeleton);
    spSkeleton_setToSetupPose(skeleton);
    EXPECT_EQ(spSkeleton_findBone(skeleton, "x"), nullptr);
    EXPECT_EQ(spSkeleton_findSlotIndex(skeleton, "x"), -1);
    spSkeleton_dispose(skeleton);
    spSkeletonData_dispose(data);
}

TEST(SkeletonPose, SetupPoseRestoresBonesConstraintsAndDrawOrder) {
    Posed p(R"({"bones": [{"name": "r", "x": 4}, {"name": "a", "parent": "r"}],
        "ik": [{"name": "k", "bones": ["a"], "target": "r", "mix": 0.25, "bendPositive": false}],
        "slots": [{"name": "s0", "bone": "r"}, {"name": "s1", "bone": "a"}]})");
    spSkeleton* s = p.skeleton;
    s->root->x = 9;
    s->root->flipX = 1;
    s->ikConstraints[0]->mix = 1;
    s->ikConstraints[0]->bendDirection = 1;
    std::swap(s->drawOrder[0], s->drawOrder[1]);
    spSkeleton_setToSetupPose(s);
    EXPECT_EQ(s->root->x, 4.f);
    EXPECT_EQ(s->root->flipX, 0);
    EXPECT_EQ(s->ikConstraints[0]->mix, 0.25f);
    EXPECT_EQ(s->ikConstraints[0]->bendDirection, -1);
    EXPECT_EQ(s->drawOrder[0], s->slots[0]);
    EXPECT_EQ(spSkeleton_findIkConstraint(s, "k"), s->ikConstraints[0]);
}

class SkeletonSkins : public ::testing::Test {
protected:
    void SetUp() override {
        std::string dir = skeleton_test::makeAtlasFolder("pose-skins");
        _atlas = spAtlas_create(skeleton_test::kAtlas, static_cast<int>(std::strlen(skeleton_test::kAtlas)),
                                dir.c_str(), nullptr);
        spSkeletonJson* json = spSkeletonJson_create(_atlas);
        _data = spSkeletonJson_readSkeletonData(json, skeleton_test::kSkeleton);
        spSkeletonJson_dispose(json);
        ASSERT_NE(_data, nullptr);
        _skeleton = spSkeleton_create(_data);
    }
    void TearDown() override {
        spSkeleton_dispose(_skeleton);
        spSkeletonData_dispose(_data);
        spAtlas_dispose(_atlas);
    }
    spAttachment* in(const char* skin, int slot, const char* key) const {
        return spSkin_getAttachment(spSkeletonData_findSkin(_data, skin), slot, key);
    }
    spAtlas* _atlas = nullptr;
    spSkeletonData* _data = nullptr;
    spSkeleton* _skeleton = nullptr;
};

TEST_F(SkeletonSkins, SwitchingSkins) {
    spSlot** slots = _skeleton->slots;
    EXPECT_EQ(slots[0]->attachment, in("default", 0, "head"));   // setup attachments from the default skin
    EXPECT_EQ(slots[2]->attachment, in("default", 2, "panel"));
    EXPECT_FLOAT_EQ(slots[0]->a, 128.f / 255);

    EXPECT_EQ(spSkeleton_setSkinByName(_skeleton, "missing"), 0);
    EXPECT_EQ(_skeleton->skin, nullptr);
    ASSERT_EQ(spSkeleton_setSkinByName(_skeleton, "alt"), 1);
    EXPECT_EQ(slots[0]->attachment, in("alt", 0, "head"));
    EXPECT_EQ(slots[2]->attachment, in("alt", 2, "panel"));
    EXPECT_EQ(slots[1]->attachment, in("default", 1, "arm"));   // alt has no arm

    // Switching keeps what the old skin did not put there.
    EXPECT_EQ(spSkeleton_setAttachment(_skeleton, "head", nullptr), 1);
    EXPECT_EQ(slots[0]->attachment, nullptr);
    spSkeleton_setSkin(_skeleton, _data->defaultSkin);
    EXPECT_EQ(slots[0]->attachment, nullptr);
    EXPECT_EQ(slots[2]->attachment, in("default", 2, "panel"));

    EXPECT_EQ(spSkeleton_setSkinByName(_skeleton, nullptr), 1);
    EXPECT_EQ(_skeleton->skin, nullptr);
    EXPECT_EQ(slots[2]->attachment, in("default", 2, "panel"));
}

TEST_F(SkeletonSkins, SetAttachmentAndLookups) {
    ASSERT_EQ(spSkeleton_setSkinByName(_skeleton, "alt"), 1);
    struct Case { const char* slot; const char* name; int result; spAttachment* shown; };
    const Case cases[] = {
        {"head", "head", 1, in("alt", 0, "head")},   // the current skin first
        {"arm", "arm", 1, in("default", 1, "arm")},  // then the default skin
        {"arm", "nothing", 0, in("default", 1, "arm")},
        {"ghost", "head", 0, nullptr},
        {"box", nullptr, 1, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(spSkeleton_setAttachment(_skeleton, c.slot, c.name), c.result) << c.slot;
        if (spSlot* slot = spSkeleton_findSlot(_skeleton, c.slot)) {
            EXPECT_EQ(slot->attachment, c.shown) << c.slot;
        }
    }
    EXPECT_EQ(spSkeleton_getAttachmentForSlotName(_skeleton, "ghost", "head"), nullptr);
    EXPECT_EQ(spSkeleton_getAttachmentForSlotIndex(_skeleton, -1, "head"), nullptr);
    EXPECT_EQ(spSkeleton_getAttachmentForSlotName(_skeleton, "mesh", "panel"), in("alt", 2, "panel"));
}

TEST_F(SkeletonSkins, AttachmentTime) {
    spSlot* slot = _skeleton->slots[1];
    spSkeleton_update(_skeleton, 1.5f);
    spSlot_setAttachment(slot, slot->attachment);
    EXPECT_EQ(spSlot_getAttachmentTime(slot), 0.f);
    spSkeleton_update(_skeleton, 0.25f);
    EXPECT_EQ(spSlot_getAttachmentTime(slot), 0.25f);
    spSlot_setAttachmentTime(slot, 3);
    EXPECT_EQ(spSlot_getAttachmentTime(slot), 3.f);
}

}  // namespace
