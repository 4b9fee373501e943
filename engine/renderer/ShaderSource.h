#pragma once
// Shader sources written for OpenGL ES made fit for desktop GLSL 1.10, which has
// no precision qualifiers: every precision statement ("precision <lowp | mediump
// | highp> <type>;") and every stand-alone precision word (lowp, mediump, highp)
// is dropped; the rest stays byte for byte (words are runs of letters, digits and
// '_', so "highpass" stays). Linear in the length of the source.
#include <string>
#include <string_view>

namespace engine {

std::string withoutPrecisionQualifiers(std::string_view source);

}  // namespace engine
