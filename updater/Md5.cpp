#include "updater/Md5.h"

#include <bit>
#include <cstdio>
#include <cstring>
#include <memory>

namespace updater {
namespace md5 {
namespace {

constexpr bool kLittleEndian = std::endian::native == std::endian::little;

inline uint32_t load32(const unsigned char* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    if constexpr (!kLittleEndian) v = __builtin_bswap32(v);
    return v;
}

inline void store32(unsigned char* p, uint32_t v) {
    if constexpr (!kLittleEndian) v = __builtin_bswap32(v);
    std::memcpy(p, &v, 4);
}

// The four round functions, arranged so that as little work as possible waits for b,
// the value the previous step has just produced. G's two halves have no common bits,
// so they may be added instead of or-ed, and the half without b starts early.
#define MD5_F(b, c, d) ((d) ^ ((b) & ((c) ^ (d))))
#define MD5_H(b, c, d) ((b) ^ ((c) ^ (d)))
#define MD5_I(b, c, d) ((c) ^ ((b) | ~(d)))

#define MD5_STEP(f, a, b, c, d, x, t, s)      \
    (a) += f((b), (c), (d)) + (x) + (t);      \
    (a) = std::rotl((a), (s));                \
    (a) += (b);

#define MD5_STEP_G(a, b, c, d, x, t, s)       \
    (a) += (x) + (t) + ((c) & ~(d));          \
    (a) += (b) & (d);                         \
    (a) = std::rotl((a), (s));                \
    (a) += (b);

}  // namespace

const void* MD5_Transform(MD5Context* ctx, const void* data, size_t size) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    const unsigned char* const end = p + (size & ~static_cast<size_t>(63));
    uint32_t a = ctx->a, b = ctx->b, c = ctx->c, d = ctx->d;

