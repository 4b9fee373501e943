#pragma once
// Look-ups in a widget tree.
#include <string>

#include "engine/ui/Widget.h"

namespace engine::ui {

class Helper {
public:
    // The first widget called `name` in a depth-first walk that starts at root and
    // visits a widget before its children, in child order; only widgets are walked
    // (other nodes and what lies under them are skipped). nullptr when there is none
    // or root is null.
    static Widget* seekWidgetByName(Widget* root, const std::string& name);
};

}  // namespace engine::ui
