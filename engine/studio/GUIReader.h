#pragma once
// Builds a widget tree from a layout file. The file is JSON, one object per widget:
//   {"name": "root", "type": "Layout", "position": [0, 0], "size": [1334, 750],
//    "visible": true, "children": [ ...widgets... ]}
// with, by type, "text" and "fontSize" (Text, Button's title), "image" (LoadingBar,
// Button's normal image) and "percent" (LoadingBar). Types: "Widget", "Layout" (a
// widget whose anchor is its lower-left corner), "Text", "LoadingBar", "Button",
// and any class registered with registerTypeAndCallBack (a script-defined widget
// class). "options" is an object of the widget's own settings, free-form: the
// reader keeps its compact JSON text and hands it to the parse callback of the
// widget's class, e.g.
//   {"type": "StarRating", "name": "stars", "options": {"stars": 3, "max": 5}}
// Every member is optional except "type"; "size" replaces the size a widget takes
// from its text or image. A member of the wrong type, an unknown type, a class
// whose maker made no widget, a number beyond the float range, or nesting deeper
// than kMaxDepth refuses the whole file: the reader answers nullptr and logs why,
// so a caller never works with half a layout.
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

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

    // Called on each new widget of a registered class with the class name, the
    // widget and its options' JSON text ("{}" when it has none).
    using ParseCallback = std::function<void(const std::string& classType, engine::Ref* widget,
                                             const std::string& options)>;
    // Maps the class name to its reader object (retained while mapped) and to the
    // callback that sets a new widget's options. The class's maker is registered
    // with ObjectFactory by the caller. Registering a name again replaces both.
    void registerTypeAndCallBack(const std::string& classType, engine::Ref* object, ParseCallback callback);
    engine::Ref* getParseObject(const std::string& classType) const;
    // Sets a new widget's options through its class's callback; nothing for a class
    // without one.
    void applyCustomOptions(const std::string& classType, engine::Ref* widget, const std::string& options);

private:
    GUIReader();
    ~GUIReader();
    std::unordered_map<std::string, engine::Ref*> _parseObjects;
    std::unordered_map<std::string, ParseCallback> _parseCallbacks;
};

}  // namespace studio
