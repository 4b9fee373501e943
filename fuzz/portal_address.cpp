// Any bytes as an address a page navigates to: classified without a crash; only
// http, https and tg addresses may leave for the desktop's opener.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "portal/PortalAddresses.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string url(reinterpret_cast<const char*>(data), size);
    portal::isPortalAddress(url);
    portal::isTelegramLink(url);
    if (portal::isOpenableExternally(url)) {
        std::string scheme = url.substr(0, url.find(':'));
        for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        fuzzsupport::check(scheme == "http" || scheme == "https" || scheme == "tg", "only web and Telegram schemes");
    }
    return 0;
}
