#include "engine/network/WebSocket.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <openssl/err.h>
#include <openssl/rand.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <utility>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "engine/network/HttpClient.h"
#include "engine/network/WebSocketFrames.h"
#include "engine/network/WebSocketHandshake.h"

namespace engine::network {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kConnectTimeoutMs = 15000;
constexpr int kHandshakeTimeoutMs = 15000;
constexpr int kCloseTimeoutMs = 3000;
constexpr size_t kMaxAnswerHead = 16 * 1024;
constexpr size_t kReadChunk = 256 * 1024;

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

}  // namespace

// What the object and its worker share. The worker holds it too, so it outlives
// whichever of them ends last.
struct WebSocket::Core {
    WebSocket* owner = nullptr;
    WebSocket::Delegate* delegate = nullptr;
    ws::Address address;
    std::vector<std::string> protocols;

    // Cleared on the main thread when the object goes: queued calls check it.
    std::atomic<bool> alive{true};
    // Set by the destructor: the worker ends at once.
    std::atomic<bool> stop{false};
    std::atomic<int> state{static_cast<int>(State::CONNECTING)};
    // Set by close() (main thread): from then on only the close is delivered.
    std::atomic<bool> closedByOwner{false};
    // Bytes the worker holds encoded and not yet written.
    std::atomic<size_t> unsent{0};
    size_t maxBinary = WebSocket::kMaxMessageSize;
    int socketFd = -1;   // a connected socket to use instead of connecting
    int wakeFd = -1;

    std::mutex mutex;           // guards what follows
    std::string outgoing;       // encoded frames waiting for the worker
    bool closeRequested = false;
    bool sendOverflow = false;   // a send() found the queue full
    std::string protocol;
    // Message buffers the main thread has delivered, handed back to the worker so
    // a stream of messages reuses a few allocations instead of making (and
    // faulting in) one per message.
    std::vector<std::string> spare;
    size_t spareBytes = 0;

    ~Core() {
        if (wakeFd >= 0) ::close(wakeFd);
        if (socketFd >= 0) ::close(socketFd);
    }

    void wake() const {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(wakeFd, &one, sizeof one);
    }
    void setState(State s) { state.store(static_cast<int>(s)); }

    // At most this many bytes of spare buffers are kept per socket.
    static constexpr size_t kSpareBytes = 4u << 20;
    void giveBack(std::string&& buffer) {
        std::lock_guard<std::mutex> lock(mutex);
        if (spareBytes + buffer.capacity() > kSpareBytes) return;
        spareBytes += buffer.capacity();
        spare.push_back(std::move(buffer));
    }
    // A delivered buffer to read the next message into ("" when none is spare).
    std::string takeSpare() {
        std::lock_guard<std::mutex> lock(mutex);
        if (spare.empty()) return {};
        std::string buffer = std::move(spare.back());
        spare.pop_back();
        spareBytes -= buffer.capacity();
        return buffer;
    }
    State getState() const { return static_cast<State>(state.load()); }
};

namespace {

using Core = WebSocket::Core;

// Runs fn on the main thread unless the socket is gone by then, or (unless it is
// the close) closed by its owner.
template <class Fn>
void toMainThread(const std::shared_ptr<Core>& core, Fn fn, bool isClose = false) {
    Director::getInstance()->getScheduler()->performFunctionInEngineThread([core, fn = std::move(fn), isClose]() mutable {
        if (!core->alive.load()) return;
        if (!isClose && core->closedByOwner.load()) return;
        fn(*core);
    });
}

std::string sslErrorText() {
    const unsigned long code = ERR_get_error();
    ERR_clear_error();
    if (code == 0) return "TLS failure";
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    return text;
}

SSL_CTX* clientContext(std::string& error) {
    static std::once_flag once;
    static SSL_CTX* shared = nullptr;
    static std::string failure;
    std::call_once(once, [] {
        SSL_CTX* ctx = SSL_CTX_new(TLS_client_method());
        if (!ctx) {
            failure = "cannot create a TLS context";
            return;
        }
        SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
        SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, nullptr);
        SSL_CTX_set_mode(ctx, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
        const std::string bundle = caBundlePath();
        if (bundle.empty() || SSL_CTX_load_verify_locations(ctx, bundle.c_str(), nullptr) != 1) {
            ERR_clear_error();
            failure = "cannot read the CA bundle " + bundle;
            SSL_CTX_free(ctx);
            return;
        }
        shared = ctx;
    });
    error = failure;
    return shared;
}

// One connection as the worker drives it: non-blocking socket, optional TLS,
// every wait through poll() on the socket and the wake-up descriptor.
class Connection {
public:
    Connection(Core& core) : _core(core) {}
    ~Connection() {
        if (_ssl) SSL_free(_ssl);
        if (_fd >= 0) ::close(_fd);
    }

