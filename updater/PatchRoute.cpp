#include "updater/PatchRoute.h"

#include <cctype>
#include <mutex>

#include "engine/base/Log.h"
#include "engine/network/HttpClient.h"
#include "engine/network/HttpRequest.h"
#include "engine/network/HttpResponse.h"
#include "updater/PatchHosts.h"

namespace updater {
namespace {

struct HostTable {
    std::mutex mutex;
    PatchHostNames names{buildconfig::kPatchHostPrimary, buildconfig::kPatchHostAlias,
                         buildconfig::kPatchHostSecondary};
};

HostTable& hostTable() {
    static HostTable table;
    return table;
}

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Offset of the host in a URL with an "https://" or "http://" scheme, else npos.
size_t hostStart(const std::string& url) {
    if (url.compare(0, 8, "https://") == 0) return 8;
    if (url.compare(0, 7, "http://") == 0) return 7;
    return std::string::npos;
}

// Lower-cased comparison of a URL's host with a configured name. An empty name
// matches nothing, so an unset host name cannot claim URLs with an empty host.
bool sameHost(const std::string& lowerHost, const std::string& name) {
    return !name.empty() && lowerHost == lowerCase(name);
}

}  // namespace

PatchHostNames patchHostNames() {
    HostTable& table = hostTable();
    std::lock_guard<std::mutex> lock(table.mutex);
    return table.names;
}

void setPatchHostNames(const std::string& primary, const std::string& alias,
                       const std::string& secondary) {
    HostTable& table = hostTable();
    std::lock_guard<std::mutex> lock(table.mutex);
    table.names = PatchHostNames{primary, alias, secondary};
}

int patchHostIndex(const std::string& url) {
    size_t start = hostStart(url);
    if (start == std::string::npos) return -1;
    size_t end = url.find_first_of("/?#", start);
    std::string host = lowerCase(url.substr(start, end == std::string::npos ? std::string::npos
                                                                             : end - start));
    PatchHostNames names = patchHostNames();
    if (sameHost(host, names.primary) || sameHost(host, names.alias)) return 0;
    if (sameHost(host, names.secondary)) return 1;
    return -1;
}

std::string patchUrlOnHost(const std::string& url, int index) {
    if (patchHostIndex(url) < 0) return url;
    size_t afterScheme = url.find("://") + 3;
    size_t pathStart = url.find_first_of("/?#", afterScheme);
    std::string path = pathStart == std::string::npos ? "/" : url.substr(pathStart);
    PatchHostNames names = patchHostNames();
    return "https://" + (index == 1 ? names.secondary : names.primary) + path;
}

std::vector<std::string> patchRouteCandidates(const std::string& url) {
    if (patchHostIndex(url) < 0) return {url};
    int preferred = patchRoutePreferred().load() == 1 ? 1 : 0;
    return {patchUrlOnHost(url, preferred), patchUrlOnHost(url, 1 - preferred)};
}

std::atomic<int>& patchRoutePreferred() {
    static std::atomic<int> preferred{0};
    return preferred;
}

void forceHttpsPatchUrl(std::string& url) {
    const std::string primary = patchHostNames().primary;
    const std::string plain = "http://" + primary + "/";
    if (!primary.empty() && url.compare(0, plain.size(), plain) == 0) {
        url.replace(0, 7, "https://");
    }
}

void patchRouteStart(const std::string& url, PatchRouteValidator validator,
                     PatchRouteSuccess onSuccess, PatchRouteFail onFail) {
    if (!validator) {
        engine::log("PATCH_ROUTE refused %s: no validator", url.c_str());
        if (onFail) onFail();
        return;
    }
    PatchRouteRequest request;
    request.candidates = std::make_shared<const std::vector<std::string>>(patchRouteCandidates(url));
    request.validator = std::move(validator);
    request.onSuccess = std::move(onSuccess);
    request.onFail = std::move(onFail);
    patchRouteSend(request, 0);
}

void patchRouteSend(const PatchRouteRequest& request, int attempt) {
    if (!request.candidates || attempt < 0 ||
        attempt >= static_cast<int>(request.candidates->size())) {
        if (request.onFail) request.onFail();
        return;
    }
    PatchRouteRequest state = request;
    state.attempt = attempt;
    state.url = (*request.candidates)[attempt];

    auto* http = new engine::network::HttpRequest();
    http->setUrl(state.url);
    http->setRequestType(engine::network::HttpRequest::Type::GET);
    http->setMaxResponseBytes(kPatchRouteMaxReply);
    http->setResponseCallback(
        [state](engine::network::HttpClient* client, engine::network::HttpResponse* response) {
            patchRouteOnResponse(state, client, response);
        });
    engine::network::HttpClient::getInstance()->sendImmediate(http);
    http->release();
}

void patchRouteOnResponse(const PatchRouteRequest& request, engine::network::HttpClient* client,
                          engine::network::HttpResponse* response) {
    long status = response ? response->getResponseCode() : 0;
    if (response && response->isSucceed() && status == 200 && request.validator &&
        request.validator(response->getResponseDataString())) {
        int index = patchHostIndex(request.url);
        if (index >= 0) patchRoutePreferred().exchange(index);
        if (request.onSuccess) request.onSuccess(client, response);
        return;
    }
    const char* error = response ? response->getErrorBuffer() : "";
    if (*error) engine::log("PATCH_ROUTE %s: %s", request.url.c_str(), error);
    engine::log("PATCH_ROUTE failed %s status=%ld attempt=%d", request.url.c_str(), status,
                request.attempt + 1);
    int next = request.attempt + 1;
    if (request.candidates && next < static_cast<int>(request.candidates->size())) {
        patchRouteSend(request, next);
    } else if (request.onFail) {
        request.onFail();
    }
}

}  // namespace updater
