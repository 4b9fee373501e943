#include "host/app/ClientFixes.h"

namespace host {

// The fix-up tables and their scripts are not in this build yet.

void installClientFixes(lua_State*) {}

}  // namespace host
