#pragma once
// Animations and their timelines as records: constructors, key setters, curve
// setters with the pre-sampled Bézier spans, applying and mixing into a pose, and
// disposal. An animation owns its timelines; a timeline owns its key arrays and
// everything stored in them. Key and curve setters ignore a key number outside
// the timeline. Applying trusts the timeline's bone, slot and IK indexes to fit
// the skeleton and allocates nothing but a slot's deformed vertices when they
// are too few.
#include "skeleton/Event.h"

struct spSkeleton;
struct spAttachment;

enum spTimelineType {
    SP_TIMELINE_SCALE = 0,
    SP_TIMELINE_ROTATE = 1,
    SP_TIMELINE_TRANSLATE = 2,
    SP_TIMELINE_COLOR = 3,
    SP_TIMELINE_ATTACHMENT = 4,
    SP_TIMELINE_EVENT = 5,
    SP_TIMELINE_DRAWORDER = 6,
    SP_TIMELINE_FFD = 7,
    SP_TIMELINE_IKCONSTRAINT = 8,
    SP_TIMELINE_FLIPX = 9,
    SP_TIMELINE_FLIPY = 10,
};

struct spTimeline;
using spTimelineApplyFunction = void(const spTimeline* self, spSkeleton* skeleton, float lastTime, float time,
                                     spEvent** firedEvents, int* eventsCount, float alpha);
using spTimelineApply = spTimelineApplyFunction*;

struct spTimelineVtable {
    spTimelineApply apply;
    void (*dispose)(spTimeline* self);
};

struct spTimeline {
    spTimelineType type;
    spTimelineVtable* vtable;
};

// Poses the skeleton at time, blended with the current pose by alpha (1 sets the
// keyed value). Event timelines append the events keyed in (lastTime, time] to
// firedEvents and count them in *eventsCount (nothing when either is null); a
// lastTime after time means the animation wrapped. Discrete timelines
// (attachment, flip) set a key only when it was not passed before lastTime.
// Calls the table's apply (nothing when there is none).
void spTimeline_apply(const spTimeline* self, spSkeleton* skeleton, float lastTime, float time,
                      spEvent** firedEvents, int* eventsCount, float alpha);
void spTimeline_dispose(spTimeline* self);

// 19 floats per span between two keys: the curve type (0 linear, 1 stepped,
// 2 bezier), then for a bezier nine sampled (x, y) points.
enum { SP_CURVE_LINEAR = 0, SP_CURVE_STEPPED = 1, SP_CURVE_BEZIER = 2, SP_CURVE_SPAN_SIZE = 19 };

struct spCurveTimeline {
    spTimeline super;
    int curvesCount;   // (keys - 1) * 19
    float* curves;
};

void spCurveTimeline_setLinear(spCurveTimeline* self, int frameIndex);
void spCurveTimeline_setStepped(spCurveTimeline* self, int frameIndex);
void spCurveTimeline_setCurve(spCurveTimeline* self, int frameIndex, float cx1, float cy1, float cx2, float cy2);
float spCurveTimeline_getCurvePercent(const spCurveTimeline* self, int frameIndex, float percent);

// Rotate (stride 2: time, angle), translate and scale (stride 3: time, x, y).
struct spBaseTimeline {
    spCurveTimeline super;
    int framesCount;   // floats: keys * stride
    float* frames;
    int boneIndex;
};
using spRotateTimeline = spBaseTimeline;
using spTranslateTimeline = spBaseTimeline;
using spScaleTimeline = spBaseTimeline;

// Colour (stride 5: time, r, g, b, a).
struct spColorTimeline {
    spCurveTimeline super;
    int framesCount;
    float* frames;
    int slotIndex;
};

// IK constraint (stride 3: time, mix, bend direction).
struct spIkConstraintTimeline {
    spCurveTimeline super;
    int framesCount;
    float* frames;
    int ikConstraintIndex;
};

struct spAttachmentTimeline {
    spTimeline super;
    int framesCount;        // keys
    float* frames;          // times
    int slotIndex;
    char** attachmentNames; // owned, an entry may be null
};

struct spEventTimeline {
    spTimeline super;
    int framesCount;
    float* frames;
    spEvent** events;       // owned
};

struct spDrawOrderTimeline {
    spTimeline super;
    int framesCount;
    float* frames;
    int** drawOrders;       // owned arrays of slotsCount entries, an entry may be null
    int slotsCount;
};

