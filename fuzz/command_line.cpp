// The command line: arguments are the input split at zero bytes. Whatever it holds,
// the arguments built for a new instance parse back to the same record, so a
// relaunch is a fixed point: parse -> makeCommandLineVector -> parse gives the same
// vector again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/base/Log.h"
#include "host/config/ProjectConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {

    std::vector<std::string> args{"vexo-client"};
    std::string current;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    args.push_back(current);

    host::ProjectConfig first;
    first.parseCommandLine(args);
    std::vector<std::string> relaunch = first.makeCommandLineVector();
    (void)first.makeCommandLine();

    relaunch.insert(relaunch.begin(), "vexo-client");
    host::ProjectConfig second;
    second.parseCommandLine(relaunch);
    relaunch.erase(relaunch.begin());
    if (second.makeCommandLineVector() != relaunch) {
        std::fprintf(stderr, "relaunch arguments:   %s\nparsed back, they give: %s\n", first.makeCommandLine().c_str(),
                     second.makeCommandLine().c_str());
        std::abort();
    }
    if (second.getProjectDir() != first.getProjectDir() ||
        second.getScriptFileRealPath() != first.getScriptFileRealPath() ||
        second.getWritableRealPath() != first.getWritableRealPath() ||
        second.getSearchPath() != first.getSearchPath()) {
        std::abort();
    }
    return 0;
}
