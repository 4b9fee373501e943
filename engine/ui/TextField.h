#pragma once
// A text entry widget: a UICCTextField child (its renderer) that a tap released
// inside attaches to the input method; then the view's typed characters and
// Backspace edit it. Touch-enabled from the start. The event listener hears
// ATTACH_WITH_IME, DETACH_WITH_IME, INSERT_TEXT and DELETE_BACKWARD as they
// happen (after the touch listener's ENDED for a tap). The place-holder is what
// shows while the content is empty; max length and password mode are the
// renderer's (UICCTextField).
#include <functional>
#include <string>

#include "engine/ui/TextLength.h"
#include "engine/ui/UICCTextField.h"
#include "engine/ui/Widget.h"

namespace engine::ui {

class TextField : public Widget {
public:
    enum class EventType { ATTACH_WITH_IME = 0, DETACH_WITH_IME = 1, INSERT_TEXT = 2, DELETE_BACKWARD = 3 };
    using ccTextFieldCallback = std::function<void(Ref*, EventType)>;

    static TextField* create();   // autoreleased, empty
    static TextField* create(const std::string& placeholder, const std::string& fontName, float fontSize);
    ~TextField() override;

    void setString(const std::string& text);
    const std::string& getString() const { return _renderer->getString(); }
    int getStringLength() const { return static_cast<int>(utf8CodePointCount(getString())); }
    void setPlaceHolder(const std::string& text) { _placeholder = text; }
    const std::string& getPlaceHolder() const { return _placeholder; }
    void setFontName(const std::string& name) { _fontName = name; }
    const std::string& getFontName() const { return _fontName; }
    void setFontSize(float size) { _fontSize = size; }
    float getFontSize() const { return _fontSize; }

    void setMaxLengthEnabled(bool enabled) { _renderer->setMaxLengthEnabled(enabled); }
    bool isMaxLengthEnabled() const { return _renderer->isMaxLengthEnabled(); }
    void setMaxLength(int length) { _renderer->setMaxLength(length); }
    int getMaxLength() const { return _renderer->getMaxLength(); }
    void setPasswordEnabled(bool enabled) { _renderer->setPasswordEnabled(enabled); }
    bool isPasswordEnabled() const { return _renderer->isPasswordEnabled(); }

    bool attachWithIME() { return _renderer->attachWithIME(); }
    bool detachWithIME() { return _renderer->detachWithIME(); }
    UICCTextField* getVirtualRenderer() override { return _renderer; }

    void addEventListener(const ccTextFieldCallback& callback) { _eventListener = callback; }
    const ccTextFieldCallback& getEventListener() const { return _eventListener; }

protected:
    TextField() = default;
    bool init() override;
    void releaseUpEvent() override;

private:
    void onRendererEvent(UICCTextField::Change change);
    UICCTextField* _renderer = nullptr;   // a child
    std::string _placeholder;
    std::string _fontName;
    float _fontSize = 10;
    ccTextFieldCallback _eventListener;
};

}  // namespace engine::ui
