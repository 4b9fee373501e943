#pragma once
// The one entry point for parsing JSON text that comes from outside the program
// (network bodies, files a user or a package brings). Every such parse goes through
// parseJson, which:
// - never recurses on nesting depth (the parse keeps its own heap stack);
// - refuses, before the parser sees them, numbers our parser cannot handle safely:
//   an exponent of more than four significant digits, or a number longer than
//   kMaxJsonNumberLength characters;
// - refuses a number whose value does not fit a double (it would read as infinity).
// A refused number is a parse error (kParseErrorNumberTooBig) like any other
// malformed body; the call never crashes.
#include <cstddef>
#include <string>
#include <string_view>

#include <rapidjson/document.h>

namespace engine {

inline constexpr size_t kMaxJsonNumberLength = 4096;

// Parses `text` into `out`. Returns false on any malformed input, leaving a short
// English reason in `error` and the parser's error code in `code` when given.
bool parseJson(std::string_view text, rapidjson::Document& out, std::string* error = nullptr,
               rapidjson::ParseErrorCode* code = nullptr);

// The value of `name` in `object`, or nullptr when `object` is not an object or has
// no such member.
const rapidjson::Value* jsonMember(const rapidjson::Value& object, const char* name);

}  // namespace engine
