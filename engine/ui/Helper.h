#pragma once
// Look-ups in a widget tree, and laying a tree out for its size.
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
    // Applies the layout rules of the widgets below root (root itself keeps its
    // place and size), parents before their children, so each rule reads its
    // parent's content size as just laid out. Nodes that are not widgets are walked
    // through. A null root does nothing.
    static void doLayout(Node* root);
};

}  // namespace engine::ui
