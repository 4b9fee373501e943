#pragma once
// A decoded image: PNG (libpng) or JPEG (libjpeg) bytes become 8-bit pixels, rows
// tightly packed, top row first. Images with alpha (an alpha channel or a
// transparency chunk) decode to RGBA8888 with the colours premultiplied by alpha,
// the form the engine's blending expects; others to RGB888. Grey is spread to the
// three channels, palettes are expanded, interlaced images are assembled, and
// 16-bit samples are scaled to 8 bits as they stand (no gamma conversion: an
// image reads the same at either depth).
// Input is untrusted: a truncated or corrupt image, a size beyond the pixel
// budget, or decoded pixels (3 or 4 bytes each) above 4160 times the file's size
// for PNG or 1040 times for JPEG, more than real files of either reach, fails
// cleanly before pixel memory is allocated and leaves the image empty.
// The pixel budget: at most kMaxPixels pixels (4096 x 4096: 64 MiB decoded, as
// much again for its texture) and kMaxSide on the longest side; once a GL context
// tells its largest texture, setMaxTextureSide lowers both to what GL can take.
// An image refused for its size is logged with its file name (terrain height maps
// and images traced for geometry go through the same budget).
#include <cstddef>
#include <string>
#include <vector>

#include "engine/base/Ref.h"
#include "engine/image/ImageSize.h"
#include "engine/renderer/Texture2D.h"

namespace engine {

class Image : public Ref {
public:
    static constexpr int kMaxSide = 16384;
    static constexpr long long kMaxPixels = 4096LL * 4096;

    // Lowers the budget to side on the longest side and side x side pixels when
    // that is smaller than the defaults; a side <= 0 restores them. Any thread.
    static void setMaxTextureSide(int side);
    // The budget in force.
    static int maxSide();
    static long long maxPixels();

    Image() = default;

    // Reads the file through FileUtils (full path lookup, then its bytes).
    bool initWithImageFile(const std::string& path);
    // Decodes encoded bytes (PNG or JPEG, told apart by their header). On failure
    // the image is left empty (size 0, no pixels).
    bool initWithImageData(const unsigned char* data, size_t size);

    int getWidth() const { return _width; }
    int getHeight() const { return _height; }
    ImageFileType getFileType() const { return _fileType; }
    // RGBA8888 or RGB888 once decoded.
    Texture2D::PixelFormat getRenderFormat() const { return _renderFormat; }
    bool hasPremultipliedAlpha() const { return _premultipliedAlpha; }
    const unsigned char* getData() const { return _data.data(); }
    size_t getDataLen() const { return _data.size(); }
    // Hands the pixels over (no copy) and leaves the image without them.
    std::vector<unsigned char> takeData() {
        std::vector<unsigned char> out;
        out.swap(_data);
        return out;
    }

private:
    void clear();
    // Decodes the bytes; name is what a refusal's log line calls them.
    bool decode(const unsigned char* data, size_t size, const std::string& name);

    int _width = 0;
    int _height = 0;
    ImageFileType _fileType = ImageFileType::UNKNOWN;
    Texture2D::PixelFormat _renderFormat = Texture2D::PixelFormat::AUTO;
    bool _premultipliedAlpha = false;
    std::vector<unsigned char> _data;
};

}  // namespace engine
