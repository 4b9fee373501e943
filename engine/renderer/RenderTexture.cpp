#include "engine/renderer/RenderTexture.h"

#include <png.h>

#include <algorithm>
#include <cmath>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Sprite.h"

namespace engine {

namespace {
uint8_t byteOf(float value) { return static_cast<uint8_t>(std::lround(std::clamp(value, 0.f, 1.f) * 255.f)); }
}  // namespace

RenderTexture* RenderTexture::create(int width, int height) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return nullptr;
    auto* texture = new RenderTexture;
    return autoreleased(texture, texture->initWithSize(width, height));
}

RenderTexture::~RenderTexture() {
    if (_sprite) _sprite->release();
}

bool RenderTexture::initWithSize(int width, int height) {
    if (!init()) return false;
    _width = width;
    _height = height;
    _pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    _sprite = Sprite::create();
    _sprite->retain();
    addChild(_sprite);
    refreshTexture();
    return true;
}

void RenderTexture::refreshTexture() {
    Texture2D* texture = Texture2D::createWithData(_pixels, _width, _height, Texture2D::PixelFormat::RGBA8888);
    if (!texture) return;
    _sprite->setTexture(texture);
    _sprite->setTextureRect(Rect(0, 0, static_cast<float>(_width), static_cast<float>(_height)));
    texture->release();   // made with one reference: the sprite holds its own
}

void RenderTexture::clear(float r, float g, float b, float a) {
    const unsigned char pixel[4] = {byteOf(r), byteOf(g), byteOf(b), byteOf(a)};
    for (size_t i = 0; i < _pixels.size(); i += 4) std::copy(pixel, pixel + 4, _pixels.begin() + static_cast<ptrdiff_t>(i));
    refreshTexture();
}

void RenderTexture::begin() {
    Director::getInstance()->getRenderer()->render();
    _drawing = true;
    const GLFunctions& gl = GL::fn();
    if (gl.hasContext) {
        gl.clearColor(_clearColor.r, _clearColor.g, _clearColor.b, _clearColor.a);
        gl.clear(GL_COLOR_BUFFER_BIT);
    }
}

void RenderTexture::beginWithClear(float r, float g, float b, float a) {
    clear(r, g, b, a);
    _clearColor = Color4F{r, g, b, a};
    begin();
}

void RenderTexture::end() {
    if (!_drawing) return;
    _drawing = false;
    Director::getInstance()->getRenderer()->render();
    const GLFunctions& gl = GL::fn();
    if (!gl.hasContext) return;
    std::vector<unsigned char> read(_pixels.size());
    gl.readPixels(0, 0, _width, _height, GL_RGBA, GL_UNSIGNED_BYTE, read.data());
    // GL rows come bottom first.
    const size_t row = static_cast<size_t>(_width) * 4;
    for (int y = 0; y < _height; ++y) {
        std::copy_n(read.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(y) * row), row,
                    _pixels.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(_height - 1 - y) * row));
    }
    refreshTexture();
}

bool RenderTexture::saveToFile(const std::string& fileName) {
    const bool png = fileName.size() > 4 && fileName.compare(fileName.size() - 4, 4, ".png") == 0;
    if (!png) {
        log("RenderTexture: %s: only .png files are written", fileName.c_str());
        return false;
    }
    const std::string path = FileUtils::getInstance()->getWritablePath() + fileName;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(_width);
    image.height = static_cast<png_uint_32>(_height);
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, _pixels.data(), 0, nullptr)) {
        log("RenderTexture: cannot write %s: %s", path.c_str(), image.message);
        png_image_free(&image);
        return false;
    }
    return true;
}

}  // namespace engine
