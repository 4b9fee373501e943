#include <cmath>
#include <cstring>

#include "skeleton/Animation.h"
#include "skeleton/Skeleton.h"
#include "skeleton/extension.h"

namespace {

// Stands for "after every key" when a wrapped timeline first finishes the old loop.
constexpr float kAfterAllKeys = 2147483648.0f;

// The equivalent angle in (-180, 180]; exact remainder instead of repeated
// subtraction so that a huge angle costs no more than a small one.
float wrapDegrees(float amount) {
    if (amount > 180 || amount < -180) {
        amount = std::fmod(amount, 360.f);
        if (amount > 180) amount -= 360;
        else if (amount < -180) amount += 360;
    }
    return amount;
}

// Curve-shaped position of time between the key before (t0, span number
// spanIndex) and the next key (t1). A span of zero length takes the later key.
float spanPercent(const spCurveTimeline* timeline, int spanIndex, float t0, float t1, float time) {
    float percent = 1;
    if (t1 != t0) {
        percent = 1 - (time - t1) / (t0 - t1);
        if (!(percent >= 0)) percent = 0;
        else if (percent > 1) percent = 1;
    }
    return spCurveTimeline_getCurvePercent(timeline, spanIndex, percent);
}

// Key for the discrete timelines (attachment, flip, draw order): the last key
// when time is at or after it, else the one before the first later key. -1 when
// time lies before the first key.
int discreteKey(const float* frames, int keys, int stride, float time) {
    if (keys <= 0 || !(time >= frames[0])) return -1;
    if (time >= frames[(keys - 1) * stride]) return keys - 1;
    return spTimeline_binarySearch(frames, keys * stride, time, stride) / stride - 1;
}

// Shared start of the attachment and flip timelines: adjusts time and lastTime
// for a wrap and returns the key to apply, or -1 for nothing.
int discreteKeyToApply(const float* frames, int keys, int stride, float lastTime, float time) {
    if (keys <= 0) return -1;
    if (time < frames[0]) {
        // After a wrap the old loop is finished first: its last key still applies.
        if (lastTime <= time) return -1;
        time = kAfterAllKeys;
        if (time < frames[0]) return -1;
    } else if (lastTime > time) {
        lastTime = -1;
    }
    int k = discreteKey(frames, keys, stride, time);
    if (k < 0 || frames[k * stride] < lastTime) return -1;
    return k;
}

// Events of keys in (lastTime, time], appended in key order.
void collectEvents(const spEventTimeline* self, float lastTime, float time, spEvent** firedEvents, int* eventsCount) {
    const float* frames = self->frames;
    int keys = self->framesCount;
    if (lastTime >= frames[keys - 1] || time < frames[0]) return;
    int k = 0;
    if (lastTime >= frames[0]) {
        k = spTimeline_binarySearch1(frames, keys, lastTime);
        float keyTime = frames[k];
        while (k > 0 && frames[k - 1] == keyTime) --k;
    }
    for (; k < keys && time >= frames[k]; ++k) {
        // A key whose time equals lastTime was delivered by the previous apply.
        if (frames[k] <= lastTime) continue;
        firedEvents[(*eventsCount)++] = self->events[k];
    }
}

}  // namespace

int spTimeline_binarySearch(const float* values, int valuesLength, float target, int step) {
    if (step <= 0 || valuesLength / step < 2) return 0;
    int low = 0;
    int high = valuesLength / step - 2;
    if (high == 0) return step;
    int current = high >> 1;
    while (true) {
        if (values[(current + 1) * step] <= target) low = current + 1;
        else high = current;
        if (low == high) return (low + 1) * step;
        current = (low + high) >> 1;
    }
}

int spTimeline_binarySearch1(const float* values, int valuesLength, float target) {
    return spTimeline_binarySearch(values, valuesLength, target, 1);
}

void spRotateTimeline_apply(const spTimeline* timeline, spSkeleton* skeleton, float, float time, spEvent**, int*,
                            float alpha) {
    auto* self = reinterpret_cast<const spRotateTimeline*>(timeline);
    const float* frames = self->frames;
    if (self->framesCount < 2 || !(time >= frames[0])) return;
    spBone* bone = skeleton->bones[self->boneIndex];
    if (time >= frames[self->framesCount - 2]) {
        float amount = wrapDegrees(bone->data->rotation + frames[self->framesCount - 1] - bone->rotation);
        bone->rotation += amount * alpha;
        return;
    }
    int i = spTimeline_binarySearch(frames, self->framesCount, time, 2);
    float prevAngle = frames[i - 1];
    float percent = spanPercent(&self->super, i / 2 - 1, frames[i - 2], frames[i], time);
    float amount = wrapDegrees(frames[i + 1] - prevAngle);
    amount = wrapDegrees(bone->data->rotation + (prevAngle + amount * percent) - bone->rotation);
    bone->rotation += amount * alpha;
}

