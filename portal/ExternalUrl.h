#pragma once
// Opening an address outside the game, in the desktop's handler (the system
// browser, the Telegram client).
//
// Contract: an empty address does nothing; an address whose scheme is not http,
// https or tg is refused with a log line (a page or script must not start files
// or programs through it); the rest goes to platform::startUrl, which never
// waits for the handler. True when the opener was started. Main thread.
#include <string>

namespace portal {

bool openExternalUrl(const std::string& url);

}  // namespace portal
