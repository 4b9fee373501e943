// A reply as cc.XMLHttpRequest takes it from the HTTP client: status line and
// header lines, the code, and the body, read by a script as text, as JSON text
// and as an array of bytes. The first byte picks the response type, the code
// and the success flag; the rest is the reply's head up to its blank line, then
// its body. Whatever the bytes: the handler runs once; every header listed by
// getAllResponseHeaders reads back the same through getResponseHeader; the
// status text holds no line break; the byte array (when given) matches the text
// byte for byte and stays within its cap; never a crash or a leak.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "bindings/network/LuaXmlHttpRequest.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/network/HttpRequest.h"
#include "engine/network/HttpResponse.h"
#include "engine/script/ScriptEngineManager.h"
#include "fuzz/FuzzScriptState.h"
#include "fuzz/FuzzSupport.h"
#include "scripting/LuaEngine.h"
#include "scripting/ToluaFix.h"

using bindings::LuaMinXmlHttpRequest;
using engine::network::HttpRequest;
using engine::network::HttpResponse;
using fuzzsupport::check;

namespace {

const char kChecks[] = R"(
    assert(calls == 1, 'the handler runs once')
    local text, response = x.responseText, x.response
    assert(not x.statusText:find('\n'), 'no line feed in the status text')
    if x.readyState == 4 then assert(x.status == 200, 'ready only with 200') end
    if TYPE == 1 then
        if response ~= nil then
            assert(type(response) == 'table' and #response == #text, 'one number per byte')
            assert(#response <= CAP, 'within the cap')
            for i = 1, math.min(#text, 64) do assert(response[i] == text:byte(i), 'bytes in order') end
            for i = math.max(1, #text - 63), #text do assert(response[i] == text:byte(i), 'bytes in order') end
        end
    elseif TYPE == 4 then
        assert(response == nil or response == text, 'JSON as text')
    else
        assert(response == text, 'text in every state')
    end
    local all = x:getAllResponseHeaders()
    for line in all:gmatch('([^\n]*)\n') do
        local colon = line:find(': ', 1, true)
        assert(colon, 'each listed header has its separator')
        local name, value = line:sub(1, colon - 1), line:sub(colon + 2)
        if not name:find('\n') and not value:find('\n') then
            assert(x:getResponseHeader(name) == value, 'a listed header reads back')
        end
    end
)";

lua_State* fuzzState() {
    static lua_State* L = [] {
        lua_State* state = fuzzsupport::scriptEngineState();
        bindings::register_xmlhttprequest_class(state);
        return state;
    }();
    return L;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > (16u << 20)) return 0;
    lua_State* L = fuzzState();
    const uint8_t control = data[0];
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t blank = rest.find("\r\n\r\n");
    const size_t headEnd = blank == std::string::npos ? rest.size() : blank + 4;
    const int types[] = {0, 1, 4, 7};
    const int type = types[control & 3];
    const long codes[] = {200, 200, 404, 0};
    const long code = codes[(control >> 2) & 3];
    const bool succeeded = (control & 0x10) == 0;

    auto* xhr = new LuaMinXmlHttpRequest();
    xhr->autorelease();
    toluafix_pushObject(L, static_cast<int>(xhr->_ID), &xhr->_luaID, xhr, "cc.XMLHttpRequest");
    lua_setglobal(L, "x");
    lua_pushinteger(L, type);
    lua_setglobal(L, "TYPE");
    lua_pushinteger(L, static_cast<lua_Integer>(bindings::kMaxByteArrayBytes));
    lua_setglobal(L, "CAP");
    check(luaL_dostring(L, "calls = 0; x:registerScriptHandler(function() calls = calls + 1 end);"
                           "x:open('GET', 'http://fuzz/'); x.responseType = TYPE") == 0,
          "the request opens");

    auto* request = new HttpRequest();
    auto* response = new HttpResponse(request);
    response->getResponseHeader()->assign(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(headEnd));
    response->getResponseData()->assign(rest.begin() + static_cast<std::ptrdiff_t>(headEnd), rest.end());
    response->setResponseCode(code);
    response->setSucceed(succeeded);
    xhr->handleReply(response);
    response->release();
    request->release();

    if (luaL_dostring(L, kChecks) != 0) {
        std::fprintf(stderr, "%s\n", lua_tostring(L, -1));
        check(false, "the script's view of the reply");
    }
    check(luaL_dostring(L, "x:unregisterScriptHandler(); x = nil; collectgarbage()") == 0, "clean-up");
    lua_settop(L, 0);
    engine::AutoreleasePool::getInstance()->clear();
    return 0;
}
