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
// setText. Input mode and flag are kept for scripts to read back; the password
// flag draws nothing differently here (the box draws no text of its own).
#include <string>

#include "engine/input/IMEDelegate.h"
#include "engine/ui/Widget.h"

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

    // Autoreleased, of the given size; the background image is not drawn by this box.
    static EditBox* create(const Size& size, const std::string& normalImage = "");
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
    int _scriptHandler = 0;
    bool _editing = false;
    EventListenerKeyboard* _enterListener = nullptr;   // registered while editing
};

}  // namespace engine::ui
