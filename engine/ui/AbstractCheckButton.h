#pragma once
// The base of the two-state widgets (check boxes, radio buttons): a selected
// flag that a tap released inside turns over, after the touch listener heard the
// end and before the click listener runs. Touch-enabled from the start. What a
// turn means (and which event it sends) is the subclass's: onTapped().
#include "engine/ui/Widget.h"

namespace engine::ui {

class AbstractCheckButton : public Widget {
public:
    // Sets the state without an event.
    void setSelected(bool selected) { _selected = selected; }
    bool isSelected() const { return _selected; }

protected:
    AbstractCheckButton() = default;
    bool init() override;
    void releaseUpEvent() override;
    // A tap released inside: the subclass changes the state and reports it.
    virtual void onTapped() = 0;

private:
    bool _selected = false;
};

}  // namespace engine::ui
