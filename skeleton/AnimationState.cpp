#include "skeleton/AnimationState.h"

#include <climits>
#include <cmath>

#include "skeleton/extension.h"

namespace {

constexpr int kInitialEventsCapacity = 64;

void disposePending(spAnimationState* self) {
    ++self->depth;   // a dispose hook that calls back into the state queues, not frees
    while (spTrackEntry* entry = self->disposeHead) {
        self->disposeHead = entry->disposeNext;
        if (!self->disposeHead) self->disposeTail = nullptr;
        self->disposeTrackEntry(entry);
    }
    --self->depth;
}

// One running state call; the outermost disposes what the calls retired.
class CallScope {
public:
    explicit CallScope(spAnimationState* state) : _state(state) { ++_state->depth; }
    ~CallScope() {
        if (--_state->depth == 0) disposePending(_state);
    }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

private:
    spAnimationState* _state;
};

// Queues a detached entry (and the previous entries it owns) for disposal.
void retire(spAnimationState* self, spTrackEntry* entry) {
    if (!entry || entry->disposed) return;
    for (spTrackEntry* e = entry; e; e = e->previous) e->disposed = 1;
    entry->next = nullptr;
    entry->disposeNext = nullptr;
    if (self->disposeTail) self->disposeTail->disposeNext = entry;
    else self->disposeHead = entry;
    self->disposeTail = entry;
}

void retireChain(spAnimationState* self, spTrackEntry* entry) {
    while (entry) {
        spTrackEntry* next = entry->next;
        retire(self, entry);
        entry = next;
    }
}

bool isCurrent(const spAnimationState* self, int index, const spTrackEntry* entry) {
    return index < self->tracksCount && self->tracks[index] == entry;
}

// The track's current entry; grows the track array (returning null) when the
// index lies beyond it.
spTrackEntry* expandTracks(spAnimationState* self, int index) {
    if (index < self->tracksCount) return self->tracks[index];
    spTrackEntry** tracks = SK_CALLOC(spTrackEntry*, index + 1);
    for (int i = 0; i < self->tracksCount; ++i) tracks[i] = self->tracks[i];
    SK_FREE(self->tracks);
    self->tracks = tracks;
    self->tracksCount = index + 1;
    return nullptr;
}

// Entry listener, then the state's unless the first replaced the entry. True
// while the entry is still the track's current one.
bool notify(spAnimationState* self, int index, spTrackEntry* entry, spEventType type, spEvent* event,
            int loopCount) {
    if (entry->listener) {
        entry->listener(self, index, type, event, loopCount);
        if (!isCurrent(self, index, entry)) return false;
    }
    if (self->listener) self->listener(self, index, type, event, loopCount);
    return isCurrent(self, index, entry);
}

// Once per entry, always to both listeners.
void notifyEnd(spAnimationState* self, int index, spTrackEntry* entry) {
    if (entry->endNotified) return;
    entry->endNotified = 1;
    if (entry->listener) entry->listener(self, index, SP_ANIMATION_END, nullptr, 0);
    if (self->listener) self->listener(self, index, SP_ANIMATION_END, nullptr, 0);
}

void setCurrentEntry(spAnimationState* self, int index, spTrackEntry* entry) {
    spTrackEntry* current = expandTracks(self, index);
    if (current) {
        spTrackEntry* previous = current->previous;
        current->previous = nullptr;
        notifyEnd(self, index, current);
        if (!isCurrent(self, index, current)) {
            // A listener took the track over: it keeps it.
            retire(self, previous);
            retireChain(self, entry);
            return;
        }
        if (current->next) {
            // Entries a listener queued behind the ending one wait behind the new one.
            spTrackEntry* last = entry;
            while (last->next) last = last->next;
            last->next = current->next;
            current->next = nullptr;
        }
        entry->mixDuration = spAnimationStateData_getMix(self->data, current->animation, entry->animation);
        if (entry->mixDuration > 0) {
            entry->mixTime = 0;
            // Mix from whichever of the two shows more.
            if (previous && current->mixTime / current->mixDuration < 0.5f) {
                entry->previous = previous;
                retire(self, current);
            } else {
                entry->previous = current;
                retire(self, previous);
            }
        } else {
            retire(self, current);
            retire(self, previous);
        }
    }
    self->tracks[index] = entry;

    if (entry->listener) {
        entry->listener(self, index, SP_ANIMATION_START, nullptr, 0);
        if (!isCurrent(self, index, entry)) return;
    }
    if (self->listener) self->listener(self, index, SP_ANIMATION_START, nullptr, 0);
}

spTrackEntry* newEntry(spAnimationState* self, spAnimation* animation, int loop) {
    spTrackEntry* entry = self->createTrackEntry(self);
    entry->animation = animation;
    entry->loop = loop;
    entry->endTime = animation->duration;
    return entry;
}

// The buffer one track's apply collects into: the state's own, grown to the
// animation's event keys, or a private one when an outer apply is still
// delivering from the state's.
class EventBuffer {
public:
    EventBuffer(spAnimationState* state, int needed) : _state(state) {
        if (state->eventsBusy) {
            events = SK_CALLOC(spEvent*, needed > 0 ? needed : 1);
            _own = true;
            return;
        }
        if (needed > state->eventsCapacity) {
            SK_FREE(state->events);
            state->events = SK_CALLOC(spEvent*, needed);
            state->eventsCapacity = needed;
        }
        events = state->events;
        state->eventsBusy = 1;
    }
    ~EventBuffer() {
        if (_own) SK_FREE(events);
        else _state->eventsBusy = 0;
    }
    EventBuffer(const EventBuffer&) = delete;
    EventBuffer& operator=(const EventBuffer&) = delete;

