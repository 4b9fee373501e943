#pragma once
// Timers and per-frame updates, driven once a frame by the director.
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/base/Ref.h"

namespace engine {

using SchedulerFunc = std::function<void(float dt)>;

// One update() runs, in this order: the per-frame updates (by priority), the timers
// (in the order they were scheduled), then the functions handed over from other
// threads. Targets that are paused are skipped.
//
// Catch-up: in one update() a timer fires once for every interval that has passed,
// but never more than MAX_FIRINGS_PER_UPDATE times; what a longer frame (a stall,
// a debugger break) leaves over is dropped, and the timer keeps its phase. So a
// timer keeps exact time as long as no frame lasts more than five of its intervals
// (at 60 frames a second: any interval above 1/300 s), and a 1 ms timer after a
// 60 s stall fires 5 times in the next frame, not 60,000.
//
// An exception thrown by a callback or a handed-over function leaves update() and
// reaches its caller. The scheduler stays usable: the callbacks not reached are
// skipped for that frame, and handed-over functions not yet run stay queued ahead
// of newer ones for the next update().
//
// Changes made from inside a callback are safe:
// - an unscheduled timer or update is never called again, not even later in the
//   same update (this includes a callback unscheduling its own key);
// - a timer or update scheduled during update() is first run by the next update(),
//   and its time starts counting there.
class Scheduler : public Ref {
public:
    static constexpr unsigned int REPEAT_FOREVER = 0xfffffffe;
    // The most times one timer fires in one update() (see the catch-up rule above).
    static constexpr unsigned int MAX_FIRINGS_PER_UPDATE = 5;

    Scheduler();
    ~Scheduler() override;

    // Advances every timer and update by dt seconds (scaled by the time scale), then
    // runs the functions handed over from other threads. Main thread only.
    void update(float dt);

    // A callback known by (key, target). Fires every `interval` seconds (every frame
    // when 0) after an initial `delay`, `repeat` + 1 times in all (REPEAT_FOREVER: no end).
    // Scheduling an existing (key, target) again only changes its interval.
    // The callback gets the time since it last fired: the interval for an interval
    // timer (a long frame fires it several times, within the catch-up rule), the
    // frame's delta for an every-frame timer, the delay for the first firing after
    // a delay.
    // `paused` sets the target's paused state when the target has nothing scheduled
    // yet; otherwise the target keeps its state.
    void schedule(const SchedulerFunc& callback, void* target, float interval, unsigned int repeat,
                  float delay, bool paused, const std::string& key);
    void schedule(const SchedulerFunc& callback, void* target, float interval, bool paused,
                  const std::string& key);
    void unschedule(const std::string& key, void* target);
    bool isScheduled(const std::string& key, const void* target) const;

    // Per-frame update of a target; lower priorities run first, equal ones in insertion order.
    // Scheduling a target's update again replaces it (new priority and function).
    void scheduleUpdate(void* target, int priority, bool paused, const SchedulerFunc& update);
    void unscheduleUpdate(void* target);
    bool isUpdateScheduled(const void* target) const;

    // Script timers. `handler` is a script handler id; each firing hands the script
    // engine a SCHEDULE_EVENT with (handler, dt), dt following the timer rules above
    // (every frame when interval is 0). A paused entry never fires. The entry holds
    // the handler and releases it through the script engine when it is unscheduled.
    // Returns the entry id, never 0.
    unsigned int scheduleScriptFunc(int handler, float interval, bool paused);
    // Unknown ids are ignored; an entry may unschedule itself from its callback.
    void unscheduleScriptEntry(unsigned int entryId);
    bool isScriptEntryScheduled(unsigned int entryId) const { return _scriptEntries.count(entryId) != 0; }

    void unscheduleAllForTarget(void* target);
    // Also drops every script timer (their handlers are released).
    void unscheduleAll();

    void pauseTarget(void* target);
    void resumeTarget(void* target);
    bool isTargetPaused(void* target) const;

    void setTimeScale(float scale) { _timeScale = scale; }
    float getTimeScale() const { return _timeScale; }

    // Thread-safe: queues fn to run on the main thread during the next update().
    // Functions queued by a running function run in the update after.
    void performFunctionInEngineThread(std::function<void()> fn);
    // Number of functions waiting to be run (for tests and diagnostics).
    size_t pendingFunctionCount() const;

private:
    struct Timer;
    struct Update;
    Timer* findTimer(const std::string& key, const void* target) const;
    Update* findUpdate(const void* target) const;
    bool hasLiveEntries(const void* target) const;
    void adoptPausedState(void* target, bool paused);
    void insertUpdate(std::unique_ptr<Update> update);
    void removeDeadEntries();
    void runTimer(Timer& timer, float dt);

    std::vector<std::unique_ptr<Timer>> _timers;
    std::vector<std::unique_ptr<Update>> _updates;
    // Updates scheduled while update() runs; merged in by priority when it ends.
    std::vector<std::unique_ptr<Update>> _updatesToAdd;
    std::unordered_set<void*> _pausedTargets;   // constant-time: every node that leaves the scene is paused
    // Script timers by entry id; each entry's address is its timer's target.
    struct ScriptEntry {
        int handler = 0;
    };
    std::map<unsigned int, std::unique_ptr<ScriptEntry>> _scriptEntries;
    unsigned int _lastScriptEntryId = 0;
    float _timeScale = 1.0f;
    bool _updating = false;

    mutable std::mutex _functionsMutex;
    std::vector<std::function<void()>> _functionsToPerform;
};

}  // namespace engine
