#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "engine/base/Ref.h"

namespace engine::network {

class HttpClient;
class HttpResponse;

using HttpResponseCallback = std::function<void(HttpClient* client, HttpResponse* response)>;

// One HTTP request: URL, method, body, headers and the callback that receives the
// response on the main thread.
class HttpRequest : public Ref {
public:
    enum class Type { GET, POST, PUT, DELETE, UNKNOWN };

    HttpRequest() = default;

    void setUrl(const std::string& url) { _url = url; }
    const std::string& getUrl() const { return _url; }
    void setRequestType(Type type) { _type = type; }
    Type getRequestType() const { return _type; }
    void setRequestData(const char* data, size_t size) { _data.assign(data, data + size); }
    const std::vector<char>& getRequestData() const { return _data; }
    void setHeaders(const std::vector<std::string>& headers) { _headers = headers; }
    const std::vector<std::string>& getHeaders() const { return _headers; }
    void setTag(const std::string& tag) { _tag = tag; }
    const std::string& getTag() const { return _tag; }
    void setResponseCallback(HttpResponseCallback callback) { _callback = std::move(callback); }
    const HttpResponseCallback& getResponseCallback() const { return _callback; }
    // Bytes of the reply (headers and body together) the client holds at most; a
    // reply that grows beyond them fails the transfer. 0 (the default): no bound.
    void setMaxResponseBytes(size_t bytes) { _maxResponseBytes = bytes; }
    size_t getMaxResponseBytes() const { return _maxResponseBytes; }

private:
    std::string _url;
    Type _type = Type::UNKNOWN;
    std::vector<char> _data;
    std::vector<std::string> _headers;
    std::string _tag;
    HttpResponseCallback _callback;
    size_t _maxResponseBytes = 0;
};

}  // namespace engine::network
