#include "engine/ui/TextLength.h"

namespace engine::ui {

namespace {
bool isContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }
}  // namespace

size_t utf8CodePointCount(const std::string& text) {
    size_t count = 0;
    for (char byte : text) count += isContinuation(byte) ? 0 : 1;
    return count;
}

size_t utf8PrefixOfCodePoints(const char* text, size_t length, size_t codePoints) {
    size_t bytes = 0;
    while (bytes < length && codePoints > 0) {
        ++bytes;
        while (bytes < length && isContinuation(text[bytes])) ++bytes;
        --codePoints;
    }
    return bytes;
}

size_t utf8BytesThatFit(const std::string& current, const char* text, size_t length, int maxLength) {
    if (maxLength <= 0) return length;
    const size_t used = utf8CodePointCount(current);
    const auto limit = static_cast<size_t>(maxLength);
    return utf8PrefixOfCodePoints(text, length, used < limit ? limit - used : 0);
}

}  // namespace engine::ui
