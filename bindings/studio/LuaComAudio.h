#pragma once
// The script methods of ccs.ComAudio (the studio table registers the class).
#include <span>

#include "bindings/LuaMethod.h"

namespace bindings {

std::span<const Method> comAudioMethods();

}  // namespace bindings
