#pragma once
// The engine layer's version text, as reported to scripts, the runtime's
// version label and launch analytics: "vexo-engine <major>.<minor>".
namespace engine {

const char* engineVersion();

}  // namespace engine
