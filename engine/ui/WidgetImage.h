#pragma once
// One image of a widget: a sprite frame, that is a texture and the rectangle of it
// shown. A plain file is loaded through the texture cache and shown whole; with
// TextureResType::PLIST the name is a frame of the sprite-frame cache (a sheet the
// game added), and only that frame's rectangle is shown.
//
// Contract: the frame is retained while held and released when replaced, cleared or
// when the slot goes. A name that finds no image logs "<owner>: cannot load image
// '<name>'" and leaves the slot as it was. Main thread only.
#include <string>

#include "engine/renderer/Texture2D.h"
#include "engine/scene/SpriteFrame.h"
#include "engine/ui/Scale9Sprite.h"
#include "engine/ui/Widget.h"

namespace engine::ui {

class WidgetImage {
public:
    WidgetImage() = default;
    WidgetImage(const WidgetImage&) = delete;
    WidgetImage& operator=(const WidgetImage&) = delete;
    ~WidgetImage() { clear(); }

    // Loads `file` of the given type; an empty name clears the slot. Answers whether
    // the slot now holds the new image.
    bool load(const std::string& file, TextureResType type, const char* owner);
    void clear();
    // Holds the same frame as `other`.
    void assign(const WidgetImage& other) { assignRetained(_frame, other._frame); }

    bool empty() const { return _frame == nullptr; }
    SpriteFrame* frame() const { return _frame; }
    Texture2D* texture() const { return _frame ? _frame->getTexture() : nullptr; }
    // The shown rectangle's size in points (zero when empty).
    Size size() const { return _frame ? _frame->getRect().size : Size(); }
    // The shown rectangle as texture coordinates: left, top, right, bottom.
    void textureCoordinates(float& left, float& top, float& right, float& bottom) const;
    // A new nine-slice drawing of the image, anchored at its lower-left corner and
    // retained for the caller; nullptr when empty.
    Scale9Sprite* newRenderer() const;

private:
    SpriteFrame* _frame = nullptr;
};

}  // namespace engine::ui