    for (; p != end; p += 64) {
        const uint32_t sa = a, sb = b, sc = c, sd = d;
        // Little-endian hosts read the words straight from the input; others decode the
        // block into ctx->block first.
        if constexpr (!kLittleEndian) {
            for (int i = 0; i < 16; ++i) ctx->block[i] = load32(p + 4 * i);
        }
#define MD5_W(i) (kLittleEndian ? load32(p + 4 * (i)) : ctx->block[(i)])

        MD5_STEP(MD5_F, a, b, c, d, MD5_W(0), 0xd76aa478u, 7)
        MD5_STEP(MD5_F, d, a, b, c, MD5_W(1), 0xe8c7b756u, 12)
        MD5_STEP(MD5_F, c, d, a, b, MD5_W(2), 0x242070dbu, 17)
        MD5_STEP(MD5_F, b, c, d, a, MD5_W(3), 0xc1bdceeeu, 22)
        MD5_STEP(MD5_F, a, b, c, d, MD5_W(4), 0xf57c0fafu, 7)
        MD5_STEP(MD5_F, d, a, b, c, MD5_W(5), 0x4787c62au, 12)
        MD5_STEP(MD5_F, c, d, a, b, MD5_W(6), 0xa8304613u, 17)
        MD5_STEP(MD5_F, b, c, d, a, MD5_W(7), 0xfd469501u, 22)
        MD5_STEP(MD5_F, a, b, c, d, MD5_W(8), 0x698098d8u, 7)
        MD5_STEP(MD5_F, d, a, b, c, MD5_W(9), 0x8b44f7afu, 12)
        MD5_STEP(MD5_F, c, d, a, b, MD5_W(10), 0xffff5bb1u, 17)
        MD5_STEP(MD5_F, b, c, d, a, MD5_W(11), 0x895cd7beu, 22)
        MD5_STEP(MD5_F, a, b, c, d, MD5_W(12), 0x6b901122u, 7)
        MD5_STEP(MD5_F, d, a, b, c, MD5_W(13), 0xfd987193u, 12)
        MD5_STEP(MD5_F, c, d, a, b, MD5_W(14), 0xa679438eu, 17)
        MD5_STEP(MD5_F, b, c, d, a, MD5_W(15), 0x49b40821u, 22)

        MD5_STEP_G(a, b, c, d, MD5_W(1), 0xf61e2562u, 5)
        MD5_STEP_G(d, a, b, c, MD5_W(6), 0xc040b340u, 9)
        MD5_STEP_G(c, d, a, b, MD5_W(11), 0x265e5a51u, 14)
        MD5_STEP_G(b, c, d, a, MD5_W(0), 0xe9b6c7aau, 20)
        MD5_STEP_G(a, b, c, d, MD5_W(5), 0xd62f105du, 5)
        MD5_STEP_G(d, a, b, c, MD5_W(10), 0x02441453u, 9)
        MD5_STEP_G(c, d, a, b, MD5_W(15), 0xd8a1e681u, 14)
        MD5_STEP_G(b, c, d, a, MD5_W(4), 0xe7d3fbc8u, 20)
        MD5_STEP_G(a, b, c, d, MD5_W(9), 0x21e1cde6u, 5)
        MD5_STEP_G(d, a, b, c, MD5_W(14), 0xc33707d6u, 9)
        MD5_STEP_G(c, d, a, b, MD5_W(3), 0xf4d50d87u, 14)
        MD5_STEP_G(b, c, d, a, MD5_W(8), 0x455a14edu, 20)
        MD5_STEP_G(a, b, c, d, MD5_W(13), 0xa9e3e905u, 5)
        MD5_STEP_G(d, a, b, c, MD5_W(2), 0xfcefa3f8u, 9)
        MD5_STEP_G(c, d, a, b, MD5_W(7), 0x676f02d9u, 14)
        MD5_STEP_G(b, c, d, a, MD5_W(12), 0x8d2a4c8au, 20)

        MD5_STEP(MD5_H, a, b, c, d, MD5_W(5), 0xfffa3942u, 4)
        MD5_STEP(MD5_H, d, a, b, c, MD5_W(8), 0x8771f681u, 11)
        MD5_STEP(MD5_H, c, d, a, b, MD5_W(11), 0x6d9d6122u, 16)
        MD5_STEP(MD5_H, b, c, d, a, MD5_W(14), 0xfde5380cu, 23)
        MD5_STEP(MD5_H, a, b, c, d, MD5_W(1), 0xa4beea44u, 4)
        MD5_STEP(MD5_H, d, a, b, c, MD5_W(4), 0x4bdecfa9u, 11)
        MD5_STEP(MD5_H, c, d, a, b, MD5_W(7), 0xf6bb4b60u, 16)
        MD5_STEP(MD5_H, b, c, d, a, MD5_W(10), 0xbebfbc70u, 23)
        MD5_STEP(MD5_H, a, b, c, d, MD5_W(13), 0x289b7ec6u, 4)
        MD5_STEP(MD5_H, d, a, b, c, MD5_W(0), 0xeaa127fau, 11)
        MD5_STEP(MD5_H, c, d, a, b, MD5_W(3), 0xd4ef3085u, 16)
        MD5_STEP(MD5_H, b, c, d, a, MD5_W(6), 0x04881d05u, 23)
        MD5_STEP(MD5_H, a, b, c, d, MD5_W(9), 0xd9d4d039u, 4)
        MD5_STEP(MD5_H, d, a, b, c, MD5_W(12), 0xe6db99e5u, 11)
        MD5_STEP(MD5_H, c, d, a, b, MD5_W(15), 0x1fa27cf8u, 16)
        MD5_STEP(MD5_H, b, c, d, a, MD5_W(2), 0xc4ac5665u, 23)

        MD5_STEP(MD5_I, a, b, c, d, MD5_W(0), 0xf4292244u, 6)
        MD5_STEP(MD5_I, d, a, b, c, MD5_W(7), 0x432aff97u, 10)
        MD5_STEP(MD5_I, c, d, a, b, MD5_W(14), 0xab9423a7u, 15)
        MD5_STEP(MD5_I, b, c, d, a, MD5_W(5), 0xfc93a039u, 21)
        MD5_STEP(MD5_I, a, b, c, d, MD5_W(12), 0x655b59c3u, 6)
        MD5_STEP(MD5_I, d, a, b, c, MD5_W(3), 0x8f0ccc92u, 10)
        MD5_STEP(MD5_I, c, d, a, b, MD5_W(10), 0xffeff47du, 15)
        MD5_STEP(MD5_I, b, c, d, a, MD5_W(1), 0x85845dd1u, 21)
        MD5_STEP(MD5_I, a, b, c, d, MD5_W(8), 0x6fa87e4fu, 6)
        MD5_STEP(MD5_I, d, a, b, c, MD5_W(15), 0xfe2ce6e0u, 10)
        MD5_STEP(MD5_I, c, d, a, b, MD5_W(6), 0xa3014314u, 15)
        MD5_STEP(MD5_I, b, c, d, a, MD5_W(13), 0x4e0811a1u, 21)
        MD5_STEP(MD5_I, a, b, c, d, MD5_W(4), 0xf7537e82u, 6)
        MD5_STEP(MD5_I, d, a, b, c, MD5_W(11), 0xbd3af235u, 10)
        MD5_STEP(MD5_I, c, d, a, b, MD5_W(2), 0x2ad7d2bbu, 15)
        MD5_STEP(MD5_I, b, c, d, a, MD5_W(9), 0xeb86d391u, 21)

#undef MD5_W
        a += sa;
        b += sb;
        c += sc;
        d += sd;
    }

