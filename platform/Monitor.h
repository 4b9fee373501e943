#pragma once
// Monitors of the desktop model: screen rectangles, work areas and DPI. Tests set
// them; the default is one 1920 x 1080 monitor at 96 DPI with a 40-pixel task bar.
#include <vector>

#include "platform/Window.h"

namespace platform {

struct MonitorInfo {
    RECT rect;          // screen rectangle
    RECT workArea;      // rect less the task bar
    int dpiX = 96;
    int dpiY = 96;
    bool primary = false;
};

// An empty list restores the default. Exactly one monitor ends up primary: the
// first one flagged, else the first of the list.
void setMonitors(const std::vector<MonitorInfo>& monitors);
std::vector<MonitorInfo> getMonitors();
void resetMonitors();                 // back to the default monitor
MonitorInfo primaryMonitor();
// The monitor that holds most of the window (the primary when none does).
MonitorInfo monitorFromWindow(HWND hwnd);
// The monitor that holds most of the rectangle, with no default: false (and
// `monitor` untouched) when the rectangle overlaps no monitor. `monitor` may be
// null when only the answer matters.
bool monitorFromRect(const RECT& rect, MonitorInfo* monitor);

// Monitor handles: 1 + the monitor's index in the current list (0 is none).
using HMONITOR = uintptr_t;
inline constexpr uint32_t MONITOR_DEFAULTTONULL = 0;
inline constexpr uint32_t MONITOR_DEFAULTTOPRIMARY = 1;
inline constexpr uint32_t MONITOR_DEFAULTTONEAREST = 2;
// The monitor that holds most of the window; for a window on no monitor, by
// `flags`: none, the primary, or the one nearest to the window's rectangle.
// A bad handle counts as a window on no monitor.
HMONITOR monitorFromWindow(HWND hwnd, uint32_t flags);
bool getMonitorInfo(HMONITOR monitor, MonitorInfo* info);

// GetDeviceCaps indices of the screen device context.
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;
// Screen device caps: LOGPIXELSX / LOGPIXELSY give the primary monitor's DPI.
int getScreenDeviceCaps(int index);

}  // namespace platform
