#pragma once
// A cube map made of six square images of one size, faces in the order +x, -x,
// +y, -y, +z, -z (right, left, top, bottom, front, back). The decoded faces are
// kept and uploaded to the current GL context on first use (getName), and again
// after the context changed; the sampling parameters (linear and clamped until
// set) apply at upload and at once to an uploaded cube. Main thread only.
#include <array>
#include <string>
#include <vector>

#include "engine/base/Ref.h"
#include "engine/renderer/Texture2D.h"

namespace engine {

class TextureCube : public Ref {
public:
    // Autoreleased; nullptr (logged) when a face does not decode, is not square,
    // or differs in size from the first.
    static TextureCube* create(const std::string& positiveX, const std::string& negativeX,
                               const std::string& positiveY, const std::string& negativeY,
                               const std::string& positiveZ, const std::string& negativeZ);

    // Decodes the six files again (after they changed); false, the cube kept as it
    // was, when they no longer make a cube.
    bool reloadTexture();
    const std::array<std::string, 6>& getImagePaths() const { return _paths; }
    int getSize() const { return _size; }
    void setTexParameters(const Texture2D::_TexParams& params);
    const Texture2D::_TexParams& getTexParameters() const { return _texParams; }
    // The GL cube texture of the current context; 0 without a context.
    unsigned int getName();
    ~TextureCube() override;

private:
    TextureCube() = default;
    struct Face {
        std::vector<unsigned char> pixels;
        bool rgba = true;
    };
    // Decodes the six paths into faces; false when they do not make a cube.
    static bool decodeFaces(const std::array<std::string, 6>& paths, std::array<Face, 6>* faces, int* size);
    void applyTexParameters() const;

    std::array<std::string, 6> _paths;
    std::array<Face, 6> _faces;
    int _size = 0;
    Texture2D::_TexParams _texParams;
    unsigned int _name = 0;
    uint32_t _generation = 0;
};

}  // namespace engine
