#include "engine/ui/RichText.h"

#include <algorithm>

#include "engine/label/Label.h"
#include "engine/scene/Sprite.h"

namespace engine::ui {

namespace {

// Byte offsets of the code points of text, and its length at the end.
std::vector<size_t> codePointStarts(const std::string& text) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    }
    starts.push_back(text.size());
    return starts;
}

// Pieces of one line in the making.
struct LineBuilder {
    std::vector<std::vector<Node*>> lines{{}};
    std::vector<float> widths{0};
    float wrapWidth = 0;   // 0: no wrapping

    float room() const { return wrapWidth > 0 ? wrapWidth - widths.back() : -1; }
    bool lineEmpty() const { return lines.back().empty(); }
    void add(Node* piece) {
        lines.back().push_back(piece);
        widths.back() += piece->getContentSize().width;
    }
    void newLine() {
        lines.emplace_back();
        widths.push_back(0);
    }
    // A piece wider than the room left starts a new line, unless the line is empty.
    void place(Node* piece) {
        if (wrapWidth > 0 && !lineEmpty() && piece->getContentSize().width > room()) newLine();
        add(piece);
    }
};

}  // namespace

RichElementText* RichElementText::create(int tag, const Color3B& color, uint8_t opacity, const std::string& text,
                                         const std::string& fontName, float fontSize) {
    auto* element = new RichElementText(tag, color, opacity);
    element->_text = text;
    element->_fontName = fontName;
    element->_fontSize = fontSize;
    element->autorelease();
    return element;
}

RichElementImage* RichElementImage::create(int tag, const Color3B& color, uint8_t opacity,
                                           const std::string& filePath) {
    auto* element = new RichElementImage(tag, color, opacity);
    element->_filePath = filePath;
    element->autorelease();
    return element;
}

RichElementCustomNode* RichElementCustomNode::create(int tag, const Color3B& color, uint8_t opacity,
                                                     Node* customNode) {
    if (!customNode) return nullptr;
    auto* element = new RichElementCustomNode(tag, color, opacity);
    customNode->retain();
    element->_customNode = customNode;
    element->autorelease();
    return element;
}

RichElementCustomNode::~RichElementCustomNode() {
    if (_customNode) _customNode->release();
}

RichText* RichText::create() {
    auto* text = new RichText;
    return autoreleased(text, text->init());
}

bool RichText::init() {
    if (!Widget::init()) return false;
    _container = Node::create();
    if (!_container) return false;
    _container->retain();
    return true;
}

RichText::~RichText() {
    if (_container) {
        _container->removeAllChildren();
        _container->release();
    }
}

void RichText::pushBackElement(RichElement* element) {
    if (!element) return;
    _elements.pushBack(element);
    _formatDirty = true;
}

void RichText::insertElement(RichElement* element, int index) {
    if (!element) return;
    if (index < 0 || static_cast<size_t>(index) >= _elements.size()) {
        pushBackElement(element);
        return;
    }
    _elements.insert(static_cast<size_t>(index), element);
    _formatDirty = true;
}

void RichText::removeElement(int index) {
    if (index < 0 || static_cast<size_t>(index) >= _elements.size()) return;
    _elements.erase(static_cast<size_t>(index));
    _formatDirty = true;
}

void RichText::removeElement(RichElement* element) {
    const ptrdiff_t index = _elements.getIndex(element);
    if (index >= 0) removeElement(static_cast<int>(index));
}

void RichText::setVerticalSpace(float space) {
    _verticalSpace = space;
    _formatDirty = true;
}

void RichText::ignoreContentAdaptWithSize(bool ignore) {
    Widget::ignoreContentAdaptWithSize(ignore);
    _formatDirty = true;
}

void RichText::setContentSize(const Size& size) {
    Widget::setContentSize(size);
    _formatDirty = true;
}

