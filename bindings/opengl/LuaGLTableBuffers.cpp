// The `gl` members that hand GL a buffer built from a table or read one back.
// Each buffer holds what GL reads or writes for the call's other arguments; as
// many of the script's n entries as GL reads fill its start and the rest stays 0.
#include "bindings/opengl/LuaGLSupport.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/GLImageSize.h"

namespace bindings::gltable {
namespace {

const engine::GLFunctions& gl() { return engine::GL::fn(); }

GLint alignment(GLenum pname) {
    GLint value = 4;
    gl().getIntegerv(pname, &value);
    return value;
}

// GL's count (negative: GL reads nothing) times the components of one element.
size_t elements(GLsizei count, size_t components) {
    return count > 0 ? static_cast<size_t>(count) * components : 0;
}

// Entries 1 .. n of the table at index, converted to T.
void readEntries(lua_State* L, int index, int64_t n, GLfloat* out) { readFloats(L, index, n, out); }
void readEntries(lua_State* L, int index, int64_t n, GLint* out) { readInts(L, index, n, out); }
void readEntries(lua_State* L, int index, int64_t n, unsigned char* out) { readBytes(L, index, n, out); }

// The buffer of the glReads elements GL reads, filled from the script's n
// entries (n >= 0) of the table at index; null when it cannot be made.
template <class T>
T* pushTableBuffer(lua_State* L, int index, int64_t n, size_t glReads) {
    T* values = pushBufferOf<T>(L, glReads);
    if (values) readEntries(L, index, static_cast<int64_t>(entriesRead(n, glReads)), values);
    return values;
}

// The pixel buffer for an image of the given size, by the pack or unpack
// alignment named, for a call that answers a table of answered entries; null
// when it cannot be made. *bytes is the buffer's size.
unsigned char* pushImage(lua_State* L, GLsizei width, GLsizei height, GLenum format, GLenum type,
                         GLenum alignmentName, size_t answered, size_t* bytes) {
    *bytes = engine::GL::imageBytes(width, height, format, type, alignment(alignmentName));
    return static_cast<unsigned char*>(pushBuffer(L, *bytes, 1, answered));
}

// uniform{N}fv and uniform{N}iv (location, count, n, values).
template <class T, void (*engine::GLFunctions::*Entry)(GLint, GLsizei, const T*), size_t N>
int uniformArray(lua_State* L) {
    checkArguments(L, "nnnt");
    const GLint location = wholeInt(L, 1);
    const GLsizei count = wholeInt(L, 2);
    const int64_t n = wholeCount(L, 3);
    if (n < 0) return 0;
    T* values = pushTableBuffer<T>(L, 4, n, elements(count, N));
    if (!values) return 0;
    (gl().*Entry)(location, count, values);
    return 0;
}

// uniformMatrix{N}fv (location, transpose, n, values): one matrix.
template <void (*engine::GLFunctions::*Entry)(GLint, GLsizei, GLboolean, const GLfloat*), size_t N>
int uniformMatrix(lua_State* L, const char* kinds) {
    checkArguments(L, kinds);
    const GLint location = wholeInt(L, 1);
    const GLboolean transpose = kinds[1] == 'b' ? booleanAt(L, 2) : flagAt(L, 2);
    const int64_t n = wholeCount(L, 3);
    if (n < 0) return 0;
    GLfloat* values = pushTableBuffer<GLfloat>(L, 4, n, N * N);
    if (!values) return 0;
    (gl().*Entry)(location, 1, transpose, values);
    return 0;
}

// vertexAttrib{N}fv (index, n, values): one vector.
template <void (*engine::GLFunctions::*Entry)(GLuint, const GLfloat*), size_t N>
int vertexAttribFloats(lua_State* L) {
    checkArguments(L, "nnt");
    const GLuint index = wholeUInt(L, 1);
    const int64_t n = wholeCount(L, 2);
    if (n < 0) return 0;
    GLfloat* values = pushTableBuffer<GLfloat>(L, 3, n, N);
    if (!values) return 0;
    (gl().*Entry)(index, values);
    return 0;
}

}  // namespace

int bufferData(lua_State* L) {
    checkArguments(L, "nntn");
    const GLenum target = wholeUInt(L, 1);
    const int64_t n = wholeCount(L, 2);
    const GLenum usage = wholeUInt(L, 4);
    if (n < 0) return 0;
    GLfloat* data = pushTableBuffer<GLfloat>(L, 3, n, static_cast<size_t>(n));
    if (!data) return 0;
    gl().bufferData(target, static_cast<GLsizeiptr>(n) * 4, data, usage);
    return 0;
}

int bufferSubData(lua_State* L) {
    checkArguments(L, "nnnt");
    const GLenum target = wholeUInt(L, 1);
    const GLint offset = wholeInt(L, 2);
    const int64_t n = wholeCount(L, 3);
    if (n < 0) return 0;
    GLfloat* data = pushTableBuffer<GLfloat>(L, 4, n, static_cast<size_t>(n));
    if (!data) return 0;
    gl().bufferSubData(target, static_cast<GLintptr>(offset) * 4, static_cast<GLsizeiptr>(n) * 4, data);
    return 0;
}

int compressedTexImage2D(lua_State* L) {
    checkArguments(L, "nnnnnnnnt");
    const GLenum target = wholeUInt(L, 1);
    const GLint level = wholeInt(L, 2);
    const GLenum internalformat = wholeUInt(L, 3);
    const GLsizei width = wholeInt(L, 4);
    const GLsizei height = wholeInt(L, 5);
    const GLint border = wholeInt(L, 6);
    const GLsizei imageSize = wholeInt(L, 7);
    const int64_t n = wholeCount(L, 8);
    if (n < 0) return 0;
    auto* data = pushTableBuffer<unsigned char>(L, 9, n, elements(imageSize, 1));
    if (!data) return 0;
    gl().compressedTexImage2D(target, level, internalformat, width, height, border, imageSize, data);
    return 0;
}

int compressedTexSubImage2D(lua_State* L) {
    checkArguments(L, "nnnnnnnnnt");
    const GLenum target = wholeUInt(L, 1);
    const GLint level = wholeInt(L, 2);
    const GLint xoffset = wholeInt(L, 3);
    const GLint yoffset = wholeInt(L, 4);
    const GLsizei width = wholeInt(L, 5);
    const GLsizei height = wholeInt(L, 6);
    const GLenum format = wholeUInt(L, 7);
    const GLsizei imageSize = wholeInt(L, 8);
    const int64_t n = wholeCount(L, 9);
    if (n < 0) return 0;
    auto* data = pushTableBuffer<unsigned char>(L, 10, n, elements(imageSize, 1));
    if (!data) return 0;
    gl().compressedTexSubImage2D(target, level, xoffset, yoffset, width, height, format, imageSize, data);
    return 0;
}

int drawElements(lua_State* L) {
    checkArguments(L, "nnnnT");
    const GLenum mode = wholeUInt(L, 1);
    const GLsizei count = wholeInt(L, 2);
    const GLenum type = wholeUInt(L, 3);
    const int64_t n = wholeCount(L, 4);
    size_t width = 0;
    switch (type) {
        case GL_UNSIGNED_BYTE: width = 1; break;
        case GL_UNSIGNED_SHORT: width = 2; break;
        case GL_UNSIGNED_INT: width = 4; break;
        default: return 0;
    }
    if (n == 0) {
        // The indices come from the bound element array buffer; without one GL
        // would read them from address 0.
        GLint bound = 0;
        gl().getIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &bound);
        if (bound == 0 && count > 0) return 0;
        gl().drawElements(mode, count, type, nullptr);
        return 0;
    }
    if (n < 0) return 0;
    const size_t total = elements(count, 1);
    void* indices = pushBuffer(L, total, width);
    if (!indices) return 0;
    const auto read = static_cast<int64_t>(entriesRead(n, total));
    auto* bytes = static_cast<unsigned char*>(indices);
    auto* shorts = static_cast<uint16_t*>(indices);
    auto* ints = static_cast<uint32_t*>(indices);
    if (lua_type(L, 5) == LUA_TTABLE) {
        for (int64_t i = 1; i <= read; ++i) {
            lua_rawgeti(L, 5, static_cast<int>(i));
            const uint32_t index = luaconv::wrapToUInt32(lua_tonumber(L, -1));
            lua_pop(L, 1);
            const size_t at = static_cast<size_t>(i - 1);
            if (width == 1) bytes[at] = static_cast<unsigned char>(index);
            else if (width == 2) shorts[at] = static_cast<uint16_t>(index);
            else ints[at] = index;
        }
    }
    gl().drawElements(mode, count, type, indices);
    return 0;
}

