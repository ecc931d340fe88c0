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
// A step's value for no offset: its default, and what the right button sets.
constexpr float kNoOffset = 0.5f;

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
        changed(Rect{0, 0, width - 1, height - 1});
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
    changed(step);
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
    changed(lengthRect);
    useFont(6, 9, 0);
    context->setTextColor(kInk);
    panelPaint::fillAndOutline(context, lengthRect, kLengthTrough, kInk);
    context->setFillColor(kLengthBar);
    context->fillRect(Rect{lengthRect.left + 1, lengthRect.bottom - shown.lengthBar, lengthRect.right - 1,
                           lengthRect.bottom});
    context->drawText(displayMath::NumberText(shown.lengthCount).text, lengthRect, false);
}

int32_t StepPanel::stepAt(const Point& where) const {
    int32_t found = -1;
    for (int32_t i = 0; i < stepCount; ++i) {
        const Rect step = stepRect(i);
        if (inZone(Rect{step.left, 0, step.right, kZoneBottom}, where)) {
            found = i;  // on a shared border the higher step wins
        }
    }
    return found;
}

void StepPanel::onMouseDown(DrawContext* windowContext, const MouseEvent& event) {
    endDrag();
    dragState.active = true;
    dragState.fine.start();
    const int32_t step = stepAt(event.where);
    if (asksReset(event) && step >= 0) {
        effect.setStepValue(step, kNoOffset);
        draw(windowContext);
        dragState.over = true;
        return;
    }
    dragTo(windowContext, event);
}

void StepPanel::onMouseMoved(DrawContext* windowContext, const MouseEvent& event) {
    if (dragState.active && !dragState.over) {
        dragTo(windowContext, event);
    }
}

void StepPanel::onMouseUp(DrawContext*, const MouseEvent&) { endDrag(); }

void StepPanel::onMouseCancelled() { endDrag(); }

void StepPanel::endDrag() {
    if (dragState.lengthEdit) {
        effect.endEdit(controlOfSetting(Setting::sequenceLength));
    }
    dragState = Drag();
}

void StepPanel::dragTo(DrawContext* windowContext, const MouseEvent& event) {
    Drag& drag = dragState;
    const Point& where = event.where;
    const bool right = (event.buttons & buttonRight) != 0;
    const int32_t step = stepAt(where);
    if (step >= 0) {
        const float positional = displayMath::limited(
            static_cast<float>(top + kZoneBottom - where.v) / static_cast<float>(stepTravel), 0.0f, 1.0f);
        drag.stepValue = right ? kNoOffset
                               : drag.fine.follow(positional, effect.getStepValue(step), where.v, stepTravel,
                                                  (event.buttons & modShift) != 0, step);
        drag.step = step;
    }
    if (drag.step >= 0) {
        effect.setStepValue(drag.step, drag.stepValue);
        drag.stepTouched = true;
    }
    if (!drag.stepTouched && inZone(lengthRect, where)) {
        const float length =
            right ? 1.0f : static_cast<float>(top + lengthRect.bottom - where.v) / static_cast<float>(stepTravel);
        const int32_t control = controlOfSetting(Setting::sequenceLength);
        if (!drag.lengthEdit) {
            effect.beginEdit(control);
            drag.lengthEdit = true;
        }
        // Finer than a host's whole steps: set here, then told to the host as it now stands.
        effect.setSequenceLength(length);
        effect.reportEdit(control);
    }
    draw(windowContext);
}

bool StepPanel::onMouseWheel(DrawContext* windowContext, const MouseEvent& event, float distance) {
    const int32_t step = stepAt(event.where);
    if (step < 0 || !(distance == distance)) {
        return false;
    }
    const float unit = ((event.buttons & modShift) != 0 ? 0.1f : 1.0f) / static_cast<float>(offsetSpan);
    const float now = displayMath::limited(effect.getStepValue(step), 0.0f, 1.0f);
    effect.setStepValue(step, displayMath::limited(now + distance * unit, 0.0f, 1.0f));
    draw(windowContext);
    return true;
}
