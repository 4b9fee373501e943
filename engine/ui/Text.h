#pragma once
// A text widget: a system-font label laid out by the label's metric; the widget's
// content size follows the text. Drawn as its label (kept by the widget, not a
// child) over the content box.
#include <string>

#include "engine/label/Label.h"
#include "engine/ui/Widget.h"

namespace engine::ui {

class Text : public Widget {
public:
    static Text* create();
    static Text* create(const std::string& text, const std::string& fontName, float fontSize);
    ~Text() override;

    void setString(const std::string& text);
    const std::string& getString() const { return _renderer->getString(); }
    void setFontSize(float size);
    float getFontSize() const { return _renderer->getSystemFontSize(); }
    void setFontName(const std::string& name) { _renderer->setSystemFontName(name); }
    const std::string& getFontName() const { return _renderer->getSystemFontName(); }
    void setTextColor(const Color4B& color) { _renderer->setTextColor(color); }
    const Color4B& getTextColor() const { return _renderer->getTextColor(); }
    Label* getVirtualRenderer() const { return _renderer; }
    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    Text() = default;
    bool init() override;

private:
    Label* _renderer = nullptr;
};

}  // namespace engine::ui
