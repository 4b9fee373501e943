#include "skeleton/Animation.h"

#include <cmath>

#include "skeleton/extension.h"

namespace {

int keyCount(int frameCount) { return frameCount > 0 ? frameCount : 0; }

void initTimeline(spTimeline* self, spTimelineType type, spTimelineApply apply, void (*dispose)(spTimeline*)) {
    self->type = type;
    self->vtable = SK_NEW(spTimelineVtable);
    self->vtable->apply = apply;
    self->vtable->dispose = dispose;
}

void initCurveTimeline(spCurveTimeline* self, int frameCount, spTimelineType type, spTimelineApply apply,
                       void (*dispose)(spTimeline*)) {
    initTimeline(&self->super, type, apply, dispose);
    int spans = keyCount(frameCount) > 1 ? frameCount - 1 : 0;
    self->curvesCount = spans * SP_CURVE_SPAN_SIZE;
    self->curves = SK_CALLOC(float, self->curvesCount);
}

void deinitCurveTimeline(spCurveTimeline* self) {
    SK_FREE(self->curves);
    SK_FREE(self->super.vtable);
}

// The span's first float, or null when the span does not exist.
float* span(spCurveTimeline* self, int frameIndex) {
    if (frameIndex < 0 || (frameIndex + 1) * SP_CURVE_SPAN_SIZE > self->curvesCount) return nullptr;
    return self->curves + frameIndex * SP_CURVE_SPAN_SIZE;
}

void disposeBase(spTimeline* timeline) {
    auto* self = reinterpret_cast<spBaseTimeline*>(timeline);
    deinitCurveTimeline(&self->super);
    SK_FREE(self->frames);
    SK_FREE(self);
}

void disposeAttachment(spTimeline* timeline) {
    auto* self = reinterpret_cast<spAttachmentTimeline*>(timeline);
    for (int i = 0; i < self->framesCount; ++i) SK_FREE(self->attachmentNames[i]);
    SK_FREE(self->attachmentNames);
    SK_FREE(self->frames);
    SK_FREE(timeline->vtable);
    SK_FREE(self);
}

void disposeEvent(spTimeline* timeline) {
    auto* self = reinterpret_cast<spEventTimeline*>(timeline);
    for (int i = 0; i < self->framesCount; ++i) spEvent_dispose(self->events[i]);
    SK_FREE(self->events);
    SK_FREE(self->frames);
    SK_FREE(timeline->vtable);
    SK_FREE(self);
}

void disposeDrawOrder(spTimeline* timeline) {
    auto* self = reinterpret_cast<spDrawOrderTimeline*>(timeline);
    for (int i = 0; i < self->framesCount; ++i) SK_FREE(self->drawOrders[i]);
    SK_FREE(self->drawOrders);
    SK_FREE(self->frames);
    SK_FREE(timeline->vtable);
    SK_FREE(self);
}

void disposeFFD(spTimeline* timeline) {
    auto* self = reinterpret_cast<spFFDTimeline*>(timeline);
    for (int i = 0; i < self->framesCount; ++i) SK_FREE(self->frameVertices[i]);
    SK_FREE(self->frameVertices);
    SK_FREE(self->frames);
    deinitCurveTimeline(&self->super);
    SK_FREE(self);
}

void disposeFlip(spTimeline* timeline) {
    auto* self = reinterpret_cast<spFlipTimeline*>(timeline);
    SK_FREE(self->frames);
    SK_FREE(timeline->vtable);
    SK_FREE(self);
}

// Float index of a key of the given stride, or -1 when it lies outside the frames.
int keyStart(int framesCount, int stride, int frameIndex) {
    if (frameIndex < 0 || frameIndex >= framesCount / stride) return -1;
    return frameIndex * stride;
}

}  // namespace

void spTimeline_apply(const spTimeline* self, spSkeleton* skeleton, float lastTime, float time,
                      spEvent** firedEvents, int* eventsCount, float alpha) {
    if (self->vtable->apply) self->vtable->apply(self, skeleton, lastTime, time, firedEvents, eventsCount, alpha);
}

void spTimeline_dispose(spTimeline* self) {
    if (self) self->vtable->dispose(self);
}

