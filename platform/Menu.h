#pragma once
// Menus of the window-system model, named and numbered as Win32's. A menu is a list
// of entries (string, separator, or an entry opening a submenu); a top-level window
// has a system menu with the standard SC_ entries, a child window has none. Lookups
// by command search submenus too. Main thread only. Failures answer false (or the
// documented value) and set getLastError(); tests can make the next calls of one
// operation fail with a chosen error number.
#include <cstdint>
#include <string>

#include "platform/LastError.h"
#include "platform/Window.h"

namespace platform {

using HMENU = uintptr_t;   // 0 is "no menu"

// MENUITEMINFO masks.
inline constexpr UINT MIIM_STATE = 0x0001;
inline constexpr UINT MIIM_ID = 0x0002;
inline constexpr UINT MIIM_SUBMENU = 0x0004;
inline constexpr UINT MIIM_STRING = 0x0040;
inline constexpr UINT MIIM_FTYPE = 0x0100;
// Types.
inline constexpr UINT MFT_STRING = 0x0000;
inline constexpr UINT MFT_SEPARATOR = 0x0800;
// States.
inline constexpr UINT MFS_ENABLED = 0x0000;
inline constexpr UINT MFS_DISABLED = 0x0003;
inline constexpr UINT MFS_CHECKED = 0x0008;
// Flags of appendMenu, deleteMenu, checkMenuItem, getMenuState.
inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_UNCHECKED = 0x0000;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT MF_POPUP = 0x0010;
inline constexpr UINT MF_BYPOSITION = 0x0400;
inline constexpr UINT MF_SEPARATOR = 0x0800;
// System-menu commands.
inline constexpr UINT SC_SIZE = 0xF000;
inline constexpr UINT SC_MOVE = 0xF010;
inline constexpr UINT SC_MINIMIZE = 0xF020;
inline constexpr UINT SC_MAXIMIZE = 0xF030;
inline constexpr UINT SC_CLOSE = 0xF060;
inline constexpr UINT SC_RESTORE = 0xF120;

struct MENUITEMINFO {
    UINT fMask = 0;
    UINT fType = MFT_STRING;
    UINT fState = MFS_ENABLED;
    UINT wID = 0;
    HMENU hSubMenu = 0;
    std::string text;   // UTF-8
};

// The window's system menu (created with the standard entries on first use), 0 for
// a child window or a bad handle. `revert` restores the standard entries.
HMENU getSystemMenu(HWND hwnd, bool revert);
HMENU createMenu();
// Destroys the menu and, recursively, the submenus of its entries.
bool destroyMenu(HMENU menu);
bool isMenu(HMENU menu);
// Attaches a menu bar to a top-level window (0 detaches it).
bool setMenu(HWND hwnd, HMENU menu);
HMENU getMenu(HWND hwnd);
bool drawMenuBar(HWND hwnd);
// Times drawMenuBar succeeded for the window (tests).
int menuBarDrawCount(HWND hwnd);

// Inserts before `item` (a position, or the entry with that command); a position past
// the end appends.
bool insertMenuItem(HMENU menu, UINT item, bool byPosition, const MENUITEMINFO& info);
// Writes the fields named by info.fMask.
bool setMenuItemInfo(HMENU menu, UINT item, bool byPosition, const MENUITEMINFO& info);
// Reads every field (fMask is ignored).
bool getMenuItemInfo(HMENU menu, UINT item, bool byPosition, MENUITEMINFO* info);
bool appendMenu(HMENU menu, UINT flags, uintptr_t idOrSubmenu, const std::string& text);
// Removes the entry (MF_BYCOMMAND or MF_BYPOSITION) and destroys its submenu.
bool deleteMenu(HMENU menu, UINT item, UINT flags);
// Sets or clears MF_CHECKED; the previous check state, or 0xFFFFFFFF when no entry.
DWORD checkMenuItem(HMENU menu, UINT item, UINT flags);
// -1 for a bad menu.
int getMenuItemCount(HMENU menu);
// The entry's command, 0xFFFFFFFF for a submenu entry or no entry.
UINT getMenuItemID(HMENU menu, int position);
// The entry's state and type bits (for a submenu entry, its item count in the high
// byte and MF_POPUP), 0xFFFFFFFF when no entry.
UINT getMenuState(HMENU menu, UINT item, UINT flags);
HMENU getSubMenu(HMENU menu, int position);

enum class MenuOperation { CreateMenu, SetMenu, InsertMenuItem, SetMenuItemInfo, DeleteMenu, DestroyMenu };
// Makes the call of `operation` that comes after `skip` successful ones fail with
// `error` (once). Tests.
void failMenuCall(MenuOperation operation, DWORD error, int skip = 0);
// Number of live menus (tests: leaks).
int liveMenuCount();
// Drops every menu and pending failure (tests).
void resetMenuModel();

}  // namespace platform
