#include "runtime/RuntimeProtocol.h"

#include "engine/base/Log.h"

namespace runtime {
namespace {
void notSupported(const char* operation) { engine::log("%s: NOT SUPPRT", operation); }
}  // namespace

void RuntimeProtocol::startScript(const std::string&) { notSupported("RuntimeProtocol::startScript"); }

void RuntimeProtocol::onStartDebuger(const rapidjson::Document&, rapidjson::Document&) {
    notSupported("RuntimeProtocol::onStartDebuger");
}

void RuntimeProtocol::onClearCompile(const rapidjson::Document&, rapidjson::Document&) {
    notSupported("RuntimeProtocol::onClearCompile");
}

void RuntimeProtocol::onPrecompile(const rapidjson::Document&, rapidjson::Document&) {
    notSupported("RuntimeProtocol::onPrecompile");
}

void RuntimeProtocol::onReload(const rapidjson::Document&, rapidjson::Document&) {
    notSupported("RuntimeProtocol::onReload");
}

}  // namespace runtime
