#include "bindings/opengl/LuaGLTable.h"

namespace bindings {

void register_gl_table(lua_State* L) { (void)L; }

}  // namespace bindings
