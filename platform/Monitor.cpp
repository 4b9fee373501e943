#include "platform/Monitor.h"

#include <algorithm>
#include <mutex>

namespace platform {
namespace {

std::vector<MonitorInfo> defaultMonitors() {
    MonitorInfo m;
    m.rect = RECT{0, 0, 1920, 1080};
    m.workArea = RECT{0, 0, 1920, 1040};
    m.dpiX = 96;
    m.dpiY = 96;
    m.primary = true;
    return {m};
}

struct Desktop {
    std::mutex mutex;
    std::vector<MonitorInfo> monitors = defaultMonitors();
};

Desktop& desktop() {
    static Desktop d;
    return d;
}

long long overlapArea(const RECT& a, const RECT& b) {
    long long w = static_cast<long long>(std::min(a.right, b.right)) - std::max(a.left, b.left);
    long long h = static_cast<long long>(std::min(a.bottom, b.bottom)) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// Caller holds the mutex. The list is never empty and has exactly one primary.
const MonitorInfo& primaryLocked(const std::vector<MonitorInfo>& monitors) {
    for (const MonitorInfo& m : monitors) {
        if (m.primary) return m;
    }
    return monitors.front();
}

// Caller holds the mutex. The monitor overlapping most of `rect`, null when none.
const MonitorInfo* mostOverlappingLocked(const std::vector<MonitorInfo>& monitors, const RECT& rect) {
    const MonitorInfo* best = nullptr;
    long long bestArea = 0;
    for (const MonitorInfo& m : monitors) {
        long long area = overlapArea(rect, m.rect);
        if (area > bestArea) {
            best = &m;
            bestArea = area;
        }
    }
    return best;
}

}  // namespace

void setMonitors(const std::vector<MonitorInfo>& monitors) {
    std::vector<MonitorInfo> list = monitors.empty() ? defaultMonitors() : monitors;
    // Exactly one primary: the first one flagged, else the first monitor.
    auto first = std::find_if(list.begin(), list.end(), [](const MonitorInfo& m) { return m.primary; });
    if (first == list.end()) first = list.begin();
    for (auto it = list.begin(); it != list.end(); ++it) it->primary = it == first;
    std::lock_guard<std::mutex> lock(desktop().mutex);
    desktop().monitors = std::move(list);
}

std::vector<MonitorInfo> getMonitors() {
    std::lock_guard<std::mutex> lock(desktop().mutex);
    return desktop().monitors;
}

void resetMonitors() { setMonitors({}); }

MonitorInfo primaryMonitor() {
    std::lock_guard<std::mutex> lock(desktop().mutex);
    return primaryLocked(desktop().monitors);
}

MonitorInfo monitorFromWindow(HWND hwnd) {
    RECT window;
    bool known = getWindowRect(hwnd, &window);
    std::lock_guard<std::mutex> lock(desktop().mutex);
    const auto& monitors = desktop().monitors;
    if (!known) return primaryLocked(monitors);
    const MonitorInfo* best = mostOverlappingLocked(monitors, window);
    return best ? *best : primaryLocked(monitors);
}

namespace {

// Distance between two rectangles (0 when they touch or overlap), squared.
long long distanceSquared(const RECT& a, const RECT& b) {
    auto gap = [](long long lo1, long long hi1, long long lo2, long long hi2) {
        if (hi1 < lo2) return lo2 - hi1;
        if (hi2 < lo1) return lo1 - hi2;
        return 0LL;
    };
    const long long dx = gap(a.left, a.right, b.left, b.right);
    const long long dy = gap(a.top, a.bottom, b.top, b.bottom);
    return dx * dx + dy * dy;
}

}  // namespace

HMONITOR monitorFromWindow(HWND hwnd, uint32_t flags) {
    RECT window;
    const bool known = getWindowRect(hwnd, &window);
    std::lock_guard<std::mutex> lock(desktop().mutex);
    const auto& monitors = desktop().monitors;
    if (known) {
        size_t best = monitors.size();
        long long bestArea = 0;
        for (size_t i = 0; i < monitors.size(); ++i) {
            const long long area = overlapArea(window, monitors[i].rect);
            if (area > bestArea) {
                best = i;
                bestArea = area;
            }
        }
        if (best < monitors.size()) return best + 1;
    }
    if (flags == MONITOR_DEFAULTTONEAREST && known) {
        size_t best = 0;
        for (size_t i = 1; i < monitors.size(); ++i) {
            if (distanceSquared(window, monitors[i].rect) < distanceSquared(window, monitors[best].rect)) best = i;
        }
        return best + 1;
    }
    if (flags == MONITOR_DEFAULTTONEAREST || flags == MONITOR_DEFAULTTOPRIMARY) {
        for (size_t i = 0; i < monitors.size(); ++i) {
            if (monitors[i].primary) return i + 1;
        }
    }
    return 0;
}

bool getMonitorInfo(HMONITOR monitor, MonitorInfo* info) {
    std::lock_guard<std::mutex> lock(desktop().mutex);
    const auto& monitors = desktop().monitors;
    if (monitor == 0 || monitor > monitors.size()) return false;
    if (info) *info = monitors[monitor - 1];
    return true;
}

bool monitorFromRect(const RECT& rect, MonitorInfo* monitor) {
    std::lock_guard<std::mutex> lock(desktop().mutex);
    const MonitorInfo* best = mostOverlappingLocked(desktop().monitors, rect);
    if (best && monitor) *monitor = *best;
    return best != nullptr;
}

int getScreenDeviceCaps(int index) {
    MonitorInfo primary = primaryMonitor();
    switch (index) {
        case LOGPIXELSX: return primary.dpiX;
        case LOGPIXELSY: return primary.dpiY;
        default: return 0;
    }
}

}  // namespace platform
