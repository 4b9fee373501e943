#include "host/player/PlayerMenuServiceWin.h"

#include <gtest/gtest.h>

#include "engine/base/Director.h"
#include "host/player/PlayerWin.h"
#include "platform/Menu.h"
#include "support/TestSupport.h"

namespace {

using namespace platform;
using player::PlayerMenuItemWin;
using player::PlayerMenuServiceWin;

class PlayerMenuServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine::Director::getInstance();
        WindowDesc desc;
        desc.windowRect = {0, 0, 640, 480};
        _hwnd = createWindow(desc);
        _menus = std::make_unique<PlayerMenuServiceWin>(_hwnd);
    }
    void TearDown() override {
        _menus.reset();
        engine::Director::destroyInstance();
        resetMenuModel();
        resetWindowModel();
    }
    PlayerMenuItemWin* add(const std::string& id, const std::string& title, const std::string& parent = "",
                           int order = 9999) {
        return static_cast<PlayerMenuItemWin*>(_menus->addItem(id, title, parent, order));
    }
    HMENU root() const { return _menus->getRootMenu(); }
    UINT state(PlayerMenuItemWin* item) const {
        return getMenuState(item->getParent()->getMenuHandle(), item->getCommandId(), MF_BYCOMMAND);
    }

    HWND _hwnd = 0;
    std::unique_ptr<PlayerMenuServiceWin> _menus;
};

TEST_F(PlayerMenuServiceTest, ItemsGoIntoTheSystemMenuWithIdsFrom4097) {
    EXPECT_EQ(root(), getSystemMenu(_hwnd, false));
    const int standard = getMenuItemCount(root());
    EXPECT_EQ(standard, 7);

    auto* first = add("first", "First");
    auto* second = add("second", "Second", "", 0);
    auto* third = add("third", "Third", "", 1);
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(first->getCommandId(), 4097);
    EXPECT_EQ(second->getCommandId(), 4098);
    EXPECT_EQ(third->getCommandId(), 4099);

    // Orders 9999, 0, 1: second, third, first, renumbered 0, 1, 2.
    EXPECT_EQ(getMenuItemID(root(), 0), 4098u);
    EXPECT_EQ(getMenuItemID(root(), 1), 4099u);
    EXPECT_EQ(getMenuItemID(root(), 2), 4097u);
    EXPECT_EQ(second->getOrder(), 0);
    EXPECT_EQ(third->getOrder(), 1);
    EXPECT_EQ(first->getOrder(), 2);
    EXPECT_EQ(getMenuItemCount(root()), standard + 3);

    MENUITEMINFO info;
    ASSERT_TRUE(getMenuItemInfo(root(), 4097, false, &info));
    EXPECT_EQ(info.text, "First");
    EXPECT_EQ(info.fType, MFT_STRING);

    for (uint16_t id : {4097, 4098, 4099}) EXPECT_NE(_menus->getItemByCommandId(id), nullptr) << id;
    // The system menu's own commands and the sidebar's ids belong to no item.
    for (uint16_t id : {0, 4096, 4100, 7440, 0xF030}) EXPECT_EQ(_menus->getItemByCommandId(id), nullptr) << id;
}

TEST_F(PlayerMenuServiceTest, NegativeOrderInsertsFirstAndSeparatorsAreSeparators) {
    add("a", "A");
    auto* sep = add("sep", "-", "", -5);
    ASSERT_NE(sep, nullptr);
    EXPECT_EQ(sep->getOrder(), 0);
    EXPECT_EQ(state(sep) & MFT_SEPARATOR, MFT_SEPARATOR);

    sep->setTitle("Not a separator");
    EXPECT_EQ(state(sep) & MFT_SEPARATOR, 0u);
    EXPECT_EQ(sep->getTitle(), "Not a separator");
    sep->setTitle("-");
    EXPECT_EQ(state(sep) & MFT_SEPARATOR, MFT_SEPARATOR);

    testsupport::LogCapture log;
    sep->setTitle("");
    EXPECT_EQ(sep->getTitle(), "-");
    EXPECT_TRUE(log.contains("MenuServiceWin::setTitle() - can not set menu title to empty, menu id (sep)"));
}

TEST_F(PlayerMenuServiceTest, RefusedItemsLeaveTheMenuUnchanged) {
    ASSERT_NE(add("file", "File"), nullptr);
    const int count = getMenuItemCount(root());
    struct Case {
        const char* id;
        const char* title;
        const char* log;
    };
    const Case cases[] = {
        {"file", "Again", "MenuServiceWin::addItem() - menu id (file) is exists"},
        {"", "No id", "MenuServiceWin::addItem() - menuId and title must is non-empty"},
        {"x", "", "MenuServiceWin::addItem() - menuId and title must is non-empty"},
    };
    for (const Case& c : cases) {
        testsupport::LogCapture log;
        EXPECT_EQ(_menus->addItem(c.id, c.title), nullptr) << c.id;
        EXPECT_TRUE(log.contains(c.log)) << log.text();
        EXPECT_EQ(getMenuItemCount(root()), count);
    }
    EXPECT_EQ(_menus->getItem("file")->getTitle(), "File");

    testsupport::LogCapture log;
    EXPECT_EQ(_menus->getItem("nope"), nullptr);
    EXPECT_TRUE(log.contains("MenuServiceWin::getItem() - Invalid menu id (nope)"));
}

