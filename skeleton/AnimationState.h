#pragma once
// Plays animations on a skeleton on numbered tracks. Each track has a current
// entry and a queue behind it; a new current entry cross-fades from the one it
// replaces over the mix table's duration. update advances the clocks and starts
// queued entries; apply poses the skeleton and reports start, end, complete and
// event notifications, the entry's own listener first, the state's second.
//
// Listeners may call any operation of the state (on any track) from any
// notification. An entry's end is notified once. After each notification the
// interrupted operation checks the track and stops when the listener changed
// it: the listener wins, and an entry the interrupted operation made but could
// not keep installed is disposed and not returned. Entries are never freed while
// a state call is running: disposal (through disposeTrackEntry) waits for the
// outermost call to return, so every entry a notification names stays readable
// until then. Track indices below 0 or from SP_ANIMATION_STATE_MAX_TRACKS on are
// refused, so that a state never holds more than that many tracks. Not
// thread-safe; dispose the state outside its own notifications (while
// spAnimationState_isRunning answers 0).
//
// A one-shot entry that has reached its end is applied at its end until it is
// replaced or its track is cleared: its events and discrete keys are delivered
// once, not again each frame while a queued successor waits for its delay.
#include "skeleton/AnimationStateData.h"
#include "skeleton/Skeleton.h"

// Tracks are numbered 0 .. SP_ANIMATION_STATE_MAX_TRACKS - 1.
enum { SP_ANIMATION_STATE_MAX_TRACKS = 256 };

enum spEventType {
    SP_ANIMATION_START = 0,
    SP_ANIMATION_END = 1,
    SP_ANIMATION_COMPLETE = 2,
    SP_ANIMATION_EVENT = 3,
};

struct spAnimationState;
struct spTrackEntry;

// event is set only for SP_ANIMATION_EVENT, loopCount only for SP_ANIMATION_COMPLETE.
using spAnimationStateListener = void (*)(spAnimationState* state, int trackIndex, spEventType type,
                                          spEvent* event, int loopCount);

struct spTrackEntry {
    spAnimationState* state;
    spTrackEntry* next;       // queued after this one
    spTrackEntry* previous;   // being mixed out; owned
    spAnimation* animation;
    int loop;
    float delay;
    float time, lastTime;     // lastTime -1 until the first apply
    float endTime;
    float timeScale;
    spAnimationStateListener listener;
    float mixTime, mixDuration, mix;
    void* rendererObject;     // the owner's per-entry data
    // Private.
    int endNotified;
    int disposed;             // waiting for disposal at the end of the outermost call
    spTrackEntry* disposeNext;
};

struct spAnimationState {
    spAnimationStateData* data;   // not owned
    float timeScale;
    spAnimationStateListener listener;
    int tracksCount;
    spTrackEntry** tracks;        // current entry per track, null when empty
    void* rendererObject;
    spEvent** events;             // reused by every apply; grows for animations with more event keys
    spTrackEntry* (*createTrackEntry)(spAnimationState* state);
    void (*disposeTrackEntry)(spTrackEntry* entry);
    // Private.
    int eventsCapacity;
    int eventsBusy;               // an apply is delivering from events
    int depth;                    // nesting of running state calls
    spTrackEntry* disposeHead;    // entries waiting for disposal, in order
    spTrackEntry* disposeTail;
};

spAnimationState* spAnimationState_create(spAnimationStateData* data);
// Every track's entries (current, previous and queued) through disposeTrackEntry.
void spAnimationState_dispose(spAnimationState* self);

// A step (delta times the state's time scale) that is not finite is ignored.
void spAnimationState_update(spAnimationState* self, float delta);
void spAnimationState_apply(spAnimationState* self, spSkeleton* skeleton);

// Ends the track's current entry and drops its queue. Entries the end listener
// queues take the track as on an empty one. Nothing for an empty track or an
// index outside the tracks.
void spAnimationState_clearTrack(spAnimationState* self, int trackIndex);
// Clears every track; the track count drops to the tracks a listener refilled.
void spAnimationState_clearTracks(spAnimationState* self);

// The new current entry, mixing from the one it replaces; the queue behind the
// old entry is dropped. Null for an index that is not a track, no animation, an
// unknown name, or when a listener replaced the entry before the call returned.
spTrackEntry* spAnimationState_setAnimation(spAnimationState* self, int trackIndex, spAnimation* animation,
                                            int loop);
spTrackEntry* spAnimationState_setAnimationByName(spAnimationState* self, int trackIndex, const char* animationName,
                                                  int loop);
// Queues the entry at the end of the track (current at once, without start
// notification, on an empty track). A delay <= 0 counts from the point where the
// mix into it must start: the last entry's end less the mix, plus delay. Null
// as for setAnimation, and for a delay that is not finite (nothing queued).
spTrackEntry* spAnimationState_addAnimation(spAnimationState* self, int trackIndex, spAnimation* animation,
                                            int loop, float delay);
spTrackEntry* spAnimationState_addAnimationByName(spAnimationState* self, int trackIndex,
                                                  const char* animationName, int loop, float delay);

// Whether the index names a track (0 .. SP_ANIMATION_STATE_MAX_TRACKS - 1).
int spAnimationState_isTrackIndex(int trackIndex);
// Whether a call of the state is running (a notification is being delivered).
int spAnimationState_isRunning(const spAnimationState* self);

// The track's current entry; null outside the tracks.
spTrackEntry* spAnimationState_getTrackEntry(const spAnimationState* self, int trackIndex);

// The default hooks.
spTrackEntry* spTrackEntry_create(spAnimationState* state);
// Disposes previous through the state's hook, then frees the entry.
void spTrackEntry_dispose(spTrackEntry* entry);
