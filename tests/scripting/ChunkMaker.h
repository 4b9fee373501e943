#pragma once
// Makes protected and "VEXZ" chunks the way the game's packaging does: the
// XXTEA encryptor (Corrected Block TEA, encryption direction) and the framing.
#include <cstdint>
#include <string>
#include <vector>

namespace scripttest {

// Encrypts whole words in place with a 16-byte key (n >= 2).
void xxteaEncryptWords(std::vector<uint32_t>& v, const unsigned char key[16]);

// The body of a protected chunk: plain bytes packed into little-endian words, the
// length word appended, encrypted. A shorter key is zero-padded.
std::string protectBody(const std::string& plain, const std::string& key);

// "VEXZ", the raw size (or `rawSize` when given) and the zlib stream of plain.
std::string compressChunk(const std::string& plain, int64_t rawSize = -1);

std::string toHex(const std::string& bytes);

}  // namespace scripttest
