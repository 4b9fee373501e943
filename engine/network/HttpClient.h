#pragma once
// HTTP client on libcurl: every transfer runs on a worker thread; the request's
// callback runs on the main thread (through the scheduler's hand-over queue).
// sendImmediate and the time-out settings may be called from any thread;
// destroyInstance only once no other thread is sending.
#include <string>

namespace engine::network {

class HttpRequest;

class HttpClient {
public:
    static HttpClient* getInstance();
    // Tears the client down (tests, and the program at exit): transfers in flight
    // are abandoned (each ends within about a second) and their threads joined.
    // Responses still waiting for the main thread, abandoned ones included, are
    // then released without their callback. Call it before the director is
    // destroyed.
    static void destroyInstance();

    // Starts the transfer at once (no queue) on a thread of its own, with the
    // time-outs current at this call. Retains the request until its callback has
    // run on the main thread (during the scheduler's update). Redirects are not
    // followed; HTTPS peers are verified against caBundlePath(). A request whose
    // type was never set fails without a transfer.
    void sendImmediate(HttpRequest* request);

    // Seconds; defaults 30 (connect) and 60 (whole transfer).
    void setTimeoutForConnect(int seconds);
    int getTimeoutForConnect() const;
    void setTimeoutForRead(int seconds);
    int getTimeoutForRead() const;

private:
    HttpClient();
    ~HttpClient();
    struct Impl;
    Impl* _impl;
};

// "cacert.pem" in the running executable's folder ("" when that folder is unknown).
// Every HTTPS transfer verifies its peer against it.
std::string caBundlePath();

}  // namespace engine::network
