#include "engine/ui/LayoutParameter.h"

namespace engine::ui {

LayoutParameter* LayoutParameter::create() { return autoreleased(new LayoutParameter(Type::NONE)); }
LinearLayoutParameter* LinearLayoutParameter::create() { return autoreleased(new LinearLayoutParameter); }
RelativeLayoutParameter* RelativeLayoutParameter::create() {
    return autoreleased(new RelativeLayoutParameter);
}

}  // namespace engine::ui
