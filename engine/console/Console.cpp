#include "engine/console/Console.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>

#include "engine/base/Log.h"
#include "platform/Socket.h"

namespace engine {

bool Console::LineSplitter::feed(const char* data, size_t size, std::vector<std::string>& lines) {
    size_t start = 0;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] != '\n') continue;
        if (_pending.size() + (i - start) > kMaxLineLength) return false;
        _pending.append(data + start, i - start);
        if (!_pending.empty() && _pending.back() == '\r') _pending.pop_back();
        lines.push_back(std::move(_pending));
        _pending.clear();
        start = i + 1;
    }
    if (_pending.size() + (size - start) > kMaxLineLength) return false;
    _pending.append(data + start, size - start);
    return true;
}

Console::Console() : _lifetime(std::make_shared<int>(0)) {}

Console::~Console() {
    stop();
    _lifetime.reset();
    if (_destroyCallback) _destroyCallback();
}

void Console::addCommand(const Command& command) {
    std::lock_guard<std::mutex> lock(_commandsMutex);
    _commands[command.name] = command;
}

void Console::delCommand(const std::string& name) {
    std::lock_guard<std::mutex> lock(_commandsMutex);
    _commands.erase(name);
}

void Console::setBindAddress(const std::string& address) { _bindAddress = address; }

bool Console::listenOnTCP(int port) {
    if (isListening()) return false;
    platform::ListenResult result = platform::listenTcp(_bindAddress, port, 16);
    if (result.fd < 0) {
        log("Console: cannot listen on %s:%d (%s: %s)", _bindAddress.empty() ? "127.0.0.1" : _bindAddress.c_str(),
            port, result.failedStep.c_str(), result.error.c_str());
        return false;
    }
    if (pipe2(_wakePipe, O_CLOEXEC) != 0) {
        platform::closeSocket(result.fd);
        return false;
    }
    _listenFd = result.fd;
    _listenPort = platform::boundPort(_listenFd);
    log("Console: listening on %s:%d", platform::boundAddress(_listenFd).c_str(), _listenPort.load());
    _thread = std::thread([this] { loop(); });
    return true;
}

void Console::stop() {
    if (!_thread.joinable()) return;
    char wake = 1;
    ssize_t ignored = write(_wakePipe[1], &wake, 1);
    (void)ignored;
    _thread.join();
    {
        std::lock_guard<std::mutex> lock(_clientsMutex);
        while (!_clients.empty()) closeClient(_clients.size() - 1);
    }
    platform::closeSocket(_listenFd);
    close(_wakePipe[0]);
    close(_wakePipe[1]);
    _listenFd = _wakePipe[0] = _wakePipe[1] = -1;
    _listenPort = 0;
}

uint64_t Console::clientSerial(int fd) const {
    std::lock_guard<std::mutex> lock(_clientsMutex);
    for (const Client& c : _clients)
        if (c.fd == fd) return c.serial;
    return 0;
}

bool Console::sendToClient(int fd, uint64_t serial, const void* data, size_t size) {
    std::lock_guard<std::mutex> lock(_clientsMutex);
    for (const Client& c : _clients) {
        if (c.fd != fd || c.serial != serial) continue;
        if (platform::sendAll(fd, data, size)) return true;
        // A client that cannot take a reply is finished; the thread closes it.
        platform::shutdownSocket(fd);
        return false;
    }
    return false;
}

void Console::closeClient(size_t index) {
    platform::closeSocket(_clients[index].fd);
    _clients.erase(_clients.begin() + static_cast<std::ptrdiff_t>(index));
}

void Console::runLine(int fd, const std::string& line) {
    if (line.empty()) return;
    const size_t blank = line.find_first_of(" \t");
    std::string name = line.substr(0, blank);
    const size_t argsStart = blank == std::string::npos ? blank : line.find_first_not_of(" \t", blank);
    std::string args = argsStart == std::string::npos ? "" : line.substr(argsStart);

    std::string answer;
    Callback callback;
    {
        std::lock_guard<std::mutex> lock(_commandsMutex);
        auto it = _commands.find(name);
        if (it != _commands.end()) {
            callback = it->second.callback;
        } else if (name == "help") {
            answer = "Available commands:\n";
            for (const auto& [commandName, command] : _commands)
                answer += "\t" + commandName + "\t" + command.help + "\n";
        } else {
            answer = "Unknown command " + name + ". Type 'help' for options\n";
        }
    }
    if (callback) {
        callback(fd, args);
    } else if (!answer.empty()) {
        sendToClient(fd, clientSerial(fd), answer.data(), answer.size());
    }
}

bool Console::acceptOne() {
    const int fd = platform::acceptClient(_listenFd);
    if (fd < 0) return false;
    std::lock_guard<std::mutex> lock(_clientsMutex);
    if (_clients.size() >= kMaxClients) {
        log("Console: %zu clients already, one more refused", _clients.size());
        platform::closeSocket(fd);
        return true;
    }
    platform::setSendTimeout(fd, kSendTimeoutMs);
    _clients.push_back({fd, _nextSerial++, {}});
    return true;
}

void Console::loop() {
    using Clock = std::chrono::steady_clock;
    std::vector<pollfd> fds;
    std::vector<char> buffer(16 * 1024);
    // While set, the listener rests (accepting failed); it is polled again after it.
    Clock::time_point resumeAccept{};
    bool resting = false;
    bool failing = false;   // the last accept failed: logged once until one succeeds
    for (;;) {
        int timeoutMs = -1;
        if (resting) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(resumeAccept - Clock::now()).count();
            if (left <= 0) {
                resting = false;
            } else {
                timeoutMs = static_cast<int>(left);
            }
        }
        fds.clear();
        fds.push_back({_wakePipe[0], POLLIN, 0});
        // poll skips a negative descriptor: the listener's slot stays, so clients
        // keep indices 2 and up.
        fds.push_back({resting ? -1 : _listenFd, POLLIN, 0});
        {
            std::lock_guard<std::mutex> lock(_clientsMutex);
            for (const Client& c : _clients) fds.push_back({c.fd, POLLIN, 0});
        }
        if (poll(fds.data(), fds.size(), timeoutMs) < 0) {
            if (errno == EINTR) continue;
            log("Console: poll failed, the console stops");
            return;
        }
        if (fds[0].revents) return;
        if (fds[1].revents & POLLIN) {
            if (acceptOne()) {
                failing = false;
            } else {
                if (!failing) log("Console: cannot accept clients (%s), retrying every %d ms",
                                  std::strerror(errno), kAcceptPauseMs);
                failing = true;
                resting = true;
                resumeAccept = Clock::now() + std::chrono::milliseconds(kAcceptPauseMs);
            }
        }
        for (size_t i = 2; i < fds.size(); ++i) {
            if (!fds[i].revents) continue;
            const int fd = fds[i].fd;
            ssize_t got = read(fd, buffer.data(), buffer.size());
            std::vector<std::string> lines;
            bool keep = got > 0;
            if (keep) {
                std::lock_guard<std::mutex> lock(_clientsMutex);
                for (Client& c : _clients)
                    if (c.fd == fd) keep = c.lines.feed(buffer.data(), static_cast<size_t>(got), lines);
            }
            if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            for (const std::string& line : lines) runLine(fd, line);
            if (!keep) {
                std::lock_guard<std::mutex> lock(_clientsMutex);
                for (size_t k = 0; k < _clients.size(); ++k)
                    if (_clients[k].fd == fd) closeClient(k);
            }
        }
    }
}

}  // namespace engine
