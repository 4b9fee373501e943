#pragma once
// One form POST over libcurl on the calling thread (the silent re-login runs it on
// a worker, SilentLogin.h).
//
// The request carries `body` as "application/x-www-form-urlencoded". Redirects are
// followed, to https addresses only; HTTPS peers are verified against the engine's
// CA bundle. The answer is the reply body when the transfer completed with a status
// from 200 to 299; otherwise (no connection, TLS refused, time-out, another status,
// a body over 1 MiB) `ok` is false and the text empty. A transfer whose `cancel`
// flag turns true ends within about a second, failed. Any thread.
#include <atomic>
#include <string>

namespace portal {

struct FormReply {
    bool ok = false;
    long status = 0;
    std::string text;
};

FormReply httpPostForm(const std::string& url, const std::string& body,
                       const std::atomic<bool>* cancel = nullptr);

// The whole transfer's time-out, 20 s unless a test shortens it.
void setHttpPostFormTimeoutMs(long milliseconds);

}  // namespace portal
