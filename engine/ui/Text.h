#pragma once
// A text widget: a system-font label laid out by the label's metric; the widget's
// content size follows the text while it adapts to it (Widget). Drawn as its label
// (kept by the widget, not a child) over the content box.
//
// Effects: an outline (the label's), a glow (drawn as a one-point outline of its
// colour where no outline is set) and a shadow: the same text in the shadow
// colour, drawn first, moved by the offset (blur is kept, not drawn).
// disableEffect turns them all off. With touch scaling enabled, a touched text
// draws half as large again about its centre.
#include <string>

#include "engine/label/Label.h"
#include "engine/ui/Widget.h"

namespace engine::ui {

class Text : public Widget {
public:
    // Numbered as scripts see them: a system font, or a font file (.ttf, .otf).
    enum class Type { SYSTEM = 0, TTF = 1 };

    static Text* create();
    static Text* create(const std::string& text, const std::string& fontName, float fontSize);
    ~Text() override;

    void setString(const std::string& text);
    const std::string& getString() const { return _renderer->getString(); }
    // In code points.
    size_t getStringLength() const;
    void setFontSize(float size);
    float getFontSize() const { return _renderer->getSystemFontSize(); }
    void setFontName(const std::string& name);
    const std::string& getFontName() const { return _renderer->getSystemFontName(); }
    Type getType() const { return _type; }
    void setTextColor(const Color4B& color) { _renderer->setTextColor(color); }
    const Color4B& getTextColor() const { return _renderer->getTextColor(); }

    // The box the text is laid out in (zero: as wide and high as the text).
    void setTextAreaSize(const Size& size);
    const Size& getTextAreaSize() const { return _renderer->getDimensions(); }
    void setTextHorizontalAlignment(TextHAlignment alignment) { _renderer->setHorizontalAlignment(alignment); }
    TextHAlignment getTextHorizontalAlignment() const { return _renderer->getHorizontalAlignment(); }
    void setTextVerticalAlignment(TextVAlignment alignment) { _renderer->setVerticalAlignment(alignment); }
    TextVAlignment getTextVerticalAlignment() const { return _renderer->getVerticalAlignment(); }

    void enableOutline(const Color4B& color, int outlineSize = 1);
    void enableShadow(const Color4B& color = Color4B{0, 0, 0, 255}, const Size& offset = Size(2, -2),
                      int blurRadius = 0);
    void enableGlow(const Color4B& color);
    void disableEffect();
    bool isShadowEnabled() const { return _shadowEnabled; }
    const Size& getShadowOffset() const { return _shadowOffset; }
    int getShadowBlurRadius() const { return _shadowBlurRadius; }
    const Color4B& getShadowColor() const { return _shadowColor; }
    bool isGlowEnabled() const { return _glowEnabled; }
    const Color4B& getGlowColor() const { return _glowColor; }

    void setTouchScaleChangeEnabled(bool enabled) { _touchScaleChange = enabled; }
    bool isTouchScaleChangeEnabled() const { return _touchScaleChange; }

    Label* getVirtualRenderer() override { return _renderer; }
    Size getVirtualRendererSize() const override { return _renderer->getContentSize(); }
    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    Widget* createCloneInstance() override;
    void copySpecialProperties(Widget* model) override;
    Text() = default;
    bool init() override;

private:
    void applyGlow();

    Label* _renderer = nullptr;
    Label* _shadow = nullptr;   // made on first use
    Type _type = Type::SYSTEM;
    bool _shadowEnabled = false;
    Size _shadowOffset;
    int _shadowBlurRadius = 0;
    Color4B _shadowColor{0, 0, 0, 255};
    bool _outlineEnabled = false;
    bool _glowEnabled = false;
    Color4B _glowColor{0, 0, 0, 0};
    bool _touchScaleChange = false;
};

}  // namespace engine::ui
