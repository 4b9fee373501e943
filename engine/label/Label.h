#pragma once
// A text node in a system font, with alignment, an optional box, a text colour and
// an outline. Headless: no glyphs are rasterised; the content size comes from a
// fixed metric (each character advances half the font size, a line is the font
// size high), enough for layout code to place things the same way on every machine.
// A box width > 0 wraps lines at blanks (a word longer than the box is cut); a box
// height > 0 fixes the height. The anchor is the centre.
#include <string>

#include "engine/label/FontDefinition.h"
#include "engine/scene/Node.h"

namespace engine {

class Label : public Node {
public:
    static constexpr float kDefaultFontSize = 12.f;

    // An empty label in the default system font and size.
    static Label* create();
    static Label* createWithSystemFont(const std::string& text, const std::string& font, float fontSize,
                                       const Size& dimensions = Size::ZERO,
                                       TextHAlignment hAlignment = TextHAlignment::LEFT,
                                       TextVAlignment vAlignment = TextVAlignment::TOP);
    // A label in the font of a TrueType file; headless, the same metric as a
    // system font (the file is kept as the font's name).
    static Label* createWithTTF(const std::string& text, const std::string& fontFile, float fontSize,
                                const Size& dimensions = Size::ZERO,
                                TextHAlignment hAlignment = TextHAlignment::LEFT,
                                TextVAlignment vAlignment = TextVAlignment::TOP);

    void setString(const std::string& text);
    const std::string& getString() const { return _text; }
    void setSystemFontName(const std::string& font) { _fontName = font; }
    const std::string& getSystemFontName() const { return _fontName; }
    void setSystemFontSize(float size);
    float getSystemFontSize() const { return _fontSize; }

    void setHorizontalAlignment(TextHAlignment alignment) { _hAlignment = alignment; }
    void setVerticalAlignment(TextVAlignment alignment) { _vAlignment = alignment; }
    void setAlignment(TextHAlignment h, TextVAlignment v) { _hAlignment = h; _vAlignment = v; }
    TextHAlignment getHorizontalAlignment() const { return _hAlignment; }
    TextVAlignment getVerticalAlignment() const { return _vAlignment; }

    // The box (0 in a side: that side follows the text).
    void setDimensions(float width, float height);
    const Size& getDimensions() const { return _dimensions; }
    void setWidth(float width) { setDimensions(width, _dimensions.height); }

    // The text's own colour, with alpha (the node colour tints it further).
    void setTextColor(const Color4B& color) { _textColor = color; }
    const Color4B& getTextColor() const { return _textColor; }
    // An outline of the colour and width in points; a width <= 0 turns it off.
    void enableOutline(const Color4B& color, int outlineSize = -1);
    void disableOutline() { _outlineSize = 0; }
    int getOutlineSize() const { return _outlineSize; }
    const Color4B& getOutlineColor() const { return _outlineColor; }

    // The text as laid out in lines.
    const std::vector<std::string>& getLines() const { return _lines; }

protected:
    Label() = default;
    bool init() override;

private:
    void layout();

    std::string _text;
    std::string _fontName;
    float _fontSize = kDefaultFontSize;
    TextHAlignment _hAlignment = TextHAlignment::LEFT;
    TextVAlignment _vAlignment = TextVAlignment::TOP;
    Size _dimensions;
    Color4B _textColor{255, 255, 255, 255};
    Color4B _outlineColor{0, 0, 0, 0};
    int _outlineSize = 0;
    std::vector<std::string> _lines;
};

}  // namespace engine
