#pragma once
// Custom engine events through which the game window tells listeners (scripts
// included) that a menu command was chosen ("APP.EVENT", type 1, user data the menu
// item) or that files were dropped on it ("APP.EVENT.DROP", type 2, the first file's
// UTF-8 path as data string).
#include <string>

#include "engine/base/Event.h"

namespace player {
class PlayerMenuItem;
}

namespace host {

enum AppEventType {
    APP_EVENT_MENU = 1,
    APP_EVENT_DROP = 2,
};

inline constexpr const char* kAppEventName = "APP.EVENT";
inline constexpr const char* kAppEventDropName = "APP.EVENT.DROP";

class AppEvent : public engine::EventCustom {
public:
    AppEvent(const std::string& eventName, int type);

    const std::string& getName() const { return eventName; }
    int getType() const { return type; }
    std::string getDataString() const { return dataString; }
    void setDataString(const std::string& data) { dataString = data; }

private:
    std::string eventName;
    std::string dataString;
    int type;
};

// {"data":"<menu id>","name":"menuClicked"}, the id escaped as a JSON string (each
// malformed part of its UTF-8 written as U+FFFD), with the
// item as user data. Autoreleased.
AppEvent* makeMenuClickedEvent(player::PlayerMenuItem* item);
// The drop event for the first dropped file. Autoreleased.
AppEvent* makeDropEvent(const std::string& utf8Path);

// The menu event's data string for a menu id.
std::string menuClickedData(const std::string& menuId);

}  // namespace host
