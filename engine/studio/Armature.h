#pragma once
// Stand-ins for the studio armature and its bones: named nodes the script host can
// push to armature event handlers. Animation data and playback are not here,
// so they draw nothing of their own (only children added to them show).
#include <string>

#include "engine/scene/Node.h"

namespace studio {

class Bone : public engine::Node {
public:
    static Bone* create(const std::string& name);

protected:
    Bone() = default;
};

class Armature : public engine::Node {
public:
    static Armature* create(const std::string& name);

protected:
    Armature() = default;
};

}  // namespace studio
