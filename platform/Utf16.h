#pragma once
// Conversions between UTF-8 and UTF-16 text, as the desktop's wide-character
// interfaces (clipboard, window texts) need them.
//
// Contract:
// - Malformed input never fails a conversion: each malformed part becomes U+FFFD.
//   In UTF-8 that is every maximal part of an ill-formed sequence (a stray
//   continuation byte, a truncated sequence, an overlong form, an encoded surrogate,
//   a value above U+10FFFF, bytes F5 to FF); in UTF-16 every unpaired surrogate.
// - An empty input gives an empty result.
// - appendUtf8 encodes one code point; a surrogate or a value above U+10FFFF is
//   written as U+FFFD.
#include <string>
#include <string_view>

namespace platform {

std::u16string utf8ToWide(std::string_view utf8);
std::string wideToUtf8(std::u16string_view wide);
void appendUtf8(std::string& out, char32_t codePoint);

}  // namespace platform
