#pragma once
// The patch route: the patch content is served by a primary host (known under a
// current name and an older alias) and a secondary host. A URL on either host is
// turned into one candidate per host, tried in order until a reply passes the
// caller's validator; the host that answered is remembered for the process.
// URLs on any other host are used as they are, with a single candidate.
#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace engine::network {
class HttpClient;
class HttpResponse;
}  // namespace engine::network

namespace updater {

// Host names ("host" or "host:port"). They default to the build configuration.
struct PatchHostNames {
    std::string primary;
    std::string alias;
    std::string secondary;
};
PatchHostNames patchHostNames();
// Replaces the host names (tests). Thread-safe, but meant to be called before any
// request is made.
void setPatchHostNames(const std::string& primary, const std::string& alias,
                       const std::string& secondary);

// 0: primary host (either name), 1: secondary host, -1: anything else. The scheme
// must be "https://" or "http://" exactly; the host (up to "/", "?" or "#", port
// included) is compared in lower case.
int patchHostIndex(const std::string& url);

// A patch-host URL moved onto host `index` (1: secondary, else primary) over
// https; the path part defaults to "/". Other URLs are returned unchanged.
std::string patchUrlOnHost(const std::string& url, int index);

// Patch-host URL: [preferred host, the other host]. Any other URL: [url].
std::vector<std::string> patchRouteCandidates(const std::string& url);

// Index of the patch host to try first (0 or 1), shared by every thread of the
// process. Starts at 0; moves to the host of the last validated reply or verified
// download.
std::atomic<int>& patchRoutePreferred();

// Turns a leading "http://<primary>/" into "https://<primary>/" (exact, case
// sensitive). Anything else, the alias and the secondary host included, is kept.
void forceHttpsPatchUrl(std::string& url);

using PatchRouteValidator = std::function<bool(const std::string& body)>;
using PatchRouteSuccess =
    std::function<void(engine::network::HttpClient*, engine::network::HttpResponse*)>;
using PatchRouteFail = std::function<void()>;

// State of one routed request; each attempt's callback holds its own copy.
struct PatchRouteRequest {
    std::shared_ptr<const std::vector<std::string>> candidates;
    int attempt = 0;
    PatchRouteValidator validator;
    PatchRouteSuccess onSuccess;
    PatchRouteFail onFail;
    std::string url;   // the candidate of this attempt
};

// Main thread. Sends the first candidate of `url`. Exactly one of onSuccess and
// onFail is called later, on the main thread. A request without a validator is
// refused at once: it is logged and onFail runs before this call returns.
void patchRouteStart(const std::string& url, PatchRouteValidator validator,
                     PatchRouteSuccess onSuccess, PatchRouteFail onFail);

// Bytes of a routed reply held at most (the gateway reply and the resource list are
// a few kilobytes): a longer reply fails its attempt, as a time-out does.
inline constexpr size_t kPatchRouteMaxReply = 16u << 20;

// Sends candidate `attempt` as a GET through the engine's HTTP client (no queue);
// the time-outs are the client's current settings, the reply bound
// kPatchRouteMaxReply.
void patchRouteSend(const PatchRouteRequest& request, int attempt);

// Response of one attempt (main thread): success is a completed transfer with
// status 200 and a body the validator accepts; anything else moves to the next
// candidate, and after the last one onFail is called.
void patchRouteOnResponse(const PatchRouteRequest& request, engine::network::HttpClient* client,
                          engine::network::HttpResponse* response);

}  // namespace updater