// Value (x, y) of a stride-3 timeline at time; false before the first key.
static bool pairAt(const spBaseTimeline* self, float time, float* x, float* y) {
    const float* frames = self->frames;
    if (self->framesCount < 3 || !(time >= frames[0])) return false;
    if (time >= frames[self->framesCount - 3]) {
        *x = frames[self->framesCount - 2];
        *y = frames[self->framesCount - 1];
        return true;
    }
    int i = spTimeline_binarySearch(frames, self->framesCount, time, 3);
    float percent = spanPercent(&self->super, i / 3 - 1, frames[i - 3], frames[i], time);
    *x = frames[i - 2] + (frames[i + 1] - frames[i - 2]) * percent;
    *y = frames[i - 1] + (frames[i + 2] - frames[i - 1]) * percent;
    return true;
}

void spTranslateTimeline_apply(const spTimeline* timeline, spSkeleton* skeleton, float, float time, spEvent**, int*,
                               float alpha) {
    auto* self = reinterpret_cast<const spTranslateTimeline*>(timeline);
    float x, y;
    if (!pairAt(self, time, &x, &y)) return;
    spBone* bone = skeleton->bones[self->boneIndex];
    bone->x += (bone->data->x + x - bone->x) * alpha;
    bone->y += (bone->data->y + y - bone->y) * alpha;
}

void spScaleTimeline_apply(const spTimeline* timeline, spSkeleton* skeleton, float, float time, spEvent**, int*,
                           float alpha) {
    auto* self = reinterpret_cast<const spScaleTimeline*>(timeline);
    float x, y;
    if (!pairAt(self, time, &x, &y)) return;
    spBone* bone = skeleton->bones[self->boneIndex];
    bone->scaleX += (bone->data->scaleX * x - bone->scaleX) * alpha;
    bone->scaleY += (bone->data->scaleY * y - bone->scaleY) * alpha;
}

void spColorTimeline_apply(const spTimeline* timeline, spSkeleton* skeleton, float, float time, spEvent**, int*,
                           float alpha) {
    auto* self = reinterpret_cast<const spColorTimeline*>(timeline);
    const float* frames = self->frames;
    if (self->framesCount < 5 || !(time >= frames[0])) return;
    float c[4];
    if (time >= frames[self->framesCount - 5]) {
        for (int j = 0; j < 4; ++j) c[j] = frames[self->framesCount - 4 + j];
    } else {
        int i = spTimeline_binarySearch(frames, self->framesCount, time, 5);
        float percent = spanPercent(&self->super, i / 5 - 1, frames[i - 5], frames[i], time);
        for (int j = 0; j < 4; ++j) c[j] = frames[i - 4 + j] + (frames[i + 1 + j] - frames[i - 4 + j]) * percent;
    }
    spSlot* slot = skeleton->slots[self->slotIndex];
    if (alpha < 1) {
        c[0] = slot->r + (c[0] - slot->r) * alpha;
        c[1] = slot->g + (c[1] - slot->g) * alpha;
        c[2] = slot->b + (c[2] - slot->b) * alpha;
        c[3] = slot->a + (c[3] - slot->a) * alpha;
    }
    slot->r = c[0];
    slot->g = c[1];
    slot->b = c[2];
    slot->a = c[3];
}

void spIkConstraintTimeline_apply(const spTimeline* timeline, spSkeleton* skeleton, float, float time, spEvent**,
                                  int*, float alpha) {
    auto* self = reinterpret_cast<const spIkConstraintTimeline*>(timeline);
    const float* frames = self->frames;
    if (self->framesCount < 3 || !(time >= frames[0])) return;
    spIkConstraint* ik = skeleton->ikConstraints[self->ikConstraintIndex];
    if (time >= frames[self->framesCount - 3]) {
        ik->mix += (frames[self->framesCount - 2] - ik->mix) * alpha;
        ik->bendDirection = static_cast<int>(frames[self->framesCount - 1]);
        return;
    }
    int i = spTimeline_binarySearch(frames, self->framesCount, time, 3);
    float prevMix = frames[i - 2];
    float percent = spanPercent(&self->super, i / 3 - 1, frames[i - 3], frames[i], time);
    float mix = prevMix + (frames[i + 1] - prevMix) * percent;
    ik->mix += (mix - ik->mix) * alpha;
    ik->bendDirection = static_cast<int>(frames[i - 1]);
}

