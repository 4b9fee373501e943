// Any bytes through the one JSON entry point: a parse either succeeds or reports
// an error, never crashes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/base/Json.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    rapidjson::Document doc;
    engine::parseJson(std::string_view(reinterpret_cast<const char*>(data), size), doc);
    return 0;
}