void spCurveTimeline_setLinear(spCurveTimeline* self, int frameIndex) {
    if (float* c = span(self, frameIndex)) c[0] = SP_CURVE_LINEAR;
}

void spCurveTimeline_setStepped(spCurveTimeline* self, int frameIndex) {
    if (float* c = span(self, frameIndex)) c[0] = SP_CURVE_STEPPED;
}

void spCurveTimeline_setCurve(spCurveTimeline* self, int frameIndex, float cx1, float cy1, float cx2, float cy2) {
    float* c = span(self, frameIndex);
    if (!c) return;
    // Ten segments walked with forward differences; the constants are the first,
    // second and third powers of the segment width 1/10 times 3 or 6.
    const float subdiv1 = 3.f / 10, subdiv2 = 3.f / 100, subdiv3 = 1.f / 1000;
    const float pre4 = 6.f / 100, pre5 = 6.f / 1000;
    float t1x = -cx1 * 2 + cx2, t1y = -cy1 * 2 + cy2;
    float t2x = (cx1 - cx2) * 3 + 1, t2y = (cy1 - cy2) * 3 + 1;
    float dfx = cx1 * subdiv1 + t1x * subdiv2 + t2x * subdiv3;
    float dfy = cy1 * subdiv1 + t1y * subdiv2 + t2y * subdiv3;
    float ddfx = t1x * pre4 + t2x * pre5, ddfy = t1y * pre4 + t2y * pre5;
    float dddfx = t2x * pre5, dddfy = t2y * pre5;
    float x = dfx, y = dfy;
    c[0] = SP_CURVE_BEZIER;
    for (int i = 1; i < SP_CURVE_SPAN_SIZE; i += 2) {
        c[i] = x;
        c[i + 1] = y;
        dfx += ddfx;
        dfy += ddfy;
        ddfx += dddfx;
        ddfy += dddfy;
        x += dfx;
        y += dfy;
    }
}

float spCurveTimeline_getCurvePercent(const spCurveTimeline* self, int frameIndex, float percent) {
    const float* c = span(const_cast<spCurveTimeline*>(self), frameIndex);
    if (!c) return percent;
    if (c[0] == static_cast<float>(SP_CURVE_LINEAR)) return percent;
    if (c[0] == static_cast<float>(SP_CURVE_STEPPED)) return 0;
    float prevX = 0, prevY = 0;
    for (int i = 1; i < SP_CURVE_SPAN_SIZE; i += 2) {
        float x = c[i], y = c[i + 1];
        if (x >= percent) return prevY + (y - prevY) * (percent - prevX) / (x - prevX);
        prevX = x;
        prevY = y;
    }
    return prevY + (1 - prevY) * (percent - prevX) / (1 - prevX);
}

spBaseTimeline* spBaseTimeline_create(int frameCount, spTimelineType type, int stride, spTimelineApply apply) {
    spBaseTimeline* self = SK_NEW(spBaseTimeline);
    initCurveTimeline(&self->super, frameCount, type, apply, disposeBase);
    self->framesCount = keyCount(frameCount) * stride;
    self->frames = SK_CALLOC(float, self->framesCount);
    return self;
}

spScaleTimeline* spScaleTimeline_create(int frameCount) {
    return spBaseTimeline_create(frameCount, SP_TIMELINE_SCALE, 3, spScaleTimeline_apply);
}
spRotateTimeline* spRotateTimeline_create(int frameCount) {
    return spBaseTimeline_create(frameCount, SP_TIMELINE_ROTATE, 2, spRotateTimeline_apply);
}
spTranslateTimeline* spTranslateTimeline_create(int frameCount) {
    return spBaseTimeline_create(frameCount, SP_TIMELINE_TRANSLATE, 3, spTranslateTimeline_apply);
}
spColorTimeline* spColorTimeline_create(int frameCount) {
    return reinterpret_cast<spColorTimeline*>(
        spBaseTimeline_create(frameCount, SP_TIMELINE_COLOR, 5, spColorTimeline_apply));
}
spIkConstraintTimeline* spIkConstraintTimeline_create(int frameCount) {
    return reinterpret_cast<spIkConstraintTimeline*>(
        spBaseTimeline_create(frameCount, SP_TIMELINE_IKCONSTRAINT, 3, spIkConstraintTimeline_apply));
}

