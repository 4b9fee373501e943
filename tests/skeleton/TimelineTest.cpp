// Timelines applied to a pose: values at, between and after keys over linear,
// stepped and Bézier spans, blending by alpha, rotation wrapping, discrete keys
// across a wrap, events, draw order, mesh deformation and whole animations.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "skeleton/AnimationRig.h"
#include "skeleton/extension.h"

namespace {

using skeleton_test::AnimationRig;
using skeleton_test::eventNames;
using Names = std::vector<std::string>;

// y of the cubic Bézier from (0, 0) to (1, 1) at x, solved by bisection.
float bezierY(float cx1, float cy1, float cx2, float cy2, float x) {
    auto at = [](float c1, float c2, double t) {
        return 3 * (1 - t) * (1 - t) * t * c1 + 3 * (1 - t) * t * t * c2 + t * t * t;
    };
    double lo = 0, hi = 1;
    for (int i = 0; i < 60; ++i) {
        double mid = (lo + hi) / 2;
        (at(cx1, cx2, mid) < x ? lo : hi) = mid;
    }
    return static_cast<float>(at(cy1, cy2, lo));
}

TEST(Timeline, CurvePercentPerSpanType) {
    spRotateTimeline* t = spRotateTimeline_create(4);
    spCurveTimeline* c = &t->super;
    spCurveTimeline_setStepped(c, 1);
    spCurveTimeline_setCurve(c, 2, 0.25f, 0, 0.75f, 1);
    struct Case { int span; float percent; float expected; float tolerance; };
    const Case cases[] = {
        {0, 0.3f, 0.3f, 0}, {0, 1, 1, 0},                    // new spans are linear
        {1, 0.99f, 0, 0}, {1, 1, 0, 0},                      // stepped holds the earlier key
        {2, 0, 0, 1e-6f}, {2, 1, 1, 1e-6f}, {2, 0.5f, 0.5f, 1e-4f},
        {2, 0.05f, bezierY(0.25f, 0, 0.75f, 1, 0.05f), 0.01f},   // before the first sample
        {2, 0.3f, bezierY(0.25f, 0, 0.75f, 1, 0.3f), 0.01f},
        {2, 0.97f, bezierY(0.25f, 0, 0.75f, 1, 0.97f), 0.01f},   // after the last sample
    };
    for (const Case& k : cases)
        EXPECT_NEAR(spCurveTimeline_getCurvePercent(c, k.span, k.percent), k.expected, k.tolerance)
            << "span " << k.span << " at " << k.percent;
    spCurveTimeline_setLinear(c, 1);
    EXPECT_EQ(spCurveTimeline_getCurvePercent(c, 1, 0.4f), 0.4f);
    spTimeline_dispose(&c->super);
}

// One kind of curve timeline: keyed with a single value v, read back as the pose
// components that v sets at full weight.
struct CurveKind {
    const char* name;
    std::function<spCurveTimeline*(int keys)> make;
    std::function<void(spCurveTimeline*, int key, float time, float v)> key;
    std::function<std::vector<float>(AnimationRig&)> read;
    std::function<std::vector<float>(float v)> posed;
};

std::vector<CurveKind> curveKinds() {
    auto bone = [](AnimationRig& r) { return r.bone("b"); };
    return {
        {"rotate", [](int n) { auto* t = spRotateTimeline_create(n); t->boneIndex = 1; return &t->super; },
         [](spCurveTimeline* t, int i, float time, float v) {
             spRotateTimeline_setFrame(reinterpret_cast<spRotateTimeline*>(t), i, time, v);
         },
         [bone](AnimationRig& r) { return std::vector<float>{bone(r)->rotation}; },
         [](float v) { return std::vector<float>{10 + v}; }},
        {"translate", [](int n) { auto* t = spTranslateTimeline_create(n); t->boneIndex = 1; return &t->super; },
         [](spCurveTimeline* t, int i, float time, float v) {
             spTranslateTimeline_setFrame(reinterpret_cast<spTranslateTimeline*>(t), i, time, v, 2 * v);
         },
         [bone](AnimationRig& r) { return std::vector<float>{bone(r)->x, bone(r)->y}; },
         [](float v) { return std::vector<float>{1 + v, 2 + 2 * v}; }},
        {"scale", [](int n) { auto* t = spScaleTimeline_create(n); t->boneIndex = 1; return &t->super; },
         [](spCurveTimeline* t, int i, float time, float v) {
             spTranslateTimeline_setFrame(reinterpret_cast<spScaleTimeline*>(t), i, time, v, 2 * v);
         },
         [bone](AnimationRig& r) { return std::vector<float>{bone(r)->scaleX, bone(r)->scaleY}; },
         [](float v) { return std::vector<float>{2 * v, 3 * 2 * v}; }},
        {"colour", [](int n) { auto* t = spColorTimeline_create(n); t->slotIndex = 0; return &t->super; },
         [](spCurveTimeline* t, int i, float time, float v) {
             spColorTimeline_setFrame(reinterpret_cast<spColorTimeline*>(t), i, time, v, 2 * v, 1 - v, v / 2);
         },
         [](AnimationRig& r) {
             spSlot* s = r.slot("s0");
             return std::vector<float>{s->r, s->g, s->b, s->a};
         },
         [](float v) { return std::vector<float>{v, 2 * v, 1 - v, v / 2}; }},
        {"ik", [](int n) { auto* t = spIkConstraintTimeline_create(n); t->ikConstraintIndex = 0; return &t->super; },
         [](spCurveTimeline* t, int i, float time, float v) {
             spIkConstraintTimeline_setFrame(reinterpret_cast<spIkConstraintTimeline*>(t), i, time, v, 1);
         },
         [](AnimationRig& r) { return std::vector<float>{r.skeleton->ikConstraints[0]->mix}; },
         [](float v) { return std::vector<float>{v}; }},
    };
}

TEST(Timeline, CurveKindsAtBetweenAndAfterKeys) {
    // Keys 0.1 at 0, 0.2 at 1, 0.4 at 2, 0.8 at 3: a linear, a stepped and a Bézier span.
    const float bez = bezierY(0.25f, 0, 0.75f, 1, 0.25f);
    struct Case { const char* what; float time; float alpha; float value; float tolerance; };
    const float untouched = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {"before the first key", -0.5f, 1, untouched, 0},
        {"at the first key", 0, 1, 0.1f, 1e-5f},
        {"linear span", 0.25f, 1, 0.125f, 1e-5f},
        {"exactly at a key", 1, 1, 0.2f, 1e-5f},
        {"stepped span", 1.9f, 1, 0.2f, 1e-5f},
        {"Bézier span", 2.25f, 1, 0.4f + 0.4f * bez, 0.03f},
        {"at the last key", 3, 1, 0.8f, 1e-5f},
        {"after the last key", 7, 1, 0.8f, 1e-5f},
        {"blended by alpha", 0.25f, 0.5f, 0.125f, 1e-5f},
        {"alpha 0", 3, 0, untouched, 0},
    };
    for (const CurveKind& kind : curveKinds()) {
        for (const Case& k : cases) {
            AnimationRig rig;
            spCurveTimeline* t = kind.make(4);
            kind.key(t, 0, 0, 0.1f);
            kind.key(t, 1, 1, 0.2f);
            kind.key(t, 2, 2, 0.4f);
            kind.key(t, 3, 3, 0.8f);
            spCurveTimeline_setStepped(t, 1);
            spCurveTimeline_setCurve(t, 2, 0.25f, 0, 0.75f, 1);
            std::vector<float> setup = kind.read(rig);
            spTimeline_apply(&t->super, rig.skeleton, -1, k.time, nullptr, nullptr, k.alpha);
            std::vector<float> got = kind.read(rig);
            std::vector<float> want = std::isnan(k.value) ? setup : kind.posed(k.value);
            for (size_t j = 0; j < got.size(); ++j) {
                float expected = setup[j] + (want[j] - setup[j]) * k.alpha;
                if (std::isnan(k.value)) EXPECT_EQ(got[j], setup[j]) << kind.name << ": " << k.what;
                else EXPECT_NEAR(got[j], expected, k.tolerance) << kind.name << ": " << k.what << " [" << j << "]";
            }
            spTimeline_dispose(&t->super);
        }
    }
}

