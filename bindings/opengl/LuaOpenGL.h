#pragma once
// The script side of GL drawing: class cc.GLNode, the table cc.DrawPrimitives
// and the table gl.
//
// register_opengl_bindings (run by the Lua stack's start-up right after the core
// classes) registers, in this order: class cc.GLNode (base cc.Node) with create
// and setShaderProgram; cc.DrawPrimitives with its 16 functions; the table gl
// (bindings/opengl/LuaGLTable.h). Returns 1.
// register_glnode_draw_handler_methods (run later in the start-up) adds
// registerScriptDrawHandler and unregisterScriptDrawHandler to the class table
// of cc.GLNode when it is a table in the registry. Returns 1 (0 for a null state).
//
//   cc.GLNode:create()                       a new node (autoreleased)
//   node:setShaderProgram(program or nil)    the node's program
//   node:registerScriptDrawHandler(fn)       fn(transform, flags) at every draw,
//                                            replacing (and releasing) an earlier one
//   node:unregisterScriptDrawHandler()       no handler any more
// Argument checks of tolua++: a failed one raises "#ferror in function '<name>'."
// (raised without the "#f") with the argument's description. A nil self raises
// "invalid 'self' in function '<name>'" in the last three.
//
// cc.DrawPrimitives: points are {x, y} tables, colours {r, g, b, a} (a missing
// field reads 0); counts and segments are whole numbers, cut toward zero to
// unsigned; flags are booleans or nil.
//   drawPoint(p)  drawLine(p, q)  drawRect(p, q)  drawSolidRect(p, q, colour)
//   drawPoints(list, n)  drawPoly(list, n, closed)  drawSolidPoly(list, n, colour)
//       the first n entries of the list; n = 0 draws nothing; an entry up to n
//       that is not a table raises the argument error (drawPoly's names
//       'ccDrawPoly') before anything is allocated
//   drawCircle(c, radius, angle, segments, lineToCenter[, scaleX[, scaleY]])
//   drawSolidCircle(c, radius, angle, segments[, scaleX[, scaleY]])   scales 1
//   drawQuadBezier(p, control, q, segments)
//   drawCubicBezier(p, control1, control2, q, segments)
//   drawCatmullRom(list, segments)  drawCardinalSpline(list, tension, segments)
//       the whole list; an entry that is not a table draws nothing, quietly
//   drawColor4B(r, g, b, a)   bytes (256 is 0)     drawColor4F(r, g, b, a)
//   setPointSize(size)
// Nothing is returned. Main thread only, inside a GL node's draw handler.
#include <lua.hpp>

namespace bindings {

int register_opengl_bindings(lua_State* L);
int register_glnode_draw_handler_methods(lua_State* L);

}  // namespace bindings
