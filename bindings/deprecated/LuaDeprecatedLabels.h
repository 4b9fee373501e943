#pragma once
// The rows of the former label classes cc.LabelBMFont and cc.LabelTTF (both based
// on cc.Node), registered by register_deprecated_classes. Alignments are given
// and returned as their numbers (bindings/core/LuaLabels.h); a font file that
// cannot be found makes create give nil and init give false.
#include <span>

#include "bindings/LuaClassTable.h"

namespace bindings {

std::span<const ClassEntry> deprecatedLabelRows();

}  // namespace bindings