TEST(Timeline, NonFiniteTimesTakeNoKey) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // Keys at the given times with value 0.5; the pose stays where it was.
    struct Case { const char* what; std::vector<float> keyTimes; float time; };
    const Case cases[] = {
        {"NaN clock, one key", {0}, nan},
        {"NaN clock, two keys", {0, 1}, nan},
        {"NaN clock, three keys", {0, 1, 2}, nan},
        {"NaN key time, one key", {nan}, 0.5f},
        {"-inf clock, one key", {0}, -inf},
    };
    for (const CurveKind& kind : curveKinds()) {
        for (const Case& k : cases) {
            AnimationRig rig;
            int keys = static_cast<int>(k.keyTimes.size());
            spCurveTimeline* t = kind.make(keys);
            for (int i = 0; i < keys; ++i) kind.key(t, i, k.keyTimes[static_cast<size_t>(i)], 0.5f);
            std::vector<float> setup = kind.read(rig);
            spTimeline_apply(&t->super, rig.skeleton, -1, k.time, nullptr, nullptr, 1);
            EXPECT_EQ(kind.read(rig), setup) << kind.name << ": " << k.what;
            spTimeline_dispose(&t->super);
        }
    }
    // The deforming timeline over one key.
    AnimationRig rig;
    spFFDTimeline* ffd = spFFDTimeline_create(1, 2);
    ffd->slotIndex = 0;
    ffd->attachment = rig.attachment("box");
    const float v[] = {1, 2};
    spFFDTimeline_setFrame(ffd, 0, 0, v);
    spTimeline_apply(&ffd->super.super, rig.skeleton, -1, nan, nullptr, nullptr, 1);
    EXPECT_EQ(rig.slot("s0")->attachmentVerticesCount, 0);
    spTimeline_dispose(&ffd->super.super);
}

