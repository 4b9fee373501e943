#pragma once
// Addresses of the user portal and the links the portal treats specially.
//
// Contract:
// - The root is the sign-in flows' portal address without a trailing "/"; the
//   home page is root + "/", every other page root + "/" + page.
// - An address belongs to the portal when its scheme is followed by "//" and its
//   host (letters in any case, user information ignored) and port (the scheme's
//   default when none is written: 80 for http, 443 for https) are the root's.
// - A Telegram link begins with "tg:" or has Telegram's short-link host as its
//   host (in any case).
// - A web address, the only kind the pay window loads, is an http or https
//   address (scheme in any case) with a host, or exactly "about:blank" or
//   "about:srcdoc"; script, file, data, blob and every other scheme are not.
// - The external opener takes http, https and tg addresses only (scheme in any
//   case); anything else (files, programs, other schemes) is refused.
#include <string>

namespace portal {

std::string portalRoot();
std::string portalHome();
std::string portalPage(const std::string& page);

bool isPortalAddress(const std::string& url);
bool isTelegramLink(const std::string& url);
bool isWebAddress(const std::string& url);
bool isOpenableExternally(const std::string& url);

}  // namespace portal
