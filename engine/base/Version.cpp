#include "engine/base/Version.h"

namespace engine {

const char* engineVersion() { return "vexo-engine " VEXO_ENGINE_VERSION; }

}  // namespace engine