    std::string error;

    // Waits for the socket (events) or a wake-up; false on time-out, a stop or a
    // close request (those are checked after each wake-up).
    bool wait(short events, Clock::time_point deadline) {
        for (;;) {
            if (_core.stop.load()) return false;
            if (closeRequested()) return false;
            pollfd fds[2] = {{_fd, events, 0}, {_core.wakeFd, POLLIN, 0}};
            const int n = ::poll(fds, 2, remainingMs(deadline));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                if (n == 0) error = "timed out";
                return false;
            }
            if (fds[1].revents) drainWake();
            if (fds[0].revents) return true;
        }
    }

    void drainWake() const {
        uint64_t value;
        [[maybe_unused]] ssize_t n = ::read(_core.wakeFd, &value, sizeof value);
    }

    bool closeRequested() {
        std::lock_guard<std::mutex> lock(_core.mutex);
        return _core.closeRequested;
    }

    // Takes the core's connected socket over.
    bool adopt(Clock::time_point deadline) {
        _fd = std::exchange(_core.socketFd, -1);
        const int flags = ::fcntl(_fd, F_GETFL);
        if (flags < 0 || ::fcntl(_fd, F_SETFL, flags | O_NONBLOCK) != 0) {
            error = std::string("cannot use the socket: ") + std::strerror(errno);
            return false;
        }
        return _core.address.secure ? startTls(deadline) : true;
    }

    bool connect(Clock::time_point deadline) {
        const ws::Address& address = _core.address;
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        const std::string port = std::to_string(address.port);
        const int rc = ::getaddrinfo(address.host.c_str(), port.c_str(), &hints, &found);
        if (rc != 0 || !found) {
            error = "cannot resolve " + address.host + ": " + gai_strerror(rc);
            return false;
        }
        bool connected = false;
        for (addrinfo* ai = found; ai && !connected && !_core.stop.load(); ai = ai->ai_next) {
            _fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
            if (_fd < 0) continue;
            int result = ::connect(_fd, ai->ai_addr, ai->ai_addrlen);
            if (result != 0 && errno == EINPROGRESS) {
                if (wait(POLLOUT, deadline)) {
                    int soError = 0;
                    socklen_t len = sizeof soError;
                    ::getsockopt(_fd, SOL_SOCKET, SO_ERROR, &soError, &len);
                    result = soError == 0 ? 0 : -1;
                    errno = soError;
                } else {
                    result = -1;
                    errno = ETIMEDOUT;
                }
            }
            if (result == 0) {
                connected = true;
            } else {
                error = std::string("cannot connect: ") + std::strerror(errno);
                ::close(_fd);
                _fd = -1;
            }
        }
        ::freeaddrinfo(found);
        if (!connected) return false;
        const int one = 1;
        ::setsockopt(_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        return address.secure ? startTls(deadline) : true;
    }

    bool startTls(Clock::time_point deadline) {
        SSL_CTX* ctx = clientContext(error);
        if (!ctx) return false;
        _ssl = SSL_new(ctx);
        if (!_ssl) {
            error = sslErrorText();
            return false;
        }
        SSL_set_fd(_ssl, _fd);
        const std::string& host = _core.address.host;
        in6_addr ip{};
        const bool literal = ::inet_pton(AF_INET, host.c_str(), &ip) == 1 || ::inet_pton(AF_INET6, host.c_str(), &ip) == 1;
        if (literal) {
            X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(_ssl), host.c_str());
        } else {
            SSL_set_tlsext_host_name(_ssl, host.c_str());
            SSL_set1_host(_ssl, host.c_str());
        }
        for (;;) {
            const int rc = SSL_connect(_ssl);
            if (rc == 1) return true;
            const int why = SSL_get_error(_ssl, rc);
            if (why == SSL_ERROR_WANT_READ || why == SSL_ERROR_WANT_WRITE) {
                if (!wait(why == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT, deadline)) {
                    if (error.empty()) error = "TLS handshake interrupted";
                    return false;
                }
                continue;
            }
            const long verify = SSL_get_verify_result(_ssl);
            error = verify != X509_V_OK ? std::string("certificate refused: ") + X509_verify_cert_error_string(verify)
                                        : "TLS handshake failed: " + sslErrorText();
            return false;
        }
    }

