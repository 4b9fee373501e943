#pragma once
// The remote text console: a TCP listener served by one thread, several clients at
// once, one command per line "NAME ARGS" ("\n" or "\r\n"). The text after the first
// blank goes to the command's callback, on the console's thread, with the client's
// descriptor. "help" lists the commands with their help texts; an unknown name gets
// one line; nothing else is written (no prompt, no echo). A line longer than
// kMaxLineLength closes its client. At most kMaxClients are served at once: the
// next one is accepted and closed at once. When accepting fails (the process is
// out of descriptors), the listener rests for kAcceptPauseMs before the next try,
// so the thread never spins. Owned by the director.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace engine {

class Console {
public:
    using Callback = std::function<void(int fd, const std::string& args)>;
    struct Command {
        std::string name;
        std::string help;
        Callback callback;
    };
    static constexpr size_t kMaxLineLength = 64 * 1024;
    static constexpr size_t kMaxClients = 32;
    static constexpr int kAcceptPauseMs = 100;
    // How long a reply may wait for a client that does not read.
    static constexpr int kSendTimeoutMs = 1000;

    // Splits one client's bytes into lines; the line ends are dropped, a "\r"
    // before "\n" too. feed() answers false once a line (finished or not) grows
    // over kMaxLineLength; the buffer is then unusable.
    class LineSplitter {
    public:
        bool feed(const char* data, size_t size, std::vector<std::string>& lines);

    private:
        std::string _pending;
    };

    Console();
    // Stops the thread, then runs the destroy callback.
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // A command of the same name is replaced. Safe while the console runs.
    void addCommand(const Command& command);
    void delCommand(const std::string& name);

    // IPv4 text; empty (the default) listens on 127.0.0.1 only.
    void setBindAddress(const std::string& address);
    // Starts the console's thread. False when already listening or the socket
    // cannot be bound (the reason is logged).
    bool listenOnTCP(int port);
    // Wakes the thread, joins it and closes every socket. Listening may start again.
    void stop();
    bool isListening() const { return _thread.joinable(); }
    int getListenPort() const { return _listenPort; }

    // Replies from any thread. A client is known by its descriptor and the serial
    // it got when accepted, so a reply for a gone client is dropped even when its
    // descriptor was reused. clientSerial: 0 for no current client.
    uint64_t clientSerial(int fd) const;
    bool sendToClient(int fd, uint64_t serial, const void* data, size_t size);

    // Runs one line as the console thread does, writing any answer to `fd`.
    void runLine(int fd, const std::string& line);

    // Expires when the console is destroyed: work queued for another thread
    // holds it to know whether the console is still there when the work runs.
    std::weak_ptr<const void> lifetime() const { return _lifetime; }
    // Run once by the destructor on the destroying thread, after the console's
    // thread has stopped (owners of per-console state drop it there).
    void setDestroyCallback(std::function<void()> callback) { _destroyCallback = std::move(callback); }

private:
    struct Client {
        int fd;
        uint64_t serial;
        LineSplitter lines;
    };
    void loop();
    // Accepts one waiting connection; false when accepting failed.
    bool acceptOne();
    void closeClient(size_t index);

    std::shared_ptr<const void> _lifetime;
    std::function<void()> _destroyCallback;
    std::string _bindAddress;
    int _listenFd = -1;
    int _wakePipe[2] = {-1, -1};
    std::atomic<int> _listenPort{0};
    std::thread _thread;

    mutable std::mutex _commandsMutex;
    std::map<std::string, Command> _commands;

    mutable std::mutex _clientsMutex;   // held while a reply is being sent
    std::vector<Client> _clients;
    uint64_t _nextSerial = 1;
};

}  // namespace engine
