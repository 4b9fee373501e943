#pragma once
// A label drawn from a character map image: the map holds itemWidth x
// itemHeight cells row by row, the first for character startCharMap and each
// next cell for the next character code. Each character of the text takes one
// cell side by side (a character outside the map takes its room and shows
// nothing); the content size is length x itemWidth by itemHeight.
#include <string>

#include "engine/scene/AtlasNode.h"

namespace engine {

class LabelAtlas : public AtlasNode {
public:
    // An empty label without a map (it shows nothing until initialised).
    static LabelAtlas* create();
    // Autoreleased; nullptr when the map does not load or a cell size is not positive.
    static LabelAtlas* create(const std::string& text, const std::string& charMapFile, int itemWidth, int itemHeight,
                              int startCharMap);
    bool initWithString(const std::string& text, const std::string& charMapFile, int itemWidth, int itemHeight,
                        int startCharMap);

    void setString(const std::string& text);
    const std::string& getString() const { return _text; }
    void updateAtlasValues() override;

private:
    LabelAtlas() = default;
    std::string _text;
    int _startChar = 0;
};

}  // namespace engine
