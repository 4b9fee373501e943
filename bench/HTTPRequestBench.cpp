// A 64 MiB loopback download through the asynchronous HTTP request object (its
// transfer thread, the scheduler polled in a loop as the main loop does) against a
// bare libcurl easy transfer of the same reply into a vector, compared in wall time
// (the request object transfers on its own thread).
#include <curl/curl.h>

#include <string>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Scheduler.h"
#include "engine/network/extra/HTTPRequest.h"
#include "bench/LoopbackBody.h"

namespace {

constexpr size_t kBodySize = 64u << 20;

// Plain HTTP on an ephemeral loopback port: every connection gets the same reply.
LoopbackBody& server() {
    static LoopbackBody s(kBodySize, 'v');
    return s;
}

void BM_httprequest_vs_curl_ours(benchmark::State& state) {
    engine::Director* director = engine::Director::getInstance();
    engine::Scheduler* scheduler = director->getScheduler();
    for (auto _ : state) {
        using engine::extra::HTTPRequest;
        HTTPRequest* request = HTTPRequest::createWithUrl(nullptr, server().url, HTTPRequest::kGET);
        request->retain();
        request->start();
        while (request->getReferenceCount() > 2) {   // ours, the pool's, and its own until done
            scheduler->update(1.f / 60);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        if (request->getState() != HTTPRequest::kCompleted || request->getResponseDataLength() != kBodySize) {
            state.SkipWithError("transfer failed");
        }
        request->release();
        engine::AutoreleasePool::getInstance()->clear();
    }
}

size_t appendToVector(char* data, size_t size, size_t count, void* userdata) {
    auto* out = static_cast<std::vector<char>*>(userdata);
    out->insert(out->end(), data, data + size * count);
    return size * count;
}

void BM_httprequest_vs_curl_baseline(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<char> body;
        CURL* curl = curl_easy_init();
        curl_easy_setopt(curl, CURLOPT_URL, server().url.c_str());
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendToVector);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
        const CURLcode rc = curl_easy_perform(curl);
        curl_easy_cleanup(curl);
        if (rc != CURLE_OK || body.size() != kBodySize) state.SkipWithError("transfer failed");
    }
}

}  // namespace

BENCHMARK(BM_httprequest_vs_curl_ours)->Name("BM_httprequest_vs_curl/ours")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_httprequest_vs_curl_baseline)->Name("BM_httprequest_vs_curl/baseline")->Unit(benchmark::kMillisecond)->UseRealTime();
