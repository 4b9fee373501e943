#include "portal/PortalAddresses.h"

#include <cctype>

#include "portal/PortalConfig.h"
#include "portal/SignIn.h"

namespace portal {
namespace {

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The scheme of an address, lower-cased; "" when it has none.
std::string schemeOf(const std::string& url) {
    size_t colon = url.find(':');
    if (colon == std::string::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(url[0]))) return {};
    for (size_t i = 1; i < colon; ++i) {
        const unsigned char c = static_cast<unsigned char>(url[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return {};
    }
    return lower(url.substr(0, colon));
}

struct Authority {
    bool valid = false;
    std::string host;   // lower-cased
    int port = -1;      // -1: no port and no default for the scheme
};

Authority authorityOf(const std::string& url) {
    Authority result;
    const std::string scheme = schemeOf(url);
    if (scheme.empty()) return result;
    const size_t start = scheme.size() + 1;
    if (url.compare(start, 2, "//") != 0) return result;
    const size_t from = start + 2;
    const size_t end = url.find_first_of("/?#", from);
    std::string authority = url.substr(from, end == std::string::npos ? std::string::npos : end - from);
    if (size_t at = authority.rfind('@'); at != std::string::npos) authority.erase(0, at + 1);
    std::string portText;
    if (!authority.empty() && authority[0] == '[') {
        size_t close = authority.find(']');
        if (close == std::string::npos) return result;
        result.host = authority.substr(0, close + 1);
        if (close + 1 < authority.size()) {
            if (authority[close + 1] != ':') return result;
            portText = authority.substr(close + 2);
        }
    } else {
        size_t colon = authority.find(':');
        result.host = authority.substr(0, colon);
        if (colon != std::string::npos) portText = authority.substr(colon + 1);
    }
    if (result.host.empty()) return result;
    result.host = lower(result.host);
    if (!portText.empty()) {
        if (portText.size() > 5) return result;
        int port = 0;
        for (char c : portText) {
            if (!std::isdigit(static_cast<unsigned char>(c))) return result;
            port = port * 10 + (c - '0');
        }
        if (port > 65535) return result;
        result.port = port;
    } else if (scheme == "http") {
        result.port = 80;
    } else if (scheme == "https") {
        result.port = 443;
    }
    result.valid = true;
    return result;
}

std::string stripTrailingSlashes(std::string text) {
    while (!text.empty() && text.back() == '/') text.pop_back();
    return text;
}

}  // namespace

std::string portalRoot() { return stripTrailingSlashes(signInEndpoints().portalRoot); }

std::string portalHome() { return portalRoot() + "/"; }

std::string portalPage(const std::string& page) { return portalRoot() + "/" + page; }

bool isPortalAddress(const std::string& url) {
    const Authority root = authorityOf(portalRoot());
    const Authority address = authorityOf(url);
    return root.valid && address.valid && address.host == root.host && address.port == root.port;
}

bool isTelegramLink(const std::string& url) {
    if (url.compare(0, 3, "tg:") == 0) return true;
    const Authority address = authorityOf(url);
    return address.valid && address.host == lower(VEXO_TELEGRAM_SHORT_HOST);
}

bool isWebAddress(const std::string& url) {
    if (url == "about:blank" || url == "about:srcdoc") return true;
    const std::string scheme = schemeOf(url);
    return (scheme == "http" || scheme == "https") && authorityOf(url).valid;
}

bool isOpenableExternally(const std::string& url) {
    const std::string scheme = schemeOf(url);
    return scheme == "http" || scheme == "https" || scheme == "tg";
}

}  // namespace portal
