#pragma once
#include <string>
#include <vector>

#include "engine/base/Ref.h"
#include "engine/network/HttpRequest.h"

namespace engine::network {

// The outcome of one request.
//
// Success flag: true when the transfer completed without a transport error
// (connection, TLS, time-out, ...), whatever the HTTP status; the status code is
// reported either way (0 when no response line arrived). Callers that need a 200
// test the code themselves.
class HttpResponse : public Ref {
public:
    explicit HttpResponse(HttpRequest* request);   // retains the request
    ~HttpResponse() override;

    HttpRequest* getHttpRequest() const { return _request; }
    bool isSucceed() const { return _succeed; }
    long getResponseCode() const { return _responseCode; }
    std::vector<char>* getResponseData() { return &_data; }
    // Raw response headers, the status line included, as received.
    std::vector<char>* getResponseHeader() { return &_header; }
    const char* getErrorBuffer() const { return _errorBuffer.c_str(); }
    std::string getResponseDataString() const { return std::string(_data.begin(), _data.end()); }

    void setSucceed(bool value) { _succeed = value; }
    void setResponseCode(long code) { _responseCode = code; }
    void setErrorBuffer(const std::string& text) { _errorBuffer = text; }

private:
    HttpRequest* _request = nullptr;
    bool _succeed = false;
    long _responseCode = 0;
    std::vector<char> _data;
    std::vector<char> _header;
    std::string _errorBuffer;
};

}  // namespace engine::network
