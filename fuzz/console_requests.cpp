// Any bytes as a console connection: split into lines, and every "sendrequest"
// line run as a request against a file server whose folder is a fresh scratch one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/console/Console.h"
#include "engine/files/FileUtils.h"
#include "fuzz/FuzzSupport.h"
#include "runtime/ConsoleCommand.h"
#include "runtime/FileServer.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static const std::string scratch = fuzzsupport::makeScratchFolder("vexo-fuzz-console");
    std::atexit([] { std::filesystem::remove_all(scratch); });
    engine::FileUtils::getInstance()->setWritablePath(scratch);
    engine::FileUtils::getInstance()->setPopupNotify(false);
    runtime::FileServer::getShareInstance();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    engine::Console::LineSplitter splitter;
    std::vector<std::string> lines;
    splitter.feed(reinterpret_cast<const char*>(data), size, lines);
    const std::string prefix = std::string(runtime::ConsoleCommand::kCommandName) + " ";
    for (const std::string& line : lines) {
        std::string reply;
        if (line.compare(0, prefix.size(), prefix) == 0) {
            runtime::ConsoleCommand::handleRequest(line.substr(prefix.size()), reply);
        }
    }
    return 0;
}
