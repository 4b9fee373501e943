#include "engine/network/WebSocketHandshake.h"

#include <openssl/evp.h>
#include <openssl/rand.h>
#include <openssl/sha.h>

#include <algorithm>
#include <cctype>

namespace engine::network::ws {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string base64(const unsigned char* data, size_t size) {
    std::string out(4 * ((size + 2) / 3), '\0');
    const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), data, static_cast<int>(size));
    out.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return out;
}

// The comma-separated tokens of a header value, trimmed.
std::vector<std::string> tokens(const std::string& value) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= value.size()) {
        size_t end = value.find(',', start);
        if (end == std::string::npos) end = value.size();
        const std::string token = trim(value.substr(start, end - start));
        if (!token.empty()) out.push_back(token);
        start = end + 1;
    }
    return out;
}

}  // namespace

std::optional<Address> parseAddress(const std::string& url) {
    Address address;
    const size_t schemeEnd = url.find("://");
    if (schemeEnd == std::string::npos) return std::nullopt;
    const std::string scheme = lower(url.substr(0, schemeEnd));
    if (scheme == "wss") {
        address.secure = true;
    } else if (scheme != "ws") {
        return std::nullopt;
    }
    const size_t authorityStart = schemeEnd + 3;
    size_t authorityEnd = url.find_first_of("/?#", authorityStart);
    if (authorityEnd == std::string::npos) authorityEnd = url.size();
    const std::string authority = url.substr(authorityStart, authorityEnd - authorityStart);
    if (authority.empty() || authority.find('@') != std::string::npos) return std::nullopt;

    std::string portText;
    if (authority[0] == '[') {
        const size_t close = authority.find(']');
        if (close == std::string::npos) return std::nullopt;
        address.host = authority.substr(1, close - 1);
        if (close + 1 < authority.size()) {
            if (authority[close + 1] != ':') return std::nullopt;
            portText = authority.substr(close + 2);
        }
    } else {
        const size_t colon = authority.find(':');
        address.host = authority.substr(0, colon);
        if (colon != std::string::npos) portText = authority.substr(colon + 1);
    }
    if (address.host.empty()) return std::nullopt;
    unsigned port = address.secure ? 443 : 80;
    if (!portText.empty()) {
        if (portText.size() > 5 || !std::all_of(portText.begin(), portText.end(), [](unsigned char c) { return std::isdigit(c); }))
            return std::nullopt;
        port = static_cast<unsigned>(std::stoul(portText));
        if (port == 0 || port > 65535) return std::nullopt;
    }
    address.port = static_cast<uint16_t>(port);
    address.hostHeader = authority;
    std::string target = url.substr(authorityEnd);
    const size_t fragment = target.find('#');
    if (fragment != std::string::npos) target.resize(fragment);
    if (target.empty() || target[0] != '/') target = std::string(1, '/').append(target);
    address.target = target;
    // Nothing that would end the request line or a header.
    for (const std::string* part : {&address.target, &address.hostHeader})
        if (part->find_first_of(" \r\n") != std::string::npos) return std::nullopt;
    return address;
}

std::string makeKey() {
    unsigned char bytes[16];
    if (RAND_bytes(bytes, sizeof bytes) != 1) {
        for (unsigned char& b : bytes) b = static_cast<unsigned char>(std::rand());
    }
    return base64(bytes, sizeof bytes);
}

std::string acceptFor(const std::string& key) {
    const std::string text = key + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11";
    unsigned char digest[SHA_DIGEST_LENGTH];
    SHA1(reinterpret_cast<const unsigned char*>(text.data()), text.size(), digest);
    return base64(digest, sizeof digest);
}

std::string upgradeRequest(const Address& address, const std::string& key, const std::vector<std::string>& protocols) {
    std::string request = "GET " + address.target + " HTTP/1.1\r\n";
    request += "Host: " + address.hostHeader + "\r\n";
    request += "Upgrade: websocket\r\nConnection: Upgrade\r\n";
    request += "Sec-WebSocket-Key: " + key + "\r\n";
    request += "Sec-WebSocket-Version: 13\r\n";
    std::string offered;
    for (const std::string& protocol : protocols) {
        if (protocol.empty() || protocol.find_first_of(",\r\n") != std::string::npos) continue;
        offered += (offered.empty() ? "" : ", ") + protocol;
    }
    if (!offered.empty()) request += "Sec-WebSocket-Protocol: " + offered + "\r\n";
    request += "\r\n";
    return request;
}

HandshakeResult checkUpgradeAnswer(const std::string& head, const std::string& key,
                                   const std::vector<std::string>& protocols) {
    HandshakeResult result;
    size_t lineEnd = head.find("\r\n");
    if (lineEnd == std::string::npos) {
        result.error = "no status line";
        return result;
    }
    const std::string status = head.substr(0, lineEnd);
    const size_t space = status.find(' ');
    if (status.compare(0, 5, "HTTP/") != 0 || space == std::string::npos || status.compare(space + 1, 3, "101") != 0 ||
        (status.size() > space + 4 && status[space + 4] != ' ')) {
        result.error = "not switching protocols: " + status;
        return result;
    }
    bool upgrade = false, connection = false, accepted = false;
    bool sawProtocol = false;
    size_t at = lineEnd + 2;
    while (at < head.size()) {
        lineEnd = head.find("\r\n", at);
        if (lineEnd == std::string::npos) lineEnd = head.size();
        const std::string line = head.substr(at, lineEnd - at);
        at = lineEnd + 2;
        if (line.empty()) break;
        const size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        const std::string name = lower(trim(line.substr(0, colon)));
        const std::string value = trim(line.substr(colon + 1));
        if (name == "upgrade") {
            upgrade = lower(value) == "websocket";
        } else if (name == "connection") {
            for (const std::string& token : tokens(value))
                if (lower(token) == "upgrade") connection = true;
        } else if (name == "sec-websocket-accept") {
            accepted = value == acceptFor(key);
        } else if (name == "sec-websocket-protocol") {
            if (sawProtocol) {
                result.error = "more than one sub-protocol chosen";
                return result;
            }
            sawProtocol = true;
            result.protocol = value;
        }
    }
    if (!upgrade) {
        result.error = "no websocket upgrade in the answer";
    } else if (!connection) {
        result.error = "no connection upgrade in the answer";
    } else if (!accepted) {
        result.error = "wrong Sec-WebSocket-Accept";
    } else if (sawProtocol && std::find(protocols.begin(), protocols.end(), result.protocol) == protocols.end()) {
        result.error = "the server chose a sub-protocol not offered: " + result.protocol;
    } else {
        result.ok = true;
    }
    return result;
}

}  // namespace engine::network::ws
