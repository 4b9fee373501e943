#pragma once
// One node of a studio layout as every reader sees it, whatever the file form (the
// JSON layout, the ".csd" XML scene file, the ".csb" binary one), and the one place
// that turns it into a node. Readers fill a NodeSpec from their own syntax, check
// numbers there (finite floats only), then build the node and attach its children.
//
// Types: "Widget", "Layout" (a widget anchored at its lower-left corner), "Text",
// "LoadingBar", "Button"; scene files also have "Node" (a plain node, no widget).
// Any other type names a class registered with studio::ObjectFactory: its maker
// makes the widget (anything but a widget is refused), then the class's parse
// callback in GUIReader gets the node's options (compact JSON text, "{}" when
// none), after the common members are set.
// "text" and "fontSize" go to Text and to Button's title, "image" to LoadingBar and
// Button's normal image, "percent" to LoadingBar; "size" replaces the size a widget
// takes from its text or image. The layout rule is kept on widgets for
// ui::Helper::doLayout.
#include <optional>
#include <string>

#include "engine/base/Types.h"
#include "engine/ui/Widget.h"

namespace studio {

struct NodeSpec {
    std::string type;
    std::string name;
    std::optional<engine::Vec2> position;
    std::optional<engine::Size> size;
    std::optional<bool> visible;
    std::string text;
    std::string image;
    std::optional<float> fontSize;
    std::optional<float> percent;
    engine::ui::LayoutRule layout;
    std::string options;   // compact JSON text of the node's own settings; "" when none
};

// The widget of `spec` without children, autoreleased; nullptr with the reason in
// *why for a type that is not a widget's.
engine::ui::Widget* createWidget(const NodeSpec& spec, std::string* why);
// The same, a plain node for "Node".
engine::Node* createNode(const NodeSpec& spec, std::string* why);

// Whether a float read from a file may be used (not NaN, not infinite).
bool isUsableFloat(float value);

}  // namespace studio
