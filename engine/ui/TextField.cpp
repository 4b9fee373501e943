#include "engine/ui/TextField.h"

namespace engine::ui {

TextField* TextField::create() {
    auto* field = new TextField;
    return autoreleased(field, field->init());
}

TextField* TextField::create(const std::string& placeholder, const std::string& fontName, float fontSize) {
    TextField* field = create();
    if (field) {
        field->setPlaceHolder(placeholder);
        field->setFontName(fontName);
        field->setFontSize(fontSize);
    }
    return field;
}

TextField::~TextField() {
    if (_renderer) _renderer->onEvent = nullptr;   // the renderer may outlive its field
}

bool TextField::init() {
    if (!Widget::init()) return false;
    _renderer = UICCTextField::create();
    _renderer->onEvent = [this](UICCTextField::Change change) { onRendererEvent(change); };
    addChild(_renderer);
    setTouchEnabled(true);
    return true;
}

void TextField::setString(const std::string& text) { _renderer->setString(text); }

void TextField::releaseUpEvent() {
    retain();
    Widget::releaseUpEvent();
    attachWithIME();
    release();
}

void TextField::onRendererEvent(UICCTextField::Change change) {
    if (!_eventListener) return;
    EventType type = EventType::ATTACH_WITH_IME;
    switch (change) {
    case UICCTextField::Change::ATTACH: type = EventType::ATTACH_WITH_IME; break;
    case UICCTextField::Change::DETACH: type = EventType::DETACH_WITH_IME; break;
    case UICCTextField::Change::INSERT: type = EventType::INSERT_TEXT; break;
    case UICCTextField::Change::DELETE: type = EventType::DELETE_BACKWARD; break;
    }
    retain();
    const ccTextFieldCallback listener = _eventListener;
    listener(this, type);
    release();
}

}  // namespace engine::ui
