#pragma once
// The project configuration: which project the client runs (folder, entry script,
// writable folder) and how its window starts (frame size and scale, position,
// debug log, debugger kind, ports, listen address, extra search paths).
//
// Paths use "/" and a path is absolute when it begins with "/". The entry script and
// the writable folder are kept in project-relative form: "$(PROJDIR)/" followed by
// the rest, unless the path is absolute and outside the project folder.
#include <string>
#include <vector>

#include "engine/base/Types.h"

namespace host {

class ProjectConfig {
public:
    // Marker that stands for the project folder in the stored paths.
    static constexpr const char* kProjectDirMarker = "$(PROJDIR)";

    // Bits of makeCommandLine's option mask.
    enum : unsigned {
        kOptWorkdir = 0x1,
        kOptEntry = 0x2,
        kOptWritablePath = 0x8,
        kOptResolution = 0x10,
        kOptScale = 0x20,
        kOptConsole = 0x40,
        kOptWriteDebugLog = 0x100,
        kOptPosition = 0x200,
        kOptDebugger = 0x400,
        kOptListen = 0x800,
        kOptSearchPath = 0x1000,
        kOptAll = 0x1FFF,
    };

    enum DebuggerType { kDebuggerNone = 0, kDebuggerLdt = 1, kDebuggerCodeIde = 2, kDebuggerStudio = 3 };

    ProjectConfig();

    // Project folder, stored with a trailing "/" when not empty. Setting any of the
    // three paths normalises all of them.
    const std::string& getProjectDir() const { return _projectDir; }
    void setProjectDir(const std::string& path);

    // Stored (project-relative) form and the usable form.
    const std::string& getScriptFile() const { return _scriptFile; }
    std::string getScriptFileRealPath() const;
    void setScriptFile(const std::string& path);

    const std::string& getWritablePath() const { return _writablePath; }
    std::string getWritableRealPath() const;
    void setWritablePath(const std::string& path);

    const engine::Size& getFrameSize() const { return _frameSize; }
    void setFrameSize(const engine::Size& size);   // ignored unless both sides are > 0
    void changeFrameOrientationToPortrait();
    void changeFrameOrientationToLandscape();

    float getFrameScale() const { return _frameScale; }
    void setFrameScale(float scale);               // ignored unless > 0

    bool isShowConsole() const { return _showConsole; }

    bool isWriteDebugLogToFile() const { return _writeDebugLog; }
    // The debug log file: as given when absolute, else inside the project folder.
    std::string getDebugLogFilePath() const;
    void setDebugLogFilePath(const std::string& path) { _debugLogFilePath = path; }

    const engine::Vec2& getWindowOffset() const { return _windowOffset; }
    void setWindowOffset(const engine::Vec2& offset) { _windowOffset = offset; }

    int getDebuggerType() const { return _debuggerType; }
    void setDebuggerType(int type) { _debuggerType = type; }

    bool isAppMenu() const { return _appMenu; }
    bool isResizeWindow() const { return _resizeWindow; }
    bool isRetinaDisplay() const { return _retinaDisplay; }

    int getConsolePort() const { return _consolePort; }
    void setConsolePort(int port) { _consolePort = port; }
    int getFileUploadPort() const { return _fileUploadPort; }
    void setFileUploadPort(int port) { _fileUploadPort = port; }

    const std::string& getBindAddress() const { return _bindAddress; }
    void setBindAddress(const std::string& address) { _bindAddress = address; }

    const std::vector<std::string>& getSearchPath() const { return _searchPath; }

    // Reads options from a whole argument vector (program path included); unknown
    // arguments are skipped, later options override earlier ones. The values of
    // -workdir, -writable-path, -entry, -write-debug-log and each non-empty piece of
    // -search-path are made absolute against the current folder.
    void parseCommandLine(const std::vector<std::string>& args);

    // The options selected by `mask` as an argument vector for a new instance: values
    // exactly as they are (no quoting), so that parsing them gives this record back.
    std::vector<std::string> makeCommandLineVector(unsigned mask = kOptAll) const;
    // The same items as one string joined by single spaces, with path values (and each
    // search-path piece) in double quotes.
    std::string makeCommandLine(unsigned mask = kOptAll) const;

    // Writes the configuration to the engine log.
    void dump() const;

private:
    // One argument: an option name, or its value (one piece, or a list of pieces
    // joined by ';'); path values are quoted in the one-string form.
    struct CommandLineItem {
        std::string option;
        std::vector<std::string> pieces;
        bool quoted = false;
        bool list = false;
    };
    std::vector<CommandLineItem> commandLineItems(unsigned mask) const;
    static std::string itemText(const CommandLineItem& item, bool quote);

    static bool isAbsolutePath(const std::string& path);
    void normalize();
    std::string toProjectRelativePath(const std::string& path) const;
    std::string toRealPath(const std::string& path) const;

    std::string _projectDir;
    std::string _scriptFile;
    std::string _writablePath;
    engine::Size _frameSize{960, 640};
    float _frameScale = 1.0f;
    bool _showConsole = true;
    bool _writeDebugLog = false;
    engine::Vec2 _windowOffset;
    int _debuggerType = kDebuggerNone;
    bool _appMenu = true;
    bool _resizeWindow = false;
    bool _retinaDisplay = false;
    std::string _debugLogFilePath = "debug.log";
    int _consolePort = 6010;
    int _fileUploadPort = 6020;
    std::string _bindAddress;
    std::vector<std::string> _searchPath;
};

}  // namespace host
