#pragma once
// The two label nodes older game scripts make: LabelTTF (a text in a system font
// or a TrueType file, described by a FontDefinition) and LabelBMFont (a text in a
// bitmap font). Both draw through one Label child, centred in the node, whose
// content size the node takes; they keep only the settings the Label has no
// place for (shadow, blend function, flips, line breaking).
//
// A font name ending in ".ttf" names a TrueType file: one that cannot be found
// makes create/init fail (create gives nullptr) and leaves an initialised node
// as it was. Other names are system fonts and always succeed. The bitmap font
// file of LabelBMFont must be found the same way. Shadow and stroke settings are
// kept in the text definition; the stroke becomes the Label's outline.
// Main thread only.
#include <string>

#include "engine/label/FontDefinition.h"
#include "engine/label/Label.h"
#include "engine/renderer/RenderRecords.h"
#include "engine/scene/Node.h"

namespace engine {

class Sprite;

class LabelTTF : public Node {
public:
    static LabelTTF* create();
    static LabelTTF* create(const std::string& text, const std::string& fontName, float fontSize,
                            const Size& dimensions = Size::ZERO, TextHAlignment hAlignment = TextHAlignment::CENTER,
                            TextVAlignment vAlignment = TextVAlignment::TOP);
    static LabelTTF* createWithFontDefinition(const std::string& text, const FontDefinition& definition);

    bool initWithString(const std::string& text, const std::string& fontName, float fontSize,
                        const Size& dimensions = Size::ZERO, TextHAlignment hAlignment = TextHAlignment::CENTER,
                        TextVAlignment vAlignment = TextVAlignment::TOP);
    bool initWithStringAndTextDefinition(const std::string& text, const FontDefinition& definition);

    void setString(const std::string& text);
    const std::string& getString() const { return _label->getString(); }
    void setFontName(const std::string& fontName);
    const std::string& getFontName() const { return _definition.fontName; }
    void setFontSize(float size);
    float getFontSize() const { return _label->getSystemFontSize(); }
    void setDimensions(const Size& dimensions);
    const Size& getDimensions() const { return _label->getDimensions(); }
    void setHorizontalAlignment(TextHAlignment alignment);
    TextHAlignment getHorizontalAlignment() const { return _label->getHorizontalAlignment(); }
    void setVerticalAlignment(TextVAlignment alignment);
    TextVAlignment getVerticalAlignment() const { return _label->getVerticalAlignment(); }

    void enableShadow(const Size& offset, float opacity, float blur, bool updateTexture = true);
    void disableShadow(bool updateTexture = true);
    void enableStroke(const Color3B& color, float size, bool updateTexture = true);
    void disableStroke(bool updateTexture = true);
    void setFontFillColor(const Color3B& color, bool updateTexture = true);
    // Font, size, alignments, box, fill colour, shadow and stroke at once; a
    // TrueType file that cannot be found leaves the label as it was.
    void setTextDefinition(const FontDefinition& definition);
    FontDefinition getTextDefinition() const;

    void setBlendFunc(const BlendFunc& blendFunc) { _blendFunc = blendFunc; }
    const BlendFunc& getBlendFunc() const { return _blendFunc; }
    void setFlippedX(bool flipped);
    void setFlippedY(bool flipped);

    Label* getRenderLabel() const { return _label; }

protected:
    LabelTTF() = default;
    bool init() override;

private:
    // A new Label for the definition's font (nullptr: its file cannot be found).
    static Label* makeLabel(const std::string& text, const FontDefinition& definition);
    void useLabel(Label* label);
    void fitContent();

    Label* _label = nullptr;  // a child of this node
    FontDefinition _definition;
    BlendFunc _blendFunc = BlendFunc::ALPHA_PREMULTIPLIED;
    bool _flippedX = false;
    bool _flippedY = false;
};

class LabelBMFont : public Node {
public:
    static LabelBMFont* create();
    static LabelBMFont* create(const std::string& text, const std::string& fntFile, float width = 0,
                               TextHAlignment alignment = TextHAlignment::LEFT, const Vec2& imageOffset = Vec2::ZERO);

    bool initWithString(const std::string& text, const std::string& fntFile, float width = 0,
                        TextHAlignment alignment = TextHAlignment::LEFT, const Vec2& imageOffset = Vec2::ZERO);

    void setString(const std::string& text);
    const std::string& getString() const { return _label->getString(); }
    // A file that cannot be found leaves the font as it was.
    void setFntFile(const std::string& fntFile, const Vec2& imageOffset = Vec2::ZERO);
    const std::string& getFntFile() const { return _label->getBMFontFilePath(); }
    void setAlignment(TextHAlignment alignment);
    void setWidth(float width);
    void setLineBreakWithoutSpace(bool breakWithoutSpace) { _lineBreakWithoutSpace = breakWithoutSpace; }
    bool isLineBreakWithoutSpace() const { return _lineBreakWithoutSpace; }
    // The text is drawn as one quad: there is no sprite per letter, so nullptr.
    Sprite* getLetter(int index) const;

    void setBlendFunc(const BlendFunc& blendFunc) { _blendFunc = blendFunc; }
    const BlendFunc& getBlendFunc() const { return _blendFunc; }
    void setOpacityModifyRGB(bool modify) override { _opacityModifyRGB = modify; }
    bool isOpacityModifyRGB() const override { return _opacityModifyRGB; }

    Label* getRenderLabel() const { return _label; }

protected:
    LabelBMFont() = default;
    bool init() override;

private:
    void useLabel(Label* label);
    void fitContent();

    Label* _label = nullptr;  // a child of this node
    float _width = 0;
    BlendFunc _blendFunc = BlendFunc::ALPHA_PREMULTIPLIED;
    bool _opacityModifyRGB = false;
    bool _lineBreakWithoutSpace = false;
};

}  // namespace engine
