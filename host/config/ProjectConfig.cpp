#include "host/config/ProjectConfig.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/base/Log.h"
#include "platform/IntClamp.h"
#include "platform/Paths.h"

namespace host {
namespace {

constexpr size_t kMarkerLength = 10;   // strlen("$(PROJDIR)")

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Decimal integer in the manner of atoi (leading blanks, optional sign, digits,
// anything after ignored; no digits gives 0), saturated to the int range.
int parseInt(const std::string& text) {
    return platform::clampToInt(std::strtoll(text.c_str(), nullptr, 10));
}

using platform::truncToInt;

// The one-string form puts a path in double quotes; a final backslash is doubled so
// that it does not escape the closing quote.
std::string quoted(const std::string& value) {
    std::string out = "\"" + value;
    if (!value.empty() && value.back() == '\\') out += '\\';
    return out + '"';
}

// A search-path list joined by ';'. A final empty piece gets one more ';', since
// parsing drops the empty piece after a final ';' and it would be lost on the way.
std::string joinList(const std::vector<std::string>& pieces, bool quote) {
    std::string out;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i) out += ';';
        out += quote ? quoted(pieces[i]) : pieces[i];
    }
    if (!pieces.empty() && pieces.back().empty()) out += ';';
    return out;
}

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
        const std::string& raw = args[++i];
        // Folder and file options are made absolute now: the current folder changes
        // to the project folder at start-up, and a new instance is started from there.
        const std::string value = arg == "-workdir" || arg == "-writable-path" || arg == "-entry" ||
                                          arg == "-write-debug-log"
                                      ? platform::absolutePath(raw)
                                      : raw;

        if (arg == "-workdir") {
            // An empty value names no folder. Clearing the project folder would turn
            // the paths already stored inside it into relative ones.
            if (value.empty()) continue;
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
            for (std::string& piece : pieces) piece = platform::absolutePath(piece);
            _searchPath = pieces;
        }
    }
}

std::vector<ProjectConfig::CommandLineItem> ProjectConfig::commandLineItems(unsigned mask) const {
    std::vector<CommandLineItem> out;
    auto add = [&out](const char* option, std::string value, bool quote) {
        out.push_back({option, {}, false, false});
        out.push_back({"", {std::move(value)}, quote, false});
    };

    if ((mask & kOptWorkdir) && !_projectDir.empty()) add("-workdir", _projectDir, true);
    if (mask & kOptEntry) {
        std::string path = getScriptFileRealPath();
        if (!path.empty()) add("-entry", path, true);
    }
    if (mask & kOptWritablePath) {
        std::string path = getWritableRealPath();
        if (!path.empty()) add("-writable-path", path, true);
    }
    if (mask & kOptResolution) {
        add("-resolution",
            std::to_string(truncToInt(_frameSize.width)) + "x" + std::to_string(truncToInt(_frameSize.height)),
            false);
    }
    if ((mask & kOptScale) && _frameScale < 1.0f) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.2g", static_cast<double>(_frameScale));
        // A scale just below 1 is written as "1", which a new instance reads as the
        // default: leave it out, as 1.0 itself is.
        if (std::strtof(buf, nullptr) < 1.0f) add("-scale", buf, false);
    }
    if ((mask & kOptWriteDebugLog) && _writeDebugLog) add("-write-debug-log", getDebugLogFilePath(), false);
    if (mask & kOptConsole) add("-console", _showConsole ? "enable" : "disable", false);
    if ((mask & kOptPosition) && _windowOffset.x != 0 && _windowOffset.y != 0) {
        add("-position",
            std::to_string(truncToInt(_windowOffset.x)) + "," + std::to_string(truncToInt(_windowOffset.y)),
            false);
    }
    if ((mask & kOptDebugger) && (_debuggerType == kDebuggerCodeIde || _debuggerType == kDebuggerStudio)) {
        add("-debugger", _debuggerType == kDebuggerCodeIde ? "codeide" : "studio", false);
    }
    if ((mask & kOptListen) && !_bindAddress.empty()) add("-listen", _bindAddress, false);
    if ((mask & kOptSearchPath) && !_searchPath.empty()) {
        out.push_back({"-search-path", {}, false, false});
        out.push_back({"", _searchPath, true, true});
    }
    return out;
}

std::string ProjectConfig::itemText(const CommandLineItem& item, bool quote) {
    if (!item.option.empty()) return item.option;
    if (item.list) return joinList(item.pieces, quote);
    return quote ? quoted(item.pieces.front()) : item.pieces.front();
}

std::vector<std::string> ProjectConfig::makeCommandLineVector(unsigned mask) const {
    std::vector<std::string> out;
    for (const CommandLineItem& item : commandLineItems(mask)) {
        out.push_back(itemText(item, false));
    }
    return out;
}

std::string ProjectConfig::makeCommandLine(unsigned mask) const {
    std::string line;
    for (const CommandLineItem& item : commandLineItems(mask)) {
        if (!line.empty()) line += ' ';
        line += itemText(item, item.quoted);
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
