#pragma once
// The seven commands of the right sidebar, top to bottom, with their texts and
// line icons (drawn on a 20 × 20 grid). The ids are multiples of 16 so the same
// id serves as WM_COMMAND and as WM_SYSCOMMAND.
#include <string>
#include <vector>

namespace host {

enum SidebarCommand : int {
    kCmdZoomFit = 7440,
    kCmdZoomOut = 7456,
    kCmdZoomIn = 7472,
    kCmdPin = 7488,
    kCmdMusic = 7504,
    kCmdTopUp = 7520,
    kCmdSupport = 7536,
};

inline constexpr int kFirstSidebarCommand = 7440;
inline constexpr int kLastSidebarCommand = 7536;
// Button order, top to bottom.
inline constexpr int kSidebarOrder[7] = {kCmdZoomOut, kCmdZoomIn, kCmdZoomFit, kCmdPin,
                                         kCmdMusic,   kCmdTopUp,  kCmdSupport};

// The sidebar's switches that change texts and icons.
struct SidebarState {
    bool pinned = false;
    bool musicMuted = false;
};

// Tooltip (and button text) for a command; "" for any other id.
std::string sidebarTooltip(int id, const SidebarState& state);
// The short label under the icon; "" for any other id.
std::string sidebarLabel(int id, const SidebarState& state);

struct IconShape {
    enum Kind { Line, Ellipse } kind;
    int x1, y1, x2, y2;   // a line's ends, or an ellipse's bounding box
};
std::vector<IconShape> sidebarIcon(int id, const SidebarState& state);

}  // namespace host
