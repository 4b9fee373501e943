// A 16 MiB loopback GET through the script's cc.XMLHttpRequest (open, send, the
// handler, responseText read into Lua) against the same GET through the engine's
// HTTP client with a C++ callback taking the body, compared in wall time. Both
// transfer on the client's thread; the main loop is the scheduler polled in a loop.
#include <string>
#include <thread>

#include <benchmark/benchmark.h>

#include "bindings/network/LuaXmlHttpRequest.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/network/HttpClient.h"
#include "engine/network/HttpRequest.h"
#include "engine/network/HttpResponse.h"
#include "scripting/LuaEngine.h"
#include "bench/LoopbackBody.h"

namespace {

constexpr size_t kBodySize = 16u << 20;

LoopbackBody& server() {
    static LoopbackBody s(kBodySize, 'x');
    return s;
}

template <class Done>
void pumpUntil(Done done) {
    engine::Scheduler* scheduler = engine::Director::getInstance()->getScheduler();
    while (!done()) {
        scheduler->update(1.f / 60);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

void BM_xhr_vs_httpclient_ours(benchmark::State& state) {
    lua_State* L = engine::LuaEngine::getInstance()->getLuaStack()->getLuaState();
    bindings::register_xmlhttprequest_class(L);
    const std::string script = "URL = '" + server().url + R"('
        function fetch()
            size = nil
            local xhr = cc.XMLHttpRequest:new()
            xhr:open('GET', URL)
            xhr:registerScriptHandler(function() size = #xhr.responseText end)
            xhr:send()
        end)";
    if (luaL_dostring(L, script.c_str()) != 0) {
        state.SkipWithError("script failed");
        return;
    }
    for (auto _ : state) {
        lua_getglobal(L, "fetch");
        lua_call(L, 0, 0);
        pumpUntil([&] {
            lua_getglobal(L, "size");
            const bool done = !lua_isnil(L, -1);
            lua_pop(L, 1);
            return done;
        });
        lua_getglobal(L, "size");
        if (static_cast<size_t>(lua_tointeger(L, -1)) != kBodySize) state.SkipWithError("transfer failed");
        lua_pop(L, 1);
        engine::AutoreleasePool::getInstance()->clear();
        lua_gc(L, LUA_GCCOLLECT, 0);
    }
}

void BM_xhr_vs_httpclient_baseline(benchmark::State& state) {
    engine::Director::getInstance();
    using engine::network::HttpRequest;
    for (auto _ : state) {
        std::string body;
        bool done = false;
        auto* request = new HttpRequest();
        request->setUrl(server().url);
        request->setRequestType(HttpRequest::Type::GET);
        request->setResponseCallback([&](engine::network::HttpClient*, engine::network::HttpResponse* response) {
            const std::vector<char>& data = *response->getResponseData();
            body.assign(data.begin(), data.end());
            done = true;
        });
        engine::network::HttpClient::getInstance()->sendImmediate(request);
        request->release();
        pumpUntil([&] { return done; });
        if (body.size() != kBodySize) state.SkipWithError("transfer failed");
    }
}

}  // namespace

BENCHMARK(BM_xhr_vs_httpclient_ours)->Name("BM_xhr_vs_httpclient/ours")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_xhr_vs_httpclient_baseline)
    ->Name("BM_xhr_vs_httpclient/baseline")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
