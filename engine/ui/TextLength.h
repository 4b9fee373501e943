#pragma once
// Lengths of UTF-8 text in code points, for the entry widgets' maximum lengths.
#include <cstddef>
#include <string>

namespace engine::ui {

// The number of code points (bytes that are not continuation bytes).
size_t utf8CodePointCount(const std::string& text);
// How many bytes of text[0, length) make at most `codePoints` whole code points.
size_t utf8PrefixOfCodePoints(const char* text, size_t length, size_t codePoints);
// The bytes of `text`'s first `maxLength` code points that still fit after
// `current` (all of them when maxLength is 0 or less).
size_t utf8BytesThatFit(const std::string& current, const char* text, size_t length, int maxLength);

}  // namespace engine::ui
