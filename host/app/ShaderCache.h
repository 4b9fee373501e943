#pragma once
// Where the GL driver keeps its compiled shaders: in the program's writable
// folder, like every other file the program writes, not in the user's cache
// folder.
//
// Contract: keepShaderCacheIn(writablePath) sets MESA_SHADER_CACHE_DIR to
// writablePath + "mesa_shader_cache" (the path ends with "/") unless the user set
// that variable already. It must run before the first GL context or display
// connection of the process: the driver reads the variable once, when it starts.
// Main thread, before any other thread reads the environment.
#include <string>

namespace host {

void keepShaderCacheIn(const std::string& writablePath);

}  // namespace host
