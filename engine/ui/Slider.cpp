#include "engine/ui/Slider.h"

#include <algorithm>
#include <cmath>

#include <typeinfo>

namespace engine::ui {

Slider* Slider::create() {
    auto* slider = new Slider;
    return autoreleased(slider, slider->init());
}

Slider* Slider::create(const std::string& barTexture, const std::string& normalBallTexture, TextureResType type) {
    Slider* slider = create();
    if (!slider) return nullptr;
    slider->loadBarTexture(barTexture, type);
    slider->loadSlidBallTextureNormal(normalBallTexture, type);
    return slider;
}

Slider::~Slider() {
    for (Scale9Sprite* renderer : {_barRenderer, _ballNormalRenderer, _ballPressedRenderer, _ballDisabledRenderer}) {
        if (renderer) renderer->release();
    }
    if (_progress) _progress->release();
}

bool Slider::init() {
    if (!Widget::init()) return false;
    _progress = LoadingBar::create();
    if (!_progress) return false;
    _progress->retain();
    _progress->setAnchorPoint(Vec2(0, 0));
    setTouchEnabled(true);
    return true;
}

void Slider::loadInto(WidgetImage& image, Scale9Sprite*& renderer, const std::string& file, TextureResType type) {
    if (file.empty() || !image.load(file, type, "Slider")) return;
    if (renderer) renderer->release();
    renderer = image.newRenderer();
}

void Slider::loadBarTexture(const std::string& file, TextureResType type) {
    loadInto(_bar, _barRenderer, file, type);
    if (!file.empty() && !_bar.empty()) adaptToRendererSize();
}

void Slider::loadProgressBarTexture(const std::string& file, TextureResType type) {
    if (!file.empty()) _progress->loadTexture(file, type);
}

void Slider::loadSlidBallTextures(const std::string& normal, const std::string& pressed, const std::string& disabled,
                                  TextureResType type) {
    loadSlidBallTextureNormal(normal, type);
    loadSlidBallTexturePressed(pressed, type);
    loadSlidBallTextureDisabled(disabled, type);
}

void Slider::loadSlidBallTextureNormal(const std::string& file, TextureResType type) {
    loadInto(_ballNormal, _ballNormalRenderer, file, type);
}

void Slider::loadSlidBallTexturePressed(const std::string& file, TextureResType type) {
    loadInto(_ballPressed, _ballPressedRenderer, file, type);
}

void Slider::loadSlidBallTextureDisabled(const std::string& file, TextureResType type) {
    loadInto(_ballDisabled, _ballDisabledRenderer, file, type);
}

void Slider::setScale9Enabled(bool enabled) {
    _scale9Enabled = enabled;
    _progress->setScale9Enabled(enabled);
}

void Slider::setCapInsets(const Rect& insets) {
    _capInsets = insets;
    _progress->setCapInsets(insets);
}

void Slider::draw(Renderer* renderer, const Mat4& parentTransform, uint32_t flags) {
    const Mat4 transform = imageTransform(parentTransform);
    const Size& size = getContentSize();
    if (_barRenderer) {
        const Size& original = _barRenderer->getOriginalSize();
        _barRenderer->setCapInsets(_scale9Enabled ? _capInsets : Rect(0, 0, original.width, original.height));
        _barRenderer->setContentSize(size);
        _barRenderer->setColor(getDisplayedColor());
        _barRenderer->setOpacity(getDisplayedOpacity());
        _barRenderer->setGlobalZOrder(getGlobalZOrder());
        _barRenderer->visit(renderer, transform, flags);
    }
    const float fraction = static_cast<float>(_percent) / static_cast<float>(_maxPercent);
    if (_progress->getTexture()) {
        // The bar drawn over the whole box, cut at the percent.
        _progress->setContentSize(size);
        _progress->setPercent(fraction * 100.f);
        _progress->setColor(getDisplayedColor());
        _progress->setOpacity(getDisplayedOpacity());
        _progress->setGlobalZOrder(getGlobalZOrder());
        _progress->visit(renderer, transform, flags);
    }
    Scale9Sprite* ball = _ballNormalRenderer;
    if (showsDisabled() && _ballDisabledRenderer) ball = _ballDisabledRenderer;
    if (showsPressed() && _ballPressedRenderer) ball = _ballPressedRenderer;
    if (!ball) return;
    const Size& original = ball->getOriginalSize();
    ball->setCapInsets(Rect(0, 0, original.width, original.height));
    ball->setContentSize(original);
    ball->setPosition(size.width * fraction - original.width / 2, size.height / 2 - original.height / 2);
    ball->setColor(getDisplayedColor());
    ball->setOpacity(getDisplayedOpacity());
    ball->setGlobalZOrder(getGlobalZOrder());
    ball->visit(renderer, transform, flags);
}

void Slider::setPercent(int percent) { _percent = std::clamp(percent, 0, _maxPercent); }

void Slider::setMaxPercent(int maximum) {
    _maxPercent = std::max(maximum, 1);
    _percent = std::min(_percent, _maxPercent);
}

void Slider::followTouch(const Vec2& worldPoint) {
    const float width = getContentSize().width;
    const float x = convertToNodeSpace(worldPoint).x;
    const float fraction = width > 0 ? std::clamp(x / width, 0.f, 1.f) : 0.f;
    const int percent = static_cast<int>(std::lround(fraction * static_cast<float>(_maxPercent)));
    if (percent == _percent) return;
    _percent = percent;
    fire(EventType::ON_PERCENTAGE_CHANGED);
}

void Slider::pushDownEvent() {
    Widget::pushDownEvent();
    fire(EventType::ON_SLIDEBALL_DOWN);
    followTouch(getTouchBeganPosition());
}

void Slider::moveEvent() {
    Widget::moveEvent();
    followTouch(getTouchMovePosition());
}

void Slider::releaseUpEvent() {
    Widget::releaseUpEvent();
    fire(EventType::ON_SLIDEBALL_UP);
}

void Slider::cancelUpEvent() {
    Widget::cancelUpEvent();
    fire(EventType::ON_SLIDEBALL_CANCEL);
}

void Slider::fire(EventType type) {
    if (!_eventListener) return;
    retain();
    const ccSliderCallback listener = _eventListener;
    listener(this, type);
    release();
}

Widget* Slider::createCloneInstance() { return typeid(*this) == typeid(Slider) ? Slider::create() : nullptr; }

void Slider::copySpecialProperties(Widget* model) {
    auto* slider = dynamic_cast<Slider*>(model);
    if (!slider) return;
    const std::pair<WidgetImage*, Scale9Sprite**> mine[] = {
        {&_bar, &_barRenderer}, {&_ballNormal, &_ballNormalRenderer}, {&_ballPressed, &_ballPressedRenderer},
        {&_ballDisabled, &_ballDisabledRenderer}};
    const WidgetImage* theirs[] = {&slider->_bar, &slider->_ballNormal, &slider->_ballPressed, &slider->_ballDisabled};
    for (size_t i = 0; i < 4; ++i) {
        mine[i].first->assign(*theirs[i]);
        if (*mine[i].second) (*mine[i].second)->release();
        *mine[i].second = mine[i].first->newRenderer();
    }
    if (auto* progress = dynamic_cast<LoadingBar*>(slider->_progress->clone())) assignRetained(_progress, progress);
    _percent = slider->_percent;
    _maxPercent = slider->_maxPercent;
    _scale9Enabled = slider->_scale9Enabled;
    _capInsets = slider->_capInsets;
    _eventListener = slider->_eventListener;
}

}  // namespace engine::ui
