#include "engine/renderer/GLRecorder.h"

#include <algorithm>
#include <cstring>

#include "engine/renderer/GLImageSize.h"

namespace engine {
namespace {

GLRecorder* g_recorder = nullptr;
using Kind = GLRecorder::ObjectKind;

GLRecorder& r() { return *GLRecorder::current(); }

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

// The text logged for a null string (GL would crash on it).
const char* const kNull = "(null)";

GLRecordedCall& rec(const char* name, std::vector<double> args = {}) {
    return GLRecorder::current()->add(name, std::move(args));
}

// Components GL reads or writes for one uniform of the type.
size_t uniformComponents(GLenum type) {
    switch (type) {
        case GL_FLOAT_VEC2:
        case GL_INT_VEC2:
        case GL_BOOL_VEC2: return 2;
        case GL_FLOAT_VEC3:
        case GL_INT_VEC3:
        case GL_BOOL_VEC3: return 3;
        case GL_FLOAT_VEC4:
        case GL_INT_VEC4:
        case GL_BOOL_VEC4:
        case GL_FLOAT_MAT2: return 4;
        case GL_FLOAT_MAT3: return 9;
        case GL_FLOAT_MAT4: return 16;
        default: return 1;
    }
}

template <class T>
std::vector<T> copyOf(const T* values, GLsizei count, size_t per) {
    if (!values || count <= 0) return {};
    return std::vector<T>(values, values + static_cast<size_t>(count) * per);
}

std::vector<unsigned char> bytesOf(const void* data, size_t size) {
    if (!data || size == 0) return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}

void makeObjects(Kind kind, const char* name, GLsizei n, GLuint* names) {
    std::vector<double> args{d(n)};
    for (GLsizei i = 0; i < n; ++i) {
        names[i] = r()._nextName++;
        r()._objects[names[i]] = kind;
        args.push_back(names[i]);
    }
    rec(name, std::move(args));
}

void deleteObjects(Kind kind, const char* name, GLsizei n, const GLuint* names) {
    std::vector<double> args{d(n)};
    for (GLsizei i = 0; i < n; ++i) {
        args.push_back(names[i]);
        auto it = r()._objects.find(names[i]);
        if (it != r()._objects.end() && it->second == kind) r()._objects.erase(it);
    }
    rec(name, std::move(args));
}

GLboolean isObject(Kind kind, GLuint name) {
    auto it = r()._objects.find(name);
    return it != r()._objects.end() && it->second == kind ? GL_TRUE : GL_FALSE;
}

// Writes text as GL does: at most bufSize - 1 characters and a terminator.
void writeText(const std::string& text, GLsizei bufSize, GLsizei* length, GLchar* out) {
    GLsizei written = 0;
    if (out && bufSize > 0) {
        written = static_cast<GLsizei>(std::min(text.size(), static_cast<size_t>(bufSize - 1)));
        std::memcpy(out, text.data(), static_cast<size_t>(written));
        out[written] = 0;
    }
    if (length) *length = written;
}

// A text length as GL reports it: with its terminator, 0 for none.
GLint textLength(const std::string& text) { return text.empty() ? 0 : static_cast<GLint>(text.size() + 1); }

GLint maxNameLength(const std::vector<GLRecorder::ActiveVariable>& variables) {
    GLint longest = 0;
    for (const auto& v : variables) longest = std::max(longest, textLength(v.name));
    return longest;
}

void getActive(const std::vector<GLRecorder::ActiveVariable>& variables, const char* name, GLuint program,
               GLuint index, GLsizei bufSize, GLsizei* length, GLint* size, GLenum* type, GLchar* out) {
    rec(name, {d(program), d(index), d(bufSize)});
    if (index >= variables.size()) return;   // GL_INVALID_VALUE: nothing written
    const GLRecorder::ActiveVariable& v = variables[index];
    writeText(v.name, bufSize, length, out);
    *size = v.size;
    *type = v.type;
}

template <class T>
void getUniform(const char* name, GLuint program, GLint location, T* params) {
    rec(name, {d(program), d(location)});
    const auto& uniforms = r().activeUniforms;
    if (location < 0 || static_cast<size_t>(location) >= uniforms.size()) return;
    const size_t n = uniformComponents(uniforms[static_cast<size_t>(location)].type);
    for (size_t i = 0; i < n; ++i)
        params[i] = static_cast<T>(i < r().uniformValues.size() ? r().uniformValues[i] : 0.0f);
}

// Copies the enabled client arrays for vertices 0 .. vertexCount - 1.
void copyArrays(GLRecordedCall& call, size_t vertexCount) {
    GLRecorder* rc = GLRecorder::current();
    for (GLuint i = 0; i < 16; ++i) {
        const GLRecorder::AttribPointer& a = rc->_attribs[i];
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

void texImage(const char* name, std::vector<double> args, GLsizei w, GLsizei h, GLenum format, GLenum type,
              const void* data) {
    GLRecordedCall& call = rec(name, std::move(args));
    call.pixels = bytesOf(data, GL::imageBytes(w, h, format, type, r()._unpackAlignment));
}

GLFunctions makeRecording() {
    GLFunctions t;
    t.hasContext = true;
    t.activeTexture = [](GLenum e) { rec("glActiveTexture", {d(e)}); };
    t.attachShader = [](GLuint p, GLuint s) {
        rec("glAttachShader", {d(p), d(s)});
        auto& shaders = r()._attached[p];
        if (std::find(shaders.begin(), shaders.end(), s) == shaders.end()) shaders.push_back(s);
    };
    t.bindAttribLocation = [](GLuint p, GLuint i, const GLchar* n) {
        rec("glBindAttribLocation", {d(p), d(i)}).text = n ? n : kNull;
    };
    t.bindBuffer = [](GLenum target, GLuint b) {
        rec("glBindBuffer", {d(target), d(b)});
        if (target == GL_ARRAY_BUFFER) r()._arrayBuffer = b;
        if (target == GL_ELEMENT_ARRAY_BUFFER) r()._elementBuffer = b;
    };
    t.bindFramebuffer = [](GLenum target, GLuint f) { rec("glBindFramebuffer", {d(target), d(f)}); };
    t.bindRenderbuffer = [](GLenum target, GLuint b) { rec("glBindRenderbuffer", {d(target), d(b)}); };
    t.bindTexture = [](GLenum target, GLuint tex) { rec("glBindTexture", {d(target), d(tex)}); };
    t.bindVertexArray = [](GLuint a) { rec("glBindVertexArray", {d(a)}); };
    t.blendColor = [](GLfloat cr, GLfloat g, GLfloat b, GLfloat a) { rec("glBlendColor", {cr, g, b, a}); };
    t.blendEquation = [](GLenum m) { rec("glBlendEquation", {d(m)}); };
    t.blendEquationSeparate = [](GLenum c, GLenum a) { rec("glBlendEquationSeparate", {d(c), d(a)}); };
    t.blendFunc = [](GLenum s, GLenum dst) { rec("glBlendFunc", {d(s), d(dst)}); };
    t.blendFuncSeparate = [](GLenum a, GLenum b, GLenum c, GLenum e) {
        rec("glBlendFuncSeparate", {d(a), d(b), d(c), d(e)});
    };
    t.bufferData = [](GLenum target, GLsizeiptr size, const void* data, GLenum usage) {
        rec("glBufferData", {d(target), d(static_cast<double>(size)), d(usage)}).bytes =
            bytesOf(data, size > 0 ? static_cast<size_t>(size) : 0);
    };
    t.bufferSubData = [](GLenum target, GLintptr offset, GLsizeiptr size, const void* data) {
        rec("glBufferSubData", {d(target), d(static_cast<double>(offset)), d(static_cast<double>(size))}).bytes =
            bytesOf(data, size > 0 ? static_cast<size_t>(size) : 0);
    };
    t.checkFramebufferStatus = [](GLenum target) -> GLenum {
        rec("glCheckFramebufferStatus", {d(target)});
        return GL_FRAMEBUFFER_COMPLETE;
    };
    t.clear = [](GLbitfield m) { rec("glClear", {d(m)}); };
    t.clearColor = [](GLfloat cr, GLfloat g, GLfloat b, GLfloat a) { rec("glClearColor", {cr, g, b, a}); };
    t.clearDepth = [](GLdouble v) { rec("glClearDepth", {v}); };
    t.clearDepthf = [](GLfloat v) { rec("glClearDepthf", {v}); };
    t.clearStencil = [](GLint v) { rec("glClearStencil", {d(v)}); };
    t.colorMask = [](GLboolean cr, GLboolean g, GLboolean b, GLboolean a) {
        rec("glColorMask", {d(cr), d(g), d(b), d(a)});
    };
    t.compileShader = [](GLuint s) { rec("glCompileShader", {d(s)}); };
    t.compressedTexImage2D = [](GLenum target, GLint level, GLenum internal, GLsizei w, GLsizei h, GLint border,
                                GLsizei imageSize, const void* data) {
        rec("glCompressedTexImage2D", {d(target), d(level), d(internal), d(w), d(h), d(border), d(imageSize)}).bytes =
            bytesOf(data, imageSize > 0 ? static_cast<size_t>(imageSize) : 0);
    };
    t.compressedTexSubImage2D = [](GLenum target, GLint level, GLint x, GLint y, GLsizei w, GLsizei h, GLenum format,
                                   GLsizei imageSize, const void* data) {
        rec("glCompressedTexSubImage2D", {d(target), d(level), d(x), d(y), d(w), d(h), d(format), d(imageSize)})
            .bytes = bytesOf(data, imageSize > 0 ? static_cast<size_t>(imageSize) : 0);
    };
    t.copyTexImage2D = [](GLenum target, GLint level, GLenum internal, GLint x, GLint y, GLsizei w, GLsizei h,
                          GLint border) {
        rec("glCopyTexImage2D", {d(target), d(level), d(internal), d(x), d(y), d(w), d(h), d(border)});
    };
    t.copyTexSubImage2D = [](GLenum target, GLint level, GLint xo, GLint yo, GLint x, GLint y, GLsizei w, GLsizei h) {
        rec("glCopyTexSubImage2D", {d(target), d(level), d(xo), d(yo), d(x), d(y), d(w), d(h)});
    };
    t.createProgram = []() -> GLuint {
        GLuint name = r()._nextName++;
        r()._objects[name] = Kind::Program;
        rec("glCreateProgram", {d(name)});
        return name;
    };
    t.createShader = [](GLenum type) -> GLuint {
        GLuint name = r()._nextName++;
        r()._objects[name] = Kind::Shader;
        rec("glCreateShader", {d(type), d(name)});
        return name;
    };
    t.cullFace = [](GLenum m) { rec("glCullFace", {d(m)}); };
    t.deleteBuffers = [](GLsizei n, const GLuint* names) { deleteObjects(Kind::Buffer, "glDeleteBuffers", n, names); };
    t.deleteFramebuffers = [](GLsizei n, const GLuint* names) {
        deleteObjects(Kind::Framebuffer, "glDeleteFramebuffers", n, names);
    };
    t.deleteProgram = [](GLuint p) {
        rec("glDeleteProgram", {d(p)});
        if (isObject(Kind::Program, p)) r()._objects.erase(p);
    };
    t.deleteRenderbuffers = [](GLsizei n, const GLuint* names) {
        deleteObjects(Kind::Renderbuffer, "glDeleteRenderbuffers", n, names);
    };
    t.deleteShader = [](GLuint s) {
        rec("glDeleteShader", {d(s)});
        if (isObject(Kind::Shader, s)) r()._objects.erase(s);
    };
    t.deleteTextures = [](GLsizei n, const GLuint* names) { deleteObjects(Kind::Texture, "glDeleteTextures", n, names); };
    t.depthFunc = [](GLenum f) { rec("glDepthFunc", {d(f)}); };
    t.depthMask = [](GLboolean f) { rec("glDepthMask", {d(f)}); };
    t.depthRangef = [](GLfloat n, GLfloat f) { rec("glDepthRangef", {n, f}); };
    t.detachShader = [](GLuint p, GLuint s) {
        rec("glDetachShader", {d(p), d(s)});
        auto& shaders = r()._attached[p];
        shaders.erase(std::remove(shaders.begin(), shaders.end(), s), shaders.end());
    };
    t.disable = [](GLenum cap) {
        rec("glDisable", {d(cap)});
        auto& caps = r()._enabled;
        caps.erase(std::remove(caps.begin(), caps.end(), cap), caps.end());
    };
    t.disableVertexAttribArray = [](GLuint i) {
        rec("glDisableVertexAttribArray", {d(i)});
        if (i < 16) r()._attribs[i].enabled = false;
    };
    t.drawArrays = [](GLenum mode, GLint first, GLsizei count) {
        GLRecordedCall& call = rec("glDrawArrays", {d(mode), d(first), d(count)});
        if (first >= 0 && count > 0) copyArrays(call, static_cast<size_t>(first) + static_cast<size_t>(count));
    };
    t.drawElements = [](GLenum mode, GLsizei count, GLenum type, const void* indices) {
        GLRecordedCall& call = rec("glDrawElements", {d(mode), d(count), d(type)});
        if (r()._elementBuffer != 0 || !indices || count <= 0) return;
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
    t.enable = [](GLenum cap) {
        rec("glEnable", {d(cap)});
        auto& caps = r()._enabled;
        if (std::find(caps.begin(), caps.end(), cap) == caps.end()) caps.push_back(cap);
    };
    t.enableVertexAttribArray = [](GLuint i) {
        rec("glEnableVertexAttribArray", {d(i)});
        if (i < 16) r()._attribs[i].enabled = true;
    };
    t.finish = []() { rec("glFinish"); };
    t.flush = []() { rec("glFlush"); };
    t.framebufferRenderbuffer = [](GLenum target, GLenum attachment, GLenum rbTarget, GLuint rb) {
        rec("glFramebufferRenderbuffer", {d(target), d(attachment), d(rbTarget), d(rb)});
    };
    t.framebufferTexture2D = [](GLenum target, GLenum attachment, GLenum texTarget, GLuint tex, GLint level) {
        rec("glFramebufferTexture2D", {d(target), d(attachment), d(texTarget), d(tex), d(level)});
    };
    t.frontFace = [](GLenum m) { rec("glFrontFace", {d(m)}); };
    t.genBuffers = [](GLsizei n, GLuint* names) { makeObjects(Kind::Buffer, "glGenBuffers", n, names); };
    t.generateMipmap = [](GLenum target) { rec("glGenerateMipmap", {d(target)}); };
    t.genFramebuffers = [](GLsizei n, GLuint* names) { makeObjects(Kind::Framebuffer, "glGenFramebuffers", n, names); };
    t.genRenderbuffers = [](GLsizei n, GLuint* names) {
        makeObjects(Kind::Renderbuffer, "glGenRenderbuffers", n, names);
    };
    t.genTextures = [](GLsizei n, GLuint* names) { makeObjects(Kind::Texture, "glGenTextures", n, names); };
    t.getActiveAttrib = [](GLuint p, GLuint i, GLsizei bufSize, GLsizei* length, GLint* size, GLenum* type,
                           GLchar* name) {
        getActive(r().activeAttributes, "glGetActiveAttrib", p, i, bufSize, length, size, type, name);
    };
    t.getActiveUniform = [](GLuint p, GLuint i, GLsizei bufSize, GLsizei* length, GLint* size, GLenum* type,
                            GLchar* name) {
        getActive(r().activeUniforms, "glGetActiveUniform", p, i, bufSize, length, size, type, name);
    };
    t.getAttachedShaders = [](GLuint p, GLsizei maxCount, GLsizei* count, GLuint* shaders) {
        rec("glGetAttachedShaders", {d(p), d(maxCount)});
        const auto& attached = r()._attached[p];
        GLsizei n = 0;
        for (; n < maxCount && static_cast<size_t>(n) < attached.size(); ++n) shaders[n] = attached[static_cast<size_t>(n)];
        if (count) *count = n;
    };
    t.getAttribLocation = [](GLuint p, const GLchar* name) -> GLint {
        std::string text = name ? name : kNull;
        rec("glGetAttribLocation", {d(p)}).text = text;
        const auto& attributes = r().activeAttributes;
        for (size_t i = 0; i < attributes.size(); ++i) {
            if (attributes[i].name == text) return attributes[i].location >= 0 ? attributes[i].location : static_cast<GLint>(i);
        }
        return -1;
    };
    t.getError = []() -> GLenum {
        rec("glGetError");
        GLenum e = r().error;
        r().error = GL_NO_ERROR;
        return e;
    };
    t.getIntegerv = [](GLenum pname, GLint* data) {
        rec("glGetIntegerv", {d(pname)});
        switch (pname) {
            case GL_PACK_ALIGNMENT: *data = r()._packAlignment; break;
            case GL_UNPACK_ALIGNMENT: *data = r()._unpackAlignment; break;
            case GL_MAX_VERTEX_ATTRIBS: *data = 16; break;
            case GL_ARRAY_BUFFER_BINDING: *data = static_cast<GLint>(r()._arrayBuffer); break;
            case GL_ELEMENT_ARRAY_BUFFER_BINDING: *data = static_cast<GLint>(r()._elementBuffer); break;
            default: *data = 0; break;
        }
    };
    t.getProgramInfoLog = [](GLuint p, GLsizei bufSize, GLsizei* length, GLchar* log) {
        rec("glGetProgramInfoLog", {d(p), d(bufSize)});
        writeText(r().infoLog, bufSize, length, log);
    };
    t.getProgramiv = [](GLuint p, GLenum pname, GLint* params) {
        rec("glGetProgramiv", {d(p), d(pname)});
        const GLRecorder& rc = r();
        switch (pname) {
            case GL_INFO_LOG_LENGTH: *params = textLength(rc.infoLog); break;
            case GL_ATTACHED_SHADERS: *params = static_cast<GLint>(r()._attached[p].size()); break;
            case GL_ACTIVE_ATTRIBUTES: *params = static_cast<GLint>(rc.activeAttributes.size()); break;
            case GL_ACTIVE_ATTRIBUTE_MAX_LENGTH: *params = maxNameLength(rc.activeAttributes); break;
            case GL_ACTIVE_UNIFORMS: *params = static_cast<GLint>(rc.activeUniforms.size()); break;
            case GL_ACTIVE_UNIFORM_MAX_LENGTH: *params = maxNameLength(rc.activeUniforms); break;
            default: *params = GL_TRUE; break;   // link, validate and delete status
        }
    };
    t.getShaderInfoLog = [](GLuint s, GLsizei bufSize, GLsizei* length, GLchar* log) {
        rec("glGetShaderInfoLog", {d(s), d(bufSize)});
        writeText(r().infoLog, bufSize, length, log);
    };
    t.getShaderiv = [](GLuint s, GLenum pname, GLint* params) {
        rec("glGetShaderiv", {d(s), d(pname)});
        switch (pname) {
            case GL_INFO_LOG_LENGTH: *params = textLength(r().infoLog); break;
            case GL_SHADER_SOURCE_LENGTH: *params = textLength(r()._shaderSources[s]); break;
            default: *params = GL_TRUE; break;   // compile and delete status
        }
    };
    t.getShaderSource = [](GLuint s, GLsizei bufSize, GLsizei* length, GLchar* source) {
        rec("glGetShaderSource", {d(s), d(bufSize)});
        writeText(r()._shaderSources[s], bufSize, length, source);
    };
    t.getString = [](GLenum name) -> const GLubyte* {
        rec("glGetString", {d(name)});
        const char* text = name == GL_EXTENSIONS ? r().extensions.c_str()
                           : name == GL_VERSION  ? "2.1 GLRecorder"
                           : name == GL_SHADING_LANGUAGE_VERSION ? "1.20"
                                                                 : "GLRecorder";
        return reinterpret_cast<const GLubyte*>(text);
    };
    t.getTexParameterfv = [](GLenum target, GLenum pname, GLfloat* params) {
        rec("glGetTexParameterfv", {d(target), d(pname)});
        auto it = r()._texParameters.find(pname);
        *params = it == r()._texParameters.end() ? 0.0f : it->second;
    };
    t.getUniformfv = [](GLuint p, GLint l, GLfloat* params) { getUniform("glGetUniformfv", p, l, params); };
    t.getUniformiv = [](GLuint p, GLint l, GLint* params) { getUniform("glGetUniformiv", p, l, params); };
    t.getUniformLocation = [](GLuint program, const GLchar* name) -> GLint {
        auto& counters = r()._uniformCounters;
        auto it = std::find_if(counters.begin(), counters.end(), [&](auto& c) { return c.first == program; });
        if (it == counters.end()) it = counters.insert(counters.end(), {program, 0});
        GLint location = it->second++;
        rec("glGetUniformLocation", {d(program), d(location)}).text = name ? name : kNull;
        return location;
    };
    t.hint = [](GLenum target, GLenum mode) { rec("glHint", {d(target), d(mode)}); };
    t.isBuffer = [](GLuint n) -> GLboolean { rec("glIsBuffer", {d(n)}); return isObject(Kind::Buffer, n); };
    t.isEnabled = [](GLenum cap) -> GLboolean {
        rec("glIsEnabled", {d(cap)});
        const auto& caps = r()._enabled;
        return std::find(caps.begin(), caps.end(), cap) != caps.end() ? GL_TRUE : GL_FALSE;
    };
    t.isFramebuffer = [](GLuint n) -> GLboolean {
        rec("glIsFramebuffer", {d(n)});
        return isObject(Kind::Framebuffer, n);
    };
    t.isProgram = [](GLuint n) -> GLboolean { rec("glIsProgram", {d(n)}); return isObject(Kind::Program, n); };
    t.isRenderbuffer = [](GLuint n) -> GLboolean {
        rec("glIsRenderbuffer", {d(n)});
        return isObject(Kind::Renderbuffer, n);
    };
    t.isShader = [](GLuint n) -> GLboolean { rec("glIsShader", {d(n)}); return isObject(Kind::Shader, n); };
    t.isTexture = [](GLuint n) -> GLboolean { rec("glIsTexture", {d(n)}); return isObject(Kind::Texture, n); };
    t.lineWidth = [](GLfloat w) { rec("glLineWidth", {w}); };
    t.linkProgram = [](GLuint p) { rec("glLinkProgram", {d(p)}); };
    t.pixelStorei = [](GLenum pname, GLint v) {
        rec("glPixelStorei", {d(pname), d(v)});
        if (v != 1 && v != 2 && v != 4 && v != 8) return;   // GL_INVALID_VALUE
        if (pname == GL_PACK_ALIGNMENT) r()._packAlignment = v;
        if (pname == GL_UNPACK_ALIGNMENT) r()._unpackAlignment = v;
    };
    t.polygonOffset = [](GLfloat f, GLfloat u) { rec("glPolygonOffset", {f, u}); };
    t.readPixels = [](GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type, void* pixels) {
        rec("glReadPixels", {d(x), d(y), d(w), d(h), d(format), d(type)});
        const size_t size = GL::imageBytes(w, h, format, type, r()._packAlignment);
        if (!pixels || size == 0) return;
        auto* out = static_cast<unsigned char*>(pixels);
        const std::vector<unsigned char>& back = r().readBack;
        for (size_t i = 0; i < size; ++i) out[i] = i < back.size() ? back[i] : 0;
    };
    t.releaseShaderCompiler = []() { rec("glReleaseShaderCompiler"); };
    t.renderbufferStorage = [](GLenum target, GLenum internal, GLsizei w, GLsizei h) {
        rec("glRenderbufferStorage", {d(target), d(internal), d(w), d(h)});
    };
    t.sampleCoverage = [](GLfloat v, GLboolean invert) { rec("glSampleCoverage", {v, d(invert)}); };
    t.scissor = [](GLint x, GLint y, GLsizei w, GLsizei h) { rec("glScissor", {d(x), d(y), d(w), d(h)}); };
    t.shaderSource = [](GLuint s, GLsizei count, const GLchar* const* strings, const GLint* lengths) {
        std::string text;
        for (GLsizei i = 0; i < count; ++i) {
            if (!strings[i])
                text.append(kNull);
            else if (lengths && lengths[i] >= 0)
                text.append(strings[i], static_cast<size_t>(lengths[i]));
            else
                text.append(strings[i]);
        }
        r()._shaderSources[s] = text;
        rec("glShaderSource", {d(s)}).text = std::move(text);
    };
    t.stencilFunc = [](GLenum f, GLint ref, GLuint mask) { rec("glStencilFunc", {d(f), d(ref), d(mask)}); };
    t.stencilFuncSeparate = [](GLenum face, GLenum f, GLint ref, GLuint mask) {
        rec("glStencilFuncSeparate", {d(face), d(f), d(ref), d(mask)});
    };
    t.stencilMask = [](GLuint mask) { rec("glStencilMask", {d(mask)}); };
    t.stencilMaskSeparate = [](GLenum face, GLuint mask) { rec("glStencilMaskSeparate", {d(face), d(mask)}); };
    t.stencilOp = [](GLenum a, GLenum b, GLenum c) { rec("glStencilOp", {d(a), d(b), d(c)}); };
    t.stencilOpSeparate = [](GLenum face, GLenum a, GLenum b, GLenum c) {
        rec("glStencilOpSeparate", {d(face), d(a), d(b), d(c)});
    };
    t.texImage2D = [](GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border, GLenum format,
                      GLenum type, const void* data) {
        texImage("glTexImage2D", {d(target), d(level), d(internal), d(w), d(h), d(border), d(format), d(type)}, w, h,
                 format, type, data);
    };
    t.texParameterf = [](GLenum target, GLenum pname, GLfloat v) {
        rec("glTexParameterf", {d(target), d(pname), v});
        r()._texParameters[pname] = v;
    };
    t.texParameteri = [](GLenum target, GLenum pname, GLint v) {
        rec("glTexParameteri", {d(target), d(pname), d(v)});
        r()._texParameters[pname] = static_cast<GLfloat>(v);
    };
    t.texSubImage2D = [](GLenum target, GLint level, GLint x, GLint y, GLsizei w, GLsizei h, GLenum format,
                         GLenum type, const void* data) {
        texImage("glTexSubImage2D", {d(target), d(level), d(x), d(y), d(w), d(h), d(format), d(type)}, w, h, format,
                 type, data);
    };
    t.uniform1f = [](GLint l, GLfloat v) { rec("glUniform1f", {d(l), v}); };
    t.uniform2f = [](GLint l, GLfloat a, GLfloat b) { rec("glUniform2f", {d(l), a, b}); };
    t.uniform3f = [](GLint l, GLfloat a, GLfloat b, GLfloat c) { rec("glUniform3f", {d(l), a, b, c}); };
    t.uniform4f = [](GLint l, GLfloat a, GLfloat b, GLfloat c, GLfloat e) { rec("glUniform4f", {d(l), a, b, c, e}); };
    t.uniform1i = [](GLint l, GLint v) { rec("glUniform1i", {d(l), d(v)}); };
    t.uniform2i = [](GLint l, GLint a, GLint b) { rec("glUniform2i", {d(l), d(a), d(b)}); };
    t.uniform3i = [](GLint l, GLint a, GLint b, GLint c) { rec("glUniform3i", {d(l), d(a), d(b), d(c)}); };
    t.uniform4i = [](GLint l, GLint a, GLint b, GLint c, GLint e) { rec("glUniform4i", {d(l), d(a), d(b), d(c), d(e)}); };
    t.uniform1fv = [](GLint l, GLsizei n, const GLfloat* v) { rec("glUniform1fv", {d(l), d(n)}).floats = copyOf(v, n, 1); };
    t.uniform2fv = [](GLint l, GLsizei n, const GLfloat* v) { rec("glUniform2fv", {d(l), d(n)}).floats = copyOf(v, n, 2); };
    t.uniform3fv = [](GLint l, GLsizei n, const GLfloat* v) { rec("glUniform3fv", {d(l), d(n)}).floats = copyOf(v, n, 3); };
    t.uniform4fv = [](GLint l, GLsizei n, const GLfloat* v) { rec("glUniform4fv", {d(l), d(n)}).floats = copyOf(v, n, 4); };
    t.uniform1iv = [](GLint l, GLsizei n, const GLint* v) { rec("glUniform1iv", {d(l), d(n)}).ints = copyOf(v, n, 1); };
    t.uniform2iv = [](GLint l, GLsizei n, const GLint* v) { rec("glUniform2iv", {d(l), d(n)}).ints = copyOf(v, n, 2); };
    t.uniform3iv = [](GLint l, GLsizei n, const GLint* v) { rec("glUniform3iv", {d(l), d(n)}).ints = copyOf(v, n, 3); };
    t.uniform4iv = [](GLint l, GLsizei n, const GLint* v) { rec("glUniform4iv", {d(l), d(n)}).ints = copyOf(v, n, 4); };
    t.uniformMatrix2fv = [](GLint l, GLsizei n, GLboolean transpose, const GLfloat* v) {
        rec("glUniformMatrix2fv", {d(l), d(n), d(transpose)}).floats = copyOf(v, n, 4);
    };
    t.uniformMatrix3fv = [](GLint l, GLsizei n, GLboolean transpose, const GLfloat* v) {
        rec("glUniformMatrix3fv", {d(l), d(n), d(transpose)}).floats = copyOf(v, n, 9);
    };
    t.uniformMatrix4fv = [](GLint l, GLsizei n, GLboolean transpose, const GLfloat* v) {
        rec("glUniformMatrix4fv", {d(l), d(n), d(transpose)}).floats = copyOf(v, n, 16);
    };
    t.useProgram = [](GLuint p) { rec("glUseProgram", {d(p)}); };
    t.validateProgram = [](GLuint p) { rec("glValidateProgram", {d(p)}); };
    t.vertexAttrib1f = [](GLuint i, GLfloat x) { rec("glVertexAttrib1f", {d(i), x}); };
    t.vertexAttrib2f = [](GLuint i, GLfloat x, GLfloat y) { rec("glVertexAttrib2f", {d(i), x, y}); };
    t.vertexAttrib3f = [](GLuint i, GLfloat x, GLfloat y, GLfloat z) { rec("glVertexAttrib3f", {d(i), x, y, z}); };
    t.vertexAttrib4f = [](GLuint i, GLfloat x, GLfloat y, GLfloat z, GLfloat w) {
        rec("glVertexAttrib4f", {d(i), x, y, z, w});
    };
    t.vertexAttrib1fv = [](GLuint i, const GLfloat* v) { rec("glVertexAttrib1fv", {d(i)}).floats = copyOf(v, 1, 1); };
    t.vertexAttrib2fv = [](GLuint i, const GLfloat* v) { rec("glVertexAttrib2fv", {d(i)}).floats = copyOf(v, 1, 2); };
    t.vertexAttrib3fv = [](GLuint i, const GLfloat* v) { rec("glVertexAttrib3fv", {d(i)}).floats = copyOf(v, 1, 3); };
    t.vertexAttrib4fv = [](GLuint i, const GLfloat* v) { rec("glVertexAttrib4fv", {d(i)}).floats = copyOf(v, 1, 4); };
    t.vertexAttribPointer = [](GLuint i, GLint size, GLenum type, GLboolean norm, GLsizei stride, const void* ptr) {
        // The pointer is an offset when an array buffer is bound: it is logged then.
        std::vector<double> args{d(i), d(size), d(type), d(norm), d(stride)};
        GLRecorder* rc = GLRecorder::current();
        if (rc->_arrayBuffer != 0) args.push_back(static_cast<double>(reinterpret_cast<uintptr_t>(ptr)));
        rec("glVertexAttribPointer", std::move(args));
        if (i < 16) rc->_attribs[i] = {rc->_attribs[i].enabled, size, type, norm == GL_TRUE, stride, ptr, rc->_arrayBuffer};
    };
    t.viewport = [](GLint x, GLint y, GLsizei w, GLsizei h) { rec("glViewport", {d(x), d(y), d(w), d(h)}); };
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
