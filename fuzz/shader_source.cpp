// Any bytes as a shader file written for OpenGL ES: the source made fit for
// desktop GLSL is no longer than the file, holds no stand-alone precision word,
// keeps every other word in order, and is left as it is by a second pass.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/renderer/ShaderSource.h"
#include "fuzz/FuzzSupport.h"

namespace {

bool isWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> found;
    size_t i = 0;
    while (i < text.size()) {
        if (!isWordChar(text[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && isWordChar(text[end])) ++end;
        found.push_back(text.substr(i, end - i));
        i = end;
    }
    return found;
}

bool isPrecisionWord(std::string_view w) { return w == "lowp" || w == "mediump" || w == "highp"; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view source(reinterpret_cast<const char*>(data), size);
    const std::string out = engine::withoutPrecisionQualifiers(source);
    fuzzsupport::check(out.size() <= source.size(), "never longer");
    const std::vector<std::string_view> kept = words(out);
    const std::vector<std::string_view> all = words(source);
    size_t at = 0;
    for (std::string_view w : kept) {
        fuzzsupport::check(!isPrecisionWord(w), "no precision word left");
        while (at < all.size() && all[at] != w) ++at;
        fuzzsupport::check(at < all.size(), "kept words are the file's, in order");
        ++at;
    }
    fuzzsupport::check(engine::withoutPrecisionQualifiers(out) == out, "a second pass changes nothing");
    return 0;
}
