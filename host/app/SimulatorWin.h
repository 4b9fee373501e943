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
    // result, or 1 when the script start failed (AppDelegate::exitStatus). `args`
    // is the argument vector, the program path first.
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

    // Replaces what the top-up command opens the pay window with (url, target)
    // (tests); an empty function restores portal::openPayWebView.
    using PayWebViewOpener = std::function<bool(const std::string& url, const std::string& target)>;
    static void setPayWebViewOpener(PayWebViewOpener opener);

    // --- Main window: zoom, settings and window procedure --------------------
    // Restores the zoom from the settings file, adds the system-menu entries,
    // creates the sidebar and applies the zoom (centred, unless the start-up moved
    // the window to a remembered position). Nothing without a window.
    virtual void loadWindowSettings(platform::HWND mainWindow);
    // Writes the zoom and the sidebar's two switches to the settings file.
    void saveWindowSettings();
    // Sizes and places the window for the current zoom (centred or kept, clamped
    // into the work area of its monitor) and glues the sidebar to it. False when it
    // cannot now (not ready, minimised, being moved, already applying, no view).
    bool applyZoom(platform::HWND window, bool center);
    // A zoom command: sets the zoom and applies it; when it cannot be applied now
    // the zoom stays as it was and false tells the caller to save nothing.
    bool zoomTo(platform::HWND window, double zoom, bool center);
    // The replacement procedure of the game window (the previous one is chained).
    static platform::LRESULT windowProc(platform::HWND, platform::UINT, platform::WPARAM, platform::LPARAM);
    // The command and window-message handler the game window and the sidebar
    // share; true when the message was handled.
    bool onCommand(platform::HWND window, platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam);

    // --- Right sidebar ----------------------------------------------------------
    void createSidebar(platform::HWND mainWindow);
    // Glues the sidebar to the game window's client area (hidden with it); does
    // nothing but compare when it is already in place.
    void layoutSidebar(platform::HWND mainWindow);
    int sidebarWidth() const;
    std::string getSidebarTooltip(int id) const;
    void relabelSidebar();
    // Paints a sidebar button for WM_DRAWITEM; false when it is not one.
    bool paintSidebarButton(platform::UINT message, platform::LPARAM lParam);
    static platform::LRESULT sidebarProc(platform::HWND, platform::UINT, platform::WPARAM, platform::LPARAM);

    platform::HWND getSidebarWindow() const { return _sidebar; }
    platform::HWND getSidebarTooltipWindow() const { return _tooltip; }
    double getZoom() const { return _zoom; }
    bool isPinned() const { return _pinned; }
    bool isMusicMuted() const { return _musicMuted; }
    int getSidebarDpi() const { return _dpi; }
    const std::string& getSettingsPath() const { return _settingsPath; }

    static constexpr uintptr_t kRefitTimer = 311560;
    static constexpr uintptr_t kGlueTimer = 311561;
    static constexpr int kAboutCommand = 32778;

    const ProjectConfig& getProjectConfig() const { return _project; }
    platform::HWND getMainWindow() const { return _mainWindow; }

    // The executable's full path, its folder (no trailing "/"; "" when the path has
    // no "/"), and that folder made absolute.
    static std::string getApplicationExePath();
    static std::string getApplicationPath();
    static std::string getAbsoluteApplicationPath();

protected:
    SimulatorWin();

    // Start-up steps whose work lives elsewhere; each runs in its place in the order.
    void startTlsWarmup();
    void createPlayer();
    void acceptDroppedFiles();
    void installWindowProc();

private:
    void layoutSidebarButtons();
    void runCommand(platform::HWND mainWindow, int id);
    void startRefitTimer(platform::HWND window);
    void showAboutBox(platform::HWND window);
    void handleDrop(platform::WPARAM drop);

    ProjectConfig _project;
    platform::HWND _mainWindow = 0;
    std::unique_ptr<AppDelegate> _app;
    std::FILE* _debugLog = nullptr;
    bool _windowMovedAtStart = false;   // the start-up moved the window to a kept offset

    // Main-window state.
    bool _ready = false;
    bool _applying = false;
    bool _moving = false;
    double _zoom = 0.0;
    double _baseWidth = 0.0, _baseHeight = 0.0;
    uintptr_t _monitor = 0;
    std::string _settingsPath;
    int _lastFitX = 0, _lastFitY = 0;
    bool _pinned = false;
    bool _musicMuted = false;

    // Sidebar state.
    platform::HWND _sidebar = 0;
    platform::HWND _tooltip = 0;
    platform::HWND _sidebarOwner = 0;
    int _dpi = 96;
};

// Closes the game window, which ends the program through the normal close path.
void shutDownApp();

}  // namespace host
