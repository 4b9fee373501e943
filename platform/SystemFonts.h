#pragma once
// The desktop's user-interface fonts, as a model: the face of the message font
// (the font of message boxes and dialog texts). "Sans" unless a test changes it.
// Main thread only.
#include <string>

namespace platform {

// False when the face cannot be read (a test made it unreadable); the face may be
// empty.
bool getMessageFontFace(std::string* face);
// Tests: a face, or unreadable; reset gives "Sans" back.
void setMessageFontFaceForTesting(const std::string& face, bool readable = true);
void resetSystemFonts();

}  // namespace platform
