// config.json through the reader: any bytes either apply settings or log a parse
// failure; the view size keeps its larger side as width and ports stay positive.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/base/Log.h"
#include "fuzz/FuzzSupport.h"
#include "host/config/ConfigFileReader.h"

namespace {

const std::string& configPath() {
    static const std::string path = [] {
        static const std::string folder = fuzzsupport::makeScratchFolder("vexo-fuzz-config");
        std::atexit([] { std::filesystem::remove_all(folder); });
        return folder + "/config.json";
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = configPath();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    host::ConfigFileReader::purge();
    host::ConfigFileReader* reader = host::ConfigFileReader::getInstance();
    reader->readConfig(path);
    const engine::Size& view = reader->getInitViewSize();
    if (view.width < view.height) std::abort();
    if (reader->getConsolePort() <= 0 || reader->getUploadPort() <= 0 || reader->getDebugPort() <= 0) {
        std::abort();
    }
    for (const host::SimulatorScreenSize& row : reader->getScreenSizes()) {
        if (row.width < 0 || row.height < 0) std::abort();
    }
    std::remove(path.c_str());
    return 0;
}