    // >0 bytes read; 0 nothing now (want: the poll events to wait for); -1 end
    // of stream or failure.
    ssize_t readSome(char* into, size_t size, short& want) {
        want = POLLIN;
        if (!_ssl) {
            const ssize_t n = ::recv(_fd, into, size, 0);
            if (n > 0) return n;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return 0;
            error = n == 0 ? "connection closed by the peer" : std::string("read failed: ") + std::strerror(errno);
            return -1;
        }
        const int n = SSL_read(_ssl, into, static_cast<int>(size));
        if (n > 0) return n;
        const int why = SSL_get_error(_ssl, n);
        if (why == SSL_ERROR_WANT_READ) return 0;
        if (why == SSL_ERROR_WANT_WRITE) {
            want = POLLOUT;
            return 0;
        }
        error = why == SSL_ERROR_ZERO_RETURN ? "connection closed by the peer" : "TLS read failed: " + sslErrorText();
        return -1;
    }

    ssize_t writeSome(const char* data, size_t size, short& want) {
        want = POLLOUT;
        if (!_ssl) {
            const ssize_t n = ::send(_fd, data, size, MSG_NOSIGNAL);
            if (n >= 0) return n;
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return 0;
            error = std::string("write failed: ") + std::strerror(errno);
            return -1;
        }
        const int n = SSL_write(_ssl, data, static_cast<int>(std::min<size_t>(size, 1 << 30)));
        if (n > 0) return n;
        const int why = SSL_get_error(_ssl, n);
        if (why == SSL_ERROR_WANT_WRITE) return 0;
        if (why == SSL_ERROR_WANT_READ) {
            want = POLLIN;
            return 0;
        }
        error = "TLS write failed: " + sslErrorText();
        return -1;
    }