TEST_F(PlayerMenuServiceTest, ChildrenGoIntoTheParentsSubmenu) {
    auto* file = add("file", "File");
    auto* open = add("open", "Open", "file", 0);
    auto* orphan = add("orphan", "Orphan", "no-such-parent", 9999);
    ASSERT_TRUE(file && open && orphan);
    EXPECT_TRUE(file->isGroup());
    ASSERT_NE(file->getMenuHandle(), 0u);
    EXPECT_EQ(open->getParent(), file);
    EXPECT_EQ(orphan->getParent()->getMenuId(), "__ROOT__");

    MENUITEMINFO info;
    ASSERT_TRUE(getMenuItemInfo(root(), file->getCommandId(), false, &info));
    EXPECT_EQ(info.hSubMenu, file->getMenuHandle());
    EXPECT_EQ(getMenuItemCount(file->getMenuHandle()), 1);
    EXPECT_EQ(getMenuItemID(file->getMenuHandle(), 0), open->getCommandId());
}

TEST_F(PlayerMenuServiceTest, FailuresOfTheMenuCallsAreLoggedAndChangeNothing) {
    auto* file = add("file", "File");
    const int before = liveMenuCount();
    struct Case {
        MenuOperation operation;
        const char* id;
        const char* parent;
        const char* log;
    };
    const Case cases[] = {
        {MenuOperation::SetMenuItemInfo, "open", "file",
         "MenuServiceWin::addItem() - set menu handle failed, menu id (open). error code = 1456"},
        {MenuOperation::CreateMenu, "open", "file",
         "MenuServiceWin::addItem() - set menu handle failed, menu id (open). error code = 1456"},
        {MenuOperation::InsertMenuItem, "edit", "",
         "MenuServiceWin::addItem() - insert new menu item failed, menu id (edit). error code = 1456"},
    };
    for (const Case& c : cases) {
        failMenuCall(c.operation, ERROR_MENU_ITEM_NOT_FOUND);
        testsupport::LogCapture log;
        EXPECT_EQ(add(c.id, c.id, c.parent), nullptr);
        EXPECT_TRUE(log.contains(c.log)) << log.text();
        EXPECT_FALSE(file->isGroup());
        EXPECT_EQ(file->getMenuHandle(), 0u);
        EXPECT_EQ(liveMenuCount(), before);   // no stray submenu
    }
    EXPECT_EQ(_menus->getItemByCommandId(4098), nullptr);
    EXPECT_NE(add("open", "Open", "file"), nullptr);
}

TEST_F(PlayerMenuServiceTest, StateWritesKeepBothBits) {
    auto* item = add("music", "Music");
    item->setEnabled(false);
    item->setChecked(true);
    EXPECT_EQ(state(item) & 0xFF, MFS_DISABLED | MFS_CHECKED);   // checking keeps it disabled
    item->setEnabled(true);
    EXPECT_EQ(state(item) & 0xFF, MFS_CHECKED);                  // enabling keeps the check
    item->setChecked(false);
    EXPECT_EQ(state(item) & 0xFF, MFS_ENABLED);
    EXPECT_TRUE(item->isEnabled());
    EXPECT_FALSE(item->isChecked());

    // The menu bar switch disables every root item and gives back each item's own state.
    auto* off = add("off", "Off");
    off->setEnabled(false);
    item->setChecked(true);
    _menus->setMenuBarEnabled(false);
    EXPECT_EQ(state(item) & 0xFF, MFS_DISABLED | MFS_CHECKED);
    EXPECT_EQ(state(off) & 0xFF, MFS_DISABLED);
    _menus->setMenuBarEnabled(true);
    EXPECT_EQ(state(item) & 0xFF, MFS_CHECKED);
    EXPECT_EQ(state(off) & 0xFF, MFS_DISABLED);

    struct Case {
        void (*call)(PlayerMenuItemWin*);
        const char* log;
    };
    const Case cases[] = {
        {[](PlayerMenuItemWin* i) { i->setEnabled(false); },
         "MenuServiceWin::setEnabled() - set menu enabled failed, menu id (music). error code = 1401"},
        {[](PlayerMenuItemWin* i) { i->setChecked(false); },
         "MenuServiceWin::setChecked() - set menu checked failed, menu id (music). error code = 1401"},
        {[](PlayerMenuItemWin* i) { i->setTitle("Sound"); },
         "MenuServiceWin::setTitle() - set menu title failed, menu id (music). error code = 1401"},
    };
    for (const Case& c : cases) {
        failMenuCall(MenuOperation::SetMenuItemInfo, ERROR_INVALID_MENU_HANDLE);
        testsupport::LogCapture log;
        c.call(item);
        EXPECT_TRUE(log.contains(c.log)) << log.text();
        EXPECT_TRUE(item->isEnabled());
        EXPECT_TRUE(item->isChecked());
        EXPECT_EQ(item->getTitle(), "Music");
        EXPECT_EQ(state(item) & 0xFF, MFS_CHECKED);
    }
}

