#include "bindings/extension/ExtensionControlRows.h"

#include "engine/extension/ControlColourPicker.h"
#include "engine/extension/ControlPotentiometer.h"
#include "engine/extension/ControlSlider.h"
#include "engine/extension/ControlStepper.h"
#include "engine/extension/ControlSwitch.h"
#include "engine/input/Touch.h"
#include "engine/label/Label.h"
#include "engine/scene/ProgressTimer.h"
#include "engine/scene/Sprite.h"

namespace bindings {
namespace {

using namespace engine::extension;
using engine::Label;
using engine::Sprite;

ControlSlider* createSliderFromFiles(const std::string& background, const std::string& progress,
                                     const std::string& thumb) {
    return ControlSlider::create(background, progress, thumb);
}
ControlSlider* createSlider(Sprite* background, Sprite* progress, Sprite* thumb) {
    return ControlSlider::create(background, progress, thumb);
}
const Method kControlSliderMethods[] = {
    {"create", {classFunction<&createSliderFromFiles>(), classFunction<&createSlider>()}},
    {"setValue", {method<&ControlSlider::setValue>()}},
    {"getValue", {method<&ControlSlider::getValue>()}},
    {"setMinimumValue", {method<&ControlSlider::setMinimumValue>()}},
    {"getMinimumValue", {method<&ControlSlider::getMinimumValue>()}},
    {"setMaximumValue", {method<&ControlSlider::setMaximumValue>()}},
    {"getMaximumValue", {method<&ControlSlider::getMaximumValue>()}},
    {"setMinimumAllowedValue", {method<&ControlSlider::setMinimumAllowedValue>()}},
    {"getMinimumAllowedValue", {method<&ControlSlider::getMinimumAllowedValue>()}},
    {"setMaximumAllowedValue", {method<&ControlSlider::setMaximumAllowedValue>()}},
    {"getMaximumAllowedValue", {method<&ControlSlider::getMaximumAllowedValue>()}},
    {"getBackgroundSprite", {method<&ControlSlider::getBackgroundSprite>()}},
    {"getProgressSprite", {method<&ControlSlider::getProgressSprite>()}},
    {"getThumbSprite", {method<&ControlSlider::getThumbSprite>()}},
    {"locationFromTouch", {method<&ControlSlider::locationFromTouch>()}},
};

ControlSwitch* createSwitch(Sprite* mask, Sprite* on, Sprite* off, Sprite* thumb) {
    return ControlSwitch::create(mask, on, off, thumb);
}
ControlSwitch* createSwitchWithLabels(Sprite* mask, Sprite* on, Sprite* off, Sprite* thumb, Label* onLabel,
                                      Label* offLabel) {
    return ControlSwitch::create(mask, on, off, thumb, onLabel, offLabel);
}
void setOn(ControlSwitch* self, bool on) { self->setOn(on); }
const Method kControlSwitchMethods[] = {
    {"create", {classFunction<&createSwitch>(), classFunction<&createSwitchWithLabels>()}},
    {"setOn", {method<&setOn>(), method<&ControlSwitch::setOn>()}},
    {"isOn", {method<&ControlSwitch::isOn>()}},
    {"hasMoved", {method<&ControlSwitch::hasMoved>()}},
};

const Method kControlStepperMethods[] = {
    {"create", {classFunction<&ControlStepper::create>()}},
    {"setValue", {method<&ControlStepper::setValue>()}},
    {"setValueWithSendingEvent", {method<&ControlStepper::setValueWithSendingEvent>()}},
    {"getValue", {method<&ControlStepper::getValue>()}},
    {"setMinimumValue", {method<&ControlStepper::setMinimumValue>()}},
    {"getMinimumValue", {method<&ControlStepper::getMinimumValue>()}},
    {"setMaximumValue", {method<&ControlStepper::setMaximumValue>()}},
    {"getMaximumValue", {method<&ControlStepper::getMaximumValue>()}},
    {"setStepValue", {method<&ControlStepper::setStepValue>()}},
    {"getStepValue", {method<&ControlStepper::getStepValue>()}},
    {"setWraps", {method<&ControlStepper::setWraps>()}},
    {"getWraps", {method<&ControlStepper::getWraps>()}},
    {"setContinuous", {method<&ControlStepper::setContinuous>()}},
    {"isContinuous", {method<&ControlStepper::isContinuous>()}},
    {"increment", {method<&ControlStepper::increment>()}},
    {"decrement", {method<&ControlStepper::decrement>()}},
    {"getMinusSprite", {method<&ControlStepper::getMinusSprite>()}},
    {"getPlusSprite", {method<&ControlStepper::getPlusSprite>()}},
};

ControlPotentiometer* createPotentiometer(const std::string& track, const std::string& progress,
                                          const std::string& thumb) {
    return ControlPotentiometer::create(track, progress, thumb);
}
const Method kControlPotentiometerMethods[] = {
    {"create", {classFunction<&createPotentiometer>()}},
    {"setValue", {method<&ControlPotentiometer::setValue>()}},
    {"getValue", {method<&ControlPotentiometer::getValue>()}},
    {"setMinimumValue", {method<&ControlPotentiometer::setMinimumValue>()}},
    {"getMinimumValue", {method<&ControlPotentiometer::getMinimumValue>()}},
    {"setMaximumValue", {method<&ControlPotentiometer::setMaximumValue>()}},
    {"getMaximumValue", {method<&ControlPotentiometer::getMaximumValue>()}},
    {"getThumbSprite", {method<&ControlPotentiometer::getThumbSprite>()}},
    {"getProgressTimer", {method<&ControlPotentiometer::getProgressTimer>()}},
    {"distanceBetweenPointAndPoint", {classFunction<&ControlPotentiometer::distanceBetweenPointAndPoint>()}},
    {"angleInDegreesBetweenLineFromPoint_toPoint_toLineFromPoint_toPoint",
     {classFunction<&ControlPotentiometer::angleInDegreesBetweenLineFromPoint_toPoint_toLineFromPoint_toPoint>()}},
};

const Method kControlHuePickerMethods[] = {
    {"create", {classFunction<&ControlHuePicker::create>()}},
    {"setHue", {method<&ControlHuePicker::setHue>()}},
    {"getHue", {method<&ControlHuePicker::getHue>()}},
    {"setHuePercentage", {method<&ControlHuePicker::setHuePercentage>()}},
    {"getHuePercentage", {method<&ControlHuePicker::getHuePercentage>()}},
};

void updateWithHSV(ControlSaturationBrightnessPicker* self, float h, float s, float v) {
    self->updateWithHSV(HSV{h, s, v});
}
void updateDraggerWithHSV(ControlSaturationBrightnessPicker* self, float h, float s, float v) {
    self->updateDraggerWithHSV(HSV{h, s, v});
}
const Method kControlSaturationBrightnessPickerMethods[] = {
    {"create", {classFunction<&ControlSaturationBrightnessPicker::create>()}},
    {"getSaturation", {method<&ControlSaturationBrightnessPicker::getSaturation>()}},
    {"getBrightness", {method<&ControlSaturationBrightnessPicker::getBrightness>()}},
    {"updateWithHSV", {method<&updateWithHSV>()}},
    {"updateDraggerWithHSV", {method<&updateDraggerWithHSV>()}},
};

const Method kControlColourPickerMethods[] = {
    {"create", {classFunction<&ControlColourPicker::create>()}},
    {"setColor", {method<&ControlColourPicker::setColor>()}},
    {"getHuePicker", {method<&ControlColourPicker::getHuePicker>()}},
    {"getSaturationBrightnessPicker", {method<&ControlColourPicker::getSaturationBrightnessPicker>()}},
};

const ClassEntry kRows[] = {
    classEntry<ControlSlider>("cc.ControlSlider", "cc.Control", kControlSliderMethods),
    classEntry<ControlSwitch>("cc.ControlSwitch", "cc.Control", kControlSwitchMethods),
    classEntry<ControlStepper>("cc.ControlStepper", "cc.Control", kControlStepperMethods),
    classEntry<ControlPotentiometer>("cc.ControlPotentiometer", "cc.Control", kControlPotentiometerMethods),
    classEntry<ControlHuePicker>("cc.ControlHuePicker", "cc.Control", kControlHuePickerMethods),
    classEntry<ControlSaturationBrightnessPicker>("cc.ControlSaturationBrightnessPicker", "cc.Control",
                                                  kControlSaturationBrightnessPickerMethods),
    classEntry<ControlColourPicker>("cc.ControlColourPicker", "cc.Control", kControlColourPickerMethods),
};

}  // namespace

std::span<const ClassEntry> extensionControlRows() { return kRows; }

}  // namespace bindings
