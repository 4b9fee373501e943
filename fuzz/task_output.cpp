// A child's output bytes through the task output decoder: the text is valid UTF-8
// and the same however the bytes were cut into reads.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/player/TaskOutputDecoder.h"

namespace {

bool validUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 1 : (c >= 0xC2 && c <= 0xDF) ? 2 : (c >= 0xE0 && c <= 0xEF) ? 3
                 : (c >= 0xF0 && c <= 0xF4) ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        uint32_t cp = n == 1 ? c : c & (0xFF >> (n + 1));
        for (size_t k = 1; k < n; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        const uint32_t min[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < min[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t step = 1 + data[0] % 7;   // the read size of the cut run
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const size_t n = size - 1;

    player::TaskOutputDecoder whole;
    std::string a;
    whole.feed(bytes, n, a);
    whole.finish(a);

    player::TaskOutputDecoder cut;
    std::string b;
    for (size_t i = 0; i < n; i += step) cut.feed(bytes + i, n - i < step ? n - i : step, b);
    cut.finish(b);

    if (a != b || !validUtf8(a)) std::abort();
    return 0;
}
