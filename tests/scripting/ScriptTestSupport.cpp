#include "ScriptTestSupport.h"

#include "scripting/ToluaFix.h"

namespace scripttest {

int LuaStackTest::toluafixRef() { return toluafix_refFunction(L, -1, 0); }

}  // namespace scripttest
