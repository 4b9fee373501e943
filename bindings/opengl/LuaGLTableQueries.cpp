// The `gl` members that make, delete or query GL objects by id, and the
// extension list. Texts GL writes nothing into come back empty; a query GL
// rejects answers 0.
#include <cstring>

#include "bindings/opengl/LuaGLSupport.h"
#include "engine/renderer/GLFunctions.h"

namespace bindings::gltable {
namespace {

const engine::GLFunctions& gl() { return engine::GL::fn(); }

// One new id from a glGen* entry point.
int createOne(lua_State* L, void (*gen)(GLsizei, GLuint*)) {
    GLuint id = 0;
    gen(1, &id);
    lua_pushnumber(L, id);
    return 1;
}

int deleteOne(lua_State* L, void (*del)(GLsizei, const GLuint*)) {
    checkArguments(L, "n");
    const GLuint id = wholeUInt(L, 1);
    del(1, &id);
    return 0;
}

// A text buffer of at least one byte for a length GL reported.
char* pushText(lua_State* L, GLint length, size_t* size) {
    *size = length > 0 ? static_cast<size_t>(length) : 1;
    return pushBufferOf<char>(L, *size);
}

void pushWritten(lua_State* L, const char* text, size_t size) {
    lua_pushlstring(L, text, strnlen(text, size));
}

// A program's or a shader's text: its length from the iv query, then the text.
int queryText(lua_State* L, void (*iv)(GLuint, GLenum, GLint*), GLenum lengthName,
              void (*get)(GLuint, GLsizei, GLsizei*, GLchar*)) {
    checkArguments(L, "n");
    const GLuint object = wholeUInt(L, 1);
    GLint length = 0;
    iv(object, lengthName, &length);
    size_t size = 0;
    char* text = pushText(L, length, &size);
    if (!text) return 0;
    get(object, static_cast<GLsizei>(size), nullptr, text);
    pushWritten(L, text, size);
    return 1;
}

int queryParameter(lua_State* L, void (*iv)(GLuint, GLenum, GLint*)) {
    checkArguments(L, "nn");
    const GLuint object = wholeUInt(L, 1);
    const GLenum pname = wholeUInt(L, 2);
    GLint value = 0;
    iv(object, pname, &value);
    lua_pushnumber(L, value);
    return 1;
}

using ActiveQuery = void (*)(GLuint, GLuint, GLsizei, GLsizei*, GLint*, GLenum*, GLchar*);

// An active attribute's or uniform's size, type and name (its buffer left on
// the stack); false when the name buffer cannot be made.
struct ActiveVariable {
    GLint size = -1;
    GLenum type = static_cast<GLenum>(-1);
    char* name = nullptr;
    size_t nameSize = 0;
};

bool queryActiveVariable(lua_State* L, GLuint program, GLuint index, GLenum maxLengthName, ActiveQuery query,
                         ActiveVariable* out) {
    GLint length = 0;
    gl().getProgramiv(program, maxLengthName, &length);
    out->name = pushText(L, length, &out->nameSize);
    if (!out->name) return false;
    query(program, index, static_cast<GLsizei>(out->nameSize), nullptr, &out->size, &out->type, out->name);
    return true;
}

int queryActive(lua_State* L, GLenum maxLengthName, ActiveQuery query) {
    checkArguments(L, "nn");
    const GLuint program = wholeUInt(L, 1);
    const GLuint index = wholeUInt(L, 2);
    ActiveVariable variable;
    if (!queryActiveVariable(L, program, index, maxLengthName, query, &variable)) return 0;
    lua_pushnumber(L, variable.size);
    lua_pushnumber(L, variable.type);
    pushWritten(L, variable.name, variable.nameSize);
    return 3;
}

}  // namespace

int getSupportedExtensions(lua_State* L) {
    checkArguments(L, "");
    const auto* text = reinterpret_cast<const char*>(gl().getString(GL_EXTENSIONS));
    lua_newtable(L);
    if (!text) return 1;
    int key = 0;
    const char* start = text;
    for (const char* c = text;; ++c) {
        if (*c == ' ' || *c == ',' || *c == 0) {
            if (c > start) {
                lua_pushlstring(L, start, static_cast<size_t>(c - start));
                lua_rawseti(L, -2, ++key);
            }
            if (*c == 0) break;
            start = c + 1;
        }
    }
    return 1;
}

int createBuffer(lua_State* L) {
    checkArguments(L, "");
    return createOne(L, gl().genBuffers);
}
int createTexture(lua_State* L) {
    checkArguments(L, "");
    return createOne(L, gl().genTextures);
}
// These two take one number they do not use.
int createFramebuffer(lua_State* L) {
    checkArguments(L, "n");
    return createOne(L, gl().genFramebuffers);
}
int createRenderbuffer(lua_State* L) {
    checkArguments(L, "n");
    return createOne(L, gl().genRenderbuffers);
}

int deleteBuffer(lua_State* L) { return deleteOne(L, gl().deleteBuffers); }
int deleteFramebuffer(lua_State* L) { return deleteOne(L, gl().deleteFramebuffers); }
int deleteRenderbuffer(lua_State* L) { return deleteOne(L, gl().deleteRenderbuffers); }
int deleteTexture(lua_State* L) { return deleteOne(L, gl().deleteTextures); }

int getActiveAttrib(lua_State* L) {
    return queryActive(L, GL_ACTIVE_ATTRIBUTE_MAX_LENGTH, gl().getActiveAttrib);
}
int getActiveUniform(lua_State* L) { return queryActive(L, GL_ACTIVE_UNIFORM_MAX_LENGTH, gl().getActiveUniform); }

int getAttachedShaders(lua_State* L) {
    checkArguments(L, "n");
    const GLuint program = wholeUInt(L, 1);
    GLint count = 0;
    gl().getProgramiv(program, GL_ATTACHED_SHADERS, &count);
    const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
    auto* shaders = static_cast<GLuint*>(pushBuffer(L, n, sizeof(GLuint), n));
    if (!shaders) return 0;
    GLsizei written = 0;
    gl().getAttachedShaders(program, static_cast<GLsizei>(n), &written, shaders);
    pushNumbers(L, shaders, n, n);
    return 1;
}

int getProgramInfoLog(lua_State* L) {
    return queryText(L, gl().getProgramiv, GL_INFO_LOG_LENGTH, gl().getProgramInfoLog);
}
int getShaderInfoLog(lua_State* L) {
    return queryText(L, gl().getShaderiv, GL_INFO_LOG_LENGTH, gl().getShaderInfoLog);
}
int getShaderSource(lua_State* L) {
    return queryText(L, gl().getShaderiv, GL_SHADER_SOURCE_LENGTH, gl().getShaderSource);
}

int getProgramParameter(lua_State* L) { return queryParameter(L, gl().getProgramiv); }
int getShaderParameter(lua_State* L) { return queryParameter(L, gl().getShaderiv); }

int getTexParameter(lua_State* L) {
    checkArguments(L, "nn");
    const GLenum target = wholeUInt(L, 1);
    const GLenum pname = wholeUInt(L, 2);
    GLfloat value = 0;
    gl().getTexParameterfv(target, pname, &value);
    lua_pushnumber(L, value);
    return 1;
}

int getUniform(lua_State* L) {
    checkArguments(L, "nn");
    const GLuint program = wholeUInt(L, 1);
    // The location also names the active uniform whose type is asked.
    const GLint location = wholeInt(L, 2);
    ActiveVariable variable;
    if (!queryActiveVariable(L, program, static_cast<GLuint>(location), GL_ACTIVE_UNIFORM_MAX_LENGTH,
                             gl().getActiveUniform, &variable))
        return 0;
    size_t count = 0;
    bool integer = false;
    switch (variable.type) {
        case GL_FLOAT: count = 1; break;
        case GL_FLOAT_VEC2: count = 2; break;
        case GL_FLOAT_VEC3: count = 3; break;
        case GL_FLOAT_VEC4:
        case GL_FLOAT_MAT2: count = 4; break;
        case GL_FLOAT_MAT3: count = 9; break;
        case GL_FLOAT_MAT4: count = 16; break;
        case GL_INT: count = 1, integer = true; break;
        case GL_INT_VEC2: count = 2, integer = true; break;
        case GL_INT_VEC3: count = 3, integer = true; break;
        case GL_INT_VEC4: count = 4, integer = true; break;
        default: {
            tolua_Error err{2, 0, "location of a float or int uniform"};
            raiseArgumentError(L, &err);
            return 0;
        }
    }
    if (integer) {
        GLint values[4] = {};
        gl().getUniformiv(program, location, values);
        pushNumbers(L, values, count, count);
    } else {
        GLfloat values[16] = {};
        gl().getUniformfv(program, location, values);
        pushNumbers(L, values, count, count);
    }
    return 1;
}

int shaderSource(lua_State* L) {
    checkArguments(L, "ns");
    const GLuint shader = wholeUInt(L, 1);
    size_t size = 0;
    const char* source = lua_tolstring(L, 2, &size);
    if (!source) source = "";
    const GLint length = static_cast<GLint>(size);
    gl().shaderSource(shader, 1, &source, &length);
    return 0;
}

}  // namespace bindings::gltable
