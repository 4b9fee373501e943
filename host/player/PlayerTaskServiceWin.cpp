#include "host/player/PlayerTaskServiceWin.h"

#include <sys/wait.h>

#include <thread>
#include <vector>

#include "engine/base/Director.h"
#include "engine/base/Event.h"
#include "engine/base/EventDispatcher.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "engine/script/ScriptEngineManager.h"
#include "platform/Process.h"

namespace player {

namespace {

constexpr size_t kReadSize = 4095;
// Reads per frame while the child runs: bounds the frame's work when the child
// writes faster than we read.
constexpr int kReadsPerFrame = 256;

}  // namespace

// ---------------------------------------------------------------------------
// PlayerTaskWin

PlayerTaskWin::PlayerTaskWin(const std::string& taskName, const std::string& path, const std::string& arguments)
    : PlayerTask(taskName, path, arguments) {}

PlayerTaskWin* PlayerTaskWin::create(const std::string& name, const std::string& executePath,
                                     const std::string& commandLineArguments) {
    auto* task = new PlayerTaskWin(name, executePath, commandLineArguments);
    task->autorelease();
    return task;
}

PlayerTaskWin::~PlayerTaskWin() = default;   // the child, if any, is killed and reaped

bool PlayerTaskWin::run() {
    if (state != STATE_IDLE) {
        engine::log("PlayerTaskWin::run() - task is not idle");
        return false;
    }
    _child = std::make_unique<platform::ChildProcess>();
    if (!_child->start(executePath, platform::splitCommandLine(commandLineArguments))) {
        engine::log("PlayerTaskWin::run() - create process failed, for execute %s", executePath.c_str());
        resultCode = _child->error();
        cleanup();
        return false;
    }
    state = STATE_RUNNING;
    engine::Director::getInstance()->getScheduler()->scheduleUpdate(this, 0, false,
                                                                    [this](float dt) { update(dt); });
    return true;
}

void PlayerTaskWin::readOutput(bool drain) {
    char buffer[kReadSize + 1];
    for (int reads = 0; drain || reads < kReadsPerFrame; ++reads) {
        const ssize_t n = _child->readOutput(buffer, kReadSize);
        if (n <= 0) break;
        if (output.size() <= MAX_OUTPUT_LENGTH) {
            _decoder.feed(buffer, static_cast<size_t>(n), output);
        }   // past the bound: read and dropped, so the child never blocks
    }
}

void PlayerTaskWin::update(float dt) {
    if (state != STATE_RUNNING) return;
    lifetime += dt;
    readOutput(false);
    int code = 0;
    if (_child->pollExit(&code)) {
        readOutput(true);   // the last lines written before the exit
        resultCode = _child->error() ? _child->error() : code;
        cleanup();
    }
}

void PlayerTaskWin::stop() {
    if (state == STATE_COMPLETED) return;
    if (_child && _child->started()) {
        _child->kill();
        resultCode = -1;
    }
    cleanup();
}

void PlayerTaskWin::cleanup() {
    engine::Director* director = engine::Director::getInstance();
    director->getScheduler()->unscheduleUpdate(this);
    if (_child) {
        _child->closePipes();
        _child.reset();
    }
    if (output.size() <= MAX_OUTPUT_LENGTH) _decoder.finish(output);
    state = STATE_COMPLETED;
    engine::log("CMD: %s", output.c_str());

    retain();   // a listener may remove the task
    engine::EventCustom event(name);
    director->getEventDispatcher()->dispatchEvent(&event);
    release();
}

void PlayerTaskWin::runInTerminal() {
    const std::string terminal = platform::findOnPath("x-terminal-emulator");
    if (terminal.empty()) {
        engine::log("PlayerTaskWin::runInTerminal() - no terminal (x-terminal-emulator) found, for execute %s",
                    executePath.c_str());
        return;
    }
    std::vector<std::string> args{"-e", executePath};
    for (std::string& arg : platform::splitCommandLine(commandLineArguments)) args.push_back(std::move(arg));
    const pid_t pid = platform::spawnProcess(terminal, args);
    if (pid < 0) {
        engine::log("PlayerTaskWin::runInTerminal() - cannot start %s, for execute %s", terminal.c_str(),
                    executePath.c_str());
        return;
    }
    // The terminal lives on its own; only its exit status is collected.
    std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
}

// ---------------------------------------------------------------------------
// PlayerTaskServiceWin

PlayerTaskServiceWin::PlayerTaskServiceWin(platform::HWND hwnd) : _hwnd(hwnd) {}

PlayerTaskServiceWin::~PlayerTaskServiceWin() {
    // Listeners of the completion events may remove tasks meanwhile: stop a copy.
    engine::Map<std::string, PlayerTaskWin*> tasks(_tasks);
    for (auto& entry : tasks) entry.second->stop();
}

PlayerTask* PlayerTaskServiceWin::createTask(const std::string& name, const std::string& executePath,
                                             const std::string& commandLineArguments) {
    if (_tasks.at(name)) {
        engine::ScriptEngineManager::sendAssert("Task already exists.");
        return nullptr;
    }
    PlayerTaskWin* task = PlayerTaskWin::create(name, executePath, commandLineArguments);
    _tasks.insert(name, task);
    return task;
}

PlayerTask* PlayerTaskServiceWin::getTask(const std::string& name) { return _tasks.at(name); }

void PlayerTaskServiceWin::removeTask(const std::string& name) {
    PlayerTaskWin* task = _tasks.at(name);
    if (!task) return;
    if (!task->isCompleted()) task->stop();
    _tasks.erase(name);
}

}  // namespace player
