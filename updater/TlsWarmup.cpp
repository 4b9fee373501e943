#include "updater/TlsWarmup.h"

#include <curl/curl.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <system_error>
#include <thread>

#include "engine/network/CurlSetup.h"
#include "engine/network/HttpClient.h"
#include "platform/DebugOutput.h"
#include "updater/PatchRoute.h"

namespace updater {
namespace {

using Clock = std::chrono::steady_clock;

// Everything the thread needs; moved into it.
struct WarmupJob {
    std::string host;
    std::string caBundle;   // may be empty: libcurl's default store is used
    long globalInitMs = 0;
};

long millisecondsSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

void warmupRequest(const WarmupJob& job) {
    const Clock::time_point start = Clock::now();
    CURLcode code = CURLE_FAILED_INIT;
    if (CURL* curl = curl_easy_init()) {
        const std::string url = "https://" + job.host + "/";
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_CONNECT_ONLY, 1L);   // handshake only, no request
        engine::network::applySocketRule(curl);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 3L);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT, 5L);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
        if (!job.caBundle.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, job.caBundle.c_str());
        code = curl_easy_perform(curl);
        curl_easy_cleanup(curl);
    }
    tlsWarmupState().exchange(kTlsWarmupDone);

    char line[224];
    std::snprintf(line, sizeof line,
                  "[VEXO] TLS warm-up %s: %ld ms (curl_global_init %ld ms tren main), CURLcode=%d%s\n",
                  job.host.c_str(), millisecondsSince(start), job.globalInitMs, static_cast<int>(code),
                  job.caBundle.empty() ? " (khong thay cacert.pem)" : "");
    platform::outputDebugString(line);
}

}  // namespace

std::atomic<int>& tlsWarmupState() {
    static std::atomic<int> state{kTlsWarmupNotStarted};
    return state;
}

void startTlsWarmup() {
    const Clock::time_point before = Clock::now();
    const CURLcode rc = curl_global_init(CURL_GLOBAL_ALL);
    const long initMs = millisecondsSince(before);
    if (rc != CURLE_OK) {
        char line[160];
        std::snprintf(line, sizeof line, "[VEXO] TLS warm-up: curl_global_init loi %d (%ld ms) - bo qua\n",
                      static_cast<int>(rc), initMs);
        platform::outputDebugString(line);
        return;
    }

    WarmupJob job{patchHostNames().primary, engine::network::caBundlePath(), initMs};
    tlsWarmupState().exchange(kTlsWarmupRunning);
    try {
        std::thread([job = std::move(job)] { warmupRequest(job); }).detach();
    } catch (const std::system_error&) {
        tlsWarmupState().exchange(kTlsWarmupNotStarted);
        platform::outputDebugString("[VEXO] TLS warm-up: khong tao duoc luong - bo qua\n");
    }
}

}  // namespace updater
