#include "scripting/LuaDeprecatedConversions.h"

#include "engine/deprecated/BoxedValues.h"

bool luaconv_array_to_value_vector(const engine::__Array* array, engine::ValueVector* out) {
    if (!array || !out || array->count() == 0) return false;
    out->clear();
    for (engine::Ref* object : *array) {
        if (auto* s = dynamic_cast<engine::__String*>(object)) {
            out->emplace_back(s->getValue());
        } else if (auto* d = dynamic_cast<engine::__Double*>(object)) {
            out->emplace_back(d->getValue());
        } else if (auto* f = dynamic_cast<engine::__Float*>(object)) {
            out->emplace_back(f->getValue());
        } else if (auto* i = dynamic_cast<engine::__Integer*>(object)) {
            out->emplace_back(i->getValue());
        } else if (auto* b = dynamic_cast<engine::__Bool*>(object)) {
            out->emplace_back(b->getValue());
        }
    }
    return true;
}
