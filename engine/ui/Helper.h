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
    // The same walk for the first widget with the tag, or with the action tag.
    static Widget* seekWidgetByTag(Widget* root, int tag);
    static Widget* seekActionWidgetByActionTag(Widget* root, int tag);
    // The code points [start, start + length) of UTF-8 text, cut to the text; ""
    // when start lies past its end or the text is not valid UTF-8.
    static std::string getSubStringOfUTF8String(const std::string& text, size_t start, size_t length);
    // Cap insets made to fit an image: each side cut to the image (a slice never
    // reaches outside it nor has a negative side).
    static Rect restrictCapInsetRect(const Rect& capInsets, const Size& textureSize);
    // While inactive, doLayout does nothing (a tree built in steps is laid out
    // once at the end). Active at start.
    static void changeLayoutSystemActiveState(bool active);
    static bool isLayoutSystemActive();
    // Applies the layout rules of the widgets below root (root itself keeps its
    // place and size), parents before their children, so each rule reads its
    // parent's content size as just laid out. Nodes that are not widgets are walked
    // through. A null root does nothing.
    static void doLayout(Node* root);
};

}  // namespace engine::ui
