#pragma once
// Menu items shown as a text: MenuItemLabel wraps any node (usually a Label) as
// its only content, and MenuItemFont makes that label from a text in a system
// font.
//
// The label sits on the item's box (anchored at its lower-left corner at the
// item's origin) and the item takes the label's content size, also after
// setString. While the item is disabled the label shows the disabled colour;
// enabling it again restores the colour the label had.
#include <string>

#include "engine/scene/MenuItem.h"

namespace engine {

class MenuItemLabel : public MenuItem {
public:
    // An item around the label (not null), autoreleased; null for a null label.
    static MenuItemLabel* create(Node* label);

    // Replaces the label; a null label is refused with a log line.
    void setLabel(Node* label);
    Node* getLabel() const { return _label; }
    // The label's text when it is a Label; otherwise nothing / "".
    void setString(const std::string& text);
    std::string getString() const;
    // Grey (126, 126, 126) by default.
    void setDisabledColor(const Color3B& color);
    const Color3B& getDisabledColor() const { return _disabledColor; }
    void setEnabled(bool enabled) override;

protected:
    MenuItemLabel() = default;
    bool initWithLabel(Node* label);

private:
    Node* _label = nullptr;   // a child
    Color3B _colorBackup = Color3B::WHITE;
    Color3B _disabledColor{126, 126, 126};
};

// A label item whose label is made from a text in a font name and size. New
// items take the class-wide defaults (setFontName / setFontSize, "Arial" and 32
// at first); each item can change its own (the ...Obj methods).
class MenuItemFont : public MenuItemLabel {
public:
    static MenuItemFont* create(const std::string& text);

    static void setFontSize(int size);
    static int getFontSize();
    static void setFontName(const std::string& name);
    static const std::string& getFontName();

    void setFontSizeObj(int size);
    int getFontSizeObj() const { return _fontSize; }
    void setFontNameObj(const std::string& name);
    const std::string& getFontNameObj() const { return _fontName; }

protected:
    MenuItemFont() = default;
    bool initWithString(const std::string& text);

private:
    void restyle();

    int _fontSize = 0;
    std::string _fontName;
};

}  // namespace engine
