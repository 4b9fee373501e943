#pragma once
// The local WebSocket peer (tools/wspeer/ws_peer.py) as a test fixture: an echo
// server on a free loopback port, plain or TLS (the patch host's certificates:
// PatchHost::trusted() or rogue()). Its text commands ("cmd:ping:x",
// "cmd:close:4000", ...) are listed in the script.
#include <sys/types.h>

#include <string>

#include "support/TestSupport.h"

namespace testsupport {

class WsPeer {
public:
    // Plain ws.
    WsPeer();
    // wss with that certificate and key.
    WsPeer(const std::string& cert, const std::string& key);
    ~WsPeer();
    WsPeer(const WsPeer&) = delete;
    WsPeer& operator=(const WsPeer&) = delete;

    bool ready() const { return _port != 0; }
    const std::string& error() const { return _error; }
    int port() const { return _port; }
    // "ws://127.0.0.1:<port>/" (or wss:// with the host given).
    std::string url(const std::string& host = "127.0.0.1") const;

private:
    void start(const std::string& cert, const std::string& key);

    TempDir _dir;
    pid_t _pid = -1;
    int _port = 0;
    bool _secure = false;
    std::string _error;
};

}  // namespace testsupport