TEST_F(PlayerMenuServiceTest, RemovingAGroupRemovesItsChildrenFirst) {
    auto* view = add("view", "View");
    add("zoom", "Zoom", "view");
    add("zoom.in", "In", "zoom");
    add("zoom.out", "Out", "zoom");
    add("pin", "Pin", "view");
    add("help", "Help");
    const HMENU viewMenu = view->getMenuHandle();
    const int draws = menuBarDrawCount(_hwnd);

    testsupport::LogCapture log;
    EXPECT_TRUE(_menus->removeItem("view"));
    for (const char* id : {"view", "zoom", "zoom.in", "zoom.out", "pin"}) {
        EXPECT_TRUE(log.contains(std::string("MenuServiceWin::removeItem() - remove menu item (") + id + ")")) << id;
    }
    for (uint16_t id = 4097; id <= 4101; ++id) EXPECT_EQ(_menus->getItemByCommandId(id), nullptr) << id;
    EXPECT_FALSE(isMenu(viewMenu));
    EXPECT_EQ(_menus->getItem("help")->getOrder(), 0);
    EXPECT_EQ(menuBarDrawCount(_hwnd), draws + 5);

    EXPECT_FALSE(_menus->removeItem("view"));
    EXPECT_TRUE(log.contains("MenuServiceWin::removeItem() - Invalid menu id (view)"));
}

TEST_F(PlayerMenuServiceTest, AGroupWhoseChildCannotGoStaysWithThatChild) {
    add("view", "View");
    add("a", "A", "view");
    add("b", "B", "view");
    add("c", "C", "view");
    failMenuCall(MenuOperation::DeleteMenu, ERROR_INVALID_MENU_HANDLE, 1);   // "b" fails

    testsupport::LogCapture log;
    EXPECT_FALSE(_menus->removeItem("view"));
    EXPECT_TRUE(log.contains("MenuServiceWin::removeItem() - remove menu item failed, menu id (b). error code = 1401"));
    auto* view = static_cast<PlayerMenuItemWin*>(_menus->getItem("view"));
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->getChildren().size(), 2u);   // "a" went, "b" and "c" stay
    EXPECT_EQ(view->getChildren()[0]->getMenuId(), "b");
    EXPECT_EQ(getMenuItemCount(view->getMenuHandle()), 2);
    EXPECT_EQ(_menus->getItemByCommandId(4098), nullptr);

    EXPECT_TRUE(_menus->removeItem("view"));   // the next attempt completes
    EXPECT_EQ(_menus->getItemByCommandId(4097), nullptr);
}

TEST(PlayerMenuServiceWindowTest, AChildWindowGetsAMenuBar) {
    engine::Director::getInstance();
    WindowDesc top;
    top.windowRect = {0, 0, 300, 200};
    WindowDesc child;
    child.parent = createWindow(top);
    child.windowRect = {10, 10, 100, 100};
    const HWND hwnd = createWindow(child);
    EXPECT_EQ(getSystemMenu(hwnd, false), 0u);
    {
        PlayerMenuServiceWin menus(hwnd);
        EXPECT_NE(menus.getRootMenu(), 0u);
        EXPECT_EQ(getMenu(hwnd), menus.getRootMenu());
        ASSERT_NE(menus.addItem("a", "A"), nullptr);
        EXPECT_EQ(getMenuItemCount(getMenu(hwnd)), 1);
    }
    engine::Director::destroyInstance();
    resetMenuModel();
    resetWindowModel();
}

TEST(PlayerWinTest, OnePlayerWithItsServices) {
    engine::Director::getInstance();
    WindowDesc desc;
    desc.windowRect = {0, 0, 300, 200};
    const HWND hwnd = createWindow(desc);
    EXPECT_EQ(player::PlayerProtocol::getInstance(), nullptr);

    player::PlayerWin* first = player::PlayerWin::createWithInstanceHandle(hwnd);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(player::PlayerProtocol::getInstance(), first);
    EXPECT_EQ(first->getWindowHandle(), hwnd);
    EXPECT_NE(first->getMenuService(), nullptr);
    EXPECT_NE(first->getTaskService(), nullptr);
    EXPECT_NE(first->getMessageBoxService(), nullptr);
    EXPECT_NE(first->getFileDialogService(), nullptr);
    EXPECT_NE(first->getEditBoxService(), nullptr);

    {
        testsupport::LogCapture log;
        EXPECT_EQ(player::PlayerWin::createWithInstanceHandle(hwnd), nullptr);
        EXPECT_TRUE(log.contains("Assert failed: CAN NOT CREATE MORE PLAYER INSTANCE"));
        EXPECT_EQ(player::PlayerProtocol::getInstance(), first);
    }
    first->release();
    EXPECT_EQ(player::PlayerProtocol::getInstance(), nullptr);
    engine::Director::destroyInstance();
    resetMenuModel();
    resetWindowModel();
}

}  // namespace
