#pragma once
// Tasks on child processes. The program is started directly (no shell) with the
// argument string split by the Windows command-line rules; its standard output and
// error are captured as UTF-8 (invalid bytes become U+FFFD). Output past the bound
// of `output` is read and discarded so the child never blocks on a full pipe. On
// exit the pipe is drained before the task completes. Completion always unschedules
// the poll, logs "CMD: <output>" and dispatches the task's event last, with the task
// kept alive across it (a listener may remove it).
#include <memory>
#include <string>

#include "engine/base/Map.h"
#include "host/player/PlayerTaskServiceProtocol.h"
#include "host/player/TaskOutputDecoder.h"
#include "platform/ChildProcess.h"
#include "platform/Window.h"

namespace player {

class PlayerTaskWin : public PlayerTask {
public:
    static PlayerTaskWin* create(const std::string& name, const std::string& executePath,
                                 const std::string& commandLineArguments);
    ~PlayerTaskWin() override;

    bool run() override;
    void stop() override;
    // Opens the program in a terminal window (x-terminal-emulator -e ...); the task's
    // state does not change and nothing is captured.
    void runInTerminal() override;
    void update(float dt) override;

private:
    PlayerTaskWin(const std::string& name, const std::string& executePath, const std::string& arguments);
    // Reads what waits in the pipe; `drain` reads to the end of the stream.
    void readOutput(bool drain);
    void cleanup();

    std::unique_ptr<platform::ChildProcess> _child;
    TaskOutputDecoder _decoder;
};

class PlayerTaskServiceWin : public PlayerTaskServiceProtocol {
public:
    explicit PlayerTaskServiceWin(platform::HWND hwnd);
    ~PlayerTaskServiceWin() override;

    PlayerTask* createTask(const std::string& name, const std::string& executePath,
                           const std::string& commandLineArguments) override;
    PlayerTask* getTask(const std::string& name) override;
    void removeTask(const std::string& name) override;

private:
    platform::HWND _hwnd;
    engine::Map<std::string, PlayerTaskWin*> _tasks;
};

}  // namespace player
