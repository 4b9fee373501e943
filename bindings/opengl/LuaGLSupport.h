#pragma once
// What the members of the script table `gl` share: the argument checks, the
// argument kinds, and the buffers handed to GL.
//
// Every member is a C closure whose one upvalue is its error name (a GL entry
// point's name): a failed check raises tolua++'s argument error
// "#ferror in function '<error name>'." naming the argument.
//
// Argument kinds: a whole number is a number (or numeric string) truncated
// toward zero and wrapped to the GL type's 32 bits; a float is the number as a
// float; a flag is a whole number, true when not 0; a string is a string, a
// number or nil, nil reaching GL as "".
//
// Buffers are Lua userdata, zero-filled and left on the stack below the results:
// nothing leaks when a later step raises. A buffer holds what GL reads or writes
// for the call's other arguments, never more because the script's n is larger:
// entries past what GL reads are not read, and a table answered past what GL
// wrote is padded with zeros. One call's memory (its buffer plus
// kAnsweredEntryBytes for each entry of a table it answers) stays within
// kMaxCallBytes; beyond it the call counts as one whose buffer cannot be
// allocated: the member returns nothing without calling GL. Table entries are
// read raw (no metamethod runs); a missing or non-numeric entry reads as 0.
// Main thread only.
#include <GL/gl.h>
#include <lua.hpp>
#include <tolua++.h>

#include <cstddef>
#include <cstdint>

#include "scripting/LuaNumberCasts.h"

namespace bindings::gltable {

constexpr size_t kMaxCallBytes = size_t{64} << 20;
// What one entry of a Lua table costs at least (a value of the array part).
constexpr size_t kAnsweredEntryBytes = 16;

// Checks the arguments from index 1 against kinds, then that nothing follows:
//   n number   s string (or nil)   t table   T table, or absent   b boolean or nil
// Raises the member's argument error on the first that fails.
void checkArguments(lua_State* L, const char* kinds);
// Raises the member's argument error for err.
void raiseArgumentError(lua_State* L, tolua_Error* err);

inline int32_t wholeInt(lua_State* L, int index) { return luaconv::wrapToInt32(lua_tonumber(L, index)); }
inline uint32_t wholeUInt(lua_State* L, int index) { return luaconv::wrapToUInt32(lua_tonumber(L, index)); }
// A count of table entries: not wrapped, so 2^32 stays large.
inline int64_t wholeCount(lua_State* L, int index) { return luaconv::truncToInt64(lua_tonumber(L, index)); }
inline GLfloat floatAt(lua_State* L, int index) { return static_cast<GLfloat>(lua_tonumber(L, index)); }
inline GLboolean flagAt(lua_State* L, int index) {
    return luaconv::truncToInt64(lua_tonumber(L, index)) != 0 ? GL_TRUE : GL_FALSE;
}
inline GLboolean booleanAt(lua_State* L, int index) { return lua_toboolean(L, index) ? GL_TRUE : GL_FALSE; }
inline const char* textAt(lua_State* L, int index) {
    const char* text = lua_tostring(L, index);
    return text ? text : "";
}

// A zero-filled buffer of count elements of size bytes each, pushed as userdata;
// null (nothing pushed) when it and a table of answered entries the call will
// answer would exceed kMaxCallBytes.
void* pushBuffer(lua_State* L, size_t count, size_t size, size_t answered = 0);
template <class T>
T* pushBufferOf(lua_State* L, size_t count) {
    return static_cast<T*>(pushBuffer(L, count, sizeof(T)));
}

// How many of the script's n entries (negative: none) GL reads.
inline size_t entriesRead(int64_t n, size_t glReads) {
    const size_t script = n > 0 ? static_cast<size_t>(n) : 0;
    return script < glReads ? script : glReads;
}

// Entries 1 .. n of the table at index (anything else at index reads as no
// entries), converted.
void readFloats(lua_State* L, int index, int64_t n, GLfloat* out);
void readInts(lua_State* L, int index, int64_t n, GLint* out);
// Each entry truncated toward zero, its low 8 bits.
void readBytes(lua_State* L, int index, int64_t n, unsigned char* out);

// Pushes a table of count numbers, keys from 1: the first of the available
// values, then zeros.
template <class T>
void pushNumbers(lua_State* L, const T* values, size_t available, size_t count) {
    lua_createtable(L, static_cast<int>(count), 0);
    for (size_t i = 0; i < count; ++i) {
        lua_pushnumber(L, i < available ? static_cast<lua_Number>(values[i]) : 0);
        lua_rawseti(L, -2, static_cast<int>(i + 1));
    }
}

// The member functions, one file per group.
int getSupportedExtensions(lua_State* L);
int bufferData(lua_State* L);
int bufferSubData(lua_State* L);
int compressedTexImage2D(lua_State* L);
int compressedTexSubImage2D(lua_State* L);
int deleteBuffer(lua_State* L);
int deleteFramebuffer(lua_State* L);
int deleteRenderbuffer(lua_State* L);
int deleteTexture(lua_State* L);
int drawElements(lua_State* L);
int createBuffer(lua_State* L);
int createFramebuffer(lua_State* L);
int createRenderbuffer(lua_State* L);
int createTexture(lua_State* L);
int getActiveAttrib(lua_State* L);
int getActiveUniform(lua_State* L);
int getAttachedShaders(lua_State* L);
int getProgramInfoLog(lua_State* L);
int getProgramParameter(lua_State* L);
int getShaderInfoLog(lua_State* L);
int getShaderSource(lua_State* L);
int getShaderParameter(lua_State* L);
int getTexParameter(lua_State* L);
int getUniform(lua_State* L);
int readPixels(lua_State* L);
int shaderSource(lua_State* L);
int texImage2D(lua_State* L);
int texSubImage2D(lua_State* L);
int uniform1fv(lua_State* L);
int uniform2fv(lua_State* L);
int uniform3fv(lua_State* L);
int uniform4fv(lua_State* L);
int uniform1iv(lua_State* L);
int uniform2iv(lua_State* L);
int uniform3iv(lua_State* L);
int uniform4iv(lua_State* L);
int uniformMatrix2fv(lua_State* L);
int uniformMatrix3fv(lua_State* L);
int uniformMatrix4fv(lua_State* L);
int vertexAttrib1fv(lua_State* L);
int vertexAttrib2fv(lua_State* L);
int vertexAttrib3fv(lua_State* L);
int vertexAttrib4fv(lua_State* L);
int vertexAttribPointer(lua_State* L);
int enableVertexAttribs(lua_State* L);

}  // namespace bindings::gltable
