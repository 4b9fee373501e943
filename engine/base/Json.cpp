#include "engine/base/Json.h"

#include <cmath>
#include <vector>

#include <rapidjson/error/en.h>

namespace engine {
namespace {

constexpr int kMaxExponentDigits = 4;

bool numberChar(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
}

// Checks one run of number characters (outside strings). The parser reads a number
// only from the start of such a run, so checking every exponent in the run covers
// whatever it may read there.
bool numberRunSafe(std::string_view run) {
    if (run.size() > kMaxJsonNumberLength) return false;
    for (size_t i = 0; i < run.size(); ++i) {
        if (run[i] != 'e' && run[i] != 'E') continue;
        size_t j = i + 1;
        if (j < run.size() && (run[j] == '+' || run[j] == '-')) ++j;
        while (j < run.size() && run[j] == '0') ++j;
        int digits = 0;
        while (j < run.size() && run[j] >= '0' && run[j] <= '9') {
            if (++digits > kMaxExponentDigits) return false;
            ++j;
        }
    }
    return true;
}

// Offset of the first number run that is not safe to parse, or npos. Strings are
// skipped with their escapes, as the parser reads them; past the first syntax error
// the parser stops anyway, so a text that confuses this scan is refused either way.
size_t firstUnsafeNumber(std::string_view text) {
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (inString) {
            if (c == '\\') ++i;
            else if (c == '"') inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
            continue;
        }
        if (!numberChar(c)) continue;
        size_t end = i;
        while (end < text.size() && numberChar(text[end])) ++end;
        if (!numberRunSafe(text.substr(i, end - i))) return i;
        i = end - 1;
    }
    return std::string_view::npos;
}

// True when every number in the tree is finite. Walks with its own stack: the tree
// may be nested as deeply as the text allows.
bool allNumbersFinite(const rapidjson::Value& root) {
    std::vector<const rapidjson::Value*> pending{&root};
    while (!pending.empty()) {
        const rapidjson::Value* v = pending.back();
        pending.pop_back();
        if (v->IsDouble()) {
            if (!std::isfinite(v->GetDouble())) return false;
        } else if (v->IsArray()) {
            for (const rapidjson::Value& item : v->GetArray()) pending.push_back(&item);
        } else if (v->IsObject()) {
            for (const auto& m : v->GetObject()) pending.push_back(&m.value);
        }
    }
    return true;
}

bool fail(rapidjson::Document& out, rapidjson::ParseErrorCode what, size_t offset,
          std::string* error, rapidjson::ParseErrorCode* code) {
    out.SetNull();
    if (error) {
        *error = std::string(rapidjson::GetParseError_En(what)) + " at offset " + std::to_string(offset);
    }
    if (code) *code = what;
    return false;
}

}  // namespace

bool parseJson(std::string_view text, rapidjson::Document& out, std::string* error,
               rapidjson::ParseErrorCode* code) {
    size_t bad = firstUnsafeNumber(text);
    if (bad != std::string_view::npos) {
        return fail(out, rapidjson::kParseErrorNumberTooBig, bad, error, code);
    }
    out.Parse<rapidjson::kParseIterativeFlag>(text.data(), text.size());
    if (out.HasParseError()) {
        return fail(out, out.GetParseError(), out.GetErrorOffset(), error, code);
    }
    if (!allNumbersFinite(out)) return fail(out, rapidjson::kParseErrorNumberTooBig, 0, error, code);
    if (code) *code = rapidjson::kParseErrorNone;
    return true;
}

const rapidjson::Value* jsonMember(const rapidjson::Value& object, const char* name) {
    if (!object.IsObject()) return nullptr;
    for (const auto& m : object.GetObject()) {
        if (m.name.IsString() && std::string_view(m.name.GetString(), m.name.GetStringLength()) == name) {
            return &m.value;
        }
    }
    return nullptr;
}

}  // namespace engine
