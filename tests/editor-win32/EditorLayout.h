// Where the editor window's panels and controls are, in editor pixels, and their colours: what a
// host sees of the window from outside (the DLL exports nothing else).
#pragma once

#include <cstdint>

#include <windows.h>

#include "WindowPixels.h"
#include "engine/ParameterTable.h"

namespace layout {

constexpr POINT kSliders{15, 10};
constexpr POINT kSteps{15, 135};
constexpr POINT kMidi{15, 240};
constexpr POINT kWave{370, 135};

constexpr int32_t kSliderCount = kNumProgramValues;
constexpr int32_t kSliderLefts[kSliderCount] = {5, 33, 61, 89, 117, 145, 173, 208, 236, 309, 337};
constexpr int32_t kSliderTop = 7, kSliderBottom = 94, kSliderWidth = 19;
constexpr RECT kMeter{408, 5, 449, 95};
constexpr RECT kInverse{454, 30, 474, 50};
constexpr RECT kPreType{262, 40, 288, 60};
constexpr RECT kPostType{364, 40, 392, 60};
constexpr RECT kLength{316, 5, 334, 95};
constexpr RECT kSwitches[3] = {{5, 5, 110, 20}, {115, 5, 225, 20}, {5, 25, 110, 40}};
constexpr POINT kHelpButton{380, 220};

// The host parameter behind slider i (the slider's number is its program slot).
constexpr int32_t parameterOf(int32_t slider) { return parameterOfSlot(slider); }
// Editor points.
constexpr int32_t sliderX(int32_t i) { return kSliders.x + kSliderLefts[i] + 9; }
constexpr int32_t stepLeft(int32_t i) { return kSteps.x + 5 + 18 * i; }
constexpr int32_t stepX(int32_t i) { return stepLeft(i) + 9; }
constexpr POINT centre(const RECT& local, POINT origin) {
    return POINT{origin.x + (local.left + local.right) / 2, origin.y + (local.top + local.bottom) / 2};
}

constexpr Rgb kTrough{200, 200, 220};
constexpr Rgb kBar{135, 157, 214};
constexpr Rgb kBarEdge{110, 110, 110};
constexpr Rgb kMeterColour{220, 220, 235};
constexpr Rgb kBelowThreshold{192, 206, 246};
constexpr Rgb kTypeBox{248, 244, 236};
constexpr Rgb kInverseOff{230, 230, 230};
constexpr Rgb kStep{220, 220, 235};
constexpr Rgb kCurrentStep{240, 190, 190};
constexpr Rgb kStepBar{114, 137, 233};
constexpr Rgb kStepBarEdge{120, 120, 120};
constexpr Rgb kSwitchOn{247, 153, 57};
constexpr Rgb kSwitchOff{200, 200, 200};
constexpr Rgb kWaiting{235, 235, 235};
constexpr Rgb kTrace{100, 100, 250};
constexpr Rgb kBlack{0, 0, 0};

}  // namespace layout
