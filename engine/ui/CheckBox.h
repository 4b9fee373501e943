#pragma once
// A check box: a tap released inside turns its state over and tells the event
// listener SELECTED or UNSELECTED (after the touch listener's ENDED, before the
// click listener). setSelected changes the state silently.
#include <functional>
#include <string>

#include "engine/ui/AbstractCheckButton.h"

namespace engine::ui {

class CheckBox : public AbstractCheckButton {
public:
    // Numbered as scripts see them.
    enum class EventType { SELECTED = 0, UNSELECTED = 1 };
    using ccCheckBoxCallback = std::function<void(Ref*, EventType)>;

    static CheckBox* create();   // autoreleased, unselected
    // With its images (see AbstractCheckButton); a missing image logs and is left out.
    static CheckBox* create(const std::string& backGround, const std::string& backGroundSelected,
                         const std::string& cross, const std::string& backGroundDisabled,
                         const std::string& frontCrossDisabled, TextureResType type = TextureResType::LOCAL);
    static CheckBox* create(const std::string& backGround, const std::string& cross,
                         TextureResType type = TextureResType::LOCAL);
    // Replaces the event listener (an empty function removes it).
    void addEventListener(const ccCheckBoxCallback& callback) { _eventListener = callback; }
    const ccCheckBoxCallback& getEventListener() const { return _eventListener; }

protected:
    Widget* createCloneInstance() override;
    void copySpecialProperties(Widget* model) override;
    CheckBox() = default;
    void onTapped() override;

private:
    ccCheckBoxCallback _eventListener;
};

}  // namespace engine::ui