struct spFFDTimeline {
    spCurveTimeline super;
    int framesCount;        // keys
    float* frames;
    int frameVerticesCount; // floats per key
    float** frameVertices;  // owned, an entry may be null
    int slotIndex;
    spAttachment* attachment;   // not owned
};

struct spFlipTimeline {
    spTimeline super;
    int x;                  // 1 flips X, 0 flips Y
    int framesCount;        // keys * 2
    float* frames;          // time, flip
    int boneIndex;
};

// Float index of the first key after target in a strided key array (keys *
// step floats, times ascending), never below step nor past the last key: a
// target that compares with nothing (NaN) answers step. 0 for fewer than two
// keys. Applies take no key for a time that is not at or after the first key
// (NaN included).
int spTimeline_binarySearch(const float* values, int valuesLength, float target, int step);
int spTimeline_binarySearch1(const float* values, int valuesLength, float target);

// The applies the constructors install.
spTimelineApplyFunction spRotateTimeline_apply, spTranslateTimeline_apply, spScaleTimeline_apply,
    spColorTimeline_apply, spIkConstraintTimeline_apply, spAttachmentTimeline_apply, spEventTimeline_apply,
    spDrawOrderTimeline_apply, spFlipTimeline_apply;
// A key stored without vertices deforms nothing.
spTimelineApplyFunction spFFDTimeline_apply;

// Stride-keyed curve timeline of frameCount keys, arrays zeroed.
spBaseTimeline* spBaseTimeline_create(int frameCount, spTimelineType type, int stride, spTimelineApply apply);
spScaleTimeline* spScaleTimeline_create(int frameCount);
spRotateTimeline* spRotateTimeline_create(int frameCount);
spTranslateTimeline* spTranslateTimeline_create(int frameCount);
spColorTimeline* spColorTimeline_create(int frameCount);
spIkConstraintTimeline* spIkConstraintTimeline_create(int frameCount);
spAttachmentTimeline* spAttachmentTimeline_create(int frameCount);
spEventTimeline* spEventTimeline_create(int frameCount);
spDrawOrderTimeline* spDrawOrderTimeline_create(int frameCount, int slotsCount);
spFFDTimeline* spFFDTimeline_create(int frameCount, int frameVerticesCount);
spFlipTimeline* spFlipTimeline_create(int frameCount, int x);

void spRotateTimeline_setFrame(spRotateTimeline* self, int frameIndex, float time, float angle);
// Also the key setter of scale timelines.
void spTranslateTimeline_setFrame(spTranslateTimeline* self, int frameIndex, float time, float x, float y);
void spColorTimeline_setFrame(spColorTimeline* self, int frameIndex, float time, float r, float g, float b, float a);
void spIkConstraintTimeline_setFrame(spIkConstraintTimeline* self, int frameIndex, float time, float mix,
                                     int bendDirection);
void spFlipTimeline_setFrame(spFlipTimeline* self, int frameIndex, float time, int flip);
// Copies the name (or null).
void spAttachmentTimeline_setFrame(spAttachmentTimeline* self, int frameIndex, float time, const char* attachmentName);
// Takes the event (disposed at once when the key number is out of range).
void spEventTimeline_setFrame(spEventTimeline* self, int frameIndex, float time, spEvent* event);
// Copies slotsCount ints (or null: setup order).
void spDrawOrderTimeline_setFrame(spDrawOrderTimeline* self, int frameIndex, float time, const int* drawOrder);
// Copies frameVerticesCount floats (or null).
void spFFDTimeline_setFrame(spFFDTimeline* self, int frameIndex, float time, const float* vertices);

struct spAnimation {
    char* name;
    float duration;
    int timelinesCount;
    spTimeline** timelines;   // owned
};

// Empty (null) timeline slots of that number, duration 0.
spAnimation* spAnimation_create(const char* name, int timelinesCount);
void spAnimation_dispose(spAnimation* self);

// Every timeline in order at full weight (apply) or blended by alpha (mix). With
// loop set and a duration other than 0 both times wrap into the duration; a
// negative lastTime (not started) stays as it is, so keys at 0 fire on the first
// apply. events (may be null) must hold as many pointers as the animation has
// event keys: spAnimation_countEventKeys.
void spAnimation_apply(const spAnimation* self, spSkeleton* skeleton, float lastTime, float time, int loop,
                       spEvent** events, int* eventsCount);
void spAnimation_mix(const spAnimation* self, spSkeleton* skeleton, float lastTime, float time, int loop,
                     spEvent** events, int* eventsCount, float alpha);
// The most events one apply of the animation can fire.
int spAnimation_countEventKeys(const spAnimation* self);
