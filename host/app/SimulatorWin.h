#pragma once
// The desktop host: reads the project configuration, settles the folders, opens the
// game window and runs the engine's main loop. One instance per process.
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/config/ProjectConfig.h"
#include "platform/Window.h"

namespace host {

class AppDelegate;

class SimulatorWin {
public:
    // Created on first use, never destroyed before the process ends.
    static SimulatorWin* getInstance();

    virtual ~SimulatorWin();
    // Ends the engine's main loop.
    virtual void quit();
    // Starts a new instance at this window's position, then quits.
    virtual void relaunch();
    virtual void openNewPlayer();
    // Starts a new instance of the program with the options of `config`.
    virtual void openNewPlayerWithProjectConfig(const ProjectConfig& config);
    // The new instance's arguments (after the program path) for `config`.
    static std::vector<std::string> newPlayerArguments(const ProjectConfig& config);
    // Starts a new instance with `config`, then quits.
    virtual void openProjectWithProjectConfig(const ProjectConfig& config);
    // Left and top edges of the main window on the screen.
    virtual int getPositionX();
    virtual int getPositionY();

    // The whole start-up followed by the engine's main loop; returns the loop's
    // result. `args` is the argument vector, the program path first.
    int run(const std::vector<std::string>& args);
    // The start-up alone: everything run() does before entering the main loop.
    void startUp(const std::vector<std::string>& args);

    // First reading of the command line and of the project's "config.json" into `config`.
    void parseArguments(const std::vector<std::string>& args, ProjectConfig& config);

    // What the start-up runs as its TLS warm-up step (set by the program before
    // run(); the host library does not know who provides it). Unset: nothing.
    static void setTlsWarmup(std::function<void()> warmup);

    // Writes one line to the debug log file when it is open.
    void writeDebugLog(const char* text);

    const ProjectConfig& getProjectConfig() const { return _project; }
    platform::HWND getMainWindow() const { return _mainWindow; }

    // The executable's full path, its folder (no trailing "/"; "" when the path has
    // no "/"), and that folder made absolute.
    static std::string getApplicationExePath();
    static std::string getApplicationPath();
    static std::string getAbsoluteApplicationPath();

protected:
    SimulatorWin() = default;

    // Start-up steps whose work lives elsewhere; each runs in its place in the order.
    void startTlsWarmup();
    void createPlayer();
    void acceptDroppedFiles();
    void installWindowProc();
    void loadWindowSettings(platform::HWND mainWindow);

private:
    ProjectConfig _project;
    platform::HWND _mainWindow = 0;
    std::unique_ptr<AppDelegate> _app;
    std::FILE* _debugLog = nullptr;
};

// Closes the game window, which ends the program through the normal close path.
void shutDownApp();

}  // namespace host
