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

void Helper::doLayout(Node* root) {
    std::vector<Node*> pending;
    if (root) pending.assign(root->getChildren().rbegin(), root->getChildren().rend());
    while (!pending.empty()) {
        Node* node = pending.back();
        pending.pop_back();
        if (auto* widget = dynamic_cast<Widget*>(node)) {
            const LayoutRule& rule = widget->getLayoutRule();
            const Size& room = widget->getParent()->getContentSize();
            if (rule.percentSize) {
                widget->setContentSize(Size(room.width * rule.percentSize->width, room.height * rule.percentSize->height));
            }
            if (rule.percentPosition) {
                widget->setPosition(room.width * rule.percentPosition->x, room.height * rule.percentPosition->y);
            }
        }
        const auto& children = node->getChildren();
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
}

}  // namespace engine::ui
