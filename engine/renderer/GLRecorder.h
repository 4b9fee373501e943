#pragma once
// A GL table for tests: while a GLRecorder lives, every GL call of the engine is
// logged in order with its arguments instead of reaching a context, queries
// included. Each call also keeps a copy of what GL would read from client
// memory: the values of the uniform and vertex-attribute arrays, the data of
// buffer and compressed uploads, the pixels of texture uploads (under the unpack
// alignment), the index array of glDrawElements and, for every enabled vertex
// attribute set by pointer, the bytes of every vertex the draw reads.
//
// It behaves as a small context: objects get names counting from 1 and exist
// until deleted (the is* queries answer that), enabled capabilities, shader
// sources, attached shaders, texture float parameters and the pixel-store
// alignments are remembered; shaders compile and programs link; uniform
// locations count from 0 per program. What a test wants answered it sets in the
// public fields below (the active variables of every program, uniform values,
// info logs, the extension string, the next error, the read-back bytes).
// Only one recorder at a time; its destructor installs the no-op table. Main
// thread only.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/renderer/GLFunctions.h"

namespace engine {

struct GLRecordedArray {
    GLuint index = 0;
    GLint size = 0;
    GLenum type = 0;
    bool normalized = false;
    GLsizei stride = 0;                 // effective stride in bytes
    std::vector<unsigned char> bytes;   // vertices 0 .. last read, stride apart

    size_t vertexCount() const { return stride ? bytes.size() / static_cast<size_t>(stride) : 0; }
    float floatAt(size_t vertex, int component) const;            // type GL_FLOAT
    unsigned ubyteAt(size_t vertex, int component) const;         // type GL_UNSIGNED_BYTE
};

struct GLRecordedCall {
    std::string name;                   // the GL name, e.g. "glDrawElements"
    std::vector<double> args;           // the numeric arguments in order (pointers left out)
    std::string text;                   // a string argument (shader source, uniform or attribute name; "(null)" for null)
    std::vector<float> floats;          // glUniform*fv, glUniformMatrix*fv, glVertexAttrib*fv: the values read
    std::vector<int32_t> ints;          // glUniform*iv: the values read
    std::vector<unsigned char> bytes;   // glBufferData, glBufferSubData, glCompressedTex*: the data read
    std::vector<uint32_t> indices;      // glDrawElements: the indices read
    std::vector<unsigned char> pixels;  // glTexImage2D, glTexSubImage2D: the pixels read (none for a null pointer)
    std::vector<GLRecordedArray> arrays;   // draws: the enabled client arrays, by attribute index

    const GLRecordedArray* array(GLuint index) const;
};

class GLRecorder {
public:
    GLRecorder();
    ~GLRecorder();
    GLRecorder(const GLRecorder&) = delete;
    GLRecorder& operator=(const GLRecorder&) = delete;

    const std::vector<GLRecordedCall>& calls() const { return _calls; }
    std::vector<const GLRecordedCall*> callsNamed(std::string_view name) const;
    size_t count(std::string_view name) const;
    // The draw calls (glDrawElements and glDrawArrays) in order.
    std::vector<const GLRecordedCall*> draws() const;
    // Forgets the calls so far (object names and bound state stay).
    void clear() { _calls.clear(); }

    // ---- What the recorder answers
    struct ActiveVariable {
        GLint size = 1;
        GLenum type = GL_FLOAT;
        std::string name;
        GLint location = -1;   // attributes: what glGetAttribLocation answers; -1: the index
    };
    // The active attributes and uniforms of every program, by index.
    std::vector<ActiveVariable> activeAttributes;
    std::vector<ActiveVariable> activeUniforms;
    // glGetUniformfv / glGetUniformiv write as many of these as the uniform at
    // that location (= index in activeUniforms) has components, 0 past the end.
    std::vector<float> uniformValues;
    // The info log of every program and shader.
    std::string infoLog;
    // glGetString(GL_EXTENSIONS).
    std::string extensions;
    // Answered once by the next glGetError.
    GLenum error = GL_NO_ERROR;
    // glReadPixels writes these bytes first, then zeros.
    std::vector<unsigned char> readBack;

    // Used by the recording table.
    static GLRecorder* current();
    GLRecordedCall& add(std::string name, std::vector<double> args = {});

    struct AttribPointer {
        bool enabled = false;
        GLint size = 0;
        GLenum type = 0;
        bool normalized = false;
        GLsizei stride = 0;
        const void* pointer = nullptr;
        GLuint buffer = 0;   // the array buffer bound when the pointer was set
    };
    enum class ObjectKind { Buffer, Framebuffer, Program, Renderbuffer, Shader, Texture };
    AttribPointer _attribs[16];
    GLuint _arrayBuffer = 0;
    GLuint _elementBuffer = 0;
    GLuint _nextName = 1;
    GLint _packAlignment = 4;
    GLint _unpackAlignment = 4;
    std::map<GLuint, ObjectKind> _objects;
    std::vector<GLenum> _enabled;
    std::map<GLuint, std::string> _shaderSources;
    std::map<GLuint, std::vector<GLuint>> _attached;
    std::map<GLenum, GLfloat> _texParameters;
    std::vector<std::pair<GLuint, GLint>> _uniformCounters;   // program, next location

private:
    std::vector<GLRecordedCall> _calls;
};

}  // namespace engine