    // Writes everything (handshake phase).
    bool writeAll(const std::string& data, Clock::time_point deadline) {
        size_t done = 0;
        while (done < data.size()) {
            short want = POLLOUT;
            const ssize_t n = writeSome(data.data() + done, data.size() - done, want);
            if (n < 0) return false;
            if (n == 0 && !wait(want, deadline)) return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }

    // Reads the answer's head; bytes after its blank line go to rest.
    bool readHead(std::string& head, std::string& rest, Clock::time_point deadline) {
        char chunk[4096];
        for (;;) {
            short want = POLLIN;
            const ssize_t n = readSome(chunk, sizeof chunk, want);
            if (n < 0) return false;
            if (n == 0) {
                if (!wait(want, deadline)) return false;
                continue;
            }
            head.append(chunk, static_cast<size_t>(n));
            const size_t end = head.find("\r\n\r\n");
            if (end != std::string::npos) {
                rest = head.substr(end + 4);
                head.resize(end + 4);
                return true;
            }
            if (head.size() > kMaxAnswerHead) {
                error = "the upgrade answer is too long";
                return false;
            }
        }
    }

    int fd() const { return _fd; }

private:
    Core& _core;
    int _fd = -1;
    SSL* _ssl = nullptr;
};

void randomMask(uint8_t mask[4]) {
    if (RAND_bytes(mask, 4) != 1) {
        const auto now = static_cast<uint32_t>(Clock::now().time_since_epoch().count());
        std::memcpy(mask, &now, 4);
    }
}

void deliverError(const std::shared_ptr<Core>& core) {
    toMainThread(core, [](Core& c) { c.delegate->onError(c.owner, WebSocket::ErrorCode::CONNECTION_FAILURE); });
}

void deliverClose(const std::shared_ptr<Core>& core) {
    toMainThread(core, [](Core& c) { c.delegate->onClose(c.owner); }, true);
}

// The open connection's loop. Returns true when it ended with a clean close
// handshake (or the script's own close), false on an error.
bool exchange(const std::shared_ptr<Core>& core, Connection& conn, const std::string& early) {
    ws::FrameReader reader(WebSocket::kMaxMessageSize, core->maxBinary);
    reader.feed(early.data(), early.size());
    std::string pending;     // encoded frames still to write
    size_t pendingDone = 0;
    std::string pongPayload;   // the latest ping's, while its pong waits
    bool pongDue = false;
    bool sentClose = false;
    bool receivedClose = false;
    bool failed = false;
    Clock::time_point closeDeadline{};
    // Its payload is a buffer to read the next message into: a delivered one handed
    // back when there is one.
    ws::FrameEvent event;

    auto queueControl = [&](uint8_t opcode, const std::string& payload) {
        uint8_t mask[4];
        randomMask(mask);
        ws::appendClientFrame(pending, opcode, payload.data(), payload.size(), mask);
    };
    auto startClosing = [&](uint16_t code) {
        if (sentClose) return;
        queueControl(ws::kClose, ws::closePayload(code));
        sentClose = true;
        core->setState(WebSocket::State::CLOSING);
        closeDeadline = Clock::now() + std::chrono::milliseconds(kCloseTimeoutMs);
    };

    for (;;) {
        if (core->stop.load()) {
            // The object is gone: a close frame if it fits at once, then away.
            if (!sentClose) {
                startClosing(ws::kCloseNormal);
                short want;
                conn.writeSome(pending.data() + pendingDone, pending.size() - pendingDone, want);
            }
            return true;
        }
        bool overflow;
        {
            std::lock_guard<std::mutex> lock(core->mutex);
            overflow = core->sendOverflow;
            if (!core->outgoing.empty() && !sentClose && !overflow) {
                pending.append(core->outgoing);
            }
            core->outgoing.clear();
            core->unsent.store(pending.size() - pendingDone);
            if (core->closeRequested && !sentClose) startClosing(ws::kCloseNormal);
        }
        if (overflow) {
            engine::log("WebSocket %s: more than %zu bytes waiting to be sent", core->address.host.c_str(),
                        WebSocket::kMaxSendQueue);
            return false;
        }

        // Events already received.
        while (!receivedClose && reader.next(event)) {
            switch (event.kind) {
            case ws::FrameEvent::Text:
            case ws::FrameEvent::Binary: {
                if (sentClose) break;   // closing: messages are no longer delivered
                // The buffer itself goes to the main thread, and comes back once delivered.
                auto message = std::make_shared<std::string>(std::move(event.payload));
                const bool binary = event.kind == ws::FrameEvent::Binary;
                toMainThread(core, [message, binary](Core& c) {
                    WebSocket::Data data;
                    data.bytes = message->data();
                    data.len = static_cast<ssize_t>(message->size());
                    data.isBinary = binary;
                    c.delegate->onMessage(c.owner, data);
                    c.giveBack(std::move(*message));
                });
                event.payload = core->takeSpare();
                break;
            }
            case ws::FrameEvent::Ping:
                if (!sentClose) {
                    pongPayload.swap(event.payload);
                    pongDue = true;
                }
                break;
            case ws::FrameEvent::Pong:
                break;
            case ws::FrameEvent::Close:
                receivedClose = true;
                if (!sentClose) startClosing(event.code == ws::kCloseNoStatus ? ws::kCloseNormal : event.code);
                break;
            case ws::FrameEvent::Error:
                engine::log("WebSocket %s: %s", core->address.host.c_str(), event.payload.c_str());
                failed = true;
                startClosing(event.code);
                receivedClose = true;   // nothing more is read
                break;
            }
        }

        // The pong goes out between whole frames, once the earlier ones are written.
        if (pongDue && pending.empty() && !sentClose) {
            queueControl(ws::kPong, pongPayload);
            pongDue = false;
        }

        // Write what is pending.
        short writeWant = 0;
        while (pendingDone < pending.size()) {
            short want;
            const ssize_t n = conn.writeSome(pending.data() + pendingDone, pending.size() - pendingDone, want);
            if (n < 0) {
                if (sentClose && receivedClose) return !failed;
                engine::log("WebSocket %s: %s", core->address.host.c_str(), conn.error.c_str());
                return false;
            }
            if (n == 0) {
                writeWant = want;
                break;
            }
            pendingDone += static_cast<size_t>(n);
        }
        if (pendingDone == pending.size()) {
            pending.clear();
            pendingDone = 0;
        }
        core->unsent.store(pending.size() - pendingDone);
        if (sentClose && receivedClose && pending.empty()) return !failed;
        if (sentClose && Clock::now() >= closeDeadline) return !failed;

        // Read what is there (one chunk round per turn, so writes keep going).
        short readWant = POLLIN;
        if (!receivedClose) {
            const ws::FrameReader::Room room = reader.prepare(kReadChunk);
            const ssize_t n = conn.readSome(room.data, room.size, readWant);
            if (n < 0) {
                if (sentClose) return !failed;   // the peer ended the closing connection
                engine::log("WebSocket %s: %s", core->address.host.c_str(), conn.error.c_str());
                return false;
            }
            if (n > 0) {
                reader.commit(static_cast<size_t>(n));
                continue;
            }
        }

        short events = static_cast<short>(readWant | writeWant);
        if (receivedClose) events = writeWant ? writeWant : POLLIN;
        pollfd fds[2] = {{conn.fd(), events, 0}, {core->wakeFd, POLLIN, 0}};
        const int timeout = sentClose ? remainingMs(closeDeadline) : -1;
        const int n = ::poll(fds, 2, timeout);
        if (n < 0 && errno != EINTR) return false;
        if (n > 0 && fds[1].revents) conn.drainWake();
    }
}

void run(std::shared_ptr<Core> core) {
    Connection conn(*core);
    const auto deadline = Clock::now() + std::chrono::milliseconds(kConnectTimeoutMs);
    bool opened = false;
    bool clean = true;
    std::string early;
    if (core->socketFd >= 0 ? conn.adopt(deadline) : conn.connect(deadline)) {
        const std::string key = ws::makeKey();
        const auto handshakeDeadline = Clock::now() + std::chrono::milliseconds(kHandshakeTimeoutMs);
        std::string head;
        if (conn.writeAll(ws::upgradeRequest(core->address, key, core->protocols), handshakeDeadline) &&
            conn.readHead(head, early, handshakeDeadline)) {
            const ws::HandshakeResult answer = ws::checkUpgradeAnswer(head, key, core->protocols);
            if (answer.ok) {
                opened = true;
                {
                    std::lock_guard<std::mutex> lock(core->mutex);
                    core->protocol = answer.protocol;
                }
            } else {
                conn.error = answer.error;
            }
        }
    }
    if (core->stop.load()) return;
    if (opened) {
        bool closeFirst;
        {
            std::lock_guard<std::mutex> lock(core->mutex);
            closeFirst = core->closeRequested;
        }
        // Closed by the script while connecting: the close handshake, no onOpen.
        core->setState(closeFirst ? WebSocket::State::CLOSING : WebSocket::State::OPEN);
        if (!closeFirst) toMainThread(core, [](Core& c) { c.delegate->onOpen(c.owner); });
        clean = exchange(core, conn, early);
        if (core->stop.load()) return;
    } else {
        bool closeFirst;
        {
            std::lock_guard<std::mutex> lock(core->mutex);
            closeFirst = core->closeRequested;
        }
        if (!closeFirst) {
            engine::log("WebSocket %s: %s", core->address.host.c_str(),
                        conn.error.empty() ? "connection failed" : conn.error.c_str());
            clean = false;
        }
    }
    core->setState(WebSocket::State::CLOSED);
    if (!clean) deliverError(core);
    deliverClose(core);
}

}  // namespace

