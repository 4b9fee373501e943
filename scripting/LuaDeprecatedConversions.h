#pragma once
// Conversions from the deprecated engine::__Array that older script APIs still pass.
#include "engine/base/Value.h"
#include "engine/base/Vector.h"
#include "engine/deprecated/Array.h"

// Boxed strings, doubles, floats, integers and booleans become values of that kind, in
// the array's order; other elements are skipped. A null or empty array answers false
// and leaves out as it was; otherwise out is replaced.
bool luaconv_array_to_value_vector(const engine::__Array* array, engine::ValueVector* out);

// The elements whose dynamic type is T, in order, retained by out; others are skipped.
// A null or empty array answers false and leaves out as it was; otherwise out is
// cleared first (releasing what it held).
template <class T>
bool luaconv_array_to_vector(const engine::__Array* array, engine::Vector<T*>* out) {
    if (!array || !out || array->count() == 0) return false;
    out->clear();
    for (engine::Ref* object : *array) {
        if (T* element = dynamic_cast<T*>(object)) out->pushBack(element);
    }
    return true;
}
