#include "engine/renderer/GLRecorder.h"

#include <algorithm>
#include <cstring>

namespace engine {
namespace {

GLRecorder* g_recorder = nullptr;

size_t typeSize(GLenum type) {
    switch (type) {
        case GL_BYTE:
        case GL_UNSIGNED_BYTE: return 1;
        case GL_SHORT:
        case GL_UNSIGNED_SHORT: return 2;
        default: return 4;
    }
}

double d(double v) { return v; }

GLRecordedCall& rec(const char* name, std::vector<double> args = {}) {
    return GLRecorder::current()->add(name, std::move(args));
}

// Copies the enabled client arrays for vertices 0 .. vertexCount - 1.
void copyArrays(GLRecordedCall& call, size_t vertexCount) {
    GLRecorder* r = GLRecorder::current();
    for (GLuint i = 0; i < 16; ++i) {
        const GLRecorder::AttribPointer& a = r->_attribs[i];
        if (!a.enabled || a.buffer != 0 || !a.pointer) continue;
        GLRecordedArray array;
        array.index = i;
        array.size = a.size;
        array.type = a.type;
        array.normalized = a.normalized;
        size_t element = static_cast<size_t>(a.size) * typeSize(a.type);
        array.stride = a.stride ? a.stride : static_cast<GLsizei>(element);
        if (vertexCount) {
            size_t bytes = (vertexCount - 1) * static_cast<size_t>(array.stride) + element;
            const auto* src = static_cast<const unsigned char*>(a.pointer);
            array.bytes.assign(src, src + bytes);
            array.bytes.resize(vertexCount * static_cast<size_t>(array.stride));
        }
        call.arrays.push_back(std::move(array));
    }
}

GLFunctions makeRecording() {
    GLFunctions t;
    t.hasContext = true;
    t.activeTexture = [](GLenum e) { rec("glActiveTexture", {d(e)}); };
    t.attachShader = [](GLuint p, GLuint s) { rec("glAttachShader", {d(p), d(s)}); };
    t.bindAttribLocation = [](GLuint p, GLuint i, const GLchar* n) {
        rec("glBindAttribLocation", {d(p), d(i)}).text = n ? n : "";
    };
    t.bindBuffer = [](GLenum target, GLuint b) {
        rec("glBindBuffer", {d(target), d(b)});
        if (target == GL_ARRAY_BUFFER) GLRecorder::current()->_arrayBuffer = b;
        if (target == GL_ELEMENT_ARRAY_BUFFER) GLRecorder::current()->_elementBuffer = b;
    };
    t.bindTexture = [](GLenum target, GLuint tex) { rec("glBindTexture", {d(target), d(tex)}); };
    t.bindVertexArray = [](GLuint a) { rec("glBindVertexArray", {d(a)}); };
    t.blendFunc = [](GLenum s, GLenum dst) { rec("glBlendFunc", {d(s), d(dst)}); };
    t.clear = [](GLbitfield m) { rec("glClear", {d(m)}); };
    t.clearColor = [](GLfloat r, GLfloat g, GLfloat b, GLfloat a) { rec("glClearColor", {r, g, b, a}); };
    t.clearStencil = [](GLint v) { rec("glClearStencil", {d(v)}); };
    t.colorMask = [](GLboolean r, GLboolean g, GLboolean b, GLboolean a) {
        rec("glColorMask", {d(r), d(g), d(b), d(a)});
    };
    t.compileShader = [](GLuint s) { rec("glCompileShader", {d(s)}); };
    t.createProgram = []() -> GLuint {
        GLuint name = GLRecorder::current()->_nextName++;
        rec("glCreateProgram", {d(name)});
        return name;
    };
    t.createShader = [](GLenum type) -> GLuint {
        GLuint name = GLRecorder::current()->_nextName++;
        rec("glCreateShader", {d(type), d(name)});
        return name;
    };
    t.deleteProgram = [](GLuint p) { rec("glDeleteProgram", {d(p)}); };
    t.deleteShader = [](GLuint s) { rec("glDeleteShader", {d(s)}); };
    t.deleteTextures = [](GLsizei n, const GLuint* names) {
        std::vector<double> args{d(n)};
        for (GLsizei i = 0; i < n; ++i) args.push_back(names[i]);
        rec("glDeleteTextures", std::move(args));
    };
    t.disable = [](GLenum cap) { rec("glDisable", {d(cap)}); };
    t.disableVertexAttribArray = [](GLuint i) {
        rec("glDisableVertexAttribArray", {d(i)});
        if (i < 16) GLRecorder::current()->_attribs[i].enabled = false;
    };
    t.drawArrays = [](GLenum mode, GLint first, GLsizei count) {
        GLRecordedCall& call = rec("glDrawArrays", {d(mode), d(first), d(count)});
        if (first >= 0 && count > 0) copyArrays(call, static_cast<size_t>(first) + static_cast<size_t>(count));
    };
    t.drawElements = [](GLenum mode, GLsizei count, GLenum type, const void* indices) {
        GLRecordedCall& call = rec("glDrawElements", {d(mode), d(count), d(type)});
        if (GLRecorder::current()->_elementBuffer != 0 || !indices || count <= 0) return;
        uint32_t highest = 0;
        for (GLsizei i = 0; i < count; ++i) {
            uint32_t index = type == GL_UNSIGNED_BYTE    ? static_cast<const uint8_t*>(indices)[i]
                             : type == GL_UNSIGNED_SHORT ? static_cast<const uint16_t*>(indices)[i]
                                                         : static_cast<const uint32_t*>(indices)[i];
            call.indices.push_back(index);
            highest = std::max(highest, index);
        }
        copyArrays(call, static_cast<size_t>(highest) + 1);
    };
    t.enable = [](GLenum cap) { rec("glEnable", {d(cap)}); };
    t.enableVertexAttribArray = [](GLuint i) {
        rec("glEnableVertexAttribArray", {d(i)});
        if (i < 16) GLRecorder::current()->_attribs[i].enabled = true;
    };
    t.finish = []() { rec("glFinish"); };
    t.genTextures = [](GLsizei n, GLuint* names) {
        std::vector<double> args{d(n)};
        for (GLsizei i = 0; i < n; ++i) {
            names[i] = GLRecorder::current()->_nextName++;
            args.push_back(names[i]);
        }
        rec("glGenTextures", std::move(args));
    };
    t.getError = []() -> GLenum { return GL_NO_ERROR; };
    t.getProgramInfoLog = [](GLuint, GLsizei bufSize, GLsizei* length, GLchar* log) {
        if (length) *length = 0;
        if (log && bufSize > 0) log[0] = 0;
    };
    t.getProgramiv = [](GLuint, GLenum, GLint* params) { *params = GL_TRUE; };
    t.getShaderInfoLog = [](GLuint, GLsizei bufSize, GLsizei* length, GLchar* log) {
        if (length) *length = 0;
        if (log && bufSize > 0) log[0] = 0;
    };
    t.getShaderiv = [](GLuint, GLenum, GLint* params) { *params = GL_TRUE; };
    t.getUniformLocation = [](GLuint program, const GLchar* name) -> GLint {
        auto& counters = GLRecorder::current()->_uniformCounters;
        auto it = std::find_if(counters.begin(), counters.end(), [&](auto& c) { return c.first == program; });
        if (it == counters.end()) it = counters.insert(counters.end(), {program, 0});
        GLint location = it->second++;
        rec("glGetUniformLocation", {d(program), d(location)}).text = name ? name : "";
        return location;
    };
    t.lineWidth = [](GLfloat w) { rec("glLineWidth", {w}); };
    t.linkProgram = [](GLuint p) { rec("glLinkProgram", {d(p)}); };
    t.pixelStorei = [](GLenum pname, GLint v) { rec("glPixelStorei", {d(pname), d(v)}); };
    t.readPixels = [](GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type, void* pixels) {
        rec("glReadPixels", {d(x), d(y), d(w), d(h), d(format), d(type)});
        size_t channels = format == GL_RGBA ? 4 : format == GL_RGB ? 3 : 1;
        if (pixels && w > 0 && h > 0)
            std::memset(pixels, 0, static_cast<size_t>(w) * static_cast<size_t>(h) * channels * typeSize(type));
    };
    t.stencilFunc = [](GLenum f, GLint ref, GLuint mask) { rec("glStencilFunc", {d(f), d(ref), d(mask)}); };
    t.stencilMask = [](GLuint mask) { rec("glStencilMask", {d(mask)}); };
    t.stencilOp = [](GLenum a, GLenum b, GLenum c) { rec("glStencilOp", {d(a), d(b), d(c)}); };
    t.scissor = [](GLint x, GLint y, GLsizei w, GLsizei h) { rec("glScissor", {d(x), d(y), d(w), d(h)}); };
    t.shaderSource = [](GLuint s, GLsizei count, const GLchar* const* strings, const GLint* lengths) {
        std::string text;
        for (GLsizei i = 0; i < count; ++i) {
            if (lengths && lengths[i] >= 0)
                text.append(strings[i], static_cast<size_t>(lengths[i]));
            else
                text.append(strings[i]);
        }
        rec("glShaderSource", {d(s)}).text = std::move(text);
    };
    t.texImage2D = [](GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border, GLenum format,
                      GLenum type, const void* data) {
        GLRecordedCall& call =
            rec("glTexImage2D", {d(target), d(level), d(internal), d(w), d(h), d(border), d(format), d(type)});
        const size_t bytesPerPixel = format == GL_RGB ? 3 : format == GL_ALPHA ? 1 : 4;
        if (data && w > 0 && h > 0) {
            const auto* bytes = static_cast<const unsigned char*>(data);
            call.pixels.assign(bytes, bytes + static_cast<size_t>(w) * static_cast<size_t>(h) * bytesPerPixel);
        }
    };
    t.texParameteri = [](GLenum target, GLenum pname, GLint v) { rec("glTexParameteri", {d(target), d(pname), d(v)}); };
    t.texSubImage2D = [](GLenum target, GLint level, GLint x, GLint y, GLsizei w, GLsizei h, GLenum format,
                         GLenum type, const void* data) {
        GLRecordedCall& call =
            rec("glTexSubImage2D", {d(target), d(level), d(x), d(y), d(w), d(h), d(format), d(type)});
        const size_t bytesPerPixel = format == GL_RGB ? 3 : format == GL_ALPHA ? 1 : 4;
        if (data && w > 0 && h > 0) {
            const auto* bytes = static_cast<const unsigned char*>(data);
            call.pixels.assign(bytes, bytes + static_cast<size_t>(w) * static_cast<size_t>(h) * bytesPerPixel);
        }
    };
    t.uniform1f = [](GLint l, GLfloat v) { rec("glUniform1f", {d(l), v}); };
    t.uniform1i = [](GLint l, GLint v) { rec("glUniform1i", {d(l), d(v)}); };
    t.uniform4f = [](GLint l, GLfloat a, GLfloat b, GLfloat c, GLfloat e) { rec("glUniform4f", {d(l), a, b, c, e}); };
    t.uniformMatrix4fv = [](GLint l, GLsizei count, GLboolean transpose, const GLfloat* v) {
        GLRecordedCall& call = rec("glUniformMatrix4fv", {d(l), d(count), d(transpose)});
        if (v && count > 0) call.floats.assign(v, v + 16 * static_cast<size_t>(count));
    };
    t.useProgram = [](GLuint p) { rec("glUseProgram", {d(p)}); };
    t.vertexAttribPointer = [](GLuint i, GLint size, GLenum type, GLboolean norm, GLsizei stride, const void* ptr) {
        rec("glVertexAttribPointer", {d(i), d(size), d(type), d(norm), d(stride)});
        GLRecorder* r = GLRecorder::current();
        if (i < 16) r->_attribs[i] = {r->_attribs[i].enabled, size, type, norm == GL_TRUE, stride, ptr, r->_arrayBuffer};
    };
    t.viewport = [](GLint x, GLint y, GLsizei w, GLsizei h) { rec("glViewport", {d(x), d(y), d(w), d(h)}); };
    t.clearDepth = [](GLdouble v) { rec("glClearDepth", {v}); };
    t.cullFace = [](GLenum m) { rec("glCullFace", {d(m)}); };
    t.depthFunc = [](GLenum f) { rec("glDepthFunc", {d(f)}); };
    t.depthMask = [](GLboolean f) { rec("glDepthMask", {d(f)}); };
    t.frontFace = [](GLenum m) { rec("glFrontFace", {d(m)}); };
    t.bindFramebuffer = [](GLenum target, GLuint f) { rec("glBindFramebuffer", {d(target), d(f)}); };
    t.checkFramebufferStatus = [](GLenum target) -> GLenum {
        rec("glCheckFramebufferStatus", {d(target)});
        return GL_FRAMEBUFFER_COMPLETE;
    };
    t.deleteFramebuffers = [](GLsizei n, const GLuint* names) {
        std::vector<double> args{d(n)};
        for (GLsizei i = 0; i < n; ++i) args.push_back(names[i]);
        rec("glDeleteFramebuffers", std::move(args));
    };
    t.framebufferTexture2D = [](GLenum target, GLenum attachment, GLenum textarget, GLuint tex, GLint level) {
        rec("glFramebufferTexture2D", {d(target), d(attachment), d(textarget), d(tex), d(level)});
    };
    t.genFramebuffers = [](GLsizei n, GLuint* names) {
        std::vector<double> args{d(n)};
        for (GLsizei i = 0; i < n; ++i) {
            names[i] = GLRecorder::current()->_nextName++;
            args.push_back(names[i]);
        }
        rec("glGenFramebuffers", std::move(args));
    };
    return t;
}

}  // namespace

float GLRecordedArray::floatAt(size_t vertex, int component) const {
    float value = 0;
    std::memcpy(&value, bytes.data() + vertex * static_cast<size_t>(stride) + 4 * static_cast<size_t>(component), 4);
    return value;
}

unsigned GLRecordedArray::ubyteAt(size_t vertex, int component) const {
    return bytes[vertex * static_cast<size_t>(stride) + static_cast<size_t>(component)];
}

const GLRecordedArray* GLRecordedCall::array(GLuint index) const {
    for (const GLRecordedArray& a : arrays) {
        if (a.index == index) return &a;
    }
    return nullptr;
}

GLRecorder::GLRecorder() {
    g_recorder = this;
    GL::setFunctions(makeRecording());
}

GLRecorder::~GLRecorder() {
    GL::setFunctions(GL::noopFunctions());
    g_recorder = nullptr;
}

GLRecorder* GLRecorder::current() { return g_recorder; }

GLRecordedCall& GLRecorder::add(std::string name, std::vector<double> args) {
    GLRecordedCall& call = _calls.emplace_back();
    call.name = std::move(name);
    call.args = std::move(args);
    return call;
}

std::vector<const GLRecordedCall*> GLRecorder::callsNamed(std::string_view name) const {
    std::vector<const GLRecordedCall*> found;
    for (const GLRecordedCall& call : _calls) {
        if (call.name == name) found.push_back(&call);
    }
    return found;
}

size_t GLRecorder::count(std::string_view name) const { return callsNamed(name).size(); }

std::vector<const GLRecordedCall*> GLRecorder::draws() const {
    std::vector<const GLRecordedCall*> found;
    for (const GLRecordedCall& call : _calls) {
        if (call.name == "glDrawElements" || call.name == "glDrawArrays") found.push_back(&call);
    }
    return found;
}

}  // namespace engine
