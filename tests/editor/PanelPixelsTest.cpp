// The four panels drawn from known effect states, checked at the pixels that matter.
#include <cmath>
#include <functional>
#include <string>

#include "EditorTestSupport.h"
#include "editor/MidiModePanel.h"
#include "editor/SliderBank.h"
#include "editor/StepPanel.h"
#include "editor/WaveformView.h"
#include "gui/FontTable.h"

namespace {

constexpr Color kTrough{200, 200, 220, 0};
constexpr Color kBar{135, 157, 214, 0};
constexpr Color kBarEdge{110, 110, 110, 0};
constexpr Color kMeter{220, 220, 235, 0};
constexpr Color kMeterMidi{140, 140, 140, 0};
constexpr Color kBelowThreshold{192, 206, 246, 0};
constexpr Color kEnvelope{240, 130, 130, 0};
constexpr Color kStep{220, 220, 235, 0};
constexpr Color kCurrentStep{240, 190, 190, 0};
constexpr Color kStepBar{114, 137, 233, 0};
constexpr Color kStepBarEdge{120, 120, 120, 0};
constexpr Color kSwitchOn{247, 153, 57, 0};
constexpr Color kSwitchOff{200, 200, 200, 0};
constexpr Color kWaiting{235, 235, 235, 0};
constexpr Color kRecording{235, 185, 185, 0};
constexpr Color kTrace{100, 100, 250, 0};

// Panel origins in the editor.
constexpr Point kSliders{15, 10};
constexpr Point kSteps{15, 135};
constexpr Point kMidi{15, 240};
constexpr Point kWave{370, 135};

Rect inEditor(const Rect& local, Point origin) { return local.offset(origin.h, origin.v); }

// The host parameter behind each slider (the slider's number is its program slot).
int32_t parameterOf(int32_t slider) { return parameterOfSlot(slider); }

class PanelPixels : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        open();
        idle();
    }
    void process(float level, int32_t frames) {
        std::vector<float> in(static_cast<size_t>(frames), level);
        std::vector<float> outL(in.size()), outR(in.size());
        float* inputs[2] = {in.data(), in.data()};
        float* outputs[2] = {outL.data(), outR.data()};
        record->processReplacing(record, inputs, outputs, frames);
    }
};

TEST_F(PanelPixels, SliderBarsAndNumbersFollowTheProgramValues) {
    struct Case {
        float value;
        int32_t barHeight;
    };
    // Out-of-range values a host may store draw as the nearest end of the slider.
    const Case cases[] = {{0.0f, 1}, {0.25f, 21}, {0.5f, 43}, {1.0f, 87}, {2.0f, 87}, {NAN, 1}};
    for (const Case& c : cases) {
        for (int32_t i = 0; i < SliderBank::sliderCount; ++i) {
            record->setParameter(record, parameterOf(i), c.value);
        }
        idle();
        for (int32_t i = 0; i < SliderBank::sliderCount; ++i) {
            SCOPED_TRACE("slider " + std::to_string(i) + " value " + std::to_string(c.value));
            const Rect slider = inEditor(SliderBank::sliderRects[i], kSliders);
            const int32_t x = slider.left + 1;
            const int32_t barTop = slider.bottom - c.barHeight;
            EXPECT_EQ(pixel(x, barTop), c.barHeight == 87 ? colorBlack : kBarEdge);
            if (c.barHeight < 87) {
                EXPECT_EQ(pixel(x, barTop - 1), kTrough);
            }
            if (c.barHeight > 1) {
                EXPECT_EQ(pixel(x, barTop + 1), kBar);
            }
            EXPECT_EQ(pixel(x, slider.bottom), colorBlack);
        }
    }
}

