#include "engine/renderer/Texture2D.h"

namespace engine {

Texture2D* Texture2D::create(int pixelsWide, int pixelsHigh, PixelFormat format) {
    auto* texture = new Texture2D();
    texture->_pixelsWide = pixelsWide;
    texture->_pixelsHigh = pixelsHigh;
    texture->_contentSize = Size(static_cast<float>(pixelsWide), static_cast<float>(pixelsHigh));
    texture->_format = format;
    return texture;
}

Texture2D* Texture2D::createWithData(std::vector<unsigned char> pixels, int pixelsWide, int pixelsHigh,
                                     PixelFormat format, bool premultipliedAlpha) {
    size_t bytesPerPixel = format == PixelFormat::RGBA8888 ? 4 : format == PixelFormat::RGB888 ? 3
                         : format == PixelFormat::A8       ? 1 : 0;
    // Both sides below 2^31: the product of the three fits in 64 bits.
    if (bytesPerPixel == 0 || pixelsWide <= 0 || pixelsHigh <= 0 ||
        pixels.size() != bytesPerPixel * static_cast<uint64_t>(pixelsWide) * static_cast<uint64_t>(pixelsHigh))
        return nullptr;
    Texture2D* texture = create(pixelsWide, pixelsHigh, format);
    texture->_pixels = std::move(pixels);
    texture->_premultipliedAlpha = premultipliedAlpha;
    return texture;
}

}  // namespace engine
