#pragma once
// A widget showing a string in a character map: an image of equal cells
// (itemWidth x itemHeight points, left to right, then top down), the cell of
// character c being c minus the map's first character. Its content size is the
// string's length in cells by one cell. Characters without a cell take their
// place but draw nothing. Drawn as one quad per character when the map loaded.
// Main thread only.
#include <string>

#include "engine/renderer/QuadCommand.h"
#include "engine/ui/Widget.h"

namespace engine {
class Texture2D;
}

namespace engine::ui {

class TextAtlas : public Widget {
public:
    // Autoreleased; an empty widget, or one showing the string with the map.
    static TextAtlas* create();
    static TextAtlas* create(const std::string& stringValue, const std::string& charMapFile, int itemWidth,
                             int itemHeight, const std::string& startCharMap);
    ~TextAtlas() override;

    // The map (loaded through the texture cache; a map that does not load logs
    // and draws nothing), the cell size and the first character (of startCharMap).
    void setProperty(const std::string& stringValue, const std::string& charMapFile, int itemWidth, int itemHeight,
                     const std::string& startCharMap);
    void setString(const std::string& value);
    const std::string& getString() const { return _string; }
    int getStringLength() const { return static_cast<int>(_string.size()); }
    const std::string& getCharMapFile() const { return _charMapFile; }
    int getItemWidth() const { return _itemWidth; }
    int getItemHeight() const { return _itemHeight; }
    // The cell of a character: its column and row in the map; false when it has none.
    bool cellOf(char c, int* column, int* row) const;

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    TextAtlas() = default;

private:
    void updateSize();

    std::string _string;
    std::string _charMapFile;
    int _itemWidth = 0;
    int _itemHeight = 0;
    unsigned char _startChar = 0;
    Texture2D* _texture = nullptr;
    QuadCommand _quad;
};

}  // namespace engine::ui
