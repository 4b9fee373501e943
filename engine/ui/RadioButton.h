#pragma once
// Radio buttons and the group that keeps at most one of them selected.
//
// RadioButton: a tap released inside selects an unselected button (a selected
// one stays selected) and tells its event listener SELECTED; a button another
// selection turns off tells UNSELECTED. Outside a group it behaves the same.
//
// RadioButtonGroup: holds its buttons (retained, in the order added; a button is
// in one group at a time). The first button added to a group that does not allow
// no selection becomes selected. Selecting a button, by a tap or by
// setSelectedButton, unselects the others and tells the group's listener
// (button, its index, SELECT_CHANGED); setSelectedButtonWithoutEvent tells nobody.
#include <functional>
#include <string>
#include <vector>

#include "engine/ui/AbstractCheckButton.h"

namespace engine::ui {

class RadioButtonGroup;

class RadioButton : public AbstractCheckButton {
public:
    enum class EventType { SELECTED = 0, UNSELECTED = 1 };
    using ccRadioButtonCallback = std::function<void(RadioButton*, EventType)>;

    static RadioButton* create();   // autoreleased, unselected, in no group
    // With its images (see AbstractCheckButton); a missing image logs and is left out.
    static RadioButton* create(const std::string& backGround, const std::string& backGroundSelected,
                               const std::string& cross, const std::string& backGroundDisabled,
                               const std::string& frontCrossDisabled, TextureResType type = TextureResType::LOCAL);
    static RadioButton* create(const std::string& backGround, const std::string& cross,
                               TextureResType type = TextureResType::LOCAL);
    ~RadioButton() override;
    void addEventListener(const ccRadioButtonCallback& callback) { _eventListener = callback; }
    const ccRadioButtonCallback& getEventListener() const { return _eventListener; }
    RadioButtonGroup* getGroup() const { return _group; }

protected:
    Widget* createCloneInstance() override;
    void copySpecialProperties(Widget* model) override;
    RadioButton() = default;
    void onTapped() override;

private:
    friend class RadioButtonGroup;
    void changeState(bool selected);   // with the event when it changes
    ccRadioButtonCallback _eventListener;
    RadioButtonGroup* _group = nullptr;   // not retained: the group retains its buttons
};

class RadioButtonGroup : public Widget {
public:
    enum class EventType { SELECT_CHANGED = 0 };
    using ccRadioButtonGroupCallback = std::function<void(RadioButton*, int index, EventType)>;

    static RadioButtonGroup* create();   // autoreleased, empty
    ~RadioButtonGroup() override;

    void addRadioButton(RadioButton* button);
    void removeRadioButton(RadioButton* button);
    void removeAllRadioButtons();
    int getNumberOfRadioButtons() const { return static_cast<int>(_buttons.size()); }
    // Null out of range.
    RadioButton* getRadioButtonByIndex(int index) const;
    // -1 when none is selected.
    int getSelectedButtonIndex() const;
    // Selects the button (of this group; others are ignored) or, with null or an
    // index out of range, clears the selection when no selection is allowed.
    void setSelectedButton(RadioButton* button);
    void setSelectedButton(int index);
    void setSelectedButtonWithoutEvent(RadioButton* button);
    void setSelectedButtonWithoutEvent(int index);
    void setAllowedNoSelection(bool allowed) { _allowedNoSelection = allowed; }
    bool isAllowedNoSelection() const { return _allowedNoSelection; }

    void addEventListener(const ccRadioButtonGroupCallback& callback) { _eventListener = callback; }
    const ccRadioButtonGroupCallback& getEventListener() const { return _eventListener; }

protected:
    RadioButtonGroup() = default;

private:
    friend class RadioButton;
    void select(RadioButton* button, bool withEvent);
    std::vector<RadioButton*> _buttons;
    RadioButton* _selected = nullptr;
    bool _allowedNoSelection = false;
    ccRadioButtonGroupCallback _eventListener;
};

}  // namespace engine::ui
