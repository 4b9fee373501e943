#include "portal/PayWindowPlacement.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "engine/files/FileUtils.h"
#include "platform/AtomicFile.h"
#include "platform/Monitor.h"
#include "platform/Paths.h"
#include "platform/WindowPos.h"

namespace portal {
namespace {

constexpr int kMinSide = 300;

// Reads one decimal int at `p` (after blanks); false on no digits or overflow.
bool readInt(const char*& p, int* value) {
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
    if (*p != '-' && *p != '+' && (*p < '0' || *p > '9')) return false;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(p, &end, 10);
    if (end == p || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
    p = end;
    *value = static_cast<int>(parsed);
    return true;
}

// The program's user folder, made when missing; "" without one.
std::string madeUserFolder() {
    const std::string folder = platform::userVexoFolder();
    return !folder.empty() && platform::makePrivateFolders(folder) ? folder : std::string();
}

}  // namespace

std::string payWindowPlacementPath() {
    const std::string folder = madeUserFolder();
    return folder.empty() ? std::string() : folder + "/paywin.txt";
}

std::string payWebViewUserDataFolder() {
    const std::string folder = madeUserFolder();
    return folder.empty() ? std::string() : folder + "/WebView2";
}

bool loadPayWindowPlacement(platform::RECT* windowRect) {
    const std::string path = payWindowPlacementPath();
    if (path.empty()) return false;
    return parsePayWindowPlacement(engine::FileUtils::getInstance()->getStringFromFile(path), windowRect);
}

bool parsePayWindowPlacement(const std::string& text, platform::RECT* windowRect) {
    const char* p = text.c_str();
    int values[4];
    for (int& v : values) {
        if (!readInt(p, &v)) return false;
    }
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
    if (*p != '\0' || p != text.c_str() + text.size()) return false;
    const int left = values[0], top = values[1], width = values[2], height = values[3];
    if (width < kMinSide || height < kMinSide) return false;
    const platform::RECT rect{left, top, platform::clampToInt(int64_t{left} + width),
                              platform::clampToInt(int64_t{top} + height)};
    if (!platform::monitorFromRect(rect, nullptr)) return false;
    if (windowRect) *windowRect = rect;
    return true;
}

void savePayWindowPlacement(platform::HWND window) {
    if (platform::isIconic(window)) return;
    platform::RECT rect;
    if (!platform::getWindowRect(window, &rect)) return;
    const std::string path = payWindowPlacementPath();
    if (path.empty()) return;
    char line[64];
    std::snprintf(line, sizeof line, "%d %d %d %d", rect.left, rect.top, rect.width(), rect.height());
    platform::writeFileAtomically(path, path + ".tmp." + std::to_string(::getpid()), line);
}

}  // namespace portal
