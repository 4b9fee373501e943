#include "engine/ui/EditBox.h"

#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/input/IMEDispatcher.h"
#include "engine/input/InputEvents.h"
#include "engine/script/ScriptEngineManager.h"
#include "engine/script/ScriptEvent.h"
#include "engine/ui/TextLength.h"

namespace engine::ui {

namespace {
ScriptEngineProtocol* scriptEngine() { return ScriptEngineManager::getInstance()->getScriptEngine(); }
bool isContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }
}  // namespace

EditBox* EditBox::create(const Size& size, const std::string& normalImage, TextureResType type) {
    auto* box = new EditBox;
    if (!box->init()) {
        delete box;
        return nullptr;
    }
    box->autorelease();
    box->setContentSize(size);
    if (!normalImage.empty() && box->_background.load(normalImage, type, "EditBox")) {
        box->_backgroundRenderer = box->_background.newRenderer();
    }
    return box;
}

void EditBox::setFont(const std::string& name, int size) {
    _fontName = name;
    _fontSize = size;
}

void EditBox::setPlaceholderFont(const std::string& name, int size) {
    _placeholderFontName = name;
    _placeholderFontSize = size;
}

std::string EditBox::getShownText() const {
    if (_text.empty()) return _placeholder;
    if (_inputFlag != InputFlag::PASSWORD) return _text;
    return std::string(utf8CodePointCount(_text), '*');
}

void EditBox::touchDownAction(Ref*, TouchEventType type) {
    if (type == TouchEventType::ENDED) openKeyboard();
}

void EditBox::draw(Renderer* renderer, const Mat4& transform, uint32_t flags) {
    const Size& size = getContentSize();
    if (_backgroundRenderer) {
        const Size& original = _backgroundRenderer->getOriginalSize();
        _backgroundRenderer->setCapInsets(Rect(0, 0, original.width, original.height));
        _backgroundRenderer->setContentSize(size);
        _backgroundRenderer->setColor(getDisplayedColor());
        _backgroundRenderer->setOpacity(getDisplayedOpacity());
        _backgroundRenderer->setGlobalZOrder(getGlobalZOrder());
        _backgroundRenderer->visit(renderer, transform, flags);
    }
    const std::string shown = getShownText();
    if (shown.empty()) return;
    if (!_label) {
        _label = Label::create();
        if (!_label) return;
        _label->retain();
        _label->setAnchorPoint(Vec2(0, 0));
    }
    const bool placeholder = _text.empty();
    _label->setSystemFontName(placeholder ? _placeholderFontName : _fontName);
    _label->setSystemFontSize(static_cast<float>(placeholder ? _placeholderFontSize : _fontSize));
    _label->setTextColor(placeholder ? _placeholderFontColor : _fontColor);
    _label->setDimensions(size.width, size.height);
    _label->setAlignment(_alignment, TextVAlignment::CENTER);
    _label->setString(shown);
    _label->setPosition(0, 0);
    _label->setOpacity(getDisplayedOpacity());
    _label->setGlobalZOrder(getGlobalZOrder());
    _label->visit(renderer, transform, flags);
}

EditBox::~EditBox() {
    // Closed without events: nothing may hold on to the box any more.
    if (_editing) {
        detachWithIME();
        if (_enterListener->isRegistered()) {
            Director::getInstance()->getEventDispatcher()->removeEventListener(_enterListener);
        }
    }
    if (_enterListener) _enterListener->release();
    if (_backgroundRenderer) _backgroundRenderer->release();
    if (_label) _label->release();
    unregisterScriptEditBoxHandler();
}

bool EditBox::init() {
    if (!Widget::init()) return false;
    setTouchEnabled(true);
    return true;
}

void EditBox::registerScriptEditBoxHandler(int handler) {
    unregisterScriptEditBoxHandler();
    _scriptHandler = handler;
}

void EditBox::unregisterScriptEditBoxHandler() {
    if (_scriptHandler == 0) return;
    const int handler = _scriptHandler;
    _scriptHandler = 0;
    if (ScriptEngineProtocol* engine = scriptEngine()) engine->removeScriptHandler(handler);
}

void EditBox::send(const char* event) {
    if (_scriptHandler == 0) return;
    ScriptEngineProtocol* engine = scriptEngine();
    if (!engine) return;
    CommonScriptData data(_scriptHandler, event, this, "ccui.EditBox");
    ScriptEvent scriptEvent(COMMON_EVENT, &data);
    engine->sendEvent(&scriptEvent);
}

void EditBox::releaseUpEvent() {
    retain();
    Widget::releaseUpEvent();
    openKeyboard();
    release();
}

void EditBox::openKeyboard() {
    if (_editing || !attachWithIME()) return;
    _editing = true;
    if (!_enterListener) {
        _enterListener = EventListenerKeyboard::create();
        _enterListener->retain();
        _enterListener->onKeyPressed = [this](int keyCode, Event*) {
            if (keyCode == static_cast<int>(EventKeyboard::KeyCode::KEY_ENTER)) finish(true);
        };
    }
    Director::getInstance()->getEventDispatcher()->addEventListenerWithFixedPriority(_enterListener, -1, this);
    send("began");
}

void EditBox::closeKeyboard() { finish(false); }

void EditBox::finish(bool returned) {
    if (!_editing) return;
    retain();   // a handler may drop the box
    _editing = false;
    detachWithIME();
    if (_enterListener && _enterListener->isRegistered()) {
        Director::getInstance()->getEventDispatcher()->removeEventListener(_enterListener);
    }
    send("ended");
    if (returned) send("return");
    release();
}

void EditBox::insertText(const char* text, size_t length) {
    if (!_editing || !text || !length) return;
    const size_t kept = utf8BytesThatFit(_text, text, length, _maxLength);
    if (kept == 0) return;
    _text.append(text, kept);
    send("changed");
}

void EditBox::deleteBackward() {
    if (!_editing || _text.empty()) return;
    size_t end = _text.size() - 1;
    while (end > 0 && isContinuation(_text[end])) --end;
    _text.erase(end);
    send("changed");
}

}  // namespace engine::ui
