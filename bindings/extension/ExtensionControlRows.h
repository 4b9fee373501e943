#pragma once
// Rows of the extension table kept in their own file: the value controls
// (slider, switch, stepper, potentiometer, colour pickers). The extension table
// registers them after its own rows.
#include <span>

#include "bindings/LuaClassTable.h"

namespace bindings {

std::span<const ClassEntry> extensionControlRows();

}  // namespace bindings
