// The ui module: the widget classes (table "ccui") and the focus listener.
#include "bindings/LuaClassTable.h"
#include "bindings/LuaModules.h"
#include "bindings/ui/LuaFocusListener.h"
#include "bindings/ui/LuaWidgetListeners.h"

#include <algorithm>
#include <vector>

#include "engine/base/EventListenerFocus.h"
#include "engine/ui/Boxes.h"
#include "engine/ui/Button.h"
#include "engine/ui/CheckBox.h"
#include "engine/ui/EditBox.h"
#include "engine/ui/Helper.h"
#include "engine/ui/ImageView.h"
#include "engine/ui/Layout.h"
#include "engine/ui/LayoutComponent.h"
#include "engine/ui/LayoutParameter.h"
#include "engine/ui/ListView.h"
#include "engine/ui/LoadingBar.h"
#include "engine/ui/PageView.h"
#include "engine/ui/RadioButton.h"
#include "engine/ui/RichText.h"
#include "engine/ui/Scale9Sprite.h"
#include "engine/ui/ScrollView.h"
#include "engine/ui/Slider.h"
#include "engine/ui/Text.h"
#include "engine/ui/TextAtlas.h"
#include "engine/ui/TextBMFont.h"
#include "engine/ui/TextField.h"
#include "engine/ui/Widget.h"

