#include "host/app/AppEvent.h"

#include <cstdio>

#include "host/player/PlayerMenuServiceProtocol.h"
#include "platform/Utf16.h"

namespace host {

AppEvent::AppEvent(const std::string& name, int eventType)
    : engine::EventCustom(name), eventName(name), type(eventType) {}

namespace {

// Malformed UTF-8 in `text` is written as U+FFFD, so the result is always valid JSON.
void appendJsonString(std::string& out, const std::string& text) {
    out += '"';
    for (unsigned char c : platform::wideToUtf8(platform::utf8ToWide(text))) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

}  // namespace

std::string menuClickedData(const std::string& menuId) {
    std::string data = "{\"data\":";
    appendJsonString(data, menuId);
    data += ",\"name\":\"menuClicked\"}";
    return data;
}

AppEvent* makeMenuClickedEvent(player::PlayerMenuItem* item) {
    auto* event = new AppEvent(kAppEventName, APP_EVENT_MENU);
    event->setDataString(menuClickedData(item ? item->getMenuId() : std::string()));
    event->setUserData(item);
    event->autorelease();
    return event;
}

AppEvent* makeDropEvent(const std::string& utf8Path) {
    auto* event = new AppEvent(kAppEventDropName, APP_EVENT_DROP);
    event->setDataString(utf8Path);
    event->autorelease();
    return event;
}

}  // namespace host
