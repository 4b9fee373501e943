#include "engine/ui/UICCTextField.h"

namespace engine {
namespace ui {

UICCTextField* UICCTextField::create() {
    auto* field = new UICCTextField;
    field->autorelease();
    return field;
}

}  // namespace ui
}  // namespace engine
