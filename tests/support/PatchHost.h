#pragma once
// The local HTTPS patch host (tools/patchhost/patch_host.py) as a test fixture:
// serves a fresh temporary folder on loopback, with faults set per port and path,
// and reports the requests it received. Its ports are chosen by the system among
// the free ones (ask primaryPort() and secondaryPort()), so any number of test
// processes, checkouts and the demo's patch host can run side by side; tests point
// the patch route at it with the host names below.
#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace testsupport {

class PatchHost {
public:
    struct Options {
        std::string cert;
        std::string key;
        // 0: any free port. A fixed port that is taken fails with "port N in use".
        std::vector<int> ports{0, 0};
    };
    // The certificate for "localhost" and 127.0.0.1 signed by the local CA.
    static Options trusted();
    // The same names signed by an unrelated CA: clients must refuse it.
    static Options rogue();

    PatchHost();
    explicit PatchHost(const Options& options);
    ~PatchHost();
    PatchHost(const PatchHost&) = delete;
    PatchHost& operator=(const PatchHost&) = delete;

    // True once every listener is up (waits at most 10 s in the constructor);
    // otherwise error() says why.
    bool ready() const { return _ready; }
    const std::string& error() const { return _error; }

    // The listening ports, in the order of Options::ports.
    const std::vector<int>& ports() const { return _ports; }
    int primaryPort() const { return _ports.empty() ? 0 : _ports[0]; }
    int secondaryPort() const { return _ports.size() < 2 ? 0 : _ports[1]; }
    // Patch host names ("host:port") that lead to this host: the primary name, its
    // alias (same port) and the secondary name.
    std::string primaryHost() const { return "localhost:" + std::to_string(primaryPort()); }
    std::string aliasHost() const { return "127.0.0.1:" + std::to_string(primaryPort()); }
    std::string secondaryHost() const { return "127.0.0.1:" + std::to_string(secondaryPort()); }

    // A loopback port that nothing listened on a moment ago (connections to it are
    // refused).
    static int closedPort();

    // The served folder, and a file written into it (full path returned).
    const std::string& root() const { return _root; }
    std::string writeFile(const std::string& relative, const std::string& content) const;

    // "https://<host>:<port><path>"; path begins with "/".
    static std::string url(int port, const std::string& path, const std::string& host = "localhost");

    // Fault for a port (or "*") and a path (or "*"), as a JSON object, e.g.
    // R"({"status": 500, "body": "x"})". Takes effect for the next request.
    void setFault(const std::string& port, const std::string& path, const std::string& json);
    void setFault(int port, const std::string& path, const std::string& json);
    void clearFaults();

    struct Request {
        int port = 0;
        std::string path;
        std::string range;   // the Range header, "" without one
        std::string method;
        std::vector<std::pair<std::string, std::string>> headers;   // as received
        std::string body;
        // The first value of a header (name compared without case), "" without one.
        std::string header(const std::string& name) const;
    };
    // Requests received so far, in order of arrival.
    std::vector<Request> requests() const;

private:
    void writeFaults() const;
    void readReadyFile();

    TempDir _dir;
    std::string _root;
    std::string _faultsPath;
    std::string _logPath;
    std::string _readyPath;
    std::map<std::string, std::map<std::string, std::string>> _faults;
    pid_t _pid = -1;
    bool _ready = false;
    std::string _error;
    std::vector<int> _ports;
};

}  // namespace testsupport
