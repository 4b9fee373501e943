#pragma once
// The XML property-list reader shared by the engine's readers (frame sheets,
// the deprecated array's files).
//
// The document is a <plist> whose first element is the top value, or that value
// alone. Values: <dict> (a <key> then a value, repeated) becomes a map, <array>
// a vector, <string> and <key> text, <integer> and <real> a double, <true> and
// <false> a boolean; dates, data and unknown elements read as an empty value. A
// dict whose children do not pair up, text that is not XML, or nesting deeper
// than 32 levels reads as false and leaves out untouched.
#include <string_view>

#include "engine/base/Value.h"

namespace engine {

bool parsePropertyList(std::string_view text, Value* out);

}  // namespace engine
