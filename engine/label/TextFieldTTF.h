#pragma once
// An editable text field: a node holding UTF-8 content that the input method
// edits while the field is attached to it, drawn in a text colour, optionally as
// secure entry (its text hidden). Drawn as a label it keeps (not a child) in the
// default system font, its lower-left corner at the field's origin: the content,
// or one bullet per code point when the text is hidden.
//
// Contract:
// - insertText appends the bytes given; deleteBackward removes the last code
//   point (nothing on empty content).
// - attachWithIME / detachWithIME attach it to the shared dispatcher; a field
//   going away detaches itself.
#include <string>

#include "engine/base/Types.h"
#include "engine/input/IMEDelegate.h"
#include "engine/scene/Node.h"

namespace engine {

class Label;

class TextFieldTTF : public Node, public IMEDelegate {
public:
    static TextFieldTTF* create();   // autoreleased

    void setString(const std::string& text) { _content = text; }
    const std::string& getString() const { return _content; }
    const std::string& getContentText() override { return _content; }

    void setTextColor(const Color4B& color) { _textColor = color; }
    const Color4B& getTextColor() const { return _textColor; }

    void setSecureTextEntry(bool secure) { _secure = secure; }
    bool isSecureTextEntry() const { return _secure; }

    // Whether the drawn text is hidden behind bullets.
    virtual bool isTextHidden() const { return _secure; }

    void insertText(const char* text, size_t length) override;
    void deleteBackward() override;
    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;
    ~TextFieldTTF() override;

protected:
    TextFieldTTF() = default;

private:
    std::string _content;
    Color4B _textColor{255, 255, 255, 255};
    bool _secure = false;
    Label* _renderer = nullptr;   // made on the first draw
};

}  // namespace engine