int texImage2D(lua_State* L) {
    checkArguments(L, "nnnnnnnnnt");
    const GLenum target = wholeUInt(L, 1);
    const GLint level = wholeInt(L, 2);
    const GLint internalformat = wholeInt(L, 3);
    const GLsizei width = wholeInt(L, 4);
    const GLsizei height = wholeInt(L, 5);
    const GLint border = wholeInt(L, 6);
    const GLenum format = wholeUInt(L, 7);
    const GLenum type = wholeUInt(L, 8);
    const int64_t n = wholeCount(L, 9);
    if (n < 0) return 0;
    size_t bytes = 0;
    auto* pixels = pushImage(L, width, height, format, type, GL_UNPACK_ALIGNMENT, 0, &bytes);
    if (!pixels) return 0;
    readBytes(L, 10, static_cast<int64_t>(entriesRead(n, bytes)), pixels);
    gl().texImage2D(target, level, internalformat, width, height, border, format, type, pixels);
    return 0;
}

int texSubImage2D(lua_State* L) {
    checkArguments(L, "nnnnnnnnn");
    const GLenum target = wholeUInt(L, 1);
    const GLint level = wholeInt(L, 2);
    const GLint xoffset = wholeInt(L, 3);
    const GLint yoffset = wholeInt(L, 4);
    const GLsizei width = wholeInt(L, 5);
    const GLsizei height = wholeInt(L, 6);
    const GLenum format = wholeUInt(L, 7);
    const GLenum type = wholeUInt(L, 8);
    const int64_t n = wholeCount(L, 9);
    if (n < 0) return 0;
    size_t bytes = 0;
    auto* pixels = pushImage(L, width, height, format, type, GL_UNPACK_ALIGNMENT, static_cast<size_t>(n), &bytes);
    if (!pixels) return 0;
    gl().texSubImage2D(target, level, xoffset, yoffset, width, height, format, type, pixels);
    pushNumbers(L, pixels, bytes, static_cast<size_t>(n));
    return 1;
}

