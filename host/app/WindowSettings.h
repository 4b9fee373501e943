#pragma once
// The window settings file "pc_window.ini" in the writable folder: section
// "[Window]" with "Key=value" lines.
//
// Reading: lines end with "\n" or "\r\n"; section and key names compare without
// ASCII case; blanks (spaces, tabs, stray carriage returns) around
// names and values are ignored; a value is read as its leading optional sign and
// decimal digits (saturating at the int range), whatever follows them ignored
// ("1250abc" reads 1250); a value that does not start so reads 0;
// a missing file, section or key gives the default. The first matching line wins.
// Writing: the given keys replace their lines in the section, in the given order,
// or are appended to it (a missing section is appended at the end); every other
// line stays; lines end with "\n". The file is replaced atomically (a temporary
// beside it, then a rename); false when that fails.
#include <string>
#include <utility>
#include <vector>

namespace host {

int readProfileInt(const std::string& text, const std::string& section, const std::string& key,
                   int defaultValue);
std::string writeProfileValues(const std::string& text, const std::string& section,
                               const std::vector<std::pair<std::string, std::string>>& values);

struct WindowSettings {
    int zoomPermille = 0;
    bool pinned = false;
    bool musicMuted = false;
};

inline constexpr const char* kWindowSettingsFile = "pc_window.ini";

// The three keys as read (ZoomPermille raw, the toggles non-zero = on).
WindowSettings readWindowSettings(const std::string& path);
// Writes "ZoomPermille", "Pinned" and "MusicMuted" in that order.
bool saveWindowSettings(const std::string& path, const WindowSettings& settings);

// The zoom a "ZoomPermille" value stands for: 200..4000 → value / 1000, anything
// else 0 (automatic fit).
double zoomFromPermille(int permille);
// The value written for a zoom: zoom × 1000 + 0.5, truncated (0 for automatic).
int permilleFromZoom(double zoom);

}  // namespace host
