#pragma once
// Named tasks that each run one external program with its output captured, polled
// once a frame on the engine's scheduler. When a task completes, an engine custom
// event named after the task is dispatched.
#include <string>

#include "engine/base/Ref.h"
#include "host/player/PlayerServiceProtocol.h"

namespace player {

class PlayerTask : public engine::Ref {
public:
    enum State { STATE_IDLE = 0, STATE_RUNNING = 1, STATE_COMPLETED = 2 };
    // Upper bound of `output` (the last read may pass it by one read's worth).
    static constexpr size_t MAX_OUTPUT_LENGTH = 16384;

    ~PlayerTask() override = default;
    virtual bool run() = 0;
    virtual void stop() = 0;
    virtual void runInTerminal() = 0;
    virtual void update(float dt) = 0;

    std::string getName() const { return name; }
    std::string getExecutePath() const { return executePath; }
    std::string getCommandLineArguments() const { return commandLineArguments; }
    std::string getOutput() const { return output; }
    int getState() const { return state; }
    bool isIdle() const { return state == STATE_IDLE; }
    bool isRunning() const { return state == STATE_RUNNING; }
    bool isCompleted() const { return state == STATE_COMPLETED; }
    // 0 until the process ends; then its exit code (128 + signal when killed), -1
    // after stop(), or the system error number when it could not be started.
    int getResultCode() const { return resultCode; }
    // Seconds the task has been polled while running.
    float getLifetime() const { return lifetime; }

protected:
    PlayerTask(const std::string& taskName, const std::string& path, const std::string& arguments)
        : name(taskName), executePath(path), commandLineArguments(arguments) {}

    std::string name;
    std::string executePath;
    std::string commandLineArguments;
    std::string output;
    float lifetime = 0;
    int state = STATE_IDLE;
    int resultCode = 0;
};

class PlayerTaskServiceProtocol : public PlayerServiceProtocol {
public:
    // A new idle task; null (and an assertion) when the name is taken.
    virtual PlayerTask* createTask(const std::string& name, const std::string& executePath,
                                   const std::string& commandLineArguments) = 0;
    virtual PlayerTask* getTask(const std::string& name) = 0;
    // Stops a task that has not completed, then forgets it.
    virtual void removeTask(const std::string& name) = 0;
};

}  // namespace player
