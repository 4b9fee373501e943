#include "engine/network/extra/HTTPRequest.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <thread>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "engine/network/CurlSetup.h"
#include "engine/network/HttpClient.h"
#include "engine/script/ScriptEngineManager.h"

namespace engine::extra {

namespace {

constexpr size_t kBufferStep = 32768;
constexpr long kDefaultTimeout = 10;
const char* const kReleaseKey = "HTTPRequest::releaseWhenThreadDone";

void report(const char* message) { ScriptEngineManager::sendAssert(message); }

Scheduler* scheduler() { return Director::getInstance()->getScheduler(); }

// A control character (below 0x20, or 0x7f) would end the line early or inject
// another one; a tab is a blank in a value.
bool holdsControl(std::string_view text, bool tabAllowed) {
    for (const unsigned char c : text) {
        if ((c < 0x20 && !(tabAllowed && c == '\t')) || c == 0x7f) return true;
    }
    return false;
}

}  // namespace

HTTPRequest* HTTPRequest::createWithUrl(HTTPRequestListener* listener, const std::string& url, int method) {
    auto* request = new HTTPRequest();
    request->_delegate = listener;
    if (!request->initWithUrl(url, method)) {
        request->release();
        return nullptr;
    }
    request->autorelease();
    return request;
}

bool HTTPRequest::initWithUrl(const std::string& url, int method) {
    if (url.empty()) {
        report("HTTPRequest::initWithUrl() - invalid url");
        return false;
    }
    network::ensureCurlGlobalInit();
    _curl = curl_easy_init();
    if (!_curl) {
        engine::log("HTTPRequest::initWithUrl() - curl_easy_init failed");
        return false;
    }
    _url = url;
    curl_easy_setopt(_curl, CURLOPT_URL, _url.c_str());
    curl_easy_setopt(_curl, CURLOPT_USERAGENT, "libcurl");
    curl_easy_setopt(_curl, CURLOPT_CONNECTTIMEOUT, kDefaultTimeout);
    curl_easy_setopt(_curl, CURLOPT_TIMEOUT, kDefaultTimeout);
    curl_easy_setopt(_curl, CURLOPT_NOSIGNAL, 1L);
    network::applyCaRule(_curl, network::caBundlePath());
    network::applySocketRule(_curl);
    if (method == kPOST) {
        curl_easy_setopt(_curl, CURLOPT_POST, 1L);
        curl_easy_setopt(_curl, CURLOPT_COPYPOSTFIELDS, "");
    }
    return true;
}

HTTPRequest::~HTTPRequest() { resetTransfer(); }

void HTTPRequest::resetTransfer() {
    _state = kCleared;
    _responseCapacity = 0;
    _responseLength = 0;
    std::free(_responseBuffer);
    _responseBuffer = nullptr;
    if (_form) {
        curl_mime_free(_form);
        _form = nullptr;
    }
    if (_curl) {
        curl_easy_cleanup(_curl);
        _curl = nullptr;
    }
}

bool HTTPRequest::requireIdle(const char* message) const {
    if (_state == kIdle) return true;
    report(message);
    return false;
}

bool HTTPRequest::requireCompleted(const char* message) const {
    if (_state == kCompleted) return true;
    report(message);
    return false;
}

// ---------------------------------------------------------------------------
// Options (Idle only)

void HTTPRequest::setRequestUrl(const std::string& url) {
    if (!requireIdle("HTTPRequest::setRequestUrl() - request not idle")) return;
    if (url.empty()) {
        report("HTTPRequest::setRequestUrl() - invalid url");
        return;
    }
    _url = url;
    curl_easy_setopt(_curl, CURLOPT_URL, _url.c_str());
}

void HTTPRequest::addRequestHeader(const std::string& header) {
    if (!requireIdle("HTTPRequest::addRequestHeader() - request not idle")) return;
    const size_t colon = header.find(':');
    const std::string_view name = std::string_view(header).substr(0, colon);
    const std::string_view value =
        colon == std::string::npos ? std::string_view() : std::string_view(header).substr(colon + 1);
    if (header.empty() || holdsControl(name, false) || holdsControl(value, true)) {
        report("HTTPRequest::addRequestHeader() - invalid header");
        return;
    }
    _requestHeaders.push_back(header);
}

void HTTPRequest::addPOSTValue(const std::string& key, const std::string& value) {
    if (!requireIdle("HTTPRequest::addPOSTValue() - request not idle")) return;
    if (key.empty()) {
        report("HTTPRequest::addPOSTValue() - invalid key");
        return;
    }
    _postFields[key] = value;
}

void HTTPRequest::setPOSTData(const std::string& data) {
    if (!requireIdle("HTTPRequest::setPOSTData() - request not idle")) return;
    _postFields.clear();
    curl_easy_setopt(_curl, CURLOPT_POST, 1L);
    curl_easy_setopt(_curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(data.size()));
    curl_easy_setopt(_curl, CURLOPT_COPYPOSTFIELDS, data.data());
}

void HTTPRequest::addFormContents(const std::string& name, const std::string& value) {
    if (!requireIdle("HTTPRequest::addFormContents() - request not idle")) return;
    if (!_form) _form = curl_mime_init(_curl);
    curl_mimepart* part = _form ? curl_mime_addpart(_form) : nullptr;
    if (!part) return;
    curl_mime_name(part, name.c_str());
    curl_mime_data(part, value.data(), value.size());
}

void HTTPRequest::addFormFile(const std::string& name, const std::string& filePath,
                              const std::string& contentType) {
    if (!requireIdle("HTTPRequest::addFormFile() - request not idle")) return;
    if (!_form) _form = curl_mime_init(_curl);
    curl_mimepart* part = _form ? curl_mime_addpart(_form) : nullptr;
    if (!part) return;
    curl_mime_name(part, name.c_str());
    if (curl_mime_filedata(part, filePath.c_str()) != CURLE_OK) {
        engine::log("HTTPRequest::addFormFile() - cannot read file %s", filePath.c_str());
    }
    if (!contentType.empty()) curl_mime_type(part, contentType.c_str());
}

void HTTPRequest::setCookieString(const std::string& cookie) {
    if (!requireIdle("HTTPRequest::setCookieString() - request not idle")) return;
    if (holdsControl(cookie, true)) {
        report("HTTPRequest::setCookieString() - invalid cookie");
        return;
    }
    curl_easy_setopt(_curl, CURLOPT_COOKIE, cookie.c_str());
}

void HTTPRequest::setAcceptEncoding(int kind) {
    if (!requireIdle("HTTPRequest::setAcceptEncoding() - request not idle")) return;
    const char* encoding = kind == kGzip ? "gzip" : kind == kDeflate ? "deflate" : "identity";
    curl_easy_setopt(_curl, CURLOPT_ACCEPT_ENCODING, encoding);
}

void HTTPRequest::setTimeout(int seconds) {
    if (!requireIdle("HTTPRequest::setTimeout() - request not idle")) return;
    curl_easy_setopt(_curl, CURLOPT_CONNECTTIMEOUT, static_cast<long>(seconds));
    curl_easy_setopt(_curl, CURLOPT_TIMEOUT, static_cast<long>(seconds));
}

// ---------------------------------------------------------------------------
// The transfer

bool HTTPRequest::start() {
    if (!requireIdle("HTTPRequest::start() - request not idle")) return false;
    _state = kInProgress;
    _threadState = 1;
    retain();   // until the transfer thread has finished

    curl_easy_setopt(_curl, CURLOPT_HTTP_CONTENT_DECODING, 1L);
    curl_easy_setopt(_curl, CURLOPT_WRITEFUNCTION, appendResponseData);
    curl_easy_setopt(_curl, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(_curl, CURLOPT_HEADERFUNCTION, appendResponseHeader);
    curl_easy_setopt(_curl, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(_curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(_curl, CURLOPT_XFERINFOFUNCTION, storeProgress);
    curl_easy_setopt(_curl, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(_curl, CURLOPT_COOKIEFILE, "");

    try {
        std::thread(&HTTPRequest::onRequest, this).detach();
    } catch (const std::system_error& e) {
        engine::log("HTTPRequest::start() - cannot start the transfer thread: %s", e.what());
        _errorCode = CURLE_FAILED_INIT;
        _errorMessage = "cannot start the transfer thread";
        curl_easy_cleanup(_curl);
        _curl = nullptr;
        int expected = kInProgress;
        _state.compare_exchange_strong(expected, kFailed);
        _threadState = 2;
    }
    scheduler()->scheduleUpdate(this, 0, false, [this](float dt) { update(dt); });
    return true;
}

void HTTPRequest::onRequest() {
    if (!_postFields.empty()) {
        std::string body;
        for (const auto& [key, value] : _postFields) {
            char* k = curl_easy_escape(_curl, key.data(), static_cast<int>(key.size()));
            char* v = curl_easy_escape(_curl, value.data(), static_cast<int>(value.size()));
            if (k) body += k;
            body += '=';
            if (v) body += v;
            body += '&';
            curl_free(k);
            curl_free(v);
        }
        curl_easy_setopt(_curl, CURLOPT_POST, 1L);
        curl_easy_setopt(_curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
        curl_easy_setopt(_curl, CURLOPT_COPYPOSTFIELDS, body.c_str());
    }
    curl_slist* headers = nullptr;
    for (const std::string& line : _requestHeaders) {
        if (curl_slist* grown = curl_slist_append(headers, line.c_str())) headers = grown;
    }
    if (_form) curl_easy_setopt(_curl, CURLOPT_MIMEPOST, _form);
    curl_easy_setopt(_curl, CURLOPT_HTTPHEADER, headers);

    const CURLcode result = curl_easy_perform(_curl);

    curl_easy_getinfo(_curl, CURLINFO_RESPONSE_CODE, &_responseCode);
    curl_slist* cookies = nullptr;
    if (curl_easy_getinfo(_curl, CURLINFO_COOKIELIST, &cookies) == CURLE_OK && cookies) {
        for (curl_slist* c = cookies; c; c = c->next) {
            _responseCookies += c->data;
            _responseCookies += '\n';
        }
        curl_slist_free_all(cookies);
    }
    curl_easy_cleanup(_curl);
    _curl = nullptr;
    if (_form) {
        curl_mime_free(_form);
        _form = nullptr;
    }
    curl_slist_free_all(headers);
    finishTransfer(result);
    // Nothing after this line: the main thread may free the request now.
}

void HTTPRequest::finishTransfer(CURLcode result) {
    _errorCode = static_cast<int>(result);
    _errorMessage = result == CURLE_OK ? std::string() : std::string(curl_easy_strerror(result));
    int expected = kInProgress;   // a cancelled request stays cancelled
    _state.compare_exchange_strong(expected, result == CURLE_OK ? kCompleted : kFailed);
    _threadState = 2;
}

void HTTPRequest::cancel() {
    _delegate = nullptr;
    int expected = kIdle;
    if (_state.compare_exchange_strong(expected, kCancelled)) return;
    expected = kInProgress;
    _state.compare_exchange_strong(expected, kCancelled);
}

void HTTPRequest::update(float) {
    if (_state == kInProgress) return;
    scheduler()->unscheduleAllForTarget(this);
    if (_threadState != 0) {
        scheduler()->schedule([this](float) { releaseWhenThreadDone(); }, this, 0, false, kReleaseKey);
    }
    if (_delegate) {
        if (_state == kCompleted) {
            _delegate->onRequestFinished(this);
        } else {
            _delegate->onRequestFailed(this);
        }
    }
}

void HTTPRequest::releaseWhenThreadDone() {
    if (_threadState == 1) return;
    scheduler()->unscheduleAllForTarget(this);
    release();
}

size_t HTTPRequest::appendResponseData(char* data, size_t size, size_t count, void* userdata) {
    auto* self = static_cast<HTTPRequest*>(userdata);
    const size_t n = size * count;
    const size_t needed = self->_responseLength + n + 1;
    if (needed > self->_responseCapacity) {
        // Whole 32 KiB steps, at least half again the current size: fixed steps alone
        // would copy a large body over and over.
        size_t capacity = std::max(needed, self->_responseCapacity + self->_responseCapacity / 2);
        capacity = (capacity + kBufferStep - 1) / kBufferStep * kBufferStep;
        char* grown = static_cast<char*>(std::realloc(self->_responseBuffer, capacity));
        if (!grown) return 0;   // libcurl ends the transfer with a write error
        self->_responseBuffer = grown;
        self->_responseCapacity = capacity;
    }
    std::memcpy(self->_responseBuffer + self->_responseLength, data, n);
    self->_responseLength += n;
    self->_responseBuffer[self->_responseLength] = '\0';
    return n;
}

size_t HTTPRequest::appendResponseHeader(char* data, size_t size, size_t count, void* userdata) {
    auto* self = static_cast<HTTPRequest*>(userdata);
    const size_t n = size * count;
    self->_responseHeaders.emplace_back(data, n);
    return n;
}

int HTTPRequest::storeProgress(void* userdata, curl_off_t downloadTotal, curl_off_t downloadNow,
                               curl_off_t uploadTotal, curl_off_t uploadNow) {
    auto* self = static_cast<HTTPRequest*>(userdata);
    self->_downloadTotal = static_cast<double>(downloadTotal);
    self->_downloadNow = static_cast<double>(downloadNow);
    self->_uploadTotal = static_cast<double>(uploadTotal);
    self->_uploadNow = static_cast<double>(uploadNow);
    return self->_state == kCancelled ? 1 : 0;
}

// ---------------------------------------------------------------------------
// Results

int HTTPRequest::getErrorCode() const { return _threadState == 1 ? 0 : _errorCode; }

std::string HTTPRequest::getErrorMessage() const { return _threadState == 1 ? std::string() : _errorMessage; }

long HTTPRequest::getResponseCode() const {
    if (!requireCompleted("HTTPRequest::getResponseCode() - request not completed")) return 0;
    return _responseCode;
}

std::vector<std::string> HTTPRequest::getResponseHeaders() const {
    if (!requireCompleted("HTTPRequest::getResponseHeaders() - request not completed")) return {};
    return _responseHeaders;
}

std::string HTTPRequest::getResponseHeadersString() const {
    if (!requireCompleted("HTTPRequest::getResponseHeadersString() - request not completed")) return {};
    std::string all;
    for (const std::string& line : _responseHeaders) all += line;
    return all;
}

std::string HTTPRequest::getResponseString() const {
    if (!requireCompleted("HTTPRequest::getResponseString() - request not completed")) return {};
    return _responseBuffer ? std::string(_responseBuffer, _responseLength) : std::string();
}

std::unique_ptr<unsigned char[]> HTTPRequest::getResponseData() const {
    if (!requireCompleted("HTTPRequest::getResponseData() - request not completed")) return nullptr;
    auto copy = std::make_unique<unsigned char[]>(_responseLength + 1);
    if (_responseLength) std::memcpy(copy.get(), _responseBuffer, _responseLength);
    return copy;
}

size_t HTTPRequest::getResponseDataLength() const {
    if (!requireCompleted("Request not completed")) return 0;
    return _responseLength;
}

std::string HTTPRequest::getResponseCookies() const {
    if (!requireCompleted("HTTPRequest::getResponseCookies() - request not completed")) return {};
    return _responseCookies;
}

size_t HTTPRequest::saveResponseData(const std::string& path) const {
    if (!requireCompleted("HTTPRequest::saveResponseData() - request not completed")) return 0;
    std::FILE* fp = std::fopen(path.c_str(), "wbe");
    if (!fp) {
        report("HTTPRequest::saveResponseData() - open file failure");
        return 0;
    }
    const size_t written = _responseLength ? std::fwrite(_responseBuffer, 1, _responseLength, fp) : 0;
    const bool closed = std::fclose(fp) == 0;
    if (written != _responseLength || !closed) {
        engine::log("HTTPRequest::saveResponseData() - short write to %s (%zu of %zu bytes)", path.c_str(),
                    written, _responseLength);
        return 0;
    }
    return _responseLength;
}

}  // namespace engine::extra