spAttachmentTimeline* spAttachmentTimeline_create(int frameCount) {
    spAttachmentTimeline* self = SK_NEW(spAttachmentTimeline);
    initTimeline(&self->super, SP_TIMELINE_ATTACHMENT, spAttachmentTimeline_apply, disposeAttachment);
    self->framesCount = keyCount(frameCount);
    self->frames = SK_CALLOC(float, self->framesCount);
    self->attachmentNames = SK_CALLOC(char*, self->framesCount);
    return self;
}

spEventTimeline* spEventTimeline_create(int frameCount) {
    spEventTimeline* self = SK_NEW(spEventTimeline);
    initTimeline(&self->super, SP_TIMELINE_EVENT, spEventTimeline_apply, disposeEvent);
    self->framesCount = keyCount(frameCount);
    self->frames = SK_CALLOC(float, self->framesCount);
    self->events = SK_CALLOC(spEvent*, self->framesCount);
    return self;
}

spDrawOrderTimeline* spDrawOrderTimeline_create(int frameCount, int slotsCount) {
    spDrawOrderTimeline* self = SK_NEW(spDrawOrderTimeline);
    initTimeline(&self->super, SP_TIMELINE_DRAWORDER, spDrawOrderTimeline_apply, disposeDrawOrder);
    self->framesCount = keyCount(frameCount);
    self->frames = SK_CALLOC(float, self->framesCount);
    self->drawOrders = SK_CALLOC(int*, self->framesCount);
    self->slotsCount = slotsCount > 0 ? slotsCount : 0;
    return self;
}

spFFDTimeline* spFFDTimeline_create(int frameCount, int frameVerticesCount) {
    spFFDTimeline* self = SK_NEW(spFFDTimeline);
    initCurveTimeline(&self->super, frameCount, SP_TIMELINE_FFD, spFFDTimeline_apply, disposeFFD);
    self->framesCount = keyCount(frameCount);
    self->frames = SK_CALLOC(float, self->framesCount);
    self->frameVertices = SK_CALLOC(float*, self->framesCount);
    self->frameVerticesCount = frameVerticesCount > 0 ? frameVerticesCount : 0;
    return self;
}

spFlipTimeline* spFlipTimeline_create(int frameCount, int x) {
    spFlipTimeline* self = SK_NEW(spFlipTimeline);
    initTimeline(&self->super, x ? SP_TIMELINE_FLIPX : SP_TIMELINE_FLIPY, spFlipTimeline_apply, disposeFlip);
    self->x = x;
    self->framesCount = keyCount(frameCount) * 2;
    self->frames = SK_CALLOC(float, self->framesCount);
    return self;
}

void spRotateTimeline_setFrame(spRotateTimeline* self, int frameIndex, float time, float angle) {
    int i = keyStart(self->framesCount, 2, frameIndex);
    if (i < 0) return;
    self->frames[i] = time;
    self->frames[i + 1] = angle;
}

void spTranslateTimeline_setFrame(spTranslateTimeline* self, int frameIndex, float time, float x, float y) {
    int i = keyStart(self->framesCount, 3, frameIndex);
    if (i < 0) return;
    self->frames[i] = time;
    self->frames[i + 1] = x;
    self->frames[i + 2] = y;
}

void spColorTimeline_setFrame(spColorTimeline* self, int frameIndex, float time, float r, float g, float b,
                              float a) {
    int i = keyStart(self->framesCount, 5, frameIndex);
    if (i < 0) return;
    float* f = self->frames + i;
    f[0] = time;
    f[1] = r;
    f[2] = g;
    f[3] = b;
    f[4] = a;
}

void spIkConstraintTimeline_setFrame(spIkConstraintTimeline* self, int frameIndex, float time, float mix,
                                     int bendDirection) {
    int i = keyStart(self->framesCount, 3, frameIndex);
    if (i < 0) return;
    self->frames[i] = time;
    self->frames[i + 1] = mix;
    self->frames[i + 2] = static_cast<float>(bendDirection);
}

