#include "engine/ui/Helper.h"

#include <vector>

namespace engine::ui {

Widget* Helper::seekWidgetByName(Widget* root, const std::string& name) {
    // An explicit stack: a layout file may nest widgets deeply.
    std::vector<Widget*> pending;
    if (root) pending.push_back(root);
    while (!pending.empty()) {
        Widget* widget = pending.back();
        pending.pop_back();
        if (widget->getName() == name) return widget;
        const auto& children = widget->getChildren();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            if (auto* child = dynamic_cast<Widget*>(*it)) pending.push_back(child);
        }
    }
    return nullptr;
}

}  // namespace engine::ui
