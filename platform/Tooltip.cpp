#include "platform/Tooltip.h"

#include <map>
#include <utility>

#include "platform/WindowPos.h"
#include "platform/WindowRecord.h"

namespace platform {
namespace {

struct TooltipState {
    std::map<std::pair<HWND, uintptr_t>, TTTOOLINFO> tools;
    int maxWidth = -1;
};

std::map<HWND, TooltipState>& tooltips() {
    static std::map<HWND, TooltipState> table;
    return table;
}

bool sizeAccepted(UINT size) { return size == 44 || size == 48 || size == 52; }

const TTTOOLINFO* record(LPARAM lParam) {
    const auto* info = reinterpret_cast<const TTTOOLINFO*>(lParam);
    return info && sizeAccepted(info->cbSize) ? info : nullptr;
}

}  // namespace

namespace detail {

void forgetTooltipState(HWND hwnd) { tooltips().erase(hwnd); }
void resetTooltipState() { tooltips().clear(); }

LRESULT tooltipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TooltipState& state = tooltips()[hwnd];
    switch (msg) {
        case TTM_ADDTOOLW: {
            const TTTOOLINFO* info = record(lParam);
            if (!info) return 0;
            state.tools[{info->hwnd, info->uId}] = *info;
            return 1;
        }
        case TTM_DELTOOLW: {
            if (const TTTOOLINFO* info = record(lParam)) state.tools.erase({info->hwnd, info->uId});
            return 0;
        }
        case TTM_UPDATETIPTEXTW: {
            const TTTOOLINFO* info = record(lParam);
            if (!info) return 0;
            auto it = state.tools.find({info->hwnd, info->uId});
            if (it != state.tools.end()) it->second.text = info->text;
            return 0;
        }
        case TTM_GETTOOLCOUNT: return static_cast<LRESULT>(state.tools.size());
        case TTM_SETMAXTIPWIDTH: {
            const int previous = state.maxWidth;
            state.maxWidth = static_cast<int>(lParam);
            return previous;
        }
        case TTM_GETMAXTIPWIDTH: return state.maxWidth;
        case TTM_POP:
            showWindowCommand(hwnd, SW_HIDE);
            return 0;
        default: return defWindowProc(hwnd, msg, wParam, lParam);
    }
}

}  // namespace detail

bool initCommonControlsEx(uint32_t /*classes*/) { return true; }

HWND hoverTool(HWND tool) {
    for (auto& [tooltip, state] : tooltips()) {
        for (const auto& [key, info] : state.tools) {
            if ((info.uFlags & TTF_IDISHWND) && info.uId == tool) {
                const HWND tip = tooltip;
                setWindowText(tip, info.text);
                showWindowCommand(tip, SW_SHOWNOACTIVATE);
                return tip;
            }
        }
    }
    return 0;
}

std::string tooltipToolText(HWND tooltip, HWND owner, uintptr_t id) {
    auto it = tooltips().find(tooltip);
    if (it == tooltips().end()) return "";
    auto tool = it->second.tools.find({owner, id});
    return tool == it->second.tools.end() ? "" : tool->second.text;
}

}  // namespace platform
