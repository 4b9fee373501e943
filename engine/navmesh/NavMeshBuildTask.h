#pragma once
// A navigation mesh built on a worker thread, so that a build of seconds does
// not hold the frames. start hands the geometry to a thread of its own, which
// builds the Detour mesh (engine/navmesh/NavMeshBuilder.h) and leaves the
// outcome in the task; the main thread picks it up through the director's
// scheduler: a check handed to performFunctionInEngineThread looks once a
// frame and hands itself over again until the build has ended, then runs done
// once (never inside start), with the mesh (the receiver owns it from then on)
// or null and the refusal.
//
// Contract:
// - start, cancel and done: main thread only. The worker touches nothing but
//   the geometry it owns and the task's outcome, under the task's mutex; it
//   never touches the scheduler, so a director destroyed before the build ends
//   is no hazard (the check goes with its scheduler, done never runs).
// - cancel drops done (it never runs afterwards) and raises the build's stop
//   flag: the worker gives up at the build's next check.
// - A mesh nobody took is freed with the task, on whichever thread lets go of
//   it last. Build threads are joined as later builds start and at exit.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "engine/navmesh/NavMeshGeometry.h"

class dtNavMesh;

namespace engine {

class Scheduler;

class NavMeshBuildTask {
public:
    using Done = std::function<void(dtNavMesh* mesh, const std::string& error)>;

    static std::shared_ptr<NavMeshBuildTask> start(NavMeshGeometry geometry, Done done);
    ~NavMeshBuildTask();
    void cancel();

    NavMeshBuildTask(const NavMeshBuildTask&) = delete;
    NavMeshBuildTask& operator=(const NavMeshBuildTask&) = delete;

private:
    explicit NavMeshBuildTask(Done done) : _done(std::move(done)) {}
    // On the main thread: done when the build has ended, else the same check
    // handed to the scheduler again.
    static void check(const std::shared_ptr<NavMeshBuildTask>& task, Scheduler* scheduler);

    Done _done;                          // main thread only
    std::atomic<bool> _stop{false};
    std::mutex _mutex;
    bool _ended = false;                 // the outcome below is final; under _mutex
    dtNavMesh* _mesh = nullptr;          // under _mutex
    std::string _error;                  // under _mutex
};

}  // namespace engine
