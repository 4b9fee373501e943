// The animation state: setting, queueing and clearing entries with their
// timing and mixing, loop counts, the order of notifications, and listeners
// that change the state from inside any notification.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "skeleton/AnimationRig.h"
#include "skeleton/AnimationState.h"
#include "skeleton/extension.h"

namespace {

using skeleton_test::AnimationRig;
using Lines = std::vector<std::string>;

const char* const kTypeNames[] = {"start", "end", "complete", "event"};

// Logs every notification as "<listener> <track> <type> <track's current> [event | loopCount]";
// react runs after the line is logged.
struct Recorder {
    Lines log;
    std::function<void(spAnimationState*, int track, spEventType, bool byEntry, spEvent*)> react;
    std::map<const spTrackEntry*, int> ends;   // end notifications per entry
    bool endsByEntry = false;                    // counted from the entry's listener, else the state's
};

void record(bool byEntry, spAnimationState* state, int track, spEventType type, spEvent* event, int loopCount) {
    auto* r = static_cast<Recorder*>(state->rendererObject);
    spTrackEntry* current = spAnimationState_getTrackEntry(state, track);
    std::string line = std::string(byEntry ? "entry " : "state ") + std::to_string(track) + " " + kTypeNames[type] +
                       " " + (current ? current->animation->name : "-");
    if (type == SP_ANIMATION_EVENT) line += std::string(" ") + event->data->name;
    if (type == SP_ANIMATION_COMPLETE) line += " " + std::to_string(loopCount);
    r->log.push_back(line);
    if (type == SP_ANIMATION_END && byEntry == r->endsByEntry) ++r->ends[current];
    if (r->react) r->react(state, track, type, byEntry, event);
}
void entryListener(spAnimationState* s, int track, spEventType type, spEvent* event, int loopCount) {
    record(true, s, track, type, event, loopCount);
}
void stateListener(spAnimationState* s, int track, spEventType type, spEvent* event, int loopCount) {
    record(false, s, track, type, event, loopCount);
}

class AnimationState : public ::testing::Test {
protected:
    void SetUp() override {
        // one: 1 s, moves bone b from x 1 to 11, events a and b at 0.5.
        spTranslateTimeline* move = spTranslateTimeline_create(2);
        move->boneIndex = 1;
        spTranslateTimeline_setFrame(move, 0, 0, 0, 0);
        spTranslateTimeline_setFrame(move, 1, 1, 10, 0);
        one = rig.animation("one", 1, {&move->super.super, &rig.events({{0.5f, "a"}, {0.5f, "b"}})->super});
        // two: 2 s, holds bone b at x 101.
        spTranslateTimeline* hold = spTranslateTimeline_create(1);
        hold->boneIndex = 1;
        spTranslateTimeline_setFrame(hold, 0, 0, 100, 0);
        two = rig.animation("two", 2, {&hold->super.super});
        idle = rig.animation("idle", 1, {});
        three = rig.animation("three", 1, {});
        mix = spAnimationStateData_create(rig.data);
        state = spAnimationState_create(mix);
        state->rendererObject = &rec;
        state->listener = stateListener;
    }
    void TearDown() override {
        spAnimationState_dispose(state);
        spAnimationStateData_dispose(mix);
    }
    void frame(float delta) {
        spAnimationState_update(state, delta);
        spAnimationState_apply(state, rig.skeleton);
    }
    // The track's current animation and its queue, by name.
    Lines track(int index) const {
        Lines names;
        for (spTrackEntry* e = spAnimationState_getTrackEntry(state, index); e; e = e->next)
            names.push_back(e->animation->name);
        return names;
    }

