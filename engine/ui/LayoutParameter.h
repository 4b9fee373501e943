#pragma once
// How a widget asks its layout to place it: margins around it and, for linear
// and relative layouts, a gravity or an alignment. A widget keeps one parameter
// (Widget::setLayoutParameter); a parameter holds no widget.
#include <string>

#include "engine/base/Ref.h"

namespace engine::ui {

// Space kept around a widget, in points.
struct Margin {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
    bool operator==(const Margin&) const = default;
};

class LayoutParameter : public Ref {
public:
    // Types as scripts number them.
    enum class Type { NONE = 0, LINEAR = 1, RELATIVE = 2 };

    static LayoutParameter* create();   // autoreleased, no margin
    void setMargin(const Margin& margin) { _margin = margin; }
    const Margin& getMargin() const { return _margin; }
    Type getLayoutType() const { return _type; }

protected:
    explicit LayoutParameter(Type type) : _type(type) {}

private:
    Margin _margin;
    Type _type;
};

class LinearLayoutParameter : public LayoutParameter {
public:
    enum class LinearGravity { NONE = 0, LEFT, TOP, RIGHT, BOTTOM, CENTER_VERTICAL, CENTER_HORIZONTAL };

    static LinearLayoutParameter* create();
    void setGravity(LinearGravity gravity) { _gravity = gravity; }
    LinearGravity getGravity() const { return _gravity; }

private:
    LinearLayoutParameter() : LayoutParameter(Type::LINEAR) {}
    LinearGravity _gravity = LinearGravity::NONE;
};

class RelativeLayoutParameter : public LayoutParameter {
public:
    // Where the widget sits in its parent (0 to 9) or beside the widget named as
    // relative-to (10 to 21), as scripts number it.
    enum class RelativeAlign {
        NONE = 0, PARENT_TOP_LEFT, PARENT_TOP_CENTER_HORIZONTAL, PARENT_TOP_RIGHT, PARENT_LEFT_CENTER_VERTICAL,
        CENTER_IN_PARENT, PARENT_RIGHT_CENTER_VERTICAL, PARENT_LEFT_BOTTOM, PARENT_BOTTOM_CENTER_HORIZONTAL,
        PARENT_RIGHT_BOTTOM, LOCATION_ABOVE_LEFTALIGN, LOCATION_ABOVE_CENTER, LOCATION_ABOVE_RIGHTALIGN,
        LOCATION_LEFT_OF_TOPALIGN, LOCATION_LEFT_OF_CENTER, LOCATION_LEFT_OF_BOTTOMALIGN,
        LOCATION_RIGHT_OF_TOPALIGN, LOCATION_RIGHT_OF_CENTER, LOCATION_RIGHT_OF_BOTTOMALIGN,
        LOCATION_BELOW_LEFTALIGN, LOCATION_BELOW_CENTER, LOCATION_BELOW_RIGHTALIGN
    };

    static RelativeLayoutParameter* create();
    void setAlign(RelativeAlign align) { _align = align; }
    RelativeAlign getAlign() const { return _align; }
    // The name by which other widgets' parameters refer to this one.
    void setRelativeName(const std::string& name) { _relativeName = name; }
    const std::string& getRelativeName() const { return _relativeName; }
    void setRelativeToWidgetName(const std::string& name) { _relativeToWidgetName = name; }
    const std::string& getRelativeToWidgetName() const { return _relativeToWidgetName; }

private:
    RelativeLayoutParameter() : LayoutParameter(Type::RELATIVE) {}
    RelativeAlign _align = RelativeAlign::NONE;
    std::string _relativeName;
    std::string _relativeToWidgetName;
};

}  // namespace engine::ui