TEST(Timeline, BinarySearchStaysInsideTheKeys) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float keys[] = {0, 10, 1, 11, 2, 12};   // stride 2: times 0, 1, 2
    struct Case { int length; float target; int step; int expected; };
    const Case cases[] = {
        {6, 0.5f, 2, 2}, {6, 1.5f, 2, 4}, {6, 5, 2, 4}, {6, -1, 2, 2}, {6, nan, 2, 2},
        {4, nan, 2, 2}, {2, nan, 2, 0}, {2, 0.5f, 2, 0}, {0, 1, 2, 0},
        {3, nan, 1, 1}, {1, nan, 1, 0},
    };
    for (const Case& k : cases)
        EXPECT_EQ(spTimeline_binarySearch(keys, k.length, k.target, k.step), k.expected)
            << k.length << " floats, step " << k.step << ", target " << k.target;
}

TEST(Timeline, IkBendDirectionIsTakenNotInterpolated) {
    AnimationRig rig;
    spIkConstraintTimeline* t = spIkConstraintTimeline_create(2);
    spIkConstraintTimeline_setFrame(t, 0, 0, 0, -1);
    spIkConstraintTimeline_setFrame(t, 1, 1, 1, 1);
    spIkConstraint* ik = rig.skeleton->ikConstraints[0];
    struct Case { float time; int bend; };
    for (const Case& k : {Case{0, -1}, Case{0.99f, -1}, Case{1, 1}, Case{4, 1}}) {
        ik->bendDirection = 0;
        spTimeline_apply(&t->super.super, rig.skeleton, -1, k.time, nullptr, nullptr, 0.5f);
        EXPECT_EQ(ik->bendDirection, k.bend) << k.time;
    }
    spTimeline_dispose(&t->super.super);
}

