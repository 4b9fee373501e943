#include "host/config/ProjectConfig.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/base/Log.h"

namespace host {
namespace {

constexpr size_t kMarkerLength = 10;   // strlen("$(PROJDIR)")

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Decimal integer in the manner of atoi (leading blanks, optional sign, digits,
// anything after ignored; no digits gives 0), saturated to the int range.
int parseInt(const std::string& text) {
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

// Truncates toward zero, saturated to the int range.
int truncToInt(float v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<float>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<float>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}

std::string quoted(const std::string& value) { return "\"" + value + "\""; }

}  // namespace

ProjectConfig::ProjectConfig() { normalize(); }

bool ProjectConfig::isAbsolutePath(const std::string& path) {
    return !path.empty() && path[0] == '/';
}

void ProjectConfig::setProjectDir(const std::string& path) {
    _projectDir = path;
    normalize();
}

void ProjectConfig::setScriptFile(const std::string& path) {
    _scriptFile = path;
    normalize();
}

void ProjectConfig::setWritablePath(const std::string& path) {
    _writablePath = path;
    normalize();
}

std::string ProjectConfig::getScriptFileRealPath() const { return toRealPath(_scriptFile); }

std::string ProjectConfig::getWritableRealPath() const { return toRealPath(_writablePath); }

std::string ProjectConfig::getDebugLogFilePath() const {
    if (isAbsolutePath(_debugLogFilePath)) return _debugLogFilePath;
    return _projectDir + _debugLogFilePath;
}

void ProjectConfig::setFrameSize(const engine::Size& size) {
    if (size.width > 0 && size.height > 0) _frameSize = size;
}

void ProjectConfig::changeFrameOrientationToPortrait() {
    if (_frameSize.width > _frameSize.height) {
        _frameSize = engine::Size(_frameSize.height, _frameSize.width);
    }
}

void ProjectConfig::changeFrameOrientationToLandscape() {
    if (!(_frameSize.width > _frameSize.height)) {
        _frameSize = engine::Size(_frameSize.height, _frameSize.width);
    }
}

void ProjectConfig::setFrameScale(float scale) {
    if (scale > 0) _frameScale = scale;
}

void ProjectConfig::normalize() {
    // Separators already are "/"; a backslash is an ordinary file-name character.
    if (!_projectDir.empty()) {
        if (_projectDir.back() != '/') _projectDir += '/';
        if (_writablePath.empty()) _writablePath = _projectDir;
    }
    if (!_writablePath.empty() && _writablePath.back() != '/') _writablePath += '/';
    _writablePath = toProjectRelativePath(_writablePath);
    _scriptFile = toProjectRelativePath(_scriptFile);
}

std::string ProjectConfig::toProjectRelativePath(const std::string& path) const {
    if (isAbsolutePath(path)) {
        if (!_projectDir.empty() && startsWith(path, _projectDir)) {
            return std::string(kProjectDirMarker) + "/" + path.substr(_projectDir.size());
        }
        return path;
    }
    if (startsWith(path, kProjectDirMarker)) return path;
    return std::string(kProjectDirMarker) + "/" + path;
}

std::string ProjectConfig::toRealPath(const std::string& path) const {
    if (isAbsolutePath(path)) return path;
    if (path.empty()) return _projectDir;
    if (startsWith(path, kProjectDirMarker)) {
        std::string rest = path.substr(kMarkerLength);
        if (!rest.empty() && rest[0] == '/') rest.erase(0, 1);
        return _projectDir + rest;
    }
    return path;
}

void ProjectConfig::parseCommandLine(const std::vector<std::string>& args) {
    const size_t count = args.size();
    for (size_t i = 0; i < count; ++i) {
        const std::string& arg = args[i];

        // Options without a value.
        if (arg == "-landscape") {
            setFrameSize(engine::Size(960, 640));
            continue;
        }
        if (arg == "-portrait") {
            setFrameSize(engine::Size(640, 960));
            continue;
        }
        if (arg == "-app-menu") {
            _appMenu = true;
            continue;
        }
        if (arg == "-resize-window") {
            _resizeWindow = true;
            continue;
        }
        if (arg == "-retina-display") {
            _retinaDisplay = true;
            continue;
        }
        if (arg == "-port") {
            engine::log("TODO:");
            continue;
        }

        static const char* const kValueOptions[] = {
            "-workdir", "-writable-path", "-entry", "-resolution", "-scale", "-write-debug-log",
            "-console", "-position", "-debugger", "-listen", "-search-path"};
        bool takesValue = false;
        for (const char* option : kValueOptions) {
            if (arg == option) {
                takesValue = true;
                break;
            }
        }
        if (!takesValue) continue;            // unknown argument (the program path among them)
        if (i + 1 >= count) return;           // value missing: parsing ends here
        const std::string& value = args[++i];

        if (arg == "-workdir") {
            setProjectDir(value);
            if (_writablePath.empty()) setWritablePath(value);
        } else if (arg == "-writable-path") {
            setWritablePath(value);
        } else if (arg == "-entry") {
            setScriptFile(value);
        } else if (arg == "-resolution") {
            size_t pos = value.find('x');
            if (pos != std::string::npos && pos != 0) {
                int width = parseInt(value.substr(0, pos));
                int height = parseInt(value.substr(pos + 1));
                setFrameSize(engine::Size(static_cast<float>(width), static_cast<float>(height)));
            }
        } else if (arg == "-scale") {
            float scale = std::strtof(value.c_str(), nullptr);
            if (std::isfinite(scale)) setFrameScale(scale);
        } else if (arg == "-write-debug-log") {
            _debugLogFilePath = value;
            _writeDebugLog = true;
        } else if (arg == "-console") {
            _showConsole = value == "enable";
        } else if (arg == "-position") {
            size_t pos = value.find(',');
            if (pos != std::string::npos && pos != 0) {
                _windowOffset = engine::Vec2(static_cast<float>(parseInt(value.substr(0, pos))),
                                             static_cast<float>(parseInt(value.substr(pos + 1))));
            }
        } else if (arg == "-debugger") {
            if (value == "codeide") {
                _debuggerType = kDebuggerCodeIde;
            } else if (value == "studio") {
                _debuggerType = kDebuggerStudio;
            }
        } else if (arg == "-listen") {
            _bindAddress = value;
        } else if (arg == "-search-path") {
            std::vector<std::string> pieces;
            size_t start = 0;
            size_t pos;
            while ((pos = value.find(';', start)) != std::string::npos) {
                pieces.push_back(value.substr(start, pos - start));
                start = pos + 1;
            }
            if (start < value.size()) pieces.push_back(value.substr(start));
            _searchPath = pieces;
        }
    }
}

std::vector<std::string> ProjectConfig::makeCommandLineVector(unsigned mask) const {
    std::vector<std::string> out;

    if ((mask & kOptWorkdir) && !_projectDir.empty()) {
        out.push_back("-workdir");
        out.push_back(quoted(_projectDir));
    }
    if (mask & kOptEntry) {
        std::string path = getScriptFileRealPath();
        if (!path.empty()) {
            out.push_back("-entry");
            out.push_back(quoted(path));
        }
    }
    if (mask & kOptWritablePath) {
        std::string path = getWritableRealPath();
        if (!path.empty()) {
            out.push_back("-writable-path");
            out.push_back(quoted(path));
        }
    }
    if (mask & kOptResolution) {
        out.push_back("-resolution");
        out.push_back(std::to_string(truncToInt(_frameSize.width)) + "x" +
                      std::to_string(truncToInt(_frameSize.height)));
    }
    if ((mask & kOptScale) && _frameScale < 1.0f) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.2g", static_cast<double>(_frameScale));
        out.push_back("-scale");
        out.push_back(buf);
    }
    if ((mask & kOptWriteDebugLog) && _writeDebugLog) {
        out.push_back("-write-debug-log");
        out.push_back(getDebugLogFilePath());
    }
    if (mask & kOptConsole) {
        out.push_back("-console");
        out.push_back(_showConsole ? "enable" : "disable");
    }
    if ((mask & kOptPosition) && _windowOffset.x != 0 && _windowOffset.y != 0) {
        out.push_back("-position");
        out.push_back(std::to_string(truncToInt(_windowOffset.x)) + "," +
                      std::to_string(truncToInt(_windowOffset.y)));
    }
    if ((mask & kOptDebugger) &&
        (_debuggerType == kDebuggerCodeIde || _debuggerType == kDebuggerStudio)) {
        out.push_back("-debugger");
        out.push_back(_debuggerType == kDebuggerCodeIde ? "codeide" : "studio");
    }
    if ((mask & kOptListen) && !_bindAddress.empty()) {
        out.push_back("-listen");
        out.push_back(_bindAddress);
    }
    if ((mask & kOptSearchPath) && !_searchPath.empty()) {
        std::string joined;
        for (size_t i = 0; i < _searchPath.size(); ++i) {
            if (i) joined += ';';
            joined += quoted(_searchPath[i]);
        }
        out.push_back("-search-path");
        out.push_back(joined);
    }
    return out;
}

std::string ProjectConfig::makeCommandLine(unsigned mask) const {
    std::string line;
    for (const std::string& item : makeCommandLineVector(mask)) {
        if (!line.empty()) line += ' ';
        line += item;
    }
    return line;
}

void ProjectConfig::dump() const {
    engine::log("Project Config:");
    engine::log("    project dir: %s", _projectDir.c_str());
    engine::log("    writable path: %s", _writablePath.empty() ? "-" : _writablePath.c_str());
    engine::log("    script file: %s", _scriptFile.c_str());
    engine::log("    frame size: %0.0f x %0.0f", static_cast<double>(_frameSize.width),
                static_cast<double>(_frameSize.height));
    engine::log("    frame scale: %0.2f", static_cast<double>(_frameScale));
    engine::log("    show console: %s", _showConsole ? "YES" : "NO");
    if (_writeDebugLog) {
        std::string path = getDebugLogFilePath();
        engine::log("    write debug log: %s (%s)", path.c_str(), path.c_str());
    } else {
        engine::log("    write debug log: %s (%s)", "NO", "");
    }
    engine::log("    listen: %s", _bindAddress.c_str());
    switch (_debuggerType) {
    case kDebuggerLdt: engine::log("    debugger: Eclipse LDT"); break;
    case kDebuggerCodeIde: engine::log("    debugger: Code IDE"); break;
    case kDebuggerStudio: engine::log("    debugger: Studio"); break;
    default: engine::log("    debugger: none"); break;
    }
    engine::log("    add searching path:");
    for (const std::string& path : _searchPath) engine::log("        %s", path.c_str());
    engine::log("\n\n");
}

}  // namespace host
