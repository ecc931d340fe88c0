// Control: value storage, the dirty rule and the background reference.
#include "gui/Control.h"

#include "gui/Bitmap.h"
#include "gui/Frame.h"
#include "gui/FrameOwner.h"

Control::Control(const Rect& rect, ControlListener* controlListener, int32_t controlTag, Bitmap* bitmap)
    : View(rect), listener(controlListener), tag(controlTag), background(bitmap) {
    if (background != nullptr) {
        background->addRef();
    }
}

Control::~Control() {
    if (background != nullptr) {
        background->release();
    }
}

bool Control::isDirty() { return drawnValue != value || dirty; }

void Control::setDirty(bool state) {
    dirty = state;
    if (state) {
        // Any value other than the current one keeps isDirty true after the flag is cleared.
        drawnValue = value == -1.0f ? 0.0f : -1.0f;
    } else {
        drawnValue = value;
    }
}

void Control::pumpIdle() {
    if (frame != nullptr && frame->getEditor() != nullptr) {
        frame->getEditor()->pumpIdle();
    }
}

void Control::setValue(float newValue) { value = newValue; }

float Control::getValue() { return value; }

void Control::setMin(float newMin) { minValue = newMin; }

float Control::getMin() { return minValue; }

void Control::setMax(float newMax) { maxValue = newMax; }

float Control::getMax() { return maxValue; }

void Control::setDrawnValue(float newValue) { drawnValue = newValue; }

float Control::getDrawnValue() { return drawnValue; }

void Control::setDefaultValue(float newValue) { defaultValue = newValue; }

float Control::getDefaultValue() { return defaultValue; }

void Control::setTag(int32_t newTag) { tag = newTag; }

void Control::setBackground(Bitmap* bitmap) {
    if (bitmap != nullptr) {
        bitmap->addRef();
    }
    if (background != nullptr) {
        background->release();
    }
    background = bitmap;
}

Bitmap* Control::getBackground() { return background; }

void Control::setWheelStep(float step) { wheelStep = step; }

float Control::getWheelStep() { return wheelStep; }

void Control::clampValue() {
    if (value > maxValue) {
        value = maxValue;
    } else if (value < minValue) {
        value = minValue;
    }
}
