#pragma once
// Timers and per-frame updates, driven once a frame by the director.
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/base/Ref.h"

namespace engine {

using SchedulerFunc = std::function<void(float dt)>;

class Scheduler : public Ref {
public:
    static constexpr unsigned int REPEAT_FOREVER = 0xfffffffe;

    Scheduler();
    ~Scheduler() override;

    // Advances every timer and update by dt seconds (scaled by the time scale), then
    // runs the functions handed over from other threads. Main thread only.
    void update(float dt);

    // A callback known by (key, target). Fires every `interval` seconds (every frame
    // when 0) after an initial `delay`, `repeat` + 1 times in all (REPEAT_FOREVER: no end).
    // Scheduling an existing (key, target) again only changes its interval.
    void schedule(const SchedulerFunc& callback, void* target, float interval, unsigned int repeat,
                  float delay, bool paused, const std::string& key);
    void schedule(const SchedulerFunc& callback, void* target, float interval, bool paused,
                  const std::string& key);
    void unschedule(const std::string& key, void* target);
    bool isScheduled(const std::string& key, const void* target) const;

    // Per-frame update of a target; lower priorities run first, equal ones in insertion order.
    void scheduleUpdate(void* target, int priority, bool paused, const SchedulerFunc& update);
    void unscheduleUpdate(void* target);

    void unscheduleAllForTarget(void* target);
    void unscheduleAll();

    void pauseTarget(void* target);
    void resumeTarget(void* target);
    bool isTargetPaused(void* target) const;

    void setTimeScale(float scale) { _timeScale = scale; }
    float getTimeScale() const { return _timeScale; }

    // Thread-safe: queues fn to run on the main thread during the next update().
    void performFunctionInEngineThread(std::function<void()> fn);
    // Number of functions waiting to be run (for tests and diagnostics).
    size_t pendingFunctionCount() const;

private:
    struct Timer;
    struct Update;
    std::vector<std::unique_ptr<Timer>> _timers;
    std::vector<std::unique_ptr<Update>> _updates;
    std::vector<void*> _pausedTargets;
    float _timeScale = 1.0f;
    bool _updating = false;

    mutable std::mutex _functionsMutex;
    std::vector<std::function<void()>> _functionsToPerform;
};

}  // namespace engine
