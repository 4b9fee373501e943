#pragma once
// A check box: a tap released inside turns its state over and tells the event
// listener SELECTED or UNSELECTED (after the touch listener's ENDED, before the
// click listener). setSelected changes the state silently.
#include <functional>

#include "engine/ui/AbstractCheckButton.h"

namespace engine::ui {

class CheckBox : public AbstractCheckButton {
public:
    // Numbered as scripts see them.
    enum class EventType { SELECTED = 0, UNSELECTED = 1 };
    using ccCheckBoxCallback = std::function<void(Ref*, EventType)>;

    static CheckBox* create();   // autoreleased, unselected
    // Replaces the event listener (an empty function removes it).
    void addEventListener(const ccCheckBoxCallback& callback) { _eventListener = callback; }
    const ccCheckBoxCallback& getEventListener() const { return _eventListener; }

protected:
    CheckBox() = default;
    void onTapped() override;

private:
    ccCheckBoxCallback _eventListener;
};

}  // namespace engine::ui
