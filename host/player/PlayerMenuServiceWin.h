#pragma once
// The menu service on the window system's menus. Items go into the game window's
// system menu (or, for a window without one, a menu bar created for it); each item
// gets a command identifier from one process-wide counter, the first being 4097, so
// the window procedure can map a WM_COMMAND back to its item. Main thread only.
// Every failure is logged and answered with null or false, leaving the tables and
// the menus as they were (a group whose removal stops half-way keeps the children
// that could not be removed).
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/base/Map.h"
#include "host/player/PlayerMenuServiceProtocol.h"
#include "platform/Menu.h"

namespace player {

class PlayerMenuItemWin : public PlayerMenuItem {
public:
    static PlayerMenuItemWin* create(const std::string& menuId, const std::string& title);
    ~PlayerMenuItemWin() override;

    void setTitle(const std::string& title) override;
    void setEnabled(bool enabled) override;
    void setChecked(bool checked) override;
    void setShortcut(const std::string& shortcut) override;

    uint16_t getCommandId() const { return commandId; }
    platform::HMENU getMenuHandle() const { return hmenu; }
    PlayerMenuItemWin* getParent() const { return parent; }
    const std::vector<PlayerMenuItemWin*>& getChildren() const { return children; }

private:
    friend class PlayerMenuServiceWin;
    PlayerMenuItemWin() = default;
    // The entry's state bits for the current fields.
    unsigned stateBits() const;
    bool writeState(unsigned state);

    PlayerMenuItemWin* parent = nullptr;   // retained
    uint16_t commandId = 0;
    platform::HMENU hmenu = 0;
    bool menubarEnabled = true;
    std::vector<PlayerMenuItemWin*> children;   // not retained: the service's table holds them
    bool ownsMenu = true;   // false for the root, whose menu belongs to the window
};

class PlayerMenuServiceWin : public PlayerMenuServiceProtocol {
public:
    explicit PlayerMenuServiceWin(platform::HWND hwnd);
    ~PlayerMenuServiceWin() override;

    PlayerMenuItem* addItem(const std::string& menuId, const std::string& title) override;
    PlayerMenuItem* addItem(const std::string& menuId, const std::string& title, const std::string& parentId,
                            int order) override;
    PlayerMenuItem* getItem(const std::string& menuId) override;
    bool removeItem(const std::string& menuId) override;
    void setMenuBarEnabled(bool enabled) override;

    // The item owning a WM_COMMAND identifier, or null.
    PlayerMenuItemWin* getItemByCommandId(uint16_t commandId) const;
    platform::HMENU getRootMenu() const;

    static constexpr uint16_t kFirstCommandId = 4097;

private:
    bool removeItemInternal(PlayerMenuItemWin* item, bool isChild);

    platform::HWND _hwnd;
    bool _menubarEnabled = true;
    PlayerMenuItemWin* _root = nullptr;
    engine::Map<std::string, PlayerMenuItemWin*> _items;
    std::unordered_map<uint16_t, std::string> _commandId2menuId;
};

}  // namespace player
