#include "host/app/ShaderCache.h"

#include <cstdlib>

namespace host {

void keepShaderCacheIn(const std::string& writablePath) {
    if (writablePath.empty()) return;
    const std::string folder = writablePath + (writablePath.back() == '/' ? "" : "/") + "mesa_shader_cache";
    setenv("MESA_SHADER_CACHE_DIR", folder.c_str(), 0);
}

}  // namespace host
