#pragma once
// MD5 message digest (RFC 1321): an incremental digest and its hexadecimal form.
// The updater checks packages with upper-case digests; script natives use lower case.
#include <cstddef>
#include <cstdint>
#include <string>

namespace updater {
namespace md5 {

// Plain record; copyable, no constructor: MD5_Init sets it up.
struct MD5Context {
    uint32_t lo;              // bytes hashed so far, modulo 2^29
    uint32_t hi;              // bytes hashed so far / 2^29
    uint32_t a, b, c, d;      // chaining state
    unsigned char buffer[64]; // partial block not yet transformed
    uint32_t block[16];       // decoded words of the current block (big-endian hosts)
};

void MD5_Init(MD5Context* ctx);
// Adds size bytes; any size, including 0 (data may then be null).
void MD5_Update(MD5Context* ctx, const void* data, size_t size);
// Pads, writes the 16-byte digest and clears the whole context to zeros.
void MD5_Final(unsigned char result[16], MD5Context* ctx);
// Processes the whole 64-byte blocks of data (size a multiple of 64) and returns the
// pointer behind the last one.
const void* MD5_Transform(MD5Context* ctx, const void* data, size_t size);

}  // namespace md5

// Digest of the buffer as 32 hexadecimal digits, in digest byte order; "%02X" style when
// upperCase, else "%02x".
std::string md5Hex(const void* data, size_t size, bool upperCase);

// Digest of a whole file, read in large chunks. Empty when the file cannot be opened
// or read to its end.
std::string md5HexFile(const std::string& path, bool upperCase);

}  // namespace updater