void RichText::formatText() {
    _formatDirty = false;
    _container->removeAllChildren();
    LineBuilder builder;
    builder.wrapWidth = isIgnoreContentAdaptWithSize() ? 0.f : getContentSize().width;
    for (RichElement* element : _elements) {
        const Color3B color = element->getColor();
        const uint8_t opacity = element->getOpacity();
        auto styled = [&](Node* piece) {
            piece->setColor(color);
            piece->setOpacity(opacity);
            piece->setAnchorPoint(Vec2(0, 0));
            return piece;
        };
        if (auto* text = dynamic_cast<RichElementText*>(element)) {
            const float advance = text->getFontSize() * 0.5f;
            auto makeLabel = [&](const std::string& piece) {
                return styled(Label::createWithSystemFont(piece, text->getFontName(), text->getFontSize()));
            };
            const std::string& whole = text->getText();
            size_t start = 0;
            while (start <= whole.size()) {
                size_t end = whole.find('\n', start);
                const bool lineBreak = end != std::string::npos;
                if (!lineBreak) end = whole.size();
                std::string rest = whole.substr(start, end - start);
                while (!rest.empty()) {
                    const std::vector<size_t> starts = codePointStarts(rest);
                    const size_t count = starts.size() - 1;
                    size_t fit = count;
                    if (builder.wrapWidth > 0 && advance > 0) {
                        fit = static_cast<size_t>(std::max(0.f, builder.room()) / advance);
                    }
                    if (fit >= count) {
                        builder.add(makeLabel(rest));
                        break;
                    }
                    // Break after the last blank that fits; else at the last character that fits.
                    size_t cut = fit;
                    const size_t blank = fit > 0 ? rest.rfind(' ', starts[fit] - 1) : std::string::npos;
                    if (blank != std::string::npos) {
                        cut = static_cast<size_t>(std::lower_bound(starts.begin(), starts.end(), blank + 1) -
                                                  starts.begin());
                    }
                    if (cut == 0) {
                        if (!builder.lineEmpty()) {
                            builder.newLine();
                            continue;
                        }
                        cut = 1;   // an empty line takes at least one character
                    }
                    builder.add(makeLabel(rest.substr(0, starts[cut])));
                    builder.newLine();
                    rest = rest.substr(starts[cut]);
                }
                if (!lineBreak) break;
                builder.newLine();
                start = end + 1;
            }
        } else if (auto* image = dynamic_cast<RichElementImage*>(element)) {
            Sprite* sprite = Sprite::create(image->getFilePath());
            if (!sprite) continue;
            const Size& own = sprite->getContentSize();
            if (image->getWidth() > 0 && own.width > 0) sprite->setScaleX(image->getWidth() / own.width);
            if (image->getHeight() > 0 && own.height > 0) sprite->setScaleY(image->getHeight() / own.height);
            // The line measures the drawn size.
            Node* holder = Node::create();
            holder->setContentSize(Size(own.width * sprite->getScaleX(), own.height * sprite->getScaleY()));
            sprite->setAnchorPoint(Vec2(0, 0));
            holder->addChild(styled(sprite));
            builder.place(styled(holder));
        } else if (auto* custom = dynamic_cast<RichElementCustomNode*>(element)) {
            Node* node = custom->getCustomNode();
            node->removeFromParent();
            builder.place(styled(node));
        }
    }
    // Drop an empty last line left by a trailing break or wrap.
    if (builder.lines.size() > 1 && builder.lines.back().empty()) {
        builder.lines.pop_back();
        builder.widths.pop_back();
    }
    float totalHeight = 0;
    float widest = 0;
    std::vector<float> heights;
    for (size_t i = 0; i < builder.lines.size(); ++i) {
        float height = 0;
        for (Node* piece : builder.lines[i]) height = std::max(height, piece->getContentSize().height);
        heights.push_back(height);
        totalHeight += height + (i > 0 ? _verticalSpace : 0.f);
        widest = std::max(widest, builder.widths[i]);
    }
    _lineCount = static_cast<int>(builder.lines.size());
    if (isIgnoreContentAdaptWithSize()) Node::setContentSize(Size(widest, totalHeight));
    float top = getContentSize().height;
    for (size_t i = 0; i < builder.lines.size(); ++i) {
        const float bottom = top - heights[i];
        float x = 0;
        for (Node* piece : builder.lines[i]) {
            piece->setPosition(x, bottom);
            _container->addChild(piece);
            x += piece->getContentSize().width;
        }
        top = bottom - _verticalSpace;
    }
}

void RichText::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!isVisible()) return;
    if (_formatDirty) formatText();
    Widget::visit(renderer, parentTransform, parentFlags);
    _container->setGlobalZOrder(getGlobalZOrder());
    _container->visit(renderer, parentTransform * getNodeToParentTransform(), parentFlags);
}

}  // namespace engine::ui
