// Any bytes as a downloaded package, extracted into a fresh destination that holds a
// link to a sibling folder "outside" (and a link to a file there): whatever the
// archive says, nothing may appear or change outside the destination, and no
// temporary file may stay behind. Every run works in its own folder, removed after.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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
    {
        std::ofstream zip(base / "pkg.zip", std::ios::binary);
        zip.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
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
    for (const auto& e : fs::recursive_directory_iterator(dest)) {
        check(e.path().filename().string().rfind(".unzip-", 0) != 0, "no temporary left");
    }

    fs::remove_all(base);
    return 0;
}
