#pragma once
// The local patch host on the ports this build's program knows its patch hosts by.
#include <memory>
#include <string>

#include "support/PatchHost.h"

namespace processtest {

// The port of a configured "host:port", 0 unless the host is on loopback.
int loopbackPort(const std::string& hostPort);

// The patch host on the configured primary and secondary ports, retried for up to
// 30 s (the demo may hold them for a moment); null when they stay taken.
std::unique_ptr<testsupport::PatchHost> startOnPorts(int primaryPort, int secondaryPort);

}  // namespace processtest
