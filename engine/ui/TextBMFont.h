#pragma once
// A text widget named by a bitmap-font file. The engine keeps the font file's
// name but draws the text as Text does, in the system font (it reads no
// bitmap-font files); the content size follows the text.
#include <string>

#include "engine/ui/Text.h"

namespace engine::ui {

class TextBMFont : public Text {
public:
    static TextBMFont* create();   // autoreleased, empty, no font file
    static TextBMFont* create(const std::string& text, const std::string& fntFile);

    void setFntFile(const std::string& fntFile) { _fntFile = fntFile; }
    const std::string& getFntFile() const { return _fntFile; }
    int getStringLength() const;

protected:
    TextBMFont() = default;

private:
    std::string _fntFile;
};

}  // namespace engine::ui
