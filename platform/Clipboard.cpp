#include "platform/Clipboard.h"

#include <cstring>
#include <map>
#include <vector>

namespace platform {
namespace {

struct Blocks {
    std::map<HGLOBAL, std::vector<unsigned char>> live;
    HGLOBAL next = 1;
};

Blocks& blocks() {
    static Blocks b;
    return b;
}

struct ClipboardState {
    bool open = false;
    HWND opener = 0;
    HWND owner = 0;
    int busyAttempts = 0;
    bool failHandOver = false;
    std::map<UINT, HGLOBAL> data;
};

ClipboardState& clip() {
    static ClipboardState c;
    return c;
}

void freeAllData() {
    for (auto& [format, block] : clip().data) globalFree(block);
    clip().data.clear();
}

}  // namespace

HGLOBAL globalAlloc(UINT /*flags*/, size_t bytes) {
    HGLOBAL handle = blocks().next++;
    blocks().live.emplace(handle, std::vector<unsigned char>(bytes, 0));
    return handle;
}

void* globalLock(HGLOBAL block) {
    auto it = blocks().live.find(block);
    if (it == blocks().live.end()) return nullptr;
    // A block of size 0 still has an address, as a locked global block has.
    static unsigned char empty;
    return it->second.empty() ? &empty : it->second.data();
}

bool globalUnlock(HGLOBAL block) { return blocks().live.count(block) != 0; }

size_t globalSize(HGLOBAL block) {
    auto it = blocks().live.find(block);
    return it == blocks().live.end() ? 0 : it->second.size();
}

HGLOBAL globalFree(HGLOBAL block) { return blocks().live.erase(block) ? 0 : block; }

int liveGlobalBlockCount() { return static_cast<int>(blocks().live.size()); }

bool openClipboard(HWND owner) {
    ClipboardState& c = clip();
    if (c.open) return false;
    if (c.busyAttempts > 0) {
        --c.busyAttempts;
        return false;
    }
    if (owner != 0 && !isWindow(owner)) return false;
    c.open = true;
    c.opener = owner;
    return true;
}

bool closeClipboard() {
    if (!clip().open) return false;
    clip().open = false;
    clip().opener = 0;
    return true;
}

bool emptyClipboard() {
    if (!clip().open) return false;
    freeAllData();
    clip().owner = clip().opener;
    return true;
}

bool isClipboardFormatAvailable(UINT format) { return clip().data.count(format) != 0; }

HGLOBAL getClipboardData(UINT format) {
    if (!clip().open) return 0;
    auto it = clip().data.find(format);
    return it == clip().data.end() ? 0 : it->second;
}

HGLOBAL setClipboardData(UINT format, HGLOBAL block) {
    ClipboardState& c = clip();
    if (!c.open || !blocks().live.count(block)) return 0;
    if (c.failHandOver) {
        c.failHandOver = false;
        return 0;
    }
    auto it = c.data.find(format);
    if (it != c.data.end() && it->second != block) globalFree(it->second);
    c.data[format] = block;
    return block;
}

HWND getClipboardOwner() { return clip().owner; }

bool isClipboardOpen() { return clip().open; }

void setClipboardBusyForTesting(int attempts) { clip().busyAttempts = attempts > 0 ? attempts : 0; }

void failNextClipboardHandOverForTesting() { clip().failHandOver = true; }

void putClipboardBlockForTesting(UINT format, const void* bytes, size_t size) {
    HGLOBAL block = globalAlloc(GMEM_MOVEABLE, size);
    if (size) std::memcpy(globalLock(block), bytes, size);
    auto it = clip().data.find(format);
    if (it != clip().data.end()) globalFree(it->second);
    clip().data[format] = block;
    clip().owner = 0;
}

void resetClipboardModel() {
    freeAllData();
    clip() = ClipboardState{};
}

}  // namespace platform
