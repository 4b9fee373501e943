#pragma once
// What every libcurl transfer of the engine shares: the one global initialisation
// and peer verification (peer and host name) against caBundlePath().
#include <curl/curl.h>

#include <string>

namespace engine::network {

// Runs curl_global_init once per process (thread-safe).
void ensureCurlGlobalInit();
// Verifies peer and host; the CA bundle is set when its path is known.
void applyCaRule(CURL* curl, const std::string& caBundle);

}  // namespace engine::network
