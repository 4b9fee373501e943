#pragma once
// A plain HTTP listener on an ephemeral loopback port for tests and benchmarks:
// every connection gets its raw request recorded (headers, then as many body bytes
// as Content-Length announces) and is answered with one fixed reply, then closed.
// With an endless tail, the reply is followed by that tail again and again until
// the client closes the connection or the server is destroyed.
// listening() is false when the socket could not be set up; the server then serves
// nothing.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class RawHttpServer {
public:
    explicit RawHttpServer(std::string reply, std::string endlessTail = "");
    ~RawHttpServer();
    RawHttpServer(const RawHttpServer&) = delete;
    RawHttpServer& operator=(const RawHttpServer&) = delete;

    bool listening() const { return _port != 0; }
    std::string url(const std::string& path) const;
    // Raw requests received so far (read after the client has had its answer).
    std::vector<std::string> requests() const;

private:
    void serve();

    void sendEndless(int conn);

    std::string _reply;
    std::string _tail;
    int _fd = -1;
    int _port = 0;
    std::atomic<bool> _stop{false};
    std::thread _thread;
    mutable std::mutex _mutex;
    std::vector<std::string> _requests;
};

}  // namespace testsupport
