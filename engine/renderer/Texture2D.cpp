#include "engine/renderer/Texture2D.h"

#include "engine/base/MemoryTrim.h"
#include "engine/image/Image.h"
#include "engine/renderer/GLFunctions.h"

namespace engine {
namespace {

size_t bytesPerPixel(Texture2D::PixelFormat format) {
    using F = Texture2D::PixelFormat;
    return format == F::RGBA8888 ? 4 : format == F::RGB888 ? 3 : format == F::A8 ? 1 : 0;
}

}  // namespace

Texture2D* Texture2D::create(int pixelsWide, int pixelsHigh, PixelFormat format, bool premultipliedAlpha) {
    auto* texture = new Texture2D();
    texture->_premultipliedAlpha = premultipliedAlpha;
    texture->_pixelsWide = pixelsWide;
    texture->_pixelsHigh = pixelsHigh;
    texture->_contentSize = Size(static_cast<float>(pixelsWide), static_cast<float>(pixelsHigh));
    texture->_format = format;
    return texture;
}

Texture2D* Texture2D::createWithData(std::vector<unsigned char> pixels, int pixelsWide, int pixelsHigh,
                                     PixelFormat format, bool premultipliedAlpha) {
    const size_t bytes = bytesPerPixel(format);
    // Both sides below 2^31: the product of the three fits in 64 bits.
    if (bytes == 0 || pixelsWide <= 0 || pixelsHigh <= 0 ||
        pixels.size() != bytes * static_cast<uint64_t>(pixelsWide) * static_cast<uint64_t>(pixelsHigh))
        return nullptr;
    Texture2D* texture = create(pixelsWide, pixelsHigh, format);
    texture->_pixels = std::move(pixels);
    texture->_premultipliedAlpha = premultipliedAlpha;
    return texture;
}

Texture2D::~Texture2D() {
    size_t released = _pixels.capacity();
    if (_name && _generation == GL::contextGeneration()) {
        GL::fn().deleteTextures(1, &_name);
        released += bytesPerPixel(_format) * static_cast<size_t>(_pixelsWide) * static_cast<size_t>(_pixelsHigh);
    }
    std::vector<unsigned char>().swap(_pixels);
    noteMemoryReleased(released);
}

unsigned int Texture2D::getName() {
    const GLFunctions& gl = GL::fn();
    if (!gl.hasContext) return 0;
    if (_generation == GL::contextGeneration()) return _name;
    _generation = GL::contextGeneration();
    _name = 0;
    gl.genTextures(1, &_name);
    GL::bindTexture2D(_name);
    gl.pixelStorei(GL_UNPACK_ALIGNMENT, 1);
    applyTexParameters();
    GLenum format = _format == PixelFormat::RGB888 ? GL_RGB : _format == PixelFormat::A8 ? GL_ALPHA : GL_RGBA;
    if (_pixels.empty() && !_path.empty()) reloadPixels();
    // Without pixels the texture is written later, in B, G, R, A rows: storage in
    // that order takes them as they are (no conversion on every write).
    const GLenum source = _pixels.empty() && format == GL_RGBA ? GL_BGRA : format;
    gl.texImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), _pixelsWide, _pixelsHigh, 0, source,
                  GL_UNSIGNED_BYTE, _pixels.empty() ? nullptr : _pixels.data());
    // A file can give its pixels again; under the system context the uploaded copy
    // is the one kept.
    if (!_path.empty() || gl.freesUploadedPixels) {
        const size_t released = _pixels.capacity();
        std::vector<unsigned char>().swap(_pixels);
        noteMemoryReleased(released);
    }
    return _name;
}

void Texture2D::applyTexParameters() const {
    const GLFunctions& gl = GL::fn();
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(_texParams.minFilter));
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(_texParams.magFilter));
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(_texParams.wrapS));
    gl.texParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(_texParams.wrapT));
}

void Texture2D::setTexParameters(const _TexParams& params) {
    _texParams = params;
    if (_name == 0 || !GL::fn().hasContext || _generation != GL::contextGeneration()) return;
    GL::bindTexture2D(_name);
    applyTexParameters();
}

void Texture2D::setAliasTexParameters() {
    _TexParams params = _texParams;
    params.minFilter = params.magFilter = GL_NEAREST;
    setTexParameters(params);
}

void Texture2D::setAntiAliasTexParameters() {
    _TexParams params = _texParams;
    params.minFilter = params.magFilter = GL_LINEAR;
    setTexParameters(params);
}

bool Texture2D::updateTopRowsBgra(const unsigned char* data, int rows) {
    const GLFunctions& gl = GL::fn();
    if (!gl.hasContext || _format != PixelFormat::RGBA8888 || rows < 1 || rows > _pixelsHigh) return false;
    std::vector<unsigned char>().swap(_pixels);   // no longer what the texture shows
    GL::bindTexture2D(getName());
    gl.pixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gl.texSubImage2D(GL_TEXTURE_2D, 0, 0, 0, _pixelsWide, rows, GL_BGRA, GL_UNSIGNED_BYTE, data);
    return true;
}

void Texture2D::reloadPixels() {
    Image image;
    // A file that changed its size or form since is not used (the texture stays blank).
    if (image.initWithImageFile(_path) && image.getWidth() == _pixelsWide && image.getHeight() == _pixelsHigh &&
        image.getRenderFormat() == _format) {
        _pixels = image.takeData();
    }
}

}  // namespace engine
