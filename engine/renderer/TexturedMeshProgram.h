#pragma once
// The program of the engine's own textured meshes (3D sprites, grids): the
// vertex shader moves a_position by u_MVPMatrix and hands a_texCoord on as
// v_texCoord; each user gives its fragment shader. Main thread only.
#include "engine/renderer/GLProgram.h"

namespace engine {

inline constexpr const char* kTexturedMeshVertex = R"(#version 110
attribute vec4 a_position;
attribute vec2 a_texCoord;
uniform mat4 u_MVPMatrix;
varying vec2 v_texCoord;
void main() {
    gl_Position = u_MVPMatrix * a_position;
    v_texCoord = a_texCoord;
}
)";

// A program of kTexturedMeshVertex and fragmentSource, retained: its maker keeps
// it for the process. Null when it cannot be made.
inline GLProgram* retainedTexturedMeshProgram(const char* fragmentSource) {
    GLProgram* made = GLProgram::createWithByteArrays(kTexturedMeshVertex, fragmentSource);
    if (made) made->retain();
    return made;
}

}  // namespace engine