TEST_F(PanelPixels, SliderNumbersAtTheEnds) {
    // Size shows grid steps, bits and repeats count from 1; the others are percentages.
    const char* const atZero[] = {"0", "0", "1", "0", "0", "1", "1", "0", "0", "0", "0"};
    const char* const atOne[] = {"100", "100", "16", "100", "100", "32", "32", "100", "100", "100", "100"};
    for (float value : {0.0f, 1.0f}) {
        for (int32_t i = 0; i < SliderBank::sliderCount; ++i) {
            record->setParameter(record, parameterOf(i), value);
        }
        idle();
        for (int32_t i = 0; i < SliderBank::sliderCount; ++i) {
            const char* expected = value == 0.0f ? atZero[i] : atOne[i];
            const Rect slider = inEditor(SliderBank::sliderRects[i], kSliders);
            EXPECT_TRUE(showsText(slider, expected, 6, 9, 0, colorBlack))
                << "slider " << i << " " << expected;
            EXPECT_FALSE(showsText(slider, "7", 6, 9, 0, colorBlack)) << "slider " << i;
            const Rect label{slider.left - 2, slider.bottom + 5, slider.right + 3, slider.bottom + 19};
            EXPECT_TRUE(showsText(label, SliderBank::sliderLabels[i], 6, 9, 0, colorBlack));
        }
    }
    // Truncation toward zero, and nothing undefined for values a host may store.
    EXPECT_EQ(SliderBank::sliderNumber(2, 0.999f), 15);
    EXPECT_EQ(SliderBank::sliderNumber(0, -0.005f), 0);
    EXPECT_EQ(SliderBank::sliderNumber(5, 1e30f), 1000000000);
    EXPECT_EQ(SliderBank::sliderNumber(6, NAN), 0);
}

TEST_F(PanelPixels, MeterShowsThresholdLineAndEnvelope) {
    const Rect meter = inEditor(SliderBank::meterRect, kSliders);
    const int32_t x = meter.left + 5;
    // Default threshold 0.15: line at 95 - trunc(13.5) = 82, below-threshold fill under it.
    EXPECT_EQ(pixel(x, meter.top + 81 - 5), kMeter);
    EXPECT_EQ(pixel(x, kSliders.v + 82), colorBlack);
    EXPECT_EQ(pixel(x, kSliders.v + 83), kBelowThreshold);
    EXPECT_EQ(pixel(x, meter.bottom - 1), kBelowThreshold);
    EXPECT_TRUE(showsText(inEditor(Rect{408, 100, 449, 114}, kSliders), "Threshold", 6, 9, 0, colorBlack));

    // Threshold 0 puts the line on the bottom edge: no below-threshold area.
    record->setParameter(record, kParamThreshold, 0.0f);
    idle();
    EXPECT_EQ(pixel(x, meter.bottom - 1), kMeter);
    // A loud input drives the envelope above 1: the meter fills completely.
    process(3.0f, 8192);
    ASSERT_GT(effect->plugin().getEnvelope(), 1.0f);
    idle();
    EXPECT_EQ(pixel(x, meter.top + 1), kEnvelope);
    EXPECT_EQ(pixel(x, meter.bottom - 1), kEnvelope);
}

TEST_F(PanelPixels, MidiRecordModeGreysTheMeter) {
    const Rect meter = inEditor(SliderBank::meterRect, kSliders);
    effect->plugin().toggleNoteRecordStart();
    process(3.0f, 4096);
    idle();
    // Grey with "MIDI!", neither threshold line nor envelope bar.
    EXPECT_EQ(pixel(meter.left + 2, kSliders.v + 82), kMeterMidi);
    EXPECT_EQ(pixel(meter.left + 2, meter.bottom - 1), kMeterMidi);
    EXPECT_TRUE(showsText(meter, "MIDI!", 6, 9, 0, Color{250, 250, 250, 0}));
}

TEST_F(PanelPixels, TypeBoxesAndInverse) {
    const Rect pre = inEditor(SliderBank::preTypeRect, kSliders);
    const Rect post = inEditor(SliderBank::postTypeRect, kSliders);
    const char* const sequence[] = {"OFF", "LP", "HP", "BP", "OFF"};
    for (const char* shown : sequence) {
        EXPECT_TRUE(showsText(pre, shown, 3, 9, 0, colorBlack)) << shown;
        EXPECT_TRUE(showsText(post, shown, 3, 9, 0, colorBlack)) << shown;
        effect->plugin().cycleFilterType(1);
        effect->plugin().cycleFilterType(2);
        idle();
    }
    EXPECT_TRUE(showsText(inEditor(Rect{260, 10, 290, 25}, kSliders), "PRE", 3, 10, faceBold,
                          Color{247, 153, 57, 0}));
    const Rect inverse = inEditor(SliderBank::inverseRect, kSliders);
    EXPECT_EQ(pixel(inverse.left + 1, inverse.top + 1), (Color{230, 230, 230, 0}));
    effect->plugin().toggleInverse();
    idle();
    EXPECT_EQ(pixel(inverse.left + 1, inverse.top + 1), (Color{240, 190, 190, 0}));
    EXPECT_TRUE(showsText(inverse, "inv", 6, 9, 0, colorBlack));
}

