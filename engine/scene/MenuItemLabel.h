#pragma once
// Menu items shown as a text: MenuItemLabel wraps any node (usually a Label) as
// its only content, and MenuItemFont makes that label from a text in a system
// font.
//
// The label sits on the item's box (anchored at its lower-left corner at the
// item's origin) and the item takes the label's content size, also after
// setString. While the item is disabled the label shows the disabled colour;
// enabling it again restores the colour the label had. The item itself draws
// nothing: what shows is that content node, its child.
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

// A label item whose label is drawn from a character map: an image of
// itemWidth x itemHeight cells, the first holding startChar. Headless, the
// glyphs are not cut from the map: the label shows the text in the system font,
// and the item keeps the map's settings.
class MenuItemAtlasFont : public MenuItemLabel {
public:
    // Autoreleased.
    static MenuItemAtlasFont* create(const std::string& text, const std::string& charMapFile, int itemWidth,
                                     int itemHeight, char startChar);

    const std::string& getCharMapFile() const { return _charMapFile; }
    int getItemWidth() const { return _itemWidth; }
    int getItemHeight() const { return _itemHeight; }
    char getStartChar() const { return _startChar; }

protected:
    MenuItemAtlasFont() = default;

private:
    std::string _charMapFile;
    int _itemWidth = 0;
    int _itemHeight = 0;
    char _startChar = ' ';
};

}  // namespace engine
