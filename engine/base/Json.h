#pragma once
// The one entry point for parsing JSON text that comes from outside the program
// (network bodies, files a user or a package brings). Every such parse goes through
// parseJson: it never recurses on nesting depth, and a malformed body of any kind is
// reported as a failed parse, never as a crash.
#include <string>
#include <string_view>

#include <rapidjson/document.h>

namespace engine {

// Parses `text` into `out`. Returns false (and leaves a short English reason in
// `error` when given) on any malformed input.
bool parseJson(std::string_view text, rapidjson::Document& out, std::string* error = nullptr);

}  // namespace engine
