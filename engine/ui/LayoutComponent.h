#pragma once
// Places and sizes its owner inside the owner's parent, again at every
// refreshLayout (and each frame while the owner runs and the component is
// active):
// - Size: a percentage of the parent's width (height) when that is enabled;
//   else, stretched to the parent's width less the left and right margins when
//   stretching is enabled; else the owner's own.
// - Position across: a percentage of the parent's width when enabled; else by
//   the horizontal edge: LEFT keeps the owner's box the left margin from the
//   parent's left side, RIGHT the right margin from its right side, CENTER
//   centres it; NONE leaves it. Up and down the same with the vertical edge
//   (BOTTOM, TOP, CENTER) and the bottom and top margins.
// Anchors are honoured. An owner without a parent is left alone.
#include <string>

#include "engine/base/Types.h"
#include "engine/scene/Component.h"

namespace engine::ui {

class LayoutComponent : public Component {
public:
    // Edges as scripts number them.
    enum class HorizontalEdge { None = 0, Left = 1, Right = 2, Center = 3 };
    enum class VerticalEdge { None = 0, Bottom = 1, Top = 2, Center = 3 };

    static constexpr const char* kComponentName = "__ui_layout";

    static LayoutComponent* create();   // autoreleased, named kComponentName
    // The node's layout component, attached first when it has none; null for a null node.
    static LayoutComponent* bindLayoutComponent(Node* node);

    void setHorizontalEdge(HorizontalEdge edge) { _horizontalEdge = edge; }
    HorizontalEdge getHorizontalEdge() const { return _horizontalEdge; }
    void setVerticalEdge(VerticalEdge edge) { _verticalEdge = edge; }
    VerticalEdge getVerticalEdge() const { return _verticalEdge; }

    void setLeftMargin(float margin) { _leftMargin = margin; }
    float getLeftMargin() const { return _leftMargin; }
    void setRightMargin(float margin) { _rightMargin = margin; }
    float getRightMargin() const { return _rightMargin; }
    void setTopMargin(float margin) { _topMargin = margin; }
    float getTopMargin() const { return _topMargin; }
    void setBottomMargin(float margin) { _bottomMargin = margin; }
    float getBottomMargin() const { return _bottomMargin; }

    // Percentages are fractions (0.5 is half).
    void setPositionPercentX(float percent) { _percentX = percent; }
    float getPositionPercentX() const { return _percentX; }
    void setPositionPercentY(float percent) { _percentY = percent; }
    float getPositionPercentY() const { return _percentY; }
    void setPositionPercentXEnabled(bool enabled) { _percentXEnabled = enabled; }
    bool isPositionPercentXEnabled() const { return _percentXEnabled; }
    void setPositionPercentYEnabled(bool enabled) { _percentYEnabled = enabled; }
    bool isPositionPercentYEnabled() const { return _percentYEnabled; }
    void setPercentWidth(float percent) { _percentWidth = percent; }
    float getPercentWidth() const { return _percentWidth; }
    void setPercentHeight(float percent) { _percentHeight = percent; }
    float getPercentHeight() const { return _percentHeight; }
    void setPercentWidthEnabled(bool enabled) { _percentWidthEnabled = enabled; }
    bool isPercentWidthEnabled() const { return _percentWidthEnabled; }
    void setPercentHeightEnabled(bool enabled) { _percentHeightEnabled = enabled; }
    bool isPercentHeightEnabled() const { return _percentHeightEnabled; }
    void setStretchWidthEnabled(bool enabled) { _stretchWidth = enabled; }
    bool isStretchWidthEnabled() const { return _stretchWidth; }
    void setStretchHeightEnabled(bool enabled) { _stretchHeight = enabled; }
    bool isStretchHeightEnabled() const { return _stretchHeight; }
    // Inactive: refreshLayout and the frame updates leave the owner alone.
    void setActiveEnabled(bool enabled) { _active = enabled; }
    bool isActiveEnabled() const { return _active; }

    void refreshLayout();
    void update(float delta) override;

private:
    LayoutComponent() = default;

    HorizontalEdge _horizontalEdge = HorizontalEdge::None;
    VerticalEdge _verticalEdge = VerticalEdge::None;
    float _leftMargin = 0, _rightMargin = 0, _topMargin = 0, _bottomMargin = 0;
    float _percentX = 0, _percentY = 0, _percentWidth = 0, _percentHeight = 0;
    bool _percentXEnabled = false, _percentYEnabled = false;
    bool _percentWidthEnabled = false, _percentHeightEnabled = false;
    bool _stretchWidth = false, _stretchHeight = false;
    bool _active = true;
};

}  // namespace engine::ui
