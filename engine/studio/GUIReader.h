#pragma once
// Builds a widget tree from a layout file. The file is JSON, one object per widget:
//   {"name": "root", "type": "Layout", "position": [0, 0], "size": [1334, 750],
//    "visible": true, "children": [ ...widgets... ]}
// with, by type, "text" and "fontSize" (Text, Button's title), "image" (LoadingBar,
// Button's normal image) and "percent" (LoadingBar). Types: "Widget", "Layout" (a
// widget whose anchor is its lower-left corner), "Text", "LoadingBar", "Button".
// Every member is optional except "type"; "size" replaces the size a widget takes
// from its text or image. A member of the wrong type, an unknown type, a number
// beyond the float range, or nesting deeper than kMaxDepth refuses the whole file:
// the reader answers nullptr and logs why, so a caller never works with half a
// layout.
#include <string>
#include <string_view>

#include "engine/ui/Widget.h"

namespace studio {

class GUIReader {
public:
    static constexpr int kMaxDepth = 32;

    static GUIReader* getInstance();

    // The tree of the layout file (found through the search paths), autoreleased;
    // nullptr when the file is missing or cannot be read as a layout.
    engine::ui::Widget* widgetFromJsonFile(const std::string& fileName);
    // The same from the file's text; `source` names it in log lines.
    engine::ui::Widget* widgetFromJsonText(std::string_view text, const std::string& source);

private:
    GUIReader() = default;
};

}  // namespace studio
