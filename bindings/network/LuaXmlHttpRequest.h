#pragma once
// "cc.XMLHttpRequest": a browser-like request object for scripts on the engine's
// HTTP client (no redirects, HTTPS verified against the CA bundle, the response
// handled on the main thread).
//
// A script creates the object, opens it with a method and an address, may set
// request headers and a handler, and sends; when the response has been handled the
// handler is called (one argument, "") and the script reads the properties.
//
// - Ready state 0 new or aborted, 1 opened, 4 after a 200 answer. `status` is the
//   answer's code for every answered request; body, ready state 4 and `response`
//   come only with 200. Header values and the status text lose the carriage return
//   of their line; a blank after the colon stays in the value.
// - A failed transfer (no answer, or an answer cut off after its status line) has
//   status 0, no status text, no headers and no body, and sets the error flag.
// - `open` and a `send` that sends forget the previous response: a reused object
//   never shows an earlier request's status, headers or body.
// - One engine request per open: `send` hands it to the HTTP client and drops it;
//   `open` after a send makes a new one; `send` without one does nothing.
// - `abort`, `open` and `send` supersede a request in flight: its response is
//   dropped without a handler call.
// - A reply (status line, headers and body together) is held up to
//   kMaxReplyBytes, or kMaxByteTableReplyBytes when the response type at `send`
//   is the byte array (each byte becomes a Lua number). A reply that grows past
//   its cap ends the transfer as a failed one (status 0, error flag, no headers
//   and no body kept); the handler is called as for any failure. `response` read
//   as a byte array of a body over that smaller cap (the type changed after the
//   answer) yields no value.
// - The object lives by reference counting (created autoreleased); it holds itself
//   while a request is in flight, so a script may drop it then. The Lua collector
//   never deletes it.
// Main thread only.
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <lua.hpp>

#include "bindings/network/LuaByteArray.h"
#include "engine/base/Ref.h"

namespace engine::network {
class HttpRequest;
class HttpResponse;
}  // namespace engine::network

namespace bindings {

class LuaMinXmlHttpRequest : public engine::Ref {
public:
    enum ResponseType { kArrayBuffer = 1, kJson = 4 };
    static constexpr size_t kMaxReplyBytes = 32u << 20;
    static constexpr size_t kMaxByteTableReplyBytes = kMaxByteArrayBytes;

    LuaMinXmlHttpRequest();
    ~LuaMinXmlHttpRequest() override;

    void open(const std::string& method, const std::string& url, bool async);
    // data: the body when given (nullptr: none).
    void send(const std::string* data);
    void abort();
    void setRequestHeader(const std::string& field, const std::string& value);
    std::string getAllResponseHeaders() const;
    const std::string* getResponseHeader(const std::string& name) const;

    const std::string& url() const { return _url; }
    const std::string& method() const { return _method; }
    std::string_view body() const { return std::string_view(_body.data(), _body.size()); }
    int readyState() const { return _readyState; }
    int status() const { return _status; }
    const std::string& statusText() const { return _statusText; }
    int responseType() const { return _responseType; }
    void setResponseType(int type) { _responseType = type; }
    unsigned timeout() const { return _timeout; }
    void setTimeout(unsigned timeout) { _timeout = timeout; }
    bool withCredentials() const { return _withCredentials; }
    void setWithCredentials(bool value) { _withCredentials = value; }
    bool isAsync() const { return _async; }
    bool hasError() const { return _error; }
    bool holdsRequest() const { return _request != nullptr; }

    // Takes a response as the answer to the latest send, the way the HTTP
    // client's callback hands it over (main thread): state, headers, body, then
    // the handler. Nothing happens after an abort.
    void handleReply(engine::network::HttpResponse* response);

private:
    void handleResponse(engine::network::HttpResponse* response, unsigned serial);
    void clearResponse();

    std::string _url;
    std::string _method;
    std::vector<char> _body;
    int _readyState = 0;
    int _status = 0;
    std::string _statusText;
    int _responseType = 0;
    unsigned _timeout = 0;
    bool _async = false;
    bool _withCredentials = true;
    engine::network::HttpRequest* _request = nullptr;
    std::map<std::string, std::string> _responseHeaders;
    std::map<std::string, std::string> _requestHeaders;
    bool _error = false;
    bool _aborted = false;
    // Bumped by open, send and abort: a response of an older send is dropped.
    unsigned _serial = 0;
};

// A reply's header bytes as the request object reads them: lines end at line
// feeds (a carriage return before one is dropped); a line with ':' sets name ->
// the text after the first ':' (a later line replaces an earlier one); a line
// without ':' holding a piece with "HTTP" is the status line, whose text after
// that piece becomes the status text ("HTTP/1.1 404 Not Found" gives
// "404 Not Found").
struct ReplyHead {
    std::map<std::string, std::string> headers;
    std::string statusText;
};
ReplyHead readReplyHead(const char* bytes, size_t size);

// Registers "cc.XMLHttpRequest" (base "cc.Ref") in the table "cc".
int register_xmlhttprequest_class(lua_State* L);

}  // namespace bindings
