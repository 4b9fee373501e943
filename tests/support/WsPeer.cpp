#include "support/WsPeer.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <thread>
#include <vector>

extern char** environ;

namespace testsupport {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kReadySeconds = 40;
// python3-websockets is installed for the system interpreter only.
constexpr const char* kPython = "/usr/bin/python3";

}  // namespace

WsPeer::WsPeer() { start("", ""); }

WsPeer::WsPeer(const std::string& cert, const std::string& key) { start(cert, key); }

void WsPeer::start(const std::string& cert, const std::string& key) {
    _secure = !cert.empty();
    const std::string readyPath = _dir.file("ready");
    std::vector<std::string> args = {kPython, std::string(VEXO_SOURCE_DIR) + "/tools/wspeer/ws_peer.py",
                                     "--ready", readyPath, "--parent", std::to_string(::getpid())};
    if (_secure) args.insert(args.end(), {"--cert", cert, "--key", key});
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    const std::string errPath = _dir.file("stderr.txt");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int spawned = ::posix_spawn(&_pid, kPython, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        _pid = -1;
        _error = "cannot start /usr/bin/python3 for the WebSocket peer";
        return;
    }
    const auto deadline = Clock::now() + std::chrono::seconds(kReadySeconds);
    while (Clock::now() < deadline) {
        if (::access(readyPath.c_str(), F_OK) == 0) {
            const std::string text = readFile(readyPath);
            const size_t colon = text.find(':');
            if (colon != std::string::npos) _port = std::atoi(text.c_str() + colon + 1);
            if (_port == 0) _error = "the WebSocket peer's ready file has no port: " + text;
            return;
        }
        int status = 0;
        if (::waitpid(_pid, &status, WNOHANG) == _pid) {
            _pid = -1;
            _error = "the WebSocket peer exited before it was ready: " + readFile(errPath);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    _error = "the WebSocket peer was not ready within " + std::to_string(kReadySeconds) + " s";
}

WsPeer::~WsPeer() {
    if (_pid <= 0) return;
    ::kill(_pid, SIGTERM);
    for (int i = 0; i < 250; ++i) {
        int status = 0;
        if (::waitpid(_pid, &status, WNOHANG) == _pid) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(_pid, SIGKILL);
    int status = 0;
    ::waitpid(_pid, &status, 0);
}

std::string WsPeer::url(const std::string& host) const {
    return std::string(_secure ? "wss://" : "ws://") + host + ":" + std::to_string(_port) + "/";
}

}  // namespace testsupport
