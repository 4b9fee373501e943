#include "portal/ExternalUrl.h"

#include "engine/base/Log.h"
#include "platform/UrlOpener.h"
#include "portal/PortalAddresses.h"

namespace portal {

bool openExternalUrl(const std::string& url) {
    if (url.empty()) return false;
    if (!isOpenableExternally(url)) {
        engine::log("[VEXO] refusing to open an address that is not http, https or tg");
        return false;
    }
    return platform::startUrl(url);
}

}  // namespace portal
