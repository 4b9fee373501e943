#include "engine/label/Label.h"

#include <algorithm>
#include <cmath>

#include "engine/base/Log.h"
#include "engine/files/FileUtils.h"
#include "engine/label/LabelRaster.h"
#include "engine/renderer/GLFunctions.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"

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

namespace {

// Whether a font file can be found; logs when it cannot.
bool fontFileFound(const char* kind, const std::string& file) {
    FileUtils* files = FileUtils::getInstance();
    if (!file.empty() && files->isFileExist(file)) return true;
    log("Label: %s font file '%s' not found", kind, file.c_str());
    return false;
}

}  // namespace

Label* Label::createWithTTF(const std::string& text, const std::string& fontFile, float fontSize,
                            const Size& dimensions, TextHAlignment hAlignment, TextVAlignment vAlignment) {
    if (!fontFileFound("TTF", fontFile)) return nullptr;
    Label* label = createWithSystemFont(text, fontFile, fontSize, dimensions, hAlignment, vAlignment);
    if (label) {
        label->_ttfConfig.fontFilePath = fontFile;
        label->_ttfConfig.fontSize = static_cast<int32_t>(fontSize);
    }
    return label;
}

Label* Label::createWithTTF(const TTFConfig& config, const std::string& text, TextHAlignment hAlignment,
                            int maxLineWidth) {
    if (!fontFileFound("TTF", config.fontFilePath)) return nullptr;
    Label* label = createWithSystemFont("", config.fontFilePath, static_cast<float>(config.fontSize), Size::ZERO,
                                        hAlignment, TextVAlignment::TOP);
    if (!label) return nullptr;
    label->_ttfConfig = config;
    label->_customGlyphs = config.customGlyphs ? config.customGlyphs : "";
    label->_ttfConfig.customGlyphs = config.customGlyphs ? label->_customGlyphs.c_str() : nullptr;
    label->_maxLineWidth = static_cast<float>(std::max(maxLineWidth, 0));
    label->setString(text);
    return label;
}

bool Label::setTTFConfig(const TTFConfig& config) {
    if (!fontFileFound("TTF", config.fontFilePath)) return false;
    const float size = config.fontSize >= 1 ? static_cast<float>(config.fontSize) : _fontSize;
    _customGlyphs = config.customGlyphs ? config.customGlyphs : "";
    _ttfConfig = config;
    _ttfConfig.customGlyphs = config.customGlyphs ? _customGlyphs.c_str() : nullptr;
    _ttfConfig.fontSize = static_cast<int32_t>(size);
    _bmFontFilePath.clear();
    _fontName = config.fontFilePath;
    _textureDirty = true;
    setSystemFontSize(size);
    return true;
}

Label* Label::createWithBMFont(const std::string& fontFile, const std::string& text, TextHAlignment hAlignment,
                               int maxLineWidth) {
    if (!fontFileFound("bitmap", fontFile)) return nullptr;
    Label* label = createWithSystemFont("", fontFile, kDefaultFontSize, Size::ZERO, hAlignment, TextVAlignment::TOP);
    if (!label) return nullptr;
    label->_ttfConfig.fontFilePath.clear();
    label->_bmFontFilePath = fontFile;
    label->_maxLineWidth = static_cast<float>(std::max(maxLineWidth, 0));
    label->setString(text);
    return label;
}

void Label::setMaxLineWidth(float width) {
    _maxLineWidth = width > 0 ? width : 0;
    layout();
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
    _textureDirty = true;
}

void Label::enableShadow(const Color4B& color, const Size& offset, int blurRadius) {
    _shadow = true;
    _shadowColor = color;
    _shadowOffset = offset;
    _shadowBlurRadius = blurRadius;
    _textureDirty = true;
}

void Label::disableShadow() {
    _shadow = false;
    _textureDirty = true;
}

void Label::disableEffect() {
    disableOutline();
    disableShadow();
}

int Label::getStringLength() const { return static_cast<int>(codePoints(_text)); }

