#pragma once
// The local HTTPS patch host (tools/patchhost/patch_host.py) as a test fixture:
// serves a fresh temporary folder on the fixed loopback ports, with faults set
// per port and path, and reports the requests it received.
#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace testsupport {

class PatchHost {
public:
    static constexpr int kPrimaryPort = 18443;
    static constexpr int kSecondaryPort = 18444;
    // Nothing listens here while a patch host runs.
    static constexpr int kClosedPort = 18449;

    struct Options {
        std::string cert;
        std::string key;
        std::vector<int> ports{kPrimaryPort, kSecondaryPort};
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

    // True once every listener is up (waits at most 10 s in the constructor).
    bool ready() const { return _ready; }

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

    TempDir _dir;
    std::string _root;
    std::string _faultsPath;
    std::string _logPath;
    std::string _readyPath;
    std::map<std::string, std::map<std::string, std::string>> _faults;
    pid_t _pid = -1;
    bool _ready = false;
};

}  // namespace testsupport
