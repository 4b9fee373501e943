#include "host/app/WindowSettings.h"

#include <unistd.h>

#include <algorithm>
#include <climits>

#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "platform/AtomicFile.h"

namespace host {
namespace {

std::string trim(const std::string& s) {
    size_t begin = s.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return "";
    size_t end = s.find_last_not_of(" \t\r");
    return s.substr(begin, end - begin + 1);
}

bool equalsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// "[name]" → name; otherwise false.
bool sectionName(const std::string& line, std::string* name) {
    const std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
    *name = trim(t.substr(1, t.size() - 2));
    return true;
}

// "key=value" → key; otherwise false.
bool keyOf(const std::string& line, std::string* key, std::string* value) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) return false;
    *key = trim(line.substr(0, eq));
    if (value) *value = trim(line.substr(eq + 1));
    return !key->empty();
}

int parseInt(const std::string& value) {
    size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
    if (i == value.size()) return 0;
    long long magnitude = 0;
    for (; i < value.size(); ++i) {
        if (value[i] < '0' || value[i] > '9') break;   // the leading number counts
        magnitude = std::min<long long>(magnitude * 10 + (value[i] - '0'), 1LL << 32);
    }
    const long long v = negative ? -magnitude : magnitude;
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

std::string readWhole(const std::string& path) { return engine::FileUtils::getInstance()->getStringFromFile(path); }

}  // namespace

int readProfileInt(const std::string& text, const std::string& section, const std::string& key,
                   int defaultValue) {
    bool inSection = false;
    for (const std::string& line : splitLines(text)) {
        std::string name, value;
        if (sectionName(line, &name)) {
            inSection = equalsNoCase(name, section);
        } else if (inSection && keyOf(line, &name, &value) && equalsNoCase(name, key)) {
            return parseInt(value);
        }
    }
    return defaultValue;
}

std::string writeProfileValues(const std::string& text, const std::string& section,
                               const std::vector<std::pair<std::string, std::string>>& values) {
    std::vector<std::string> lines = splitLines(text);
    // The section's extent: its header line and one past its last line.
    size_t header = lines.size();
    size_t end = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string name;
        if (!sectionName(lines[i], &name)) continue;
        if (header == lines.size() && equalsNoCase(name, section)) {
            header = i;
        } else if (header != lines.size()) {
            end = i;
            break;
        }
    }
    if (header == lines.size()) {
        lines.push_back("[" + section + "]");
        header = lines.size() - 1;
        end = lines.size();
    }
    for (const auto& [key, value] : values) {
        const std::string line = key + "=" + value;
        bool replaced = false;
        for (size_t i = header + 1; i < end; ++i) {
            std::string name;
            if (keyOf(lines[i], &name, nullptr) && equalsNoCase(name, key)) {
                lines[i] = line;
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            // After the section's last non-blank line.
            size_t at = end;
            while (at > header + 1 && trim(lines[at - 1]).empty()) --at;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), line);
            ++end;
        }
    }
    std::string out;
    for (const std::string& line : lines) out += line + "\n";
    return out;
}

WindowSettings readWindowSettings(const std::string& path) {
    const std::string text = readWhole(path);
    WindowSettings settings;
    settings.zoomPermille = readProfileInt(text, "Window", "ZoomPermille", 0);
    settings.pinned = readProfileInt(text, "Window", "Pinned", 0) != 0;
    settings.musicMuted = readProfileInt(text, "Window", "MusicMuted", 0) != 0;
    return settings;
}

bool saveWindowSettings(const std::string& path, const WindowSettings& settings) {
    const std::string text = writeProfileValues(readWhole(path), "Window",
                                                {{"ZoomPermille", std::to_string(settings.zoomPermille)},
                                                 {"Pinned", settings.pinned ? "1" : "0"},
                                                 {"MusicMuted", settings.musicMuted ? "1" : "0"}});
    const std::string temp = path + ".vexo-part-" + std::to_string(static_cast<long>(getpid()));
    if (!platform::writeFileAtomically(path, temp, text)) {
        engine::log("[VEXO] cannot write the window settings to %s", path.c_str());
        return false;
    }
    return true;
}

double zoomFromPermille(int permille) {
    return permille >= 200 && permille <= 4000 ? permille / 1000.0 : 0.0;
}

int permilleFromZoom(double zoom) { return static_cast<int>(zoom * 1000.0 + 0.5); }

}  // namespace host