    spEvent** events = nullptr;

private:
    spAnimationState* _state;
    bool _own = false;
};

// Whether the step from lastTime to time completes the entry (or a loop of it).
bool completes(const spTrackEntry* entry, float time, int* loopCount) {
    float lastTime = entry->lastTime, endTime = entry->endTime;
    if (!(endTime > 0)) {
        // Nothing to loop through: complete once, when first reached.
        *loopCount = 1;
        return lastTime < endTime && time >= endTime;
    }
    bool done = entry->loop ? std::fmod(lastTime, endTime) > std::fmod(time, endTime)
                            : lastTime < endTime && time >= endTime;
    if (!done) return false;
    double loops = static_cast<double>(time) / endTime;
    *loopCount = loops >= INT_MAX ? INT_MAX : loops > 0 ? static_cast<int>(loops) : 0;
    return true;
}

}  // namespace

spTrackEntry* spTrackEntry_create(spAnimationState* state) {
    spTrackEntry* self = SK_NEW(spTrackEntry);
    self->state = state;
    self->lastTime = -1;
    self->timeScale = 1;
    self->mix = 1;
    return self;
}

void spTrackEntry_dispose(spTrackEntry* entry) {
    if (!entry) return;
    if (entry->previous) entry->state->disposeTrackEntry(entry->previous);
    SK_FREE(entry);
}

spAnimationState* spAnimationState_create(spAnimationStateData* data) {
    spAnimationState* self = SK_NEW(spAnimationState);
    self->data = data;
    self->timeScale = 1;
    self->events = SK_CALLOC(spEvent*, kInitialEventsCapacity);
    self->eventsCapacity = kInitialEventsCapacity;
    self->createTrackEntry = spTrackEntry_create;
    self->disposeTrackEntry = spTrackEntry_dispose;
    return self;
}

void spAnimationState_dispose(spAnimationState* self) {
    if (!self) return;
    disposePending(self);
    for (int i = 0; i < self->tracksCount; ++i) {
        spTrackEntry* entry = self->tracks[i];
        while (entry) {
            spTrackEntry* next = entry->next;
            self->disposeTrackEntry(entry);
            entry = next;
        }
    }
    SK_FREE(self->tracks);
    SK_FREE(self->events);
    SK_FREE(self);
}

void spAnimationState_update(spAnimationState* self, float delta) {
    delta *= self->timeScale;
    if (!std::isfinite(delta)) return;
    CallScope scope(self);
    for (int i = 0; i < self->tracksCount; ++i) {
        spTrackEntry* current = self->tracks[i];
        if (!current) continue;
        current->time += delta * current->timeScale;
        if (spTrackEntry* previous = current->previous) {
            float d = delta * previous->timeScale;
            previous->time += d;
            current->mixTime += d;
        }
        if (spTrackEntry* next = current->next) {
            next->time = current->lastTime - next->delay;
            if (next->time >= 0) {
                current->next = nullptr;
                setCurrentEntry(self, i, next);
            }
        } else if (!current->loop && current->lastTime >= current->endTime) {
            spAnimationState_clearTrack(self, i);
        }
    }
}

