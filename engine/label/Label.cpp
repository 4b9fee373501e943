#include "engine/label/Label.h"

#include <algorithm>

namespace engine {

namespace {

// Code points in a UTF-8 string (continuation bytes do not count).
size_t codePoints(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Splits one paragraph into lines no wider than `maxChars` characters, breaking at
// blanks where it can and cutting (at a character boundary) where it cannot.
void wrapParagraph(const std::string& paragraph, size_t maxChars, std::vector<std::string>* lines) {
    std::string line;
    size_t lineChars = 0;
    size_t pos = 0;
    auto flush = [&] {
        lines->push_back(line);
        line.clear();
        lineChars = 0;
    };
    while (pos < paragraph.size()) {
        size_t end = paragraph.find(' ', pos);
        if (end == std::string::npos) end = paragraph.size();
        std::string word = paragraph.substr(pos, end - pos);
        pos = end + 1;
        size_t wordChars = codePoints(word);
        if (lineChars > 0 && lineChars + 1 + wordChars > maxChars) flush();
        while (wordChars > maxChars) {
            if (lineChars > 0) flush();
            // Cut the word after maxChars code points.
            size_t cut = 0, counted = 0;
            while (cut < word.size()) {
                if ((static_cast<unsigned char>(word[cut]) & 0xC0) != 0x80) {
                    if (counted == maxChars) break;
                    ++counted;
                }
                ++cut;
            }
            line = word.substr(0, cut);
            flush();
            word.erase(0, cut);
            wordChars -= counted;
        }
        if (lineChars > 0) {
            line += ' ';
            ++lineChars;
        }
        line += word;
        lineChars += wordChars;
    }
    flush();
}

}  // namespace

Label* Label::create() {
    auto* label = new Label;
    return autoreleased(label, label->init());
}

Label* Label::createWithTTF(const std::string& text, const std::string& fontFile, float fontSize,
                            const Size& dimensions, TextHAlignment hAlignment, TextVAlignment vAlignment) {
    return createWithSystemFont(text, fontFile, fontSize, dimensions, hAlignment, vAlignment);
}

Label* Label::createWithSystemFont(const std::string& text, const std::string& font, float fontSize,
                                   const Size& dimensions, TextHAlignment hAlignment,
                                   TextVAlignment vAlignment) {
    auto* label = new Label;
    if (!label->init()) return autoreleased(label, false);
    label->_fontName = font;
    label->_fontSize = fontSize;
    label->_dimensions = dimensions;
    label->_hAlignment = hAlignment;
    label->_vAlignment = vAlignment;
    label->_text = text;
    label->layout();
    return autoreleased(label, true);
}

bool Label::init() {
    setAnchorPoint(Vec2(0.5f, 0.5f));
    layout();
    return true;
}

void Label::setString(const std::string& text) {
    _text = text;
    layout();
}

void Label::setSystemFontSize(float size) {
    _fontSize = size;
    layout();
}

void Label::setDimensions(float width, float height) {
    _dimensions = Size(width, height);
    layout();
}

void Label::enableOutline(const Color4B& color, int outlineSize) {
    _outlineColor = color;
    _outlineSize = outlineSize > 0 ? outlineSize : 0;
}

void Label::layout() {
    _lines.clear();
    const float advance = _fontSize * 0.5f;
    size_t maxChars = 0;   // 0: no wrapping
    if (_dimensions.width > 0 && advance > 0) {
        maxChars = std::max<size_t>(1, static_cast<size_t>(_dimensions.width / advance));
    }
    size_t start = 0;
    while (start <= _text.size()) {
        size_t end = _text.find('\n', start);
        if (end == std::string::npos) end = _text.size();
        const std::string paragraph = _text.substr(start, end - start);
        if (maxChars) {
            wrapParagraph(paragraph, maxChars, &_lines);
        } else {
            _lines.push_back(paragraph);
        }
        start = end + 1;
    }
    if (_text.empty()) _lines.clear();
    size_t widest = 0;
    for (const std::string& line : _lines) widest = std::max(widest, codePoints(line));
    Size size(static_cast<float>(widest) * advance, static_cast<float>(_lines.size()) * _fontSize);
    if (_dimensions.width > 0) size.width = _dimensions.width;
    if (_dimensions.height > 0) size.height = _dimensions.height;
    setContentSize(size);
}

}  // namespace engine
