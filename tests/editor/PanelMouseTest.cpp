// Scripted presses and drags on the panels, checked against the effect's values.
#include <string>

#include "EditorTestSupport.h"
#include "editor/MidiModePanel.h"
#include "editor/SliderBank.h"
#include "editor/StepPanel.h"
#include "gui/DrawContext.h"
#include "gui/PaintPump.h"

namespace {

constexpr Point kSliders{15, 10};
constexpr Point kSteps{15, 135};
constexpr Point kMidi{15, 240};

// The middle column of slider i in the editor.
int32_t sliderX(int32_t i) { return kSliders.h + SliderBank::sliderRects[i].left + 9; }
int32_t stepX(int32_t i) { return kSteps.h + StepPanel::stepRect(i).left + 9; }
Point centre(const Rect& local, Point origin) {
    return Point{origin.h + (local.left + local.right) / 2, origin.v + (local.top + local.bottom) / 2};
}

class PanelMouse : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        open();
        idle();
    }
};

TEST_F(PanelMouse, SliderZoneRowsGiveTheirValues) {
    // Local rows 2..12 (5 pixels above the slider down to 87 rows above the zone's bottom) all
    // read 1, row 99 (5 below the slider) reads 0; outside the zone nothing is touched.
    const struct {
        int32_t localRow;
        float value;
    } rows[] = {{2, 1.0f}, {12, 1.0f}, {13, 86.0f / 87.0f}, {56, 43.0f / 87.0f}, {99, 0.0f}};
    for (int32_t i = 0; i < SliderBank::sliderCount; ++i) {
        for (const auto& row : rows) {
            effect->plugin().setProgramValue(i, 0.77f);
            press(PressScript().at({sliderX(i), kSliders.v + row.localRow}).release());
            EXPECT_FLOAT_EQ(effect->plugin().getProgramValue(i), row.value)
                << "slider " << i << " row " << row.localRow;
        }
        for (int32_t outside : {1, 100}) {
            effect->plugin().setProgramValue(i, 0.77f);
            press(PressScript().at({sliderX(i), kSliders.v + outside}).release());
            EXPECT_FLOAT_EQ(effect->plugin().getProgramValue(i), 0.77f) << "slider " << i << " row " << outside;
        }
    }
}

