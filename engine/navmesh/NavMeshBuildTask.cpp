#include "engine/navmesh/NavMeshBuildTask.h"

#include <recastnavigation/DetourNavMesh.h>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "engine/base/WorkerThreads.h"
#include "engine/navmesh/NavMeshBuilder.h"

namespace engine {

namespace {

WorkerThreads& buildThreads() {
    static WorkerThreads threads;
    return threads;
}

}  // namespace

std::shared_ptr<NavMeshBuildTask> NavMeshBuildTask::start(NavMeshGeometry geometry, Done done) {
    std::shared_ptr<NavMeshBuildTask> task(new NavMeshBuildTask(std::move(done)));
    buildThreads().joinFinished();
    std::string error;
    const bool started = buildThreads().start(
        [task, geometry = std::move(geometry)] {
            std::string error;
            dtNavMesh* mesh = buildDetourNavMesh(geometry, &error, &task->_stop);
            std::lock_guard<std::mutex> lock(task->_mutex);
            task->_mesh = mesh;
            task->_error = std::move(error);
            task->_ended = true;
        },
        &error);
    if (!started) {
        log("NavMesh: cannot start a building thread: %s", error.c_str());
        std::lock_guard<std::mutex> lock(task->_mutex);
        task->_error = "no thread to build on";
        task->_ended = true;
    }
    Scheduler* scheduler = Director::getInstance()->getScheduler();
    scheduler->performFunctionInEngineThread([task, scheduler] { check(task, scheduler); });
    return task;
}

NavMeshBuildTask::~NavMeshBuildTask() { dtFreeNavMesh(_mesh); }

void NavMeshBuildTask::cancel() {
    _stop = true;
    _done = nullptr;
}

void NavMeshBuildTask::check(const std::shared_ptr<NavMeshBuildTask>& task, Scheduler* scheduler) {
    if (!task->_done) return;   // cancelled
    dtNavMesh* mesh = nullptr;
    std::string error;
    bool ended = false;
    {
        std::lock_guard<std::mutex> lock(task->_mutex);
        if (task->_ended) {
            ended = true;
            mesh = task->_mesh;
            task->_mesh = nullptr;
            error = std::move(task->_error);
        }
    }
    if (!ended) {
        // The scheduler running this check is alive to take the next one.
        scheduler->performFunctionInEngineThread([task, scheduler] { check(task, scheduler); });
        return;
    }
    Done done = std::move(task->_done);
    task->_done = nullptr;
    done(mesh, error);
}

}  // namespace engine
