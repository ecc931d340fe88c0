// StepPanel: drawing the steps and the length, and the mouse tracking loop.
#include "editor/StepPanel.h"

#include "editor/DisplayMath.h"
#include "editor/PanelPaint.h"
#include "plugin/FreezePlugin.h"
#include "gui/DrawContext.h"
#include "gui/OffscreenContext.h"

namespace {

using panelPaint::kInk;
using panelPaint::kPanel;

constexpr Color kStep{220, 220, 235, 0};
constexpr Color kCurrentStep{240, 190, 190, 0};
constexpr Color kStepBar{114, 137, 233, 0};
constexpr Color kStepBarEdge{120, 120, 120, 0};
constexpr Color kLengthTrough = panelPaint::kTrough;
constexpr Color kLengthBar = panelPaint::kBar;

// Step zones reach 5 pixels above and below the steps (local rows 0..100).
constexpr int32_t kZoneBottom = 100;

}  // namespace

StepPanel::StepPanel(const Rect& area, FreezePlugin& owner, int32_t panelWidth, int32_t panelHeight,
                     int32_t panelLeft, int32_t panelTop, Bitmap* panelImage)
    : EditorPanel(area, owner, panelWidth, panelHeight, panelLeft, panelTop, panelImage) {}

int32_t StepPanel::stepNumber(float value) {
    return displayMath::truncated(static_cast<double>(offsetSpan * value - offsetSpan / 2));
}

int32_t StepPanel::lengthNumber(float value) {
    return displayMath::ceiling(static_cast<double>(lengthSteps) * static_cast<double>(value));
}

StepPanel::Shown StepPanel::readEffect() {
    Shown shown;
    const int32_t current = effect.getStepIndex();
    // Under MIDI note control the notes, not the steps, set the length: nothing is highlighted.
    shown.highlighted = effect.isMidiNoteControl() ? -1 : current;
    for (int32_t i = 0; i < stepCount; ++i) {
        const float v = effect.getStepValue(i);
        stepShown[i] = v;
        shown.barHeights[static_cast<size_t>(i)] = displayMath::barHeight(v, stepTravel);
        shown.numbers[static_cast<size_t>(i)] = stepNumber(v);
    }
    lengthShown = effect.getSequenceLengthValue();
    lengthCount = lengthNumber(lengthShown);
    shown.lengthBar = displayMath::barHeight(lengthShown, stepTravel);
    shown.lengthCount = lengthCount;
    return shown;
}

void StepPanel::draw(DrawContext* windowContext) {
    if (offscreen(windowContext) == nullptr) {
        return;
    }
    const Shown shown = readEffect();
    if (!rendered) {
        panelPaint::fillAndOutline(context, Rect{0, 0, width - 1, height - 1}, kPanel, kInk);
    }
    for (int32_t i = 0; i < stepCount; ++i) {
        const auto at = static_cast<size_t>(i);
        const bool wasHighlighted = drawn.highlighted == i;
        const bool isHighlighted = shown.highlighted == i;
        if (!rendered || shown.barHeights[at] != drawn.barHeights[at] ||
            shown.numbers[at] != drawn.numbers[at] || wasHighlighted != isHighlighted) {
            drawStep(i, shown);
        }
    }
    if (!rendered || shown.lengthBar != drawn.lengthBar || shown.lengthCount != drawn.lengthCount) {
        drawLength(shown);
    }
    drawn = shown;
    rendered = true;
    present(windowContext);
}

void StepPanel::drawStep(int32_t i, const Shown& shown) {
    const Rect step = stepRect(i);
    useFont(6, 9, 0);
    context->setTextColor(kInk);
    context->setFillColor(i == shown.highlighted ? kCurrentStep : kStep);
    context->fillRect(step);
    const int32_t barHeight = shown.barHeights[static_cast<size_t>(i)];
    panelPaint::fillAndOutline(context,
                               Rect{step.left + 2, step.bottom - barHeight, step.right - 2, step.bottom},
                               kStepBar, kStepBarEdge);
    context->setLineColor(kInk);
    context->strokeRect(step);
    context->drawText(displayMath::NumberText(shown.numbers[static_cast<size_t>(i)]).text, step, false);
}

void StepPanel::drawLength(const Shown& shown) {
    useFont(6, 9, 0);
    context->setTextColor(kInk);
    panelPaint::fillAndOutline(context, lengthRect, kLengthTrough, kInk);
    context->setFillColor(kLengthBar);
    context->fillRect(Rect{lengthRect.left + 1, lengthRect.bottom - shown.lengthBar, lengthRect.right - 1,
                           lengthRect.bottom});
    context->drawText(displayMath::NumberText(shown.lengthCount).text, lengthRect, false);
}

void StepPanel::mouse(DrawContext* windowContext, Point& where) {
    int32_t index = -1;
    float stepValue = 0.0f;
    bool stepTouched = false;
    int32_t buttons = 0;
    bool firstPass = true;
    while (pollPress(windowContext, where, buttons, firstPass)) {
        for (int32_t i = 0; i < stepCount; ++i) {
            const Rect step = stepRect(i);
            if (inZone(Rect{step.left, 0, step.right, kZoneBottom}, where)) {
                stepValue = (buttons & buttonRight) != 0
                                ? 0.5f
                                : displayMath::limited(static_cast<float>(top + kZoneBottom - where.v) /
                                                           static_cast<float>(stepTravel),
                                                       0.0f, 1.0f);
                stepShown[i] = stepValue;
                draw(windowContext);
                index = i;  // on a shared border the higher step wins
            }
        }
        if (index >= 0) {
            stepShown[index] = stepValue;
            effect.setStepValue(index, stepValue);
            draw(windowContext);
            stepTouched = true;
        }
        if (!stepTouched && inZone(lengthRect, where)) {
            const float length =
                (buttons & buttonRight) != 0
                    ? 1.0f
                    : static_cast<float>(top + lengthRect.bottom - where.v) / static_cast<float>(stepTravel);
            effect.setSequenceLength(length);
            draw(windowContext);
        }
    }
}
