#include <string>

#include "engine/app/GLView.h"
#include "engine/base/Director.h"
#include "engine/base/EventDispatcher.h"
#include "engine/input/InputEvents.h"
#include "engine/input/IMEDispatcher.h"
#include "engine/input/TextInputHooks.h"
#include "platform/Utf16.h"

namespace engine {
namespace {

constexpr int kKeyBackspace = 259;
constexpr int kActionRelease = 0;
constexpr int kActionPress = 1;

using KeyCode = EventKeyboard::KeyCode;

int code(KeyCode key) { return static_cast<int>(key); }

}  // namespace

void GLView::onKeyInput(int key, int scancode, int action, int mods) {
    if (runTextInputKeyHook(key, scancode, action, mods)) return;
    if (action != kActionRelease && key == kKeyBackspace) IMEDispatcher::sharedDispatcher()->dispatchDeleteBackward();
    const int keyCode = keyCodeFromGlfw(key);
    if (keyCode == 0) return;
    EventKeyboard event(keyCode, action != kActionRelease);
    Director::getInstance()->getEventDispatcher()->dispatchEvent(&event);
}

int GLView::keyCodeFromGlfw(int key) {
    if (key >= 48 && key <= 57) return code(KeyCode::KEY_0) + (key - 48);
    if (key >= 65 && key <= 90) return code(KeyCode::KEY_A) + (key - 65);
    if (key >= 290 && key <= 301) return code(KeyCode::KEY_F1) + (key - 290);
    switch (key) {
    case 32: return code(KeyCode::KEY_SPACE);
    case 256: return code(KeyCode::KEY_ESCAPE);
    case 257: return code(KeyCode::KEY_ENTER);
    case 258: return code(KeyCode::KEY_TAB);
    case 259: return code(KeyCode::KEY_BACKSPACE);
    case 261: return code(KeyCode::KEY_DELETE);
    case 262: return code(KeyCode::KEY_RIGHT_ARROW);
    case 263: return code(KeyCode::KEY_LEFT_ARROW);
    case 264: return code(KeyCode::KEY_DOWN_ARROW);
    case 265: return code(KeyCode::KEY_UP_ARROW);
    case 340: case 344: return code(KeyCode::KEY_SHIFT);
    case 341: case 345: return code(KeyCode::KEY_CTRL);
    case 342: case 346: return code(KeyCode::KEY_ALT);
    case 348: return code(KeyCode::KEY_MENU);
    default: return 0;
    }
}

void GLView::dispatchMouse(int type, int button, float scrollX, float scrollY) {
    EventMouse event(static_cast<EventMouse::MouseEventType>(type));
    // Design points, y up, as a touch's location.
    event.setCursorPosition((_cursorX - _viewPortRect.origin.x) / _scaleX,
                            (_screenSize.height - _cursorY - _viewPortRect.origin.y) / _scaleY);
    event.setMouseButton(button);
    event.setScrollData(scrollX, scrollY);
    Director::getInstance()->getEventDispatcher()->dispatchEvent(&event);
}

void GLView::setCursor(float x, float y) {
    const float zoom = _frameZoomFactor > 0 ? _frameZoomFactor : 1.f;
    _cursorX = x / zoom;
    _cursorY = y / zoom;
}

void GLView::handleMouseButton(int button, int action, float x, float y) {
    setCursor(x, y);
    const bool press = action == kActionPress;
    dispatchMouse(static_cast<int>(press ? EventMouse::MouseEventType::MOUSE_DOWN : EventMouse::MouseEventType::MOUSE_UP),
                  button);
    if (button != 0) return;
    if (press && !_leftButtonDown) {
        _leftButtonDown = true;
        handleTouchBegin(0, _cursorX, _cursorY);
    } else if (!press && _leftButtonDown) {
        _leftButtonDown = false;
        handleTouchEnd(0, _cursorX, _cursorY);
    }
}

void GLView::handleMouseMove(float x, float y) {
    setCursor(x, y);
    dispatchMouse(static_cast<int>(EventMouse::MouseEventType::MOUSE_MOVE), _leftButtonDown ? 0 : -1);
    if (_leftButtonDown) handleTouchMove(0, _cursorX, _cursorY);
}

void GLView::handleMouseScroll(float scrollX, float scrollY) {
    dispatchMouse(static_cast<int>(EventMouse::MouseEventType::MOUSE_SCROLL), -1, scrollX, scrollY);
}

void GLView::onCharInput(unsigned int codePoint) {
    if (runTextInputCharHook(codePoint)) return;
    std::string utf8;
    platform::appendUtf8(utf8, static_cast<char32_t>(codePoint));
    IMEDispatcher::sharedDispatcher()->dispatchInsertText(utf8.data(), utf8.size());
}

std::vector<Touch*> GLView::getAllTouches() const {
    std::vector<Touch*> touches;
    touches.reserve(_touches.size());
    for (const auto& [id, touch] : _touches) touches.push_back(touch);
    return touches;
}

}  // namespace engine