TEST_F(PanelMouse, SidewaysDragSetsEverySliderItCrosses) {
    for (int32_t i = 0; i < SliderBank::sliderCount; ++i) effect->plugin().setProgramValue(i, 0.9f);
    const int32_t y = kSliders.v + 56;
    PressScript script;
    for (int32_t x = sliderX(0); x <= sliderX(3); x += 4) script.at({x, y});
    press(script.release());
    for (int32_t i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(effect->plugin().getProgramValue(i), 43.0f / 87.0f) << i;
    EXPECT_FLOAT_EQ(effect->plugin().getProgramValue(4), 0.9f);
}

TEST_F(PanelMouse, MeterSetsTheThresholdAlsoInMidiRecordMode) {
    const Point meter = centre(SliderBank::meterRect, kSliders);
    for (bool midi : {false, true}) {
        if (midi) effect->plugin().toggleNoteRecordStart();
        press(PressScript().at({meter.h, kSliders.v + 95}).at({meter.h, kSliders.v + 50}).release());
        EXPECT_FLOAT_EQ(effect->plugin().getThreshold(), 45.0f / 90.0f);
        press(PressScript().at({meter.h, kSliders.v + 5}).release());
        EXPECT_FLOAT_EQ(effect->plugin().getThreshold(), 1.0f);
    }
}

TEST_F(PanelMouse, HeldPressesToggleAndCycleOnce) {
    const Point inverse = centre(SliderBank::inverseRect, kSliders);
    const Point pre = centre(SliderBank::preTypeRect, kSliders);
    const Point post = centre(SliderBank::postTypeRect, kSliders);
    PressScript held;
    for (int i = 0; i < 6; ++i) held.at(inverse);
    press(held.release());
    EXPECT_TRUE(effect->plugin().isInverse());
    const FilterType cycle[] = {FilterType::LP, FilterType::HP, FilterType::BP, FilterType::OFF};
    for (FilterType expected : cycle) {
        PressScript onPre;
        for (int i = 0; i < 6; ++i) onPre.at(pre);
        press(onPre.release());
        EXPECT_EQ(effect->plugin().getPreFilterType(), expected);
    }
    press(PressScript().at(post).at(post).release());
    EXPECT_EQ(effect->plugin().getPostFilterType(), FilterType::LP);
    EXPECT_EQ(effect->plugin().getPreFilterType(), FilterType::OFF);
}

TEST_F(PanelMouse, StepsAndLength) {
    const int32_t lengthX = kSteps.h + StepPanel::lengthRect.left + 9;
    for (int32_t i = 0; i < StepPanel::stepCount; ++i) effect->plugin().setStepValue(i, 0.2f);
    // Local rows 0..100 of a step: (100 - row) / 90, limited to 0..1.
    press(PressScript().at({stepX(3), kSteps.v + 55}).release());
    EXPECT_FLOAT_EQ(effect->plugin().getStepValue(3), 0.5f);
    press(PressScript().at({stepX(3), kSteps.v}).release());
    EXPECT_FLOAT_EQ(effect->plugin().getStepValue(3), 1.0f);
    // A press that touches a step first never changes the length.
    effect->plugin().setSequenceLength(1.0f);
    press(PressScript().at({stepX(15), kSteps.v + 100}).at({lengthX, kSteps.v + 50}).release());
    EXPECT_FLOAT_EQ(effect->plugin().getStepValue(15), 0.0f);
    EXPECT_FLOAT_EQ(effect->plugin().getSequenceLengthValue(), 1.0f);
    // One that starts on the length bar and moves onto the steps edits both.
    press(PressScript().at({lengthX, kSteps.v + 50}).at({stepX(14), kSteps.v + 10}).release());
    EXPECT_FLOAT_EQ(effect->plugin().getSequenceLengthValue(), 0.5f);
    EXPECT_FLOAT_EQ(effect->plugin().getStepValue(14), 1.0f);
    // Right button: crossed steps to 0.5 (no offset), the length to all sixteen.
    PressScript right;
    for (int32_t i = 4; i <= 8; ++i) right.at({stepX(i), kSteps.v + 90}, buttonRight);
    press(right.release());
    for (int32_t i = 4; i <= 8; ++i) EXPECT_FLOAT_EQ(effect->plugin().getStepValue(i), 0.5f) << i;
    EXPECT_FLOAT_EQ(effect->plugin().getStepValue(9), 0.2f);
    press(PressScript().at({lengthX, kSteps.v + 90}, buttonRight).release());
    EXPECT_FLOAT_EQ(effect->plugin().getSequenceLengthValue(), 1.0f);
    // On a shared border column the higher step wins.
    press(PressScript().at({kSteps.h + StepPanel::stepRect(6).left, kSteps.v + 10}).release());
    EXPECT_FLOAT_EQ(effect->plugin().getStepValue(6), 1.0f);
    EXPECT_FLOAT_EQ(effect->plugin().getStepValue(5), 0.5f);
}

TEST_F(PanelMouse, MidiSwitchesFlipOncePerPress) {
    const Point first = centre(MidiModePanel::switchRects[0], kMidi);
    const Point second = centre(MidiModePanel::switchRects[1], kMidi);
    const Point third = centre(MidiModePanel::switchRects[2], kMidi);
    press(PressScript().at(first).at(first).at(second).release());
    EXPECT_TRUE(effect->plugin().isMidiNoteControl());
    EXPECT_FALSE(effect->plugin().isNoteRecordStart());
    press(PressScript().at(first).release());
    EXPECT_FALSE(effect->plugin().isMidiNoteControl());
    // In the gap 3 pixels right of the first box, or elsewhere in the panel: nothing.
    press(PressScript().at({kMidi.h + 113, first.v}).at({kMidi.h + 150, kMidi.v + 45}).release());
    EXPECT_FALSE(effect->plugin().isMidiNoteControl() || effect->plugin().isNoteRecordStart() || effect->plugin().isRepeatTillNoteOff());
    // Held outside the boxes and dragged onto one: that one flips once.
    press(PressScript().at({kMidi.h + 150, kMidi.v + 45}).at(third).at(third).at(second).release());
    EXPECT_TRUE(effect->plugin().isRepeatTillNoteOff());
    EXPECT_FALSE(effect->plugin().isNoteRecordStart());
}

}  // namespace
