#include "ChunkMaker.h"

#include <cstring>

#include <zlib.h>

namespace scripttest {

void xxteaEncryptWords(std::vector<uint32_t>& v, const unsigned char keyBytes[16]) {
    uint32_t k[4];
    for (int i = 0; i < 4; ++i) {
        k[i] = keyBytes[4 * i] | keyBytes[4 * i + 1] << 8 | keyBytes[4 * i + 2] << 16 |
               static_cast<uint32_t>(keyBytes[4 * i + 3]) << 24;
    }
    const uint32_t n = static_cast<uint32_t>(v.size());
    const uint32_t delta = 0x9e3779b9;
    uint32_t rounds = 6 + 52 / n, sum = 0, z = v[n - 1], y;
    while (rounds-- > 0) {
        sum += delta;
        const uint32_t e = (sum >> 2) & 3;
        uint32_t p;
        for (p = 0; p < n - 1; ++p) {
            y = v[p + 1];
            z = v[p] += (((z >> 5) ^ (y << 2)) + ((y >> 3) ^ (z << 4))) ^ ((sum ^ y) + (k[(p & 3) ^ e] ^ z));
        }
        y = v[0];
        z = v[n - 1] += (((z >> 5) ^ (y << 2)) + ((y >> 3) ^ (z << 4))) ^ ((sum ^ y) + (k[(p & 3) ^ e] ^ z));
    }
}

std::string protectBody(const std::string& plain, const std::string& key) {
    unsigned char k[16] = {};
    std::memcpy(k, key.data(), key.size() < 16 ? key.size() : 16);
    std::vector<uint32_t> words((plain.size() + 3) / 4 + 1, 0);
    for (size_t i = 0; i < plain.size(); ++i) {
        words[i / 4] |= static_cast<uint32_t>(static_cast<unsigned char>(plain[i])) << (8 * (i % 4));
    }
    words.back() = static_cast<uint32_t>(plain.size());
    xxteaEncryptWords(words, k);
    std::string out;
    for (uint32_t w : words) {
        for (int b = 0; b < 4; ++b) out.push_back(static_cast<char>(w >> (8 * b)));
    }
    return out;
}

std::string compressChunk(const std::string& plain, int64_t rawSize) {
    uLongf bound = compressBound(plain.size());
    std::string z(bound, '\0');
    compress(reinterpret_cast<Bytef*>(z.data()), &bound, reinterpret_cast<const Bytef*>(plain.data()), plain.size());
    z.resize(bound);
    const uint32_t size = static_cast<uint32_t>(rawSize < 0 ? static_cast<int64_t>(plain.size()) : rawSize);
    std::string out = "VEXZ";
    for (int b = 0; b < 4; ++b) out.push_back(static_cast<char>(size >> (8 * b)));
    return out + z;
}

std::string toHex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 15]);
    }
    return out;
}

}  // namespace scripttest
