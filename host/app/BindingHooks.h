#pragma once
// Fills the script host's registration hooks (scripting/LuaRegistrationHooks.h)
// with the bindings of this program, so that the Lua stack's start and the audio and
// network modules register them in their fixed places. Called by the script start
// before the Lua engine exists; calling it again changes nothing.
namespace host {

void installBindingHooks();

}  // namespace host
