#include "engine/network/HttpResponse.h"

namespace engine::network {

HttpResponse::HttpResponse(HttpRequest* request) : _request(request) {
    if (_request) _request->retain();
}

HttpResponse::~HttpResponse() {
    if (_request) _request->release();
}

}  // namespace engine::network