void Label::layout() {
    _textureDirty = true;
    _lines.clear();
    const float advance = _fontSize * 0.5f;
    size_t maxChars = 0;   // 0: no wrapping
    const float wrapWidth = _dimensions.width > 0 ? _dimensions.width : _maxLineWidth;
    if (wrapWidth > 0 && advance > 0) {
        maxChars = std::max<size_t>(1, static_cast<size_t>(wrapWidth / advance));
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

Label::~Label() {
    if (_texture) _texture->release();
}

void Label::updateTexture() {
    constexpr float kMaxSide = 4096;
    const Size& size = getContentSize();
    LabelRasterInput input;
    input.lines = _lines;
    input.fontName = _fontName;
    input.fontSize = _fontSize;
    input.lineHeight = _fontSize;
    input.width = static_cast<int>(std::ceil(std::clamp(size.width, 0.f, kMaxSide)));
    input.height = static_cast<int>(std::ceil(std::clamp(size.height, 0.f, kMaxSide)));
    input.hAlignment = _hAlignment;
    input.vAlignment = _vAlignment;
    input.color = _textColor;
    input.outlineColor = _outlineColor;
    input.outlineSize = _outlineSize;
    input.shadow = _shadow;
    input.shadowColor = _shadowColor;
    input.shadowOffsetX = _shadowOffset.width;
    input.shadowOffsetY = -_shadowOffset.height;   // the box's rows go down
    // Without a box the metric only estimates the text's width: the texture
    // takes the real one, centred on the content box.
    _textureOffsetX = 0;
    if (_dimensions.width <= 0 && !_lines.empty()) {
        const int real = static_cast<int>(std::ceil(measureLabelWidth(input) + 2.f * _outlineSize));
        if (real > input.width) {
            const int width = std::min(real, static_cast<int>(kMaxSide));
            _textureOffsetX = static_cast<float>(input.width - width) / 2;
            input.width = width;
        }
    }
    _boxWidth = _boxHeight = 0;
    _inkMargin = 0;
    if (input.width <= 0 || input.height <= 0) return;
    // Ink past the content box (the outline, descenders, marks) gets rows of its own.
    if (!_lines.empty()) {
        input.inkMargin = std::min(labelInkMargin(input), (static_cast<int>(kMaxSide) - input.height) / 2);
        input.height += 2 * input.inkMargin;
    }
    // One transparent column and row past the box, so that filtering at its edge
    // reads no older text.
    const int needWide = input.width + 1, needHigh = input.height + 1;
    if (!_texture || needWide > _texture->getPixelsWide() || needHigh > _texture->getPixelsHigh()) {
        auto roundUp = [](int v, int step) { return (v + step - 1) / step * step; };
        const int wide = roundUp(std::max(needWide, _texture ? _texture->getPixelsWide() : 0), 64);
        const int high = roundUp(std::max(needHigh, _texture ? _texture->getPixelsHigh() : 0), 16);
        if (_texture) _texture->release();
        _texture = Texture2D::create(wide, high, Texture2D::PixelFormat::RGBA8888, true);
    }
    LabelCanvas& canvas = LabelCanvas::shared();
    if (!canvas.draw(input, _texture->getPixelsWide(), _texture->getPixelsHigh())) return;
    if (!_texture->updateTopRowsBgra(canvas.pixels(), std::min(needHigh, _texture->getPixelsHigh()))) return;
    _textureGeneration = GL::contextGeneration();
    _boxWidth = input.width;
    _boxHeight = input.height;
    _inkMargin = input.inkMargin;
}

void Label::draw(Renderer* renderer, const Mat4& transform, uint32_t) {
    // Rasterising is for a context that keeps textures; headless there is nothing to show.
    if (!GL::fn().hasContext) return;
    // A new context starts with blank textures: the text is written again.
    if (_textureDirty || (_texture && _textureGeneration != GL::contextGeneration())) {
        _textureDirty = false;
        updateTexture();
    }
    if (!_texture || _boxWidth <= 0) return;
    GLProgramState* state = getGLProgramState() ? getGLProgramState() : defaultQuadProgramState();
    _quad.init(getGlobalZOrder(), _texture, state, BlendFunc::ALPHA_PREMULTIPLIED);
    // The box covers whole pixels: its quad grows to them, the text keeps its scale.
    const Size& size = getContentSize();
    const auto boxWide = static_cast<float>(_boxWidth), boxHigh = static_cast<float>(_boxHeight);
    const auto margin = static_cast<float>(_inkMargin);
    _quad.addQuad(transform, Vec2(_textureOffsetX, size.height + margin - boxHigh),
                  Vec2(_textureOffsetX + boxWide, size.height + margin),
                  quadColor(getDisplayedColor(), getDisplayedOpacity(), true), 0,
                  boxHigh / static_cast<float>(_texture->getPixelsHigh()),
                  boxWide / static_cast<float>(_texture->getPixelsWide()), 0);
    renderer->addCommand(&_quad);
}

}  // namespace engine
