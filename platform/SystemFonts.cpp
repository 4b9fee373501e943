#include "platform/SystemFonts.h"

namespace platform {
namespace {

struct MessageFont {
    std::string face = "Sans";
    bool readable = true;
};

MessageFont& messageFont() {
    static MessageFont font;
    return font;
}

}  // namespace

bool getMessageFontFace(std::string* face) {
    if (!messageFont().readable) return false;
    if (face) *face = messageFont().face;
    return true;
}

void setMessageFontFaceForTesting(const std::string& face, bool readable) { messageFont() = MessageFont{face, readable}; }

void resetSystemFonts() { messageFont() = MessageFont{}; }

}  // namespace platform
