#pragma once
// Focus changes among widgets: the event a widget taking the focus sends through
// the director's event dispatcher, and the listener that hears it.
//
// EventFocus carries the widget losing the focus and the one getting it (either
// may be null). EventListenerFocus calls onFocusChanged(losing, getting) when set;
// clone() copies the callback.
#include <functional>

#include "engine/base/Event.h"
#include "engine/base/EventListener.h"

namespace engine {

namespace ui {
class Widget;
}

class EventFocus : public Event {
public:
    EventFocus(ui::Widget* losing, ui::Widget* getting)
        : Event(Type::FOCUS), _widgetLoseFocus(losing), _widgetGetFocus(getting) {}
    ui::Widget* getWidgetLoseFocus() const { return _widgetLoseFocus; }
    ui::Widget* getWidgetGetFocus() const { return _widgetGetFocus; }

private:
    ui::Widget* _widgetLoseFocus;
    ui::Widget* _widgetGetFocus;
};

class EventListenerFocus : public EventListener {
public:
    using Callback = std::function<void(ui::Widget* losing, ui::Widget* getting)>;
    static EventListenerFocus* create();   // autoreleased; no callback
    EventListenerFocus* clone() override;
    void invoke(EventFocus* event) {
        if (onFocusChanged) onFocusChanged(event->getWidgetLoseFocus(), event->getWidgetGetFocus());
    }
    Callback onFocusChanged;

private:
    EventListenerFocus() : EventListener(Type::FOCUS, "__focus_event") {}
};

}  // namespace engine
