#pragma once
// What a script may do with the identity and ownership of the engine objects it
// holds: the tolua table's cast, takeownership and releaseownership, replaced by
// versions that judge an object by its real class and never let a script free
// what the engine owns.
//
//   tolua.cast(obj, "cc.Sprite")   obj under that Lua type when the object really
//                                  is of that class (or a subclass); nil otherwise:
//                                  a name that is no registered class ("Sprite",
//                                  "CCSprite"), a dead object, a value that is no
//                                  engine object, a reference-counted object cast
//                                  to a class it is not. An object that is not
//                                  reference counted is known only by the type it
//                                  was pushed under: it casts to that type or a base.
//   tolua.takeownership(obj)       a reference-counted object: the script takes a
//                                  reference of its own (retain), given back when
//                                  the userdata is collected or ownership is
//                                  released; true when taken, false when it already
//                                  was. Any other object: false (singletons and
//                                  records the engine holds are never the
//                                  script's; values made for the script, see
//                                  luaconv_push_owned_usertype, already are).
//   tolua.releaseownership(obj)    gives back the script's reference (autoreleased);
//                                  true when the script owned the object.
//
// register_object_identity runs after tolua++ is open on L (the Lua stack's init
// does it right after the host types). Main thread only.
#include <lua.hpp>

int register_object_identity(lua_State* L);

// The Lua type of the registered class whose objects the value at index holds (a
// tolua++ userdata of a class registered with luaconv_register_class), else null.
// Runs no metamethod.
const char* luaconv_registered_class_of(lua_State* L, int index);
