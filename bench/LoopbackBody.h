#pragma once
// A plain HTTP listener on an ephemeral loopback port that answers every connection
// with the same 200 reply of `size` bytes, for the download benchmarks.
#include <cstddef>
#include <string>

#include "support/RawHttpServer.h"

struct LoopbackBody {
    LoopbackBody(size_t size, char fill)
        : http("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\nConnection: close\r\n\r\n" +
               std::string(size, fill)),
          url(http.url("/body")) {}
    testsupport::RawHttpServer http;
    const std::string url;
};
