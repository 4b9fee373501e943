#pragma once
// A texture of the renderer: pixel size, content size, pixel format and the
// sampling parameters record. A texture made from pixels keeps them (rows tightly
// packed, top row first at v = 0) until they are uploaded to the current GL context
// on first use (getName), and uploads them again after the context changed. A
// texture of an image file (one with a path) frees its pixels once uploaded and
// decodes the file again for a new context; under the system GL context every
// texture frees them once uploaded; elsewhere others keep theirs. The sampling
// parameters are applied at upload, and at once to a texture already uploaded
// to the current context.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"

namespace engine {

class Texture2D : public Ref {
public:
    // Filters and wrap modes as GL enums (GL_LINEAR = 0x2601, GL_CLAMP_TO_EDGE = 0x812F).
    struct _TexParams {
        uint32_t minFilter = 0x2601;
        uint32_t magFilter = 0x2601;
        uint32_t wrapS = 0x812F;
        uint32_t wrapT = 0x812F;
    };

    enum class PixelFormat { RGBA8888, RGB888, A8, AUTO };

    // Reference count 1 (the caller owns it); the content size is the pixel size.
    static Texture2D* create(int pixelsWide, int pixelsHigh, PixelFormat format, bool premultipliedAlpha = false);
    // Same, keeping the pixels; nullptr unless format is RGBA8888, RGB888 or A8 and
    // pixels holds exactly pixelsWide x pixelsHigh pixels of it.
    static Texture2D* createWithData(std::vector<unsigned char> pixels, int pixelsWide, int pixelsHigh,
                                     PixelFormat format, bool premultipliedAlpha = false);

    int getPixelsWide() const { return _pixelsWide; }
    int getPixelsHigh() const { return _pixelsHigh; }
    const Size& getContentSize() const { return _contentSize; }
    PixelFormat getPixelFormat() const { return _format; }
    // The full path of the image it was made from ("" for a made texture).
    const std::string& getPath() const { return _path; }
    void setPath(const std::string& path) { _path = path; }
    // The pixels waiting for upload (empty for a texture made without them, and for
    // an image file's texture once uploaded).
    const std::vector<unsigned char>& getPixelData() const { return _pixels; }
    bool hasPremultipliedAlpha() const { return _premultipliedAlpha; }
    // Filters and wrap modes (linear and clamped until set); kept as given.
    void setTexParameters(const _TexParams& params);
    const _TexParams& getTexParameters() const { return _texParams; }
    // Nearest-pixel sampling (crisp pixel art) / linear sampling, the wrap modes kept.
    void setAliasTexParameters();
    void setAntiAliasTexParameters();
    // The GL texture of the current context, uploaded on first use with the
    // sampling parameters; 0 without a context.
    unsigned int getName();
    // Writes the top `rows` rows of the GL texture of the current context (made
    // first when it has none there) from B, G, R, A bytes, rows of the texture's
    // full width tightly packed, top row first; pixels still waiting for upload
    // are dropped. RGBA8888 textures only. False without a context, for another
    // format or for rows outside 1 .. pixelsHigh.
    bool updateTopRowsBgra(const unsigned char* data, int rows);

    ~Texture2D() override;

protected:
    Texture2D() = default;

private:
    // Decodes the image file at _path again into _pixels (left empty when it no
    // longer gives the same size and format).
    void reloadPixels();
    // Sets the bound texture's filters and wrap modes from _texParams.
    void applyTexParameters() const;

    int _pixelsWide = 0;
    int _pixelsHigh = 0;
    Size _contentSize;
    PixelFormat _format = PixelFormat::RGBA8888;
    std::string _path;
    std::vector<unsigned char> _pixels;
    bool _premultipliedAlpha = false;
    _TexParams _texParams;
    unsigned int _name = 0;
    uint32_t _generation = 0;   // the context generation _name belongs to
};

}  // namespace engine
