#include "host/player/PlayerMenuServiceWin.h"

#include <algorithm>

#include "engine/base/Log.h"

namespace player {

namespace {

// Process-wide: every item of every menu service takes the next value.
uint16_t s_lastCommandId = PlayerMenuServiceWin::kFirstCommandId - 1;

constexpr const char* kSeparatorTitle = "-";

}  // namespace

// ---------------------------------------------------------------------------
// PlayerMenuItemWin

PlayerMenuItemWin* PlayerMenuItemWin::create(const std::string& menuId, const std::string& title) {
    auto* item = new PlayerMenuItemWin();
    item->menuId = menuId;
    item->title = title;
    item->autorelease();
    return item;
}

PlayerMenuItemWin::~PlayerMenuItemWin() {
    if (parent) parent->release();
    if (hmenu && ownsMenu) {
        engine::log("PlayerMenuItemWin::~PlayerMenuItemWin() - %s (HMENU)", menuId.c_str());
        platform::destroyMenu(hmenu);
    } else {
        engine::log("PlayerMenuItemWin::~PlayerMenuItemWin() - %s", menuId.c_str());
    }
}

unsigned PlayerMenuItemWin::stateBits() const {
    unsigned state = (enabled && menubarEnabled) ? platform::MFS_ENABLED : platform::MFS_DISABLED;
    if (checked) state |= platform::MFS_CHECKED;
    return state;
}

bool PlayerMenuItemWin::writeState(unsigned state) {
    platform::MENUITEMINFO info;
    info.fMask = platform::MIIM_STATE;
    info.fState = state;
    return parent && platform::setMenuItemInfo(parent->hmenu, commandId, false, info);
}

void PlayerMenuItemWin::setTitle(const std::string& newTitle) {
    if (newTitle.empty()) {
        engine::log("MenuServiceWin::setTitle() - can not set menu title to empty, menu id (%s)", menuId.c_str());
        return;
    }
    platform::MENUITEMINFO info;
    info.fMask = platform::MIIM_FTYPE | platform::MIIM_STRING;
    info.fType = newTitle == kSeparatorTitle ? platform::MFT_SEPARATOR : platform::MFT_STRING;
    info.text = newTitle;
    if (parent && platform::setMenuItemInfo(parent->hmenu, commandId, false, info)) {
        title = newTitle;
    } else {
        engine::log("MenuServiceWin::setTitle() - set menu title failed, menu id (%s). error code = %u",
                    menuId.c_str(), platform::getLastError());
    }
}

void PlayerMenuItemWin::setEnabled(bool value) {
    const bool previous = enabled;
    enabled = value;
    if (writeState(stateBits())) return;
    enabled = previous;
    engine::log("MenuServiceWin::setEnabled() - set menu enabled failed, menu id (%s). error code = %u",
                menuId.c_str(), platform::getLastError());
}

void PlayerMenuItemWin::setChecked(bool value) {
    const bool previous = checked;
    checked = value;
    if (writeState(stateBits())) return;
    checked = previous;
    engine::log("MenuServiceWin::setChecked() - set menu checked failed, menu id (%s). error code = %u",
                menuId.c_str(), platform::getLastError());
}

void PlayerMenuItemWin::setShortcut(const std::string&) {}

// ---------------------------------------------------------------------------
// PlayerMenuServiceWin

PlayerMenuServiceWin::PlayerMenuServiceWin(platform::HWND hwnd) : _hwnd(hwnd) {
    _root = new PlayerMenuItemWin();
    _root->menuId = "__ROOT__";
    _root->ownsMenu = false;
    _root->hmenu = platform::getSystemMenu(hwnd, false);
    if (!_root->hmenu) {
        _root->hmenu = platform::createMenu();
        if (_root->hmenu) platform::setMenu(hwnd, _root->hmenu);
    }
}

PlayerMenuServiceWin::~PlayerMenuServiceWin() {
    _items.clear();
    _root->release();
}

platform::HMENU PlayerMenuServiceWin::getRootMenu() const { return _root->hmenu; }

PlayerMenuItem* PlayerMenuServiceWin::addItem(const std::string& menuId, const std::string& title) {
    return addItem(menuId, title, "", MAX_ORDER);
}

PlayerMenuItem* PlayerMenuServiceWin::addItem(const std::string& menuId, const std::string& title,
                                              const std::string& parentId, int order) {
    if (menuId.empty() || title.empty()) {
        engine::log("MenuServiceWin::addItem() - menuId and title must is non-empty");
        return nullptr;
    }
    if (_items.at(menuId)) {
        engine::log("MenuServiceWin::addItem() - menu id (%s) is exists", menuId.c_str());
        return nullptr;
    }

    PlayerMenuItemWin* parent = _root;
    if (!parentId.empty()) {
        if (PlayerMenuItemWin* known = _items.at(parentId)) parent = known;
    }

    if (!parent->hmenu) {
        // The parent's entry becomes a group: give it a submenu first.
        const platform::HMENU submenu = platform::createMenu();
        bool attached = false;
        if (submenu) {
            platform::MENUITEMINFO info;
            info.fMask = platform::MIIM_SUBMENU;
            info.hSubMenu = submenu;
            attached = platform::setMenuItemInfo(parent->parent->hmenu, parent->commandId, false, info);
        }
        if (!attached) {
            const unsigned error = platform::getLastError();
            if (submenu) platform::destroyMenu(submenu);
            engine::log("MenuServiceWin::addItem() - set menu handle failed, menu id (%s). error code = %u",
                        menuId.c_str(), error);
            return nullptr;
        }
        parent->hmenu = submenu;
        parent->group = true;
    }

    PlayerMenuItemWin* item = PlayerMenuItemWin::create(menuId, title);
    item->retain();   // until it is in the table, or refused
    item->commandId = ++s_lastCommandId;
    item->parent = parent;
    parent->retain();

    platform::MENUITEMINFO info;
    info.fMask = platform::MIIM_STATE | platform::MIIM_ID | platform::MIIM_FTYPE | platform::MIIM_STRING;
    info.fType = title == kSeparatorTitle ? platform::MFT_SEPARATOR : platform::MFT_STRING;
    info.fState = item->stateBits();
    info.wID = item->commandId;
    info.text = title;

    const int count = static_cast<int>(parent->children.size());
    const int position = std::clamp(order, 0, count);
    if (!platform::insertMenuItem(parent->hmenu, static_cast<platform::UINT>(position), true, info)) {
        engine::log("MenuServiceWin::addItem() - insert new menu item failed, menu id (%s). error code = %u",
                    menuId.c_str(), platform::getLastError());
        item->release();
        return nullptr;
    }

    parent->children.insert(parent->children.begin() + position, item);
    _items.insert(menuId, item);
    _commandId2menuId[item->commandId] = menuId;
    for (size_t i = 0; i < parent->children.size(); ++i) parent->children[i]->order = static_cast<int>(i);
    item->release();
    return item;
}

PlayerMenuItem* PlayerMenuServiceWin::getItem(const std::string& menuId) {
    PlayerMenuItemWin* item = _items.at(menuId);
    if (!item) engine::log("MenuServiceWin::getItem() - Invalid menu id (%s)", menuId.c_str());
    return item;
}

PlayerMenuItemWin* PlayerMenuServiceWin::getItemByCommandId(uint16_t commandId) const {
    auto it = _commandId2menuId.find(commandId);
    return it == _commandId2menuId.end() ? nullptr : _items.at(it->second);
}

bool PlayerMenuServiceWin::removeItem(const std::string& menuId) {
    PlayerMenuItemWin* item = _items.at(menuId);
    if (!item) {
        engine::log("MenuServiceWin::removeItem() - Invalid menu id (%s)", menuId.c_str());
        return false;
    }
    return removeItemInternal(item, false);
}

bool PlayerMenuServiceWin::removeItemInternal(PlayerMenuItemWin* item, bool isChild) {
    // Children go first; the first one that cannot go stops the group's removal.
    while (!item->children.empty()) {
        if (!removeItemInternal(item->children.front(), true)) return false;
    }

    PlayerMenuItemWin* parent = item->parent;
    if (!platform::deleteMenu(parent->hmenu, item->commandId, platform::MF_BYCOMMAND)) {
        engine::log("MenuServiceWin::removeItem() - remove menu item failed, menu id (%s). error code = %u",
                    item->menuId.c_str(), platform::getLastError());
        return false;
    }
    // Deleting the entry destroyed its submenu.
    item->hmenu = 0;

    item->retain();
    auto& siblings = parent->children;
    auto it = std::find(siblings.begin(), siblings.end(), item);
    if (it != siblings.end()) {
        siblings.erase(it);
        engine::log("MenuServiceWin::removeItem() - remove menu item (%s)", item->menuId.c_str());
    } else {
        engine::log("MenuServiceWin::removeItem() - remove menu item (%s) failed, not found command id from "
                    "parent->children",
                    item->menuId.c_str());
    }
    _commandId2menuId.erase(item->commandId);
    _items.erase(item->menuId);
    if (!isChild) {
        for (size_t i = 0; i < siblings.size(); ++i) siblings[i]->order = static_cast<int>(i);
    }
    platform::drawMenuBar(_hwnd);
    item->release();
    return true;
}

void PlayerMenuServiceWin::setMenuBarEnabled(bool enabled) {
    _menubarEnabled = enabled;
    for (PlayerMenuItemWin* child : _root->children) {
        child->menubarEnabled = enabled;
        child->writeState(child->stateBits());
    }
}

}  // namespace player
