#include "skeleton/AnimationStateData.h"

#include "skeleton/extension.h"

spAnimationStateData* spAnimationStateData_create(spSkeletonData* skeletonData) {
    spAnimationStateData* self = SK_NEW(spAnimationStateData);
    self->skeletonData = skeletonData;
    return self;
}

void spAnimationStateData_dispose(spAnimationStateData* self) {
    if (!self) return;
    spMixFromEntry* from = self->entries;
    while (from) {
        spMixToEntry* to = from->toEntries;
        while (to) {
            spMixToEntry* nextTo = to->next;
            SK_FREE(to);
            to = nextTo;
        }
        spMixFromEntry* nextFrom = from->next;
        SK_FREE(from);
        from = nextFrom;
    }
    SK_FREE(self);
}

void spAnimationStateData_setMix(spAnimationStateData* self, spAnimation* from, spAnimation* to, float duration) {
    spMixFromEntry* fromEntry = self->entries;
    while (fromEntry && fromEntry->animation != from) fromEntry = fromEntry->next;
    if (!fromEntry) {
        fromEntry = SK_NEW(spMixFromEntry);
        fromEntry->animation = from;
        fromEntry->next = self->entries;
        self->entries = fromEntry;
    }
    for (spMixToEntry* toEntry = fromEntry->toEntries; toEntry; toEntry = toEntry->next) {
        if (toEntry->animation == to) {
            toEntry->duration = duration;
            return;
        }
    }
    spMixToEntry* toEntry = SK_NEW(spMixToEntry);
    toEntry->animation = to;
    toEntry->duration = duration;
    toEntry->next = fromEntry->toEntries;
    fromEntry->toEntries = toEntry;
}

void spAnimationStateData_setMixByName(spAnimationStateData* self, const char* fromName, const char* toName,
                                       float duration) {
    spAnimation* from = spSkeletonData_findAnimation(self->skeletonData, fromName);
    spAnimation* to = spSkeletonData_findAnimation(self->skeletonData, toName);
    if (from && to) spAnimationStateData_setMix(self, from, to, duration);
}

float spAnimationStateData_getMix(const spAnimationStateData* self, const spAnimation* from, const spAnimation* to) {
    for (const spMixFromEntry* fromEntry = self->entries; fromEntry; fromEntry = fromEntry->next) {
        if (fromEntry->animation != from) continue;
        for (const spMixToEntry* toEntry = fromEntry->toEntries; toEntry; toEntry = toEntry->next)
            if (toEntry->animation == to) return toEntry->duration;
        break;
    }
    return self->defaultMix;
}