void spAttachmentTimeline_apply(const spTimeline* timeline, spSkeleton* skeleton, float lastTime, float time,
                                spEvent**, int*, float) {
    auto* self = reinterpret_cast<const spAttachmentTimeline*>(timeline);
    int k = discreteKeyToApply(self->frames, self->framesCount, 1, lastTime, time);
    if (k < 0) return;
    const char* name = self->attachmentNames[k];
    spAttachment* attachment = name ? spSkeleton_getAttachmentForSlotIndex(skeleton, self->slotIndex, name) : nullptr;
    spSlot_setAttachment(skeleton->slots[self->slotIndex], attachment);
}

void spFlipTimeline_apply(const spTimeline* timeline, spSkeleton* skeleton, float lastTime, float time, spEvent**,
                          int*, float) {
    auto* self = reinterpret_cast<const spFlipTimeline*>(timeline);
    int k = discreteKeyToApply(self->frames, self->framesCount / 2, 2, lastTime, time);
    if (k < 0) return;
    spBone* bone = skeleton->bones[self->boneIndex];
    int flip = static_cast<int>(self->frames[k * 2 + 1]);
    if (self->x) bone->flipX = flip;
    else bone->flipY = flip;
}

void spEventTimeline_apply(const spTimeline* timeline, spSkeleton*, float lastTime, float time,
                           spEvent** firedEvents, int* eventsCount, float) {
    auto* self = reinterpret_cast<const spEventTimeline*>(timeline);
    if (!firedEvents || !eventsCount || self->framesCount <= 0) return;
    if (lastTime > time) {
        // Wrapped: the rest of the old loop first, then the new loop from its start.
        collectEvents(self, lastTime, kAfterAllKeys, firedEvents, eventsCount);
        lastTime = -1;
    }
    collectEvents(self, lastTime, time, firedEvents, eventsCount);
}

void spDrawOrderTimeline_apply(const spTimeline* timeline, spSkeleton* skeleton, float, float time, spEvent**, int*,
                               float) {
    auto* self = reinterpret_cast<const spDrawOrderTimeline*>(timeline);
    int k = discreteKey(self->frames, self->framesCount, 1, time);
    if (k < 0) return;
    const int* order = self->drawOrders[k];
    if (!order) {
        if (skeleton->slotsCount > 0)
            std::memcpy(skeleton->drawOrder, skeleton->slots,
                        sizeof(spSlot*) * static_cast<size_t>(skeleton->slotsCount));
        return;
    }
    int count = self->slotsCount < skeleton->slotsCount ? self->slotsCount : skeleton->slotsCount;
    for (int j = 0; j < count; ++j) skeleton->drawOrder[j] = skeleton->slots[order[j]];
}

void spFFDTimeline_apply(const spTimeline* timeline, spSkeleton* skeleton, float, float time, spEvent**, int*,
                         float alpha) {
    auto* self = reinterpret_cast<const spFFDTimeline*>(timeline);
    spSlot* slot = skeleton->slots[self->slotIndex];
    const float* frames = self->frames;
    int keys = self->framesCount;
    if (slot->attachment != self->attachment || keys <= 0 || !(time >= frames[0])) return;

    const float* prev;
    const float* next = nullptr;
    float percent = 0;
    if (time >= frames[keys - 1]) {
        prev = self->frameVertices[keys - 1];
        if (!prev) return;   // a key without vertices deforms nothing
    } else {
        int i = spTimeline_binarySearch1(frames, keys, time);
        prev = self->frameVertices[i - 1];
        next = self->frameVertices[i];
        if (!prev || !next) return;
        percent = spanPercent(&self->super, i - 1, frames[i - 1], frames[i], time);
    }

    int count = self->frameVerticesCount;
    if (slot->attachmentVerticesCount < count && slot->attachmentVerticesCapacity < count) {
        SK_FREE(slot->attachmentVertices);
        slot->attachmentVertices = SK_MALLOC(float, count);
        slot->attachmentVerticesCapacity = count;
    }
    // Vertices that were never set cannot be mixed from.
    if (slot->attachmentVerticesCount != count) alpha = 1;
    slot->attachmentVerticesCount = count;
    float* v = slot->attachmentVertices;

    if (!next) {
        if (alpha < 1) {
            for (int j = 0; j < count; ++j) v[j] += (prev[j] - v[j]) * alpha;
        } else if (count > 0) {
            std::memcpy(v, prev, sizeof(float) * static_cast<size_t>(count));
        }
        return;
    }
    if (alpha < 1) {
        for (int j = 0; j < count; ++j) v[j] += (prev[j] + (next[j] - prev[j]) * percent - v[j]) * alpha;
    } else {
        for (int j = 0; j < count; ++j) v[j] = prev[j] + (next[j] - prev[j]) * percent;
    }
}
