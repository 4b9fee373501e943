// The TLS warm-up against a closed port, a listener that never answers and the
// local patch host. The warm-up runs once per process: one case per process.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/DebugOutput.h"
#include "support/PatchHost.h"
#include "updater/PatchRoute.h"
#include "updater/TlsWarmup.h"

using namespace updater;
using testsupport::PatchHost;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// Accepts connections into its backlog and never reads or answers.
class SilentListener {
public:
    SilentListener() {
        _fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (::bind(_fd, reinterpret_cast<sockaddr*>(&addr), len) == 0 && ::listen(_fd, 4) == 0 &&
            ::getsockname(_fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
            _port = ntohs(addr.sin_port);
    }
    ~SilentListener() { ::close(_fd); }
    int port() const { return _port; }

private:
    int _fd = -1;
    int _port = 0;
};

struct Peer {
    const char* name;
    int code;        // the libcurl code in the log line
    bool answers;    // a quick outcome, or only the time-out ends it
};

void PrintTo(const Peer& peer, std::ostream* os) { *os << peer.name; }

class TlsWarmup : public ::testing::TestWithParam<Peer> {};

TEST_P(TlsWarmup, StateGoesFromNotStartedThroughRunningToDone) {
    const Peer& peer = GetParam();
    std::unique_ptr<PatchHost> host;
    std::unique_ptr<SilentListener> silent;
    int port = 0;
    if (peer.code == 0) {
        host = std::make_unique<PatchHost>();
        ASSERT_TRUE(host->ready()) << host->error();
        port = host->primaryPort();
    } else if (peer.answers) {
        port = PatchHost::closedPort();
    } else {
        silent = std::make_unique<SilentListener>();
        port = silent->port();
        ASSERT_NE(port, 0);
    }
    const std::string primary = "localhost:" + std::to_string(port);
    setPatchHostNames(primary, "127.0.0.1:" + std::to_string(port), "127.0.0.1:1");

    std::mutex mutex;
    std::vector<std::string> lines;
    platform::DebugOutputSink previous = platform::setDebugOutputSink([&](const std::string& text) {
        std::lock_guard<std::mutex> lock(mutex);
        lines.push_back(text);
    });
    auto logged = [&] {
        std::lock_guard<std::mutex> lock(mutex);
        return lines;
    };

    EXPECT_EQ(tlsWarmupState().load(), kTlsWarmupNotStarted);
    const auto start = Clock::now();
    startTlsWarmup();
    EXPECT_NE(tlsWarmupState().load(), kTlsWarmupNotStarted);
    if (!peer.answers) {
        std::this_thread::sleep_for(1s);
        EXPECT_EQ(tlsWarmupState().load(), kTlsWarmupRunning);
    }
    while (logged().empty() && Clock::now() - start < 8s) std::this_thread::sleep_for(10ms);
    const auto elapsed = Clock::now() - start;
    EXPECT_EQ(tlsWarmupState().load(), kTlsWarmupDone);
    // 3 s to connect (the handshake included), 5 s in all.
    EXPECT_LT(elapsed, peer.answers ? 2s : 4500ms);
    if (!peer.answers) {
        EXPECT_GE(elapsed, 2500ms);
    }

    const auto all = logged();
    ASSERT_EQ(all.size(), 1u);
    const std::string& line = all[0];
    EXPECT_EQ(line.rfind("[VEXO] TLS warm-up " + primary + ": ", 0), 0u) << line;
    EXPECT_NE(line.find(" ms (curl_global_init "), std::string::npos) << line;
    EXPECT_NE(line.find("CURLcode=" + std::to_string(peer.code) + "\n"), std::string::npos) << line;
    EXPECT_EQ(line.find("khong thay cacert.pem"), std::string::npos) << line;
    if (host) {
        EXPECT_TRUE(host->requests().empty()) << "the warm-up sends no request";
    }

    platform::setDebugOutputSink(previous);
}

INSTANTIATE_TEST_SUITE_P(Peers, TlsWarmup,
                         ::testing::Values(Peer{"PatchHost", 0, true}, Peer{"ClosedPort", 7, true},
                                           Peer{"SilentListener", 28, false}),
                         [](const ::testing::TestParamInfo<Peer>& info) { return std::string(info.param.name); });

}  // namespace
