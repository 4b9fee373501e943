#pragma once
// The UI module's text field: a TextFieldTTF that can be a password field (drawn
// hidden behind bullets).
#include "engine/label/TextFieldTTF.h"

namespace engine {
namespace ui {

class UICCTextField : public TextFieldTTF {
public:
    static UICCTextField* create();   // autoreleased

    void setPasswordEnabled(bool enabled) { _passwordEnabled = enabled; }
    bool isPasswordEnabled() const { return _passwordEnabled; }
    bool isTextHidden() const override { return _passwordEnabled || TextFieldTTF::isTextHidden(); }

protected:
    UICCTextField() = default;

private:
    bool _passwordEnabled = false;
};

}  // namespace ui
}  // namespace engine
