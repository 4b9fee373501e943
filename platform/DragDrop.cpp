#include "platform/DragDrop.h"

#include <map>

#include "platform/WindowRecord.h"

namespace platform {
namespace {

struct DropState {
    std::map<HDROP, std::vector<std::string>> live;
    HDROP next = 0x1000;
    int badUses = 0;
};

DropState& drops() {
    static DropState state;
    return state;
}

}  // namespace

namespace detail {
void resetDrops() { drops() = DropState{}; }
}  // namespace detail

void dragAcceptFiles(HWND hwnd, bool accept) {
    if (detail::WindowRecord* w = detail::findWindow(hwnd)) w->acceptFiles = accept;
}

UINT dragQueryFile(HDROP drop, UINT index, std::string* path) {
    auto it = drops().live.find(drop);
    if (it == drops().live.end()) {
        ++drops().badUses;
        return 0;
    }
    const auto& paths = it->second;
    if (index == 0xFFFFFFFFu) return static_cast<UINT>(paths.size());
    if (index >= paths.size()) return 0;
    if (path) *path = paths[index];
    return static_cast<UINT>(paths[index].size());
}

void dragFinish(HDROP drop) {
    if (drops().live.erase(drop) == 0) ++drops().badUses;
}

bool dropFiles(HWND hwnd, const std::vector<std::string>& paths) {
    for (HWND target = hwnd; target != 0; target = getParent(target)) {
        const detail::WindowRecord* w = detail::findWindow(target);
        if (!w) return false;
        if (!w->acceptFiles) continue;
        const HDROP drop = drops().next++;
        drops().live[drop] = paths;
        if (!postMessage(target, WM_DROPFILES, drop, 0)) {
            drops().live.erase(drop);
            return false;
        }
        return true;
    }
    return false;
}

int liveDropCount() { return static_cast<int>(drops().live.size()); }
int badDropUseCount() { return drops().badUses; }

}  // namespace platform
