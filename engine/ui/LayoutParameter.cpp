#include "engine/ui/LayoutParameter.h"

namespace engine::ui {

namespace {
template <class T>
T* autoreleasedParameter(T* parameter) {
    parameter->autorelease();
    return parameter;
}
}  // namespace

LayoutParameter* LayoutParameter::create() { return autoreleasedParameter(new LayoutParameter(Type::NONE)); }
LinearLayoutParameter* LinearLayoutParameter::create() { return autoreleasedParameter(new LinearLayoutParameter); }
RelativeLayoutParameter* RelativeLayoutParameter::create() {
    return autoreleasedParameter(new RelativeLayoutParameter);
}

}  // namespace engine::ui
