#pragma once
// One asynchronous HTTP(S) request on libcurl, apart from the engine's HttpClient.
// Create it for a URL and a method, set options and fields while it is Idle,
// start() it; the transfer runs on a thread of its own and the listener hears the
// outcome once, on the main thread, from the per-frame poll. A started request
// keeps itself alive until its transfer thread has finished. HTTPS peers are
// verified against the engine's CA bundle. A call whose precondition fails (wrong
// state, missing argument) is reported through the engine's assertion path and
// does nothing.
//
// Thread hand-over: the transfer thread writes everything it produces, then
// _state (unless the request was cancelled meanwhile), then threadState, and then
// touches the request no more; the main thread reads results only after seeing
// those two.
#include <curl/curl.h>

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/base/Ref.h"

namespace engine::extra {

class HTTPRequest;

class HTTPRequestListener {
public:
    virtual ~HTTPRequestListener() = default;
    virtual void onRequestFinished(HTTPRequest* request) = 0;
    virtual void onRequestFailed(HTTPRequest* request) = 0;
};

class HTTPRequest : public Ref {
public:
    enum State { kIdle = 0, kCleared = 1, kInProgress = 2, kCompleted = 3, kCancelled = 4, kFailed = 5 };
    enum Method { kGET = 0, kPOST = 1 };
    enum AcceptEncoding { kIdentity = 0, kGzip = 1, kDeflate = 2 };

    // Autoreleased; null when the URL is empty or no libcurl handle can be made.
    static HTTPRequest* createWithUrl(HTTPRequestListener* listener, const std::string& url, int method);
    ~HTTPRequest() override;

    // Setters: Idle only.
    void setRequestUrl(const std::string& url);
    // A whole line, "Name: value". A control character in it (a tab is allowed in
    // the value) is refused as an invalid header: the line is never sent.
    void addRequestHeader(const std::string& header);
    // Sent as key=value& pairs in key order, both escaped; a later value replaces.
    void addPOSTValue(const std::string& key, const std::string& value);
    // A raw body instead of the fields (which it clears).
    void setPOSTData(const std::string& data);
    // Multipart form parts (the request then posts the form).
    void addFormContents(const std::string& name, const std::string& value);
    void addFormFile(const std::string& name, const std::string& filePath, const std::string& contentType);
    // Refused as an invalid cookie when it holds a control character other than a tab.
    void setCookieString(const std::string& cookie);
    void setAcceptEncoding(int kind);
    void setTimeout(int seconds);   // connect and whole transfer

    // Starts the transfer; false (reported) unless Idle.
    bool start();
    // Idle or InProgress becomes Cancelled and the listener is forgotten.
    void cancel();

    std::string getRequestUrl() const { return _url; }
    int getState() const { return _state.load(); }
    // Libcurl's result and its text ("" on success); 0 and "" while transferring.
    int getErrorCode() const;
    std::string getErrorMessage() const;

    // Completed only.
    long getResponseCode() const;
    std::vector<std::string> getResponseHeaders() const;
    std::string getResponseHeadersString() const;
    std::string getResponseString() const;
    // A copy of the body (getResponseDataLength() bytes).
    std::unique_ptr<unsigned char[]> getResponseData() const;
    size_t getResponseDataLength() const;
    // The cookies libcurl knows after the transfer, one Netscape-format line each,
    // every line ended by "\n".
    std::string getResponseCookies() const;
    // Writes the body to the file (replaced; empty for an empty body); its length,
    // or 0 when the file cannot be written.
    size_t saveResponseData(const std::string& path) const;

    // The per-frame poll (scheduler only).
    void update(float dt);

private:
    HTTPRequest() = default;
    bool initWithUrl(const std::string& url, int method);
    bool requireIdle(const char* message) const;
    bool requireCompleted(const char* message) const;
    void onRequest();
    void finishTransfer(CURLcode result);
    void releaseWhenThreadDone();
    void resetTransfer();

    static size_t appendResponseData(char* data, size_t size, size_t count, void* userdata);
    static size_t appendResponseHeader(char* data, size_t size, size_t count, void* userdata);
    static int storeProgress(void* userdata, curl_off_t downloadTotal, curl_off_t downloadNow,
                             curl_off_t uploadTotal, curl_off_t uploadNow);

    std::string _url;
    HTTPRequestListener* _delegate = nullptr;
    std::atomic<int> _threadState{0};   // 0 no thread, 1 running, 2 finished
    CURL* _curl = nullptr;
    curl_mime* _form = nullptr;
    std::atomic<int> _state{kIdle};
    int _errorCode = 0;
    std::string _errorMessage;
    std::map<std::string, std::string> _postFields;
    std::vector<std::string> _requestHeaders;
    long _responseCode = 0;
    std::vector<std::string> _responseHeaders;
    char* _responseBuffer = nullptr;
    size_t _responseCapacity = 0;
    size_t _responseLength = 0;
    std::string _responseCookies;
    double _downloadTotal = 0, _downloadNow = 0, _uploadTotal = 0, _uploadNow = 0;
};

}  // namespace engine::extra
