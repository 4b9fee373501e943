#include "engine/ui/PageView.h"

#include <algorithm>

#include "engine/input/Touch.h"

namespace engine::ui {

PageView* PageView::create() {
    auto* view = new PageView;
    return autoreleased(view, view->init());
}

PageView::~PageView() {
    for (Layout* page : _pages) page->release();
}

bool PageView::init() {
    if (!Layout::init()) return false;
    _innerContainer = Layout::create();
    addChild(_innerContainer, 1);
    setClippingEnabled(true);
    setTouchEnabled(true);
    return true;
}

void PageView::setContentSize(const Size& size) {
    Layout::setContentSize(size);
    if (_innerContainer) placePages();
}

void PageView::addPage(Layout* page) { insertPage(page, static_cast<int>(_pages.size())); }

void PageView::insertPage(Layout* page, int index) {
    if (!page || std::find(_pages.begin(), _pages.end(), page) != _pages.end()) return;
    const auto at = static_cast<size_t>(std::clamp(index, 0, static_cast<int>(_pages.size())));
    page->retain();
    page->removeFromParent();
    _pages.insert(_pages.begin() + static_cast<std::ptrdiff_t>(at), page);
    _innerContainer->addChild(page);
    placePages();
}

void PageView::removePage(Layout* page) {
    const auto found = std::find(_pages.begin(), _pages.end(), page);
    if (found != _pages.end()) removePageAtIndex(static_cast<int>(found - _pages.begin()));
}

void PageView::removePageAtIndex(int index) {
    Layout* page = getPage(index);
    if (!page) return;
    _pages.erase(_pages.begin() + index);
    page->removeFromParent();
    page->release();
    placePages();
}

void PageView::removeAllPages() {
    while (!_pages.empty()) removePageAtIndex(static_cast<int>(_pages.size()) - 1);
}

Layout* PageView::getPage(int index) const {
    return index >= 0 && index < static_cast<int>(_pages.size()) ? _pages[static_cast<size_t>(index)] : nullptr;
}

void PageView::setCurrentPageIndex(int index) {
    _currentPage = std::clamp(index, 0, std::max(0, static_cast<int>(_pages.size()) - 1));
    _innerContainer->setPosition(-static_cast<float>(_currentPage) * getContentSize().width, 0);
}

void PageView::placePages() {
    const Size& size = getContentSize();
    _innerContainer->setContentSize(Size(size.width * static_cast<float>(_pages.size()), size.height));
    for (size_t i = 0; i < _pages.size(); ++i) {
        Layout* page = _pages[i];
        page->setContentSize(size);
        const Vec2& anchor = page->getAnchorPoint();
        page->setPosition(size.width * (static_cast<float>(i) + anchor.x), size.height * anchor.y);
    }
    setCurrentPageIndex(_currentPage);
}

void PageView::startDrag(const Vec2& worldPoint) {
    _dragging = !_pages.empty();
    _dragStart = worldPoint;
}

void PageView::dragTo(const Vec2& worldPoint) {
    if (!_dragging) return;
    const float width = getContentSize().width;
    const float dx = convertToNodeSpace(worldPoint).x - convertToNodeSpace(_dragStart).x;
    const float lowest = -width * static_cast<float>(_pages.size() - 1);
    _innerContainer->setPositionX(std::clamp(-width * static_cast<float>(_currentPage) + dx, lowest, 0.f));
}

void PageView::endDrag() {
    if (!_dragging) return;
    _dragging = false;
    const float width = getContentSize().width;
    const float moved = _innerContainer->getPositionX() + width * static_cast<float>(_currentPage);
    int page = _currentPage;
    if (moved < -width * _threshold) ++page;
    else if (moved > width * _threshold) --page;
    setCurrentPageIndex(page);
    if (!_eventListener) return;
    retain();
    const ccPageViewCallback listener = _eventListener;
    listener(this, EventType::TURNING);
    release();
}

void PageView::interceptTouchEvent(TouchEventType type, Widget* sender, Touch* touch) {
    retain();
    switch (type) {
    case TouchEventType::BEGAN: startDrag(touch->getLocation()); break;
    case TouchEventType::MOVED: dragTo(touch->getLocation()); break;
    case TouchEventType::ENDED:
    case TouchEventType::CANCELED: endDrag(); break;
    }
    Layout::interceptTouchEvent(type, sender, touch);
    release();
}

void PageView::pushDownEvent() {
    startDrag(getTouchBeganPosition());
    Layout::pushDownEvent();
}

void PageView::moveEvent() {
    retain();
    Layout::moveEvent();
    dragTo(getTouchMovePosition());
    release();
}

void PageView::releaseUpEvent() {
    retain();
    Layout::releaseUpEvent();
    endDrag();
    release();
}

void PageView::cancelUpEvent() {
    retain();
    Layout::cancelUpEvent();
    endDrag();
    release();
}

}  // namespace engine::ui
