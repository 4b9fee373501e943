// The address a script hands cc.WebSocket: refused, or read into a host, port and
// target from which the upgrade request is built. A read address has a host, a
// port from 1 to 65535, a target starting with "/", and is secure exactly for the
// "wss" scheme; its request is one request line and whole header lines ending in
// one blank line, with nothing of the address breaking a line. Never a crash.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/network/WebSocketHandshake.h"
#include "fuzz/FuzzSupport.h"

namespace ws = engine::network::ws;
using fuzzsupport::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    const std::string url(reinterpret_cast<const char*>(data), size);
    const std::optional<ws::Address> address = ws::parseAddress(url);
    if (!address) return 0;

    check(!address->host.empty(), "a host");
    check(address->port != 0, "a port");
    check(!address->target.empty() && address->target[0] == '/', "the target starts with /");
    std::string scheme = url.substr(0, url.find("://"));
    for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    check(address->secure == (scheme == "wss"), "secure exactly for wss");
    check(scheme == "ws" || scheme == "wss", "only the two schemes");

    const std::string key = "dGhlIHNhbXBsZSBub25jZQ==";
    const std::string request = ws::upgradeRequest(*address, key, {"chat", "bad\r\nX: y", ""});
    check(request.rfind("GET " + address->target + " HTTP/1.1\r\n", 0) == 0, "the request line");
    check(request.size() >= 4 && request.compare(request.size() - 4, 4, "\r\n\r\n") == 0, "ends with a blank line");
    check(request.find("\r\n\r\n") == request.size() - 4, "one blank line");
    // Every line feed ends a line with its carriage return, and no carriage
    // return stands alone.
    for (size_t i = 0; i < request.size(); ++i) {
        if (request[i] == '\n') check(i > 0 && request[i - 1] == '\r', "line feeds end lines");
        if (request[i] == '\r') check(i + 1 < request.size() && request[i + 1] == '\n', "no lone carriage return");
    }
    check(request.find("\r\nHost: " + address->hostHeader + "\r\n") != std::string::npos, "the Host line");
    check(request.find("X: y") == std::string::npos, "no protocol breaks a line");
    return 0;
}
