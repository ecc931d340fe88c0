// Control: a View with a float value, range, default, tag, background Bitmap and listener.
#pragma once

#include <cstdint>

#include "gui/View.h"

class Bitmap;
class Control;

// Told after a control changed its value in response to the mouse.
class ControlListener {
public:
    virtual ~ControlListener() = default;
    virtual void valueChanged(DrawContext* context, Control* control) = 0;
};

// GUI thread only. A new Control is dirty: its drawn value (1) differs from its value (0).
class Control : public View {
public:
    // Adds a reference to background when one is given.
    Control(const Rect& size, ControlListener* listener, int32_t tag, Bitmap* background = nullptr);
    ~Control() override;

    void draw(DrawContext* context) override = 0;
    // Dirty when the flag is set or the value differs from the value last drawn.
    bool isDirty() override;
    // true: forces the drawn value away from the value; false: records the value as drawn.
    void setDirty(bool state = true) override;

    // Lets the host and the window repaint while the control tracks the mouse in a loop.
    virtual void pumpIdle();
    // Plain stores and reads: no clamping, no redraw, no listener call.
    virtual void setValue(float newValue);
    virtual float getValue();
    virtual void setMin(float newMin);
    virtual float getMin();
    virtual void setMax(float newMax);
    virtual float getMax();
    virtual void setDrawnValue(float newValue);
    virtual float getDrawnValue();
    virtual void setDefaultValue(float newValue);
    virtual float getDefaultValue();
    virtual void setTag(int32_t newTag);
    // Holds one reference to the new bitmap and drops the one to the old.
    virtual void setBackground(Bitmap* bitmap);
    virtual Bitmap* getBackground();
    virtual void setWheelStep(float step);
    virtual float getWheelStep();
    // Limits the value to min..max.
    virtual void clampValue();

    int32_t getTag() const { return tag; }
    ControlListener* getListener() const { return listener; }

protected:
    ControlListener* listener = nullptr;
    int32_t tag = 0;
    float drawnValue = 1.0f;
    float defaultValue = 0.5f;
    float value = 0.0f;
    float minValue = 0.0f;
    float maxValue = 1.0f;
    float wheelStep = 0.1f;
    Bitmap* background = nullptr;
};
