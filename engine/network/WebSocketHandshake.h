#pragma once
// The opening handshake of a WebSocket client: the address, the HTTP/1.1
// upgrade request and the check of the server's answer.
//
// Addresses are "ws://host[:port][/path][?query]" or "wss://..." (scheme without
// case; an IPv6 host in brackets); the default ports are 80 and 443. The answer
// is accepted when it is "101" with "Upgrade: websocket", a "Connection" that
// lists "upgrade", the Sec-WebSocket-Accept of our key, and, when it names a
// sub-protocol, one that we offered. Pure functions; any thread.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace engine::network::ws {

struct Address {
    bool secure = false;
    std::string host;   // without brackets
    uint16_t port = 0;
    std::string target; // path and query, "/" at least
    std::string hostHeader;   // as the Host header shows it
};

std::optional<Address> parseAddress(const std::string& url);

// A fresh Sec-WebSocket-Key (16 random bytes in base64).
std::string makeKey();
// The Sec-WebSocket-Accept a server must answer to that key.
std::string acceptFor(const std::string& key);

std::string upgradeRequest(const Address& address, const std::string& key, const std::vector<std::string>& protocols);

struct HandshakeResult {
    bool ok = false;
    std::string error;      // why the answer was refused
    std::string protocol;   // the sub-protocol chosen, "" for none
};
// head: the answer up to and including its blank line.
HandshakeResult checkUpgradeAnswer(const std::string& head, const std::string& key,
                                   const std::vector<std::string>& protocols);

}  // namespace engine::network::ws