namespace {

// The sockets with a worker (main thread only). Never destroyed: a socket may
// be deleted during the program's static clean-up.
std::vector<WebSocket*>& liveSockets() {
    static auto* sockets = new std::vector<WebSocket*>;
    return *sockets;
}

}  // namespace

WebSocket::WebSocket() = default;

WebSocket::~WebSocket() {
    if (!_core) return;
    stopWorker();
    auto& live = liveSockets();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void WebSocket::stopWorker() {
    _core->alive.store(false);
    _core->stop.store(true);
    _core->wake();
    if (_worker.joinable()) _worker.join();
    _core->setState(State::CLOSED);
}

void WebSocket::stopAll() {
    for (WebSocket* socket : liveSockets()) socket->stopWorker();
}

void WebSocket::setMaxBinaryMessageSize(size_t bytes) { _maxBinary = std::min(bytes, kMaxMessageSize); }

bool WebSocket::init(Delegate& delegate, const std::string& url, const std::vector<std::string>* protocols) {
    return start(delegate, -1, url, protocols);
}

bool WebSocket::initOverSocket(Delegate& delegate, int fd, const std::string& url,
                               const std::vector<std::string>* protocols) {
    if (fd < 0) return false;
    if (_core) {
        ::close(fd);
        return false;
    }
    return start(delegate, fd, url, protocols);
}

bool WebSocket::start(Delegate& delegate, int fd, const std::string& url, const std::vector<std::string>* protocols) {
    if (_core) return false;
    std::optional<ws::Address> address = ws::parseAddress(url);
    if (!address) {
        engine::log("WebSocket: not a ws:// or wss:// address: %s", url.c_str());
        if (fd >= 0) ::close(fd);
        return false;
    }
    auto core = std::make_shared<Core>();
    core->owner = this;
    core->delegate = &delegate;
    core->address = std::move(*address);
    if (protocols) core->protocols = *protocols;
    core->maxBinary = _maxBinary;
    core->socketFd = fd;
    core->wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (core->wakeFd < 0) return false;
    Director::getInstance();   // the hand-over queue exists before the worker needs it
    _core = core;
    _worker = std::thread(run, core);
    liveSockets().push_back(this);
    return true;
}

void WebSocket::queueFrame(unsigned char opcode, const char* data, size_t size) {
    if (!_core || getReadyState() != State::OPEN) return;
    uint8_t mask[4];
    randomMask(mask);
    constexpr size_t kFrameHead = 14;
    {
        std::lock_guard<std::mutex> lock(_core->mutex);
        if (_core->closeRequested || _core->sendOverflow) return;
        const size_t queued = _core->outgoing.size() + _core->unsent.load();
        if (size > kMaxSendQueue || queued + size + kFrameHead > kMaxSendQueue) {
            _core->sendOverflow = true;
            _core->setState(State::CLOSING);
        } else {
            ws::appendClientFrame(_core->outgoing, opcode, data, size, mask);
        }
    }
    _core->wake();
}

void WebSocket::send(const std::string& message) { queueFrame(ws::kText, message.data(), message.size()); }

void WebSocket::send(const unsigned char* binary, unsigned int len) {
    queueFrame(ws::kBinary, reinterpret_cast<const char*>(binary), binary ? len : 0);
}

void WebSocket::close() {
    if (!_core) return;
    _core->closedByOwner.store(true);
    {
        std::lock_guard<std::mutex> lock(_core->mutex);
        if (_core->closeRequested) return;
        _core->closeRequested = true;
    }
    if (getReadyState() == State::OPEN) _core->setState(State::CLOSING);
    _core->wake();
}

WebSocket::State WebSocket::getReadyState() const {
    return _core ? _core->getState() : State::CLOSED;
}

std::string WebSocket::getProtocol() const {
    if (!_core) return std::string();
    std::lock_guard<std::mutex> lock(_core->mutex);
    return _core->protocol;
}

}  // namespace engine::network