TEST(Timeline, RotationTakesTheShortWayAndWrapsByArithmetic) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Case { const char* what; float from, to, time, start, alpha, expected; };
    // The bone's setup rotation is 10; expected is the bone's rotation afterwards.
    const Case cases[] = {
        {"170 to -170 turns through 180", 170, -170, 0.5f, 10, 1, 190},
        {"quarter of the way", 170, -170, 0.25f, 10, 1, 185},
        {"-170 to 170 the other way", -170, 170, 0.25f, 10, 1, -165},
        {"0 to 350 is 10 backwards", 0, 350, 0.5f, 10, 1, 5},
        {"last key from far round", 0, 0, 1, 350, 0.5f, 360},   // 20 degrees ahead, not 340 back
        {"huge angle", 0, 1e30f, 2, 10, 1, 10 + std::fmod(1e30f, 360.f) - 360},
    };
    for (const Case& k : cases) {
        AnimationRig rig;
        spRotateTimeline* t = spRotateTimeline_create(2);
        t->boneIndex = 1;
        spRotateTimeline_setFrame(t, 0, 0, k.from);
        spRotateTimeline_setFrame(t, 1, 1, k.to);
        rig.bone("b")->rotation = k.start;
        spTimeline_apply(&t->super.super, rig.skeleton, -1, k.time, nullptr, nullptr, k.alpha);
        float got = rig.bone("b")->rotation;
        EXPECT_NEAR(std::remainder(got - k.expected, 360.f), 0, 1e-3f) << k.what << ": " << got;
        EXPECT_GE(got, -360.f + 10) << k.what;
        EXPECT_LE(got, 360.f + 10) << k.what;
        spTimeline_dispose(&t->super.super);
    }
    // A non-finite key poisons the value but returns at once.
    AnimationRig rig;
    spRotateTimeline* t = spRotateTimeline_create(2);
    t->boneIndex = 1;
    spRotateTimeline_setFrame(t, 0, 0, 0);
    spRotateTimeline_setFrame(t, 1, 1, inf);
    spTimeline_apply(&t->super.super, rig.skeleton, -1, 0.5f, nullptr, nullptr, 1);
    spTimeline_apply(&t->super.super, rig.skeleton, -1, 2, nullptr, nullptr, 1);
    spTimeline_dispose(&t->super.super);
}

// Attachment and flip timelines share the discrete-key rules: keys at 0.5, 1 and 1.5.
TEST(Timeline, DiscreteKeysAcrossAWrap) {
    struct Case { const char* what; float lastTime, time; int key; };   // key -1: untouched
    const Case cases[] = {
        {"before the first key", -1, 0.2f, -1},
        {"exactly at the first key", -1, 0.5f, 0},
        {"between keys", 0.6f, 1.2f, 1},
        {"key already passed", 1.2f, 1.3f, -1},
        {"after the last key", 1.2f, 9, 2},
        {"wrapped before the first key: the end key still due", 1.4f, 0.2f, 2},
        {"wrapped before the first key: nothing due", 1.8f, 0.2f, -1},
        {"wrapped past the first key", 1.8f, 0.7f, 0},
    };
    for (const Case& k : cases) {
        AnimationRig rig;
        spAttachmentTimeline* a = spAttachmentTimeline_create(3);
        a->slotIndex = 0;
        spAttachmentTimeline_setFrame(a, 0, 0.5f, "other");
        spAttachmentTimeline_setFrame(a, 1, 1, nullptr);
        spAttachmentTimeline_setFrame(a, 2, 1.5f, "box");
        spFlipTimeline* f = spFlipTimeline_create(3, 1);
        f->boneIndex = 1;
        spFlipTimeline_setFrame(f, 0, 0.5f, 1);
        spFlipTimeline_setFrame(f, 1, 1, 0);
        spFlipTimeline_setFrame(f, 2, 1.5f, 1);
        spSlot* slot = rig.slot("s0");
        spSlot_setAttachment(slot, nullptr);
        slot->attachment = reinterpret_cast<spAttachment*>(&rig);   // a marker, never dereferenced
        rig.bone("b")->flipX = 7;
        // Alpha plays no part for discrete keys.
        spTimeline_apply(&a->super, rig.skeleton, k.lastTime, k.time, nullptr, nullptr, 0.25f);
        spTimeline_apply(&f->super, rig.skeleton, k.lastTime, k.time, nullptr, nullptr, 0);
        spAttachment* const attachments[] = {rig.attachment("other"), nullptr, rig.attachment("box")};
        const int flips[] = {1, 0, 1};
        if (k.key < 0) {
            EXPECT_EQ(slot->attachment, reinterpret_cast<spAttachment*>(&rig)) << k.what;
            EXPECT_EQ(rig.bone("b")->flipX, 7) << k.what;
        } else {
            EXPECT_EQ(slot->attachment, attachments[k.key]) << k.what;
            EXPECT_EQ(rig.bone("b")->flipX, flips[k.key]) << k.what;
        }
        slot->attachment = nullptr;
        spTimeline_dispose(&a->super);
        spTimeline_dispose(&f->super);
    }
}

