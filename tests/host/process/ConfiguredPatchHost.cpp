#include "ConfiguredPatchHost.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace processtest {

using namespace std::chrono_literals;

int loopbackPort(const std::string& hostPort) {
    const size_t colon = hostPort.rfind(':');
    if (colon == std::string::npos) return 0;
    const std::string host = hostPort.substr(0, colon);
    if (host != "localhost" && host != "127.0.0.1") return 0;
    return std::atoi(hostPort.c_str() + colon + 1);
}

std::unique_ptr<testsupport::PatchHost> startOnPorts(int primaryPort, int secondaryPort) {
    testsupport::PatchHost::Options options = testsupport::PatchHost::trusted();
    options.ports = {primaryPort, secondaryPort};
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    do {
        auto host = std::make_unique<testsupport::PatchHost>(options);
        if (host->ready()) return host;
        std::this_thread::sleep_for(500ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return nullptr;
}

}  // namespace processtest
