// StepPanel: the sixteen step offsets of the sequencer and the sequence length.
#pragma once

#include <array>
#include <cstdint>

#include "editor/EditorPanel.h"

// GUI thread only. Reads the effect at every draw and writes edits straight into it.
class StepPanel : public EditorPanel {
public:
    static constexpr int32_t stepCount = 16;
    static constexpr int32_t stepTravel = 90;
    static constexpr int32_t offsetSpan = 16;
    static constexpr int32_t lengthSteps = 16;

    StepPanel(const Rect& size, FreezePlugin& effect, int32_t width, int32_t height, int32_t left,
              int32_t top, Bitmap* image);

    void draw(DrawContext* context) override;
    // Tracks one press until the button is released.
    void mouse(DrawContext* context, Point& where) override;

    // Local rectangle of step i: neighbours share their border column.
    static Rect stepRect(int32_t step) { return Rect{5 + 18 * step, 5, 23 + 18 * step, 95}; }
    static constexpr Rect lengthRect{316, 5, 334, 95};
    // The offset a step value shows, -8..8 for values in 0..1.
    static int32_t stepNumber(float value);
    // The number of steps a length value shows.
    static int32_t lengthNumber(float value);

private:
    // What one draw shows. After the first draw only the steps (and the length) whose values
    // changed are rendered again: each paints its own rectangle, neighbours share only a border
    // column that both paint in ink.
    struct Shown {
        std::array<int32_t, stepCount> barHeights{};
        std::array<int32_t, stepCount> numbers{};
        int32_t highlighted = -1;
        int32_t lengthBar = 0;
        int32_t lengthCount = 0;
    };
    Shown readEffect();
    void drawStep(int32_t step, const Shown& shown);
    void drawLength(const Shown& shown);

    float stepShown[stepCount] = {};
    float lengthShown = 1.0f;
    int32_t lengthCount = lengthSteps;
    Shown drawn;
    bool rendered = false;
};
