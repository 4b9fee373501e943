#include "host/player/TaskOutputDecoder.h"

namespace player {

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";

// Length of the well-formed sequence starting at s[i] (1 to 4), 0 when it is cut off
// by the end of the input but could still be valid, -1 when invalid.
int sequenceLength(const unsigned char* s, size_t n) {
    const unsigned char c = s[0];
    if (c < 0x80) return 1;
    int length;
    unsigned char lo = 0x80, hi = 0xBF;   // range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0) lo = 0xA0;   // overlong
        if (c == 0xED) hi = 0x9F;   // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0) lo = 0x90;   // overlong
        if (c == 0xF4) hi = 0x8F;   // past U+10FFFF
    } else {
        return -1;
    }
    for (int k = 1; k < length; ++k) {
        if (static_cast<size_t>(k) >= n) return 0;
        const unsigned char b = s[k];
        if (k == 1 ? (b < lo || b > hi) : (b < 0x80 || b > 0xBF)) return -1;
    }
    return length;
}

}  // namespace

void TaskOutputDecoder::feed(const char* data, size_t size, std::string& out) {
    _pending.append(data, size);
    const auto* s = reinterpret_cast<const unsigned char*>(_pending.data());
    const size_t n = _pending.size();
    size_t i = 0;
    while (i < n) {
        const int length = sequenceLength(s + i, n - i);
        if (length == 0) break;   // wait for the rest
        if (length < 0) {
            out += kReplacement;
            ++i;
        } else {
            out.append(_pending, i, static_cast<size_t>(length));
            i += static_cast<size_t>(length);
        }
    }
    _pending.erase(0, i);
}

void TaskOutputDecoder::finish(std::string& out) {
    if (!_pending.empty()) out += kReplacement;
    _pending.clear();
}

}  // namespace player
