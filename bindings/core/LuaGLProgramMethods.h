#pragma once
// The hand-written functions of shader programs and their states. Counts
// exclude the class table or self; a self that is not a live object of the
// class raises "invalid 'self' in function '<name>'".
//
//   cc.GLProgram:create(vertexFile, fragmentFile)   a new program from the two
//       files; another count raises "cc.GLProgram:create wrong number of
//       arguments: %d, was expecting 2\n"
//   program:getProgram()                  the GL program name (0 without one)
//   program:setUniformLocationF32(location, a[, b[, c[, d]]])
//       glUniform1f..4f after making the program current; another count raises
//       " cc.GLProgram:setUniformLocationF32 has wrong number of arguments: %d,
//       was expecting 2\n"
//   program:getUniform(name) / program:getVertexAttrib(name)
//       {location, size, type, name} / {index, size, type, name}, nil when the
//       program has none; a name that is not text gives nothing
//   program:setUniformLocationWith2iv(location, values, count)   and 3iv, 4iv,
//       WithMatrix2fv, WithMatrix3fv, WithMatrix4fv: count elements of 2, 3, 4
//       ints or 4, 9, 16 floats read from the flat table values (0 for what it
//       lacks); count 0 sends an empty array. An unreadable location or count
//       raises "Parse params error in the lua_engine_GLProgram_<name>"; a
//       negative count, or more than kMaxUniformValues values, raises "Allocate
//       intArray in the lua_engine_GLProgram_<name> failed!" ("matrixArry" for
//       the matrix forms). Returns the program.
//   state:setVertexAttribPointer(name, size, type, normalized, stride, offset)
//       keeps the attribute's layout, offset being a byte offset into the bound
//       buffer; returns the state (nothing when an argument does not read)
// Other counts raise "cc.GLProgram:<name> has wrong number of arguments: %d,
// was expecting %d \n" (cc.GLProgramState for the state). Main thread only.
#include <lua.hpp>

#include <cstdint>

namespace bindings {

// The most values one uniform-array call hands to GL.
constexpr int64_t kMaxUniformValues = int64_t{1} << 24;

void register_gl_program_manual(lua_State* L);
void register_gl_program_state_manual(lua_State* L);

}  // namespace bindings
