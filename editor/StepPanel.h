// StepPanel: the sixteen step offsets of the sequencer and the sequence length.
#pragma once

#include <array>
#include <cstdint>

#include "editor/EditorPanel.h"
#include "editor/FineDrag.h"

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
    // A drag sets the steps it crosses, or (begun on it) the sequence length, an edit the host
    // sees from the press to the release. A double-click or Ctrl+click on a step sets it to no
    // offset; Shift moves finer.
    void onMouseDown(DrawContext* context, const MouseEvent& event) override;
    void onMouseMoved(DrawContext* context, const MouseEvent& event) override;
    void onMouseUp(DrawContext* context, const MouseEvent& event) override;
    void onMouseCancelled() override;
    // One shown offset per notch over a step (a tenth with Shift).
    bool onMouseWheel(DrawContext* context, const MouseEvent& event, float distance) override;

    // Local rectangle of step i: neighbours share their border column.
    static Rect stepRect(int32_t step) { return Rect{5 + 18 * step, 5, 23 + 18 * step, 95}; }
    static constexpr Rect lengthRect{316, 5, 334, 95};
    // The offset a step value shows, -8..8 for values in 0..1.
    static int32_t stepNumber(float value);
    // The number of steps a length value shows.
    static int32_t lengthNumber(float value);

private:
    // The step whose zone holds the point (on a shared border the higher), or -1.
    int32_t stepAt(const Point& where) const;
    // One event of a drag, as one pass of the editor's former tracking loop.
    void dragTo(DrawContext* context, const MouseEvent& event);
    void endDrag();

    struct Drag {
        bool active = false;
        bool over = false;  // a default was set: the press is done
        int32_t step = -1;  // the step the drag sets (the last one it was on)
        float stepValue = 0.0f;
        bool stepTouched = false;
        bool lengthEdit = false;
        FineDrag fine;
    };
    Drag dragState;

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
