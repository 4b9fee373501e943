#pragma once
// The frames of a frame sheet: an XML property list whose top dictionary holds
// "frames" (frame name -> dictionary) and optionally "metadata" (its "format"
// and the texture's file name, "textureFileName" or "realTextureFileName").
//
// Frame dictionaries, by metadata format:
//   0     x, y, width, height, offsetX, offsetY, originalWidth, originalHeight
//         (numbers; the source size is the absolute value, the frame's size
//         when missing)
//   1, 2  frame "{{x,y},{w,h}}", offset "{x,y}", sourceSize "{w,h}", rotated (2 only)
//   3     textureRect, spriteOffset, spriteSourceSize, textureRotated
// A frame that lacks its rectangle or has a negative size is skipped; other
// missing values are zero (the source size the rectangle's size). An unknown
// format, text that is not a property list, or no "frames" dictionary reads as
// false. Nesting deeper than 32 levels is refused.
#include <string>
#include <string_view>
#include <vector>

#include "engine/base/Types.h"

namespace engine {

struct SheetFrame {
    std::string name;
    Rect rect;         // in the texture, points; the size is the unrotated frame's
    bool rotated = false;
    Vec2 offset;       // of the trimmed frame's centre from the source's centre
    Size sourceSize;   // before trimming
};

struct FrameSheet {
    std::vector<SheetFrame> frames;   // in name order
    std::string textureFileName;      // "" when the sheet names none
};

bool parseFrameSheet(std::string_view text, FrameSheet* out);

}  // namespace engine
