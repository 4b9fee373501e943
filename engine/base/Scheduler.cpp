#include "engine/base/Scheduler.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "engine/base/Log.h"
#include "engine/script/ScriptEngineManager.h"
#include "engine/script/ScriptEvent.h"

namespace engine {

struct Scheduler::Timer {
    std::string key;
    void* target = nullptr;
    SchedulerFunc callback;
    float interval = 0.f;
    float delay = 0.f;
    unsigned int repeat = 0;
    unsigned int timesFired = 0;
    float elapsed = 0.f;
    bool waitingForDelay = false;
    bool dead = false;
};

struct Scheduler::Update {
    void* target = nullptr;
    int priority = 0;
    SchedulerFunc callback;
    bool dead = false;
};

Scheduler::Scheduler() = default;
Scheduler::~Scheduler() = default;

Scheduler::Timer* Scheduler::findTimer(const std::string& key, const void* target) const {
    for (const auto& timer : _timers) {
        if (!timer->dead && timer->target == target && timer->key == key) return timer.get();
    }
    return nullptr;
}

Scheduler::Update* Scheduler::findUpdate(const void* target) const {
    for (const auto& update : _updates) {
        if (!update->dead && update->target == target) return update.get();
    }
    for (const auto& update : _updatesToAdd) {
        if (update->target == target) return update.get();
    }
    return nullptr;
}

bool Scheduler::hasLiveEntries(const void* target) const {
    if (findUpdate(target)) return true;
    return std::any_of(_timers.begin(), _timers.end(), [target](const auto& timer) {
        return !timer->dead && timer->target == target;
    });
}

void Scheduler::adoptPausedState(void* target, bool paused) {
    if (hasLiveEntries(target)) return;
    if (paused) {
        pauseTarget(target);
    } else {
        resumeTarget(target);
    }
}

void Scheduler::schedule(const SchedulerFunc& callback, void* target, float interval,
                         unsigned int repeat, float delay, bool paused, const std::string& key) {
    if (!callback) {
        log("Scheduler: no callback for key '%s'", key.c_str());
        return;
    }
    if (interval < 0.f) interval = 0.f;
    if (Timer* existing = findTimer(key, target)) {
        existing->interval = interval;
        return;
    }
    adoptPausedState(target, paused);
    auto timer = std::make_unique<Timer>();
    timer->key = key;
    timer->target = target;
    timer->callback = callback;
    timer->interval = interval;
    timer->delay = delay > 0.f ? delay : 0.f;
    timer->repeat = repeat;
    timer->waitingForDelay = delay > 0.f;
    // Appended: a timer added during update() lies past the range being walked.
    _timers.push_back(std::move(timer));
}

void Scheduler::schedule(const SchedulerFunc& callback, void* target, float interval, bool paused,
                         const std::string& key) {
    schedule(callback, target, interval, REPEAT_FOREVER, 0.f, paused, key);
}

void Scheduler::unschedule(const std::string& key, void* target) {
    for (size_t i = 0; i < _timers.size(); ++i) {
        Timer& timer = *_timers[i];
        if (timer.dead || timer.target != target || timer.key != key) continue;
        if (_updating) {
            timer.dead = true;   // may be the running callback: erased when update() ends
        } else {
            _timers.erase(_timers.begin() + static_cast<ptrdiff_t>(i));
        }
        return;
    }
}

bool Scheduler::isScheduled(const std::string& key, const void* target) const {
    return findTimer(key, target) != nullptr;
}

void Scheduler::insertUpdate(std::unique_ptr<Update> update) {
    // After every entry of the same or a lower priority: equal priorities keep their order.
    auto pos = std::find_if(_updates.begin(), _updates.end(), [&](const auto& other) {
        return other->priority > update->priority;
    });
    _updates.insert(pos, std::move(update));
}

void Scheduler::scheduleUpdate(void* target, int priority, bool paused, const SchedulerFunc& update) {
    if (!update) return;
    unscheduleUpdate(target);
    adoptPausedState(target, paused);
    auto entry = std::make_unique<Update>();
    entry->target = target;
    entry->priority = priority;
    entry->callback = update;
    if (_updating) {
        _updatesToAdd.push_back(std::move(entry));
    } else {
        insertUpdate(std::move(entry));
    }
}

void Scheduler::unscheduleUpdate(void* target) {
    auto pending = std::find_if(_updatesToAdd.begin(), _updatesToAdd.end(),
                                [target](const auto& u) { return u->target == target; });
    if (pending != _updatesToAdd.end()) {
        _updatesToAdd.erase(pending);   // never ran: nothing can be executing it
        return;
    }
    for (size_t i = 0; i < _updates.size(); ++i) {
        Update& entry = *_updates[i];
        if (entry.dead || entry.target != target) continue;
        if (_updating) {
            entry.dead = true;
        } else {
            _updates.erase(_updates.begin() + static_cast<ptrdiff_t>(i));
        }
        return;
    }
}

bool Scheduler::isUpdateScheduled(const void* target) const { return findUpdate(target) != nullptr; }

namespace {

const std::string kScriptTimerKey = "scriptEntry";

void releaseScriptHandler(int handler) {
    if (handler == 0) return;
    if (ScriptEngineProtocol* scripts = ScriptEngineManager::getInstance()->getScriptEngine()) {
        scripts->removeScriptHandler(handler);
    }
}

}  // namespace

unsigned int Scheduler::scheduleScriptFunc(int handler, float interval, bool paused) {
    unsigned int id = _lastScriptEntryId;
    do {
        ++id;
    } while (id == 0 || _scriptEntries.count(id) != 0);
    _lastScriptEntryId = id;
    auto entry = std::make_unique<ScriptEntry>();
    entry->handler = handler;
    void* target = entry.get();
    _scriptEntries.emplace(id, std::move(entry));
    schedule(
        [handler](float dt) {
            ScriptEngineProtocol* scripts = ScriptEngineManager::getInstance()->getScriptEngine();
            if (!scripts) return;
            SchedulerScriptData data(handler, dt);
            ScriptEvent event(SCHEDULE_EVENT, &data);
            scripts->sendEvent(&event);
        },
        target, interval, paused, kScriptTimerKey);
    return id;
}

void Scheduler::unscheduleScriptEntry(unsigned int entryId) {
    auto found = _scriptEntries.find(entryId);
    if (found == _scriptEntries.end()) return;
    std::unique_ptr<ScriptEntry> entry = std::move(found->second);
    _scriptEntries.erase(found);
    unschedule(kScriptTimerKey, entry.get());
    resumeTarget(entry.get());
    releaseScriptHandler(entry->handler);
}

void Scheduler::unscheduleAllForTarget(void* target) {
    unscheduleUpdate(target);
    if (_updating) {
        for (auto& timer : _timers) {
            if (timer->target == target) timer->dead = true;
        }
    } else {
        std::erase_if(_timers, [target](const auto& timer) { return timer->target == target; });
    }
}

void Scheduler::unscheduleAll() {
    auto scriptEntries = std::move(_scriptEntries);
    _scriptEntries.clear();
    for (const auto& [id, entry] : scriptEntries) {
        (void)id;
        resumeTarget(entry.get());
    }
    _updatesToAdd.clear();
    if (_updating) {
        for (auto& timer : _timers) timer->dead = true;
        for (auto& update : _updates) update->dead = true;
    } else {
        _timers.clear();
        _updates.clear();
    }
    for (const auto& [id, entry] : scriptEntries) {
        (void)id;
        releaseScriptHandler(entry->handler);
    }
}

void Scheduler::pauseTarget(void* target) {
    _pausedTargets.insert(target);
}

void Scheduler::resumeTarget(void* target) { _pausedTargets.erase(target); }

bool Scheduler::isTargetPaused(void* target) const {
    return _pausedTargets.count(target) != 0;
}

void Scheduler::runTimer(Timer& timer, float dt) {
    const bool forever = timer.repeat == REPEAT_FOREVER;
    unsigned int firings = 0;
    auto fire = [&](float since) {
        ++firings;
        ++timer.timesFired;
        // Settled before the call: the last call may schedule the key afresh, and a
        // call that throws must not leave the timer owing another one.
        if (!forever && timer.timesFired > timer.repeat) timer.dead = true;
        timer.callback(since);
    };

    timer.elapsed += dt;
    if (timer.waitingForDelay) {
        if (timer.elapsed < timer.delay) return;
        timer.elapsed -= timer.delay;
        timer.waitingForDelay = false;
        fire(timer.delay);
        // An every-frame timer starts with the next frame after its delay.
        if (timer.dead || timer.interval <= 0.f) {
            timer.elapsed = 0.f;
            return;
        }
    }
    if (timer.interval <= 0.f) {
        float since = timer.elapsed;
        timer.elapsed = 0.f;
        fire(since);
        return;
    }
    while (!timer.dead && timer.elapsed >= timer.interval) {
        if (firings == MAX_FIRINGS_PER_UPDATE) {
            // What is left of a stall is dropped; the timer keeps its phase. (Also
            // ends the loop when the interval is below the float step of elapsed.)
            timer.elapsed = std::fmod(timer.elapsed, timer.interval);
            return;
        }
        timer.elapsed -= timer.interval;
        fire(timer.interval);
    }
}

void Scheduler::removeDeadEntries() {
    std::erase_if(_timers, [](const auto& timer) { return timer->dead; });
    std::erase_if(_updates, [](const auto& update) { return update->dead; });
    std::vector<std::unique_ptr<Update>> added;
    added.swap(_updatesToAdd);
    for (auto& update : added) insertUpdate(std::move(update));
}

void Scheduler::update(float dt) {
    if (_updating) {
        log("Scheduler: nested update() ignored");
        return;
    }
    dt *= _timeScale;
    {
        _updating = true;
        // Also when a callback throws: the scheduler must take the next update().
        struct EndWalk {
            Scheduler& scheduler;
            ~EndWalk() {
                scheduler._updating = false;
                scheduler.removeDeadEntries();
            }
        } endWalk{*this};
        // Timers added by any callback of this update are appended past `timerCount`
        // and wait for the next update.
        const size_t timerCount = _timers.size();

        // _updates does not grow during the walk (additions wait in _updatesToAdd).
        for (size_t i = 0; i < _updates.size(); ++i) {
            Update& entry = *_updates[i];
            if (entry.dead || isTargetPaused(entry.target)) continue;
            entry.callback(dt);
        }

        for (size_t i = 0; i < timerCount; ++i) {
            Timer& timer = *_timers[i];   // the object stays put even if the vector grows
            if (timer.dead || isTargetPaused(timer.target)) continue;
            runTimer(timer, dt);
        }
    }

    std::vector<std::function<void()>> functions;
    {
        std::lock_guard<std::mutex> lock(_functionsMutex);
        functions.swap(_functionsToPerform);
    }
    // When a function throws, those not yet run go back to the front of the queue.
    size_t next = 0;
    struct Requeue {
        Scheduler& scheduler;
        std::vector<std::function<void()>>& functions;
        size_t& next;
        ~Requeue() {
            if (next >= functions.size()) return;
            std::lock_guard<std::mutex> lock(scheduler._functionsMutex);
            auto& queue = scheduler._functionsToPerform;
            queue.insert(queue.begin(), std::make_move_iterator(functions.begin() + static_cast<ptrdiff_t>(next)),
                         std::make_move_iterator(functions.end()));
        }
    } requeue{*this, functions, next};
    while (next < functions.size()) {
        std::function<void()> fn = std::move(functions[next++]);
        if (fn) fn();
    }
}

void Scheduler::performFunctionInEngineThread(std::function<void()> fn) {
    std::lock_guard<std::mutex> lock(_functionsMutex);
    _functionsToPerform.push_back(std::move(fn));
}

size_t Scheduler::pendingFunctionCount() const {
    std::lock_guard<std::mutex> lock(_functionsMutex);
    return _functionsToPerform.size();
}

}  // namespace engine
