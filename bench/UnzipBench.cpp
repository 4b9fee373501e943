// Extraction of a package of 64 entries of 1 MiB (deflated pseudo-random text) into
// /dev/shm: our extraction against a plain minizip inflate-and-fwrite loop.
#include <benchmark/benchmark.h>
#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "updater/ZipExtract.h"

namespace {

constexpr int kEntries = 64;
constexpr size_t kEntrySize = 1024 * 1024;
constexpr unsigned kChunk = 256 * 1024;

// Text of words drawn at random from a small vocabulary: deflate shrinks it a few
// times, but not trivially.
std::string pseudoText(std::mt19937& gen) {
    static const char* const words[] = {
        "update", "package", "resource", "texture", "sprite", "layer", "scene",  "node",
        "action", "script",  "module",   "client",  "server", "patch", "serial", "folder",
        "entry",  "zip",     "deflate",  "inflate", "frame",  "audio", "music",  "effect",
        "label",  "button",  "skeleton", "bone",    "slot",   "atlas", "region", "mesh"};
    std::string out;
    out.reserve(kEntrySize + 16);
    while (out.size() < kEntrySize) {
        out += words[gen() % 32];
        const unsigned r = gen() % 16;
        out += r == 0 ? '\n' : r == 1 ? ',' : ' ';
        if (gen() % 8 == 0) out += std::to_string(gen() % 100000);
    }
    out.resize(kEntrySize);
    return out;
}

// The package, made once in /dev/shm and removed at exit.
class Package {
public:
    Package() : _dir("/dev/shm/vexo-bench-unzip-" + std::to_string(::getpid())) {
        std::filesystem::create_directories(_dir);
        _zipPath = _dir + "/pkg.zip";
        std::mt19937 gen(1234);
        zipFile zf = zipOpen64(_zipPath.c_str(), APPEND_STATUS_CREATE);
        for (int i = 0; i < kEntries; ++i) {
            const std::string text = pseudoText(gen);
            const std::string name = "file" + std::to_string(i) + ".txt";
            zip_fileinfo info{};
            zipOpenNewFileInZip64(zf, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                  Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0);
            zipWriteInFileInZip(zf, text.data(), static_cast<unsigned>(text.size()));
            zipCloseFileInZip(zf);
        }
        zipClose(zf, nullptr);
    }
    ~Package() {
        std::error_code ec;
        std::filesystem::remove_all(_dir, ec);
    }

    const std::string& zipPath() const { return _zipPath; }
    std::string outDir(const char* name) const {
        const std::string d = _dir + "/" + name;
        std::filesystem::create_directories(d);
        return d;
    }

private:
    std::string _dir;
    std::string _zipPath;
};

Package& package() {
    static Package p;
    return p;
}

void setBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kEntries *
                            static_cast<int64_t>(kEntrySize));
}

void BM_unzip_ours(benchmark::State& state) {
    const std::string out = package().outDir("ours");
    for (auto _ : state) {
        if (!updater::unzipPackage(package().zipPath(), out)) {
            state.SkipWithError("extraction failed");
            break;
        }
    }
    setBytes(state);
}

bool plainMinizipExtract(const std::string& zipPath, const std::string& out,
                         std::vector<char>& buffer) {
    unzFile zip = unzOpen64(zipPath.c_str());
    if (!zip) return false;
    bool ok = true;
    for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK && ok; rc = unzGoToNextFile(zip)) {
        char name[512];
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(zip, &info, name, sizeof(name), nullptr, 0, nullptr, 0) !=
                UNZ_OK ||
            unzOpenCurrentFile(zip) != UNZ_OK) {
            ok = false;
            break;
        }
        FILE* f = std::fopen((out + "/" + name).c_str(), "wb");
        if (!f) ok = false;
        int n;
        while (ok && (n = unzReadCurrentFile(zip, buffer.data(), kChunk)) > 0)
            ok = std::fwrite(buffer.data(), 1, static_cast<size_t>(n), f) == static_cast<size_t>(n);
        if (f) std::fclose(f);
        unzCloseCurrentFile(zip);
    }
    unzClose(zip);
    return ok;
}

void BM_unzip_baseline(benchmark::State& state) {
    const std::string out = package().outDir("baseline");
    std::vector<char> buffer(kChunk);
    for (auto _ : state) {
        if (!plainMinizipExtract(package().zipPath(), out, buffer)) {
            state.SkipWithError("extraction failed");
            break;
        }
    }
    setBytes(state);
}

}  // namespace

BENCHMARK(BM_unzip_ours)->Name("BM_unzip_vs_minizip/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_unzip_baseline)->Name("BM_unzip_vs_minizip/baseline")->Unit(benchmark::kMillisecond);
