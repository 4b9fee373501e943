#pragma once
// What every libcurl transfer of the program shares: the one global initialisation,
// peer verification (peer and host name) against caBundlePath() and sockets that
// children never inherit.
#include <curl/curl.h>

#include <string>

namespace engine::network {

// Runs curl_global_init once per process (thread-safe).
void ensureCurlGlobalInit();
// Verifies peer and host; the CA bundle is set when its path is known.
void applyCaRule(CURL* curl, const std::string& caBundle);
// The transfer's sockets are made close-on-exec, so no child process inherits them.
void applySocketRule(CURL* curl);

}  // namespace engine::network
