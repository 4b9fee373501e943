// MD5 of a 64 MiB buffer: our digest against OpenSSL's EVP interface.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdint>
#include <random>
#include <vector>

#include "updater/Md5.h"

namespace {

constexpr size_t kSize = 64 * 1024 * 1024;

const std::vector<unsigned char>& buffer() {
    static const std::vector<unsigned char> data = [] {
        std::vector<unsigned char> d(kSize);
        std::mt19937_64 gen(42);
        for (size_t i = 0; i < kSize; i += 8) {
            const uint64_t v = gen();
            for (int k = 0; k < 8; ++k) d[i + k] = static_cast<unsigned char>(v >> (8 * k));
        }
        return d;
    }();
    return data;
}

void BM_md5_vs_openssl_ours(benchmark::State& state) {
    const auto& data = buffer();
    for (auto _ : state) {
        updater::md5::MD5Context ctx;
        updater::md5::MD5_Init(&ctx);
        updater::md5::MD5_Update(&ctx, data.data(), data.size());
        unsigned char digest[16];
        updater::md5::MD5_Final(digest, &ctx);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kSize));
}

void BM_md5_vs_openssl_baseline(benchmark::State& state) {
    const auto& data = buffer();
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    for (auto _ : state) {
        EVP_DigestInit_ex(ctx, EVP_md5(), nullptr);
        EVP_DigestUpdate(ctx, data.data(), data.size());
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int length = 0;
        EVP_DigestFinal_ex(ctx, digest, &length);
        benchmark::DoNotOptimize(digest);
    }
    EVP_MD_CTX_free(ctx);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kSize));
}

}  // namespace

BENCHMARK(BM_md5_vs_openssl_ours)->Name("BM_md5_vs_openssl/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_md5_vs_openssl_baseline)
    ->Name("BM_md5_vs_openssl/baseline")
    ->Unit(benchmark::kMillisecond);
