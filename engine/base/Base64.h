#pragma once
// Base64 text (standard alphabet, "=" padding) to bytes and back.
#include <string>
#include <string_view>

namespace engine {

std::string base64Encode(std::string_view bytes);
// Blanks, tabs, "\r" and "\n" are skipped; "=" ends the text successfully; any
// other character outside the alphabet fails. Leftover bits are dropped.
bool base64Decode(std::string_view text, std::string& out);

}  // namespace engine
