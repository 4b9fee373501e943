#pragma once
// A widget of rich text: a list of elements (texts in a font and size, images,
// nodes of the caller's), each in its colour and opacity, laid out left to
// right in lines. A line ends at a line break of a text or when the next piece
// no longer fits the width: while the widget adapts its size to the content
// (the default), lines are as long as their content and the widget's size
// becomes the content's; otherwise lines wrap at the widget's width (a text
// breaks after its last blank that fits, else at the last character that fits;
// a piece wider than an empty line stays whole on it) and the widget keeps its
// size, the lines starting at its top. Lines are as high as their highest
// piece, one below the other with the vertical space between them; pieces sit
// on their line's bottom. Texts use the labels' metric (Label.h). The layout is
// made again when the widget is visited after a change, or by formatText.
// Main thread only.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/base/Vector.h"
#include "engine/ui/Widget.h"

namespace engine::ui {

class RichElement : public Ref {
public:
    // Types as scripts number them.
    enum class Type { TEXT = 0, IMAGE = 1, CUSTOM = 2 };

    virtual Type getType() const = 0;
    int getTag() const { return _tag; }
    const Color3B& getColor() const { return _color; }
    uint8_t getOpacity() const { return _opacity; }

protected:
    RichElement(int tag, const Color3B& color, uint8_t opacity) : _tag(tag), _color(color), _opacity(opacity) {}

private:
    int _tag;
    Color3B _color;
    uint8_t _opacity;
};

class RichElementText : public RichElement {
public:
    // Autoreleased.
    static RichElementText* create(int tag, const Color3B& color, uint8_t opacity, const std::string& text,
                                   const std::string& fontName, float fontSize);
    Type getType() const override { return Type::TEXT; }
    const std::string& getText() const { return _text; }
    const std::string& getFontName() const { return _fontName; }
    float getFontSize() const { return _fontSize; }

private:
    RichElementText(int tag, const Color3B& color, uint8_t opacity) : RichElement(tag, color, opacity) {}
    std::string _text;
    std::string _fontName;
    float _fontSize = 0;
};

class RichElementImage : public RichElement {
public:
    static RichElementImage* create(int tag, const Color3B& color, uint8_t opacity, const std::string& filePath);
    Type getType() const override { return Type::IMAGE; }
    const std::string& getFilePath() const { return _filePath; }
    // The drawn size; 0 (the default) in a side: the image's own.
    void setWidth(int width) { _width = width; }
    int getWidth() const { return _width; }
    void setHeight(int height) { _height = height; }
    int getHeight() const { return _height; }

private:
    RichElementImage(int tag, const Color3B& color, uint8_t opacity) : RichElement(tag, color, opacity) {}
    std::string _filePath;
    int _width = 0;
    int _height = 0;
};

class RichElementCustomNode : public RichElement {
public:
    // The node is retained; nullptr for a null node.
    static RichElementCustomNode* create(int tag, const Color3B& color, uint8_t opacity, Node* customNode);
    ~RichElementCustomNode() override;
    Type getType() const override { return Type::CUSTOM; }
    Node* getCustomNode() const { return _customNode; }

private:
    RichElementCustomNode(int tag, const Color3B& color, uint8_t opacity) : RichElement(tag, color, opacity) {}
    Node* _customNode = nullptr;
};

class RichText : public Widget {
public:
    static RichText* create();
    ~RichText() override;

    // Null elements are ignored; an index past the end appends.
    void pushBackElement(RichElement* element);
    void insertElement(RichElement* element, int index);
    void removeElement(int index);
    void removeElement(RichElement* element);
    const Vector<RichElement*>& getElements() const { return _elements; }

    void setVerticalSpace(float space);
    float getVerticalSpace() const { return _verticalSpace; }
    void ignoreContentAdaptWithSize(bool ignore) override;
    void setContentSize(const Size& size) override;

    // Lays the elements out now.
    void formatText();
    // The laid-out pieces, line by line in order (labels, sprites and the custom nodes).
    const std::vector<Node*>& getRenderers() const { return _container->getChildren(); }
    int getLineCount() const { return _lineCount; }

    void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) override;

protected:
    RichText() = default;
    bool init() override;

private:
    Vector<RichElement*> _elements;
    float _verticalSpace = 0;
    bool _formatDirty = true;
    int _lineCount = 0;
    Node* _container = nullptr;   // holds the pieces; drawn by the widget, not its child
};

}  // namespace engine::ui