TEST_F(PanelPixels, StepsShowOffsetsBarsAndTheCurrentStep) {
    struct Case {
        float value;
        const char* number;
        int32_t barHeight;
    };
    const Case cases[] = {{0.0f, "-8", 1}, {0.3f, "-3", 27}, {0.5f, "0", 45},
                          {1.0f, "8", 90}, {5.0f, "72", 90}, {NAN, "0", 1}};
    for (int32_t i = 0; i < StepPanel::stepCount; ++i) {
        effect->plugin().setStepValue(i, cases[i % 6].value);
    }
    idle();
    for (int32_t i = 0; i < StepPanel::stepCount; ++i) {
        const Case& c = cases[i % 6];
        SCOPED_TRACE("step " + std::to_string(i));
        const Rect step = inEditor(StepPanel::stepRect(i), kSteps);
        EXPECT_TRUE(showsText(step, c.number, 6, 9, 0, colorBlack));
        const int32_t x = step.left + 3;
        const int32_t barTop = step.bottom - c.barHeight;
        EXPECT_EQ(pixel(x, barTop), c.barHeight == 90 ? colorBlack : kStepBarEdge);
        if (c.barHeight > 1) {
            EXPECT_EQ(pixel(x, barTop + 1), kStepBar);
        }
        // The step the sequencer is on (0 after start) is highlighted.
        EXPECT_EQ(pixel(step.left + 1, step.top + 1), i == 0 ? kCurrentStep : kStep);
    }
    // Under MIDI note control no step is highlighted.
    effect->plugin().toggleMidiNoteControl();
    idle();
    EXPECT_EQ(pixel(kSteps.h + 6, kSteps.v + 6), kStep);
}

TEST_F(PanelPixels, LengthShowsTheStepCount) {
    const Rect length = inEditor(StepPanel::lengthRect, kSteps);
    const struct {
        float value;
        const char* count;
    } cases[] = {{0.0f, "2"}, {0.07f, "2"}, {0.5f, "8"}, {0.55f, "9"}, {1.0f, "16"}};
    for (const auto& c : cases) {
        effect->plugin().setSequenceLength(c.value);
        idle();
        EXPECT_TRUE(showsText(length, c.count, 6, 9, 0, colorBlack)) << c.value;
    }
    EXPECT_EQ(StepPanel::lengthNumber(NAN), 0);
    EXPECT_EQ(StepPanel::lengthNumber(1e30f), 1000000000);
}

TEST_F(PanelPixels, MidiSwitchesShowTheirStateInColourAndText) {
    const bool states[][3] = {{false, false, false}, {true, false, true}, {false, true, false}};
    bool shown[3] = {false, false, false};
    for (const auto& want : states) {
        if (want[0] != shown[0]) effect->plugin().toggleMidiNoteControl();
        if (want[1] != shown[1]) effect->plugin().toggleNoteRecordStart();
        if (want[2] != shown[2]) effect->plugin().toggleRepeatTillNoteOff();
        std::copy(want, want + 3, shown);
        // The panel is not redrawn by idle: only when the whole window is.
        editor()->redraw();
        for (int32_t i = 0; i < MidiModePanel::switchCount; ++i) {
            const Rect box = inEditor(MidiModePanel::switchRects[i], kMidi);
            EXPECT_EQ(pixel(box.left + 1, box.top + 1), want[i] ? kSwitchOn : kSwitchOff) << i;
            EXPECT_EQ(pixel(box.left, box.top), colorBlack);
            EXPECT_TRUE(showsText(box, MidiModePanel::switchLabels[i][want[i] ? 1 : 0], 6, 9, 0, colorBlack));
        }
    }
}

TEST_F(PanelPixels, PartialRedrawsLeaveTheSamePictureAsAFullOne) {
    // Each idle repaints only what changed; after any sequence of changes the window must be
    // what a fresh window with the same state shows.
    auto screen = [&] {
        std::vector<Color> pixels;
        for (int32_t y = 0; y < 300; ++y)
            for (int32_t x = 0; x < 525; ++x) pixels.push_back(pixel(x, y));
        return pixels;
    };
    const std::function<void()> changes[] = {
        [&] { process(0.6f, 300); },  // the envelope rises: the meter alone
        [&] { process(0.0f, 3000); },
        [&] { record->setParameter(record, kParamThreshold, 0.8f); },
        [&] { effect->plugin().toggleNoteRecordStart(); },
        [&] { process(0.9f, 500); },
        [&] { effect->plugin().toggleNoteRecordStart(); },
        [&] { record->setParameter(record, kParamSize, 0.9f); },
        [&] { effect->plugin().setStepValue(5, 0.1f); },
        [&] { effect->plugin().setSequenceLength(0.3f); },
        [&] { effect->plugin().cycleFilterType(2); },
        [&] { effect->plugin().toggleInverse(); },
        [&] { process(0.0f, 6000); },
        [&] { process(0.9f, 400); },  // a second trigger moves the step highlight
    };
    for (const auto& change : changes) {
        change();
        idle();
    }
    const std::vector<Color> incremental = screen();
    dispatch(effEditClose);
    open();
    idle();
    const std::vector<Color> full = screen();
    size_t differing = 0;
    for (size_t i = 0; i < full.size(); ++i) differing += full[i] == incremental[i] ? 0 : 1;
    EXPECT_EQ(differing, 0u);
}

