#include "platform/Menu.h"

#include <map>
#include <vector>

namespace platform {

namespace {

struct Entry {
    UINT type = MFT_STRING;
    UINT state = MFS_ENABLED;
    UINT id = 0;
    HMENU submenu = 0;
    std::string text;
};

struct Menu {
    std::vector<Entry> entries;
};

struct Failure {
    MenuOperation operation;
    DWORD error;
    int skip;
};

struct Model {
    std::map<HMENU, Menu> menus;
    std::map<HWND, HMENU> systemMenus;
    std::map<HWND, HMENU> menuBars;
    std::map<HWND, int> draws;
    std::vector<Failure> failures;
    HMENU next = 0x1000;
};

Model& model() {
    static Model m;
    return m;
}

// True when a pending failure hits this call (and sets the error).
bool injectedFailure(MenuOperation operation) {
    auto& failures = model().failures;
    for (auto it = failures.begin(); it != failures.end(); ++it) {
        if (it->operation != operation) continue;
        if (it->skip > 0) {
            --it->skip;
            return false;
        }
        setLastError(it->error);
        failures.erase(it);
        return true;
    }
    return false;
}

Menu* findMenu(HMENU handle) {
    auto it = model().menus.find(handle);
    if (it == model().menus.end()) {
        setLastError(ERROR_INVALID_MENU_HANDLE);
        return nullptr;
    }
    return &it->second;
}

// The menu holding the entry and its index; searches submenus for commands.
bool locate(HMENU handle, UINT item, bool byPosition, Menu** owner, size_t* index, int depth = 0) {
    Menu* menu = findMenu(handle);
    if (!menu) return false;
    if (byPosition) {
        if (item >= menu->entries.size()) {
            setLastError(ERROR_MENU_ITEM_NOT_FOUND);
            return false;
        }
        *owner = menu;
        *index = item;
        return true;
    }
    for (size_t i = 0; i < menu->entries.size(); ++i) {
        if (menu->entries[i].id == item) {
            *owner = menu;
            *index = i;
            return true;
        }
    }
    if (depth < 32) {
        for (const Entry& entry : menu->entries) {
            if (entry.submenu && model().menus.count(entry.submenu) &&
                locate(entry.submenu, item, false, owner, index, depth + 1)) {
                return true;
            }
        }
    }
    setLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return false;
}

void destroyTree(HMENU handle) {
    auto it = model().menus.find(handle);
    if (it == model().menus.end()) return;
    std::vector<HMENU> subs;
    for (const Entry& entry : it->second.entries) {
        if (entry.submenu) subs.push_back(entry.submenu);
    }
    model().menus.erase(it);
    for (HMENU sub : subs) destroyTree(sub);
}

HMENU newMenu() {
    HMENU handle = ++model().next;
    model().menus[handle];
    return handle;
}

void applyInfo(Entry& entry, const MENUITEMINFO& info) {
    if (info.fMask & MIIM_FTYPE) entry.type = info.fType;
    if (info.fMask & MIIM_STATE) entry.state = info.fState;
    if (info.fMask & MIIM_ID) entry.id = info.wID;
    if (info.fMask & MIIM_SUBMENU) entry.submenu = info.hSubMenu;
    if (info.fMask & MIIM_STRING) entry.text = info.text;
}

}  // namespace

HMENU getSystemMenu(HWND hwnd, bool revert) {
    if (!isWindow(hwnd)) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (getParent(hwnd) != 0) return 0;
    auto& systemMenus = model().systemMenus;
    auto it = systemMenus.find(hwnd);
    if (it != systemMenus.end() && !revert) return it->second;
    if (it != systemMenus.end()) destroyTree(it->second);
    HMENU menu = newMenu();
    systemMenus[hwnd] = menu;
    appendMenu(menu, MF_STRING, SC_RESTORE, "&Restore");
    appendMenu(menu, MF_STRING, SC_MOVE, "&Move");
    appendMenu(menu, MF_STRING, SC_SIZE, "&Size");
    appendMenu(menu, MF_STRING, SC_MINIMIZE, "Mi&nimize");
    appendMenu(menu, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
    appendMenu(menu, MF_SEPARATOR, 0, "");
    appendMenu(menu, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
    return revert ? 0 : menu;
}

HMENU createMenu() {
    if (injectedFailure(MenuOperation::CreateMenu)) return 0;
    return newMenu();
}

bool destroyMenu(HMENU menu) {
    if (injectedFailure(MenuOperation::DestroyMenu)) return false;
    if (!findMenu(menu)) return false;
    destroyTree(menu);
    return true;
}

bool isMenu(HMENU menu) { return model().menus.count(menu) != 0; }

bool setMenu(HWND hwnd, HMENU menu) {
    if (injectedFailure(MenuOperation::SetMenu)) return false;
    if (!isWindow(hwnd)) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if (menu && !findMenu(menu)) return false;
    model().menuBars[hwnd] = menu;
    return true;
}

HMENU getMenu(HWND hwnd) {
    auto it = model().menuBars.find(hwnd);
    return it == model().menuBars.end() ? 0 : it->second;
}

bool drawMenuBar(HWND hwnd) {
    if (!isWindow(hwnd)) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    ++model().draws[hwnd];
    return true;
}

int menuBarDrawCount(HWND hwnd) {
    auto it = model().draws.find(hwnd);
    return it == model().draws.end() ? 0 : it->second;
}

bool insertMenuItem(HMENU handle, UINT item, bool byPosition, const MENUITEMINFO& info) {
    if (injectedFailure(MenuOperation::InsertMenuItem)) return false;
    Menu* owner = nullptr;
    size_t index = 0;
    if (byPosition) {
        owner = findMenu(handle);
        if (!owner) return false;
        index = item < owner->entries.size() ? item : owner->entries.size();
    } else if (!locate(handle, item, false, &owner, &index)) {
        return false;
    }
    Entry entry;
    applyInfo(entry, info);
    owner->entries.insert(owner->entries.begin() + static_cast<std::ptrdiff_t>(index), entry);
    return true;
}

bool setMenuItemInfo(HMENU menu, UINT item, bool byPosition, const MENUITEMINFO& info) {
    if (injectedFailure(MenuOperation::SetMenuItemInfo)) return false;
    Menu* owner = nullptr;
    size_t index = 0;
    if (!locate(menu, item, byPosition, &owner, &index)) return false;
    applyInfo(owner->entries[index], info);
    return true;
}

bool getMenuItemInfo(HMENU menu, UINT item, bool byPosition, MENUITEMINFO* info) {
    Menu* owner = nullptr;
    size_t index = 0;
    if (!locate(menu, item, byPosition, &owner, &index)) return false;
    const Entry& entry = owner->entries[index];
    info->fType = entry.type;
    info->fState = entry.state;
    info->wID = entry.id;
    info->hSubMenu = entry.submenu;
    info->text = entry.text;
    return true;
}

bool appendMenu(HMENU handle, UINT flags, uintptr_t idOrSubmenu, const std::string& text) {
    Menu* menu = findMenu(handle);
    if (!menu) return false;
    Entry entry;
    entry.type = (flags & MF_SEPARATOR) ? MFT_SEPARATOR : MFT_STRING;
    entry.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    if (flags & MF_POPUP) {
        entry.submenu = static_cast<HMENU>(idOrSubmenu);
    } else {
        entry.id = static_cast<UINT>(idOrSubmenu);
    }
    if (!(flags & MF_SEPARATOR)) entry.text = text;
    menu->entries.push_back(entry);
    return true;
}

bool deleteMenu(HMENU menu, UINT item, UINT flags) {
    if (injectedFailure(MenuOperation::DeleteMenu)) return false;
    Menu* owner = nullptr;
    size_t index = 0;
    if (!locate(menu, item, (flags & MF_BYPOSITION) != 0, &owner, &index)) return false;
    const HMENU submenu = owner->entries[index].submenu;
    owner->entries.erase(owner->entries.begin() + static_cast<std::ptrdiff_t>(index));
    if (submenu) destroyTree(submenu);
    return true;
}

DWORD checkMenuItem(HMENU menu, UINT item, UINT flags) {
    Menu* owner = nullptr;
    size_t index = 0;
    if (!locate(menu, item, (flags & MF_BYPOSITION) != 0, &owner, &index)) return 0xFFFFFFFFu;
    Entry& entry = owner->entries[index];
    const DWORD previous = entry.state & MF_CHECKED;
    entry.state = (entry.state & ~MF_CHECKED) | (flags & MF_CHECKED);
    return previous;
}

int getMenuItemCount(HMENU handle) {
    Menu* menu = findMenu(handle);
    return menu ? static_cast<int>(menu->entries.size()) : -1;
}

UINT getMenuItemID(HMENU handle, int position) {
    Menu* menu = findMenu(handle);
    if (!menu || position < 0 || static_cast<size_t>(position) >= menu->entries.size()) return 0xFFFFFFFFu;
    const Entry& entry = menu->entries[static_cast<size_t>(position)];
    return entry.submenu ? 0xFFFFFFFFu : entry.id;
}

UINT getMenuState(HMENU menu, UINT item, UINT flags) {
    Menu* owner = nullptr;
    size_t index = 0;
    if (!locate(menu, item, (flags & MF_BYPOSITION) != 0, &owner, &index)) return 0xFFFFFFFFu;
    const Entry& entry = owner->entries[index];
    UINT state = entry.state | entry.type;
    if (entry.submenu) {
        const int count = getMenuItemCount(entry.submenu);
        state = (state & 0xFF) | MF_POPUP | (static_cast<UINT>(count < 0 ? 0 : count) << 8);
    }
    return state;
}

HMENU getSubMenu(HMENU handle, int position) {
    Menu* menu = findMenu(handle);
    if (!menu || position < 0 || static_cast<size_t>(position) >= menu->entries.size()) return 0;
    return menu->entries[static_cast<size_t>(position)].submenu;
}

void failMenuCall(MenuOperation operation, DWORD error, int skip) {
    model().failures.push_back({operation, error, skip});
}

int liveMenuCount() { return static_cast<int>(model().menus.size()); }

void resetMenuModel() {
    Model& m = model();
    m.menus.clear();
    m.systemMenus.clear();
    m.menuBars.clear();
    m.draws.clear();
    m.failures.clear();
}

}  // namespace platform
