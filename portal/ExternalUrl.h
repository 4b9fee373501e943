#pragma once
// Opening an address outside the game, in the desktop's handler (the system
// browser, the Telegram client).
//
// Contract: an empty address does nothing; an address whose scheme is not http,
// https or tg is refused with a log line (a page or script must not start files
// or programs through it); the rest goes to platform::openUrl. True when the
// opener took the address. Main thread.
#include <string>

namespace portal {

bool openExternalUrl(const std::string& url);

}  // namespace portal