void spFlipTimeline_setFrame(spFlipTimeline* self, int frameIndex, float time, int flip) {
    int i = keyStart(self->framesCount, 2, frameIndex);
    if (i < 0) return;
    self->frames[i] = time;
    self->frames[i + 1] = static_cast<float>(flip);
}

void spAttachmentTimeline_setFrame(spAttachmentTimeline* self, int frameIndex, float time,
                                   const char* attachmentName) {
    if (frameIndex < 0 || frameIndex >= self->framesCount) return;
    char* copy = SK_STRDUP(attachmentName);
    SK_FREE(self->attachmentNames[frameIndex]);
    self->attachmentNames[frameIndex] = copy;
    self->frames[frameIndex] = time;
}

void spEventTimeline_setFrame(spEventTimeline* self, int frameIndex, float time, spEvent* event) {
    if (frameIndex < 0 || frameIndex >= self->framesCount) {
        spEvent_dispose(event);
        return;
    }
    spEvent_dispose(self->events[frameIndex]);
    self->events[frameIndex] = event;
    self->frames[frameIndex] = time;
}

void spDrawOrderTimeline_setFrame(spDrawOrderTimeline* self, int frameIndex, float time, const int* drawOrder) {
    if (frameIndex < 0 || frameIndex >= self->framesCount) return;
    int* copy = nullptr;
    if (drawOrder) {
        copy = SK_MALLOC(int, self->slotsCount);
        for (int i = 0; i < self->slotsCount; ++i) copy[i] = drawOrder[i];
    }
    SK_FREE(self->drawOrders[frameIndex]);
    self->drawOrders[frameIndex] = copy;
    self->frames[frameIndex] = time;
}

void spFFDTimeline_setFrame(spFFDTimeline* self, int frameIndex, float time, const float* vertices) {
    if (frameIndex < 0 || frameIndex >= self->framesCount) return;
    float* copy = nullptr;
    if (vertices) {
        copy = SK_MALLOC(float, self->frameVerticesCount);
        for (int i = 0; i < self->frameVerticesCount; ++i) copy[i] = vertices[i];
    }
    SK_FREE(self->frameVertices[frameIndex]);
    self->frameVertices[frameIndex] = copy;
    self->frames[frameIndex] = time;
}

spAnimation* spAnimation_create(const char* name, int timelinesCount) {
    spAnimation* self = SK_NEW(spAnimation);
    self->name = SK_STRDUP(name);
    self->timelinesCount = timelinesCount > 0 ? timelinesCount : 0;
    self->timelines = SK_CALLOC(spTimeline*, self->timelinesCount);
    return self;
}

void spAnimation_dispose(spAnimation* self) {
    if (!self) return;
    for (int i = 0; i < self->timelinesCount; ++i) spTimeline_dispose(self->timelines[i]);
    SK_FREE(self->timelines);
    SK_FREE(self->name);
    SK_FREE(self);
}

int spAnimation_countEventKeys(const spAnimation* self) {
    int count = 0;
    for (int i = 0; i < self->timelinesCount; ++i) {
        const spTimeline* timeline = self->timelines[i];
        if (timeline && timeline->type == SP_TIMELINE_EVENT)
            count += reinterpret_cast<const spEventTimeline*>(timeline)->framesCount;
    }
    return count;
}

void spAnimation_mix(const spAnimation* self, spSkeleton* skeleton, float lastTime, float time, int loop,
                     spEvent** events, int* eventsCount, float alpha) {
    if (loop && self->duration != 0) {
        time = std::fmod(time, self->duration);
        // -1 marks an entry that has not started; wrapping it could give -0 and
        // hide the keys at 0 from the first apply.
        if (lastTime >= 0) lastTime = std::fmod(lastTime, self->duration);
    }
    for (int i = 0; i < self->timelinesCount; ++i)
        if (const spTimeline* timeline = self->timelines[i])
            spTimeline_apply(timeline, skeleton, lastTime, time, events, eventsCount, alpha);
}

void spAnimation_apply(const spAnimation* self, spSkeleton* skeleton, float lastTime, float time, int loop,
                       spEvent** events, int* eventsCount) {
    spAnimation_mix(self, skeleton, lastTime, time, loop, events, eventsCount, 1);
}
