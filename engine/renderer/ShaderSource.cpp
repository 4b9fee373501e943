#include "engine/renderer/ShaderSource.h"

namespace engine {
namespace {

bool isWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

bool isPrecisionWord(std::string_view word) { return word == "lowp" || word == "mediump" || word == "highp"; }

// The word starting at `at` (empty when none starts there).
std::string_view wordAt(std::string_view text, size_t at) {
    size_t end = at;
    while (end < text.size() && isWordChar(text[end])) ++end;
    return text.substr(at, end - at);
}

size_t skipSpace(std::string_view text, size_t at) {
    while (at < text.size() && isSpace(text[at])) ++at;
    return at;
}

// The end of a precision statement whose word "precision" ends at `at`; 0 when
// the text there is not one.
size_t statementEnd(std::string_view text, size_t at) {
    size_t p = skipSpace(text, at);
    if (p == at) return 0;
    std::string_view qualifier = wordAt(text, p);
    if (!isPrecisionWord(qualifier)) return 0;
    p += qualifier.size();
    const size_t typeStart = skipSpace(text, p);
    if (typeStart == p) return 0;
    std::string_view type = wordAt(text, typeStart);
    if (type.empty()) return 0;
    p = skipSpace(text, typeStart + type.size());
    return p < text.size() && text[p] == ';' ? p + 1 : 0;
}

}  // namespace

std::string withoutPrecisionQualifiers(std::string_view source) {
    std::string out;
    out.reserve(source.size());
    size_t i = 0;
    while (i < source.size()) {
        if (!isWordChar(source[i])) {
            out += source[i++];
            continue;
        }
        std::string_view word = wordAt(source, i);
        const size_t after = i + word.size();
        if (word == "precision") {
            if (size_t end = statementEnd(source, after)) {
                i = end;
                continue;
            }
        } else if (isPrecisionWord(word)) {
            i = after;
            continue;
        }
        out.append(word);
        i = after;
    }
    return out;
}

}  // namespace engine
