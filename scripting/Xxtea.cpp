#include "scripting/Xxtea.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kDelta = 0x9e3779b9;

inline uint32_t mx(uint32_t sum, uint32_t y, uint32_t z, uint32_t p, uint32_t e, const uint32_t* k) {
    return (((z >> 5) ^ (y << 2)) + ((y >> 3) ^ (z << 4))) ^ ((sum ^ y) + (k[(p & 3) ^ e] ^ z));
}

void decryptWords(uint32_t* v, uint32_t n, const uint32_t* k) {
    uint32_t rounds = 6 + 52 / n;
    uint32_t sum = rounds * kDelta;
    uint32_t y = v[0];
    uint32_t z;
    while (rounds-- > 0) {
        const uint32_t e = (sum >> 2) & 3;
        uint32_t p;
        for (p = n - 1; p > 0; --p) {
            z = v[p - 1];
            y = v[p] -= mx(sum, y, z, p, e, k);
        }
        z = v[n - 1];
        y = v[0] -= mx(sum, y, z, p, e, k);
        sum -= kDelta;
    }
}

}  // namespace

extern "C" unsigned char* xxtea_decrypt(const unsigned char* data, int length, const unsigned char* key,
                                        int keyLength, int* outLength) {
    if (outLength) *outLength = 0;
    if (!data || length <= 0 || !key || keyLength < 0) return nullptr;

    unsigned char keyBytes[16] = {};
    std::memcpy(keyBytes, key, static_cast<size_t>(keyLength < 16 ? keyLength : 16));
    uint32_t k[4];
    for (int i = 0; i < 4; ++i) {
        k[i] = static_cast<uint32_t>(keyBytes[4 * i]) | static_cast<uint32_t>(keyBytes[4 * i + 1]) << 8 |
               static_cast<uint32_t>(keyBytes[4 * i + 2]) << 16 |
               static_cast<uint32_t>(keyBytes[4 * i + 3]) << 24;
    }

    const size_t n = (static_cast<size_t>(length) + 3) / 4;
    std::vector<uint32_t> words(n, 0);
    for (size_t i = 0; i < static_cast<size_t>(length); ++i) {
        words[i / 4] |= static_cast<uint32_t>(data[i]) << (8 * (i % 4));
    }
    if (n >= 2) decryptWords(words.data(), static_cast<uint32_t>(n), k);

    const uint64_t m = words[n - 1];
    const uint64_t upper = 4 * static_cast<uint64_t>(n) - 4;
    const uint64_t lower = 4 * static_cast<uint64_t>(n) < 7 ? 0 : 4 * static_cast<uint64_t>(n) - 7;
    // A single word carries no data word: rejected whatever it holds.
    if (n < 2 || m < lower || m > upper) return nullptr;

    auto* out = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(m) + 1));
    if (!out) return nullptr;
    for (size_t i = 0; i < m; ++i) out[i] = static_cast<unsigned char>(words[i / 4] >> (8 * (i % 4)));
    out[m] = 0;
    if (outLength) *outLength = static_cast<int>(m);
    return out;
}