    ctx->a = a;
    ctx->b = b;
    ctx->c = c;
    ctx->d = d;
    return end;
}

#undef MD5_F
#undef MD5_H
#undef MD5_I
#undef MD5_STEP
#undef MD5_STEP_G

void MD5_Init(MD5Context* ctx) {
    ctx->a = 0x67452301u;
    ctx->b = 0xefcdab89u;
    ctx->c = 0x98badcfeu;
    ctx->d = 0x10325476u;
    ctx->lo = 0;
    ctx->hi = 0;
}

void MD5_Update(MD5Context* ctx, const void* data, size_t size) {
    if (size == 0) return;
    const unsigned char* p = static_cast<const unsigned char*>(data);

    const uint32_t saved = ctx->lo;
    ctx->lo = (saved + static_cast<uint32_t>(size & 0x1fffffffu)) & 0x1fffffffu;
    if (ctx->lo < saved) ++ctx->hi;
    ctx->hi += static_cast<uint32_t>(size >> 29);

    const size_t used = saved & 0x3f;
    if (used != 0) {
        const size_t room = 64 - used;
        if (size < room) {
            std::memcpy(ctx->buffer + used, p, size);
            return;
        }
        std::memcpy(ctx->buffer + used, p, room);
        p += room;
        size -= room;
        MD5_Transform(ctx, ctx->buffer, 64);
    }
    if (size >= 64) {
        p = static_cast<const unsigned char*>(MD5_Transform(ctx, p, size));
        size &= 63;
    }
    if (size != 0) std::memcpy(ctx->buffer, p, size);
}

void MD5_Final(unsigned char result[16], MD5Context* ctx) {
    size_t used = ctx->lo & 0x3f;
    ctx->buffer[used++] = 0x80;
    size_t room = 64 - used;
    if (room < 8) {
        std::memset(ctx->buffer + used, 0, room);
        MD5_Transform(ctx, ctx->buffer, 64);
        used = 0;
        room = 64;
    }
    std::memset(ctx->buffer + used, 0, room - 8);
    store32(ctx->buffer + 56, ctx->lo << 3);
    store32(ctx->buffer + 60, ctx->hi);
    MD5_Transform(ctx, ctx->buffer, 64);

    store32(result, ctx->a);
    store32(result + 4, ctx->b);
    store32(result + 8, ctx->c);
    store32(result + 12, ctx->d);
    std::memset(ctx, 0, sizeof(*ctx));
}

}  // namespace md5

namespace {

std::string toHex(const unsigned char digest[16], bool upperCase) {
    const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string out(32, '0');
    for (int i = 0; i < 16; ++i) {
        out[2 * i] = digits[digest[i] >> 4];
        out[2 * i + 1] = digits[digest[i] & 0x0f];
    }
    return out;
}

}  // namespace

std::string md5Hex(const void* data, size_t size, bool upperCase) {
    md5::MD5Context ctx;
    md5::MD5_Init(&ctx);
    md5::MD5_Update(&ctx, data, size);
    unsigned char digest[16];
    md5::MD5_Final(digest, &ctx);
    return toHex(digest, upperCase);
}

std::string md5HexFile(const std::string& path, bool upperCase) {
    std::FILE* f = std::fopen(path.c_str(), "rbe");
    if (!f) return {};
    constexpr size_t kChunk = 256 * 1024;
    auto chunk = std::make_unique_for_overwrite<unsigned char[]>(kChunk);
    md5::MD5Context ctx;
    md5::MD5_Init(&ctx);
    size_t n;
    while ((n = std::fread(chunk.get(), 1, kChunk, f)) > 0) md5::MD5_Update(&ctx, chunk.get(), n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    unsigned char digest[16];
    md5::MD5_Final(digest, &ctx);
    if (failed) return {};
    return toHex(digest, upperCase);
}

}  // namespace updater