    AnimationRig rig;
    spAnimation *one = nullptr, *two = nullptr, *idle = nullptr, *three = nullptr;
    spAnimationStateData* mix = nullptr;
    spAnimationState* state = nullptr;
    Recorder rec;
};

TEST_F(AnimationState, MixTableLooksUpPairsAndDefaults) {
    mix->defaultMix = 0.1f;
    spAnimationStateData_setMix(mix, one, two, 0.5f);
    spAnimationStateData_setMix(mix, one, two, 0.25f);   // overwrites
    spAnimationStateData_setMixByName(mix, "two", "one", 0.75f);
    spAnimationStateData_setMixByName(mix, "two", "nothing", 9);   // ignored
    EXPECT_EQ(spAnimationStateData_getMix(mix, one, two), 0.25f);
    EXPECT_EQ(spAnimationStateData_getMix(mix, two, one), 0.75f);
    EXPECT_EQ(spAnimationStateData_getMix(mix, two, idle), 0.1f);
    EXPECT_EQ(spAnimationStateData_getMix(mix, idle, one), 0.1f);
    int pairs = 0;
    for (spMixFromEntry* from = mix->entries; from; from = from->next)
        for (spMixToEntry* to = from->toEntries; to; to = to->next) ++pairs;
    EXPECT_EQ(pairs, 2);
}

TEST_F(AnimationState, SetAnimationStartsAndReplacesWithEndThenStart) {
    spTrackEntry* first = spAnimationState_setAnimation(state, 0, one, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->endTime, 1.f);
    EXPECT_EQ(first->lastTime, -1.f);
    EXPECT_EQ(spAnimationState_getTrackEntry(state, 0), first);
    first->listener = entryListener;
    spTrackEntry* second = spAnimationState_setAnimationByName(state, 2, "two", 1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(state->tracksCount, 3);
    spTrackEntry* third = spAnimationState_setAnimation(state, 0, idle, 0);
    EXPECT_EQ(third->previous, nullptr);   // no mix: replaced at once
    EXPECT_EQ(rec.log, (Lines{"state 0 start one", "state 2 start two", "entry 0 end one", "state 0 end one",
                              "state 0 start idle"}));
}

TEST_F(AnimationState, RefusesNegativeTracksAndUnknownNames) {
    spTrackEntry* current = spAnimationState_setAnimation(state, 0, one, 1);
    rec.log.clear();
    EXPECT_EQ(spAnimationState_setAnimation(state, -1, two, 0), nullptr);
    EXPECT_EQ(spAnimationState_addAnimation(state, -1, two, 0, 0), nullptr);
    EXPECT_EQ(spAnimationState_setAnimationByName(state, 0, "nothing", 0), nullptr);
    EXPECT_EQ(spAnimationState_addAnimationByName(state, 0, "nothing", 0, 0), nullptr);
    EXPECT_EQ(spAnimationState_setAnimationByName(state, 0, nullptr, 0), nullptr);
    EXPECT_EQ(spAnimationState_getTrackEntry(state, -1), nullptr);
    EXPECT_EQ(spAnimationState_getTrackEntry(state, 1), nullptr);
    spAnimationState_clearTrack(state, -1);
    spAnimationState_clearTrack(state, 4);
    // Indices past the last track, and delays that are not finite, allocate nothing.
    for (int index : {static_cast<int>(SP_ANIMATION_STATE_MAX_TRACKS), 100000000, 2147483647}) {
        EXPECT_EQ(spAnimationState_setAnimation(state, index, two, 0), nullptr) << index;
        EXPECT_EQ(spAnimationState_addAnimation(state, index, two, 0, 0), nullptr) << index;
    }
    for (float delay : {NAN, INFINITY, -INFINITY})
        EXPECT_EQ(spAnimationState_addAnimation(state, 0, two, 0, delay), nullptr) << delay;
    EXPECT_EQ(rec.log, Lines{});
    EXPECT_EQ(spAnimationState_getTrackEntry(state, 0), current);
    EXPECT_EQ(current->next, nullptr);
    EXPECT_EQ(state->tracksCount, 1);
    EXPECT_NE(spAnimationState_setAnimation(state, SP_ANIMATION_STATE_MAX_TRACKS - 1, two, 0), nullptr);
    EXPECT_EQ(state->tracksCount, SP_ANIMATION_STATE_MAX_TRACKS);
}

TEST_F(AnimationState, SetAnimationAnswersNoneForAnEntryAListenerReplaced) {
    // The replaced entry still mixes out, so it is alive but no longer current.
    spAnimationStateData_setMix(mix, two, idle, 0.5f);
    rec.react = [](spAnimationState* s, int track, spEventType type, bool, spEvent*) {
        spTrackEntry* current = spAnimationState_getTrackEntry(s, track);
        if (type == SP_ANIMATION_START && current->animation->name == std::string("two"))
            spAnimationState_setAnimation(s, 0, spSkeletonData_findAnimation(s->data->skeletonData, "idle"), 1);
    };
    EXPECT_EQ(spAnimationState_setAnimation(state, 0, two, 1), nullptr);
    spTrackEntry* current = spAnimationState_getTrackEntry(state, 0);
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->animation, idle);
    ASSERT_NE(current->previous, nullptr);
    EXPECT_EQ(current->previous->animation, two);
}

// A finished one-shot entry waiting for a queued successor: its event fires once
// and its attachment key is not set again over a later change.
TEST_F(AnimationState, FinishedOneShotDeliversItsKeysOnce) {
    spAttachmentTimeline* show = spAttachmentTimeline_create(1);
    show->slotIndex = 0;
    spAttachmentTimeline_setFrame(show, 0, 0.25f, "other");
    spAnimation* shot = rig.animation("shot", 0.5f, {&rig.events({{0.25f, "a"}})->super, &show->super});
    spAnimationState_setAnimation(state, 0, shot, 0);
    spAnimationState_addAnimation(state, 0, two, 0, 2);
    spSlot* slot = rig.slot("s0");
    for (int i = 0; i < 30; ++i) {
        frame(0.1f);
        if (i == 9) {
            EXPECT_EQ(slot->attachment, rig.attachment("other"));
            spSlot_setAttachment(slot, rig.attachment("box"));
        }
        if (i >= 9) {
            EXPECT_EQ(slot->attachment, rig.attachment("box")) << "frame " << i;
        }
    }
    EXPECT_EQ(rec.log, (Lines{"state 0 start shot", "state 0 event shot a", "state 0 complete shot 1",
                              "state 0 end shot", "state 0 start two"}));
}

TEST_F(AnimationState, MixesFromTheReplacedEntryUntilFullyIn) {
    spAnimationStateData_setMix(mix, one, two, 0.5f);
    spAnimationState_setAnimation(state, 0, one, 0);
    frame(0.5f);   // one at 0.5: x = 1 + 5
    EXPECT_FLOAT_EQ(rig.bone("b")->x, 6);
    spTrackEntry* entry = spAnimationState_setAnimation(state, 0, two, 0);
    EXPECT_EQ(entry->mixDuration, 0.5f);
    ASSERT_NE(entry->previous, nullptr);
    EXPECT_EQ(entry->previous->animation, one);
    frame(0.25f);   // previous one at 0.75 (x 8.5), two mixed in by half towards 101
    EXPECT_FLOAT_EQ(rig.bone("b")->x, 8.5f + (101 - 8.5f) * 0.5f);
    frame(0.25f);   // fully in: the previous entry goes
    EXPECT_FLOAT_EQ(rig.bone("b")->x, 101);
    EXPECT_EQ(entry->previous, nullptr);
}

TEST_F(AnimationState, NewMixStartsFromTheCloserEntry) {
    spAnimationStateData_setMix(mix, one, two, 1);
    spAnimationStateData_setMix(mix, two, three, 1);
    struct Case { float mixedIn; const char* previous; };
    for (const Case& k : {Case{0.25f, "one"}, Case{0.75f, "two"}}) {
        spAnimationState_setAnimation(state, 0, one, 1);
        spAnimationState_setAnimation(state, 0, two, 1);
        frame(k.mixedIn);
        spTrackEntry* entry = spAnimationState_setAnimation(state, 0, three, 1);
        ASSERT_NE(entry->previous, nullptr);
        EXPECT_STREQ(entry->previous->animation->name, k.previous) << k.mixedIn;
        spAnimationState_clearTracks(state);
    }
}

TEST_F(AnimationState, AddAnimationDelays) {
    spAnimationStateData_setMix(mix, two, one, 0.5f);
    struct Case { bool behindTwo; float delay; float expected; };
    const Case cases[] = {
        {false, 0, 0}, {false, -1, 0}, {false, 2, 2},
        {true, 0, 1.5f}, {true, -0.25f, 1.25f}, {true, 3, 3},
    };
    for (const Case& k : cases) {
        spAnimationState_clearTracks(state);
        if (k.behindTwo) spAnimationState_setAnimation(state, 0, two, 0);
        rec.log.clear();
        spTrackEntry* entry = spAnimationState_addAnimation(state, 0, one, 0, k.delay);
        EXPECT_FLOAT_EQ(entry->delay, k.expected) << k.behindTwo << " " << k.delay;
        EXPECT_EQ(spAnimationState_getTrackEntry(state, 0) == entry, !k.behindTwo);
        EXPECT_EQ(rec.log, Lines{}) << "adding notifies nothing";
    }
}

TEST_F(AnimationState, QueuedEntryStartsAtTheOvershoot) {
    spAnimationState_setAnimation(state, 0, one, 0);
    spTrackEntry* queued = spAnimationState_addAnimation(state, 0, two, 0, 0);
    EXPECT_EQ(queued->delay, 1.f);
    frame(0.6f);
    frame(0.6f);   // lastTime 1.2 passes the delay; the switch waits for the next update
    EXPECT_EQ(track(0), (Lines{"one", "two"}));
    spAnimationState_update(state, 0.1f);
    EXPECT_EQ(spAnimationState_getTrackEntry(state, 0), queued);
    EXPECT_NEAR(queued->time, 0.2f, 1e-6f);
    EXPECT_EQ(rec.log, (Lines{"state 0 start one", "state 0 event one a", "state 0 event one b",
                              "state 0 complete one 1", "state 0 end one", "state 0 start two"}));
}

TEST_F(AnimationState, EntryThatDoesNotLoopEndsItsTrack) {
    spAnimationState_setAnimation(state, 0, two, 0);
    frame(1.5f);
    frame(1.5f);   // time 3 is applied as 2: complete
    EXPECT_EQ(track(0), Lines{"two"});
    spAnimationState_update(state, 0.1f);
    EXPECT_EQ(track(0), Lines{});
    EXPECT_EQ(rec.log, (Lines{"state 0 start two", "state 0 complete two 1", "state 0 end two"}));
}

TEST_F(AnimationState, TimeScalesMultiply) {
    state->timeScale = 2;
    spTrackEntry* entry = spAnimationState_setAnimation(state, 0, two, 1);
    entry->timeScale = 0.25f;
    spAnimationState_update(state, 1);
    EXPECT_FLOAT_EQ(entry->time, 0.5f);
}

TEST_F(AnimationState, LoopCounts) {
    spAnimation* none = rig.animation("none", 0, {});
    struct Case { const char* what; spAnimation* animation; int loop; std::vector<float> frames; Lines completes; };
    const Case cases[] = {
        {"looping 0.9 to 1.1", one, 1, {0.9f, 0.2f}, {"1"}},
        {"looping over several", one, 1, {0.9f, 0.2f, 0.5f, 0.5f, 0.95f}, {"1", "2", "3"}},
        {"counted from the start", one, 1, {0.6f, 1.9f}, {"2"}},
        {"once", one, 0, {0.9f, 0.2f, 0.5f}, {"1"}},
        {"zero length, once", none, 0, {0.1f}, {"1"}},
        {"zero length, looping", none, 1, {0.1f, 0.1f, 0.1f}, {"1"}},
    };
    for (const Case& k : cases) {
        spAnimationState_setAnimation(state, 0, k.animation, k.loop);
        rec.log.clear();
        for (float f : k.frames) frame(f);
        Lines completes;
        for (const std::string& line : rec.log)
            if (line.find(" complete ") != std::string::npos) completes.push_back(line.substr(line.rfind(' ') + 1));
        EXPECT_EQ(completes, k.completes) << k.what;
        spAnimationState_clearTracks(state);
    }
}

TEST_F(AnimationState, NotificationOrderEntryBeforeState) {
    spAnimationStateData_setMix(mix, one, two, 0.25f);
    spTrackEntry* entry = spAnimationState_setAnimation(state, 1, one, 0);
    entry->listener = entryListener;
    frame(0.75f);
    frame(0.5f);
    spTrackEntry* next = spAnimationState_setAnimation(state, 1, two, 0);
    next->listener = entryListener;   // too late for its own start
    spAnimationState_clearTrack(state, 1);
    EXPECT_EQ(rec.log, (Lines{"state 1 start one", "entry 1 event one a", "state 1 event one a", "entry 1 event one b",
                              "state 1 event one b", "entry 1 complete one 1", "state 1 complete one 1",
                              "entry 1 end one", "state 1 end one", "state 1 start two", "entry 1 end two",
                              "state 1 end two"}));
}

TEST_F(AnimationState, ManyEventsInOneApplyAreAllDelivered) {
    std::vector<std::pair<float, const char*>> keys;
    const char* names[] = {"a", "b", "c", "d"};
    for (int i = 0; i < 150; ++i) keys.push_back({i / 200.f, names[i % 4]});
    spAnimation* busy = rig.animation("busy", 1, {&rig.events(keys)->super});
    spAnimationState_setAnimation(state, 0, busy, 0);
    rec.log.clear();
    frame(1);
    ASSERT_EQ(rec.log.size(), 151u);   // every event, then complete
    for (int i = 0; i < 150; ++i) EXPECT_EQ(rec.log[i], std::string("state 0 event busy ") + names[i % 4]) << i;
    EXPECT_GE(state->eventsCapacity, 150);
}

int gAllocations = 0;
void* countingMalloc(size_t size) {
    ++gAllocations;
    return std::malloc(size);
}

TEST_F(AnimationState, FramesAllocateNothing) {
    spAnimationStateData_setMix(mix, one, two, 0.5f);
    spAnimationState_setAnimation(state, 0, one, 1);
    spAnimationState_setAnimation(state, 1, one, 1);   // events and completes every second
    frame(0.1f);
    spAnimationState_setAnimation(state, 0, two, 1);   // mixing from one
    skeleton_setMallocHook(countingMalloc);
    for (int i = 0; i < 40; ++i) frame(0.05f);   // events, completes and the end of the mix
    skeleton_setMallocHook(nullptr);
    EXPECT_EQ(gAllocations, 0);
}

// Listener reactions against notifications: whichever listener reacts, the
// reaction wins, the interrupted operation stops, no entry ends twice, and every
// entry made is disposed exactly once (counted through the hooks).
int gCreated = 0, gDisposed = 0;
spTrackEntry* countingCreate(spAnimationState* s) {
    ++gCreated;
    return spTrackEntry_create(s);
}
void countingDispose(spTrackEntry* e) {
    ++gDisposed;
    spTrackEntry_dispose(e);
}

TEST_F(AnimationState, ListenerReactionsAgainstNotifications) {
    enum Notification { Start, EndBySet, EndByQueue, EndByClear, EndByClearAll, Event, Complete };
    const char* const notificationNames[] = {"start",  "end by set", "end by queue", "end by clear",
                                             "end by clear all", "event", "complete"};
    enum Reaction { Set, Add, Clear, ClearAll, SetOther };
    const char* const reactionNames[] = {"set", "add", "clear", "clear all", "set on track 5"};
    // Track 0 afterwards (current, then queue); the other tracks are checked below.
    const std::map<std::pair<Reaction, Notification>, Lines> expected = {
        {{Add, Start}, {"one", "idle"}},       {{Add, EndBySet}, {"two", "idle"}},
        {{Add, EndByQueue}, {"two", "idle"}},  {{Add, EndByClear}, {"idle"}},
        {{Add, EndByClearAll}, {"idle"}},      {{Add, Event}, {"one", "idle"}},
        {{Add, Complete}, {"one", "idle"}},
        {{SetOther, Start}, {"one"}},          {{SetOther, EndBySet}, {"two"}},
        {{SetOther, EndByQueue}, {"two"}},     {{SetOther, EndByClear}, {}},
        {{SetOther, EndByClearAll}, {}},       {{SetOther, Event}, {"one"}},
        {{SetOther, Complete}, {"one"}},
    };
    const spEventType typeOf[] = {SP_ANIMATION_START, SP_ANIMATION_END, SP_ANIMATION_END, SP_ANIMATION_END,
                                  SP_ANIMATION_END, SP_ANIMATION_EVENT, SP_ANIMATION_COMPLETE};

    for (bool byEntry : {false, true}) {
        for (int n = Start; n <= Complete; ++n) {
            for (int r = Set; r <= SetOther; ++r) {
                const std::string what = std::string(reactionNames[r]) + " on " + notificationNames[n] + " by " +
                                         (byEntry ? "entry" : "state");
                gCreated = gDisposed = 0;
                spAnimationState* s = spAnimationState_create(mix);
                s->createTrackEntry = countingCreate;
                s->disposeTrackEntry = countingDispose;
                Recorder rr;
                rr.endsByEntry = byEntry;
                s->rendererObject = &rr;
                s->listener = stateListener;
                spAnimationState_setAnimation(s, 1, three, 1);   // another track, for clear all
                bool reacted = false;
                rr.react = [&](spAnimationState* st, int trackIndex, spEventType type, bool fromEntry, spEvent*) {
                    spTrackEntry* current = spAnimationState_getTrackEntry(st, trackIndex);
                    if (reacted || fromEntry != byEntry || trackIndex != 0 || type != typeOf[n]) return;
                    if (!current || current->animation != one) return;
                    reacted = true;
                    switch (r) {
                    case Set: spAnimationState_setAnimation(st, 0, idle, 1); break;
                    case Add: spAnimationState_addAnimation(st, 0, idle, 1, 0); break;
                    case Clear: spAnimationState_clearTrack(st, 0); break;
                    case ClearAll: spAnimationState_clearTracks(st); break;
                    case SetOther: spAnimationState_setAnimation(st, 5, idle, 1); break;
                    }
                };
                auto setOne = [&](int loop) {
                    spTrackEntry* e = spAnimationState_setAnimation(s, 0, one, loop);
                    if (byEntry) e->listener = entryListener;
                };
                spTrackEntry* returned = nullptr;
                switch (n) {
                case Start:
                    // An entry listener has to be in place before the entry starts.
                    if (byEntry) s->createTrackEntry = [](spAnimationState* st) {
                        spTrackEntry* e = countingCreate(st);
                        e->listener = entryListener;
                        return e;
                    };
                    returned = spAnimationState_setAnimation(s, 0, one, 1);
                    s->createTrackEntry = countingCreate;
                    break;
                case EndBySet:
                    setOne(0);
                    returned = spAnimationState_setAnimation(s, 0, two, 0);
                    break;
                case EndByQueue:
                    setOne(0);
                    spAnimationState_addAnimation(s, 0, two, 0, 0.5f);
                    spAnimationState_update(s, 0.6f);
                    spAnimationState_apply(s, rig.skeleton);
                    spAnimationState_update(s, 0.1f);   // lastTime 0.6 passed the delay
                    break;
                case EndByClear:
                    setOne(0);
                    spAnimationState_clearTrack(s, 0);
                    break;
                case EndByClearAll:
                    setOne(0);
                    spAnimationState_clearTracks(s);
                    break;
                case Event:
                    setOne(1);
                    spAnimationState_update(s, 0.6f);
                    spAnimationState_apply(s, rig.skeleton);
                    break;
                case Complete:
                    setOne(1);
                    spAnimationState_update(s, 0.9f);
                    spAnimationState_apply(s, rig.skeleton);
                    spAnimationState_update(s, 0.2f);
                    spAnimationState_apply(s, rig.skeleton);
                    break;
                }
                EXPECT_TRUE(reacted) << what;

                Lines track0;
                for (spTrackEntry* e = spAnimationState_getTrackEntry(s, 0); e; e = e->next)
                    track0.push_back(e->animation->name);
                Lines want;
                if (r == Set) want = {"idle"};
                else if (r == Clear || r == ClearAll) want = {};
                else want = expected.at({static_cast<Reaction>(r), static_cast<Notification>(n)});
                EXPECT_EQ(track0, want) << what;

                spTrackEntry* five = spAnimationState_getTrackEntry(s, 5);
                EXPECT_EQ(five != nullptr, r == SetOther) << what;
                spTrackEntry* other = spAnimationState_getTrackEntry(s, 1);
                EXPECT_EQ(other != nullptr, r != ClearAll && n != EndByClearAll) << what;

                // What setAnimation returns is alive and current, or none when the listener took over.
                if (n == Start || n == EndBySet) {
                    bool kept = r == Add || r == SetOther;
                    EXPECT_EQ(returned != nullptr, kept) << what;
                    if (returned) {
                        EXPECT_EQ(returned, spAnimationState_getTrackEntry(s, 0)) << what;
                    }
                }
                // The event reaction that takes the track stops the second event.
                if (n == Event && (r == Set || r == Clear || r == ClearAll)) {
                    int events = 0;
                    for (const std::string& line : rr.log) events += line.find(" event ") != std::string::npos;
                    EXPECT_EQ(events, 1) << what;
                }
                for (const auto& [entry, count] : rr.ends) EXPECT_EQ(count, 1) << what;

                // A few more frames run clean on whatever the listener left.
                rr.react = nullptr;
                for (int i = 0; i < 3; ++i) {
                    spAnimationState_update(s, 0.4f);
                    spAnimationState_apply(s, rig.skeleton);
                }
                spAnimationState_dispose(s);
                EXPECT_EQ(gCreated, gDisposed) << what;
            }
        }
    }
}

}  // namespace
