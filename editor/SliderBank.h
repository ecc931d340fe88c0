// SliderBank: the eleven bar sliders, the threshold meter, the inverse switch and the two
// filter-type boxes across the top of the editor. Which parameter each control shows, its label
// and its number come from the parameter table (engine/ParameterTable.h); the layout is here.
#pragma once

#include <array>
#include <cstdint>

#include "editor/EditorPanel.h"
#include "editor/FineDrag.h"
#include "engine/ParameterTable.h"
#include "gui/Color.h"

// GUI thread only. Reads every value it shows from the effect at each draw and writes edits
// straight into the effect (never reported to the host).
class SliderBank : public EditorPanel {
public:
    // A slider for every program slot, from the left; the threshold is the meter.
    static constexpr int32_t sliderCount = kNumProgramValues;
    static constexpr int32_t sliderTravel = 87;
    static constexpr int32_t meterTravel = 90;

    SliderBank(const Rect& size, FreezePlugin& effect, int32_t width, int32_t height, int32_t left,
               int32_t top, Bitmap* image);

    void draw(DrawContext* context) override;
    // A drag: each event sets what the pointer is on (sliders, meter, inverse, a filter type),
    // every change an edit the host sees (begin at the first, values, end at the release). A
    // double-click or Ctrl+click on a slider or the meter sets its default; Shift moves finer.
    void onMouseDown(DrawContext* context, const MouseEvent& event) override;
    void onMouseMoved(DrawContext* context, const MouseEvent& event) override;
    void onMouseUp(DrawContext* context, const MouseEvent& event) override;
    void onMouseCancelled() override;
    // One shown unit per notch over a slider (a tenth with Shift), a pixel of the meter's travel
    // for the threshold.
    bool onMouseWheel(DrawContext* context, const MouseEvent& event, float distance) override;

    // Local rectangles (origin at the panel's top left).
    static const Rect sliderRects[sliderCount];
    static const char* const sliderLabels[sliderCount];
    static constexpr Rect meterRect{408, 5, 449, 95};
    static constexpr const char* meterLabel = parameterInfo(thresholdParameter()).editor.label;
    static constexpr Rect inverseRect{454, 30, 474, 50};
    static constexpr Rect preGroupRect{200, 3, 293, 116};
    static constexpr Rect postGroupRect{302, 3, 395, 116};
    static constexpr Rect preTypeRect{262, 40, 288, 60};
    static constexpr Rect postTypeRect{364, 40, 392, 60};
    // By filter type OFF, LP, HP, BP; the last is the meter's text in MIDI record mode.
    static const char* const typeLabels[5];
    static const char* const inverseLabels[2];

    // The number a slider shows for a value (its parameter's editor view).
    static int32_t sliderNumber(int32_t slider, float value);
    // The parameter behind slider 0..10 (the program slot of that number).
    static constexpr const ParameterInfo& sliderParameter(int32_t slider) {
        return parameterInfo(parameterOfSlot(slider));
    }

private:
    // The slider whose zone holds the point, or -1.
    int32_t sliderAt(const Point& where) const;
    // One event of a drag, as one pass of the editor's former tracking loop.
    void dragTo(DrawContext* context, const MouseEvent& event);
    // Ends the edits the drag began.
    void endDrag();

    // What one drag holds between its events.
    struct Drag {
        bool active = false;
        bool over = false;        // a filter type was cycled (or a default set): the press is done
        int32_t slider = -1;      // the slider the drag sets (the last one it was on)
        float sliderValue = 0.0f;
        int32_t sliderEdit = -1;  // the parameter whose edit is open
        bool thresholdEdit = false;
        bool inverseDone = false;
        FineDrag fine;
    };
    Drag dragState;

    // What one draw shows, in the integers and flags the pixels follow from. After the first
    // draw only the parts whose values changed are rendered again (each part paints every pixel
    // of its own rectangle, and no two parts overlap), so an idle with a moving envelope repaints
    // the meter alone.
    struct Shown {
        std::array<int32_t, sliderCount> barHeights{};
        std::array<int32_t, sliderCount> numbers{};
        std::array<int32_t, 2> types{};  // pre, post
        bool inverse = false;
        int32_t envelopeHeight = 0;
        int32_t thresholdLine = 0;
        bool midiRecord = false;

        bool sameMeter(const Shown& other) const {
            return envelopeHeight == other.envelopeHeight && thresholdLine == other.thresholdLine &&
                   midiRecord == other.midiRecord;
        }
    };
    // Reads the effect into sliderValues, thresholdValue, inverseShown and a Shown.
    Shown readEffect();
    // What never changes: background, group boxes, headings and the labels.
    void drawStatic();
    void drawSlider(int32_t slider, const Shown& shown);
    void drawTypeBox(int32_t which, const Shown& shown);
    void drawMeter(const Shown& shown);
    void drawInverse(const Shown& shown);

    float sliderValues[sliderCount] = {};
    float thresholdValue = 0.0f;
    bool inverseShown = false;
    Shown drawn;
    bool rendered = false;
};
