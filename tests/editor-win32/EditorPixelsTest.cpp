// The window's pixels read back where the headless Linux tests check them: the same places and
// colours must show under Windows' GDI. Text pixels differ between the ports and are not compared.
#include <cmath>
#include <cstdlib>
#include <string>

#include "EditorLayout.h"
#include "LoadedEditor.h"

namespace {

using namespace layout;

class EditorPixels : public EditorHost {
protected:
    void SetUp() override {
        EditorHost::SetUp();
        openAndShow();
    }
};

TEST_F(EditorPixels, SliderBarsFollowTheHostsParameters) {
    const struct {
        float value;
        int32_t barHeight;
    } cases[] = {{0.0f, 1}, {0.25f, 21}, {0.5f, 43}, {1.0f, 87}, {2.0f, 87}, {NAN, 1}};
    for (const auto& c : cases) {
        for (int32_t i = 0; i < kSliderCount; ++i) setParameter(parameterOf(i), c.value);
        idle();
        for (int32_t i = 0; i < kSliderCount; ++i) {
            SCOPED_TRACE("slider " + std::to_string(i) + " value " + std::to_string(c.value));
            const int32_t x = kSliders.x + kSliderLefts[i] + 1;
            const int32_t bottom = kSliders.y + kSliderBottom;
            const int32_t barTop = bottom - c.barHeight;
            EXPECT_EQ(pixel(x, barTop), c.barHeight == 87 ? kBlack : kBarEdge);
            if (c.barHeight < 87) {
                EXPECT_EQ(pixel(x, barTop - 1), kTrough);
            }
            if (c.barHeight > 1) {
                EXPECT_EQ(pixel(x, barTop + 1), kBar);
            }
            EXPECT_EQ(pixel(x, bottom), kBlack);
        }
    }
}

TEST_F(EditorPixels, MeterTypeBoxesAndInverseAtTheDefaults) {
    // Threshold 0.15: the line at local row 95 - trunc(13.5) = 82, below-threshold colour under it.
    const int32_t x = kSliders.x + kMeter.left + 5;
    const struct {
        int32_t localRow;
        Rgb colour;
    } meterRows[] = {
        {81, kMeterColour}, {82, kBlack}, {83, kBelowThreshold}, {94, kBelowThreshold}, {95, kBlack}};
    for (const auto& row : meterRows)
        EXPECT_EQ(pixel(x, kSliders.y + row.localRow), row.colour) << row.localRow;
    // A threshold of 0 puts the line on the bottom edge.
    setParameter(7, 0.0f);
    idle();
    EXPECT_EQ(pixel(x, kSliders.y + 94), kMeterColour);
    for (const RECT& box : {kPreType, kPostType}) {
        EXPECT_EQ(pixel(kSliders.x + box.left, kSliders.y + box.top), kBlack);
        EXPECT_EQ(pixel(kSliders.x + box.left + 1, kSliders.y + box.top + 1), kTypeBox);
    }
    EXPECT_EQ(pixel(kSliders.x + kInverse.left + 1, kSliders.y + kInverse.top + 1), kInverseOff);
}

TEST_F(EditorPixels, StepsFromTheBankAndTheCurrentStep) {
    const struct {
        float value;
        int32_t barHeight;
    } cases[] = {{0.0f, 1}, {0.3f, 27}, {0.5f, 45}, {1.0f, 90}, {5.0f, 90}, {NAN, 1}};
    Bank values = bank();
    ASSERT_FALSE(values.bytes.empty());
    for (int32_t i = 0; i < 16; ++i) values.setStep(i, cases[i % 6].value);
    setBank(values);
    idle();
    for (int32_t i = 0; i < 16; ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        const int32_t h = cases[i % 6].barHeight;
        const int32_t barTop = kSteps.y + 95 - h;
        EXPECT_EQ(pixel(stepLeft(i) + 3, barTop), h == 90 ? kBlack : kStepBarEdge);
        if (h > 1) {
            EXPECT_EQ(pixel(stepLeft(i) + 3, barTop + 1), kStepBar);
        }
        EXPECT_EQ(pixel(stepLeft(i) + 1, kSteps.y + 6), i == 0 ? kCurrentStep : kStep);
    }
    // Under MIDI note control (from the bank) no step is highlighted.
    values.setMidiFlag(0, true);
    setBank(values);
    idle();
    EXPECT_EQ(pixel(stepLeft(0) + 1, kSteps.y + 6), kStep);
}

TEST_F(EditorPixels, MidiSwitchesShowTheBanksStateWhenReopened) {
    const bool states[][3] = {{false, false, false}, {true, false, true}, {false, true, false}};
    for (const auto& want : states) {
        Bank values = bank();
        for (int32_t i = 0; i < 3; ++i) values.setMidiFlag(i, want[i]);
        setBank(values);
        close();
        openAndShow();
        for (int32_t i = 0; i < 3; ++i) {
            const RECT& box = kSwitches[i];
            EXPECT_EQ(pixel(kMidi.x + box.left, kMidi.y + box.top), kBlack) << i;
            EXPECT_EQ(pixel(kMidi.x + box.left + 1, kMidi.y + box.top + 1), want[i] ? kSwitchOn : kSwitchOff)
                << i;
        }
    }
}

TEST_F(EditorPixels, WaveformOfSilence) {
    for (int32_t x = 1; x <= 123; ++x) {
        EXPECT_EQ(pixel(kWave.x + x, kWave.y + 33), kWaiting) << x;
        EXPECT_EQ(pixel(kWave.x + x, kWave.y + 34), kTrace) << x;
        EXPECT_EQ(pixel(kWave.x + x, kWave.y + 35), kTrace) << x;
        EXPECT_EQ(pixel(kWave.x + x, kWave.y + 36), kWaiting) << x;
    }
    EXPECT_EQ(pixel(kWave.x + 124, kWave.y + 35), kBlack);
}

// The default window, written for comparing with the Linux port's when BRINDLE_EDITOR_PPM asks.
TEST_F(EditorPixels, BackgroundBorderAndTheWholeWindowOnRequest) {
    const Rgb border[] = {{63, 88, 160}, {111, 118, 149}, {159, 148, 138}, {208, 178, 127}, {255, 208, 116}};
    for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(pixel(x, 150), border[x]) << x;
    const WindowImage image = capture(editorWindow(), 525, 300);
    EXPECT_EQ(image.at(0, 150), border[0]);
    if (const char* path = std::getenv("BRINDLE_EDITOR_PPM")) {
        ASSERT_TRUE(writePpm(image, path)) << path;
        std::printf("editor window written to %s\n", path);
    }
}

}  // namespace
