// MidiModePanel: the three switches of MIDI note control.
#pragma once

#include <cstdint>

#include "editor/EditorPanel.h"

// GUI thread only. Repaints when clicked, when the whole window is drawn, and at the idle after
// its switches changed in the effect (a bank, preset or program the host loaded).
class MidiModePanel : public EditorPanel {
public:
    static constexpr int32_t switchCount = 3;

    MidiModePanel(const Rect& size, FreezePlugin& effect, int32_t width, int32_t height, int32_t left,
                  int32_t top, Bitmap* image);

    void draw(DrawContext* context) override;
    // Flips the first switch the pointer is on (or is dragged onto) while the button is held,
    // as one edit the host sees.
    void onMouseDown(DrawContext* context, const MouseEvent& event) override;
    void onMouseMoved(DrawContext* context, const MouseEvent& event) override;
    // Marks the panel dirty when the effect's switches differ from those drawn last.
    void followEffect();

    // Local rectangles: MidiNote-Control, Note->RecordStart, Repeat till NoteOff.
    static const Rect switchRects[switchCount];
    // Off text and on text of each switch.
    static const char* const switchLabels[switchCount][2];

private:
    bool isOn(int32_t which) const;
    void toggle(int32_t which);
    // Flips the switch under the pointer unless this press flipped one already.
    void touch(DrawContext* context, const Point& where);

    bool drawnOn[switchCount] = {false, false, false};
    bool flipped = false;
};
