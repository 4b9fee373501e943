#include "engine/ui/Helper.h"

#include <algorithm>
#include <vector>

namespace engine::ui {

namespace {

bool layoutSystemActive = true;

// The first widget of the walk that answers `wanted`.
template <class Wanted>
Widget* seekWidget(Widget* root, Wanted wanted) {
    // An explicit stack: a layout file may nest widgets deeply.
    std::vector<Widget*> pending;
    if (root) pending.push_back(root);
    while (!pending.empty()) {
        Widget* widget = pending.back();
        pending.pop_back();
        if (wanted(widget)) return widget;
        const auto& children = widget->getChildren();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            if (auto* child = dynamic_cast<Widget*>(*it)) pending.push_back(child);
        }
    }
    return nullptr;
}

}  // namespace

Widget* Helper::seekWidgetByName(Widget* root, const std::string& name) {
    return seekWidget(root, [&name](Widget* widget) { return widget->getName() == name; });
}

Widget* Helper::seekWidgetByTag(Widget* root, int tag) {
    return seekWidget(root, [tag](Widget* widget) { return widget->getTag() == tag; });
}

Widget* Helper::seekActionWidgetByActionTag(Widget* root, int tag) {
    return seekWidget(root, [tag](Widget* widget) { return widget->getActionTag() == tag; });
}

std::string Helper::getSubStringOfUTF8String(const std::string& text, size_t start, size_t length) {
    // Byte offsets of each code point's first byte; a stray continuation byte or a
    // cut sequence makes the text invalid.
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t bytes = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (bytes == 0 || i + bytes > text.size()) return "";
        for (size_t k = 1; k < bytes; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return "";
        }
        starts.push_back(i);
        i += bytes;
    }
    if (start >= starts.size()) return "";
    const size_t end = length >= starts.size() - start ? text.size() : starts[start + length];
    return text.substr(starts[start], end - starts[start]);
}

Rect Helper::restrictCapInsetRect(const Rect& capInsets, const Size& textureSize) {
    const float w = textureSize.width, h = textureSize.height;
    const float x = std::clamp(capInsets.origin.x, 0.f, w);
    const float y = std::clamp(capInsets.origin.y, 0.f, h);
    return Rect(x, y, std::clamp(capInsets.size.width, 0.f, w - x), std::clamp(capInsets.size.height, 0.f, h - y));
}

void Helper::changeLayoutSystemActiveState(bool active) { layoutSystemActive = active; }

bool Helper::isLayoutSystemActive() { return layoutSystemActive; }

void Helper::doLayout(Node* root) {
    if (!layoutSystemActive) return;
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
