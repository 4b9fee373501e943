#pragma once
// The user's locale for messages: the first non-empty of LC_ALL, LC_MESSAGES and
// LANG ("" when all are unset or empty).
#include <string>

namespace platform {

std::string messagesLocale();

}  // namespace platform
