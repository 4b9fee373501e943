#pragma once
// The studio module's hand-written script functions: armature and timeline
// callbacks, the asynchronous armature loader, the bone flag, the timeline cache,
// the scene loader with its per-node callback and ccs.CustomGUIReader.
//
// Handler ownership: every handler id these functions take is owned by an
// object and released with it: the scene loader's by the new node (none when
// no node came back: released at once), a timeline's frame callback by the
// timeline, an armature callback's by its wrapper. Main thread only.
#include <lua.hpp>

namespace bindings {

// Patches ccs.ArmatureAnimation, ccs.ArmatureDataManager, ccs.Bone,
// ccs.ActionTimelineCache and ccs.ActionTimeline (each only when registered).
int register_studio_manual(lua_State* L);
// cc.CSLoader's createNode and createTimeline.
int register_csloader_manual(lua_State* L);
// ccs.CustomGUIReader's create (the class is a row of the studio table).
int register_custom_gui_reader_class(lua_State* L);

}  // namespace bindings
