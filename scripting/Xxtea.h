#pragma once
// XXTEA (Corrected Block TEA) decryption of protected script chunks.
//
// The body is n 32-bit little-endian words (the last one zero-padded when length
// is not a multiple of 4); decrypted, the last word holds the plain length m,
// which must lie in [4n - 7, 4n - 4]. The key is used as exactly 16 bytes: a
// shorter key is zero-padded, of a longer one the first 16 bytes count.
//
// Returns a malloc'd buffer of the m plain bytes plus one zero byte (the caller
// frees it) and sets *outLength = m; null (and *outLength = 0) for an empty body,
// a body of one word, or a length word out of range.
extern "C" unsigned char* xxtea_decrypt(const unsigned char* data, int length, const unsigned char* key,
                                        int keyLength, int* outLength);
