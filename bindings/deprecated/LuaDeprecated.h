#pragma once
// The former script API kept for older game scripts, registered last while the
// Lua stack starts (after the core, experimental and physics modules):
//
// register_deprecated_classes: on the global table, the classes CCPoint, CCRect and
// CCSize (their constructors give plain point, rectangle and size tables), CCObject
// (base cc.Ref), CCArray (base CCObject) and CCString (base cc.Ref), the labels
// cc.LabelBMFont and cc.LabelTTF (base cc.Node, bindings/deprecated/LuaDeprecatedLabels.h),
// then the global matrix functions kmGLPushMatrix, kmGLTranslatef, kmGLPopMatrix and kmGLLoadMatrix,
// which work on the director's model-view stack.
//
// register_deprecated_manual: nothing for a null state; otherwise the Animation,
// Sequence, cast, Menu and LayerMultiplex additions in that order. Only the cast one
// changes anything: tolua.cast also understands the old "CC" class names. The other
// four look their class up under its short name, which no registration uses, so the
// current classes keep their own functions (cc.Sequence:create among them).
//
// Argument errors are raised as "#ferror in function '<name>'." after the tolua++
// type tests, a null self as "invalid 'self' in function '<name>'". Array indices
// count from 0; one at or past the count gives nil or changes nothing (inserting at
// the count appends). Counts and indices come back as unsigned 32-bit numbers, so
// an object not in an array is at 4294967295. Main thread only.
#include <lua.hpp>

namespace bindings {

int register_deprecated_classes(lua_State* L);
int register_deprecated_manual(lua_State* L);

}  // namespace bindings
