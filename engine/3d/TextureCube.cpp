#include "engine/3d/TextureCube.h"

#include "engine/base/Log.h"
#include "engine/image/Image.h"
#include "engine/renderer/GLFunctions.h"

namespace engine {

TextureCube* TextureCube::create(const std::string& positiveX, const std::string& negativeX,
                                 const std::string& positiveY, const std::string& negativeY,
                                 const std::string& positiveZ, const std::string& negativeZ) {
    auto* cube = new TextureCube;
    cube->_paths = {positiveX, negativeX, positiveY, negativeY, positiveZ, negativeZ};
    if (!decodeFaces(cube->_paths, &cube->_faces, &cube->_size)) {
        delete cube;
        return nullptr;
    }
    cube->autorelease();
    return cube;
}

bool TextureCube::decodeFaces(const std::array<std::string, 6>& paths, std::array<Face, 6>* faces, int* size) {
    std::array<Face, 6> decoded;
    int side = 0;
    for (size_t i = 0; i < paths.size(); ++i) {
        Image image;
        if (!image.initWithImageFile(paths[i])) {
            log("TextureCube: cannot decode the face %s", paths[i].c_str());
            return false;
        }
        if (image.getWidth() != image.getHeight() || (i > 0 && image.getWidth() != side)) {
            log("TextureCube: the face %s is not a square of the cube's size", paths[i].c_str());
            return false;
        }
        side = image.getWidth();
        decoded[i].rgba = image.getRenderFormat() == Texture2D::PixelFormat::RGBA8888;
        decoded[i].pixels = image.takeData();
    }
    *faces = std::move(decoded);
    *size = side;
    return true;
}

bool TextureCube::reloadTexture() {
    if (!decodeFaces(_paths, &_faces, &_size)) return false;
    // Upload again on next use.
    if (_name != 0 && GL::fn().hasContext && _generation == GL::contextGeneration()) GL::fn().deleteTextures(1, &_name);
    _name = 0;
    _generation = 0;
    return true;
}

void TextureCube::applyTexParameters() const {
    const GLFunctions& gl = GL::fn();
    gl.texParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(_texParams.minFilter));
    gl.texParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(_texParams.magFilter));
    gl.texParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, static_cast<GLint>(_texParams.wrapS));
    gl.texParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, static_cast<GLint>(_texParams.wrapT));
}

void TextureCube::setTexParameters(const Texture2D::_TexParams& params) {
    _texParams = params;
    if (_name == 0 || !GL::fn().hasContext || _generation != GL::contextGeneration()) return;
    GL::fn().bindTexture(GL_TEXTURE_CUBE_MAP, _name);
    applyTexParameters();
}

unsigned int TextureCube::getName() {
    const GLFunctions& gl = GL::fn();
    if (!gl.hasContext) return 0;
    if (_generation == GL::contextGeneration() && _name != 0) return _name;
    _generation = GL::contextGeneration();
    _name = 0;
    gl.genTextures(1, &_name);
    gl.bindTexture(GL_TEXTURE_CUBE_MAP, _name);
    gl.pixelStorei(GL_UNPACK_ALIGNMENT, 1);
    applyTexParameters();
    for (size_t i = 0; i < _faces.size(); ++i) {
        const GLenum format = _faces[i].rgba ? GL_RGBA : GL_RGB;
        gl.texImage2D(static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + i), 0, static_cast<GLint>(format), _size,
                      _size, 0, format, GL_UNSIGNED_BYTE, _faces[i].pixels.data());
    }
    return _name;
}

TextureCube::~TextureCube() {
    if (_name != 0 && GL::fn().hasContext && _generation == GL::contextGeneration()) {
        GL::fn().deleteTextures(1, &_name);
    }
}

}  // namespace engine
