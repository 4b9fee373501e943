#pragma once
// The bytes GL reads or writes for one image in client memory: width x height
// pixels of the format and type, each row padded to the pack or unpack
// alignment in force (1, 2, 4 or 8; anything else counts as 1). A format or type
// GL does not know counts as its widest (four components of four bytes), so a
// buffer of this size always holds what GL touches. 0 for an empty image;
// SIZE_MAX when the size does not fit in memory at all.
#include <GL/gl.h>

#include <cstddef>

namespace engine::GL {

size_t imageBytes(GLsizei width, GLsizei height, GLenum format, GLenum type, GLint alignment);

}  // namespace engine::GL
