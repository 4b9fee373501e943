#include "bindings/network/LuaXmlHttpRequest.h"

#include <memory>
#include <vector>

#include "engine/base/Log.h"
#include "engine/network/HttpClient.h"
#include "engine/network/HttpRequest.h"
#include "engine/network/HttpResponse.h"
#include "engine/script/ScriptEvent.h"
#include "bindings/LuaChecks.h"
#include "bindings/LuaClassTable.h"
#include "bindings/network/LuaByteArray.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaNumberCasts.h"
#include "scripting/ScriptHandlerMgr.h"
#include "scripting/ToluaFix.h"

namespace bindings {

using engine::network::HttpRequest;
using engine::network::HttpResponse;
using Kind = engine::ScriptHandlerMgr::HandlerType;

namespace {

constexpr const char* kLuaName = "cc.XMLHttpRequest";

HttpRequest::Type requestTypeOf(const std::string& method) {
    if (method == "post" || method == "POST") return HttpRequest::Type::POST;
    if (method == "get" || method == "GET") return HttpRequest::Type::GET;
    if (method == "put" || method == "PUT") return HttpRequest::Type::PUT;
    if (method == "delete" || method == "DELETE") return HttpRequest::Type::DELETE;
    return HttpRequest::Type::UNKNOWN;
}

bool carriesBody(const std::string& method) {
    return method == "post" || method == "POST" || method == "put" || method == "PUT";
}

// Holds the object while its request is in flight; let go when the engine drops
// the request's callback (after it ran, or unrun when the client shuts down).
struct InFlight {
    explicit InFlight(LuaMinXmlHttpRequest* xhr) : object(xhr) { object->retain(); }
    ~InFlight() { object->release(); }
    InFlight(const InFlight&) = delete;
    InFlight& operator=(const InFlight&) = delete;
    LuaMinXmlHttpRequest* object;
};

}  // namespace

LuaMinXmlHttpRequest::LuaMinXmlHttpRequest() : _request(new HttpRequest()) {}

LuaMinXmlHttpRequest::~LuaMinXmlHttpRequest() {
    if (_request) _request->release();
}

void LuaMinXmlHttpRequest::open(const std::string& method, const std::string& url, bool async) {
    _url = url;
    _method = method;
    _async = async;
    _readyState = 1;
    if (url.size() > 5 && url.compare(url.size() - 5, 5, ".json") == 0) _responseType = kJson;
    if (!_request) _request = new HttpRequest();
    _request->setRequestType(requestTypeOf(method));
    _request->setUrl(url);
    clearResponse();
    _aborted = false;
    ++_serial;
}

void LuaMinXmlHttpRequest::clearResponse() {
    _status = 0;
    _statusText.clear();
    _responseHeaders.clear();
    _body.clear();
    _error = false;
}

void LuaMinXmlHttpRequest::send(const std::string* data) {
    _responseHeaders.clear();
    _error = false;
    if (!_request) return;
    clearResponse();
    if (data && !data->empty() && carriesBody(_method)) _request->setRequestData(data->data(), data->size());
    if (!_requestHeaders.empty()) {
        std::vector<std::string> headers;
        for (const auto& [name, value] : _requestHeaders) headers.push_back(name + ": " + value);
        _request->setHeaders(headers);
    }
    _request->setMaxResponseBytes(_responseType == kArrayBuffer ? kMaxByteTableReplyBytes : kMaxReplyBytes);
    const unsigned serial = ++_serial;
    auto hold = std::make_shared<InFlight>(this);
    _request->setResponseCallback([this, hold, serial](engine::network::HttpClient*, HttpResponse* response) {
        handleResponse(response, serial);
    });
    HttpRequest* request = _request;
    _request = nullptr;
    engine::network::HttpClient::getInstance()->sendImmediate(request);
    request->release();
}

void LuaMinXmlHttpRequest::abort() {
    _readyState = 0;
    _aborted = true;
    ++_serial;
}

void LuaMinXmlHttpRequest::setRequestHeader(const std::string& field, const std::string& value) {
    auto [it, inserted] = _requestHeaders.try_emplace(field, value);
    if (!inserted) it->second += "," + value;
}

std::string LuaMinXmlHttpRequest::getAllResponseHeaders() const {
    std::string text;
    for (const auto& [name, value] : _responseHeaders) text += name + ": " + value + "\n";
    return text;
}

const std::string* LuaMinXmlHttpRequest::getResponseHeader(const std::string& name) const {
    const auto it = _responseHeaders.find(name);
    return it == _responseHeaders.end() ? nullptr : &it->second;
}

namespace {

void readHeaderLine(const std::string& line, ReplyHead& head) {
    const size_t colon = line.find(':');
    if (colon != std::string::npos) {
        head.headers[line.substr(0, colon)] = line.substr(colon + 1);
        return;
    }
    // The status line: "HTTP/1.1 404 Not Found" gives "404 Not Found".
    size_t at = 0;
    while (at < line.size()) {
        const size_t start = line.find_first_not_of(' ', at);
        if (start == std::string::npos) return;
        size_t end = line.find(' ', start);
        if (end == std::string::npos) end = line.size();
        if (line.substr(start, end - start).find("HTTP") != std::string::npos) {
            const size_t next = line.find_first_not_of(' ', end);
            head.statusText = next == std::string::npos ? std::string() : line.substr(next);
            return;
        }
        at = end;
    }
}

}  // namespace

ReplyHead readReplyHead(const char* bytes, size_t size) {
    ReplyHead head;
    size_t start = 0;
    while (start < size) {
        size_t end = start;
        while (end < size && bytes[end] != '\n') ++end;
        std::string line(bytes + start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) readHeaderLine(line, head);
        start = end + 1;
    }
    return head;
}

void LuaMinXmlHttpRequest::handleReply(HttpResponse* response) { handleResponse(response, _serial); }

void LuaMinXmlHttpRequest::handleResponse(HttpResponse* response, unsigned serial) {
    if (_aborted || serial != _serial) return;
    const long code = response->getResponseCode();
    if (response->isSucceed()) {
        const std::vector<char>& raw = *response->getResponseHeader();
        ReplyHead head = readReplyHead(raw.data(), raw.size());
        _responseHeaders = std::move(head.headers);
        _statusText = std::move(head.statusText);
        _status = static_cast<int>(code);
        if (code == 200) {
            _readyState = 4;
            _body.swap(*response->getResponseData());   // the response is not read after us
        }
    } else {
        // No answer, one cut off after its status line, or one over its cap: a
        // failed transfer either way.
        engine::log("XMLHttpRequest %s: %s", _url.c_str(), response->getErrorBuffer());
        clearResponse();
        _error = true;
    }
    const int handler = engine::ScriptHandlerMgr::getInstance()->getObjectHandler(this, Kind::XMLHTTPREQUEST_READY_STATE);
    if (handler != 0) {
        engine::CommonScriptData data(handler, "");
        engine::ScriptEvent event(engine::COMMON_EVENT, &data);
        engine::LuaEngine::getInstance()->sendEvent(&event);
    }
}

// --- Lua side ----------------------------------------------------------------------
// These raise Lua errors: no object with a destructor is alive in a frame when a
// raising call runs.

namespace {

LuaMinXmlHttpRequest* self(lua_State* L, const char* function) {
    return checkSelf<LuaMinXmlHttpRequest>(L, kLuaName, function);
}

int argCount(lua_State* L) { return lua_gettop(L) - 1; }

void wrongCount(lua_State* L, const char* name, int given, int expected) {
    luaL_error(L, "'%s' function of XMLHttpRequest wrong number of arguments: %d, was expecting %d\n", name, given,
               expected);
}

std::string stringAt(lua_State* L, int index) {
    size_t size = 0;
    const char* text = lua_tolstring(L, index, &size);
    return text ? std::string(text, size) : std::string();
}

int xhr_new(lua_State* L) {
    const int argc = argCount(L);
    if (argc != 0) {
        luaL_error(L, "%s has wrong number of arguments: %d, was expecting %d \n", "XMLHttpRequest", argc, 0);
    }
    auto* xhr = new LuaMinXmlHttpRequest();
    xhr->autorelease();
    toluafix_pushObject(L, static_cast<int>(xhr->_ID), &xhr->_luaID, xhr, kLuaName);
    return 1;
}

int xhr_open(lua_State* L) {
    LuaMinXmlHttpRequest* xhr = self(L, "open");
    const int argc = argCount(L);
    if (argc < 2) wrongCount(L, "open", argc, 2);
    luaL_checkstring(L, 2);
    luaL_checkstring(L, 3);
    const bool async = argc > 2 ? lua_toboolean(L, 4) != 0 : true;
    xhr->open(stringAt(L, 2), stringAt(L, 3), async);
    return 0;
}

int xhr_send(lua_State* L) {
    LuaMinXmlHttpRequest* xhr = self(L, "send");
    if (argCount(L) == 1 && lua_isstring(L, 2)) {
        const std::string data = stringAt(L, 2);
        xhr->send(&data);
    } else {
        xhr->send(nullptr);
    }
    return 0;
}

int xhr_abort(lua_State* L) {
    LuaMinXmlHttpRequest* xhr = self(L, "abort");
    if (argCount(L) == 0) xhr->abort();
    return 0;
}

int xhr_setRequestHeader(lua_State* L) {
    LuaMinXmlHttpRequest* xhr = self(L, "setRequestHeader");
    const int argc = argCount(L);
    if (argc != 2) wrongCount(L, "setRequestHeader", argc, 2);
    luaL_checkstring(L, 2);
    luaL_checkstring(L, 3);
    xhr->setRequestHeader(stringAt(L, 2), stringAt(L, 3));
    return 0;
}

int xhr_getAllResponseHeaders(lua_State* L) {
    LuaMinXmlHttpRequest* xhr = self(L, "getAllResponseHeaders");
    const int argc = argCount(L);
    if (argc != 0) wrongCount(L, "getAllResponseHeaders", argc, 0);
    const std::string text = xhr->getAllResponseHeaders();
    lua_pushlstring(L, text.data(), text.size());
    return 1;
}

int xhr_getResponseHeader(lua_State* L) {
    LuaMinXmlHttpRequest* xhr = self(L, "getResponseHeader");
    const int argc = argCount(L);
    if (argc != 1) wrongCount(L, "getResponseHeader", argc, 1);
    luaL_checkstring(L, 2);
    const std::string* value = xhr->getResponseHeader(stringAt(L, 2));
    if (value) {
        lua_pushlstring(L, value->data(), value->size());
    } else {
        lua_pushnil(L);
    }
    return 1;
}

int xhr_registerScriptHandler(lua_State* L) {
    LuaMinXmlHttpRequest* xhr = self(L, "registerScriptHandler");
    const int argc = argCount(L);
    if (argc != 1) wrongCount(L, "registerScriptHandler", argc, 1);
    tolua_Error err;
    if (!toluafix_isFunction(L, 2, "LUA_FUNCTION", 0, &err)) {
        tolua_error(L, "#ferror in function 'registerScriptHandler'.", &err);
    }
    const int handler = toluafix_refFunction(L, 2, 0);
    engine::ScriptHandlerMgr::getInstance()->addObjectHandler(xhr, handler, Kind::XMLHTTPREQUEST_READY_STATE);
    return 0;
}

int xhr_unregisterScriptHandler(lua_State* L) {
    LuaMinXmlHttpRequest* xhr = self(L, "unregisterScriptHandler");
    const int argc = argCount(L);
    if (argc != 0) wrongCount(L, "unregisterScriptHandler", argc, 0);
    engine::ScriptHandlerMgr::getInstance()->removeObjectHandler(xhr, Kind::XMLHTTPREQUEST_READY_STATE);
    return 0;
}

// Properties: getters get (self), setters (self, value).

int get_responseType(lua_State* L) {
    lua_pushinteger(L, self(L, "responseType")->responseType());
    return 1;
}
int set_responseType(lua_State* L) {
    LuaMinXmlHttpRequest* xhr = self(L, "setResponseType");
    const int argc = argCount(L);
    if (argc != 1) wrongCount(L, "setResponseType", argc, 1);
    xhr->setResponseType(luaconv::wrapToInt32(luaL_checknumber(L, 2)));
    return 0;
}
int get_withCredentials(lua_State* L) {
    lua_pushboolean(L, self(L, "withCredentials")->withCredentials());
    return 1;
}
int set_withCredentials(lua_State* L) {
    LuaMinXmlHttpRequest* xhr = self(L, "setWithCredentials");
    const int argc = argCount(L);
    if (argc != 1) wrongCount(L, "setWithCredentials", argc, 1);
    xhr->setWithCredentials(lua_toboolean(L, 2) != 0);
    return 0;
}
int get_timeout(lua_State* L) {
    lua_pushnumber(L, self(L, "timeout")->timeout());
    return 1;
}
int set_timeout(lua_State* L) {
    LuaMinXmlHttpRequest* xhr = self(L, "setTimeout");
    const int argc = argCount(L);
    if (argc != 1) wrongCount(L, "setTimeout", argc, 1);
    xhr->setTimeout(luaconv::wrapToUInt32(luaL_checknumber(L, 2)));
    return 0;
}
int get_readyState(lua_State* L) {
    lua_pushinteger(L, self(L, "readyState")->readyState());
    return 1;
}
int get_status(lua_State* L) {
    lua_pushinteger(L, self(L, "status")->status());
    return 1;
}
int get_statusText(lua_State* L) {
    const std::string& text = self(L, "statusText")->statusText();
    lua_pushlstring(L, text.data(), text.size());
    return 1;
}
int get_responseText(lua_State* L) {
    const std::string_view body = self(L, "responseText")->body();
    lua_pushlstring(L, body.data(), body.size());
    return 1;
}
int get_response(lua_State* L) {
    LuaMinXmlHttpRequest* xhr = self(L, "response");
    const std::string_view body = xhr->body();
    const int type = xhr->responseType();
    if (type == LuaMinXmlHttpRequest::kJson || type == LuaMinXmlHttpRequest::kArrayBuffer) {
        if (xhr->readyState() != 4 || xhr->hasError()) return 0;
        if (type == LuaMinXmlHttpRequest::kArrayBuffer) {
            if (body.size() > LuaMinXmlHttpRequest::kMaxByteTableReplyBytes) return 0;
            pushByteArray(L, body.data(), body.size());
            return 1;
        }
    }
    lua_pushlstring(L, body.data(), body.size());
    return 1;
}

}  // namespace

const ClassEntry kNetworkClasses[] = {
    classEntry<LuaMinXmlHttpRequest>(kLuaName, "cc.Ref"),
};

int register_xmlhttprequest_class(lua_State* L) {
    registerClassTable(L, kNetworkClasses);
    // The hand-written members: their own argument checks, and properties.
    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);
    tolua_module(L, "cc", 0);
    tolua_beginmodule(L, "cc");
    tolua_beginmodule(L, "XMLHttpRequest");
    const luaL_Reg methods[] = {
        {"new", xhr_new},
        {"open", xhr_open},
        {"send", xhr_send},
        {"abort", xhr_abort},
        {"setRequestHeader", xhr_setRequestHeader},
        {"getAllResponseHeaders", xhr_getAllResponseHeaders},
        {"getResponseHeader", xhr_getResponseHeader},
        {"registerScriptHandler", xhr_registerScriptHandler},
        {"unregisterScriptHandler", xhr_unregisterScriptHandler},
    };
    for (const luaL_Reg& m : methods) tolua_function(L, m.name, m.func);
    tolua_variable(L, "responseType", get_responseType, set_responseType);
    tolua_variable(L, "withCredentials", get_withCredentials, set_withCredentials);
    tolua_variable(L, "timeout", get_timeout, set_timeout);
    tolua_variable(L, "readyState", get_readyState, nullptr);
    tolua_variable(L, "status", get_status, nullptr);
    tolua_variable(L, "statusText", get_statusText, nullptr);
    tolua_variable(L, "responseText", get_responseText, nullptr);
    tolua_variable(L, "response", get_response, nullptr);
    tolua_endmodule(L);
    tolua_endmodule(L);
    tolua_endmodule(L);
    return 1;
}

}  // namespace bindings
