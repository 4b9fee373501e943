#pragma once
// A one-line text entry box. A tap released inside opens it: it attaches itself
// to the input method, and the view's character entry inserts typed text,
// Backspace deletes the last code point, and Enter closes it. Touch-enabled from
// the start.
//
// Script handler: a handler id the box owns (released when replaced, removed or
// with the box). Each event goes to the script engine as a common event with the
// box as source ("ccui.EditBox"): "began" when it opens, "changed" after each
// insertion or deletion that changed the text, "ended" when it closes, then
// "return" when Enter closed it.
//
// The maximum length (code points; 0 or less: none) cuts typed text, not
// setText. Input mode, input flag and return type are kept for scripts to read
// back.
//
// Drawn: the background image (a file or a sprite-sheet frame) stretched over the
// content box, then the text in the font's name, size and colour, or while the
// text is empty the placeholder in its own font and colour; a PASSWORD flag
// shows one '*' per code point. The text sits in the box's height, centred
// vertically, aligned across by the horizontal alignment.
#include <string>

#include "engine/input/IMEDelegate.h"
#include "engine/label/Label.h"
#include "engine/ui/Widget.h"
#include "engine/ui/WidgetImage.h"

namespace engine {
class EventListenerKeyboard;
}

namespace engine::ui {

class EditBox : public Widget, public IMEDelegate {
public:
    enum class InputMode { ANY = 0, EMAIL_ADDRESS, NUMERIC, PHONE_NUMBER, URL, DECIMAL, SINGLE_LINE };
    enum class InputFlag {
        PASSWORD = 0, SENSITIVE, INITIAL_CAPS_WORD, INITIAL_CAPS_SENTENCE, INITIAL_CAPS_ALL_CHARACTERS,
        LOWERCASE_ALL_CHARACTERS
    };

    // Numbered as scripts see them.
    enum class KeyboardReturnType { DEFAULT = 0, DONE, SEND, SEARCH, GO, NEXT };

    // Autoreleased, of the given size, with its background image (none for "").
    static EditBox* create(const Size& size, const std::string& normalImage = "",
                           TextureResType type = TextureResType::LOCAL);
    ~EditBox() override;

    void setText(const std::string& text) { _text = text; }
    const std::string& getText() const { return _text; }
    void setPlaceHolder(const std::string& text) { _placeholder = text; }
    const std::string& getPlaceHolder() const { return _placeholder; }
    void setMaxLength(int length) { _maxLength = length; }
    int getMaxLength() const { return _maxLength; }
    void setInputMode(InputMode mode) { _inputMode = mode; }
    InputMode getInputMode() const { return _inputMode; }
    void setInputFlag(InputFlag flag) { _inputFlag = flag; }
    InputFlag getInputFlag() const { return _inputFlag; }

    void setReturnType(KeyboardReturnType type) { _returnType = type; }
    KeyboardReturnType getReturnType() const { return _returnType; }

    void setFont(const std::string& name, int size);
    void setFontName(const std::string& name) { _fontName = name; }
    const std::string& getFontName() const { return _fontName; }
    void setFontSize(int size) { _fontSize = size; }
    int getFontSize() const { return _fontSize; }
    void setFontColor(const Color3B& color) { _fontColor = Color4B{color.r, color.g, color.b, 255}; }
    void setFontColor(const Color4B& color) { _fontColor = color; }
    const Color4B& getFontColor() const { return _fontColor; }
    void setPlaceholderFont(const std::string& name, int size);
    void setPlaceholderFontName(const std::string& name) { _placeholderFontName = name; }
    const std::string& getPlaceholderFontName() const { return _placeholderFontName; }
    void setPlaceholderFontSize(int size) { _placeholderFontSize = size; }
    int getPlaceholderFontSize() const { return _placeholderFontSize; }
    void setPlaceholderFontColor(const Color3B& color) {
        _placeholderFontColor = Color4B{color.r, color.g, color.b, 255};
    }
    void setPlaceholderFontColor(const Color4B& color) { _placeholderFontColor = color; }
    const Color4B& getPlaceholderFontColor() const { return _placeholderFontColor; }
    void setTextHorizontalAlignment(TextHAlignment alignment) { _alignment = alignment; }
    TextHAlignment getTextHorizontalAlignment() const { return _alignment; }
    // The text as drawn now: the text (starred for a password) or the placeholder.
    std::string getShownText() const;

    // Opens the box, as a tap released inside does.
    void touchDownAction(Ref* sender, TouchEventType type);

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

    void registerScriptEditBoxHandler(int handler);
    void unregisterScriptEditBoxHandler();
    int getScriptEditBoxHandler() const { return _scriptHandler; }

    // Attach / detach with the events above; nothing when already so.
    void openKeyboard();
    void closeKeyboard();
    bool isEditing() const { return _editing; }

    void insertText(const char* text, size_t length) override;
    void deleteBackward() override;
    const std::string& getContentText() override { return _text; }

protected:
    EditBox() = default;
    bool init() override;
    void releaseUpEvent() override;

private:
    void finish(bool returned);
    void send(const char* event);
    std::string _text;
    std::string _placeholder;
    int _maxLength = -1;
    InputMode _inputMode = InputMode::SINGLE_LINE;
    InputFlag _inputFlag = InputFlag::INITIAL_CAPS_ALL_CHARACTERS;
    KeyboardReturnType _returnType = KeyboardReturnType::DEFAULT;
    std::string _fontName = "sans-serif";
    int _fontSize = 20;
    Color4B _fontColor{255, 255, 255, 255};
    std::string _placeholderFontName = "sans-serif";
    int _placeholderFontSize = 20;
    Color4B _placeholderFontColor{128, 128, 128, 255};
    TextHAlignment _alignment = TextHAlignment::LEFT;
    WidgetImage _background;
    Scale9Sprite* _backgroundRenderer = nullptr;   // retained, not a child
    Label* _label = nullptr;                       // retained, not a child
    int _scriptHandler = 0;
    bool _editing = false;
    EventListenerKeyboard* _enterListener = nullptr;   // registered while editing
};

}  // namespace engine::ui
