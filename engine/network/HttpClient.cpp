#include "engine/network/HttpClient.h"
#include "engine/network/CurlSetup.h"

#include <curl/curl.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <new>
#include <string>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "engine/base/WorkerThreads.h"
#include "engine/network/HttpRequest.h"
#include "engine/network/HttpResponse.h"
#include "platform/Paths.h"

namespace engine::network {

namespace {

std::mutex s_instanceMutex;
HttpClient* s_instance = nullptr;
std::once_flag s_curlGlobalInit;

// What a transfer needs besides its request, fixed when it is sent.
struct TransferSettings {
    long connectTimeout = 0;
    long readTimeout = 0;
    std::string caBundle;
};

// Progress callback: a non-zero answer makes libcurl abort the transfer. libcurl
// calls it at least about once a second, even while nothing arrives.
int abandonCheck(void* flag, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(flag)->load() ? 1 : 0;
}

// Where a transfer's headers and body go, with the bound they share.
struct ReplySink {
    std::vector<char>* body;
    std::vector<char>* header;
    size_t limit;   // 0: none
    size_t held = 0;
    bool over = false;
    bool outOfMemory = false;
};

// Appends to the body or the header; a short count (which makes libcurl fail the
// transfer) once the reply outgrows its bound or memory runs out.
size_t appendTo(std::vector<char>* target, ReplySink& sink, const char* data, size_t n) {
    if (sink.limit > 0 && n > sink.limit - sink.held) {
        sink.over = true;
        return 0;
    }
    try {
        target->insert(target->end(), data, data + n);
    } catch (const std::bad_alloc&) {
        sink.outOfMemory = true;
        return 0;
    }
    sink.held += n;
    return n;
}

size_t appendBody(char* data, size_t size, size_t count, void* userdata) {
    auto* sink = static_cast<ReplySink*>(userdata);
    return appendTo(sink->body, *sink, data, size * count);
}

size_t appendHeader(char* data, size_t size, size_t count, void* userdata) {
    auto* sink = static_cast<ReplySink*>(userdata);
    return appendTo(sink->header, *sink, data, size * count);
}

// Fills `response` from one blocking transfer of its request (worker thread).
// `abandon` set makes it end within about a second, failed.
void performTransfer(HttpResponse* response, const TransferSettings& settings,
                     const std::atomic<bool>* abandon) {
    HttpRequest* request = response->getHttpRequest();
    const HttpRequest::Type type = request->getRequestType();
    if (type == HttpRequest::Type::UNKNOWN) {
        response->setSucceed(false);
        response->setErrorBuffer("request type not set");
        return;
    }

    CURL* curl = curl_easy_init();
    if (!curl) {
        response->setSucceed(false);
        response->setErrorBuffer("curl_easy_init failed");
        return;
    }

    char errorBuffer[CURL_ERROR_SIZE] = {0};
    curl_slist* headers = nullptr;
    for (const std::string& header : request->getHeaders()) {
        curl_slist* grown = curl_slist_append(headers, header.c_str());
        if (grown) headers = grown;
    }

    curl_easy_setopt(curl, CURLOPT_URL, request->getUrl().c_str());
    applySocketRule(curl);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, settings.connectTimeout);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, settings.readTimeout);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    applyCaRule(curl, settings.caBundle);
    ReplySink sink{response->getResponseData(), response->getResponseHeader(),
                   request->getMaxResponseBytes()};
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, appendHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &sink);
    if (headers) curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, abandonCheck);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, abandon);

    // An empty body still needs a valid pointer: a null one would make libcurl
    // read the body from a callback instead.
    const std::vector<char>& data = request->getRequestData();
    const char* body = data.empty() ? "" : data.data();
    const auto bodySize = static_cast<curl_off_t>(data.size());
    switch (type) {
    case HttpRequest::Type::GET:
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
        break;
    case HttpRequest::Type::POST:
        curl_easy_setopt(curl, CURLOPT_POST, 1L);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, bodySize);
        break;
    case HttpRequest::Type::PUT:
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "PUT");
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, bodySize);
        break;
    case HttpRequest::Type::DELETE:
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "DELETE");
        if (!data.empty()) {
            curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body);
            curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, bodySize);
        }
        break;
    case HttpRequest::Type::UNKNOWN:
        break;
    }

    const CURLcode rc = curl_easy_perform(curl);
    long code = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    response->setResponseCode(code);
    response->setSucceed(rc == CURLE_OK);
    if (sink.over) {
        response->setErrorBuffer("reply larger than " + std::to_string(sink.limit) + " bytes");
    } else if (sink.outOfMemory) {
        response->setErrorBuffer("out of memory for the reply");
    } else if (rc != CURLE_OK) {
        response->setErrorBuffer(errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc));
    }
    if (sink.over || sink.outOfMemory) {
        // What arrived is no reply: nothing of it is handed on.
        std::vector<char>().swap(*response->getResponseData());
        std::vector<char>().swap(*response->getResponseHeader());
    }

    curl_easy_cleanup(curl);
    curl_slist_free_all(headers);
}

