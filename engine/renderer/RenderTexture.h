#pragma once
// A node holding a picture of width x height pixels (RGBA, transparent at
// first), shown by its sprite (a child, anchored at its centre) and saved with
// saveToFile.
//
// clear() paints the whole picture one colour. Drawing into it: begin() sends
// what was queued for drawing so far, then (with a GL context) clears the frame
// buffer to the clear colour; nodes visited until end() queue their drawing
// as usual; end() sends it and reads the bottom-left width x height window
// pixels back into the picture (there is no separate target: the frame drawn
// next covers them again). Without a GL context end() leaves the picture as it
// was. beginWithClear clears the picture first.
#include <string>
#include <vector>

#include "engine/scene/Node.h"

namespace engine {

class Sprite;
class Texture2D;

class RenderTexture : public Node {
public:
    static constexpr int kMaxSide = 4096;

    // Autoreleased; nullptr for a side that is not 1 .. kMaxSide.
    static RenderTexture* create(int width, int height);
    ~RenderTexture() override;

    Sprite* getSprite() const { return _sprite; }
    int getPixelsWide() const { return _width; }
    int getPixelsHigh() const { return _height; }
    // The picture, top row first, 4 bytes a pixel.
    const std::vector<unsigned char>& getPixels() const { return _pixels; }

    void clear(float r, float g, float b, float a);
    void setClearColor(const Color4F& color) { _clearColor = color; }
    const Color4F& getClearColor() const { return _clearColor; }
    void begin();
    void beginWithClear(float r, float g, float b, float a);
    void end();
    bool isDrawing() const { return _drawing; }

    // Writes the picture as a PNG file under the writable path; false for a name
    // not ending in ".png" or when the file cannot be written (logged).
    bool saveToFile(const std::string& fileName);

private:
    RenderTexture() = default;
    bool initWithSize(int width, int height);
    // Shows the picture as it is now.
    void refreshTexture();

    int _width = 0, _height = 0;
    std::vector<unsigned char> _pixels;
    Sprite* _sprite = nullptr;   // retained child
    Color4F _clearColor;
    bool _drawing = false;
};

}  // namespace engine