TEST(Timeline, FlipYTimelineSetsFlipY) {
    AnimationRig rig;
    spFlipTimeline* f = spFlipTimeline_create(1, 0);
    EXPECT_EQ(f->super.type, SP_TIMELINE_FLIPY);
    f->boneIndex = 2;
    spFlipTimeline_setFrame(f, 0, 0, 1);
    spTimeline_apply(&f->super, rig.skeleton, -1, 0, nullptr, nullptr, 1);
    EXPECT_EQ(rig.bone("c")->flipY, 1);
    EXPECT_EQ(rig.bone("c")->flipX, 0);
    spTimeline_dispose(&f->super);
}

TEST(Timeline, EventsFireInTheHalfOpenSpan) {
    AnimationRig rig;
    spEventTimeline* t = rig.events({{0, "a"}, {0.5f, "b"}, {0.5f, "c"}, {1, "d"}});
    struct Case { const char* what; float lastTime, time; Names fired; };
    const Case cases[] = {
        {"first apply fires the key at 0", -1, 0, {"a"}},
        {"equal times fire together", 0, 0.5f, {"b", "c"}},
        {"a key at lastTime fired before", 0.5f, 0.75f, {}},
        {"the last key", 0.75f, 1, {"d"}},
        {"after the last key", 1, 1.2f, {}},
        {"wrap: the end of the old loop first", 0.75f, 0.25f, {"d", "a"}},
        {"wrap from a key time", 0.5f, 0, {"d", "a"}},
        {"wrap over everything", 0.9f, 0.6f, {"d", "a", "b", "c"}},
        {"before the first key", -1, -0.5f, {}},
        {"no time passed", 0.25f, 0.25f, {}},
    };
    for (const Case& k : cases) {
        spEvent* fired[8] = {};
        int count = 0;
        spTimeline_apply(&t->super, rig.skeleton, k.lastTime, k.time, fired, &count, 0);
        EXPECT_EQ(eventNames(fired, count), k.fired) << k.what;
    }
    // Without a buffer nothing is collected.
    int count = 0;
    spTimeline_apply(&t->super, rig.skeleton, -1, 2, nullptr, &count, 1);
    EXPECT_EQ(count, 0);
    spTimeline_dispose(&t->super);
}

TEST(Timeline, DrawOrderKeysIgnoreLastTime) {
    AnimationRig rig;
    spDrawOrderTimeline* t = spDrawOrderTimeline_create(2, 3);
    const int reversed[] = {2, 1, 0};
    spDrawOrderTimeline_setFrame(t, 0, 0.5f, reversed);
    spDrawOrderTimeline_setFrame(t, 1, 1, nullptr);
    spSlot** slots = rig.skeleton->slots;
    const std::vector<spSlot*> setup{slots[0], slots[1], slots[2]}, back{slots[2], slots[1], slots[0]},
        shuffled{slots[1], slots[2], slots[0]};
    struct Case { const char* what; float lastTime, time; std::vector<spSlot*> order; };
    const Case cases[] = {
        {"before the first key", -1, 0.2f, shuffled},
        {"keyed order", -1, 0.5f, back},
        {"still keyed", 0.7f, 0.9f, back},
        {"passed keys still apply", 0.9f, 0.7f, back},
        {"a key without order restores the setup order", 0.5f, 3, setup},
    };
    for (const Case& k : cases) {
        for (int j = 0; j < 3; ++j) rig.skeleton->drawOrder[j] = shuffled[j];
        spTimeline_apply(&t->super, rig.skeleton, k.lastTime, k.time, nullptr, nullptr, 0.5f);
        EXPECT_EQ(std::vector<spSlot*>(rig.skeleton->drawOrder, rig.skeleton->drawOrder + 3), k.order) << k.what;
    }
    spTimeline_dispose(&t->super);
}

