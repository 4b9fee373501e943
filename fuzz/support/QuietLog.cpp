// Linked into every fuzz target: the engine's log lines go nowhere. A target
// meets thousands of refused inputs a second, each with its log line; written
// out they grow to hundreds of megabytes and slow the run. Findings still print
// (the sanitizers and fuzzsupport::check write to stderr directly).
#include <string>

#include "engine/base/Log.h"

namespace {

const bool kQuiet = [] {
    engine::setLogSink([](const std::string&) {});
    return true;
}();

}  // namespace
