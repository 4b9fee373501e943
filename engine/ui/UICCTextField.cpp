#include "engine/ui/UICCTextField.h"

#include "engine/ui/TextLength.h"

namespace engine {
namespace ui {

UICCTextField* UICCTextField::create() {
    auto* field = new UICCTextField;
    field->autorelease();
    return field;
}

void UICCTextField::tell(Change change) {
    if (!onEvent) return;
    retain();
    const std::function<void(Change)> listener = onEvent;
    listener(change);
    release();
}

bool UICCTextField::attachWithIME() {
    if (!TextFieldTTF::attachWithIME()) return false;
    tell(Change::ATTACH);
    return true;
}

bool UICCTextField::detachWithIME() {
    if (!TextFieldTTF::detachWithIME()) return false;
    tell(Change::DETACH);
    return true;
}

void UICCTextField::insertText(const char* text, size_t length) {
    if (!text || !length) return;
    // A maximum of 0 keeps nothing.
    const size_t kept = !_maxLengthEnabled ? length
                        : _maxLength == 0  ? 0
                                           : utf8BytesThatFit(getString(), text, length, _maxLength);
    if (kept == 0) return;
    TextFieldTTF::insertText(text, kept);
    tell(Change::INSERT);
}

void UICCTextField::deleteBackward() {
    if (getString().empty()) return;
    TextFieldTTF::deleteBackward();
    tell(Change::DELETE);
}

}  // namespace ui
}  // namespace engine
