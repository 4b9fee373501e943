#pragma once
// A WebSocket client: one connection, run by a worker thread of its own.
//
// init() starts the worker, which connects (TCP, or TLS for "wss" with the peer
// verified against caBundlePath() and the host name), sends the upgrade with the
// sub-protocols given and checks the answer. Then it exchanges masked frames:
// messages are joined from their fragments, and a close from either side ends
// with the close handshake. A message larger than kMaxMessageSize (a binary one
// larger than setMaxBinaryMessageSize's) ends the connection (close code 1009)
// as an error.
//
// Bounds against a peer that sends and never reads: pings are answered by one
// pending pong carrying the latest ping's payload (while it cannot be written a
// newer ping only replaces that payload); frames waiting to be written are held
// up to kMaxSendQueue bytes, and a send() that would pass that ends the
// connection as an error (onError, onClose).
//
// Ready state: 0 connecting, 1 open, 2 closing, 3 closed. The delegate's calls
// all run on the main thread (through the scheduler's hand-over queue):
// onOpen once connected; onMessage per message; onClose exactly once at the end;
// onError, before that onClose, when the connection failed or was lost (refused,
// TLS or handshake failure, a protocol fault, an oversize message, the peer
// gone without a close). A close() by the script is no error.
//
// send() and close() are for the main thread; send() is ignored unless open;
// close() does not wait. After close() only onClose reaches the delegate:
// messages, an open or an error still queued for the main thread are dropped.
// Destroying the object ends the worker (it is joined) and drops every call
// still queued for the main thread: nothing reaches the delegate afterwards.
// stopAll() does the same for every socket at once (the program's end, before
// its global clean-up, which the workers' TLS must not outlive); the objects stay
// valid and report CLOSED.
#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace engine::network {

class WebSocket {
public:
    enum class State { CONNECTING = 0, OPEN = 1, CLOSING = 2, CLOSED = 3 };
    enum class ErrorCode { TIME_OUT, CONNECTION_FAILURE, UNKNOWN };

    struct Data {
        char* bytes = nullptr;
        ssize_t len = 0;
        ssize_t issued = 0;
        bool isBinary = false;
    };

    class Delegate {
    public:
        virtual ~Delegate() = default;
        virtual void onOpen(WebSocket* ws) = 0;
        virtual void onMessage(WebSocket* ws, const Data& data) = 0;
        virtual void onClose(WebSocket* ws) = 0;
        virtual void onError(WebSocket* ws, const ErrorCode& error) = 0;
    };

    static constexpr size_t kMaxMessageSize = 16u << 20;
    static constexpr size_t kMaxSendQueue = 8u << 20;

    WebSocket();
    virtual ~WebSocket();
    WebSocket(const WebSocket&) = delete;
    WebSocket& operator=(const WebSocket&) = delete;

    // Binary messages larger than bytes (capped at kMaxMessageSize) end the
    // connection with 1009. Before init; later calls change nothing.
    void setMaxBinaryMessageSize(size_t bytes);

    // Stops and joins the worker of every socket that has one (main thread).
    static void stopAll();

    // Starts connecting. False (and no worker, no delegate call) for an address
    // that is not ws:// or wss://, or a second init.
    bool init(Delegate& delegate, const std::string& url, const std::vector<std::string>* protocols = nullptr);
    // As init, over a stream socket already connected to the server (one end of
    // a socket pair, say) instead of connecting to the address's host; the
    // object owns fd from then on, also when it answers false.
    bool initOverSocket(Delegate& delegate, int fd, const std::string& url,
                        const std::vector<std::string>* protocols = nullptr);

    // A text message.
    void send(const std::string& message);
    // A binary message (len 0: an empty one).
    void send(const unsigned char* binary, unsigned int len);
    // Starts the close handshake (code 1000); while connecting, gives up the
    // connection. onClose follows.
    void close();

    State getReadyState() const;
    // The sub-protocol the server chose ("" none, or not yet open).
    std::string getProtocol() const;

    struct Core;

private:
    bool start(Delegate& delegate, int fd, const std::string& url, const std::vector<std::string>* protocols);
    void queueFrame(unsigned char opcode, const char* data, size_t size);
    void stopWorker();

    std::shared_ptr<Core> _core;
    std::thread _worker;
    size_t _maxBinary = kMaxMessageSize;
};

}  // namespace engine::network