TEST(Timeline, FfdDeformsGrowsAndMixes) {
    // Keys: 0 zeros, 1 A, 2 without vertices, 3 B.
    const float A[] = {4, 8, 12, 16}, B[] = {8, 8, 8, 8}, zeros[4] = {};
    struct Case {
        const char* what;
        bool attached;
        std::vector<float> before;   // the slot's vertices (count), empty for none
        float time, alpha;
        std::vector<float> after;    // empty: count stays 0
    };
    const Case cases[] = {
        {"grows and sets, alpha forced to 1 for unset vertices", true, {}, 0.5f, 0.5f, {2, 4, 6, 8}},
        {"mixes with set vertices", true, {10, 10, 10, 10}, 0.5f, 0.5f, {6, 7, 8, 9}},
        {"last key copied", true, {10, 10, 10, 10}, 3.5f, 1, {8, 8, 8, 8}},
        {"last key mixed", true, {10, 10, 10, 10}, 3.5f, 0.5f, {9, 9, 9, 9}},
        {"a key without vertices after", true, {10, 10, 10, 10}, 1.5f, 1, {10, 10, 10, 10}},
        {"a key without vertices before", true, {10, 10, 10, 10}, 2.5f, 1, {10, 10, 10, 10}},
        {"a key without vertices leaves unset vertices unset", true, {}, 2.5f, 1, {}},
        {"another attachment shown", false, {}, 1, 1, {}},
        {"before the first key", true, {}, -1, 1, {}},
    };
    for (const Case& k : cases) {
        AnimationRig rig;
        spFFDTimeline* t = spFFDTimeline_create(4, 4);
        t->slotIndex = 0;
        t->attachment = rig.attachment("box");
        spFFDTimeline_setFrame(t, 0, 0, zeros);
        spFFDTimeline_setFrame(t, 1, 1, A);
        spFFDTimeline_setFrame(t, 2, 2, nullptr);
        spFFDTimeline_setFrame(t, 3, 3, B);
        spSlot* slot = rig.slot("s0");
        spSlot_setAttachment(slot, k.attached ? rig.attachment("box") : rig.attachment("other"));
        if (!k.before.empty()) {
            slot->attachmentVertices = static_cast<float*>(skeleton_malloc(sizeof(float) * 4, "test", 0));
            slot->attachmentVerticesCapacity = slot->attachmentVerticesCount = 4;
            for (int j = 0; j < 4; ++j) slot->attachmentVertices[j] = k.before[j];
        }
        spTimeline_apply(&t->super.super, rig.skeleton, -1, k.time, nullptr, nullptr, k.alpha);
        ASSERT_EQ(slot->attachmentVerticesCount, static_cast<int>(k.after.size())) << k.what;
        for (size_t j = 0; j < k.after.size(); ++j) EXPECT_FLOAT_EQ(slot->attachmentVertices[j], k.after[j]) << k.what;
        spTimeline_dispose(&t->super.super);
    }
}

