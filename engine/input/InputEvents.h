#pragma once
// Keyboard, mouse and accelerometer events.
//
// Key codes are the engine's own numbering (EventKeyboard::KeyCode): 7 is the
// back key (Escape on a desktop), 18 the menu key. Mouse events carry their kind
// (1 down, 2 up, 3 move, 4 scroll), the cursor in design points (y up, as a
// touch's location), the button (0 left, 1 right, 2 middle; -1 none) and the
// scroll amounts.
#include "engine/base/Event.h"
#include "engine/input/Acceleration.h"

namespace engine {

class EventKeyboard : public Event {
public:
    enum class KeyCode : int {
        KEY_NONE = 0,
        KEY_BACKSPACE = 6,
        KEY_ESCAPE = 7,
        KEY_BACK = 7,
        KEY_TAB = 8,
        KEY_ENTER = 9,
        KEY_SHIFT = 10,
        KEY_CTRL = 11,
        KEY_ALT = 12,
        KEY_SPACE = 13,
        KEY_LEFT_ARROW = 14,
        KEY_RIGHT_ARROW = 15,
        KEY_UP_ARROW = 16,
        KEY_DOWN_ARROW = 17,
        KEY_MENU = 18,
        KEY_DELETE = 19,
        KEY_F1 = 20,   // to KEY_F12 = 31
        KEY_0 = 40,    // to KEY_9 = 49
        KEY_A = 60,    // to KEY_Z = 85
    };
    EventKeyboard(int keyCode, bool pressed) : Event(Type::KEYBOARD), _keyCode(keyCode), _pressed(pressed) {}
    int getKeyCode() const { return _keyCode; }
    bool isPressed() const { return _pressed; }

private:
    int _keyCode;
    bool _pressed;
};

class EventMouse : public Event {
public:
    enum class MouseEventType : int { NONE = 0, MOUSE_DOWN = 1, MOUSE_UP = 2, MOUSE_MOVE = 3, MOUSE_SCROLL = 4 };
    explicit EventMouse(MouseEventType type) : Event(Type::MOUSE), _mouseType(type) {}
    MouseEventType getMouseEventType() const { return _mouseType; }
    void setCursorPosition(float x, float y) {
        _x = x;
        _y = y;
    }
    float getCursorX() const { return _x; }
    float getCursorY() const { return _y; }
    void setMouseButton(int button) { _button = button; }
    int getMouseButton() const { return _button; }
    void setScrollData(float scrollX, float scrollY) {
        _scrollX = scrollX;
        _scrollY = scrollY;
    }
    float getScrollX() const { return _scrollX; }
    float getScrollY() const { return _scrollY; }

private:
    MouseEventType _mouseType;
    float _x = 0, _y = 0;
    int _button = -1;
    float _scrollX = 0, _scrollY = 0;
};

class EventAcceleration : public Event {
public:
    explicit EventAcceleration(const Acceleration& acceleration) : Event(Type::ACCELERATION) {
        _acceleration.x = acceleration.x;
        _acceleration.y = acceleration.y;
        _acceleration.z = acceleration.z;
        _acceleration.timestamp = acceleration.timestamp;
    }
    Acceleration* getAcceleration() { return &_acceleration; }

private:
    Acceleration _acceleration;
};

// The device's accelerometer switch and its interval (seconds). Headless: no
// sensor feeds it; events come from EventAcceleration dispatched by hand.
class Device {
public:
    // The dots per inch of the primary monitor of the desktop model.
    static int getDPI();
    static void setAccelerometerEnabled(bool enabled);
    static bool isAccelerometerEnabled();
    static void setAccelerometerInterval(float interval);
    static float getAccelerometerInterval();
};

}  // namespace engine
