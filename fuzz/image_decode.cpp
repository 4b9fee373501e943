// Any bytes as an image file: the header reader gives a size or a refusal, the
// decoder pixels or a failure; never a read past the end, a leak or a jump
// through C++ frames.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/image/Image.h"
#include "engine/image/ImageSize.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<unsigned char> copy(data, data + size);   // exact-size buffer for the sanitizer
    int width = 0, height = 0;
    engine::ImageFileType type = engine::readImageHeader(copy.data(), copy.size(), &width, &height);
    engine::Image image;
    bool decoded = image.initWithImageData(copy.data(), copy.size());
    if (decoded) {
        size_t channels = image.getRenderFormat() == engine::Texture2D::PixelFormat::RGBA8888 ? 4 : 3;
        if (type != image.getFileType() || width != image.getWidth() || height != image.getHeight() ||
            image.getDataLen() != channels * static_cast<size_t>(width) * static_cast<size_t>(height))
            std::abort();
    } else if (image.getDataLen() != 0 || image.getWidth() != 0) {
        std::abort();
    }
    return 0;
}
