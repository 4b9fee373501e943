// How the layout types place a layout's widget children (Layout.h).
#include "engine/ui/Layout.h"

#include "engine/ui/LayoutParameter.h"

namespace engine::ui {

namespace {

// A widget's box in its parent: edges from its position, anchor and content size.
struct Box {
    float left, bottom, right, top;
};

Box boxOf(const Widget* widget) {
    const Size& size = widget->getContentSize();
    const Vec2& anchor = widget->getAnchorPoint();
    const float left = widget->getPositionX() - anchor.x * size.width;
    const float bottom = widget->getPositionY() - anchor.y * size.height;
    return {left, bottom, left + size.width, bottom + size.height};
}

// Where a widget's box goes on one axis, against a reference span [low, high].
enum class Place {
    NONE,
    LOW,        // inside, at the low end (left or bottom), past the low margin
    CENTER,     // centred on the span
    HIGH,       // inside, at the high end, before the high margin
    BEFORE,     // outside below or left of the span, past the high margin
    AFTER,      // outside above or right of the span, past the low margin
};

// The low edge of a box of extent size placed on [low, high] with margins.
float placeEdge(Place place, float low, float high, float size, float lowMargin, float highMargin) {
    switch (place) {
    case Place::LOW: return low + lowMargin;
    case Place::CENTER: return (low + high - size) / 2;
    case Place::HIGH: return high - highMargin - size;
    case Place::BEFORE: return low - highMargin - size;
    case Place::AFTER: return high + lowMargin;
    case Place::NONE: break;
    }
    return low;
}

struct AlignPlaces {
    Place across;   // horizontal
    Place up;       // vertical
    bool beside;    // against a sibling, not the parent
};

// Indexed by RelativeAlign.
const AlignPlaces kAligns[] = {
    {Place::NONE, Place::NONE, false},      // NONE
    {Place::LOW, Place::HIGH, false},       // PARENT_TOP_LEFT
    {Place::CENTER, Place::HIGH, false},    // PARENT_TOP_CENTER_HORIZONTAL
    {Place::HIGH, Place::HIGH, false},      // PARENT_TOP_RIGHT
    {Place::LOW, Place::CENTER, false},     // PARENT_LEFT_CENTER_VERTICAL
    {Place::CENTER, Place::CENTER, false},  // CENTER_IN_PARENT
    {Place::HIGH, Place::CENTER, false},    // PARENT_RIGHT_CENTER_VERTICAL
    {Place::LOW, Place::LOW, false},        // PARENT_LEFT_BOTTOM
    {Place::CENTER, Place::LOW, false},     // PARENT_BOTTOM_CENTER_HORIZONTAL
    {Place::HIGH, Place::LOW, false},       // PARENT_RIGHT_BOTTOM
    {Place::LOW, Place::AFTER, true},       // LOCATION_ABOVE_LEFTALIGN
    {Place::CENTER, Place::AFTER, true},    // LOCATION_ABOVE_CENTER
    {Place::HIGH, Place::AFTER, true},      // LOCATION_ABOVE_RIGHTALIGN
    {Place::BEFORE, Place::HIGH, true},     // LOCATION_LEFT_OF_TOPALIGN
    {Place::BEFORE, Place::CENTER, true},   // LOCATION_LEFT_OF_CENTER
    {Place::BEFORE, Place::LOW, true},      // LOCATION_LEFT_OF_BOTTOMALIGN
    {Place::AFTER, Place::HIGH, true},      // LOCATION_RIGHT_OF_TOPALIGN
    {Place::AFTER, Place::CENTER, true},    // LOCATION_RIGHT_OF_CENTER
    {Place::AFTER, Place::LOW, true},       // LOCATION_RIGHT_OF_BOTTOMALIGN
    {Place::LOW, Place::BEFORE, true},      // LOCATION_BELOW_LEFTALIGN
    {Place::CENTER, Place::BEFORE, true},   // LOCATION_BELOW_CENTER
    {Place::HIGH, Place::BEFORE, true},     // LOCATION_BELOW_RIGHTALIGN
};

// Beside a sibling, the edges that line up take no margin.
float besideEdge(Place place, float low, float high, float size, float lowMargin, float highMargin) {
    if (place == Place::LOW) return low;
    if (place == Place::HIGH) return high - size;
    return placeEdge(place, low, high, size, lowMargin, highMargin);
}

void placeBox(Widget* widget, float left, float bottom) {
    const Size& size = widget->getContentSize();
    const Vec2& anchor = widget->getAnchorPoint();
    widget->setPosition(left + anchor.x * size.width, bottom + anchor.y * size.height);
}

}  // namespace

void Layout::forceDoLayout() {
    switch (_layoutType) {
    case Type::VERTICAL: doLinearLayout(true); break;
    case Type::HORIZONTAL: doLinearLayout(false); break;
    case Type::RELATIVE: doRelativeLayout(); break;
    case Type::ABSOLUTE: break;
    }
}

void Layout::doLinearLayout(bool vertical) {
    const Size& area = getContentSize();
    float cursor = vertical ? area.height : 0.f;   // the next widget's outer edge
    for (Node* child : getChildren()) {
        auto* widget = dynamic_cast<Widget*>(child);
        if (!widget) continue;
        auto* parameter = dynamic_cast<LinearLayoutParameter*>(widget->getLayoutParameter());
        const Margin margin = parameter ? parameter->getMargin() : Margin{};
        const auto gravity = parameter ? parameter->getGravity() : LinearLayoutParameter::LinearGravity::NONE;
        const Size& size = widget->getContentSize();
        using Gravity = LinearLayoutParameter::LinearGravity;
        if (vertical) {
            const float bottom = cursor - margin.top - size.height;
            Place across = gravity == Gravity::RIGHT               ? Place::HIGH
                           : gravity == Gravity::CENTER_HORIZONTAL ? Place::CENTER
                                                                   : Place::LOW;
            placeBox(widget, placeEdge(across, 0, area.width, size.width, margin.left, margin.right), bottom);
            cursor = bottom - margin.bottom;
        } else {
            const float left = cursor + margin.left;
            Place up = gravity == Gravity::BOTTOM            ? Place::LOW
                       : gravity == Gravity::CENTER_VERTICAL ? Place::CENTER
                                                             : Place::HIGH;
            placeBox(widget, left, placeEdge(up, 0, area.height, size.height, margin.bottom, margin.top));
            cursor = left + size.width + margin.right;
        }
    }
}

void Layout::doRelativeLayout() {
    const Size& area = getContentSize();
    // Widgets by their relative names, for the aligns beside a sibling.
    auto findNamed = [this](const std::string& name) -> Widget* {
        if (name.empty()) return nullptr;
        for (Node* child : getChildren()) {
            auto* widget = dynamic_cast<Widget*>(child);
            auto* parameter = widget ? dynamic_cast<RelativeLayoutParameter*>(widget->getLayoutParameter()) : nullptr;
            if (parameter && parameter->getRelativeName() == name) return widget;
        }
        return nullptr;
    };
    for (Node* child : getChildren()) {
        auto* widget = dynamic_cast<Widget*>(child);
        if (!widget) continue;
        auto* parameter = dynamic_cast<RelativeLayoutParameter*>(widget->getLayoutParameter());
        if (!parameter) continue;
        const auto index = static_cast<size_t>(parameter->getAlign());
        if (index == 0 || index >= std::size(kAligns)) continue;
        const AlignPlaces& places = kAligns[index];
        const Margin& margin = parameter->getMargin();
        const Size& size = widget->getContentSize();
        if (!places.beside) {
            placeBox(widget, placeEdge(places.across, 0, area.width, size.width, margin.left, margin.right),
                     placeEdge(places.up, 0, area.height, size.height, margin.bottom, margin.top));
            continue;
        }
        Widget* sibling = findNamed(parameter->getRelativeToWidgetName());
        if (!sibling || sibling == widget) continue;
        const Box box = boxOf(sibling);
        placeBox(widget, besideEdge(places.across, box.left, box.right, size.width, margin.left, margin.right),
                 besideEdge(places.up, box.bottom, box.top, size.height, margin.bottom, margin.top));
    }
}

}  // namespace engine::ui
