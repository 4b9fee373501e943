// Any bytes as a downloaded package, extracted into a fresh destination that holds a
// link to a sibling folder "outside" (and a link to a file there): whatever the
// archive says, nothing may appear or change outside the destination, and no
// temporary file may stay behind. Every run works in its own folder under $TMPDIR,
// removed after. An input that starts with "PK" is the archive itself; any other
// describes a valid archive to build (entry names, contents, stored or deflated),
// so that the extraction's own checks see names and contents the fuzzer chose.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>
#include <minizip/zip.h>

#include "engine/zip/Unzip.h"
#include "fuzz/FuzzSupport.h"
#include "platform/DebugOutput.h"
#include "updater/ZipExtract.h"

namespace fs = std::filesystem;

using fuzzsupport::check;

namespace {

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The last part of every entry name the archive lists: an entry may itself be named
// like a temporary, and then its file is no leftover.
std::set<std::string> entryLeafNames(const fs::path& zipPath) {
    std::set<std::string> leaves;
    engine::unzFile zip = engine::unzOpen(zipPath.string());
    if (!zip) return leaves;
    for (int r = engine::unzGoToFirstFile(zip); r == 0; r = engine::unzGoToNextFile(zip)) {
        engine::unz_file_info info{};
        std::vector<char> name(4096, '\0');
        if (engine::unzGetCurrentFileInfo(zip, &info, name.data(), name.size() - 1, nullptr, 0, nullptr,
                                          0) != 0)
            break;
        std::string full(name.data());
        const size_t cut = full.find_last_of("/\\");
        leaves.insert(cut == std::string::npos ? full : full.substr(cut + 1));
    }
    engine::unzClose(zip);
    return leaves;
}

// The archive the bytes describe: entries of fuzzer-chosen names and contents, each
// stored or deflated, until the bytes run out (at most 64).
void writeBuiltArchive(const fs::path& path, const uint8_t* data, size_t size) {
    FuzzedDataProvider bytes(data, size);
    zipFile zip = zipOpen64(path.string().c_str(), APPEND_STATUS_CREATE);
    check(zip != nullptr, "archive written");
    for (int i = 0; i < 64 && bytes.remaining_bytes() > 0; ++i) {
        const std::string name = bytes.ConsumeRandomLengthString(300);
        const bool deflated = bytes.ConsumeBool();
        const std::string content = bytes.ConsumeRandomLengthString(1 << 16);
        zip_fileinfo info{};
        if (zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                          deflated ? Z_DEFLATED : 0, Z_DEFAULT_COMPRESSION, 0) != ZIP_OK)
            continue;
        zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = [] {
        platform::setDebugOutputSink([](const std::string&) {});
        return true;
    }();
    (void)quiet;

    const fs::path base = fuzzsupport::makeScratchFolder("vexo-fuzz-zip");
    const fs::path dest = base / "dest";
    const fs::path outside = base / "outside";
    fs::create_directories(dest / "sub");
    fs::create_directories(outside);
    std::ofstream(outside / "file") << "outside";
    fs::create_directory_symlink(outside, dest / "link");
    fs::create_directory_symlink(outside, dest / "sub" / "inner");
    fs::create_symlink(outside / "file", dest / "flink");
    if (size >= 2 && data[0] == 'P' && data[1] == 'K') {
        std::ofstream zip(base / "pkg.zip", std::ios::binary);
        zip.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    } else {
        writeBuiltArchive(base / "pkg.zip", data, size);
    }

    // A bounded number of entries per run keeps zip bombs from filling the disk.
    int entries = 0;
    updater::UnzipHooks hooks;
    hooks.stopRequested = [&entries] { return ++entries > 64; };
    updater::unzipPackage((base / "pkg.zip").string(), dest.string(), hooks);

    size_t outsideCount = 0;
    for (const auto& e : fs::recursive_directory_iterator(outside)) {
        (void)e;
        ++outsideCount;
    }
    check(outsideCount == 1 && readAll(outside / "file") == "outside", "outside untouched");
    size_t baseCount = 0;
    for (const auto& e : fs::directory_iterator(base)) {
        (void)e;
        ++baseCount;
    }
    check(baseCount == 3, "nothing beside the destination");
    const std::set<std::string> listed = entryLeafNames(base / "pkg.zip");
    for (const auto& e : fs::recursive_directory_iterator(dest)) {
        const std::string leaf = e.path().filename().string();
        check(leaf.rfind(".unzip-", 0) != 0 || listed.count(leaf) != 0, "no temporary left");
    }

    fs::remove_all(base);
    return 0;
}
