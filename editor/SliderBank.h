// SliderBank: the eleven bar sliders, the threshold meter, the inverse switch and the two
// filter-type boxes across the top of the editor.
#pragma once

#include <array>
#include <cstdint>

#include "editor/EditorPanel.h"
#include "gui/Color.h"

// GUI thread only. Reads every value it shows from the effect at each draw and writes edits
// straight into the effect (never reported to the host).
class SliderBank : public EditorPanel {
public:
    static constexpr int32_t sliderCount = 11;
    static constexpr int32_t sliderTravel = 87;
    static constexpr int32_t meterTravel = 90;

    SliderBank(const Rect& size, FreezeEffect& effect, int32_t width, int32_t height, int32_t left,
               int32_t top, Bitmap* image);

    void draw(DrawContext* context) override;
    // Tracks one press until the button is released.
    void mouse(DrawContext* context, Point& where) override;

    // Local rectangles (origin at the panel's top left).
    static const Rect sliderRects[sliderCount];
    static const char* const sliderLabels[sliderCount];
    static constexpr Rect meterRect{408, 5, 449, 95};
    static constexpr const char* meterLabel = "Threshold";
    static constexpr Rect inverseRect{454, 30, 474, 50};
    static constexpr Rect preGroupRect{200, 3, 293, 116};
    static constexpr Rect postGroupRect{302, 3, 395, 116};
    static constexpr Rect preTypeRect{262, 40, 288, 60};
    static constexpr Rect postTypeRect{364, 40, 392, 60};
    // By filter type OFF, LP, HP, BP; the last is the meter's text in MIDI record mode.
    static const char* const typeLabels[5];
    static const char* const inverseLabels[2];

    // The number a slider shows for a value.
    static int32_t sliderNumber(int32_t slider, float value);

private:
    // What one draw shows, in the integers and flags the pixels follow from. A draw renders
    // only what differs from the last one (the rest of the image is already right), so an idle
    // with a moving envelope repaints the meter alone.
    struct Shown {
        std::array<int32_t, sliderCount> barHeights{};
        std::array<int32_t, sliderCount> numbers{};
        int32_t preType = 0;
        int32_t postType = 0;
        bool inverse = false;
        int32_t envelopeHeight = 0;
        int32_t thresholdLine = 0;
        bool midiRecord = false;

        bool sameMeter(const Shown& other) const {
            return envelopeHeight == other.envelopeHeight && thresholdLine == other.thresholdLine &&
                   midiRecord == other.midiRecord;
        }
        bool sameRest(const Shown& other) const {
            return barHeights == other.barHeights && numbers == other.numbers &&
                   preType == other.preType && postType == other.postType && inverse == other.inverse;
        }
    };
    // Reads the effect into sliderValues, thresholdValue, inverseShown and a Shown.
    Shown readEffect();
    void drawSliders(const Shown& shown);
    void drawTypeBoxes(const Shown& shown);
    // withLabel: also the "Threshold" box under the meter, which never changes.
    void drawMeter(const Shown& shown, bool withLabel);
    void drawInverse(const Shown& shown);

    float sliderValues[sliderCount] = {};
    float thresholdValue = 0.0f;
    bool inverseShown = false;
    Shown drawn;
    bool rendered = false;
};