int readPixels(lua_State* L) {
    checkArguments(L, "nnnnnnn");
    const GLint x = wholeInt(L, 1);
    const GLint y = wholeInt(L, 2);
    const GLsizei width = wholeInt(L, 3);
    const GLsizei height = wholeInt(L, 4);
    const GLenum format = wholeUInt(L, 5);
    const GLenum type = wholeUInt(L, 6);
    const int64_t n = wholeCount(L, 7);
    if (n < 0) return 0;
    size_t bytes = 0;
    auto* pixels = pushImage(L, width, height, format, type, GL_PACK_ALIGNMENT, static_cast<size_t>(n), &bytes);
    if (!pixels) return 0;
    gl().readPixels(x, y, width, height, format, type, pixels);
    pushNumbers(L, pixels, bytes, static_cast<size_t>(n));
    return 1;
}

int uniform1fv(lua_State* L) { return uniformArray<GLfloat, &engine::GLFunctions::uniform1fv, 1>(L); }
int uniform2fv(lua_State* L) { return uniformArray<GLfloat, &engine::GLFunctions::uniform2fv, 2>(L); }
int uniform3fv(lua_State* L) { return uniformArray<GLfloat, &engine::GLFunctions::uniform3fv, 3>(L); }
int uniform4fv(lua_State* L) { return uniformArray<GLfloat, &engine::GLFunctions::uniform4fv, 4>(L); }
int uniform1iv(lua_State* L) { return uniformArray<GLint, &engine::GLFunctions::uniform1iv, 1>(L); }
int uniform2iv(lua_State* L) { return uniformArray<GLint, &engine::GLFunctions::uniform2iv, 2>(L); }
int uniform3iv(lua_State* L) { return uniformArray<GLint, &engine::GLFunctions::uniform3iv, 3>(L); }
int uniform4iv(lua_State* L) { return uniformArray<GLint, &engine::GLFunctions::uniform4iv, 4>(L); }
// The 2 x 2 and 3 x 3 forms take their transpose as a number, the 4 x 4 form as a boolean.
int uniformMatrix2fv(lua_State* L) { return uniformMatrix<&engine::GLFunctions::uniformMatrix2fv, 2>(L, "nnnt"); }
int uniformMatrix3fv(lua_State* L) { return uniformMatrix<&engine::GLFunctions::uniformMatrix3fv, 3>(L, "nnnt"); }
int uniformMatrix4fv(lua_State* L) { return uniformMatrix<&engine::GLFunctions::uniformMatrix4fv, 4>(L, "nbnt"); }
int vertexAttrib1fv(lua_State* L) { return vertexAttribFloats<&engine::GLFunctions::vertexAttrib1fv, 1>(L); }
int vertexAttrib2fv(lua_State* L) { return vertexAttribFloats<&engine::GLFunctions::vertexAttrib2fv, 2>(L); }
int vertexAttrib3fv(lua_State* L) { return vertexAttribFloats<&engine::GLFunctions::vertexAttrib3fv, 3>(L); }
int vertexAttrib4fv(lua_State* L) { return vertexAttribFloats<&engine::GLFunctions::vertexAttrib4fv, 4>(L); }

int vertexAttribPointer(lua_State* L) {
    checkArguments(L, "nnnbnn");
    const GLuint index = wholeUInt(L, 1);
    const GLint size = wholeInt(L, 2);
    const GLenum type = wholeUInt(L, 3);
    const GLboolean normalized = booleanAt(L, 4);
    const GLsizei stride = wholeInt(L, 5);
    // A byte offset into the bound array buffer. Without one GL would take the
    // number for an address in our memory and read it at the next draw: refused.
    const auto offset = static_cast<uintptr_t>(luaconv::truncToUInt64(lua_tonumber(L, 6)));
    GLint bound = 0;
    gl().getIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    if (bound == 0) return 0;
    gl().vertexAttribPointer(index, size, type, normalized, stride, reinterpret_cast<const void*>(offset));
    return 0;
}

int enableVertexAttribs(lua_State* L) {
    checkArguments(L, "n");
    engine::GL::enableVertexAttribs(wholeUInt(L, 1));
    return 0;
}

}  // namespace bindings::gltable
