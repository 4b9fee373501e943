#pragma once
// A text node in a system font, with alignment, an optional box, a text colour and
// an outline. The content size comes from a fixed metric (each character advances
// half the font size, a line is the font size high), so layout code places things
// the same way on every machine. Drawn where a GL context keeps textures: the
// lines are rasterised (LabelRaster.h) into a box of the content size when the
// text or its style changed (without a box, as wide as the text really is,
// centred on the content box), and shown as one quad tinted by the node's
// displayed colour and opacity. The box goes into the top-left corner of a
// texture kept from one change to the next, written in place; the texture is
// made again only when a box (with a transparent edge of one pixel) outgrows it,
// at a size rounded up so that texts of about the same size share it.
// A box width > 0 wraps lines at blanks (a word longer than the box is cut); a box
// height > 0 fixes the height. The anchor is the centre.
#include <string>

#include "engine/label/FontDefinition.h"
#include "engine/label/TTFConfig.h"
#include "engine/renderer/QuadCommand.h"
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
    // A label in the font of a TrueType file, drawn with the same metric as a
    // system font; the label keeps its TTF configuration (the file is also the
    // font's name). A font file that cannot be found logs and gives nullptr.
    static Label* createWithTTF(const std::string& text, const std::string& fontFile, float fontSize,
                                const Size& dimensions = Size::ZERO,
                                TextHAlignment hAlignment = TextHAlignment::LEFT,
                                TextVAlignment vAlignment = TextVAlignment::TOP);
    static Label* createWithTTF(const TTFConfig& config, const std::string& text,
                                TextHAlignment hAlignment = TextHAlignment::LEFT, int maxLineWidth = 0);
    // A label in a bitmap font (the .fnt file is kept; the same metric, at the
    // default size). A font file that cannot be found logs and gives nullptr.
    static Label* createWithBMFont(const std::string& fontFile, const std::string& text,
                                   TextHAlignment hAlignment = TextHAlignment::LEFT, int maxLineWidth = 0);

    // The TrueType configuration the label was made with (an empty file for the
    // others); its custom glyphs are the label's own copy.
    const TTFConfig& getTTFConfig() const { return _ttfConfig; }
    // Switches the label to a TrueType configuration: its font file becomes the
    // font and its size the font size (a size below 1 keeps the current one); the
    // custom glyphs are copied. A font file that cannot be found logs and changes
    // nothing: false.
    bool setTTFConfig(const TTFConfig& config);
    const std::string& getBMFontFilePath() const { return _bmFontFilePath; }

    void setString(const std::string& text);
    const std::string& getString() const { return _text; }
    void setSystemFontName(const std::string& font) {
        _fontName = font;
        _textureDirty = true;
    }
    const std::string& getSystemFontName() const { return _fontName; }
    void setSystemFontSize(float size);
    float getSystemFontSize() const { return _fontSize; }

    void setHorizontalAlignment(TextHAlignment alignment) { setAlignment(alignment, _vAlignment); }
    void setVerticalAlignment(TextVAlignment alignment) { setAlignment(_hAlignment, alignment); }
    void setAlignment(TextHAlignment h, TextVAlignment v) {
        _hAlignment = h;
        _vAlignment = v;
        _textureDirty = true;
    }
    TextHAlignment getHorizontalAlignment() const { return _hAlignment; }
    TextVAlignment getVerticalAlignment() const { return _vAlignment; }

    // The box (0 in a side: that side follows the text).
    void setDimensions(float width, float height);
    const Size& getDimensions() const { return _dimensions; }
    void setWidth(float width) { setDimensions(width, _dimensions.height); }
    // Lines wrap at this width in points while the box has no width of its own;
    // 0 (the default) or less: no limit.
    void setMaxLineWidth(float width);
    float getMaxLineWidth() const { return _maxLineWidth; }

    // The text's own colour, with alpha (the node colour tints it further).
    void setTextColor(const Color4B& color) {
        _textColor = color;
        _textureDirty = true;
    }
    const Color4B& getTextColor() const { return _textColor; }
    // An outline of the colour and width in points; a width <= 0 turns it off.
    void enableOutline(const Color4B& color, int outlineSize = -1);
    void disableOutline() {
        _outlineSize = 0;
        _textureDirty = true;
    }
    int getOutlineSize() const { return _outlineSize; }
    const Color4B& getOutlineColor() const { return _outlineColor; }

    // A sharp copy of the text in the colour, moved by the offset in points (x
    // right, y up), under the text and its outline. The blur radius is kept for
    // the caller and not applied.
    void enableShadow(const Color4B& color = Color4B{0, 0, 0, 255}, const Size& offset = Size(2, -2),
                      int blurRadius = 0);
    void disableShadow();
    bool isShadowEnabled() const { return _shadow; }
    const Color4B& getShadowColor() const { return _shadowColor; }
    const Size& getShadowOffset() const { return _shadowOffset; }
    int getShadowBlurRadius() const { return _shadowBlurRadius; }
    // Turns the outline and the shadow off.
    void disableEffect();

    // The text as laid out in lines.
    const std::vector<std::string>& getLines() const { return _lines; }
    int getStringNumLines() const { return static_cast<int>(_lines.size()); }
    // The characters of the text (UTF-8 sequences), line breaks included.
    int getStringLength() const;

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;
    // The texture holding the last rasterised text in its top-left corner (nullptr
    // before the first draw with a context).
    Texture2D* getTexture() const { return _texture; }
    ~Label() override;

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
    float _maxLineWidth = 0;
    TTFConfig _ttfConfig;
    std::string _customGlyphs;   // what _ttfConfig.customGlyphs points to
    std::string _bmFontFilePath;
    Color4B _textColor{255, 255, 255, 255};
    Color4B _outlineColor{0, 0, 0, 0};
    int _outlineSize = 0;
    bool _shadow = false;
    Color4B _shadowColor{0, 0, 0, 255};
    Size _shadowOffset;
    int _shadowBlurRadius = 0;
    std::vector<std::string> _lines;
    void updateTexture();

    Texture2D* _texture = nullptr;
    int _boxWidth = 0, _boxHeight = 0;   // the text's box in the texture, in pixels
    int _inkMargin = 0;                  // rows of the box above and below the content box
    uint32_t _textureGeneration = 0;     // the GL context generation it was written under
    float _textureOffsetX = 0;   // the box's left edge in the content box
    bool _textureDirty = true;
    QuadCommand _quad;
};

}  // namespace engine