void spAnimationState_apply(spAnimationState* self, spSkeleton* skeleton) {
    CallScope scope(self);
    for (int i = 0; i < self->tracksCount; ++i) {
        spTrackEntry* current = self->tracks[i];
        if (!current) continue;
        EventBuffer buffer(self, spAnimation_countEventKeys(current->animation));
        int eventsCount = 0;
        // A finished one-shot entry holds its end: both times are clamped to it, so
        // that while it waits for a queued successor its keys are not taken for a
        // wrap and its events fire once.
        float time = current->time, lastTime = current->lastTime;
        if (!current->loop && time > current->endTime) time = current->endTime;
        if (!current->loop && lastTime > current->endTime) lastTime = current->endTime;

        if (spTrackEntry* previous = current->previous) {
            float alpha = current->mixTime / current->mixDuration * current->mix;
            float previousTime = previous->time;
            if (!previous->loop && previousTime > previous->endTime) previousTime = previous->endTime;
            spAnimation_apply(previous->animation, skeleton, previousTime, previousTime, previous->loop, nullptr,
                              nullptr);
            if (alpha >= 1) {
                alpha = 1;
                current->previous = nullptr;
                retire(self, previous);
            }
            spAnimation_mix(current->animation, skeleton, lastTime, time, current->loop, buffer.events,
                            &eventsCount, alpha);
        } else if (current->mix == 1) {
            spAnimation_apply(current->animation, skeleton, lastTime, time, current->loop, buffer.events,
                              &eventsCount);
        } else {
            spAnimation_mix(current->animation, skeleton, lastTime, time, current->loop, buffer.events,
                            &eventsCount, current->mix);
        }

        bool kept = true;
        for (int j = 0; kept && j < eventsCount; ++j)
            kept = notify(self, i, current, SP_ANIMATION_EVENT, buffer.events[j], 0);
        if (!kept) continue;
        int loopCount = 0;
        if (completes(current, time, &loopCount) &&
            !notify(self, i, current, SP_ANIMATION_COMPLETE, nullptr, loopCount))
            continue;
        current->lastTime = current->time;
    }
}

void spAnimationState_clearTrack(spAnimationState* self, int trackIndex) {
    if (trackIndex < 0 || trackIndex >= self->tracksCount) return;
    spTrackEntry* current = self->tracks[trackIndex];
    if (!current) return;
    CallScope scope(self);
    retireChain(self, current->next);
    current->next = nullptr;
    notifyEnd(self, trackIndex, current);
    if (!isCurrent(self, trackIndex, current)) return;   // a listener took the track over
    // What the end listener queued plays on as if added to the empty track.
    self->tracks[trackIndex] = current->next;
    current->next = nullptr;
    retire(self, current);
}

void spAnimationState_clearTracks(spAnimationState* self) {
    CallScope scope(self);
    // Tracks a listener fills beyond these while they end are the listener's.
    int count = self->tracksCount;
    for (int i = 0; i < count; ++i) spAnimationState_clearTrack(self, i);
    int used = self->tracksCount;
    while (used > 0 && !self->tracks[used - 1]) --used;
    self->tracksCount = used;
}

spTrackEntry* spAnimationState_setAnimation(spAnimationState* self, int trackIndex, spAnimation* animation,
                                            int loop) {
    if (!spAnimationState_isTrackIndex(trackIndex) || !animation) return nullptr;
    CallScope scope(self);
    if (spTrackEntry* current = expandTracks(self, trackIndex)) {
        retireChain(self, current->next);
        current->next = nullptr;
    }
    spTrackEntry* entry = newEntry(self, animation, loop);
    setCurrentEntry(self, trackIndex, entry);
    // A listener may have replaced it (it can still be mixing out, not disposed).
    return isCurrent(self, trackIndex, entry) ? entry : nullptr;
}

spTrackEntry* spAnimationState_setAnimationByName(spAnimationState* self, int trackIndex, const char* animationName,
                                                  int loop) {
    return spAnimationState_setAnimation(
        self, trackIndex, spSkeletonData_findAnimation(self->data->skeletonData, animationName), loop);
}

spTrackEntry* spAnimationState_addAnimation(spAnimationState* self, int trackIndex, spAnimation* animation,
                                            int loop, float delay) {
    if (!spAnimationState_isTrackIndex(trackIndex) || !animation || !std::isfinite(delay)) return nullptr;
    CallScope scope(self);
    spTrackEntry* entry = newEntry(self, animation, loop);
    spTrackEntry* last = expandTracks(self, trackIndex);
    if (last) {
        while (last->next) last = last->next;
        last->next = entry;
    } else {
        self->tracks[trackIndex] = entry;
    }
    if (delay <= 0) {
        delay = last ? last->endTime - spAnimationStateData_getMix(self->data, last->animation, animation) + delay
                     : 0;
    }
    entry->delay = delay;
    return entry;
}

spTrackEntry* spAnimationState_addAnimationByName(spAnimationState* self, int trackIndex,
                                                  const char* animationName, int loop, float delay) {
    return spAnimationState_addAnimation(
        self, trackIndex, spSkeletonData_findAnimation(self->data->skeletonData, animationName), loop, delay);
}

int spAnimationState_isRunning(const spAnimationState* self) { return self->depth > 0; }

int spAnimationState_isTrackIndex(int trackIndex) {
    return trackIndex >= 0 && trackIndex < SP_ANIMATION_STATE_MAX_TRACKS;
}

spTrackEntry* spAnimationState_getTrackEntry(const spAnimationState* self, int trackIndex) {
    if (trackIndex < 0 || trackIndex >= self->tracksCount) return nullptr;
    return self->tracks[trackIndex];
}
