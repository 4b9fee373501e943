#pragma once
// HTTP client on libcurl: every transfer runs on a worker thread; the request's
// callback runs on the main thread (through the scheduler's hand-over queue).
#include <string>

namespace engine::network {

class HttpRequest;

class HttpClient {
public:
    static HttpClient* getInstance();
    // Waits for transfers in flight and tears the client down (tests, shutdown).
    static void destroyInstance();

    // Starts the transfer at once (no queue). Retains the request until its
    // callback has run.
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
