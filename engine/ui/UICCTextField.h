#pragma once
// The UI module's text field: a TextFieldTTF that can be a password field (drawn
// hidden behind bullets), keep its content to a maximum length in code points,
// and tell its owner of every attachment, detachment, insertion and deletion.
//
// Contract:
// - With a maximum length, insertText keeps only the whole code points that
//   still fit (nothing when none does; no event then).
// - onEvent runs after each change with ATTACH, DETACH, INSERT or DELETE (a
//   detachment only when the field was attached, a deletion only when something
//   was removed).
#include <cstddef>
#include <functional>
#include <string>

#include "engine/label/TextFieldTTF.h"

namespace engine {
namespace ui {

class UICCTextField : public TextFieldTTF {
public:
    enum class Change { ATTACH, DETACH, INSERT, DELETE };

    static UICCTextField* create();   // autoreleased

    void setPasswordEnabled(bool enabled) { _passwordEnabled = enabled; }
    bool isPasswordEnabled() const { return _passwordEnabled; }
    bool isTextHidden() const override { return _passwordEnabled || TextFieldTTF::isTextHidden(); }

    void setMaxLengthEnabled(bool enabled) { _maxLengthEnabled = enabled; }
    bool isMaxLengthEnabled() const { return _maxLengthEnabled; }
    void setMaxLength(int length) { _maxLength = length < 0 ? 0 : length; }
    int getMaxLength() const { return _maxLength; }

    bool attachWithIME() override;
    bool detachWithIME() override;
    void insertText(const char* text, size_t length) override;
    void deleteBackward() override;

    std::function<void(Change)> onEvent;

protected:
    UICCTextField() = default;

private:
    void tell(Change change);
    bool _passwordEnabled = false;
    bool _maxLengthEnabled = false;
    int _maxLength = 0;
};

}  // namespace ui
}  // namespace engine