namespace bindings {

namespace {

using namespace engine::ui;

// An enumeration's value as scripts number it: out of range is the first value.
template <class Enum>
Enum enumOf(int32_t value, Enum last) {
    return static_cast<Enum>(value >= 0 && value <= static_cast<int32_t>(last) ? value : 0);
}
template <class Enum>
int32_t numberOf(Enum value) {
    return static_cast<int32_t>(value);
}

const Method kWidgetMethods[] = {
    {"create", {classFunction<&Widget::create>()}},
    {"setEnabled", {method<&Widget::setEnabled>()}},
    {"isEnabled", {method<&Widget::isEnabled>()}},
    {"setTouchEnabled", {method<&Widget::setTouchEnabled>()}},
    {"isTouchEnabled", {method<&Widget::isTouchEnabled>()}},
    {"isHighlighted", {method<&Widget::isHighlighted>()}},
    {"setSwallowTouches", {method<&Widget::setSwallowTouches>()}},
    {"isSwallowTouches", {method<&Widget::isSwallowTouches>()}},
    {"setPropagateTouchEvents", {method<&Widget::setPropagateTouchEvents>()}},
    {"isPropagateTouchEvents", {method<&Widget::isPropagateTouchEvents>()}},
    {"hitTest", {method<&Widget::hitTest>()}},
    {"setLayoutParameter", {method<&Widget::setLayoutParameter>()}},
    {"getLayoutParameter", {method<&Widget::getLayoutParameter>()}},
    {"setFocused", {method<&Widget::setFocused>()}},
    {"isFocused", {method<&Widget::isFocused>()}},
    {"setFocusEnabled", {method<&Widget::setFocusEnabled>()}},
    {"isFocusEnabled", {method<&Widget::isFocusEnabled>()}},
    {"requestFocus", {method<&Widget::requestFocus>()}},
    {"getCurrentFocusedWidget", {classFunction<&Widget::getCurrentFocusedWidget>()}},
};

const Method kCheckBoxMethods[] = {
    {"create", {classFunction<static_cast<CheckBox* (*)()>(&CheckBox::create)>()}},
    {"setSelected", {methodOf<CheckBox, &CheckBox::setSelected>()}},
    {"isSelected", {methodOf<CheckBox, &CheckBox::isSelected>()}},
};

const Method kRadioButtonMethods[] = {
    {"create", {classFunction<static_cast<RadioButton* (*)()>(&RadioButton::create)>()}},
    {"setSelected", {methodOf<RadioButton, &RadioButton::setSelected>()}},
    {"isSelected", {methodOf<RadioButton, &RadioButton::isSelected>()}},
};

void setSelectedButton(RadioButtonGroup* self, RadioButton* button) { self->setSelectedButton(button); }
void setSelectedIndex(RadioButtonGroup* self, int32_t index) { self->setSelectedButton(index); }
void setSelectedButtonWithoutEvent(RadioButtonGroup* self, RadioButton* button) {
    self->setSelectedButtonWithoutEvent(button);
}
void setSelectedIndexWithoutEvent(RadioButtonGroup* self, int32_t index) {
    self->setSelectedButtonWithoutEvent(index);
}

const Method kRadioButtonGroupMethods[] = {
    {"create", {classFunction<&RadioButtonGroup::create>()}},
    {"addRadioButton", {method<&RadioButtonGroup::addRadioButton>()}},
    {"removeRadioButton", {method<&RadioButtonGroup::removeRadioButton>()}},
    {"removeAllRadioButtons", {method<&RadioButtonGroup::removeAllRadioButtons>()}},
    {"getNumberOfRadioButtons", {method<&RadioButtonGroup::getNumberOfRadioButtons>()}},
    {"getRadioButtonByIndex", {method<&RadioButtonGroup::getRadioButtonByIndex>()}},
    {"getSelectedButtonIndex", {method<&RadioButtonGroup::getSelectedButtonIndex>()}},
    {"setSelectedButton", {method<&setSelectedButton>(), method<&setSelectedIndex>()}},
    {"setSelectedButtonWithoutEvent", {method<&setSelectedButtonWithoutEvent>(), method<&setSelectedIndexWithoutEvent>()}},
    {"setAllowedNoSelection", {method<&RadioButtonGroup::setAllowedNoSelection>()}},
    {"isAllowedNoSelection", {method<&RadioButtonGroup::isAllowedNoSelection>()}},
};

const Method kSliderMethods[] = {
    {"create", {classFunction<static_cast<Slider* (*)()>(&Slider::create)>()}},
    {"setPercent", {method<&Slider::setPercent>()}},
    {"getPercent", {method<&Slider::getPercent>()}},
    {"setMaxPercent", {method<&Slider::setMaxPercent>()}},
    {"getMaxPercent", {method<&Slider::getMaxPercent>()}},
};

const Method kTextFieldMethods[] = {
    {"create", {classFunction<static_cast<TextField* (*)()>(&TextField::create)>(),
                classFunction<static_cast<TextField* (*)(const std::string&, const std::string&, float)>(
                    &TextField::create)>()}},
    {"setString", {method<&TextField::setString>()}},
    {"getString", {method<&TextField::getString>()}},
    {"getStringLength", {method<&TextField::getStringLength>()}},
    {"setPlaceHolder", {method<&TextField::setPlaceHolder>()}},
    {"getPlaceHolder", {method<&TextField::getPlaceHolder>()}},
    {"setMaxLengthEnabled", {method<&TextField::setMaxLengthEnabled>()}},
    {"isMaxLengthEnabled", {method<&TextField::isMaxLengthEnabled>()}},
    {"setMaxLength", {method<&TextField::setMaxLength>()}},
    {"getMaxLength", {method<&TextField::getMaxLength>()}},
    {"setPasswordEnabled", {method<&TextField::setPasswordEnabled>()}},
    {"isPasswordEnabled", {method<&TextField::isPasswordEnabled>()}},
    {"attachWithIME", {method<&TextField::attachWithIME>()}},
    {"detachWithIME", {method<&TextField::detachWithIME>()}},
};

void setDirection(ScrollView* self, int32_t direction) {
    self->setDirection(enumOf(direction, ScrollView::Direction::BOTH));
}
int32_t getDirection(ScrollView* self) { return numberOf(self->getDirection()); }

// A script's children of a scroll view scroll: they go into its inner container.
void addScrolledChild(ScrollView* self, engine::Node* child) { self->getInnerContainer()->addChild(child); }
void addScrolledChildAt(ScrollView* self, engine::Node* child, int32_t z) {
    self->getInnerContainer()->addChild(child, z);
}
void addScrolledChildTagged(ScrollView* self, engine::Node* child, int32_t z, int32_t tag) {
    self->getInnerContainer()->addChild(child, z, tag);
}

const Method kScrollViewMethods[] = {
    {"create", {classFunction<&ScrollView::create>()}},
    {"addChild", {method<&addScrolledChild>(), method<&addScrolledChildAt>(), method<&addScrolledChildTagged>()}},
    {"setDirection", {method<&setDirection>()}},
    {"getDirection", {method<&getDirection>()}},
    {"getInnerContainer", {method<&ScrollView::getInnerContainer>()}},
    {"setInnerContainerSize", {method<&ScrollView::setInnerContainerSize>()}},
    {"getInnerContainerSize", {method<&ScrollView::getInnerContainerSize>()}},
    {"setInnerContainerPosition", {method<&ScrollView::setInnerContainerPosition>()}},
    {"getInnerContainerPosition", {method<&ScrollView::getInnerContainerPosition>()}},
    {"setBounceEnabled", {method<&ScrollView::setBounceEnabled>()}},
    {"isBounceEnabled", {method<&ScrollView::isBounceEnabled>()}},
    {"jumpToTop", {method<&ScrollView::jumpToTop>()}},
    {"jumpToBottom", {method<&ScrollView::jumpToBottom>()}},
    {"jumpToLeft", {method<&ScrollView::jumpToLeft>()}},
    {"jumpToRight", {method<&ScrollView::jumpToRight>()}},
};

void setGravity(ListView* self, int32_t gravity) {
    self->setGravity(enumOf(gravity, ListView::Gravity::CENTER_VERTICAL));
}
int32_t getGravity(ListView* self) { return numberOf(self->getGravity()); }
int32_t getListIndex(ListView* self, Widget* item) { return self->getIndex(item); }

const Method kListViewMethods[] = {
    {"create", {classFunction<&ListView::create>()}},
    {"pushBackCustomItem", {method<&ListView::pushBackCustomItem>()}},
    {"insertCustomItem", {method<&ListView::insertCustomItem>()}},
    {"removeItem", {method<&ListView::removeItem>()}},
    {"removeLastItem", {method<&ListView::removeLastItem>()}},
    {"removeAllItems", {method<&ListView::removeAllItems>()}},
    {"getItem", {method<&ListView::getItem>()}},
    {"getItems", {method<&ListView::getItems>()}},
    {"getIndex", {method<&getListIndex>()}},
    {"setGravity", {method<&setGravity>()}},
    {"getGravity", {method<&getGravity>()}},
    {"setItemsMargin", {method<&ListView::setItemsMargin>()}},
    {"getItemsMargin", {method<&ListView::getItemsMargin>()}},
    {"getCurSelectedIndex", {method<&ListView::getCurSelectedIndex>()}},
    {"doLayout", {method<&ListView::doLayout>()}},
};

const Method kPageViewMethods[] = {
    {"create", {classFunction<&PageView::create>()}},
    {"addPage", {method<&PageView::addPage>()}},
    {"insertPage", {method<&PageView::insertPage>()}},
    {"removePage", {method<&PageView::removePage>()}},
    {"removePageAtIndex", {method<&PageView::removePageAtIndex>()}},
    {"removeAllPages", {method<&PageView::removeAllPages>()}},
    {"getPages", {method<&PageView::getPages>()}},
    {"getPage", {method<&PageView::getPage>()}},
    {"getCurrentPageIndex", {method<&PageView::getCurrentPageIndex>()}},
    {"setCurrentPageIndex", {method<&PageView::setCurrentPageIndex>()}},
    {"scrollToPage", {method<&PageView::scrollToPage>()}},
    {"setCustomScrollThreshold", {method<&PageView::setCustomScrollThreshold>()}},
    {"getCustomScrollThreshold", {method<&PageView::getCustomScrollThreshold>()}},
};

ImageView* createImageView(const std::string& file) { return ImageView::create(file); }
void loadImageViewTexture(ImageView* self, const std::string& file) { self->loadTexture(file); }
void loadImageViewTextureOfType(ImageView* self, const std::string& file, int32_t type) {
    self->loadTexture(file, enumOf(type, TextureResType::PLIST));
}

const Method kImageViewMethods[] = {
    {"create", {classFunction<static_cast<ImageView* (*)()>(&ImageView::create)>(),
                classFunction<&createImageView>()}},
    {"loadTexture", {method<&loadImageViewTexture>(), method<&loadImageViewTextureOfType>()}},
    {"setScale9Enabled", {method<&ImageView::setScale9Enabled>()}},
    {"isScale9Enabled", {method<&ImageView::isScale9Enabled>()}},
    {"setCapInsets", {method<&ImageView::setCapInsets>()}},
};

const Method kTextBMFontMethods[] = {
    {"create", {classFunction<static_cast<TextBMFont* (*)()>(&TextBMFont::create)>(),
                classFunction<static_cast<TextBMFont* (*)(const std::string&, const std::string&)>(
                    &TextBMFont::create)>()}},
    {"setFntFile", {methodOf<TextBMFont, &TextBMFont::setFntFile>()}},
    {"setString", {methodOf<TextBMFont, &TextBMFont::setString>()}},
    {"getString", {methodOf<TextBMFont, &TextBMFont::getString>()}},
    {"getStringLength", {methodOf<TextBMFont, &TextBMFont::getStringLength>()}},
};

int32_t getLayoutType(LayoutParameter* self) { return numberOf(self->getLayoutType()); }

const Method kLayoutParameterMethods[] = {
    {"create", {classFunction<&LayoutParameter::create>()}},
    {"getLayoutType", {method<&getLayoutType>()}},
};

void setLinearGravity(LinearLayoutParameter* self, int32_t gravity) {
    self->setGravity(enumOf(gravity, LinearLayoutParameter::LinearGravity::CENTER_HORIZONTAL));
}
int32_t getLinearGravity(LinearLayoutParameter* self) { return numberOf(self->getGravity()); }

const Method kLinearLayoutParameterMethods[] = {
    {"create", {classFunction<&LinearLayoutParameter::create>()}},
    {"setGravity", {method<&setLinearGravity>()}},
    {"getGravity", {method<&getLinearGravity>()}},
};

void setAlign(RelativeLayoutParameter* self, int32_t align) {
    self->setAlign(enumOf(align, RelativeLayoutParameter::RelativeAlign::LOCATION_BELOW_RIGHTALIGN));
}
int32_t getAlign(RelativeLayoutParameter* self) { return numberOf(self->getAlign()); }

const Method kRelativeLayoutParameterMethods[] = {
    {"create", {classFunction<&RelativeLayoutParameter::create>()}},
    {"setAlign", {method<&setAlign>()}},
    {"getAlign", {method<&getAlign>()}},
    {"setRelativeName", {method<&RelativeLayoutParameter::setRelativeName>()}},
    {"getRelativeName", {method<&RelativeLayoutParameter::getRelativeName>()}},
    {"setRelativeToWidgetName", {method<&RelativeLayoutParameter::setRelativeToWidgetName>()}},
    {"getRelativeToWidgetName", {method<&RelativeLayoutParameter::getRelativeToWidgetName>()}},
};

EditBox* createEditBox(const engine::Size& size) { return EditBox::create(size); }
EditBox* createEditBoxWithImage(const engine::Size& size, const std::string& image) {
    return EditBox::create(size, image);
}
void setInputMode(EditBox* self, int32_t mode) { self->setInputMode(enumOf(mode, EditBox::InputMode::SINGLE_LINE)); }
int32_t getInputMode(EditBox* self) { return numberOf(self->getInputMode()); }
void setInputFlag(EditBox* self, int32_t flag) {
    self->setInputFlag(enumOf(flag, EditBox::InputFlag::LOWERCASE_ALL_CHARACTERS));
}
int32_t getInputFlag(EditBox* self) { return numberOf(self->getInputFlag()); }

const Method kEditBoxMethods[] = {
    {"create", {classFunction<&createEditBox>(), classFunction<&createEditBoxWithImage>()}},
    {"setText", {methodOf<EditBox, &EditBox::setText>()}},
    {"getText", {methodOf<EditBox, &EditBox::getText>()}},
    {"setPlaceHolder", {methodOf<EditBox, &EditBox::setPlaceHolder>()}},
    {"getPlaceHolder", {methodOf<EditBox, &EditBox::getPlaceHolder>()}},
    {"setMaxLength", {methodOf<EditBox, &EditBox::setMaxLength>()}},
    {"getMaxLength", {methodOf<EditBox, &EditBox::getMaxLength>()}},
    {"setInputMode", {method<&setInputMode>()}},
    {"getInputMode", {method<&getInputMode>()}},
    {"setInputFlag", {method<&setInputFlag>()}},
    {"getInputFlag", {method<&getInputFlag>()}},
    {"openKeyboard", {methodOf<EditBox, &EditBox::openKeyboard>()}},
    {"closeKeyboard", {methodOf<EditBox, &EditBox::closeKeyboard>()}},
};

Button* createButton(const std::string& normal) { return Button::create(normal); }

const Method kButtonMethods[] = {
    {"create", {classFunction<static_cast<Button* (*)()>(&Button::create)>(), classFunction<&createButton>()}},
    {"setTitleText", {method<&Button::setTitleText>()}},
    {"getTitleText", {method<&Button::getTitleText>()}},
    {"setTitleFontSize", {method<&Button::setTitleFontSize>()}},
    {"setTitleColor", {method<&Button::setTitleColor>()}},
    {"setScale9Enabled", {method<&Button::setScale9Enabled>()}},
    {"isScale9Enabled", {method<&Button::isScale9Enabled>()}},
    {"setCapInsets", {method<&Button::setCapInsets>()}},
};

const Method kTextMethods[] = {
    {"create", {classFunction<static_cast<Text* (*)()>(&Text::create)>(),
                classFunction<static_cast<Text* (*)(const std::string&, const std::string&, float)>(&Text::create)>()}},
    {"setString", {method<&Text::setString>()}},
    {"getString", {method<&Text::getString>()}},
    {"setFontSize", {method<&Text::setFontSize>()}},
    {"setTextColor", {method<&Text::setTextColor>()}},
};

void loadBarTexture(LoadingBar* self, const std::string& file) { self->loadTexture(file); }

const Method kLoadingBarMethods[] = {
    {"create", {classFunction<static_cast<LoadingBar* (*)()>(&LoadingBar::create)>()}},
    {"loadTexture", {method<&loadBarTexture>()}},
    {"setPercent", {method<&LoadingBar::setPercent>()}},
    {"getPercent", {method<&LoadingBar::getPercent>()}},
};

Scale9Sprite* createScale9Sprite(const std::string& file) { return Scale9Sprite::create(file); }

const Method kScale9SpriteMethods[] = {
    {"create", {classFunction<static_cast<Scale9Sprite* (*)()>(&Scale9Sprite::create)>(),
                classFunction<&createScale9Sprite>()}},
    {"setCapInsets", {method<&Scale9Sprite::setCapInsets>()}},
    {"getOriginalSize", {method<&Scale9Sprite::getOriginalSize>()}},
    {"createWithSpriteFrameName", {classFunction<&Scale9Sprite::createWithSpriteFrameName>()}},
};

// Layouts: the background type and opacity as scripts number them.
void setBackGroundColorType(Layout* self, int32_t type) {
    self->setBackGroundColorType(static_cast<Layout::BackGroundColorType>(type >= 0 && type <= 2 ? type : 0));
}
int32_t getBackGroundColorType(Layout* self) { return static_cast<int32_t>(self->getBackGroundColorType()); }
void setBackGroundColorOpacity(Layout* self, int32_t opacity) {
    self->setBackGroundColorOpacity(static_cast<uint8_t>(opacity));
}
int32_t getBackGroundColorOpacity(Layout* self) { return self->getBackGroundColorOpacity(); }
void setLayoutKind(Layout* self, int32_t type) { self->setLayoutType(enumOf(type, Layout::Type::RELATIVE)); }
int32_t layoutKindOf(Layout* self) { return numberOf(self->getLayoutType()); }
void setBackGroundImage(Layout* self, const std::string& file) { self->setBackGroundImage(file); }

const Method kLayoutMethods[] = {
    {"create", {classFunction<&Layout::create>()}},
    {"setBackGroundColorType", {method<&setBackGroundColorType>()}},
    {"getBackGroundColorType", {method<&getBackGroundColorType>()}},
    {"setBackGroundColor", {method<overload<void(const engine::Color3B&)>(&Layout::setBackGroundColor)>(),
                            method<overload<void(const engine::Color3B&, const engine::Color3B&)>(
                                &Layout::setBackGroundColor)>()}},
    {"setBackGroundColorVector", {method<&Layout::setBackGroundColorVector>()}},
    {"setBackGroundImage", {method<&setBackGroundImage>()}},
    {"setClippingEnabled", {method<&Layout::setClippingEnabled>()}},
    {"isClippingEnabled", {method<&Layout::isClippingEnabled>()}},
    {"getBackGroundColor", {method<&Layout::getBackGroundColor>()}},
    {"setBackGroundColorOpacity", {method<&setBackGroundColorOpacity>()}},
    {"getBackGroundColorOpacity", {method<&getBackGroundColorOpacity>()}},
    {"setLayoutType", {method<&setLayoutKind>()}},
    {"getLayoutType", {method<&layoutKindOf>()}},
    {"forceDoLayout", {method<&Layout::forceDoLayout>()}},
};

// create([size]) of each box kind.
template <class T>
T* boxEmpty() {
    return T::create();
}
template <class T>
T* boxSized(const engine::Size& size) {
    return T::create(size);
}
template <class T>
const Method kBoxMethods[] = {{"create", {classFunction<&boxEmpty<T>>(), classFunction<&boxSized<T>>()}}};

using Edge = LayoutComponent::HorizontalEdge;
using VEdge = LayoutComponent::VerticalEdge;
void setHorizontalEdge(LayoutComponent* self, int32_t edge) { self->setHorizontalEdge(enumOf(edge, Edge::Center)); }
int32_t getHorizontalEdge(LayoutComponent* self) { return numberOf(self->getHorizontalEdge()); }
void setVerticalEdge(LayoutComponent* self, int32_t edge) { self->setVerticalEdge(enumOf(edge, VEdge::Center)); }
int32_t getVerticalEdge(LayoutComponent* self) { return numberOf(self->getVerticalEdge()); }

const Method kLayoutComponentMethods[] = {
    {"create", {classFunction<&LayoutComponent::create>()}},
    {"bindLayoutComponent", {classFunction<&LayoutComponent::bindLayoutComponent>()}},
    {"setHorizontalEdge", {method<&setHorizontalEdge>()}},
    {"getHorizontalEdge", {method<&getHorizontalEdge>()}},
    {"setVerticalEdge", {method<&setVerticalEdge>()}},
    {"getVerticalEdge", {method<&getVerticalEdge>()}},
    {"setLeftMargin", {method<&LayoutComponent::setLeftMargin>()}},
    {"getLeftMargin", {method<&LayoutComponent::getLeftMargin>()}},
    {"setRightMargin", {method<&LayoutComponent::setRightMargin>()}},
    {"getRightMargin", {method<&LayoutComponent::getRightMargin>()}},
    {"setTopMargin", {method<&LayoutComponent::setTopMargin>()}},
    {"getTopMargin", {method<&LayoutComponent::getTopMargin>()}},
    {"setBottomMargin", {method<&LayoutComponent::setBottomMargin>()}},
    {"getBottomMargin", {method<&LayoutComponent::getBottomMargin>()}},
    {"setPositionPercentX", {method<&LayoutComponent::setPositionPercentX>()}},
    {"getPositionPercentX", {method<&LayoutComponent::getPositionPercentX>()}},
    {"setPositionPercentY", {method<&LayoutComponent::setPositionPercentY>()}},
    {"getPositionPercentY", {method<&LayoutComponent::getPositionPercentY>()}},
    {"setPositionPercentXEnabled", {method<&LayoutComponent::setPositionPercentXEnabled>()}},
    {"isPositionPercentXEnabled", {method<&LayoutComponent::isPositionPercentXEnabled>()}},
    {"setPositionPercentYEnabled", {method<&LayoutComponent::setPositionPercentYEnabled>()}},
    {"isPositionPercentYEnabled", {method<&LayoutComponent::isPositionPercentYEnabled>()}},
    {"setPercentWidth", {method<&LayoutComponent::setPercentWidth>()}},
    {"getPercentWidth", {method<&LayoutComponent::getPercentWidth>()}},
    {"setPercentHeight", {method<&LayoutComponent::setPercentHeight>()}},
    {"getPercentHeight", {method<&LayoutComponent::getPercentHeight>()}},
    {"setPercentWidthEnabled", {method<&LayoutComponent::setPercentWidthEnabled>()}},
    {"isPercentWidthEnabled", {method<&LayoutComponent::isPercentWidthEnabled>()}},
    {"setPercentHeightEnabled", {method<&LayoutComponent::setPercentHeightEnabled>()}},
    {"isPercentHeightEnabled", {method<&LayoutComponent::isPercentHeightEnabled>()}},
    {"setStretchWidthEnabled", {method<&LayoutComponent::setStretchWidthEnabled>()}},
    {"isStretchWidthEnabled", {method<&LayoutComponent::isStretchWidthEnabled>()}},
    {"setStretchHeightEnabled", {method<&LayoutComponent::setStretchHeightEnabled>()}},
    {"isStretchHeightEnabled", {method<&LayoutComponent::isStretchHeightEnabled>()}},
    {"setActiveEnabled", {method<&LayoutComponent::setActiveEnabled>()}},
    {"isActiveEnabled", {method<&LayoutComponent::isActiveEnabled>()}},
    {"refreshLayout", {method<&LayoutComponent::refreshLayout>()}},
};

// Opacities and colour components keep their low 8 bits (300 is 44).
uint8_t opacityOf(int32_t opacity) { return static_cast<uint8_t>(opacity); }
int32_t elementType(RichElement* self) { return numberOf(self->getType()); }
int32_t elementOpacity(RichElement* self) { return self->getOpacity(); }
RichElementText* richText(int32_t tag, const engine::Color3B& color, int32_t opacity, const std::string& text,
                          const std::string& fontName, float fontSize) {
    return RichElementText::create(tag, color, opacityOf(opacity), text, fontName, fontSize);
}
RichElementImage* richImage(int32_t tag, const engine::Color3B& color, int32_t opacity, const std::string& file) {
    return RichElementImage::create(tag, color, opacityOf(opacity), file);
}
RichElementCustomNode* richNode(int32_t tag, const engine::Color3B& color, int32_t opacity, engine::Node* node) {
    return RichElementCustomNode::create(tag, color, opacityOf(opacity), node);
}

const Method kRichElementMethods[] = {
    {"getType", {method<&elementType>()}},
    {"getTag", {method<&RichElement::getTag>()}},
    {"getColor", {method<&RichElement::getColor>()}},
    {"getOpacity", {method<&elementOpacity>()}},
};
const Method kRichElementTextMethods[] = {
    {"create", {classFunction<&richText>()}},
    {"getText", {method<&RichElementText::getText>()}},
    {"getFontName", {method<&RichElementText::getFontName>()}},
    {"getFontSize", {method<&RichElementText::getFontSize>()}},
};
const Method kRichElementImageMethods[] = {
    {"create", {classFunction<&richImage>()}},
    {"getFilePath", {method<&RichElementImage::getFilePath>()}},
    {"setWidth", {method<&RichElementImage::setWidth>()}},
    {"getWidth", {method<&RichElementImage::getWidth>()}},
    {"setHeight", {method<&RichElementImage::setHeight>()}},
    {"getHeight", {method<&RichElementImage::getHeight>()}},
};
const Method kRichElementCustomNodeMethods[] = {
    {"create", {classFunction<&richNode>()}},
    {"getCustomNode", {method<&RichElementCustomNode::getCustomNode>()}},
};

void removeElementAt(RichText* self, int32_t index) { self->removeElement(index); }
void removeElementObject(RichText* self, RichElement* element) { self->removeElement(element); }
std::vector<RichElement*> elementsOf(RichText* self) {
    return {self->getElements().begin(), self->getElements().end()};
}

const Method kRichTextMethods[] = {
    {"create", {classFunction<&RichText::create>()}},
    {"pushBackElement", {method<&RichText::pushBackElement>()}},
    {"insertElement", {method<&RichText::insertElement>()}},
    {"removeElement", {method<&removeElementAt>(), method<&removeElementObject>()}},
    {"getElements", {method<&elementsOf>()}},
    {"setVerticalSpace", {method<&RichText::setVerticalSpace>()}},
    {"getVerticalSpace", {method<&RichText::getVerticalSpace>()}},
    {"ignoreContentAdaptWithSize", {method<&RichText::ignoreContentAdaptWithSize>()}},
    {"isIgnoreContentAdaptWithSize", {method<&RichText::isIgnoreContentAdaptWithSize>()}},
    {"formatText", {method<&RichText::formatText>()}},
    {"getLineCount", {method<&RichText::getLineCount>()}},
};

TextAtlas* textAtlasEmpty() { return TextAtlas::create(); }
TextAtlas* textAtlasOf(const std::string& value, const std::string& map, int32_t width, int32_t height,
                       const std::string& start) {
    return TextAtlas::create(value, map, width, height, start);
}

const Method kTextAtlasMethods[] = {
    {"create", {classFunction<&textAtlasEmpty>(), classFunction<&textAtlasOf>()}},
    {"setProperty", {method<&TextAtlas::setProperty>()}},
    {"setString", {method<&TextAtlas::setString>()}},
    {"getString", {method<&TextAtlas::getString>()}},
    {"getStringLength", {method<&TextAtlas::getStringLength>()}},
    {"getCharMapFile", {method<&TextAtlas::getCharMapFile>()}},
    {"getItemWidth", {method<&TextAtlas::getItemWidth>()}},
    {"getItemHeight", {method<&TextAtlas::getItemHeight>()}},
};

const Method kHelperMethods[] = {
    {"seekWidgetByName", {classFunction<&Helper::seekWidgetByName>()}},
};

// Rows in registration order, bases first.
const std::vector<ClassEntry> kUiClasses = {
    classEntry<Widget>("ccui.Widget", "cc.Node", kWidgetMethods),
    classEntry<Button>("ccui.Button", "ccui.Widget", kButtonMethods),
    classEntry<Text>("ccui.Text", "ccui.Widget", kTextMethods),
    classEntry<LoadingBar>("ccui.LoadingBar", "ccui.Widget", kLoadingBarMethods),
    classEntry<Layout>("ccui.Layout", "ccui.Widget", kLayoutMethods),
    classEntry<Scale9Sprite>("ccui.Scale9Sprite", "cc.Node", kScale9SpriteMethods),
    classEntry<Helper>("ccui.Helper", nullptr, kHelperMethods),
    classEntry<CheckBox>("ccui.CheckBox", "ccui.Widget", kCheckBoxMethods),
    classEntry<RadioButton>("ccui.RadioButton", "ccui.Widget", kRadioButtonMethods),
    classEntry<RadioButtonGroup>("ccui.RadioButtonGroup", "ccui.Widget", kRadioButtonGroupMethods),
    classEntry<Slider>("ccui.Slider", "ccui.Widget", kSliderMethods),
    classEntry<TextField>("ccui.TextField", "ccui.Widget", kTextFieldMethods),
    classEntry<ScrollView>("ccui.ScrollView", "ccui.Layout", kScrollViewMethods),
    classEntry<ListView>("ccui.ListView", "ccui.ScrollView", kListViewMethods),
    classEntry<PageView>("ccui.PageView", "ccui.Layout", kPageViewMethods),
    classEntry<ImageView>("ccui.ImageView", "ccui.Widget", kImageViewMethods),
    classEntry<TextBMFont>("ccui.TextBMFont", "ccui.Widget", kTextBMFontMethods),
    classEntry<LayoutParameter>("ccui.LayoutParameter", "cc.Ref", kLayoutParameterMethods),
    classEntry<LinearLayoutParameter>("ccui.LinearLayoutParameter", "ccui.LayoutParameter",
                                      kLinearLayoutParameterMethods),
    classEntry<RelativeLayoutParameter>("ccui.RelativeLayoutParameter", "ccui.LayoutParameter",
                                        kRelativeLayoutParameterMethods),
    classEntry<EditBox>("ccui.EditBox", "ccui.Widget", kEditBoxMethods),
    classEntry<engine::EventListenerFocus>("cc.EventListenerFocus", "cc.EventListener"),
    classEntry<HBox>("ccui.HBox", "ccui.Layout", kBoxMethods<HBox>),
    classEntry<VBox>("ccui.VBox", "ccui.Layout", kBoxMethods<VBox>),
    classEntry<RelativeBox>("ccui.RelativeBox", "ccui.Layout", kBoxMethods<RelativeBox>),
    classEntry<LayoutComponent>("ccui.LayoutComponent", "cc.Component", kLayoutComponentMethods),
    classEntry<RichElement>("ccui.RichElement", "cc.Ref", kRichElementMethods),
    classEntry<RichElementText>("ccui.RichElementText", "ccui.RichElement", kRichElementTextMethods),
    classEntry<RichElementImage>("ccui.RichElementImage", "ccui.RichElement", kRichElementImageMethods),
    classEntry<RichElementCustomNode>("ccui.RichElementCustomNode", "ccui.RichElement", kRichElementCustomNodeMethods),
    classEntry<RichText>("ccui.RichText", "ccui.Widget", kRichTextMethods),
    classEntry<TextAtlas>("ccui.TextAtlas", "ccui.Widget", kTextAtlasMethods),
};

}  // namespace

std::span<const ClassEntry> uiClassTable() { return kUiClasses; }

int register_ui_module(lua_State* L) {
    if (!globalsTableExists(L)) return 1;
    registerClassTable(L, kUiClasses);
    register_ui_manual(L);
    register_event_listener_focus_manual(L);
    return 1;
}

}  // namespace bindings
