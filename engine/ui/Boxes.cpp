#include "engine/ui/Boxes.h"

namespace engine::ui {

#define VEXO_BOX_CREATE(Box, type)                      \
    Box* Box::create() { return create(Size()); }       \
    Box* Box::create(const Size& size) {                \
        auto* box = new Box;                            \
        if (!box->init()) {                             \
            delete box;                                 \
            return nullptr;                             \
        }                                               \
        box->setLayoutType(type);                       \
        box->setContentSize(size);                      \
        box->autorelease();                             \
        return box;                                     \
    }

VEXO_BOX_CREATE(HBox, Type::HORIZONTAL)
VEXO_BOX_CREATE(VBox, Type::VERTICAL)
VEXO_BOX_CREATE(RelativeBox, Type::RELATIVE)

#undef VEXO_BOX_CREATE

}  // namespace engine::ui
