#pragma once
// Layouts of a fixed type: HBox lays its widgets out left to right, VBox top
// down, RelativeBox by their relative parameters (Layout.h).
#include "engine/ui/Layout.h"

namespace engine::ui {

class HBox : public Layout {
public:
    // Autoreleased; zero size or the size given.
    static HBox* create();
    static HBox* create(const Size& size);

private:
    HBox() = default;
};

class VBox : public Layout {
public:
    static VBox* create();
    static VBox* create(const Size& size);

private:
    VBox() = default;
};

class RelativeBox : public Layout {
public:
    static RelativeBox* create();
    static RelativeBox* create(const Size& size);

private:
    RelativeBox() = default;
};

}  // namespace engine::ui
