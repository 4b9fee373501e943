#pragma once
// Menu items and the menu service of the player. Item ids are caller-chosen
// strings; titles are UTF-8, "-" makes a separator.
#include <string>

#include "engine/base/Ref.h"
#include "host/player/PlayerServiceProtocol.h"

namespace player {

class PlayerMenuItem : public engine::Ref {
public:
    ~PlayerMenuItem() override = default;
    virtual void setTitle(const std::string& title) = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual void setChecked(bool checked) = 0;
    virtual void setShortcut(const std::string& shortcut) = 0;

    std::string getMenuId() const { return menuId; }
    std::string getTitle() const { return title; }
    int getOrder() const { return order; }
    bool isGroup() const { return group; }
    bool isEnabled() const { return enabled; }
    bool isChecked() const { return checked; }
    std::string getShortcut() const { return shortcut; }

protected:
    PlayerMenuItem() = default;

    std::string menuId;
    std::string title;
    int order = 0;
    bool group = false;
    bool enabled = true;
    bool checked = false;
    std::string shortcut;
};

class PlayerMenuServiceProtocol : public PlayerServiceProtocol {
public:
    static constexpr int MAX_ORDER = 9999;

    // Appends to the root menu.
    virtual PlayerMenuItem* addItem(const std::string& menuId, const std::string& title) = 0;
    // Inserts at `order` (clamped) under the item `parentId` (the root when empty or
    // unknown). Null when refused.
    virtual PlayerMenuItem* addItem(const std::string& menuId, const std::string& title,
                                    const std::string& parentId, int order) = 0;
    virtual PlayerMenuItem* getItem(const std::string& menuId) = 0;
    virtual bool removeItem(const std::string& menuId) = 0;
    virtual void setMenuBarEnabled(bool enabled) = 0;
};

}  // namespace player
