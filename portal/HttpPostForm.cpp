#include "portal/HttpPostForm.h"

#include <curl/curl.h>

#include <atomic>

#include "engine/network/CurlSetup.h"
#include "engine/network/HttpClient.h"

namespace portal {
namespace {

constexpr size_t kMaxReply = 1 << 20;
std::atomic<long> g_timeoutMs{20000};

size_t appendReply(char* data, size_t size, size_t count, void* user) {
    auto* text = static_cast<std::string*>(user);
    const size_t bytes = size * count;
    if (text->size() + bytes > kMaxReply) return 0;   // ends the transfer as failed
    text->append(data, bytes);
    return bytes;
}

// Curl asks at least once a second; a non-zero answer ends the transfer.
int checkCancel(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* cancel = static_cast<const std::atomic<bool>*>(user);
    return cancel && cancel->load() ? 1 : 0;
}

}  // namespace

void setHttpPostFormTimeoutMs(long milliseconds) { g_timeoutMs = milliseconds; }

FormReply httpPostForm(const std::string& url, const std::string& body, const std::atomic<bool>* cancel) {
    FormReply reply;
    engine::network::ensureCurlGlobalInit();
    CURL* curl = curl_easy_init();
    if (!curl) return reply;
    std::string text;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendReply);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &text);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, g_timeoutMs.load());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    if (cancel) {
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, checkCancel);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(cancel));
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    }
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    engine::network::applyCaRule(curl, engine::network::caBundlePath());
    engine::network::applySocketRule(curl);
    const CURLcode code = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.status);
    curl_easy_cleanup(curl);
    if (code == CURLE_OK && reply.status >= 200 && reply.status <= 299) {
        reply.ok = true;
        reply.text = std::move(text);
    }
    return reply;
}

}  // namespace portal
