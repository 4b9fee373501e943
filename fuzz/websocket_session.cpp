// A hostile server's whole exchange with the WebSocket client over a socket pair,
// delivered to a script through cc.WebSocket's handlers. The input is what the
// server sends after reading the upgrade request: its answer and then frames;
// each "@ACCEPT@" in it becomes the right Sec-WebSocket-Accept for the client's
// key, so upgrades can succeed. The server then stops sending and reads until
// the client goes. Whatever the bytes: the open comes at most once and first,
// the close exactly once and last; a text message arrives as a string, a binary
// one as an array of numbers 0..255 no longer than the script's cap; never a
// crash, a leak or a hang.
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>

#include "bindings/network/LuaByteArray.h"
#include "bindings/network/LuaWebSocket.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "engine/network/WebSocketHandshake.h"
#include "engine/script/ScriptEngineManager.h"
#include "fuzz/FuzzScriptState.h"
#include "fuzz/FuzzSupport.h"
#include "scripting/LuaEngine.h"
#include "scripting/LuaObjectConversions.h"

using fuzzsupport::check;
using Clock = std::chrono::steady_clock;

namespace {

const char kHandlers[] = R"(
    events, FAILED = {}, nil
    local function expect(ok, what) if not ok then FAILED = FAILED or what end end
    local function note(e)
        expect(events[#events] ~= 'close', 'nothing after the close')
        events[#events + 1] = e
    end
    ws:registerScriptHandler(function(arg)
        expect(#events == 0 and arg == '', 'the open comes first, once')
        note('open')
    end, 0)
    ws:registerScriptHandler(function(msg)
        expect(events[1] == 'open', 'messages after the open')
        if type(msg) == 'table' then
            expect(#msg <= CAP, 'within the cap')
            for i = 1, #msg do
                local b = msg[i]
                expect(type(b) == 'number' and b >= 0 and b <= 255 and b % 1 == 0, 'a byte')
            end
        else
            expect(type(msg) == 'string', 'text as a string')
        end
        note('message')
    end, 1)
    ws:registerScriptHandler(function(arg) expect(arg == '', 'close argument'); note('close') end, 2)
    ws:registerScriptHandler(function() expect(false, 'the error handler is never called') end, 3)
)";

lua_State* fuzzState() {
    static lua_State* L = [] {
        lua_State* state = fuzzsupport::scriptEngineState();
        bindings::register_websocket_class(state);
        bindings::register_websocket_handler_methods(state);
        lua_pushinteger(state, static_cast<lua_Integer>(bindings::kMaxByteArrayBytes));
        lua_setglobal(state, "CAP");
        return state;
    }();
    return L;
}

// The server: reads the upgrade request, answers with the input, stops sending,
// then reads until the client closes (or a few seconds pass).
void serve(int fd, std::string bytes) {
    std::string request;
    char buf[65536];
    const auto deadline = Clock::now() + std::chrono::seconds(3);
    while (request.find("\r\n\r\n") == std::string::npos && Clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) break;
        request.append(buf, static_cast<size_t>(n));
    }
    const size_t at = request.find("Sec-WebSocket-Key: ");
    const std::string accept = at == std::string::npos ? "" : engine::network::ws::acceptFor(request.substr(at + 19, 24));
    for (size_t pos = bytes.find("@ACCEPT@"); pos != std::string::npos; pos = bytes.find("@ACCEPT@", pos + accept.size()))
        bytes.replace(pos, 8, accept);
    size_t sent = 0;
    while (sent < bytes.size() && Clock::now() < deadline) {
        pollfd p{fd, POLLOUT | POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        if (p.revents & POLLIN) {   // keep the client's writes flowing
            if (::recv(fd, buf, sizeof buf, MSG_DONTWAIT) == 0) return;
        }
        if (!(p.revents & POLLOUT)) continue;
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno != EAGAIN) return;
        if (n > 0) sent += static_cast<size_t>(n);
    }
    ::shutdown(fd, SHUT_WR);
    while (Clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        if (::recv(fd, buf, sizeof buf, 0) <= 0) return;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (8u << 20)) return 0;
    lua_State* L = fuzzState();
    int pair[2];
    check(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) == 0, "a socket pair");
    std::thread server(serve, pair[1], std::string(reinterpret_cast<const char*>(data), size));

    auto* socket = new bindings::LuaWebSocket();
    socket->setMaxBinaryMessageSize(bindings::kMaxByteArrayBytes);
    socket->initOverSocket(*socket, pair[0], "ws://fuzz.invalid/");
    luaconv_push_owned_usertype(L, "cc.WebSocket", socket);
    lua_setglobal(L, "ws");
    check(luaL_dostring(L, kHandlers) == 0, "handlers registered");

    // The close always comes: the server stops sending, which ends the exchange.
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    bool closed = false;
    while (!closed && Clock::now() < deadline) {
        engine::Director::getInstance()->getScheduler()->update(1.f / 60);
        check(luaL_dostring(L, "CLOSED = events[#events] == 'close'") == 0, "events readable");
        lua_getglobal(L, "CLOSED");
        closed = lua_toboolean(L, -1) != 0;
        lua_pop(L, 1);
        if (!closed) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    check(closed, "the close arrives");
    check(luaL_dostring(L, "assert(FAILED == nil, FAILED)") == 0, "the script's view of the exchange");
    check(luaL_dostring(L, "ws = nil; events = nil; collectgarbage(); collectgarbage()") == 0, "clean-up");
    server.join();
    ::close(pair[1]);
    lua_settop(L, 0);
    engine::AutoreleasePool::getInstance()->clear();
    return 0;
}
