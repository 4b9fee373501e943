#include "host/app/AppEvent.h"

#include <gtest/gtest.h>

#include "engine/base/Director.h"
#include "engine/base/Json.h"
#include "host/player/PlayerMenuServiceWin.h"
#include "platform/Menu.h"

namespace {

TEST(AppEventTest, MenuDataIsJsonWithTheIdAsAString) {
    struct Case {
        const char* id;
        const char* data;
    };
    const Case cases[] = {
        {"file.open", R"({"data":"file.open","name":"menuClicked"})"},
        {"7", R"({"data":"7","name":"menuClicked"})"},
        {"say \"hi\"", R"({"data":"say \"hi\"","name":"menuClicked"})"},
        {"a\\b\nc", R"({"data":"a\\b\nc","name":"menuClicked"})"},
        {"\x01", R"({"data":"\u0001","name":"menuClicked"})"},
        {"Đổi", "{\"data\":\"Đổi\",\"name\":\"menuClicked\"}"},
    };
    for (const Case& c : cases) {
        const std::string data = host::menuClickedData(c.id);
        EXPECT_EQ(data, c.data) << c.id;
        rapidjson::Document doc;
        ASSERT_TRUE(engine::parseJson(data, doc)) << data;
        EXPECT_EQ(std::string(doc["data"].GetString()), c.id);
    }
    // Malformed UTF-8 comes out as U+FFFD: the data stays valid JSON.
    const std::pair<const char*, const char*> malformed[] = {
        {"a\xff", "a\xef\xbf\xbd"},
        {"\xc3", "\xef\xbf\xbd"},
        {"x\x80y", "x\xef\xbf\xbdy"},
        {"\xed\xa0\x80", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
    };
    for (const auto& [id, replaced] : malformed) {
        const std::string data = host::menuClickedData(id);
        rapidjson::Document doc;
        ASSERT_TRUE(engine::parseJson(data, doc)) << data;
        EXPECT_EQ(std::string(doc["data"].GetString()), replaced);
    }
}

TEST(AppEventTest, BuildersGiveTheirNamesTypesAndData) {
    engine::Director::getInstance();
    platform::WindowDesc desc;
    desc.windowRect = {0, 0, 400, 300};
    const platform::HWND hwnd = platform::createWindow(desc);
    {
        player::PlayerMenuServiceWin menus(hwnd);
        player::PlayerMenuItem* item = menus.addItem("zoom.in", "Zoom in");
        ASSERT_NE(item, nullptr);

        host::AppEvent* menu = host::makeMenuClickedEvent(item);
        EXPECT_EQ(menu->getEventName(), "APP.EVENT");
        EXPECT_EQ(menu->getType(), host::APP_EVENT_MENU);
        EXPECT_EQ(menu->getDataString(), R"({"data":"zoom.in","name":"menuClicked"})");
        EXPECT_EQ(menu->getUserData(), item);

        host::AppEvent* drop = host::makeDropEvent("/home/user/Tệp.png");
        EXPECT_EQ(drop->getEventName(), "APP.EVENT.DROP");
        EXPECT_EQ(drop->getType(), host::APP_EVENT_DROP);
        EXPECT_EQ(drop->getDataString(), "/home/user/Tệp.png");
        EXPECT_EQ(drop->getUserData(), nullptr);
        engine::Director::destroyInstance();   // drains the pool holding both events
    }
    platform::resetMenuModel();
    platform::resetWindowModel();
}

}  // namespace