// Holds a finished response on its way to the main thread. Whoever runs the
// delivery releases the response (and with it the request); if the queue is
// dropped without running it, the destructor does.
struct Delivery {
    HttpClient* client;
    std::weak_ptr<void> clientAlive;
    HttpResponse* response;

    Delivery(HttpClient* c, std::weak_ptr<void> alive, HttpResponse* r)
        : client(c), clientAlive(std::move(alive)), response(r) {}
    Delivery(const Delivery&) = delete;
    Delivery& operator=(const Delivery&) = delete;
    ~Delivery() { releaseResponse(); }
    void releaseResponse() {
        if (response) response->release();
        response = nullptr;
    }
    void run() {
        // A client destroyed in the meantime cannot be handed to the callback;
        // the response is dropped without calling it.
        if (clientAlive.lock()) {
            const HttpResponseCallback& callback = response->getHttpRequest()->getResponseCallback();
            if (callback) callback(client, response);
        }
        releaseResponse();
    }
};

void deliverOnMainThread(HttpClient* client, std::weak_ptr<void> alive, HttpResponse* response) {
    auto delivery = std::make_shared<Delivery>(client, std::move(alive), response);
    Director::getInstance()->getScheduler()->performFunctionInEngineThread(
        [delivery = std::move(delivery)]() { delivery->run(); });
}

}  // namespace

struct HttpClient::Impl {
    std::atomic<int> connectTimeout{30};
    std::atomic<int> readTimeout{60};
    // Expires with the client; queued deliveries check it before calling back.
    std::shared_ptr<void> alive = std::make_shared<int>(0);
    // Set when the client shuts down: transfers in flight give up.
    std::atomic<bool> abandon{false};
    // One thread a transfer.
    WorkerThreads workers;
};

HttpClient* HttpClient::getInstance() {
    std::lock_guard<std::mutex> lock(s_instanceMutex);
    if (!s_instance) s_instance = new HttpClient();
    return s_instance;
}

void HttpClient::destroyInstance() {
    HttpClient* instance = nullptr;
    {
        std::lock_guard<std::mutex> lock(s_instanceMutex);
        std::swap(instance, s_instance);
    }
    delete instance;
}

HttpClient::HttpClient() : _impl(new Impl) {}

HttpClient::~HttpClient() {
    _impl->abandon.store(true);
    _impl->workers.joinAll();
    delete _impl;
}

void HttpClient::sendImmediate(HttpRequest* request) {
    if (!request) return;
    ensureCurlGlobalInit();
    _impl->workers.joinFinished();

    TransferSettings settings;
    settings.connectTimeout = std::max(0, _impl->connectTimeout.load());
    settings.readTimeout = std::max(0, _impl->readTimeout.load());
    settings.caBundle = caBundlePath();

    auto* response = new HttpResponse(request);   // keeps the request alive
    std::weak_ptr<void> alive = _impl->alive;
    Impl* impl = _impl;

    std::string error;
    const bool started = impl->workers.start(
        [this, impl, response, settings, alive] {
            performTransfer(response, settings, &impl->abandon);
            deliverOnMainThread(this, alive, response);
        },
        &error);
    if (!started) {
        engine::log("HttpClient: cannot start a transfer thread: %s", error.c_str());
        response->setSucceed(false);
        response->setErrorBuffer("cannot start a transfer thread");
        deliverOnMainThread(this, alive, response);
    }
}

void HttpClient::setTimeoutForConnect(int seconds) { _impl->connectTimeout = seconds; }
int HttpClient::getTimeoutForConnect() const { return _impl->connectTimeout; }
void HttpClient::setTimeoutForRead(int seconds) { _impl->readTimeout = seconds; }
int HttpClient::getTimeoutForRead() const { return _impl->readTimeout; }

void ensureCurlGlobalInit() {
    std::call_once(s_curlGlobalInit, [] {
        const CURLcode rc = curl_global_init(CURL_GLOBAL_ALL);
        if (rc != CURLE_OK) engine::log("HttpClient: curl_global_init failed (%d)", static_cast<int>(rc));
    });
}

void applyCaRule(CURL* curl, const std::string& caBundle) {
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!caBundle.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, caBundle.c_str());
}

namespace {

curl_socket_t openCloseOnExecSocket(void*, curlsocktype, struct curl_sockaddr* address) {
    return ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
}

}  // namespace

void applySocketRule(CURL* curl) {
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, openCloseOnExecSocket);
}

std::string caBundlePath() {
    static const std::string path = [] {
        const std::string dir = platform::executableDir();
        return dir.empty() ? std::string() : dir + "/cacert.pem";
    }();
    return path;
}

}  // namespace engine::network