TEST(Timeline, FfdReusesACapacityThatFits) {
    AnimationRig rig;
    spFFDTimeline* t = spFFDTimeline_create(1, 2);
    t->slotIndex = 0;
    t->attachment = rig.attachment("box");
    const float v[] = {1, 2};
    spFFDTimeline_setFrame(t, 0, 0, v);
    spSlot* slot = rig.slot("s0");
    slot->attachmentVertices = static_cast<float*>(skeleton_malloc(sizeof(float) * 6, "test", 0));
    slot->attachmentVerticesCapacity = 6;
    float* before = slot->attachmentVertices;
    spTimeline_apply(&t->super.super, rig.skeleton, -1, 0, nullptr, nullptr, 1);
    EXPECT_EQ(slot->attachmentVertices, before);
    EXPECT_EQ(slot->attachmentVerticesCapacity, 6);
    EXPECT_EQ(slot->attachmentVerticesCount, 2);
    EXPECT_EQ(before[1], 2.f);
    spTimeline_dispose(&t->super.super);

    // Keys of no vertices on a slot that has none copy nothing.
    spFFDTimeline* empty = spFFDTimeline_create(1, 0);
    empty->slotIndex = 1;
    const float none[1] = {};
    spFFDTimeline_setFrame(empty, 0, 0, none);
    spSlot* bare = rig.slot("s1");
    spSlot_setAttachment(bare, nullptr);
    empty->attachment = nullptr;
    spTimeline_apply(&empty->super.super, rig.skeleton, -1, 1, nullptr, nullptr, 1);
    EXPECT_EQ(bare->attachmentVerticesCount, 0);
    spTimeline_dispose(&empty->super.super);
}

TEST(Animation, LoopWrapsTimesIntoTheDuration) {
    AnimationRig rig;
    spTranslateTimeline* move = spTranslateTimeline_create(2);
    move->boneIndex = 1;
    spTranslateTimeline_setFrame(move, 0, 0, 0, 0);
    spTranslateTimeline_setFrame(move, 1, 1, 10, 0);
    spAnimation* anim = rig.animation("move", 1, {&move->super.super});
    struct Case { const char* what; float duration; int loop; float time; float x; };
    const Case cases[] = {
        {"looped into the duration", 1, 1, 2.25f, 1 + 2.5f},
        {"not looped", 1, 0, 2.25f, 1 + 10},
        {"duration 0 is not wrapped", 0, 1, 0.5f, 1 + 5},
    };
    for (const Case& k : cases) {
        anim->duration = k.duration;
        spSkeleton_setToSetupPose(rig.skeleton);
        spAnimation_apply(anim, rig.skeleton, -1, k.time, k.loop, nullptr, nullptr);
        EXPECT_FLOAT_EQ(rig.bone("b")->x, k.x) << k.what;
    }
    spSkeleton_setToSetupPose(rig.skeleton);
    spAnimation_mix(anim, rig.skeleton, -1, 0.5f, 0, nullptr, nullptr, 0.5f);
    EXPECT_FLOAT_EQ(rig.bone("b")->x, 1 + 2.5f);
}

TEST(Animation, FirstLoopedApplyFiresKeysAtZero) {
    // Durations dividing 1 would wrap the starting lastTime -1 to -0.
    for (float duration : {1.f, 0.5f, 0.25f, 0.3f, 2.f}) {
        AnimationRig rig;
        spAnimation* anim = rig.animation("e", duration, {&rig.events({{0, "a"}})->super});
        spEvent* fired[4] = {};
        int count = 0;
        spAnimation_apply(anim, rig.skeleton, -1, 0.01f, 1, fired, &count);
        EXPECT_EQ(eventNames(fired, count), Names{"a"}) << duration;
        EXPECT_EQ(spAnimation_countEventKeys(anim), 1);
    }
}

TEST(Animation, EveryTimelineKindComesFromItsConstructorReadyToApply) {
    spTimeline* timelines[] = {
        &spScaleTimeline_create(1)->super.super,       &spRotateTimeline_create(1)->super.super,
        &spTranslateTimeline_create(1)->super.super,   &spColorTimeline_create(1)->super.super,
        &spAttachmentTimeline_create(1)->super,        &spEventTimeline_create(1)->super,
        &spDrawOrderTimeline_create(1, 1)->super,      &spFFDTimeline_create(1, 1)->super.super,
        &spIkConstraintTimeline_create(1)->super.super, &spFlipTimeline_create(1, 1)->super,
        &spFlipTimeline_create(1, 0)->super,
    };
    for (spTimeline* t : timelines) {
        EXPECT_NE(t->vtable->apply, nullptr) << t->type;
        spTimeline_dispose(t);
    }
}

}  // namespace
