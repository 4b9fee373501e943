#include "updater/Md5.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace {

using updater::md5Hex;
using updater::md5HexFile;
namespace md5 = updater::md5;

std::string opensslMd5Hex(const void* data, size_t size) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    EVP_DigestInit_ex(ctx, EVP_md5(), nullptr);
    EVP_DigestUpdate(ctx, data, size);
    EVP_DigestFinal_ex(ctx, digest, &length);
    EVP_MD_CTX_free(ctx);
    static const char* digits = "0123456789abcdef";
    std::string hex;
    for (unsigned i = 0; i < length; ++i) {
        hex += digits[digest[i] >> 4];
        hex += digits[digest[i] & 15];
    }
    return hex;
}

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::vector<unsigned char> randomBytes(size_t size, unsigned seed) {
    std::mt19937 gen(seed);
    std::vector<unsigned char> out(size);
    for (auto& b : out) b = static_cast<unsigned char>(gen());
    return out;
}

TEST(Md5, Rfc1321SuiteInBothCases) {
    struct Case {
        const char* input;
        const char* digest;
    };
    const Case cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"1234567890123456789012345678901234567890123456789012345678901234567890123456789"
         "0",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(md5Hex(c.input, std::strlen(c.input), false), c.digest);
        EXPECT_EQ(md5Hex(c.input, std::strlen(c.input), true), upper(c.digest));
    }
}

// Lengths around the padding boundary (one or two final blocks) and around whole
// blocks, each fed in one piece and in uneven pieces.
TEST(Md5, PaddingBoundariesAndSplitUpdates) {
    const auto data = randomBytes(300, 7);
    const size_t lengths[] = {0, 1, 55, 56, 57, 63, 64, 65, 119, 120, 127, 128, 129, 300};
    const size_t pieces[] = {1, 3, 7, 63, 64, 65};
    for (size_t length : lengths) {
        SCOPED_TRACE(length);
        const std::string expected = opensslMd5Hex(data.data(), length);
        EXPECT_EQ(md5Hex(data.data(), length, false), expected);
        for (size_t piece : pieces) {
            SCOPED_TRACE(piece);
            md5::MD5Context ctx;
            md5::MD5_Init(&ctx);
            for (size_t at = 0; at < length; at += piece)
                md5::MD5_Update(&ctx, data.data() + at, std::min(piece, length - at));
            md5::MD5_Update(&ctx, nullptr, 0);
            unsigned char digest[16];
            md5::MD5_Final(digest, &ctx);
            char hex[33];
            for (int i = 0; i < 16; ++i) std::snprintf(hex + 2 * i, 3, "%02x", digest[i]);
            EXPECT_EQ(hex, expected);
        }
    }
}

TEST(Md5, LargeUnalignedBufferMatchesOpenssl) {
    const size_t size = 5 * 1024 * 1024 + 3;
    const auto data = randomBytes(size + 1, 11);
    // Start one byte in, so the blocks are read from unaligned addresses.
    EXPECT_EQ(md5Hex(data.data() + 1, size, true), upper(opensslMd5Hex(data.data() + 1, size)));
}

TEST(Md5, FinalClearsTheContext) {
    md5::MD5Context ctx;
    md5::MD5_Init(&ctx);
    md5::MD5_Update(&ctx, "some bytes", 10);
    unsigned char digest[16];
    md5::MD5_Final(digest, &ctx);
    md5::MD5Context zero;
    std::memset(&zero, 0, sizeof(zero));
    EXPECT_EQ(std::memcmp(&ctx, &zero, sizeof(ctx)), 0);
}

TEST(Md5, TransformStopsBehindTheLastWholeBlock) {
    const auto data = randomBytes(200, 3);
    md5::MD5Context ctx;
    md5::MD5_Init(&ctx);
    const void* end = md5::MD5_Transform(&ctx, data.data(), 128);
    EXPECT_EQ(end, data.data() + 128);
    EXPECT_EQ(md5::MD5_Transform(&ctx, data.data(), 0), data.data());
}

TEST(Md5, FileDigest) {
    testsupport::TempDir dir;
    const auto data = randomBytes(700 * 1024 + 5, 5);  // several read chunks
    const std::string bytes(data.begin(), data.end());
    const std::string path = dir.write("pkg.zip", bytes);
    EXPECT_EQ(md5HexFile(path, false), opensslMd5Hex(data.data(), data.size()));
    EXPECT_EQ(md5HexFile(path, true), upper(opensslMd5Hex(data.data(), data.size())));
    EXPECT_EQ(md5HexFile(dir.write("empty", ""), false), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5HexFile(dir.file("missing"), false), "");
    EXPECT_EQ(md5HexFile(dir.path(), false), "");  // a folder cannot be read
}

}  // namespace