TEST_F(PanelPixels, AnIdleCopiesOnlyWhatChanged) {
    // Paint over the whole window where nothing is drawn by the editor's idle unless its part
    // changed; then change one part at a time.
    const Color marker{1, 2, 3, 0};
    void* window = frame()->getWindow();
    const Rect sliderTwo = SliderBank::sliderRects[2].offset(kSliders.h, kSliders.v);
    const Rect meter = SliderBank::meterRect.offset(kSliders.h, kSliders.v);
    const Rect stepFour = StepPanel::stepRect(4).offset(15, 135);
    const struct {
        const char* what;
        std::function<void()> change;
        Rect repainted;  // empty: nothing
    } cases[] = {
        {"nothing changed", [] {}, Rect{}},
        {"slider 2", [&] { effect->plugin().setProgramValue(2, 0.13f); }, sliderTwo},
        {"threshold", [&] { effect->plugin().setThreshold(0.31f); }, meter},
        {"step 4", [&] { effect->plugin().setStepValue(4, 0.9f); }, stepFour},
    };
    idle();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        headless::paintWindow(window, Rect{0, 0, 525, 300}, marker);
        c.change();
        idle();
        int32_t copied = 0;
        int32_t outside = 0;
        for (int32_t y = 0; y < 300; ++y) {
            for (int32_t x = 0; x < 525; ++x) {
                if (pixel(x, y) == marker) continue;
                ++copied;
                const bool inPart = c.repainted.left <= x && x <= c.repainted.right && c.repainted.top <= y &&
                                    y <= c.repainted.bottom;
                outside += inPart ? 0 : 1;
            }
        }
        EXPECT_EQ(outside, 0);
        const int32_t partPixels = (c.repainted.width() + 1) * (c.repainted.height() + 1);
        EXPECT_EQ(copied, c.repainted.width() == 0 ? 0 : partPixels);
    }
}

TEST_F(PanelPixels, WaveformRows) {
    // Silence: every column paints rows 34 and 35 on the waiting background.
    for (int32_t x = 1; x <= 123; ++x) {
        EXPECT_EQ(pixel(kWave.h + x, kWave.v + 33), kWaiting) << x;
        EXPECT_EQ(pixel(kWave.h + x, kWave.v + 34), kTrace) << x;
        EXPECT_EQ(pixel(kWave.h + x, kWave.v + 35), kTrace) << x;
        EXPECT_EQ(pixel(kWave.h + x, kWave.v + 36), kWaiting) << x;
    }
    EXPECT_EQ(pixel(kWave.h + 124, kWave.v + 35), colorBlack);
    // A loud input triggers a recording: pink while it records.
    process(0.5f, 256);
    ASSERT_TRUE(effect->plugin().isRecording());
    idle();
    EXPECT_EQ(pixel(kWave.h + 1, kWave.v + 1), kRecording);
    // Once recorded, half scale in both channels: column 35, rows 35 - 17 - 1 = 17 to 52.
    for (int32_t i = 0; i < 100 && effect->plugin().isRecording(); ++i) process(0.5f, 64);
    ASSERT_FALSE(effect->plugin().isRecording());
    idle();
    EXPECT_EQ(pixel(kWave.h + 1, kWave.v + 1), kWaiting);
    EXPECT_EQ(editor()->getWaveformView()->column(10), 35);
    EXPECT_EQ(pixel(kWave.h + 11, kWave.v + 16), kWaiting);
    EXPECT_EQ(pixel(kWave.h + 11, kWave.v + 17), kTrace);
    EXPECT_EQ(pixel(kWave.h + 11, kWave.v + 52), kTrace);
    EXPECT_EQ(pixel(kWave.h + 11, kWave.v + 53), kWaiting);
}

}  // namespace
