#pragma once
// Rows of the studio table kept in their own file: the armature data records,
// a bone's parts, the timeline frames and bones, the components, the older UI
// actions and the scene reader. The studio table registers them after its own
// rows.
#include <span>

#include "bindings/LuaClassTable.h"

namespace bindings {

std::span<const ClassEntry> studioRecordRows();

}  // namespace bindings
