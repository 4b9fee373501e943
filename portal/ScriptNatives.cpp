#include "portal/ScriptNatives.h"

namespace portal {

// The pay window and the edit-field filters are not in this build yet: the script
// start calls these in their place and they leave the state untouched.

void registerPayWebViewBinding(lua_State*) {}

void installTextInputFix() {}

}  // namespace portal
